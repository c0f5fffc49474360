// The program's start over a temporary installation: the intro at the first start, the main
// window at once on later starts, Tessivar.ini, the last answer-file folder, the key example,
// and the window's proportional resizing.
#include "ProgramStart.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>

#include "DemoCatalog.h"
#include "Dialogs.h"
#include "frmIntro.h"
#include "frmMain.h"

using namespace tessivar;

namespace {

using Icon = Dialogs::Icon;

QByteArray readBytes(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// programs/Tessivar holds the program, and is its own base folder with the user folder below.
class Start : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(root.isValid());
    QSettings("Harnwell Labs", "Tessivar").clear();
    program = root.path() + "/programs/Tessivar";
    user = program + "/user";
    ASSERT_TRUE(QDir().mkpath(user));
    const QDir examples(QStringLiteral(TESSIVAR_EXAMPLES_DIR));
    for (const QString& name : {QStringLiteral("Ex-Auto.0"), QStringLiteral("Real.Rda")})
      ASSERT_TRUE(QFile::copy(examples.filePath(name), user + "/" + name));
  }

  // One start of the program; the run-log viewer registration is counted, not made.
  std::unique_ptr<ProgramStart> startProgram() {
    auto s = std::make_unique<ProgramStart>(dialogs, program, root.path() + "/per-user");
    s->registerRunLogViewer = [this] { ++registrations; };
    return s;
  }

  template <class T>
  static T* w(QWidget* parent, const char* name) {
    T* widget = parent->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
  }

  QTemporaryDir root;
  QString program, user;
  ScriptedDialogs dialogs;
  int registrations = 0;
};

}  // namespace

TEST_F(Start, FirstStartShowsTheIntroThenLaterStartsOpenTheMainWindow) {
  {
    auto start = startProgram();
    ASSERT_TRUE(start->begin());
    frmIntro* intro = start->intro();
    ASSERT_NE(intro, nullptr);
    EXPECT_EQ(start->mainWindow(), nullptr);
    EXPECT_TRUE(intro->isVisible());
    EXPECT_EQ(registrations, 1);
    EXPECT_FALSE(QFile::exists(program + "/Tessivar.ini")) << "written by the main window";
    EXPECT_EQ(intro->windowTitle(), "Introduction to Spectral Estimation Algorithms");
    EXPECT_EQ(w<QLabel>(intro, "lblTitleIntro")->text(),
              QString::fromUtf8("Tessivar™  Intro & Demos"));
    EXPECT_EQ(w<QLabel>(intro, "lblSentence2")->text(), introTexts::sentence2);
    EXPECT_EQ(w<QPushButton>(intro, "cmdRunIntro")->text(), "&Run a Demo");
    EXPECT_EQ(w<QPushButton>(intro, "cmdCreateIntro")->text(), "&Create Your Data");
    EXPECT_EQ(w<QPushButton>(intro, "cmdExitIntro")->text(), "E&xit");
    EXPECT_EQ(QDir::currentPath(), QDir(user).canonicalPath());

    w<QPushButton>(intro, "cmdCreateIntro")->click();
    frmMain* window = start->mainWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(intro->isVisible());
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(window->isMaximized());
    EXPECT_EQ(w<QComboBox>(window, "Methods")->currentText(), "Auto-Correlation");
    EXPECT_EQ(window->windowTitle(), "Tessivar (tm) for Spectral Estimators");
    EXPECT_EQ(window->tabs()->currentIndex(), 0);
    EXPECT_TRUE(dialogs.calls().empty());
  }
  const QList<QByteArray> ini = readBytes(program + "/Tessivar.ini").split('\n');
  ASSERT_EQ(ini.size(), 4);
  EXPECT_TRUE(ini[0].startsWith("Tessivar\x99 Program"));
  EXPECT_EQ(ini[1], "1             ! Increase if COMMAND still active and stops your run\r");
  EXPECT_EQ(ini[2], "no name             ! User name\r");

  // The second start: no intro, no new registration, the settings file read as it is.
  const QByteArray before = readBytes(program + "/Tessivar.ini");
  auto again = startProgram();
  ASSERT_TRUE(again->begin());
  EXPECT_EQ(again->intro(), nullptr);
  ASSERT_NE(again->mainWindow(), nullptr);
  EXPECT_TRUE(again->mainWindow()->isVisible());
  EXPECT_EQ(w<QComboBox>(again->mainWindow(), "Methods")->currentText(), "Auto-Correlation");
  EXPECT_EQ(registrations, 1);
  EXPECT_EQ(readBytes(program + "/Tessivar.ini"), before);
}

TEST_F(Start, IntroRunDemoOpensTheDemosTabWithNothingChosen) {
  auto start = startProgram();
  ASSERT_TRUE(start->begin());
  w<QPushButton>(start->intro(), "cmdRunIntro")->click();
  frmMain* window = start->mainWindow();
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->tabs()->currentIndex(), 1);
  EXPECT_FALSE(window->tabs()->isTabEnabled(0));
  EXPECT_TRUE(window->state().SelectedDemo.isEmpty());
  EXPECT_FALSE(w<QPushButton>(window, "cmdRunDemo")->isEnabled());
  EXPECT_TRUE(w<QPushButton>(window, "cmdCancelDemo")->isEnabled());
}

TEST_F(Start, IntroExitEndsWithoutTheMainWindow) {
  auto start = startProgram();
  ASSERT_TRUE(start->begin());
  w<QPushButton>(start->intro(), "cmdExitIntro")->click();
  EXPECT_FALSE(start->intro()->isVisible());
  EXPECT_EQ(start->mainWindow(), nullptr);
  EXPECT_FALSE(QFile::exists(program + "/Tessivar.ini")) << "the next start is a first start";
}

TEST_F(Start, StoredLastFilePathIsUsedOnlyWhenAbsolute) {
  QFile(program + "/Tessivar.ini").open(QIODevice::WriteOnly);
  QTemporaryDir runs;
  struct Case {
    QString stored;
    QString used;
  };
  const std::vector<Case> cases = {
      {QDir::toNativeSeparators(runs.path()), QDir::toNativeSeparators(runs.path())},
      {"abc", user},
      {"\\\\server\\x", user},
      {"", user},
  };
  for (const auto& c : cases) {
    QSettings("Harnwell Labs", "Tessivar").setValue("LastFilePath", c.stored);
    auto start = startProgram();
    ASSERT_TRUE(start->begin());
    ASSERT_NE(start->mainWindow(), nullptr);
    EXPECT_EQ(QDir(start->mainWindow()->dialogDir()), QDir(c.used)) << c.stored.toStdString();
  }
}

TEST_F(Start, MissingKeyExampleStopsTheStartNamingIt) {
  QFile(program + "/Tessivar.ini").open(QIODevice::WriteOnly);
  ASSERT_TRUE(QFile::remove(user + "/Ex-Auto.0"));
  auto start = startProgram();
  EXPECT_FALSE(start->begin());
  EXPECT_EQ(start->mainWindow(), nullptr);
  ASSERT_EQ(dialogs.messages().size(), 1u);
  const auto box = dialogs.messages()[0];
  EXPECT_EQ(box.text,
            "Missing key input file ... " + QDir::toNativeSeparators(user + "/ex-auto.0"));
  EXPECT_EQ(box.icon, Icon::None);
  EXPECT_EQ(box.buttons, Dialogs::Buttons::Ok);
}

// A settings file that cannot be written stops the program after the intro, with its box.
TEST_F(Start, UnwritableSettingsFileStopsAfterTheIntro) {
  ASSERT_TRUE(QDir().mkpath(program + "/Tessivar.ini/in-the-way"));
  auto start = startProgram();
  std::vector<int> exitCodes;
  QObject::connect(start.get(), &ProgramStart::stopRequested,
                   [&exitCodes](int code) { exitCodes.push_back(code); });
  ASSERT_TRUE(start->begin());
  ASSERT_NE(start->intro(), nullptr);
  w<QPushButton>(start->intro(), "cmdCreateIntro")->click();
  EXPECT_TRUE(start->stopped());
  EXPECT_EQ(exitCodes, std::vector<int>{1});
  // No exit is left pending for the process's next event loop.
  QEventLoop loop;
  QTimer::singleShot(0, &loop, [&loop] { loop.exit(7); });
  EXPECT_EQ(loop.exec(), 7);
  EXPECT_EQ(start->mainWindow(), nullptr);
  EXPECT_FALSE(start->intro()->isVisible());
  ASSERT_EQ(dialogs.messages().size(), 1u);
  EXPECT_EQ(dialogs.messages()[0].title, "In 'Start_INI' routine ...");
  EXPECT_EQ(dialogs.messages()[0].icon, Icon::Critical);
  EXPECT_TRUE(dialogs.messages()[0].text.contains("Suggest re-installing Tessivar."));
}

TEST_F(Start, ProgramWithoutABaseFolderStopsAtOnce) {
  ScriptedDialogs boxes;
  ProgramStart start(boxes, "/Tessivar", root.path());
  EXPECT_FALSE(start.begin());
  ASSERT_EQ(boxes.messages().size(), 1u);
  EXPECT_EQ(boxes.messages()[0].title, "In 'Start_Path' routine ... Exiting!");
  EXPECT_EQ(boxes.messages()[0].icon, Icon::Critical);
}

// The controls' proportions are recorded at the design size and applied on every resize; the
// method's questions still stand one below the other, and the fonts follow the height.
TEST_F(Start, ResizingScalesTheFormAndKeepsTheQuestionsStacked) {
  QFile(program + "/Tessivar.ini").open(QIODevice::WriteOnly);
  auto start = startProgram();
  ASSERT_TRUE(start->begin());
  frmMain* window = start->mainWindow();
  ASSERT_NE(window, nullptr);
  EXPECT_GT(window->resizer().count(), 20);

  window->showNormal();
  window->resize(700, 560);
  QApplication::processEvents();
  QLabel* question = w<QLabel>(window, "Question_9");
  const double smallFont = question->font().pointSizeF();
  window->resize(1400, 1120);
  QApplication::processEvents();
  EXPECT_NEAR(question->font().pointSizeF(), 2 * smallFont, 0.6 * smallFont);

  const QList<int> rows = {1, 2, 3, 4, 6, 7, 8, 9};  // Auto-Correlation asks question 9
  for (int i = 1; i < rows.size(); ++i) {
    QWidget* above = w<QWidget>(window, qPrintable(QStringLiteral("row_%1").arg(rows[i - 1])));
    QWidget* row = w<QWidget>(window, qPrintable(QStringLiteral("row_%1").arg(rows[i])));
    EXPECT_GE(row->y(), above->y() + above->height()) << rows[i];
    EXPECT_LT(row->y() - (above->y() + above->height()), 30) << rows[i];
  }
  EXPECT_TRUE(w<QWidget>(window, "row_9")->isVisible());
  EXPECT_FALSE(w<QWidget>(window, "row_10")->isVisible());
}

namespace {

void copyTree(const QString& from, const QString& to) {
  QDir().mkpath(to);
  const QDir source(from);
  for (const QFileInfo& entry : source.entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot)) {
    const QString target = to + "/" + entry.fileName();
    if (entry.isDir())
      copyTree(entry.filePath(), target);
    else
      ASSERT_TRUE(QFile::copy(entry.filePath(), target)) << target.toStdString();
  }
}

// Starts the installed program in a virtual display and reports whether it is still running a
// moment later, with the names of its visible windows when xdotool can tell them.
QStringList runInVirtualDisplay(const QString& program, const QString& home) {
  QProcess run;
  run.setProgram(QStandardPaths::findExecutable("xvfb-run"));
  run.setArguments(
      {"-a", "sh", "-c",
       "\"$0\" & pid=$!; sleep 3; if kill -0 $pid 2>/dev/null; then echo running; "
       "command -v xdotool >/dev/null && xdotool search --onlyvisible --name . getwindowname %@; "
       "kill $pid; fi; wait $pid; exit 0",
       program});
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.remove("QT_QPA_PLATFORM");
  env.insert("XDG_CONFIG_HOME", home + "/config");
  env.insert("XDG_DATA_HOME", home + "/data");
  run.setProcessEnvironment(env);
  run.start();
  if (!run.waitForStarted(10000) || !run.waitForFinished(60000)) return {"did not finish"};
  return QString::fromLocal8Bit(run.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
}

}  // namespace

// A fresh installation started twice in a real window: the intro first, the main window once
// the first start has written Tessivar.ini.
TEST(Program, FreshInstallationShowsTheIntroThenTheMainWindow) {
  if (QStandardPaths::findExecutable("xvfb-run").isEmpty())
    GTEST_SKIP() << "xvfb-run is not installed";
  const bool namesWindows = !QStandardPaths::findExecutable("xdotool").isEmpty();
  QTemporaryDir root;
  const QString installed = QFileInfo(QStringLiteral(TESSIVAR_PROGRAM)).absolutePath();
  copyTree(installed, root.path() + "/Tessivar");
  QFile::remove(root.path() + "/Tessivar/Tessivar.ini");
  const QString program = root.path() + "/Tessivar/Tessivar";

  const QStringList first = runInVirtualDisplay(program, root.path());
  ASSERT_FALSE(first.isEmpty());
  EXPECT_EQ(first[0], "running");
  if (namesWindows) {
    EXPECT_TRUE(first.contains(introTexts::caption)) << first.join('|').toStdString();
  }

  // What the main window's start writes when the intro is left for it.
  QFile ini(root.path() + "/Tessivar/Tessivar.ini");
  ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
  ini.write("Tessivar\x99 Program\r\n1 ! factor\r\nno name ! User name\r\n");
  ini.close();
  const QStringList second = runInVirtualDisplay(program, root.path());
  ASSERT_FALSE(second.isEmpty());
  EXPECT_EQ(second[0], "running");
  if (namesWindows) {
    EXPECT_TRUE(second.contains("Tessivar (tm) for Spectral Estimators"))
        << second.join('|').toStdString();
    EXPECT_FALSE(second.contains(introTexts::caption));
  }
}
