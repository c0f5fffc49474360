// Makes the manual's picture of the order scan window as the display shows it: the Burg demo's
// answers opened, "Order scan..." pressed and the orders 1 to 20 scanned, where the criteria
// disagree. The picture is taken from the X display by ImageMagick's import, so run it under a
// virtual display of 1920x1200:
//   xvfb-run -s "-screen 0 1920x1200x24" order_scan_shot <examples> <images>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <cstdio>

#include "Dialogs.h"
#include "OrderScanWindow.h"
#include "frmMain.h"
#include "window_capture.h"

using namespace tessivar;
using shots::capture;
using shots::settle;

namespace {

int fail(const QString& why, const ScriptedDialogs* boxes = nullptr) {
  return shots::fail("order_scan_shot", why, boxes);
}

bool scanned(const OrderScanWindow& window) {
  QElapsedTimer t;
  t.start();
  while (window.scanning() && t.elapsed() < 30000)
    QApplication::processEvents(QEventLoop::AllEvents, 20);
  return !window.scanning();
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc != 3) return fail("usage: order_scan_shot <examples> <images>");
  const QDir examples(QString::fromLocal8Bit(argv[1]));
  const QString images = QString::fromLocal8Bit(argv[2]);
  QTemporaryDir base;
  const QString user = base.filePath(QStringLiteral("user"));
  if (!base.isValid() || !QDir().mkpath(user)) return fail("no temporary folder");
  if (const QString bad = shots::copyExamples(examples, user); !bad.isEmpty())
    return fail("cannot copy " + bad);
  QDir::setCurrent(user);

  ScriptedDialogs dialogs;
  frmMain form(dialogs, base.path());
  form.setProgramDir(base.path());
  form.sizeForDesign();
  form.show();
  settle(500);
  dialogs.file(user + QStringLiteral("/Ex-Burg.0"));
  form.FileOld();
  form.cmdOrderScan_Click();
  auto windows = form.findChildren<OrderScanWindow*>();
  if (windows.isEmpty()) return fail("no order scan window", &dialogs);
  OrderScanWindow& window = *windows.last();
  if (!scanned(window)) return fail("the first scan did not end");
  window.findChild<QSpinBox*>(QStringLiteral("maxOrder"))->setValue(20);
  window.startScan();
  if (!scanned(window) || window.chart().lastOrder() != 20)
    return fail("no scan to 20: " + window.picksText(), &dialogs);
  window.move(40, 40);
  window.resize(760, 520);
  window.raise();
  window.activateWindow();
  settle(800);
  std::printf("%s\n", qPrintable(window.picksText()));
  if (!capture(window, images + QStringLiteral("/order-scan.png"))) return fail("import failed");
  return 0;
}
