// The parameter form and the File menu, headless, with scripted prompts.
#include <QAction>
#include <QApplication>
#include <QFocusEvent>
#include <QGroupBox>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QTabWidget>
#include <functional>

#include "FormFixture.h"
#include "PlotOutput.h"

using namespace tessivar;
using namespace tessivar::testing;

namespace {

using Answer = Dialogs::Answer;
using Buttons = Dialogs::Buttons;
using Icon = Dialogs::Icon;

}  // namespace

using FormStart = FormFixture;

TEST_F(FormStart, TabsMenusQuestionsAndDefaults) {
  EXPECT_EQ(form->windowTitle(), "Tessivar (tm) for Spectral Estimators");
  QTabWidget* tabs = w<QTabWidget>("Plot_Tabs");
  const QStringList names = {"Parameter Selection", "Demos", "Setup", "Output", "Plot"};
  ASSERT_EQ(tabs->count(), 5);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(tabs->tabText(i), names[i]);
  EXPECT_EQ(tabs->currentIndex(), 0);
  EXPECT_FALSE(tabs->isTabEnabled(1));
  EXPECT_FALSE(tabs->isTabEnabled(2));

  const std::pair<const char*, bool> items[] = {
      {"mnuFileNew", true},    {"mnuFileOpen", true},   {"mnuFileSave", true},
      {"mnuFileSaveAs", true}, {"mnuFileDelete", true}, {"mnuFileSubmit", true},
      {"mnuFileExit", true},   {"mnuDemosRun", true},   {"mnuViewDemos", true},
      {"mnuViewOutput", true}, {"mnuWebLink", true},    {"mnuHelpManual", true},
      {"mnuHelpEmail", true},  {"mnuHelpAbout", true},
  };
  for (const auto& [name, enabled] : items)
    EXPECT_EQ(w<QAction>(name)->isEnabled(), enabled) << name;
  EXPECT_EQ(w<QAction>("mnuFileSaveAs")->text(), "Save &As ...");

  EXPECT_EQ(w<QLabel>("Question_9")->text(),
            QString::fromUtf8("9. »  nPoles: AR (AutoRegressive) model order? "));
  EXPECT_EQ(w<QComboBox>("Methods")->count(), 15);
  EXPECT_EQ(w<QComboBox>("Methods")->currentText(), "-Select-");
  EXPECT_EQ(box("timeData")->text(), "Real.Rda");
  EXPECT_EQ(box("EPS")->text(), "1.e-15");
  EXPECT_EQ(box("Note1")->text(), "Keep notes for future runs");
  EXPECT_TRUE(w<QRadioButton>("optReal")->isChecked());
  EXPECT_FALSE(w<QRadioButton>("optYes")->isChecked());
  EXPECT_FALSE(w<QRadioButton>("optNo")->isChecked());
  EXPECT_TRUE(w<QPushButton>("cmdSubmit")->isEnabled());
  EXPECT_FALSE(w<QPushButton>("cmdPrint")->isEnabled());
  EXPECT_FALSE(w<QPushButton>("cmdFileSaveAs")->isEnabled());
  EXPECT_FALSE(form->state().DataChanged);
  EXPECT_EQ(form->state().AnsName, kAnsNameHint);

  // The user folder is made and becomes the working directory.
  EXPECT_TRUE(QFileInfo(base.filePath("user")).isDir());
  EXPECT_EQ(QDir::currentPath(), QDir(base.filePath("user")).canonicalPath());
  EXPECT_TRUE(dialogs.calls().empty());
}

TEST_F(FormStart, KeyExampleFillsTheFormAndCaptionNamesNoFile) {
  form.reset();
  ASSERT_TRUE(QDir(base.path()).mkpath("user"));
  AnswerState s;
  s.Answers = {"", "Ex-Data.rda", "3", "0", "Real", "", "Burg", "Yes", "256", "7"};
  s.Note1 = "example";
  writeBytes(base.filePath("user/Ex-Auto.0"),
             ansFileText("Ex-Auto.0", s, requiredList("Burg"), QDateTime::currentDateTime()));
  form = std::make_unique<frmMain>(dialogs, base.path());
  EXPECT_EQ(w<QComboBox>("Methods")->currentText(), "Burg");
  EXPECT_EQ(box("nSkip")->text(), "3");
  EXPECT_EQ(box("nPoles")->text(), "7");
  EXPECT_TRUE(w<QRadioButton>("optYes")->isChecked());
  EXPECT_EQ(box("timeData")->text(), "Ex-Data.rda");
  EXPECT_EQ(form->windowTitle(), "Tessivar (tm) for Spectral Estimators");
  EXPECT_FALSE(form->state().DataChanged);
}

using FormLayout = FormFixture;

TEST_F(FormLayout, OnlyTheMethodsQuestionsShowStackedBelowQuestionEight) {
  form->show();
  for (const QString& method : methodEntries()) {
    SCOPED_TRACE(method.toStdString());
    chooseMethod(method);
    QApplication::processEvents();
    const QList<int> required = requiredList(method);
    for (int q = 1; q <= kQuestionCount; ++q) {
      const bool shown = q <= 8 ? q != 5 : required.contains(q);
      EXPECT_EQ(w<QLabel>(qPrintable(QStringLiteral("Question_%1").arg(q)))->isVisible(), shown)
          << q;
    }
    // Each visible row stands right below the previous one; the notes follow the last.
    QWidget* previous = w<QWidget>("row_8");
    QList<int> rows = required;
    for (int q : rows) {
      QWidget* row = w<QWidget>(qPrintable(QStringLiteral("row_%1").arg(q)));
      EXPECT_GT(row->y(), previous->y());
      EXPECT_LT(row->y() - (previous->y() + previous->height()), 20) << q;
      previous = row;
    }
    EXPECT_LT(w<QLabel>("lblKeepNotes")->y() - (previous->y() + previous->height()), 40);
  }
  EXPECT_TRUE(form->state().DataChanged);  // leaving the methods list counts as an edit
}

TEST_F(FormLayout, MissingAnswersAreMarkedRed) {
  chooseMethod("-Select-");
  box("Lpts")->clear();
  EXPECT_TRUE(form->isComplete());  // the run refuses "-Select-" itself
  for (int q = 1; q <= kQuestionCount; ++q) EXPECT_FALSE(isRed(q));

  chooseMethod("MVSE");
  EXPECT_FALSE(form->isComplete());
  EXPECT_TRUE(isRed(14));
  EXPECT_FALSE(isRed(9));
  box("Lpts")->setText("18");
  box("nPoints")->clear();
  form->state().Answers[5] = "";
  EXPECT_FALSE(form->isComplete());
  EXPECT_TRUE(isRed(8));
  EXPECT_FALSE(isRed(14));
  EXPECT_FALSE(isRed(5));  // question 5 is never asked

  chooseMethod("Periodogram");  // question 14 is not asked any more
  box("nPoints")->setText("64");
  EXPECT_TRUE(form->isComplete());
  EXPECT_FALSE(isRed(8));
  EXPECT_TRUE(dialogs.messages().empty());
}

TEST_F(FormLayout, GetAnswersReadsTheFirstLetterOfTypeAndSides) {
  const std::tuple<QString, QString, bool, bool> cases[] = {
      {"Real", "Yes", true, true},  {"R", "Y", true, true}, {"real", "yes", false, false},
      {" Real", "No", true, false}, {"", "", false, false}, {"Complex", " Yes", false, true},
  };
  for (const auto& [type, sides, real, yes] : cases) {
    form->state().Answers[4] = type;
    form->state().Answers[7] = sides;
    form->GetAnswers();
    EXPECT_EQ(w<QRadioButton>("optReal")->isChecked(), real) << type.toStdString();
    EXPECT_EQ(w<QRadioButton>("optComplex")->isChecked(), !real);
    EXPECT_EQ(w<QRadioButton>("optYes")->isChecked(), yes) << sides.toStdString();
  }
  form->state().Answers[6] = "periodogram";  // not an entry: the choice stays
  chooseMethod("Burg");
  form->GetAnswers();
  EXPECT_EQ(w<QComboBox>("Methods")->currentText(), "Burg");
}

TEST_F(FormLayout, NPointsIsStoredAsAPowerOfTwoButTheBoxKeepsTheTypedValue) {
  box("nPoints")->setText("100");
  ASSERT_TRUE(form->PutAnswers());
  EXPECT_EQ(form->state().Answers[8], "128");
  EXPECT_EQ(box("nPoints")->text(), "100");
}

TEST_F(FormLayout, UnusableNPointsIsRefusedNamingQuestionEight) {
  saveRunForm();
  const QByteArray saved = readBytes(user("run.1"));
  for (const char* typed : {"0", "-8", "16385", "abc", "3.5"}) {
    SCOPED_TRACE(typed);
    dialogs.clear();
    box("nPoints")->setText(typed);
    form->FileSave();
    ASSERT_EQ(dialogs.calls().size(), 1u);
    const auto call = dialogs.calls()[0];
    EXPECT_EQ(call.kind, "message");
    EXPECT_EQ(call.icon, Icon::Warning);
    EXPECT_TRUE(call.text.contains("Question 8")) << call.text.toStdString();
    EXPECT_TRUE(call.text.contains("1 to 16,384")) << call.text.toStdString();
    EXPECT_EQ(readBytes(user("run.1")), saved);
    EXPECT_TRUE(form->state().DataChanged);

    dialogs.clear();
    form->cmdSubmit_Click();  // Calculate stops at the same box
    ASSERT_EQ(dialogs.calls().size(), 1u);
    EXPECT_TRUE(dialogs.calls()[0].text.contains("Question 8"));
  }
}

TEST_F(FormLayout, LeavingTheMethodsListIsAnEditOnlyWhenTheMethodChanged) {
  saveRunForm();
  form->show();
  form->activateWindow();
  QComboBox* methods = w<QComboBox>("Methods");
  QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
  QApplication::sendEvent(methods, &out);
  EXPECT_FALSE(form->state().DataChanged);

  methods->setCurrentIndex(methodEntries().indexOf("MVSE"));  // as the keyboard does
  QApplication::sendEvent(methods, &out);
  EXPECT_TRUE(form->state().DataChanged);
  EXPECT_TRUE(w<QLabel>("Question_14")->isVisible());
}

TEST_F(FormLayout, DataFileIsChosenThroughTheBrowseDialog) {
  form->show();
  QApplication::setActiveWindow(form.get());
  box("timeData")->setFocus();
  QApplication::processEvents();
  EXPECT_TRUE(w<QPushButton>("cmdFileData")->isVisible());
  EXPECT_EQ(QApplication::focusWidget(), w<QPushButton>("cmdFileData"));

  dialogs.file("");  // cancelled: nothing changes
  form->cmdFileData_Click();
  ASSERT_EQ(dialogs.calls().size(), 1u);
  const auto open = dialogs.calls()[0];
  EXPECT_EQ(open.title, "Select File Name containing your Data for Analyses");
  EXPECT_EQ(open.request.filter,
            "All Files (*.*)|*.*|Real data (*.rda)|*.rda;*.rda|Complex data (*.cda)|*.cda;*.cda|"
            "Plot data files (*.dat)|*.dat");
  EXPECT_EQ(open.request.filterIndex, 2);
  EXPECT_EQ(box("timeData")->text(), "Real.Rda");
  EXPECT_FALSE(form->state().DataChanged);

  dialogs.file(base.filePath("elsewhere/Signal.cda"));
  form->cmdFileData_Click();
  EXPECT_EQ(box("timeData")->text(), "Signal.cda");
  EXPECT_EQ(form->state().DataDir, base.filePath("elsewhere"));
  ASSERT_TRUE(form->PutAnswers());
  EXPECT_EQ(form->state().Answers[1], base.filePath("elsewhere/Signal.cda"));
  EXPECT_TRUE(form->state().DataChanged);

  box("Note2")->setFocus();
  QApplication::processEvents();
  EXPECT_EQ(box("Note2")->selectedText(), "Your notes go here");
}

using FileCommands = FormFixture;

TEST_F(FileCommands, NewClearsTheFormAfterConfirmation) {
  dialogs.answer(Answer::Cancel);
  form->FileNew();
  EXPECT_EQ(titles(), QStringList{"Confirm 'New' Response."});
  EXPECT_EQ(form->state().AnsName, kAnsNameHint);
  EXPECT_EQ(box("nSkip")->text(), "0");

  dialogs.clear();
  dialogs.answer(Answer::Ok);
  form->FileNew();
  ASSERT_EQ(dialogs.messages().size(), 1u);
  const auto box0 = dialogs.messages()[0];
  EXPECT_EQ(box0.text, "Okay to Clear responses?");
  EXPECT_EQ(box0.buttons, Buttons::OkCancel);
  EXPECT_EQ(box0.icon, Icon::Question);
  EXPECT_EQ(form->state().AnsName, "New data");
  EXPECT_EQ(form->windowTitle(), "Tessivar, for Spectral Estimators ... New data");
  EXPECT_EQ(w<QComboBox>("Methods")->currentText(), "Auto-Correlation");
  EXPECT_TRUE(w<QRadioButton>("optComplex")->isChecked());
  EXPECT_TRUE(w<QRadioButton>("optNo")->isChecked());
  EXPECT_EQ(box("timeData")->text(), "");
  EXPECT_EQ(box("Note1")->text(), "");
  EXPECT_FALSE(form->state().DataChanged);
  // No data file chosen: question 1 is missing, not a folder name.
  EXPECT_FALSE(form->isComplete());
  EXPECT_TRUE(isRed(1));
  EXPECT_TRUE(isRed(9));

  // New, then Open: the nameless form asks first; whatever the answer, the dialog follows.
  dialogs.clear();
  dialogs.answer(Answer::No);
  form->FileOld();
  ASSERT_EQ(dialogs.calls().size(), 2u);
  EXPECT_EQ(dialogs.calls()[0].title, "No File Name!");
  EXPECT_EQ(dialogs.calls()[0].text, "Save current data?");
  EXPECT_EQ(dialogs.calls()[0].buttons, Buttons::YesNoCancel);
  EXPECT_EQ(dialogs.calls()[1].kind, "open");
  EXPECT_EQ(dialogs.calls()[1].title, "Open Input File");
  EXPECT_EQ(dialogs.calls()[1].request.filterIndex, 2);
  EXPECT_EQ(dialogs.calls()[1].request.filter,
            "All Files (*.*)|*.*|Input Files (*.?\?)|*.?;*.??|Example Input Files "
            "(Ex*.?\?)|Ex*.?;Ex*.??");
}

TEST_F(FileCommands, SaveAsWritesTheFormAndOpenReadsItBack) {
  chooseData(writeData("My.Rda", 10));
  chooseMethod("Akaike");
  box("nPoints")->setText("200");
  box("NIT")->setText("50");
  box("Note2")->setText("akaike run");
  dialogs.clear();
  dialogs.file(user("ak.7"));
  EXPECT_TRUE(form->FileSaveAs());
  ASSERT_EQ(dialogs.calls().size(), 1u);
  const auto save = dialogs.calls()[0];
  EXPECT_EQ(save.title, "Save Input File As ... (No spaces in name!)");
  EXPECT_EQ(save.request.filter, "All Files (*.*)|*.*|Text Files (*.txt)|*.txt");
  EXPECT_EQ(save.request.filterIndex, 1);
  EXPECT_EQ(save.request.fileName, kAnsNameHint);
  EXPECT_EQ(form->windowTitle(), "Tessivar, for Spectral Estimators ... ak.7");
  EXPECT_FALSE(form->state().DataChanged);

  const QList<QByteArray> lines = fileLines(user("ak.7"));
  ASSERT_EQ(lines.size(), 21);
  EXPECT_TRUE(lines[0].startsWith("ak.7  \t\t! 18; "));
  EXPECT_EQ(lines[1],
            user("My.Rda").toLatin1() +
                QByteArray("  \t\t! 1. \xBB  File name containing data points for analysi"));
  EXPECT_TRUE(lines[4].startsWith("Real  \t\t! 4. \xBB  Data type:"));
  EXPECT_TRUE(lines[5].startsWith("-999  \t\t! 5. "));
  EXPECT_TRUE(lines[6].startsWith("Akaike  \t\t! 6. "));
  EXPECT_TRUE(lines[8].startsWith("256  \t\t! 8. "));
  EXPECT_TRUE(lines[16].startsWith("50  \t\t! 16. "));
  EXPECT_TRUE(lines[14].startsWith("-999  \t\t! 14. "));
  EXPECT_EQ(lines[20], "akaike run  \t\t!     \xBB Note2");

  // Open it into a new form: everything comes back, the data file from the working folder.
  dialogs.answer(Answer::Ok);
  form->FileNew();
  dialogs.clear();
  dialogs.answer(Answer::No);  // "No File Name!"
  dialogs.file(user("AK.7"));  // names match without regard to case
  form->FileOld();
  EXPECT_EQ(form->state().AnsName, "AK.7");
  EXPECT_EQ(w<QComboBox>("Methods")->currentText(), "Akaike");
  EXPECT_EQ(box("nPoints")->text(), "256");
  EXPECT_EQ(box("NIT")->text(), "50");
  EXPECT_EQ(box("Lpts")->text(), "");
  EXPECT_EQ(box("timeData")->text(), "My.Rda");
  EXPECT_EQ(box("Note2")->text(), "akaike run");
  EXPECT_FALSE(form->state().DataChanged);
  EXPECT_EQ(QSettings("Harnwell Labs", "Tessivar").value("LastFilePath").toString(),
            form->userDir());

  // Save again offers the stem, and asks before replacing.
  box("nSkip")->setText("4");
  dialogs.clear();
  dialogs.file(user("ak.7"));
  dialogs.answer(Answer::No);
  EXPECT_FALSE(form->FileSaveAs());
  ASSERT_EQ(dialogs.calls().size(), 2u);
  EXPECT_EQ(dialogs.calls()[0].request.fileName, "AK.*");
  EXPECT_EQ(dialogs.calls()[1].title, "Replace " + user("ak.7") + " file?");
  EXPECT_EQ(dialogs.calls()[1].text, "File exists, want to replace it?");
  EXPECT_EQ(dialogs.calls()[1].buttons, Buttons::YesNo);
  EXPECT_TRUE(fileLines(user("ak.7"))[3].startsWith("0  "));
  EXPECT_TRUE(form->state().DataChanged);

  // Save finds the opened file and rewrites it in place.
  dialogs.clear();
  form->FileSave();
  EXPECT_TRUE(dialogs.calls().empty());
  EXPECT_TRUE(fileLines(user("ak.7"))[2].startsWith("4  "));
  EXPECT_FALSE(form->state().DataChanged);
}

TEST_F(FileCommands, ExampleFilesAreReadOnly) {
  saveRunForm();
  const QString example = user("Ex-Perio.0");
  ASSERT_TRUE(QFile::copy(user("run.1"), example));
  QFile::setPermissions(example, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
  const QByteArray original = readBytes(example);

  dialogs.file(example);
  form->FileOld();
  ASSERT_EQ(form->state().AnsName, "Ex-Perio.0");
  box("nSkip")->setText("9");
  dialogs.clear();
  form->FileSave();
  ASSERT_EQ(dialogs.messages().size(), 1u);
  const auto error = dialogs.messages()[0];
  EXPECT_EQ(error.title, "File not saved; Error in 'WriteAnsFile' routine.");
  EXPECT_EQ(error.icon, Icon::Critical);
  EXPECT_EQ(error.text,
            "File Path\\FileName error occured: \r\n    Path = " + form->userDir() +
                "\r\n    FileName = Ex-Perio.0\r\n\r\nIf these are okay then the error may be do "
                "to following:\r\n  Ex*.?? files in Pellmor's User directory are for "
                "'read-only'.\r\n  Do not save changes in these Example files.  Save changes "
                "under other names.");
  EXPECT_EQ(readBytes(example), original);
  EXPECT_TRUE(form->state().DataChanged);

  // Save As onto it fails the same way and the form keeps its file and its unsaved state.
  dialogs.clear();
  dialogs.file(user("ex-perio.0"));
  dialogs.answer(Answer::Yes);
  EXPECT_FALSE(form->FileSaveAs());
  EXPECT_EQ(titles(), (QStringList{"Replace " + user("Ex-Perio.0") + " file?",
                                   "File not saved; Error in 'WriteAnsFile' routine."}));
  EXPECT_EQ(readBytes(example), original);
  EXPECT_TRUE(form->state().DataChanged);
  EXPECT_FALSE(form->state().WriteError);
}

TEST_F(FileCommands, SaveChangesQueryAnswers) {
  saveRunForm();
  EXPECT_FALSE(form->SaveChangesQuery());  // unedited: nothing asked
  EXPECT_TRUE(dialogs.calls().empty());

  box("Note1")->setText("edited");
  for (Answer a : {Answer::No, Answer::Cancel}) {
    dialogs.clear();
    dialogs.answer(a);
    EXPECT_TRUE(form->SaveChangesQuery());
    ASSERT_EQ(dialogs.calls().size(), 1u);
    EXPECT_EQ(dialogs.calls()[0].title, "Data in form has changed!");
  }
  dialogs.clear();
  dialogs.answer(Answer::Yes);
  dialogs.file("");  // the Save As dialog is cancelled
  EXPECT_FALSE(form->SaveChangesQuery());
  EXPECT_EQ(dialogs.calls().back().kind, "save");
  EXPECT_TRUE(form->state().DataChanged);
}

TEST_F(FileCommands, AFormWithoutMethodWritesNoMethodQuestions) {
  chooseMethod("Akaike");
  chooseMethod("-Select-");
  dialogs.file(user("none.1"));
  ASSERT_TRUE(form->FileSaveAs());
  const QList<QByteArray> lines = fileLines(user("none.1"));
  ASSERT_EQ(lines.size(), 21);
  EXPECT_TRUE(lines[6].startsWith("-Select-  "));
  for (int q = 9; q <= kQuestionCount; ++q) EXPECT_TRUE(lines[q].startsWith("-999  ")) << q;
}

TEST_F(FileCommands, DeleteAsksFirstAndLeavesTheFormAlone) {
  saveRunForm();
  writeBytes(user("old.2"), "x");
  dialogs.file(user("old.2"));
  dialogs.answer(Answer::No);
  form->FileDelete();
  ASSERT_EQ(dialogs.calls().size(), 2u);
  EXPECT_EQ(dialogs.calls()[0].title, "Select File to be Deleted");
  EXPECT_EQ(dialogs.calls()[0].request.fileName, "*.*");
  EXPECT_EQ(dialogs.calls()[1].title, "Confirm Delete?");
  EXPECT_EQ(dialogs.calls()[1].text, "Delete '" + user("old.2") + "' File.");
  EXPECT_TRUE(QFile::exists(user("old.2")));

  dialogs.file(user("old.2"));
  dialogs.answer(Answer::Yes);
  form->FileDelete();
  EXPECT_FALSE(QFile::exists(user("old.2")));
  EXPECT_EQ(form->state().AnsName, "run.1");

  dialogs.clear();
  dialogs.file(user("none.3"));  // nothing there: no question
  form->FileDelete();
  EXPECT_EQ(dialogs.calls().size(), 1u);
}

TEST_F(FileCommands, OpeningAFileWithUnusableNPointsWarnsOnce) {
  saveRunForm();
  QByteArray text = readBytes(user("run.1"));
  text.replace("\r\n64  \t\t! 8.", "\r\n99999  \t\t! 8.");
  writeBytes(user("big.1"), text);
  dialogs.file(user("big.1"));
  form->FileOld();
  ASSERT_EQ(dialogs.messages().size(), 1u);
  EXPECT_TRUE(dialogs.messages()[0].text.contains("Question 8"));
  EXPECT_EQ(box("nPoints")->text(), "99999");
  EXPECT_EQ(form->state().AnsName, "big.1");
}

TEST_F(FileCommands, OpeningAMissingFileSaysSoAndKeepsTheForm) {
  saveRunForm();
  dialogs.file(base.filePath("gone/x.1"));
  form->FileOld();
  ASSERT_EQ(dialogs.messages().size(), 1u);
  EXPECT_EQ(dialogs.messages()[0].text,
            "This drive or path does not exist: " + base.filePath("gone/x.1"));
  EXPECT_EQ(form->state().AnsName, "run.1");
}

TEST_F(FileCommands, ExitClearsFileInWithoutAsking) {
  QSettings("Harnwell Labs", QString()).setValue("fileIn", "c:\\old.1");
  box("Note1")->setText("unsaved");
  form->mnuFileExit_Click();
  EXPECT_TRUE(dialogs.calls().empty());
  QSettings organisation("Harnwell Labs", QString());
  organisation.sync();
  EXPECT_EQ(organisation.value("fileIn").toString(), "");
  EXPECT_TRUE(organisation.contains("fileIn"));
}

// Characters beyond single-byte text, typed into any answer that goes into the file: named
// before anything is written; Cancel goes back to the answer with the file untouched, OK
// saves them as "?".
TEST_F(FileCommands, CharactersTheAnswerFileCannotHoldAreNamedBeforeSaving) {
  saveRunForm();
  const QString typed = QString::fromUtf8("Omega \u03A9 \u00B5 \u00E9 \u4E2D\u6587");
  const struct {
    const char* control;
    const char* field;
    int line;  // 0-based line of the file
  } cases[] = {{"Note1", "Note 1", 19}, {"Note2", "Note 2", 20}, {"windowName", "Question 18", 18}};
  form->show();
  QApplication::setActiveWindow(form.get());
  for (const auto& c : cases) {
    SCOPED_TRACE(c.control);
    const QByteArray saved = readBytes(user("run.1"));
    box(c.control)->setText(typed);
    box("nSkip")->setFocus();
    dialogs.clear();
    dialogs.answer(Answer::Cancel);
    form->FileSave();
    ASSERT_EQ(dialogs.messages().size(), 1u);
    const auto warning = dialogs.messages()[0];
    EXPECT_EQ(warning.title, "Characters that cannot be saved");
    EXPECT_EQ(warning.icon, Icon::Warning);
    EXPECT_EQ(warning.buttons, Buttons::OkCancel);
    EXPECT_TRUE(
        warning.text.contains(QString(c.field) + QString::fromUtf8(": \u03A9 \u4E2D \u6587")))
        << warning.text.toStdString();
    EXPECT_EQ(readBytes(user("run.1")), saved);
    EXPECT_TRUE(form->state().DataChanged);
    EXPECT_EQ(QApplication::focusWidget(), box(c.control));

    dialogs.clear();
    dialogs.answer(Answer::Ok);
    form->FileSave();
    EXPECT_EQ(dialogs.messages().size(), 1u);
    EXPECT_TRUE(fileLines(user("run.1"))[c.line].startsWith("Omega ? \xB5 \xE9 ??  \t\t! "));
    EXPECT_FALSE(form->state().DataChanged);
    box(c.control)->setText("plain");
    form->FileSave();
  }
}

// The Replace box names the file as it is spelled: another case is another file.
TEST_F(FileCommands, ReplaceBoxesShowThePathAsItIs) {
  saveRunForm();
  ASSERT_TRUE(QDir(base.path()).mkpath("Mixed Case"));
  const QString answerFile = base.filePath("Mixed Case/Run.One");
  const QString bitmap = base.filePath("Mixed Case/Plot.BMP");
  writeBytes(answerFile, readBytes(user("run.1")));
  writeBytes(bitmap, "old");
  const struct {
    const char* command;
    QString path;
    std::function<void()> run;
  } cases[] = {
      {"answer file Save As", answerFile, [&] { form->FileSaveAs(); }},
      {"plot Save As", bitmap,
       [&] {
         PlotOutput output(dialogs);
         QString dir = base.path();
         output.cmdFileSaveAs_Click(QImage(8, 8, QImage::Format_RGB32), "run.1", dir, dir);
       }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.command);
    dialogs.clear();
    dialogs.file(c.path);
    dialogs.answer(Answer::No);
    c.run();
    ASSERT_EQ(dialogs.messages().size(), 1u);
    EXPECT_EQ(dialogs.messages()[0].title, "Replace " + c.path + " file?");
  }
}

// Every tab's controls, with the buttons below the tabs and the menu bar that show with each
// of them, have access keys of their own: a shared key only moves the focus between controls.
TEST_F(FormStart, AccessKeysAreUniqueOnEveryTab) {
  QTabWidget* tabs = w<QTabWidget>("Plot_Tabs");
  // What shows with every tab: the menu bar's menus and the buttons below the tabs.
  QList<QPair<QString, QString>> always;
  for (QAction* menu : form->menuBar()->actions()) always.append({menu->text(), menu->text()});
  for (QAbstractButton* b : form->centralWidget()->findChildren<QAbstractButton*>()) {
    if (!tabs->isAncestorOf(b)) always.append({b->objectName(), b->text()});
  }
  ASSERT_GE(always.size(), 8);
  for (int t = 0; t < tabs->count(); ++t) {
    SCOPED_TRACE(tabs->tabText(t).toStdString());
    QList<QPair<QString, QString>> controls = always;
    for (QAbstractButton* b : tabs->widget(t)->findChildren<QAbstractButton*>())
      controls.append({b->objectName(), b->text()});
    for (QGroupBox* g : tabs->widget(t)->findChildren<QGroupBox*>())
      controls.append({g->objectName(), g->title()});
    for (QLabel* l : tabs->widget(t)->findChildren<QLabel*>()) {
      if (l->buddy()) controls.append({l->objectName(), l->text()});
    }
    QMap<int, QStringList> byKey;
    for (const auto& [name, text] : controls) {
      const QKeySequence key = QKeySequence::mnemonic(text);
      if (!key.isEmpty()) byKey[key[0].toCombined()] << name;
    }
    for (auto it = byKey.cbegin(); it != byKey.cend(); ++it)
      EXPECT_EQ(it.value().size(), 1) << QKeySequence(it.key()).toString().toStdString() << ": "
                                      << it.value().join(", ").toStdString();
  }
}

// The browse button of question 1 shows inside the right end of its box: the box stays in line
// with every other question's box.
TEST_F(FormLayout, BrowseButtonKeepsTheDataFileBoxInLine) {
  form->show();
  QApplication::setActiveWindow(form.get());
  QApplication::processEvents();
  QLineEdit* data = box("timeData");
  QLineEdit* skip = box("nSkip");
  auto left = [&](QWidget* wgt) { return wgt->mapTo(form.get(), QPoint(0, 0)).x(); };
  for (bool shown : {false, true}) {
    SCOPED_TRACE(shown ? "button shown" : "button hidden");
    if (shown) {
      data->setFocus();
      QApplication::processEvents();
      ASSERT_TRUE(w<QPushButton>("cmdFileData")->isVisible());
    }
    EXPECT_EQ(left(data), left(skip));
    EXPECT_EQ(data->width(), skip->width());
  }
  QPushButton* browse = w<QPushButton>("cmdFileData");
  ASSERT_TRUE(data->isAncestorOf(browse)) << "the button stands in the box";
  const QRect inBox(browse->mapTo(data, QPoint(0, 0)), browse->size());
  EXPECT_TRUE(data->rect().contains(inBox));
  EXPECT_GT(inBox.left(), data->width() / 2) << "at the box's right end";
}
