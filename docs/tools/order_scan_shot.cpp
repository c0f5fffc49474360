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

using namespace tessivar;

namespace {

int fail(const QString& why, const ScriptedDialogs* boxes = nullptr) {
  std::fprintf(stderr, "order_scan_shot: %s\n", qPrintable(why));
  for (const auto& m : boxes ? boxes->messages() : std::vector<ScriptedDialogs::Call>{})
    std::fprintf(stderr, "order_scan_shot: box %s: %s\n", qPrintable(m.title), qPrintable(m.text));
  return 1;
}

void settle(int ms) {
  QElapsedTimer t;
  t.start();
  while (t.elapsed() < ms) QApplication::processEvents(QEventLoop::AllEvents, 20);
}

bool scanned(const OrderScanWindow& window) {
  QElapsedTimer t;
  t.start();
  while (window.scanning() && t.elapsed() < 30000)
    QApplication::processEvents(QEventLoop::AllEvents, 20);
  return !window.scanning();
}

// The window's place on the display, as the display shows it.
bool capture(const QWidget& window, const QString& path) {
  const QRect r = window.frameGeometry();
  const QString crop =
      QStringLiteral("%1x%2+%3+%4").arg(r.width()).arg(r.height()).arg(r.x()).arg(r.y());
  return QProcess::execute(QStringLiteral("import"),
                           {QStringLiteral("-window"), QStringLiteral("root"),
                            QStringLiteral("-crop"), crop, QStringLiteral("+repage"), path}) == 0;
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
  for (const QString& name : examples.entryList(QDir::Files)) {
    if (name.startsWith('~') || name.endsWith(QStringLiteral(".out"), Qt::CaseInsensitive))
      continue;
    if (!QFile::copy(examples.filePath(name), user + '/' + name))
      return fail("cannot copy " + name);
  }
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
