// Makes the manual's pictures of the main window as the display shows it: the Burg demo's plot
// in a window of 1600x1000 and of 900x650, and the Burg estimate over the periodogram of the
// same data held under it. Each picture is taken from the X display by ImageMagick's import,
// so run it under a virtual display of 1920x1200:
//   xvfb-run -s "-screen 0 1920x1200x24" window_shots <examples> <engine library> <images>
#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <cstdio>

#include "Dialogs.h"
#include "frmMain.h"
#include "window_capture.h"

using namespace tessivar;
using shots::capture;
using shots::settle;

namespace {

const ScriptedDialogs* boxes = nullptr;

int fail(const QString& why) {
  return shots::fail("window_shots", why, boxes);
}

void place(QWidget& window, QSize size) {
  window.setGeometry(QRect(QPoint(0, 0), size));
  settle(800);
}

// The demo of that name chosen and run as its buttons run it.
bool runDemo(frmMain& form, const QString& name) {
  form.mnuDemosRunGo();
  for (auto* exam : form.findChildren<QRadioButton*>())
    if (exam->objectName().startsWith(QStringLiteral("Exam_")) && exam->text() == name)
      exam->click();
  auto* run = form.findChild<QPushButton*>(QStringLiteral("cmdRunDemo"));
  if (!run || !run->isEnabled()) {
    std::fprintf(stderr, "window_shots: no demo %s to run\n", qPrintable(name));
    return false;
  }
  run->click();
  settle(500);
  return form.plots().hasPlot();
}

void setAnswer(QList<QByteArray>& l, int q, const QByteArray& value) {
  l[q] = value + l[q].mid(l[q].indexOf(' '));
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc != 4) return fail("usage: window_shots <examples> <engine library> <images>");
  const QDir examples(QString::fromLocal8Bit(argv[1]));
  const QString images = QString::fromLocal8Bit(argv[3]);
  QTemporaryDir base;
  const QString user = base.filePath(QStringLiteral("user"));
  if (!base.isValid() || !QDir().mkpath(user)) return fail("no temporary folder");
  if (const QString bad = shots::copyExamples(examples, user); !bad.isEmpty())
    return fail("cannot copy " + bad);
  // The periodogram of the Burg demo's data: its answers with the method, no order and a
  // Hamming window.
  QFile burg(user + QStringLiteral("/Ex-Burg.0"));
  if (!burg.open(QIODevice::ReadOnly)) return fail("no Ex-Burg.0 in " + examples.path());
  QList<QByteArray> perio = burg.readAll().split('\n');
  perio[0] = "Ex-Per2.0" + perio[0].mid(perio[0].indexOf(' '));
  setAnswer(perio, 6, "Periodogram");
  setAnswer(perio, 9, "-999");
  setAnswer(perio, 18, "Hamming");
  QFile out(user + QStringLiteral("/Ex-Per2.0"));
  if (!out.open(QIODevice::WriteOnly) || out.write(perio.join('\n')) < 0)
    return fail("cannot write " + out.fileName());
  out.close();
  QDir::setCurrent(user);

  ScriptedDialogs dialogs;
  boxes = &dialogs;
  frmMain form(dialogs, base.path());
  form.engine().setPath(QString::fromLocal8Bit(argv[2]));
  form.setProgramDir(base.path());
  form.sizeForDesign();
  form.show();
  place(form, QSize(1600, 1000));

  if (!runDemo(form, QStringLiteral("Ex-Burg.0"))) return fail("the Burg demo drew no plot");
  place(form, QSize(1600, 1000));
  if (!capture(form, images + QStringLiteral("/plot-1600x1000.png"))) return fail("import failed");
  place(form, QSize(900, 650));
  if (!capture(form, images + QStringLiteral("/plot-900x650.png"))) return fail("import failed");

  // Out of demo mode, the periodogram opened from its answer file, calculated and held; then
  // the Burg demo over it.
  form.cmdExitPlotting_Click();
  if (auto* cancel = form.findChild<QPushButton*>(QStringLiteral("cmdCancelDemo"));
      cancel && cancel->isEnabled())
    cancel->click();
  dialogs.file(user + QStringLiteral("/Ex-Per2.0"));
  form.FileOld();
  form.cmdSubmit_Click();
  settle(500);
  if (!form.plots().hasPlot() ||
      !form.plots().plotter().currentCurve().label.startsWith(QStringLiteral("Periodogram")) ||
      !form.plots().holdCurve())
    return fail("the periodogram drew no plot to hold");
  form.cmdExitPlotting_Click();
  if (!runDemo(form, QStringLiteral("Ex-Burg.0"))) return fail("the Burg demo drew no plot");
  place(form, QSize(1280, 860));
  if (!capture(form, images + QStringLiteral("/compare-burg-periodogram.png")))
    return fail("import failed");
  return 0;
}
