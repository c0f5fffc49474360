// Makes the manual's comparison pictures: the Burg estimate of the two-tone example with the
// periodogram of the same data held under it, as the Plot tab shows it with the read-out at the
// weaker Burg peak, and zoomed to the two tones. (The picture of the whole window with both
// curves is taken from the display by window_shots.)
//   compare_images <user folder with Ex-Burg.0 and TwoTone.cda> <engine library> <images folder>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLibrary>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QVBoxLayout>
#include <cstdio>
#include <variant>

#include "Dialogs.h"
#include "EngineLibrary.h"
#include "OutputBox.h"
#include "PlotController.h"
#include "PlotPage.h"
#include "RunExecution.h"
#include "SetupPage.h"

using namespace tessivar;

namespace {

int fail(const QString& why) {
  std::fprintf(stderr, "compare_images: %s\n", qPrintable(why));
  return 1;
}

// The answer file's lines; answers[q] is the value of question q (line q + 1, up to the
// first blank or tab).
QList<QByteArray> lines(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return {};
  return f.readAll().split('\n');
}

std::vector<QString> answersOf(const QList<QByteArray>& l) {
  std::vector<QString> a(19);
  for (int q = 1; q <= 18 && q < l.size(); ++q)
    a[static_cast<std::size_t>(q)] = QString::fromLatin1(l[q].left(l[q].indexOf(' ')).trimmed());
  return a;
}

// Line q + 1 with its value replaced.
void setAnswer(QList<QByteArray>& l, int q, const QByteArray& value) {
  l[q] = value + l[q].mid(l[q].indexOf(' '));
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc != 4) return fail("usage: compare_images <user folder> <engine library> <images>");
  const QDir user(QString::fromLocal8Bit(argv[1]));
  const QString images = QString::fromLocal8Bit(argv[3]);
  QTemporaryDir work;
  if (!work.isValid()) return fail("no temporary folder: " + work.errorString());
  for (const char* name : {"Ex-Burg.0", "TwoTone.cda"})
    if (!QFile::copy(user.filePath(name), work.filePath(name)))
      return fail(QStringLiteral("cannot copy %1 from %2").arg(name, user.path()));

  // The periodogram of the same data: the Burg example with the method, no order and a
  // Hamming window.
  QList<QByteArray> burg = lines(work.filePath("Ex-Burg.0"));
  QList<QByteArray> perio = burg;
  perio[0] = "Ex-Per2.0" + perio[0].mid(perio[0].indexOf(' '));
  setAnswer(perio, 6, "Periodogram");
  setAnswer(perio, 9, "-999");
  setAnswer(perio, 18, "Hamming");
  QFile out(work.filePath("Ex-Per2.0"));
  if (!out.open(QIODevice::WriteOnly) || out.write(perio.join('\n')) < 0)
    return fail("cannot write " + out.fileName());
  out.close();

  QLibrary library(QString::fromLocal8Bit(argv[2]));
  auto entry = reinterpret_cast<Voxtrel_for_t>(library.resolve("Voxtrel_for"));
  if (!entry) return fail(library.errorString());
  EngineLibrary engine;
  engine.setEntry(entry);
  QDir::setCurrent(work.path());  // the engine writes its run log here
  auto run = [&](const QString& name) -> std::optional<RunResults> {
    RunExecution runner(engine);
    const auto prepared = runner.prepare(work.filePath(name), {});
    if (const auto* refusal = std::get_if<RunRefusal>(&prepared)) {
      fail(refusal->text);
      return std::nullopt;
    }
    RunResults r = RunExecution::execute(std::get<PreparedRun>(prepared));
    if (RunExecution::outcomeOf(r) != RunOutcome::Spectrum) {
      fail(name + " gave no spectrum");
      return std::nullopt;
    }
    r.AnsName = r.RunFile = name;
    return r;
  };
  const std::optional<RunResults> periodogram = run("Ex-Per2.0");
  const std::optional<RunResults> burgRun = run("Ex-Burg.0");
  if (!periodogram || !burgRun) return 1;

  QWidget tab;  // takes the Plot page over, so it is made before the plotting and outlives it
  ScriptedDialogs dialogs;
  StringOutputBox box;
  PlotController plots(dialogs, box);
  PlotSettings settings;
  settings.colors = PlotSettings::defaultColors();
  plots.setupPage()->setSettings(settings);
  plots.setCurveLabeler([&](const RunResults& r) {
    return curveLabel(r.RunMethod, answersOf(r.RunMethod == "Burg" ? burg : perio));
  });
  plots.applySwitches(switchesAtStartPlot());

  // The Plot tab as the window shows it: the picture, below it the bar of held-curve buttons
  // and read-out.
  auto* layout = new QVBoxLayout(&tab);
  layout->setContentsMargins(4, 4, 4, 4);
  layout->addWidget(plots.plotPage(), 1);
  layout->addWidget(plots.plotPage()->toolBar());
  tab.resize(1024, 760);
  tab.show();
  QApplication::processEvents();

  plots.startPlot(*periodogram);
  plots.holdCurve();
  plots.startPlot(*burgRun);

  // The mouse over the weaker Burg peak, left of the stronger one: from the top down the
  // stronger peak's left flank, then up the weaker one's.
  const HeldCurve shown = plots.plotter().currentCurve();
  std::size_t i = 0;
  for (std::size_t k = 1; k < shown.db.size(); ++k)
    if (shown.db[k] > shown.db[i]) i = k;
  while (i > 0 && shown.db[i - 1] <= shown.db[i]) --i;
  while (i > 0 && shown.db[i - 1] >= shown.db[i]) --i;
  const PlotState& s = plots.plotter().state();
  const double dpr = plots.surface().devicePixelRatio();
  const QPointF at(plots.surface().toPixelX(shown.freq[i] / s.xDivisor) / dpr,
                   plots.surface().toPixelY(shown.db[i] / s.yDivisor) / dpr);
  PictureBox* picture = plots.plotPage()->picBox();
  QMouseEvent move(QEvent::MouseMove, at, picture->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                   Qt::NoModifier);
  QApplication::sendEvent(picture, &move);
  QApplication::processEvents();
  if (!tab.grab().save(images + "/compare-readout.png")) return fail("cannot save into " + images);

  // Zoomed to the two tones, as a rectangle dragged round them leaves the overrides.
  settings.xOverride = settings.yOverride = true;
  settings.txtXmin = "100";
  settings.txtXstep = "15";
  settings.txtYmin = "-60";
  settings.txtYstep = "12";
  plots.setupPage()->setSettings(settings);
  plots.startPlot(*burgRun);
  if (!plots.surface().image().save(images + "/compare-zoom.png"))
    return fail("cannot save into " + images);
  return 0;
}
