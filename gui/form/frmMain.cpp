#include "frmMain.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QSettings>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <cmath>

#include "ArithmeticSetting.h"
#include "LastPath.h"
#include "OrderScanRun.h"
#include "PlotPage.h"
#include "SetupPage.h"
#include "mdlCommonFiles.h"
#include "mdlRegistryAPI.h"

namespace tessivar {

namespace {

const QString kDesignCaption = QStringLiteral("Tessivar (tm) for Spectral Estimators");

QPushButton* makeButton(const char* name, const QString& caption, QWidget* parent) {
  auto* b = new QPushButton(caption, parent);
  b->setObjectName(QString::fromLatin1(name));
  return b;
}

}  // namespace

frmMain::frmMain(Dialogs& dialogs, const QString& baseDir, QWidget* parent)
    : QMainWindow(parent),
      dialogs_(dialogs),
      engine_(QCoreApplication::applicationDirPath() + QStringLiteral("/voxtrel")),
      baseDir_(QDir::cleanPath(baseDir)),
      programDir_(QCoreApplication::applicationDirPath()) {
  setObjectName(QStringLiteral("frmMain"));
  setWindowTitle(kDesignCaption);
  buildForm();
  buildMenus();
  Form_Load();
}

// ---------------------------------------------------------------------------------------------
// Building the window

QLineEdit* frmMain::addTextBox(const char* name, int question) {
  auto* box = new QLineEdit(questionDefault(question));
  box->setObjectName(QString::fromLatin1(name));
  connect(box, &QLineEdit::textChanged, this, &frmMain::markChanged);
  return box;
}

QWidget* frmMain::buildParameterPage() {
  auto* page = new QWidget;
  page->setObjectName(QStringLiteral("tabParameterSelection"));
  auto* pageLayout = new QVBoxLayout(page);

  lblInstructions = new QLabel(
      QStringLiteral("Instructions: Answer following questions; Save your responses into a file "
                     "for later retrieval; and, press 'start calculations' button for "
                     "execution."));
  lblInstructions->setObjectName(QStringLiteral("lblInstructions"));
  lblInstructions->setWordWrap(true);
  lblWarning1 =
      new QLabel(QStringLiteral("Warning: Uniform spacing between your data points is assumed."));
  lblWarning1->setObjectName(QStringLiteral("lblWarning1"));
  pageLayout->addWidget(lblInstructions);
  pageLayout->addWidget(lblWarning1);

  // The questions stand one row each on picCanvas; a hidden row takes no room, so the
  // method's questions follow question 8 directly and the notes follow them.
  picCanvas = new QWidget;
  picCanvas->setObjectName(QStringLiteral("picCanvas"));
  auto* grid = new QVBoxLayout(picCanvas);
  grid->setContentsMargins(10, 6, 10, 6);

  timeData = addTextBox("timeData", 1);
  // The browse button stands inside the right end of the box (placeBrowseButton), so that the
  // box keeps the place and width of the other questions' boxes whether it shows or not.
  cmdFileData = makeButton("cmdFileData", QStringLiteral("..."), timeData);
  cmdFileData->setCursor(Qt::ArrowCursor);
  cmdFileData->hide();
  timeData->installEventFilter(this);
  connect(cmdFileData, &QPushButton::clicked, this, &frmMain::cmdFileData_Click);

  nSkip = addTextBox("nSkip", 2);
  TotalLines = addTextBox("TotalLines", 3);

  FraDataType = new QGroupBox;
  FraDataType->setObjectName(QStringLiteral("FraDataType"));
  optReal = new QRadioButton(QStringLiteral("Real"));
  optReal->setObjectName(QStringLiteral("optReal"));
  optComplex = new QRadioButton(QStringLiteral("Complex"));
  optComplex->setObjectName(QStringLiteral("optComplex"));
  optReal->setChecked(true);
  auto* typeLayout = new QHBoxLayout(FraDataType);
  typeLayout->setContentsMargins(4, 0, 4, 0);
  typeLayout->addWidget(optReal);
  typeLayout->addWidget(optComplex);
  typeLayout->addStretch();

  Methods = new QComboBox;
  Methods->setObjectName(QStringLiteral("Methods"));
  Methods->addItems(methodEntries());
  Methods->setCurrentIndex(0);
  Methods->installEventFilter(this);
  // Choosing from the list counts as leaving it: the layout follows the choice at once.
  connect(Methods, &QComboBox::activated, this, &frmMain::Methods_LostFocus);

  FraNegFreq = new QGroupBox;
  FraNegFreq->setObjectName(QStringLiteral("FraNegFreq"));
  optYes = new QRadioButton(QStringLiteral("Yes"));
  optYes->setObjectName(QStringLiteral("optYes"));
  optNo = new QRadioButton(QStringLiteral("No"));
  optNo->setObjectName(QStringLiteral("optNo"));
  auto* negLayout = new QHBoxLayout(FraNegFreq);
  negLayout->setContentsMargins(4, 0, 4, 0);
  negLayout->addWidget(optYes);
  negLayout->addWidget(optNo);
  negLayout->addStretch();
  for (QRadioButton* opt : {optReal, optComplex, optYes, optNo})
    connect(opt, &QRadioButton::clicked, this, &frmMain::markChanged);

  nPoints = addTextBox("nPoints", 8);
  nPoles = addTextBox("nPoles", 9);
  nZeros = addTextBox("nZeros", 10);
  EPS = addTextBox("EPS", 11);
  Mode = addTextBox("Mode", 12);
  Meqn = addTextBox("Meqn", 13);
  Lpts = addTextBox("Lpts", 14);
  mLag = addTextBox("mLag", 15);
  NIT = addTextBox("NIT", 16);
  PER = addTextBox("PER", 17);
  windowName = addTextBox("windowName", 18);

  for (int i = 1; i <= kQuestionCount; ++i) {
    auto* row = new QWidget;
    row->setObjectName(QStringLiteral("row_%1").arg(i));
    auto* rowLayout = new QHBoxLayout(row);
    rowLayout->setContentsMargins(0, 0, 0, 0);
    Question[i] = new QLabel(questionCaption(i));
    Question[i]->setObjectName(QStringLiteral("Question_%1").arg(i));
    Question[i]->setMinimumWidth(420);
    rowLayout->addWidget(Question[i], 3);
    if (QWidget* control = questionControl(i)) {
      Question[i]->setBuddy(control);
      control->setMinimumWidth(160);
      rowLayout->addWidget(control, 2);
    } else {
      rowLayout->addStretch(2);
    }
    rows_[i] = row;
    grid->addWidget(row);
  }
  // Question 5 belongs to an older data format and is never asked.
  rows_[5]->hide();
  Question[5]->hide();

  lblKeepNotes = new QLabel(QStringLiteral("20. \u00BB Keep notes below ..."));
  lblKeepNotes->setObjectName(QStringLiteral("lblKeepNotes"));
  Note1 = new QLineEdit(QStringLiteral("Keep notes for future runs"));
  Note1->setObjectName(QStringLiteral("Note1"));
  Note2 = new QLineEdit(QStringLiteral("Your notes go here"));
  Note2->setObjectName(QStringLiteral("Note2"));
  for (QLineEdit* note : {Note1, Note2}) {
    note->installEventFilter(this);
    connect(note, &QLineEdit::textChanged, this, &frmMain::markChanged);
  }
  grid->addSpacing(12);
  grid->addWidget(lblKeepNotes);
  grid->addWidget(Note1);
  grid->addWidget(Note2);
  grid->addStretch(1);

  auto* scroll = new QScrollArea;
  scroll->setWidgetResizable(true);
  scroll->setFrameShape(QFrame::NoFrame);
  scroll->setWidget(picCanvas);
  pageLayout->addWidget(scroll, 1);

  // The order scan judges the AR order of the methods that fit one by a recursion or a solve
  // per order; MethodsVisible enables it for them.
  auto* scanRow = new QHBoxLayout;
  cmdOrderScan = makeButton("cmdOrderScan", QStringLiteral("&Order scan..."), page);
  cmdOrderScan->setEnabled(false);
  connect(cmdOrderScan, &QPushButton::clicked, this, &frmMain::cmdOrderScan_Click);
  scanRow->addStretch();
  scanRow->addWidget(cmdOrderScan);
  pageLayout->addLayout(scanRow);
  return page;
}

void frmMain::buildForm() {
  auto* central = new QWidget;
  auto* layout = new QVBoxLayout(central);

  Plot_Tabs = new QTabWidget;
  Plot_Tabs->setObjectName(QStringLiteral("Plot_Tabs"));
  Plot_Tabs->addTab(buildParameterPage(), QStringLiteral("Parameter Selection"));
  Plot_Tabs->addTab(buildDemosPage(), QStringLiteral("Demos"));
  auto* output = new QWidget;
  output->setObjectName(QStringLiteral("tabOutput"));
  auto* outLayout = new QVBoxLayout(output);
  tbOutBox = new QPlainTextEdit;
  tbOutBox->setObjectName(QStringLiteral("tbOutBox"));
  tbOutBox->setReadOnly(true);
  tbOutBox->setLineWrapMode(QPlainTextEdit::NoWrap);
  tbOutBox->setFont(QFont(QStringLiteral("Liberation Mono")));
  outLayout->addWidget(tbOutBox);
  // The plotting owns the Setup and Plot pages and writes its summary into the Output box.
  outSink_ = std::make_unique<WidgetOutputBox>(tbOutBox);
  plots_ = new PlotController(dialogs_, *outSink_, this);
  Plot_Tabs->addTab(plots_->setupPage(), QStringLiteral("Setup"));
  Plot_Tabs->addTab(output, QStringLiteral("Output"));
  Plot_Tabs->addTab(plots_->plotPage(), QStringLiteral("Plot"));
  connect(plots_, &PlotController::plotRequested, this, &frmMain::cmdPlot_Click);
  connect(plots_, &PlotController::exitPlottingRequested, this, &frmMain::cmdExitPlotting_Click);
  connect(plots_, &PlotController::exportSpectrumRequested, this,
          &frmMain::mnuFileExportSpectrum_Click);
  // The legend names a curve by the answers the run was made from.
  plots_->setCurveLabeler([this](const RunResults& run) {
    return curveLabel(run.RunMethod, std::vector<QString>(s_.Answers.begin(), s_.Answers.end()),
                      run.doublePrecision);
  });
  connect(Plot_Tabs, &QTabWidget::currentChanged, this, &frmMain::Plot_Tabs_Click);
  Plot_Tabs->setTabEnabled(1, false);
  Plot_Tabs->setTabEnabled(2, false);
  layout->addWidget(Plot_Tabs, 1);

  auto* buttons = new QHBoxLayout;
  cmdSubmit = makeButton("cmdSubmit", QStringLiteral("&Calculate"), central);
  cmdQuit = makeButton("cmdQuit", QStringLiteral("Quit"), central);
  cmdPrint = makeButton("cmdPrint", QStringLiteral("&Print ..."), central);
  cmdFileSaveAs = makeButton("cmdFileSaveAs", QStringLiteral("Save &As ..."), central);
  // Printing and saving the picture need a plot.
  cmdPrint->setEnabled(false);
  cmdFileSaveAs->setEnabled(false);
  connect(cmdPrint, &QPushButton::clicked, this, &frmMain::cmdPrint_Click);
  connect(cmdFileSaveAs, &QPushButton::clicked, this, &frmMain::cmdFileSaveAs_Click);
  // Stop and the busy indicator stand beside Calculate; they are live only during a run.
  cmdStop = makeButton("cmdStop", QStringLiteral("S&top"), central);
  cmdStop->setEnabled(false);
  connect(cmdStop, &QPushButton::clicked, this, &frmMain::cmdStop_Click);
  lblCalculating = new QLabel(central);
  lblCalculating->setObjectName(QStringLiteral("lblCalculating"));
  busyBar = new QProgressBar(central);
  busyBar->setObjectName(QStringLiteral("busyBar"));
  busyBar->setRange(0, 0);  // no measure of the way: the bar only shows that the run goes on
  busyBar->setTextVisible(false);
  busyBar->setMaximumWidth(120);
  lblCalculating->hide();
  busyBar->hide();
  background_ = new BackgroundRun(this);
  connect(background_, &BackgroundRun::secondElapsed, this, &frmMain::showCalculating);
  buttons->addWidget(cmdSubmit);
  buttons->addWidget(cmdStop);
  buttons->addWidget(lblCalculating);
  buttons->addWidget(busyBar);
  // The Plot tab's held-curve buttons and read-out, shown with the tab.
  buttons->addWidget(plots_->plotPage()->toolBar(), 1);
  buttons->addStretch();
  buttons->addWidget(cmdPrint);
  buttons->addWidget(cmdFileSaveAs);
  buttons->addWidget(cmdQuit);
  layout->addLayout(buttons);
  connect(cmdSubmit, &QPushButton::clicked, this, &frmMain::cmdSubmit_Click);
  connect(cmdQuit, &QPushButton::clicked, this, &frmMain::cmdQuit_Click);

  setCentralWidget(central);
}

void frmMain::buildMenus() {
  auto addItem = [this](QMenu* menu, const char* name, const QString& caption, auto slot) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(QString::fromLatin1(name));
    connect(action, &QAction::triggered, this, slot);
    return action;
  };
  mnuFile = menuBar()->addMenu(QStringLiteral("&File"));
  mnuFile->setObjectName(QStringLiteral("mnuFile"));
  addItem(mnuFile, "mnuFileNew", QStringLiteral("&New"), &frmMain::mnuFileNew_Click);
  addItem(mnuFile, "mnuFileOpen", QStringLiteral("&Open ..."), &frmMain::mnuFileOpen_Click);
  addItem(mnuFile, "mnuFileSave", QStringLiteral("&Save"), &frmMain::mnuFileSave_Click);
  addItem(mnuFile, "mnuFileSaveAs", QStringLiteral("Save &As ..."), &frmMain::mnuFileSaveAs_Click);
  addItem(mnuFile, "mnuFileDelete", QStringLiteral("&Delete ..."), &frmMain::mnuFileDelete_Click);
  mnuFile->addSeparator();
  addItem(mnuFile, "mnuFileSubmit", QStringLiteral("&Calculate"), &frmMain::mnuFileSubmit_Click);
  mnuFile->addSeparator();
  mnuFileExportSpectrum =
      addItem(mnuFile, "mnuFileExportSpectrum", QStringLiteral("&Export spectrum..."),
              &frmMain::mnuFileExportSpectrum_Click);
  mnuFileExportSpectrum->setEnabled(false);
  mnuFile->addSeparator();
  addItem(mnuFile, "mnuFileExit", QStringLiteral("E&xit"), &frmMain::mnuFileExit_Click);

  mnuDemos = menuBar()->addMenu(QStringLiteral("&Demos"));
  mnuDemos->setObjectName(QStringLiteral("mnuDemos"));
  addItem(mnuDemos, "mnuDemosRun", QStringLiteral("Run &Demo ..."), &frmMain::mnuDemosRun_Click);

  QMenu* mnuView = menuBar()->addMenu(QStringLiteral("&View"));
  mnuView->setObjectName(QStringLiteral("mnuView"));
  addItem(mnuView, "mnuViewDemos", QStringLiteral("&Example File ..."),
          &frmMain::mnuViewDemos_Click);
  addItem(mnuView, "mnuViewOutput", QStringLiteral("&Last Output ..."),
          &frmMain::mnuViewOutput_Click);
  mnuView->addSeparator();
  mnuViewDouble = mnuView->addAction(QStringLiteral("&Double-precision arithmetic"));
  mnuViewDouble->setObjectName(QStringLiteral("mnuViewDouble"));
  mnuViewDouble->setCheckable(true);
  mnuViewDouble->setChecked(ArithmeticSetting::doublePrecision(QSettings()));
  connect(mnuViewDouble, &QAction::toggled, this, &frmMain::mnuViewDouble_Toggled);

  QMenu* mnuWeb = menuBar()->addMenu(QStringLiteral("&Web Links"));
  mnuWeb->setObjectName(QStringLiteral("mnuWeb"));
  addItem(mnuWeb, "mnuWebLink", QStringLiteral("Spectral Estimation Class"),
          &frmMain::mnuWebLink_Click);

  QMenu* mnuHelp = menuBar()->addMenu(QStringLiteral("&Help"));
  mnuHelp->setObjectName(QStringLiteral("mnuHelp"));
  addItem(mnuHelp, "mnuHelpManual", QStringLiteral("&Manual ..."), &frmMain::mnuHelpManual_Click);
  mnuHelp->addSeparator();
  addItem(mnuHelp, "mnuHelpEmail", QStringLiteral("&E-mail Support ..."),
          &frmMain::mnuHelpEmail_Click);
  mnuHelp->addSeparator();
  addItem(mnuHelp, "mnuHelpAbout", QStringLiteral("&About Tessivar ..."),
          &frmMain::mnuHelpAbout_Click);
}

QWidget* frmMain::questionControl(int question) const {
  switch (question) {
    case 1:
      return timeData;
    case 4:
      return FraDataType;
    case 5:
      return nullptr;
    case 6:
      return Methods;
    case 7:
      return FraNegFreq;
    default:
      return textBox(question);
  }
}

QLineEdit* frmMain::textBox(int question) const {
  switch (question) {
    case 2:
      return nSkip;
    case 3:
      return TotalLines;
    case 8:
      return nPoints;
    case 9:
      return nPoles;
    case 10:
      return nZeros;
    case 11:
      return EPS;
    case 12:
      return Mode;
    case 13:
      return Meqn;
    case 14:
      return Lpts;
    case 15:
      return mLag;
    case 16:
      return NIT;
    case 17:
      return PER;
    case 18:
      return windowName;
    default:
      return nullptr;
  }
}

// ---------------------------------------------------------------------------------------------
// Start-up

void frmMain::Start_Path() {
  // For now the base folder is the program's folder; the user folder below it is where answer
  // files, examples and data live and where the engine writes its run log.
  userDir_ = findFolder(baseDir_ + QStringLiteral("/user"));
  if (userDir_.isEmpty()) {
    userDir_ = baseDir_ + QStringLiteral("/user");
    if (!QDir().mkpath(userDir_)) {
      dialogs_.message(
          QStringLiteral("The user folder '%1' could not be created.\r\nCheck that the folder "
                         "'%2' is writable, then start Tessivar again.")
              .arg(QDir::toNativeSeparators(userDir_), QDir::toNativeSeparators(baseDir_)),
          QStringLiteral("In 'Start_Path' routine ..."), Dialogs::Buttons::Ok,
          Dialogs::Icon::Critical);
    }
  }
  QDir::setCurrent(userDir_);
  s_.RunMode = QStringLiteral(" ");
  s_.WriteError = false;
  s_.AnsName = kAnsNameHint;
  s_.AnsDir = baseDir_;
  // The file dialogs open in the folder of the last answer file opened, when one is stored as an
  // absolute path; otherwise in the user folder.
  dialogDir_ = LastPath::get(QSettings(), userDir_);
}

void frmMain::Form_Load() {
  Start_Path();
  // The key example fills the form when it is installed; the caption still names no file.
  const QString keyExample = findFile(userDir_ + QStringLiteral("/ex-auto.0"));
  if (!keyExample.isEmpty()) {
    ReadAnsFile(QFileInfo(keyExample).fileName(), userDir_);
  } else {
    // The design's data file name stands for a file in the working folder, as a loaded one does.
    s_.DataName = SplitPath(timeData->text(), s_.DataDir);
  }
  MethodsVisible();
  s_.DataChanged = false;
  setRunButtons(false);
  // The saved plot settings, and the start-up state of plotting.
  plots_->loadSettings();
  applyPlottingSwitches(switchesAtStartUp());

  // 11000 by 8900 twips; the program maximises the window when it shows it. An explicit small
  // minimum keeps the fonts, which grow with the window, from holding it at a larger size.
  resize(static_cast<int>(std::lround(11000 / mdlReSize::twipsPerPixelX(*this))),
         static_cast<int>(std::lround(8900 / mdlReSize::twipsPerPixelY(*this))));
  setMinimumSize(320, 240);
}

void frmMain::sizeForDesign() {
  // The controls get their places from the layouts only once the window is shown; it is shown
  // off the screen at its design size, each tab page laid out in turn, and the proportions of
  // that layout recorded before the window appears.
  const bool wasVisible = isVisible();
  if (!wasVisible) {
    setAttribute(Qt::WA_DontShowOnScreen, true);
    show();
  }
  const int shown = Plot_Tabs->currentIndex();
  tabClickSuppressed_ = true;
  for (int t = Plot_Tabs->count() - 1; t >= 0; --t) {
    Plot_Tabs->setCurrentIndex(t);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
  }
  Plot_Tabs->setCurrentIndex(shown);
  tabClickSuppressed_ = false;
  resizer_.Record(*this);
  if (!wasVisible) {
    hide();
    setAttribute(Qt::WA_DontShowOnScreen, false);
  }
}

void frmMain::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  if (resizer_.count() == 0) return;  // not recorded yet: still being built
  resizer_.Apply(*this);
  MethodsVisible();
}

// ---------------------------------------------------------------------------------------------
// The form's procedures

bool frmMain::PutAnswers() {
  const std::optional<QString> points = roundNPoints(nPoints->text());
  if (!points) {
    // Shown once per attempt, even when the box itself moves the focus and fires events.
    if (!warningShown_) {
      warningShown_ = true;
      dialogs_.message(
          QStringLiteral("Question 8 (nPoints) must be a whole number from 1 to %1; \"%2\" is "
                         "not.\r\nPlease correct nPoints and try again.")
              .arg(QLocale(QLocale::English).toString(kMaxNPoints), nPoints->text()),
          QStringLiteral("nPoints out of range"), Dialogs::Buttons::Ok, Dialogs::Icon::Warning);
      warningShown_ = false;
    }
    nPoints->setFocus();
    return false;
  }
  auto& A = s_.Answers;
  // Without a chosen data file the question stays unanswered, so it is marked as missing.
  A[1] = (!s_.DataDir.isEmpty() && !s_.DataName.isEmpty()) ? s_.DataDir + '/' + s_.DataName
                                                           : timeData->text();
  A[2] = nSkip->text();
  A[3] = TotalLines->text();
  A[4] = optReal->isChecked() ? QStringLiteral("Real") : QStringLiteral("Complex");
  A[6] = Methods->currentText();
  A[7] = optYes->isChecked() ? QStringLiteral("Yes") : QStringLiteral("No");
  A[8] = *points;
  for (int i = 9; i <= kQuestionCount; ++i) A[i] = textBox(i)->text();
  s_.Note1 = Note1->text();
  s_.Note2 = Note2->text();
  return true;
}

bool frmMain::GetAnswers() {
  const auto& A = s_.Answers;
  s_.DataName = SplitPath(A[1], s_.DataDir);
  timeData->setText(s_.DataName);
  nSkip->setText(A[2]);
  TotalLines->setText(A[3]);
  if (A[4].trimmed().startsWith('R'))
    optReal->setChecked(true);
  else
    optComplex->setChecked(true);
  const int method = methodEntries().indexOf(A[6]);
  if (method >= 0) Methods->setCurrentIndex(method);
  if (A[7].trimmed().startsWith('Y'))
    optYes->setChecked(true);
  else
    optNo->setChecked(true);
  nPoints->setText(A[8]);
  for (int i = 9; i <= kQuestionCount; ++i) textBox(i)->setText(A[i]);
  Note1->setText(s_.Note1);
  Note2->setText(s_.Note2);
  const bool usable = PutAnswers();
  MethodsVisible();
  methodSeen_ = Methods->currentIndex();
  return usable;
}

void frmMain::MethodsVisible() {
  for (int i = 9; i <= kQuestionCount; ++i) {
    rows_[i]->hide();
    Question[i]->hide();
    textBox(i)->hide();
  }
  // The rows stand in question order, which is the order of every method's list.
  for (int i : requiredList(Methods->currentText())) {
    Question[i]->show();
    textBox(i)->show();
    rows_[i]->show();
  }
  cmdOrderScan->setEnabled(orderScanMethod(Methods->currentText()));
}

void frmMain::setLabelColor(int question, bool missing) {
  QPalette palette = Question[question]->palette();
  palette.setColor(
      QPalette::WindowText,
      missing ? QColor(255, 0, 0) : QApplication::palette().color(QPalette::ToolTipText));
  Question[question]->setPalette(palette);
}

bool frmMain::isComplete() {
  if (!PutAnswers()) return false;
  bool complete = true;
  // The list follows the method even for "-Select-" (none), so a file saved without a method
  // does not carry the questions of the one chosen before.
  s_.RequiredList = requiredList(Methods->currentText());
  if (Methods->currentIndex() == 0) return complete;  // the run itself refuses "-Select-"
  for (int i = 1; i <= kQuestionCount; ++i) {
    const bool asked = i <= 8 ? i != 5 : s_.RequiredList.contains(i);
    const bool missing = asked && s_.Answers[i].isEmpty();
    setLabelColor(i, missing);
    if (missing) complete = false;
  }
  return complete;
}

bool frmMain::isCompleteTest() {
  const bool complete = isComplete();
  if (!complete)
    dialogs_.message(QStringLiteral("Some fields are Blank, please fill them and submit again"),
                     QStringLiteral("Missing some data fields"), Dialogs::Buttons::Ok,
                     Dialogs::Icon::Warning);
  return complete;
}

void frmMain::ShowFilename() {
  QString caption = QStringLiteral("Tessivar") + QStringLiteral(", for Spectral Estimators");
  if (!s_.AnsName.isEmpty()) caption += QStringLiteral(" ... ") + s_.AnsName;
  setWindowTitle(caption);
}

// ---------------------------------------------------------------------------------------------
// Events

void frmMain::Methods_LostFocus() {
  methodSeen_ = Methods->currentIndex();
  s_.DataChanged = true;
  if (!PutAnswers()) return;
  MethodsVisible();
  isComplete();
}

void frmMain::timeData_GotFocus() {
  // The data file is chosen through the browse button, not typed.
  cmdFileData->show();
  cmdFileData->setFocus();
}

void frmMain::placeBrowseButton() {
  // 300 twips wide, or wider when its font has grown with the window; as high as the box's
  // inside.
  const int frame = 2;
  const int width =
      std::max(static_cast<int>(std::lround(300 / mdlReSize::twipsPerPixelX(*this))),
               cmdFileData->fontMetrics().horizontalAdvance(QStringLiteral("...")) + 12);
  cmdFileData->setGeometry(timeData->width() - width - frame, frame, width,
                           timeData->height() - 2 * frame);
  // The text ends where the button begins.
  timeData->setTextMargins(0, 0, width, 0);
}

bool frmMain::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Resize && watched == timeData) placeBrowseButton();
  if (event->type() == QEvent::FocusIn) {
    if (watched == timeData) {
      QTimer::singleShot(0, this, &frmMain::timeData_GotFocus);
    } else if (watched == Note1 || watched == Note2) {
      auto* note = static_cast<QLineEdit*>(watched);
      QTimer::singleShot(0, note, [note] { note->setSelection(0, 9999); });
    }
  } else if (event->type() == QEvent::FocusOut && watched == Methods) {
    // Opening the list or a message box is not leaving the question, and passing through it
    // without choosing another method is no edit: an unedited form must run without a prompt.
    const auto reason = static_cast<QFocusEvent*>(event)->reason();
    if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason &&
        Methods->currentIndex() != methodSeen_)
      Methods_LostFocus();
  }
  return QMainWindow::eventFilter(watched, event);
}

void frmMain::cmdFileData_Click() {
  Dialogs::FileRequest request;
  request.title = QStringLiteral("Select File Name containing your Data for Analyses");
  request.filter = QStringLiteral(
      "All Files (*.*)|*.*|Real data (*.rda)|*.rda;*.rda|Complex data (*.cda)|*.cda;*.cda|"
      "Plot data files (*.dat)|*.dat");
  request.filterIndex = 2;
  request.initialDir = dialogDir_;
  const std::optional<QString> chosen = dialogs_.openFile(request);
  if (!chosen) return;
  s_.DataName = SplitPath(QDir::fromNativeSeparators(*chosen), s_.DataDir);
  timeData->setText(s_.DataName);
}

void frmMain::cmdSubmit_Click() {
  if (!PutAnswers()) return;
  if (!isComplete()) {
    isCompleteTest();
    return;
  }
  setRunButtons(true);
  s_.RunMode = QStringLiteral("*");
  FileRun();
  // A run that ended in a plot keeps the run buttons off until plotting is left.
  if (!plotting_) setRunButtons(false);
}

void frmMain::mnuFileSubmit_Click() {
  s_.RunMode = QStringLiteral("*");
  cmdSubmit_Click();
}

void frmMain::setRunButtons(bool running) {
  cmdSubmit->setEnabled(!running);
}

void frmMain::cmdQuit_Click() {
  close();
}

void frmMain::cmdStop_Click() {
  background_->requestStop();
}

void frmMain::closeEvent(QCloseEvent* event) {
  // A run going on is stopped first; the window closes once it has ended, so that nothing is
  // left half-written.
  if (background_->running()) {
    closeAfterRun_ = true;
    background_->requestStop();
    event->ignore();
    return;
  }
  // No save prompt on leaving.
  clearFileIn();
  event->accept();
}

// ---------------------------------------------------------------------------------------------
// Plotting: entering and leaving it, the Setup tab's buttons, saving and printing the picture

PlottingWidgets frmMain::plottingWidgets() const {
  PlottingWidgets w;
  w.tabs = Plot_Tabs;
  w.runButtons = {cmdCancelDemo, cmdRunDemo, cmdSubmit};
  w.menus = {mnuFile->menuAction(), mnuDemos->menuAction()};
  return w;
}

void frmMain::applyPlottingSwitches(const PlottingSwitches& sw) {
  tabClickSuppressed_ = true;
  applySwitches(sw, plottingWidgets());
  tabClickSuppressed_ = false;
  plots_->applySwitches(sw);
  // The tab now shown gets its controls back, whichever tab it was reached from (a control on
  // a tab page is switched off while another tab is shown).
  if (sw.showTab) tessivar::Plot_Tabs_Click(*Plot_Tabs);
  updateRunDemo();
  setFileMenuItems();
}

void frmMain::setFileMenuItems() {
  // The menu stays open while plotting for the export of the plotted spectrum; its other
  // items wait, as the whole menu did, until plotting is left.
  if (!mnuFile) return;
  for (QAction* item : mnuFile->actions()) {
    if (!item->isSeparator()) item->setEnabled((item == mnuFileExportSpectrum) == plotting_);
  }
  if (plotting_) mnuFile->menuAction()->setEnabled(true);
}

void frmMain::cmdPlot_Click() {
  // "Plot results >>": the run again with the Setup tab's settings.
  s_.RunMode = QStringLiteral("*");
  FileRun();
}

void frmMain::cmdExitPlotting_Click() {
  plotting_ = false;
  applyPlottingSwitches(switchesAtExitPlotting());
  setRunButtons(false);
}

void frmMain::Plot_Tabs_Click() {
  tessivar::Plot_Tabs_Click(*Plot_Tabs, tabClickSuppressed_);
  updateRunDemo();
}

// The picture is named after the answer file of the run it shows, which the form may since
// have left for another file.
void frmMain::cmdPrint_Click() {
  plots_->cmdPrint_Click(results_.AnsName);
}

void frmMain::cmdFileSaveAs_Click() {
  plots_->cmdFileSaveAs_Click(results_.AnsName, dialogDir_, QCoreApplication::applicationDirPath());
}

void frmMain::mnuFileExportSpectrum_Click() {
  plots_->exportSpectrum(dialogDir_, QCoreApplication::applicationDirPath());
}

}  // namespace tessivar
