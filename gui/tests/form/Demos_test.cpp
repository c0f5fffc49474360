// The Demos tab and demo mode, View > Example File and the Help and Web Links menus, over a
// base folder holding the installed examples and the real engine.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>
#include <QPlainTextEdit>
#include <QScrollArea>
#include <QTabWidget>

#include "DemoCatalog.h"
#include "FormFixture.h"

using namespace tessivar;
using namespace tessivar::testing;

namespace {

using Icon = Dialogs::Icon;

const QString kProgramDir = QFileInfo(QStringLiteral(TESSIVAR_PROGRAM)).absolutePath();

class Demos : public FormFixture {
 protected:
  void SetUp() override {
    FormFixture::SetUp();
    form.reset();
    // The examples as installed: read-only answer files and their data.
    QDir().mkpath(base.filePath("user"));
    const QDir examples(QStringLiteral(TESSIVAR_EXAMPLES_DIR));
    for (const QString& name : examples.entryList(QDir::Files)) {
      if (name.startsWith('~') || name.endsWith(".out", Qt::CaseInsensitive)) continue;
      const QString copy = base.filePath("user/" + name);
      ASSERT_TRUE(QFile::copy(examples.filePath(name), copy)) << qPrintable(name);
      if (name.startsWith("Ex-")) QFile::setPermissions(copy, QFile::ReadOwner | QFile::ReadUser);
    }
    form = std::make_unique<frmMain>(dialogs, base.path());
    form->engine().setPath(QStringLiteral(VOXTREL_SHARED_LIBRARY));
    form->setProgramDir(kProgramDir);
    dialogs.clear();
  }

  QTabWidget* tabs() { return w<QTabWidget>("Plot_Tabs"); }
  QAction* menu(const char* name) { return w<QMenu>(name)->menuAction(); }
  QPushButton* button(const char* name) { return w<QPushButton>(name); }
  QRadioButton* exam(int i) {
    return w<QRadioButton>(qPrintable(QStringLiteral("Exam_%1").arg(i)));
  }

  // Demo mode as the menus, the intro and the buttons leave it.
  void expectDemoMode(bool on) {
    EXPECT_EQ(menu("mnuFile")->isEnabled(), !on);
    EXPECT_EQ(menu("mnuDemos")->isEnabled(), !on);
    EXPECT_EQ(tabs()->isTabEnabled(kTabParameters), !on);
    EXPECT_EQ(tabs()->isTabEnabled(kTabDemos), on);
    EXPECT_EQ(tabs()->currentIndex(), on ? kTabDemos : kTabParameters);
    EXPECT_TRUE(button("cmdCancelDemo")->isEnabled() || !on);
    EXPECT_TRUE(button("cmdSubmit")->isEnabled());
  }
};

}  // namespace

TEST_F(Demos, TabListsTheExamplesWithNoneChosen) {
  for (int i = 1; i <= 18; ++i) {
    const DemoEntry& e = demoCatalog()[i - 1];
    EXPECT_EQ(exam(i)->text(), e.file);
    EXPECT_FALSE(exam(i)->isChecked()) << i;
    const QString description =
        w<QLabel>(qPrintable(QStringLiteral("Description_%1").arg(i)))->text();
    EXPECT_TRUE(description.startsWith(e.description)) << i;
    EXPECT_TRUE(description.endsWith(e.marker)) << i;
    EXPECT_EQ(w<QLabel>(qPrintable(QStringLiteral("ExTime_%1").arg(i)))->text(), e.runTime);
  }
  EXPECT_EQ(w<QLabel>("Description_6")->text(),
            demoCatalog()[5].description + "     <--- AR (AutoRegressive) methods");
  const std::pair<const char*, QString> labels[] = {
      {"lblFileName", "File Name"},
      {"lblRunTime", "Run Time (Seconds)"},
      {"lblDescriptions", "Tessivar problem with ..."},
      {"zeroPadding", "Zero padding"},
      {"fft_info", "(basically a FFT)"},
      {"lblCompareResults", "Compare Results ... which is best?"},
      {"lblSentence1", demoTexts::sentence1},
  };
  for (const auto& [name, text] : labels) EXPECT_EQ(w<QLabel>(name)->text(), text) << name;
  EXPECT_EQ(button("cmdRunDemo")->text(), "Ca&lculate");  // Alt+C: the Calculate below
  EXPECT_EQ(button("cmdCancelDemo")->text(), "Parameter Selection");
  EXPECT_TRUE(form->state().SelectedDemo.isEmpty());
  EXPECT_FALSE(tabs()->isTabEnabled(kTabDemos));

  // Each row reads file name, run time, description; the closing remark ends the descriptions.
  form->mnuDemosRunGo();
  form->show();
  QApplication::processEvents();
  EXPECT_LT(exam(1)->x(), w<QLabel>("ExTime_1")->x());
  EXPECT_LT(w<QLabel>("ExTime_1")->x(), w<QLabel>("Description_1")->x());
  EXPECT_EQ(w<QLabel>("lblCompareResults")->x(), w<QLabel>("Description_18")->x());
  EXPECT_GT(w<QLabel>("lblCompareResults")->y(), w<QLabel>("Description_18")->y());
}

// Demos > Run Demo chooses the key example; Calculate runs it through the engine and plots.
// Plotting ends on the Parameter Selection tab with its controls usable again.
TEST_F(Demos, RunDemoThenCalculateRunsTheKeyExampleAndPlots) {
  const QByteArray example = readBytes(user("Ex-Auto.0"));
  w<QAction>("mnuDemosRun")->trigger();
  expectDemoMode(true);
  EXPECT_EQ(form->state().SelectedDemo, "Ex-Auto.0");
  EXPECT_TRUE(exam(6)->isChecked());
  ASSERT_TRUE(button("cmdRunDemo")->isEnabled());

  button("cmdRunDemo")->click();
  EXPECT_TRUE(dialogs.messages().empty()) << dialogs.messages()[0].text.toStdString();
  EXPECT_EQ(form->results().RunMethod, "Auto-Correlation");
  EXPECT_GT(form->results().npointsZ, 0);
  EXPECT_EQ(tabs()->currentIndex(), kTabPlot);
  EXPECT_TRUE(form->outBox()->toPlainText().contains(" Peak Frequencies: "));
  EXPECT_EQ(form->state().AnsName, "Ex-Auto.0");
  EXPECT_EQ(form->windowTitle(), "Tessivar, for Spectral Estimators ... Ex-Auto.0");
  EXPECT_TRUE(QFileInfo::exists(user("ex-auto_0.out")));
  // The run buttons stay off while plotting; the example itself was not rewritten.
  EXPECT_FALSE(button("cmdRunDemo")->isEnabled());
  EXPECT_FALSE(button("cmdCancelDemo")->isEnabled());
  EXPECT_FALSE(button("cmdSubmit")->isEnabled());
  EXPECT_EQ(readBytes(user("Ex-Auto.0")), example);

  // A look at the Setup tab: its controls are usable while plotting. Then Exit Plotting.
  tabs()->setCurrentIndex(kTabSetup);
  for (int k = 0; k < 6; ++k)
    EXPECT_TRUE(button(qPrintable(QStringLiteral("cmdColor_%1").arg(k)))->isEnabled()) << k;
  EXPECT_TRUE(button("cmdExitPlotting")->isEnabled());
  form->cmdExitPlotting_Click();
  EXPECT_EQ(tabs()->currentIndex(), kTabParameters);
  for (QObject* child : tabs()->widget(kTabParameters)->children()) {
    if (auto* widget = qobject_cast<QWidget*>(child)) {
      EXPECT_TRUE(widget->isEnabled()) << widget->metaObject()->className();
    }
  }
  EXPECT_TRUE(menu("mnuFile")->isEnabled());
  EXPECT_TRUE(button("cmdSubmit")->isEnabled());
  EXPECT_EQ(w<QComboBox>("Methods")->currentText(), "Auto-Correlation");
}

// From the intro no example is chosen: Calculate waits for one. The 8k zero-padding example
// keeps its run log as ex-0-pad_8k.out in the user folder.
TEST_F(Demos, CalculateWaitsForAChoiceThenRunsIt) {
  form->mnuDemosRunGo();
  expectDemoMode(true);
  EXPECT_FALSE(button("cmdRunDemo")->isEnabled());
  tabs()->setCurrentIndex(kTabOutput);
  tabs()->setCurrentIndex(kTabDemos);
  EXPECT_FALSE(button("cmdRunDemo")->isEnabled()) << "the tab change leaves it off";

  exam(5)->click();
  EXPECT_EQ(form->state().SelectedDemo, "Ex-0-pad.8k");
  ASSERT_TRUE(button("cmdRunDemo")->isEnabled());
  button("cmdRunDemo")->click();
  EXPECT_TRUE(dialogs.messages().empty());
  EXPECT_EQ(form->results().RunMethod, "Periodogram");
  EXPECT_TRUE(QFileInfo::exists(user("ex-0-pad_8k.out")));
  EXPECT_EQ(tabs()->currentIndex(), kTabPlot);
}

TEST_F(Demos, LeavingDemoModeRestoresMenusAndTheParameterTab) {
  form->mnuDemosRun_Click();
  exam(11)->click();
  button("cmdCancelDemo")->click();
  expectDemoMode(false);
  EXPECT_TRUE(button("cmdSubmit")->isEnabled());
  EXPECT_EQ(form->state().SelectedDemo, "Ex-Lock.0") << "the choice is kept for next time";

  form->mnuDemosRunGo();
  EXPECT_TRUE(button("cmdRunDemo")->isEnabled());
}

// A demo that ends without a plot leaves the tab usable: another choice, or leaving.
TEST_F(Demos, FailedDemoLeavesTheDemosTabUsable) {
  form->engine().setPath(base.filePath("no-such-engine"));
  form->mnuDemosRun_Click();
  dialogs.answer(Dialogs::Answer::Ok);
  button("cmdRunDemo")->click();
  ASSERT_EQ(dialogs.messages().size(), 1u);
  EXPECT_EQ(dialogs.messages()[0].title, "In 'CalcSpectrum' routine ...");
  EXPECT_TRUE(button("cmdRunDemo")->isEnabled());
  EXPECT_TRUE(button("cmdCancelDemo")->isEnabled());
  EXPECT_EQ(tabs()->currentIndex(), kTabDemos);
}

TEST_F(Demos, ExampleFileOpensInTheViewerFromTheUserFolder) {
  const QString before = form->dialogDir();
  dialogs.file(user("Ex-Burg.0"));
  w<QAction>("mnuViewDemos")->trigger();
  ASSERT_EQ(dialogs.calls().size(), 2u);
  const auto open = dialogs.calls()[0];
  EXPECT_EQ(open.kind, "open");
  EXPECT_EQ(open.request.title, "Open an Example File for illustration");
  EXPECT_EQ(open.request.filter, "All Files (*.*)|*.*|Example Response Files (Ex*.*)|Ex*.*");
  EXPECT_EQ(open.request.filterIndex, 2);
  EXPECT_EQ(open.request.initialDir, form->userDir());
  EXPECT_EQ(dialogs.calls()[1].kind, "document");
  EXPECT_EQ(dialogs.calls()[1].text, user("Ex-Burg.0"));
  EXPECT_EQ(form->dialogDir(), before);

  dialogs.clear();
  form->mnuViewDemos_Click();  // cancelled: nothing more
  EXPECT_EQ(dialogs.calls().size(), 1u);
}

TEST_F(Demos, HelpAndWebLinksUseTheInstallationsAddresses) {
  // The manual: the base folder's, else the installed one beside the program.
  w<QAction>("mnuHelpManual")->trigger();
  ASSERT_EQ(dialogs.calls().size(), 1u);
  EXPECT_EQ(dialogs.calls()[0].kind, "document");
  EXPECT_EQ(QFileInfo(dialogs.calls()[0].text), QFileInfo(kProgramDir + "/manual.html"));
  dialogs.clear();
  writeBytes(base.filePath("manual.html"), "<html></html>");
  w<QAction>("mnuHelpManual")->trigger();
  ASSERT_EQ(dialogs.calls().size(), 1u);
  EXPECT_EQ(dialogs.calls()[0].kind, "document");
  EXPECT_EQ(dialogs.calls()[0].text, QDir::toNativeSeparators(base.filePath("manual.html")));
  QFile::remove(base.filePath("manual.html"));
  form->setProgramDir(base.path());
  dialogs.clear();
  w<QAction>("mnuHelpManual")->trigger();
  ASSERT_EQ(dialogs.calls().size(), 1u);
  EXPECT_EQ(dialogs.calls()[0].kind, "message") << "no manual in either folder";
  EXPECT_TRUE(dialogs.calls()[0].text.contains(base.filePath("manual.html")));
  form->setProgramDir(kProgramDir);

  dialogs.clear();
  w<QAction>("mnuHelpEmail")->trigger();
  ASSERT_EQ(dialogs.calls().size(), 2u);
  EXPECT_EQ(dialogs.calls()[0].kind, "url");
  EXPECT_TRUE(dialogs.calls()[0].text.startsWith("mailto:"));
  const auto box = dialogs.calls()[1];
  EXPECT_EQ(box.title, "If default e-Mail program was Not found.");
  EXPECT_EQ(box.icon, Icon::Warning);
  EXPECT_TRUE(box.text.contains(QGuiApplication::clipboard()->text()));
  EXPECT_FALSE(QGuiApplication::clipboard()->text().isEmpty());

  dialogs.clear();
  w<QAction>("mnuWebLink")->trigger();
  ASSERT_EQ(dialogs.calls().size(), 1u);
  EXPECT_EQ(dialogs.calls()[0].kind, "url");
  EXPECT_TRUE(dialogs.calls()[0].text.startsWith("http"));

  // An installation without addresses says where to set them.
  form->setProgramDir(base.path());
  dialogs.clear();
  w<QAction>("mnuHelpEmail")->trigger();
  w<QAction>("mnuWebLink")->trigger();
  ASSERT_EQ(dialogs.messages().size(), 2u);
  for (const auto& m : dialogs.messages()) EXPECT_TRUE(m.text.contains("install.ini"));
}

// Help > About names the version the project is built as, then this installation's addresses.
TEST_F(Demos, AboutBoxShowsTheProjectsVersion) {
  w<QAction>("mnuHelpAbout")->trigger();
  ASSERT_EQ(dialogs.messages().size(), 1u);
  const auto box = dialogs.messages()[0];
  EXPECT_EQ(box.title, "About Tessivar");
  EXPECT_EQ(box.icon, Icon::None);
  const QStringList lines = box.text.split("\r\n");
  ASSERT_GE(lines.size(), 5);
  EXPECT_EQ(lines[0], "Tessivar (tm) for Spectral Estimators");
  EXPECT_EQ(lines[1], "Version " TESSIVAR_PROJECT_VERSION);
  EXPECT_TRUE(lines[3].startsWith("http")) << lines[3].toStdString();
  EXPECT_TRUE(lines[4].startsWith("Support: ") && lines[4].contains('@')) << lines[4].toStdString();

  // Without install.ini the box still names the version, and no empty address lines.
  form->setProgramDir(base.path());
  dialogs.clear();
  w<QAction>("mnuHelpAbout")->trigger();
  ASSERT_EQ(dialogs.messages().size(), 1u);
  EXPECT_EQ(dialogs.messages()[0].text,
            "Tessivar (tm) for Spectral Estimators\r\nVersion " TESSIVAR_PROJECT_VERSION
            "\r\nHarnwell Labs");
}

// A held curve in the window: the Plot tab's bar shows with the tab, the held periodogram
// stays through Exit Plotting and is named by the answers it came from beside the next run.
TEST_F(Demos, HeldCurveStaysForTheNextDemo) {
  auto runExample = [&](const QString& name) {
    for (int i = 1; i <= 18; ++i)
      if (exam(i)->text() == name) exam(i)->click();
    ASSERT_EQ(form->state().SelectedDemo, name);
    button("cmdRunDemo")->click();
    ASSERT_EQ(tabs()->currentIndex(), kTabPlot);
  };
  form->show();
  form->mnuDemosRunGo();
  QWidget* bar = w<QWidget>("fraPlotTools");
  EXPECT_FALSE(bar->isVisible());
  runExample("Ex-Perio.0");
  EXPECT_TRUE(bar->isVisible());
  button("cmdHoldCurve")->click();
  form->cmdExitPlotting_Click();
  EXPECT_FALSE(bar->isVisible());
  form->mnuDemosRunGo();
  runExample("Ex-Burg.0");
  const HeldCurves& held = form->plots().heldCurves();
  ASSERT_EQ(held.size(), 1);
  EXPECT_EQ(held[0].label, "Periodogram, Weak.cda");
  EXPECT_EQ(form->plots().plotter().currentCurve().label, "Burg, p=8, TwoTone.cda");
}
