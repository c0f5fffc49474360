// Calculate, end to end: the prompts before a run, the engine's answers and what follows them.
#include <dlfcn.h>

#include <QAction>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProcess>
#include <QRegularExpression>
#include <QSettings>
#include <QStandardPaths>
#include <QTabWidget>

#include "ArithmeticSetting.h"
#include "FormFixture.h"

using namespace tessivar;
using namespace tessivar::testing;

namespace {

using Answer = Dialogs::Answer;
using Buttons = Dialogs::Buttons;
using Icon = Dialogs::Icon;

// A stand-in engine: records its calls and answers as told.
struct FakeEngine {
  static inline int calls = 0;
  static inline QByteArray lastPath;
  static inline int capacity = 0;
  static inline int status = 64;  // written to nptsZ unless leaveStatus
  static inline bool leaveStatus = false;
  static inline float zeroFill = 0;  // -99: no spectrum
  static inline QByteArray log = " run log\r\n";

  static void reset() {
    calls = 0;
    lastPath.clear();
    status = 64;
    leaveStatus = false;
    zeroFill = 0;
    log = " run log\r\n";
  }

  static int entry(const char* fileNam, float* x, float* y, int* nptsZ, int* npointsZ,
                   float* t_startZ, float* t_finalZ, float* zeroFillZ, float* sig2Z, int length) {
    ++calls;
    lastPath = QByteArray(fileNam, length);
    capacity = *npointsZ;
    QFile out(QDir::current().filePath("~Tirelle.out"));
    if (out.open(QIODevice::WriteOnly)) out.write(log);
    if (!leaveStatus) *nptsZ = status;
    *zeroFillZ = zeroFill;
    if (status > 0 && zeroFill != -99.0f) {
      *npointsZ = capacity / 2;
      for (int i = 0; i < *npointsZ; ++i) {
        x[i] = static_cast<float>(i) / static_cast<float>(capacity);
        y[i] = i == 5 ? 0.0f : -40.0f;
      }
      *t_startZ = 0;
      *t_finalZ = 63;
      *sig2Z = 1;
    }
    return 0;
  }
};

class RunFixture : public FormFixture {
 protected:
  void SetUp() override {
    FormFixture::SetUp();
    FakeEngine::reset();
    form->engine().setEntry(&FakeEngine::entry);
  }
  QTabWidget* tabs() { return w<QTabWidget>("Plot_Tabs"); }
};

}  // namespace

using Calculate = RunFixture;

TEST_F(Calculate, IncompleteFormWarnsAndDoesNotRun) {
  saveRunForm();
  box("nSkip")->clear();
  form->cmdSubmit_Click();
  ASSERT_EQ(dialogs.messages().size(), 1u);
  const auto warning = dialogs.messages()[0];
  EXPECT_EQ(warning.title, "Missing some data fields");
  EXPECT_EQ(warning.text, "Some fields are Blank, please fill them and submit again");
  EXPECT_EQ(warning.icon, Icon::Warning);
  EXPECT_TRUE(isRed(2));
  EXPECT_EQ(FakeEngine::calls, 0);
}

TEST_F(Calculate, RefusesSelectAndComplexDataForRealOnlyMethods) {
  saveRunForm();
  chooseMethod("-Select-");
  form->cmdSubmit_Click();
  ASSERT_EQ(dialogs.messages().size(), 1u);
  EXPECT_EQ(dialogs.messages()[0].text, "Please Select a 'Method' before making a run.");
  EXPECT_EQ(dialogs.messages()[0].title, "Tessivar");

  for (const char* method : {"RMLE", "Akaike"}) {
    dialogs.clear();
    chooseMethod(method);
    w<QRadioButton>("optComplex")->setChecked(true);
    form->cmdSubmit_Click();
    ASSERT_EQ(dialogs.messages().size(), 1u) << method;
    EXPECT_EQ(dialogs.messages()[0].title, "Please change 'data type' to Real  or change Method.");
    EXPECT_EQ(dialogs.messages()[0].text, "Akaike and RMLE methods -require- real data!");
    EXPECT_EQ(dialogs.messages()[0].icon, Icon::Warning);
  }
  EXPECT_EQ(FakeEngine::calls, 0);
}

TEST_F(Calculate, UneditedSavedFormRunsWithoutPromptOrRewrite) {
  saveRunForm();
  // A marker on line 1 shows whether the file is written again.
  QByteArray text = readBytes(user("run.1"));
  text.replace(text.indexOf("18; "), 4, "XX; ");
  writeBytes(user("run.1"), text);

  form->cmdSubmit_Click();
  EXPECT_TRUE(dialogs.calls().empty());
  EXPECT_EQ(FakeEngine::calls, 1);
  EXPECT_EQ(FakeEngine::lastPath, QFile::encodeName(user("run.1")));
  EXPECT_EQ(FakeEngine::capacity, 64);
  EXPECT_EQ(readBytes(user("run.1")), text);
  EXPECT_EQ(form->results().RunMethod, "Periodogram");
  EXPECT_EQ(form->results().npointsZ, 32);
  // Plotting takes over: the Plot tab, the run summary and peaks in the Output box, the run
  // buttons off until plotting is left.
  EXPECT_EQ(tabs()->currentIndex(), 4);
  EXPECT_TRUE(form->outBox()->toPlainText().contains("Tessivar (tm) Results"));
  EXPECT_TRUE(form->outBox()->toPlainText().contains(" Peak Frequencies: "));
  EXPECT_FALSE(w<QPushButton>("cmdSubmit")->isEnabled());
  EXPECT_TRUE(w<QPushButton>("cmdPrint")->isEnabled());
  EXPECT_FALSE(tabs()->isTabEnabled(0));
  EXPECT_TRUE(tabs()->isTabEnabled(2));
  form->cmdExitPlotting_Click();
  EXPECT_TRUE(w<QPushButton>("cmdSubmit")->isEnabled());
  EXPECT_TRUE(tabs()->isTabEnabled(0));
  EXPECT_FALSE(tabs()->isTabEnabled(2));
  EXPECT_EQ(tabs()->currentIndex(), 0);
  // The run log is kept beside the answer file, named after it.
  EXPECT_EQ(readBytes(user("run_1.out")), FakeEngine::log);
}

TEST_F(Calculate, EditedFormAsksToSaveFirst) {
  saveRunForm();
  box("TotalLines")->setText("50");
  for (Answer a : {Answer::No, Answer::Cancel}) {
    dialogs.clear();
    dialogs.answer(a);
    form->cmdSubmit_Click();
    EXPECT_EQ(titles(), QStringList{"Data in form has changed!"});
    EXPECT_EQ(dialogs.messages()[0].text, "Save current data?");
    EXPECT_EQ(FakeEngine::calls, 0);
  }

  dialogs.clear();
  dialogs.answer(Answer::Yes);
  dialogs.file(user("run.2"));
  form->cmdSubmit_Click();
  EXPECT_EQ(FakeEngine::calls, 1);
  EXPECT_EQ(FakeEngine::lastPath, QFile::encodeName(user("run.2")));
  EXPECT_TRUE(fileLines(user("run.2"))[3].startsWith("50  "));
  EXPECT_EQ(form->state().AnsName, "run.2");
  EXPECT_TRUE(QFile::exists(user("run_2.out")));
}

TEST_F(Calculate, NewFormMustBeSavedBeforeItRuns) {
  writeData("new.rda", 64);
  dialogs.answer(Answer::Ok);
  form->FileNew();
  chooseData(user("new.rda"));
  chooseMethod("Periodogram");
  for (const char* name : {"nSkip", "TotalLines"}) box(name)->setText("0");
  box("nPoints")->setText("64");
  box("windowName")->setText("Rectangular");
  form->state().DataChanged = false;  // as after a load, so the file question comes first

  dialogs.clear();
  dialogs.answer(Answer::Cancel);
  form->cmdSubmit_Click();
  ASSERT_EQ(dialogs.calls().size(), 1u);
  const auto ask = dialogs.calls()[0];
  EXPECT_EQ(ask.title, "Input -not- saved!");
  EXPECT_EQ(ask.text, "Okay to save '" + form->state().AnsDir + "/New data' now?");
  EXPECT_EQ(ask.buttons, Buttons::OkCancel);
  EXPECT_TRUE(w<QPushButton>("cmdSubmit")->isEnabled());
  EXPECT_EQ(FakeEngine::calls, 0);

  dialogs.clear();
  dialogs.answer(Answer::Ok);
  dialogs.file(user("fresh.1"));
  form->cmdSubmit_Click();
  ASSERT_GE(dialogs.calls().size(), 2u);
  EXPECT_EQ(dialogs.calls()[1].kind, "save");
  EXPECT_EQ(dialogs.calls()[1].request.fileName, "*.*");
  EXPECT_EQ(FakeEngine::calls, 1);
  EXPECT_EQ(fileLines(user("fresh.1")).size(), 21);
  EXPECT_EQ(form->windowTitle(), "Tessivar, for Spectral Estimators ... fresh.1");
}

TEST_F(Calculate, DesignDataFileNameIsLookedUpInTheUserFolder) {
  writeData("Real.Rda", 64);
  chooseMethod("Periodogram");
  box("nSkip")->setText("1");
  box("windowName")->setText("Rectangular");
  form->state().DataChanged = false;
  dialogs.answer(Answer::Ok);  // "Input -not- saved!"
  dialogs.file(user("first.1"));
  form->cmdSubmit_Click();
  EXPECT_EQ(FakeEngine::calls, 1);
  EXPECT_EQ(fileLines(user("first.1"))[1].left(user("Real.Rda").size() + 2),
            user("Real.Rda").toLatin1() + "  ");
}

TEST_F(Calculate, MissingDataFileIsReportedBeforeTheRun) {
  dialogs.answer(Answer::Ok);
  form->FileNew();
  chooseData(writeData("soon-gone.rda", 64));
  chooseMethod("Periodogram");
  for (const char* name : {"nSkip", "TotalLines"}) box(name)->setText("0");
  box("nPoints")->setText("64");
  box("windowName")->setText("Rectangular");
  form->state().DataChanged = false;
  QFile::remove(user("soon-gone.rda"));

  dialogs.clear();
  dialogs.answer(Answer::Ok);
  dialogs.file(user("nodata.1"));
  form->cmdSubmit_Click();
  ASSERT_FALSE(dialogs.messages().empty());
  const auto error = dialogs.messages().back();
  EXPECT_EQ(error.title, "In 'FileRun' routine ...");
  EXPECT_EQ(error.text, "==> Error!! <== Data file not found!!\r\nData file = " +
                            user("soon-gone.rda") + "\r\n");
  EXPECT_EQ(error.icon, Icon::Critical);
  EXPECT_EQ(FakeEngine::calls, 0);
  EXPECT_EQ(tabs()->currentIndex(), 0);
}

TEST_F(Calculate, FailedEstimatorShowsDecompositionFailedOnTheFirstRun) {
  saveRunForm();
  // The engine reports a failed estimator through zeroFillZ alone; nptsZ stays as it was.
  FakeEngine::leaveStatus = true;
  FakeEngine::zeroFill = -99;
  dialogs.answer(Answer::Ok);
  form->cmdSubmit_Click();
  ASSERT_EQ(dialogs.messages().size(), 1u);
  const auto box0 = dialogs.messages()[0];
  EXPECT_EQ(box0.title, "Decomposition failed.");
  EXPECT_EQ(box0.text,
            "No Plot!  Error calculating a spectrum.\r\nView bottom of '~tirelle.out' file for "
            "more details.");
  EXPECT_EQ(box0.buttons, Buttons::OkCancel);
  EXPECT_EQ(box0.icon, Icon::Warning);
  // OK opens the run log.
  ASSERT_EQ(dialogs.calls().back().kind, "document");
  EXPECT_EQ(dialogs.calls().back().text, user("~Tirelle.out"));
  EXPECT_TRUE(QFile::exists(user("run_1.out")));
  EXPECT_EQ(tabs()->currentIndex(), 0);
}

TEST_F(Calculate, FileErrorsPointAtTheRunLog) {
  saveRunForm();
  FakeEngine::status = -8;
  form->cmdSubmit_Click();
  ASSERT_EQ(dialogs.messages().size(), 1u);
  const auto box0 = dialogs.messages()[0];
  EXPECT_EQ(box0.title, "File name in error ... read Output file 4 more");
  EXPECT_EQ(box0.text,
            "File Error ... read bottom of your '~tirelle.out' file for \r\nmore details. This OUT "
            "file is in the same directory \r\nas your input file; ... \r\n   " +
                user("run.1"));
  EXPECT_EQ(box0.icon, Icon::None);
  EXPECT_EQ(box0.buttons, Buttons::Ok);
  EXPECT_FALSE(QFile::exists(user("run_1.out")));
}

TEST_F(Calculate, MissingEngineLibraryIsNamedAndTheFormStays) {
  saveRunForm();
  form->engine().setEntry(nullptr);
  form->engine().setPath(base.filePath("nowhere/voxtrel"));
  form->cmdSubmit_Click();
  ASSERT_EQ(dialogs.messages().size(), 1u);
  EXPECT_EQ(dialogs.messages()[0].icon, Icon::Critical);
  EXPECT_TRUE(dialogs.messages()[0].text.contains(base.filePath("nowhere/voxtrel")));
  EXPECT_TRUE(w<QPushButton>("cmdSubmit")->isEnabled());
  EXPECT_EQ(tabs()->currentIndex(), 0);
}

TEST(EngineBinding, FoundByNameInTheProgramsFolderOrNamedWhenMissing) {
  EngineLibrary beside(QFileInfo(QStringLiteral(VOXTREL_SHARED_LIBRARY)).absolutePath() +
                       "/voxtrel");
  EXPECT_NE(beside.entry(), nullptr) << beside.error().toStdString();

  EngineLibrary noEntry("libm.so.6");  // a library without the entry
  EXPECT_EQ(noEntry.entry(), nullptr);
  EXPECT_TRUE(noEntry.error().contains("Voxtrel_for")) << noEntry.error().toStdString();
}

TEST_F(Calculate, UnreadableAnswerFileIsNamed) {
  saveRunForm();
  writeBytes(user("run.1"), "run.1\r\nonly two lines\r\n");
  form->cmdSubmit_Click();
  ASSERT_EQ(dialogs.messages().size(), 1u);
  EXPECT_EQ(dialogs.messages()[0].title, "In 'CalcSpectrum' routine ...");
  EXPECT_TRUE(dialogs.messages()[0].text.contains(user("run.1")));
  EXPECT_TRUE(dialogs.messages()[0].text.contains("-EOF-"));
  EXPECT_EQ(FakeEngine::calls, 0);
}

TEST_F(Calculate, LastOutputOpensTheLogOrSaysItIsMissing) {
  form->mnuViewOutput_Click();
  ASSERT_EQ(dialogs.calls().size(), 1u);
  EXPECT_EQ(dialogs.calls()[0].title, "'~tirelle.out' output file not found.");
  EXPECT_EQ(dialogs.calls()[0].text, "Try a 'Calculate' command then retry this View option.");
  form->ViewFile("notes.txt");
  EXPECT_EQ(dialogs.calls()[1].title, "'notes.txt' file not found.");
  EXPECT_EQ(dialogs.calls()[1].text, "File not found. Check your equation and re-try.");

  writeBytes(user("~Tirelle.out"), "log\r\n");
  form->mnuViewOutput_Click();
  EXPECT_EQ(dialogs.calls()[2].kind, "document");
  EXPECT_EQ(dialogs.calls()[2].text, user("~Tirelle.out"));
  ASSERT_EQ(dialogs.calls().size(), 3u);

  dialogs.documentOpens(false);  // no viewer on the desktop: say so, with the path
  form->mnuViewOutput_Click();
  ASSERT_EQ(dialogs.calls().size(), 5u);
  EXPECT_EQ(dialogs.calls()[4].title, "'~tirelle.out' not opened.");
  EXPECT_TRUE(dialogs.calls()[4].text.contains(user("~Tirelle.out")));
}

// The real engine from here on.

TEST_F(Calculate, EngineStopIsExplainedAndTheProgramGoesOn) {
  saveRunForm();
  form->engine().setEntry(nullptr);
  // Blackman-Tukey needs more than 2 M + 2 points: 30 lags with 40 points stop the run.
  chooseData(writeData("short.rda", 40));
  chooseMethod("Blackman-Tukey");
  box("Mode")->setText("0");
  box("mLag")->setText("30");
  dialogs.file(user("bt.1"));
  ASSERT_TRUE(form->FileSaveAs());
  dialogs.clear();
  dialogs.answer(Answer::Ok);
  form->cmdSubmit_Click();
  ASSERT_EQ(dialogs.messages().size(), 1u);
  const auto stop = dialogs.messages()[0];
  EXPECT_EQ(stop.title, "Calculation stopped.");
  EXPECT_EQ(stop.icon, Icon::Warning);
  const QString reason = lastNonBlankLine(user("~Tirelle.out"));
  EXPECT_FALSE(reason.isEmpty());
  EXPECT_EQ(stop.text, reason + "\r\nView bottom of '~tirelle.out' file for more details.");
  EXPECT_EQ(dialogs.calls().back().kind, "document");
  EXPECT_EQ(form->results().nptsZ, -9);
  EXPECT_TRUE(w<QPushButton>("cmdSubmit")->isEnabled());
}

TEST_F(Calculate, PeriodogramRunsThroughTheEngine) {
  saveRunForm();
  form->engine().setEntry(nullptr);
  form->cmdSubmit_Click();
  EXPECT_TRUE(dialogs.calls().empty()) << readBytes(user("~Tirelle.out")).toStdString();
  const RunResults& r = form->results();
  EXPECT_EQ(r.nptsZ, 64);
  EXPECT_EQ(r.npointsZ, 32);
  EXPECT_EQ(tabs()->currentIndex(), 4);
  EXPECT_TRUE(QFile::exists(user("run_1.out")));
  float top = -1000;
  for (int i = 0; i < r.npointsZ; ++i) top = std::max(top, r.spectrum[i]);
  EXPECT_NEAR(top, 0.0f, 1e-4);
}

// View > Double-precision arithmetic: off at first, kept in the per-user settings, and the run
// computes in the arithmetic it shows (the run log says so); an engine with the plain entry
// only is refused by name rather than run in single precision behind the user's back.
TEST_F(Calculate, DoublePrecisionMenuItemIsKeptAndChoosesTheArithmetic) {
  auto* item = form->findChild<QAction*>("mnuViewDouble");
  ASSERT_NE(item, nullptr);
  EXPECT_TRUE(item->isCheckable());
  item->setChecked(false);
  EXPECT_FALSE(ArithmeticSetting::doublePrecision(QSettings()));
  saveRunForm();
  form->engine().setEntry(nullptr);
  const QString arithmeticLine = QStringLiteral(" Arithmetic: double precision");
  for (const bool on : {true, false}) {
    item->setChecked(on);
    EXPECT_EQ(ArithmeticSetting::doublePrecision(QSettings()), on);
    form->cmdSubmit_Click();
    EXPECT_TRUE(dialogs.calls().empty());
    EXPECT_EQ(form->results().nptsZ, 64);
    EXPECT_EQ(form->results().doublePrecision, on);
    const QString log = QString::fromLatin1(readBytes(user("run_1.out")));
    EXPECT_EQ(log.count(arithmeticLine), on ? 1 : 0) << log.toStdString();
  }

  item->setChecked(true);
  form->engine().setEntry(&FakeEngine::entry);
  form->cmdSubmit_Click();
  EXPECT_EQ(FakeEngine::calls, 0);
  ASSERT_EQ(dialogs.calls().size(), 1u);
  EXPECT_TRUE(dialogs.calls()[0].text.contains("computes in single precision only"));
  EXPECT_TRUE(dialogs.calls()[0].text.contains("Turn off View > Double-precision arithmetic"));
  item->setChecked(false);
}

// A file the program wrote, run by the engine's C entry directly.
TEST_F(Calculate, SavedFileGivesTheSpectrumOfTheFormsSettings) {
  // Two cosines on exact frequency bins of 64 points: bins 5 and 12, amplitudes 1 and 0.5.
  QByteArray data = "t y\r\n";
  for (int i = 0; i < 64; ++i) {
    const double y = std::cos(2 * M_PI * 5 * i / 64.0) + 0.5 * std::cos(2 * M_PI * 12 * i / 64.0);
    data += QByteArray::number(i) + " " + QByteArray::number(y, 'g', 9) + "\r\n";
  }
  writeBytes(user("two.rda"), data);
  chooseData(user("two.rda"));
  chooseMethod("Periodogram");
  box("nSkip")->setText("1");
  box("TotalLines")->setText("0");
  box("nPoints")->setText("50");  // stored as 64
  box("windowName")->setText("Rectangular");
  w<QRadioButton>("optReal")->setChecked(true);
  w<QRadioButton>("optNo")->setChecked(true);
  dialogs.file(user("two.1"));
  ASSERT_TRUE(form->FileSaveAs());

  void* library = dlopen(VOXTREL_SHARED_LIBRARY, RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(library, nullptr) << dlerror();
  auto entry = reinterpret_cast<Voxtrel_for_t>(dlsym(library, "Voxtrel_for"));
  ASSERT_NE(entry, nullptr);
  const RunResults r = callEngine(entry, user("two.1"), 64);
  dlclose(library);

  ASSERT_EQ(r.nptsZ, 64);
  ASSERT_EQ(r.npointsZ, 32);  // one-sided
  EXPECT_NE(r.zeroFillZ, -99.0f);
  for (int i = 0; i < 32; ++i) {
    SCOPED_TRACE(i);
    EXPECT_NEAR(r.x_array[i], i / 64.0f, 1e-6);
    // Power goes with the square of the amplitude; the dB values are 20 log10 of power ratios.
    const float expected = i == 5 ? 0.0f : i == 12 ? 20 * std::log10(0.25f) : -100.0f;
    EXPECT_NEAR(r.spectrum[i], expected, i == 5 || i == 12 ? 0.01 : 1.0);
  }
}

TEST(Program, StartsAndKeepsRunningInARealWindow) {
  const QString xvfb = QStandardPaths::findExecutable("xvfb-run");
  if (xvfb.isEmpty()) GTEST_SKIP() << "xvfb-run is not installed";
  QTemporaryDir config;
  QProcess program;
  program.setProgram(xvfb);
  // Inside the virtual display: start the program, look whether it is still there a moment
  // later, then end it.
  program.setArguments(
      {"-a", "sh", "-c",
       "\"$0\" & pid=$!; sleep 3; if kill -0 $pid 2>/dev/null; then echo running; kill $pid; "
       "fi; wait $pid; exit 0",
       QStringLiteral(TESSIVAR_PROGRAM)});
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.remove("QT_QPA_PLATFORM");
  env.insert("XDG_CONFIG_HOME", config.path());
  program.setProcessEnvironment(env);
  program.start();
  ASSERT_TRUE(program.waitForStarted(10000));
  ASSERT_TRUE(program.waitForFinished(60000));
  EXPECT_EQ(program.readAllStandardOutput().trimmed(), "running")
      << program.readAllStandardError().toStdString();
}

// Every method's file, as the form saves it, is read back by the engine with the same values:
// its run log echoes the parameters it read.
TEST_F(Calculate, EngineReadsEveryMethodsFileAsWritten) {
  const std::pair<QString, QString> canonical[] = {
      {"Auto-Correlation", "AUTO-CORRELATION"},
      {"Burg", "BURG"},
      {"Covariance", "COVARIANCE"},
      {"Modified Covariance", "Modified COVARIANCE"},
      {"MYWE", "MYWE"},
      {"LSMYWE", "LSMYWE"},
      {"Mayne-Firoozan", "MAYNEFIR"},
      {"Durbin", "DURBIN"},
      {"Periodogram", "PERIODOGRAM"},
      {"Blackman-Tukey", "BLACKTUKEY"},
      {"MVSE", "MVSE"},
      {"Lockheed (Autocorr/Burg)", "Lockheed (Auto./Burg)"},
      {"Akaike", "AKAIKE"},
      {"RMLE", "RMLE"},
  };
  // Question, the log's name for it, the value typed and how the log shows it.
  const std::tuple<int, QString, QString, QString> params[] = {
      {9, "npoles", "4", "4"},
      {10, "nzeros", "2", "2"},
      {11, "eps", "1.e-15", "1.000E-15"},
      {12, "mode", "1", "1"},
      {13, "m_eqs", "15", "15"},
      {14, "l_pts", "18", "18"},
      {15, "m_lags", "10", "10"},
      {16, "nit", "50", "50"},
      {17, "per", "0.01", "0.010"},
      {18, "window_name", "Rectangular", "Rectangular"},
  };
  saveRunForm();
  form->engine().setEntry(nullptr);
  const Voxtrel_for_t entry = form->engine().entry();
  ASSERT_NE(entry, nullptr);
  for (const auto& [q, name, typed, shown] : params) textBox(q)->setText(typed);

  int n = 0;
  for (const auto& [method, engineName] : canonical) {
    SCOPED_TRACE(method.toStdString());
    chooseMethod(method);
    const QString file = QStringLiteral("m.%1").arg(++n);
    dialogs.file(user(file));
    ASSERT_TRUE(form->FileSaveAs());
    callEngine(entry, user(file), 64);
    const QString log = QString::fromLatin1(readBytes(user("~Tirelle.out")));
    EXPECT_TRUE(log.contains("Batch filename = " + file)) << log.toStdString();
    EXPECT_TRUE(log.contains("dataFile = " + user("sig.rda") + "<---"));
    EXPECT_TRUE(log.contains(
        QRegularExpression("method_name = " + QRegularExpression::escape(engineName) + "\r\n")));
    const QList<int> required = requiredList(method);
    for (const auto& [q, name, typed, shown] : params) {
      const QRegularExpression echo(name + " = +" + QRegularExpression::escape(shown) + "\r\n");
      if (required.contains(q)) {
        EXPECT_TRUE(log.contains(echo)) << name.toStdString();
      } else if (q >= 11) {  // the engine sets the orders itself for some methods
        EXPECT_FALSE(log.contains(name + " = ")) << name.toStdString();
      }
    }
  }
}

// The data file an answer file sends the engine to: line 2 as the engine opens it, from the
// working (user) folder.
QString engineDataFile(const QString& answerFile) {
  QString error;
  const std::optional<AnsFileContents> c = readAnsFileContents(answerFile, &error);
  if (!c) return error;
  return QFileInfo(QDir::current(), c->Answers[1]).canonicalFilePath();
}

// An answer file naming a data file in another folder, or only a name (as the examples do):
// run as it is, and run after Open, an edit and Save, the engine reads the same data file.
TEST_F(Calculate, OpenEditAndSaveKeepTheDataFileTheEngineReads) {
  ASSERT_TRUE(QDir(base.path()).mkpath("F"));
  writeData("Real.Rda", 64);  // the user folder's file of the same name
  ASSERT_TRUE(QFile::copy(user("Real.Rda"), base.filePath("F/Real.Rda")));
  const struct {
    const char* line2;
    QString expected;
  } cases[] = {
      {"", base.filePath("F/Real.Rda")},  // the full path, written below
      {"Real.Rda", user("Real.Rda")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.expected.toStdString());
    AnswerState s;
    s.Answers = {
        "",  *c.line2 ? QString(c.line2) : c.expected, "1", "0", "Real", "", "Periodogram", "No",
        "64"};
    s.Answers[18] = "Rectangular";
    const QString file = base.filePath("F/f.1");
    writeBytes(file,
               ansFileText("f.1", s, requiredList("Periodogram"), QDateTime::currentDateTime()));
    dialogs.clear();
    dialogs.file(file);
    form->FileOld();
    EXPECT_EQ(box("timeData")->text(), "Real.Rda");

    FakeEngine::reset();
    form->cmdSubmit_Click();  // unedited: runs the file as it is
    ASSERT_EQ(FakeEngine::calls, 1);
    EXPECT_EQ(engineDataFile(file), QFileInfo(c.expected).canonicalFilePath());
    form->cmdExitPlotting_Click();

    box("windowName")->setText("Hamming");
    form->FileSave();
    EXPECT_FALSE(form->state().DataChanged);
    EXPECT_TRUE(fileLines(file)[18].startsWith("Hamming  "));
    EXPECT_EQ(engineDataFile(file), QFileInfo(c.expected).canonicalFilePath());
    FakeEngine::reset();
    form->cmdSubmit_Click();  // and the saved file runs without a word
    EXPECT_EQ(FakeEngine::calls, 1);
    EXPECT_EQ(engineDataFile(file), QFileInfo(c.expected).canonicalFilePath());
    form->cmdExitPlotting_Click();
  }
}

// An answer file whose nPoints is not a power of two, run unedited: the engine raises it to
// the next power of two, and the spectrum of that many points fits the arrays.
TEST_F(Calculate, NPointsNotAPowerOfTwoRunsWithArraysOfTheRaisedSize) {
  writeData("sig.rda", 64);
  form->engine().setEntry(nullptr);
  const struct {
    const char* nPoints;
    const char* negative;
    int plotted;  // two-sided: raised - 1; one-sided: raised / 2
  } cases[] = {{"1000", "Yes", 1023}, {"100", "Yes", 127}, {"1000", "No", 512}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.nPoints) + " " + c.negative);
    AnswerState s;
    s.Answers = {"", "sig.rda", "1", "0", "Real", "", "Periodogram", c.negative, c.nPoints};
    s.Answers[18] = "Rectangular";
    writeBytes(user("np.1"),
               ansFileText("np.1", s, requiredList("Periodogram"), QDateTime::currentDateTime()));
    dialogs.clear();
    dialogs.file(user("np.1"));
    form->FileOld();
    form->cmdSubmit_Click();
    EXPECT_TRUE(dialogs.messages().empty()) << dialogs.messages().front().text.toStdString() << "\n"
                                            << lastNonBlankLine(user("~Tirelle.out")).toStdString();
    EXPECT_EQ(form->results().npointsZ, c.plotted);
    EXPECT_EQ(tabs()->currentIndex(), 4);
    form->cmdExitPlotting_Click();
  }
}

// A run that ends without a spectrum clears the picture of the run before it: Print and Save
// As have nothing to print or save under the new run's name.
TEST_F(Calculate, RunWithoutASpectrumLeavesNoOldPictureToPrintOrSave) {
  saveRunForm();
  const struct {
    const char* outcome;
    int status;
    float zeroFill;
  } cases[] = {{"stopped", -9, 0}, {"no plot", 64, -99}, {"file error", -8, 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.outcome);
    FakeEngine::reset();
    form->cmdSubmit_Click();
    ASSERT_TRUE(form->plots().hasPlot());
    ASSERT_TRUE(w<QPushButton>("cmdFileSaveAs")->isEnabled());
    const QImage good = form->plots().surface().image();
    form->cmdExitPlotting_Click();

    FakeEngine::status = c.status;
    FakeEngine::zeroFill = c.zeroFill;
    FakeEngine::log = " Stop: too few points\r\n";
    form->cmdSubmit_Click();
    EXPECT_FALSE(w<QPushButton>("cmdPrint")->isEnabled());
    EXPECT_FALSE(w<QPushButton>("cmdFileSaveAs")->isEnabled());
    EXPECT_FALSE(form->plots().hasPlot());
    const QImage now = form->plots().surface().image();
    EXPECT_NE(now, good);
    EXPECT_EQ(now.pixelColor(now.width() / 2, now.height() / 2),
              now.pixelColor(now.width() / 4, now.height() / 3))
        << "a cleared picture is one colour";
    dialogs.clear();
    form->cmdFileSaveAs_Click();
    form->cmdPrint_Click();
    EXPECT_TRUE(dialogs.calls().empty()) << "neither Save As nor Print asks for anything";
  }
}

// Export spectrum after a real run: offered in the File menu (whose other items wait while
// plotting) and on the Plot tab; the file is the one voxtrel-run --csv writes for the same answer
// file, line for line, but for the lines that name the method, the answer file and the date.
TEST_F(Calculate, ExportedSpectrumIsTheRunnersCsvOfTheSameRun) {
  saveRunForm("Burg");
  form->engine().setEntry(nullptr);
  QAction* exportItem = w<QAction>("mnuFileExportSpectrum");
  EXPECT_FALSE(exportItem->isEnabled());
  form->cmdSubmit_Click();
  ASSERT_TRUE(form->plots().hasPlot()) << readBytes(user("~Tirelle.out")).toStdString();
  EXPECT_TRUE(w<QMenu>("mnuFile")->menuAction()->isEnabled());
  EXPECT_TRUE(exportItem->isEnabled());
  EXPECT_FALSE(w<QAction>("mnuFileNew")->isEnabled());
  EXPECT_FALSE(w<QAction>("mnuFileExit")->isEnabled());

  dialogs.file(user("burg.csv"));
  w<QPushButton>("cmdExportSpectrum")->click();
  ASSERT_EQ(dialogs.calls().size(), 1u);
  EXPECT_EQ(dialogs.calls()[0].request.fileName, "run.csv");
  EXPECT_TRUE(dialogs.messages().empty());
  const QList<QByteArray> mine = fileLines(user("burg.csv"));
  ASSERT_EQ(mine.size(), 6 + 1 + 32);
  EXPECT_EQ(mine[0], "# method: Burg");
  EXPECT_EQ(mine[1], "# answer file: run.1");
  EXPECT_TRUE(mine[2].startsWith("# data file: ") && mine[2].endsWith("/sig.rda"))
      << mine[2].data();
  EXPECT_EQ(mine[3], "# nPoints: 64");
  EXPECT_EQ(mine[4], "# orders: nPoles = 10");
  EXPECT_EQ(mine[6], "frequency,dB");
  EXPECT_TRUE(QFile::exists(user("burg_peaks.csv")));

  QProcess runner;
  runner.setWorkingDirectory(form->userDir());
  runner.start(QStringLiteral(VOXTREL_RUN_CLI),
               {QStringLiteral("run.1"), QStringLiteral("--csv"), QStringLiteral("cli.csv")});
  ASSERT_TRUE(runner.waitForFinished(60000));
  ASSERT_EQ(runner.exitCode(), 0) << runner.readAllStandardError().toStdString();
  for (const char* suffix : {".csv", "_peaks.csv"}) {
    SCOPED_TRACE(suffix);
    const QList<QByteArray> ours = fileLines(user(QStringLiteral("burg") + suffix));
    const QList<QByteArray> theirs = fileLines(user(QStringLiteral("cli") + suffix));
    ASSERT_EQ(ours.size(), theirs.size());
    EXPECT_EQ(theirs[0], "# method: BURG");  // the run log's name for it
    EXPECT_EQ(theirs[1], "# answer file: run.1");
    for (int i = 2; i < ours.size(); ++i) {
      if (i == 5) continue;  // the date of each run
      EXPECT_EQ(ours[i], theirs[i]) << i;
    }
  }

  form->cmdExitPlotting_Click();
  EXPECT_FALSE(exportItem->isEnabled());
  EXPECT_TRUE(w<QAction>("mnuFileNew")->isEnabled());
  EXPECT_TRUE(w<QAction>("mnuFileExit")->isEnabled());
}
