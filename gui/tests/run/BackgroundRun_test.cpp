// Runs on the worker thread: the window's event loop turns while the engine works, Stop ends a
// long Akaike run with the stop's text last in the run log, and closing the window during a run
// stops it first.
#include <QAction>
#include <QApplication>
#include <QDirIterator>
#include <QProgressBar>
#include <QSet>
#include <QTimer>
#include <functional>

#include "FormFixture.h"

using namespace tessivar;
using namespace tessivar::testing;

namespace {

class RunOnWorker : public FormFixture {
 protected:
  void SetUp() override {
    FormFixture::SetUp();
    form->show();
  }

  // An Akaike form on 3000 samples of an ARMA(2,2) process that takes all its 300000
  // iterations (no percentage change is below zero): half a minute and more, unless stopped.
  void saveLongAkaikeForm() {
    QByteArray text = "header line\r\n";
    unsigned s = 7;
    double e1 = 0, e2 = 0, x1 = 0, x2 = 0;
    for (int i = 0; i < 3000; ++i) {
      s = s * 1103515245u + 12345u;
      const double e = static_cast<double>((s >> 8) & 0xFFFF) / 65536.0 - 0.5;
      const double x = 1.27 * x1 - 0.81 * x2 + e + 0.4 * e1 + 0.2 * e2;
      e2 = e1, e1 = e, x2 = x1, x1 = x;
      text += QByteArray::number(i) + " " + QByteArray::number(x, 'g', 7) + "\r\n";
    }
    writeBytes(user("arma.rda"), text);
    chooseData(user("arma.rda"));
    chooseMethod("Akaike");
    const std::pair<const char*, const char*> answers[] = {
        {"nSkip", "1"},  {"TotalLines", "0"}, {"nPoints", "4096"}, {"nPoles", "2"}, {"nZeros", "2"},
        {"EPS", "1e-9"}, {"Meqn", "3000"},    {"NIT", "300000"},   {"PER", "0"}};
    for (const auto& [name, value] : answers) box(name)->setText(value);
    w<QRadioButton>("optReal")->setChecked(true);
    w<QRadioButton>("optNo")->setChecked(true);
    dialogs.file(user("long.1"));
    ASSERT_TRUE(form->FileSaveAs());
    dialogs.clear();
  }

  // Calculate, with act called every 50 ms while the run goes on.
  void calculateWhile(const std::function<void()>& act) {
    QTimer timer;
    timer.setInterval(50);
    QObject::connect(&timer, &QTimer::timeout, act);
    timer.start();
    form->cmdSubmit_Click();
  }

  QAction* action(const char* name) { return form->findChild<QAction*>(name); }

  QStringList runLogLines() {
    QStringList out;
    for (const QByteArray& l : fileLines(user("~Tirelle.out"))) out << QString::fromLatin1(l);
    return out;
  }

  // The copies of the run log kept beside answer files (*.out but the engine's own).
  QStringList keptLogs() {
    QStringList out;
    for (QDirIterator it(form->userDir(), {"*.out"}, QDir::Files); it.hasNext();) {
      const QString name = QFileInfo(it.next()).fileName();
      if (name.compare("~Tirelle.out", Qt::CaseInsensitive) != 0) out << name;
    }
    return out;
  }
};

}  // namespace

TEST_F(RunOnWorker, WindowTurnsWhileTheEngineRunsAndShowsTheResultAsBefore) {
  saveRunForm();
  int ticks = 0;
  QSet<QString> states, texts;
  calculateWhile([&] {
    ++ticks;
    states << QStringLiteral("Calculate %1 Stop %2 Save %3 Run Demo %4 Exit %5 busy %6")
                  .arg(w<QPushButton>("cmdSubmit")->isEnabled())
                  .arg(w<QPushButton>("cmdStop")->isEnabled())
                  .arg(action("mnuFileSave")->isEnabled())
                  .arg(action("mnuDemosRun")->isEnabled())
                  .arg(action("mnuFileExit")->isEnabled())
                  .arg(w<QProgressBar>("busyBar")->isVisible());
    texts << w<QLabel>("lblCalculating")->text();
  });
  // The engine pauses two seconds after its peak table: the timer fired all along, and saw one
  // run going with every command that would start another off.
  EXPECT_GT(ticks, 10);
  EXPECT_EQ(states, QSet<QString>{"Calculate 0 Stop 1 Save 0 Run Demo 0 Exit 1 busy 1"});
  EXPECT_TRUE(texts.contains("Calculating... 0 s") && texts.contains("Calculating... 1 s"));

  // The result as a run on the window's thread gave it: a plot, no box, the log kept.
  EXPECT_TRUE(dialogs.messages().empty());
  EXPECT_EQ(form->results().nptsZ, 64);
  EXPECT_EQ(form->results().npointsZ, 32);
  EXPECT_EQ(form->tabs()->currentIndex(), 4);
  EXPECT_EQ(keptLogs(), QStringList{"run_1.out"});
  EXPECT_FALSE(w<QPushButton>("cmdStop")->isEnabled() || w<QLabel>("lblCalculating")->isVisible());
  // The commands come back as plotting has them: the File menu offers the spectrum's export.
  EXPECT_TRUE(action("mnuFileExportSpectrum")->isEnabled());
  EXPECT_FALSE(action("mnuFileSave")->isEnabled());
}

TEST_F(RunOnWorker, StopEndsALongAkaikeRunAndLeavesTheFilesAsTheyWere) {
  saveLongAkaikeForm();
  const QByteArray answerFile = readBytes(user("long.1"));
  dialogs.answer(Dialogs::Answer::Cancel);  // the box's offer to show the log
  int ticks = 0;
  calculateWhile([&] {
    if (++ticks == 6) w<QPushButton>("cmdStop")->click();
  });
  ASSERT_EQ(dialogs.messages().size(), 1u);
  EXPECT_EQ(dialogs.messages()[0].title, "Calculation stopped.");
  EXPECT_EQ(dialogs.messages()[0].text,
            "Stopped by the user.\r\nView bottom of '~tirelle.out' file for more details.");
  EXPECT_EQ(runLogLines().last(), "Stopped by the user.");
  EXPECT_EQ(form->results().nptsZ, -9);
  EXPECT_EQ(readBytes(user("long.1")), answerFile);
  EXPECT_TRUE(keptLogs().isEmpty());
  EXPECT_EQ(box("NIT")->text(), "300000");
  EXPECT_TRUE(w<QPushButton>("cmdSubmit")->isEnabled());
  EXPECT_FALSE(w<QPushButton>("cmdStop")->isEnabled());
}

TEST_F(RunOnWorker, ClosingTheWindowDuringARunStopsItFirst) {
  // The last window closed would quit the application: the tests that follow need it.
  QApplication::setQuitOnLastWindowClosed(false);
  saveLongAkaikeForm();
  int ticks = 0;
  bool closedAtOnce = true;
  calculateWhile([&] {
    if (++ticks != 6) return;
    form->close();
    closedAtOnce = !form->isVisible();
  });
  EXPECT_FALSE(closedAtOnce);  // the window waited for the run to end
  EXPECT_FALSE(form->isVisible());
  EXPECT_TRUE(dialogs.messages().empty());
  EXPECT_EQ(runLogLines().last(), "Stopped by the user.");
  EXPECT_TRUE(keptLogs().isEmpty());
  QApplication::setQuitOnLastWindowClosed(true);
}
