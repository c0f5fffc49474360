// The Demos tab of frmMain: the eighteen examples with their descriptions and run times, demo
// mode (entered from the Demos menu or the intro, left with "Parameter Selection"), the demo run
// and View > Example File.
#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QTabWidget>
#include <QVBoxLayout>

#include "DemoCatalog.h"
#include "FolderNames.h"
#include "frmMain.h"
#include "mdlCommonFiles.h"

namespace tessivar {

namespace {

QLabel* makeLabel(const QString& name, const QString& text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(name);
  return label;
}

// The description as listed: the group marker follows it after a few blanks.
QString listedDescription(const DemoEntry& e) {
  return e.marker.isEmpty() ? e.description : e.description + QStringLiteral("     ") + e.marker;
}

}  // namespace

QWidget* frmMain::buildDemosPage() {
  // The instruction above, the buttons below, and between them the list in a scroll area: the
  // descriptions are long, and in a small window the user scrolls to them rather than finding
  // them cut off.
  auto* tab = new QWidget;
  tab->setObjectName(QStringLiteral("tabDemos"));
  auto* tabLayout = new QVBoxLayout(tab);
  QLabel* sentence = makeLabel(QStringLiteral("lblSentence1"), demoTexts::sentence1, tab);
  sentence->setWordWrap(true);
  tabLayout->addWidget(sentence);
  auto* scroll = new QScrollArea(tab);
  scroll->setObjectName(QStringLiteral("demosList"));
  scroll->setWidgetResizable(true);
  scroll->setFrameShape(QFrame::NoFrame);
  tabLayout->addWidget(scroll, 1);
  auto* page = new QWidget;
  auto* grid = new QGridLayout(page);
  grid->setVerticalSpacing(2);

  grid->addWidget(makeLabel(QStringLiteral("lblFileName"), demoTexts::fileNameHeader, page), 1, 0);
  grid->addWidget(makeLabel(QStringLiteral("lblDescriptions"), demoTexts::descriptionsHeader, page),
                  1, 2);
  // The header may take two lines, so that the narrow column of times stays narrow.
  QLabel* runTime = makeLabel(QStringLiteral("lblRunTime"), demoTexts::runTimeHeader, page);
  runTime->setWordWrap(true);
  runTime->setAlignment(Qt::AlignCenter);
  grid->addWidget(runTime, 1, 1);
  grid->addWidget(makeLabel(QStringLiteral("zeroPadding"), demoTexts::zeroPadding, page), 2, 0);
  grid->addWidget(makeLabel(QStringLiteral("fft_info"), demoTexts::fftInfo, page), 2, 2);

  // None is chosen at start: Calculate waits for a choice.
  for (int i = 1; i <= 18; ++i) {
    const DemoEntry& e = demoCatalog()[i - 1];
    Exam[i] = new QRadioButton(e.file, page);
    Exam[i]->setObjectName(QStringLiteral("Exam_%1").arg(i));
    connect(Exam[i], &QRadioButton::clicked, this, [this, i] { Exam_Click(i); });
    Description[i] = makeLabel(QStringLiteral("Description_%1").arg(i), listedDescription(e), page);
    ExTime[i] = makeLabel(QStringLiteral("ExTime_%1").arg(i), e.runTime, page);
    ExTime[i]->setAlignment(Qt::AlignCenter);
    grid->addWidget(Exam[i], 2 + i, 0);
    // The run time stands next to the file name, where it is seen without scrolling.
    grid->addWidget(ExTime[i], 2 + i, 1);
    grid->addWidget(Description[i], 2 + i, 2);
  }
  grid->addWidget(makeLabel(QStringLiteral("lblCompareResults"), demoTexts::compareResults, page),
                  21, 2);

  cmdRunDemo = new QPushButton(demoTexts::runDemo, tab);
  cmdRunDemo->setObjectName(QStringLiteral("cmdRunDemo"));
  cmdCancelDemo = new QPushButton(demoTexts::cancelDemo, tab);
  cmdCancelDemo->setObjectName(QStringLiteral("cmdCancelDemo"));
  connect(cmdRunDemo, &QPushButton::clicked, this, &frmMain::cmdRunDemo_Click);
  connect(cmdCancelDemo, &QPushButton::clicked, this, &frmMain::cmdCancelDemo_Click);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(cmdRunDemo);
  buttons->addStretch();
  buttons->addWidget(cmdCancelDemo);
  tabLayout->addLayout(buttons);
  grid->setRowStretch(22, 1);
  grid->setColumnStretch(2, 1);
  grid->setHorizontalSpacing(14);
  scroll->setWidget(page);
  updateRunDemo();
  return tab;
}

// Calculate on the Demos tab runs the chosen example; without one there is nothing to run, so
// it stays off whatever else switches the run buttons on.
void frmMain::updateRunDemo() {
  if (!cmdRunDemo || !cmdCancelDemo) return;
  const bool runButtonsOn = cmdCancelDemo->isEnabledTo(cmdCancelDemo->parentWidget());
  cmdRunDemo->setEnabled(runButtonsOn && !s_.SelectedDemo.isEmpty());
}

void frmMain::setDemoButtons(bool enabled) {
  cmdSubmit->setEnabled(enabled);
  cmdCancelDemo->setEnabled(enabled);
  cmdRunDemo->setEnabled(enabled);
  updateRunDemo();
}

void frmMain::mnuDemosRun_Click() {
  Exam[6]->setChecked(true);
  s_.SelectedDemo = Exam[6]->text();
  mnuDemosRunGo();
}

void frmMain::mnuDemosRunGo() {
  SaveChangesQuery();  // whatever the answer, the Demos tab follows
  applyPlottingSwitches(switchesEnteringDemos());
}

void frmMain::Exam_Click(int index) {
  s_.SelectedDemo = Exam[index]->text();
  updateRunDemo();
}

void frmMain::cmdRunDemo_Click() {
  if (s_.SelectedDemo.isEmpty()) return;
  setDemoButtons(false);
  const QString user = findFolder(baseDir_ + QStringLiteral("/User"));
  s_.AnsDir = user.isEmpty() ? userDir_ : user;
  s_.AnsName = s_.SelectedDemo;
  ShowFilename();
  s_.RunMode = QStringLiteral("Demo");
  FileRun();
  // A demo that ended without a plot leaves the Demos tab usable: another example can be chosen
  // or demo mode left.
  if (!plotting_) setDemoButtons(true);
}

void frmMain::cmdCancelDemo_Click() {
  applyPlottingSwitches(switchesLeavingDemos());
}

void frmMain::mnuViewDemos_Click() {
  ViewExample();
}

void frmMain::ViewExample() {
  const QString remembered = dialogDir_;
  Dialogs::FileRequest request;
  request.title = QStringLiteral("Open an Example File for illustration");
  request.filter = QStringLiteral("All Files (*.*)|*.*|Example Response Files (Ex*.*)|Ex*.*");
  request.filterIndex = 2;
  const QString user = findFolder(baseDir_ + QStringLiteral("/User"));
  request.initialDir = user.isEmpty() ? userDir_ : user;
  dialogDir_ = request.initialDir;
  const std::optional<QString> chosen = dialogs_.openFile(request);
  dialogDir_ = remembered;
  if (!chosen) return;
  if (!dialogs_.openDocument(*chosen))
    dialogs_.message(
        QStringLiteral("No viewer could be started for\r\n    %1\r\nOpen the file "
                       "with a text editor of your choice.")
            .arg(QDir::toNativeSeparators(*chosen)),
        QStringLiteral("'") + QFileInfo(*chosen).fileName() + QStringLiteral("' not opened."),
        Dialogs::Buttons::Ok, Dialogs::Icon::Warning);
}

}  // namespace tessivar
