// The main window: the parameter form with its eighteen questions, the menus, the tabs and the
// buttons below them. The form procedures live in frmMain.cpp, the File menu's commands in
// fileCommands.cpp, the run's prompts in mdlTessivar.cpp, the demos in demosTab.cpp and the Help
// menu in helpCommands.cpp; the logic that needs no widget is in mdlCommonFiles, Questions,
// RunExecution (the run: answer file in, engine call, results out) and EngineLibrary.
#pragma once

#include <QMainWindow>
#include <array>
#include <memory>

#include "AnswerState.h"
#include "BackgroundRun.h"
#include "Dialogs.h"
#include "EngineLibrary.h"
#include "OutputBox.h"
#include "PlotController.h"
#include "RunResults.h"
#include "mdlReSize.h"

class QAction;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QTabWidget;

namespace tessivar {

class frmMain : public QMainWindow {
  Q_OBJECT

 public:
  // baseDir: the product's base folder; its "user" folder (created when missing) becomes the
  // working directory, where the engine writes its run log.
  frmMain(Dialogs& dialogs, const QString& baseDir, QWidget* parent = nullptr);

  AnswerState& state() { return s_; }
  const RunResults& results() const { return results_; }
  QString BaseDir() const { return baseDir_; }
  QString userDir() const { return userDir_; }
  QString dialogDir() const { return dialogDir_; }
  EngineLibrary& engine() { return engine_; }
  QPlainTextEdit* outBox() const { return tbOutBox; }
  QTabWidget* tabs() const { return Plot_Tabs; }
  PlotController& plots() { return *plots_; }
  BackgroundRun& background() { return *background_; }

  // The parameter form.
  bool PutAnswers();  // false (after a warning) when nPoints is not usable
  bool GetAnswers();  // false when the answers shown cannot be taken back (nPoints)
  void MethodsVisible();
  bool isComplete();
  bool isCompleteTest();
  void ShowFilename();

  // Answer files and the File menu.
  void WriteAnsFile(const QString& name, const QString& dir);
  bool ReadAnsFile(const QString& name, const QString& dir);
  void FileNew();
  void FileOld();
  void FileSave();
  bool FileSaveAs();
  void FileDelete();
  bool SaveChangesQuery();

  // The run.
  void FileRun();
  void CalcSpectrum();
  void KeepRunLog(const QString& name);
  void ShellCopy(const QString& src, const QString& dst);
  void ViewFile(const QString& name);
  // Hands a finished run to the Output and Plot tabs.
  void startPlot(int n_freq_pts);

  // Start-up: the file dialogs' initial folder, the design size (11000 x 8900 twips) and the
  // proportions of every control at that size. The caller then shows the window maximised.
  void setDialogDir(const QString& dir) { dialogDir_ = dir; }
  // The program's folder: install.ini (support addresses) and the installed manual.
  void setProgramDir(const QString& dir) { programDir_ = dir; }
  void sizeForDesign();
  const mdlReSize& resizer() const { return resizer_; }

 public slots:
  void cmdSubmit_Click();
  // "Order scan...": the AR order criteria of the form's data and method in a window of their
  // own, whose "Use order k" fills nPoles (orderScanCommands.cpp).
  void cmdOrderScan_Click();
  void cmdStop_Click();
  void mnuFileSubmit_Click();
  void cmdFileData_Click();
  void cmdQuit_Click();
  void mnuFileNew_Click();
  void mnuFileOpen_Click();
  void mnuFileSave_Click();
  void mnuFileSaveAs_Click();
  void mnuFileDelete_Click();
  void mnuFileExit_Click();
  void mnuViewOutput_Click();
  // View > Double-precision arithmetic: kept in the per-user settings at once; every later run
  // computes in the arithmetic it shows.
  void mnuViewDouble_Toggled(bool on);
  void cmdPrint_Click();
  void cmdFileSaveAs_Click();
  void mnuFileExportSpectrum_Click();
  void cmdPlot_Click();
  void cmdExitPlotting_Click();
  void Plot_Tabs_Click();
  void Methods_LostFocus();
  void timeData_GotFocus();

  // Demos and View > Example File.
  void mnuDemosRun_Click();
  void mnuDemosRunGo();
  void Exam_Click(int index);
  void cmdRunDemo_Click();
  void cmdCancelDemo_Click();
  void mnuViewDemos_Click();

  // Help and Web Links.
  void mnuHelpManual_Click();
  void mnuHelpEmail_Click();
  void mnuHelpAbout_Click();
  void mnuWebLink_Click();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void buildForm();
  void buildMenus();
  void Form_Load();
  void Start_Path();
  QWidget* buildParameterPage();
  QWidget* buildDemosPage();
  void setDemoButtons(bool enabled);
  void updateRunDemo();
  void ViewExample();
  QLineEdit* addTextBox(const char* name, int question);
  QLineEdit* textBox(int question) const;  // questions 2, 3, 8..18
  QWidget* questionControl(int question) const;
  void setLabelColor(int question, bool missing);
  void placeBrowseButton();
  void setRunButtons(bool running);
  void markChanged() { s_.DataChanged = true; }
  QString runPath() const { return s_.AnsDir + '/' + s_.AnsName; }
  // Before an answer file is written: names the answers' characters that the single-byte file
  // cannot keep and lets the user go back to change them (false) or save them as "?" (true).
  bool charactersKept();
  void showFileError(const QString& routine, const QString& path, const QString& error);
  void showCalcStopped();
  // The engine call on its worker thread, with the busy indicator shown and the commands that
  // would start another run or change the answer file held off until it ends.
  RunResults runInBackground(const PreparedRun& run);
  void showCalculating(int seconds);
  PlottingWidgets plottingWidgets() const;
  void applyPlottingSwitches(const PlottingSwitches& s);
  // While plotting, the File menu offers only Export spectrum...; otherwise everything else.
  void setFileMenuItems();

  Dialogs& dialogs_;
  AnswerState s_;
  RunResults results_;
  EngineLibrary engine_;
  QString baseDir_, userDir_;
  QString dialogDir_;  // the file dialogs' initial folder
  QString programDir_;
  bool warningShown_ = false;
  int methodSeen_ = 0;  // the methods entry the form was last laid out for

  QTabWidget* Plot_Tabs = nullptr;
  std::array<QLabel*, kQuestionCount + 1> Question{};
  std::array<QWidget*, kQuestionCount + 1> rows_{};
  QLineEdit* timeData = nullptr;
  QPushButton* cmdFileData = nullptr;
  QLineEdit *nSkip = nullptr, *TotalLines = nullptr, *nPoints = nullptr, *nPoles = nullptr;
  QLineEdit *nZeros = nullptr, *EPS = nullptr, *Mode = nullptr, *Meqn = nullptr, *Lpts = nullptr;
  QLineEdit *mLag = nullptr, *NIT = nullptr, *PER = nullptr, *windowName = nullptr;
  QLineEdit *Note1 = nullptr, *Note2 = nullptr;
  QGroupBox *FraDataType = nullptr, *FraNegFreq = nullptr;
  QRadioButton *optReal = nullptr, *optComplex = nullptr, *optYes = nullptr, *optNo = nullptr;
  QComboBox* Methods = nullptr;
  QLabel *lblKeepNotes = nullptr, *lblInstructions = nullptr, *lblWarning1 = nullptr;
  QWidget* picCanvas = nullptr;
  QPushButton* cmdOrderScan = nullptr;
  QPushButton *cmdSubmit = nullptr, *cmdQuit = nullptr, *cmdPrint = nullptr;
  QPushButton* cmdFileSaveAs = nullptr;
  QPushButton* cmdStop = nullptr;    // on only while a run goes on
  QLabel* lblCalculating = nullptr;  // "Calculating... 3 s" while a run goes on
  QProgressBar* busyBar = nullptr;   // busy indicator beside it
  BackgroundRun* background_ = nullptr;
  bool closeAfterRun_ = false;  // the window was closed during a run: closed once it has ended
  QPlainTextEdit* tbOutBox = nullptr;
  QMenu *mnuFile = nullptr, *mnuDemos = nullptr;
  QAction* mnuFileExportSpectrum = nullptr;
  QAction* mnuViewDouble = nullptr;
  std::array<QRadioButton*, 19> Exam{};  // Exam[1..18]
  std::array<QLabel*, 19> Description{}, ExTime{};
  QPushButton *cmdRunDemo = nullptr, *cmdCancelDemo = nullptr;
  mdlReSize resizer_;
  std::unique_ptr<WidgetOutputBox> outSink_;
  PlotController* plots_ = nullptr;
  bool tabClickSuppressed_ = false;  // set while the window itself switches tabs
  bool plotting_ = false;            // from a drawn plot until Exit Plotting
};

}  // namespace tessivar
