// The run of frmMain: make sure the form is saved in an answer file, have RunExecution call the
// engine on it and hand the spectrum on, or say why there is none and point at the run log.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTabWidget>

#include "ArithmeticSetting.h"
#include "RunExecution.h"
#include "RunLockout.h"
#include "SafeWrite.h"
#include "SetupPage.h"
#include "frmMain.h"
#include "mdlCommonFiles.h"

namespace tessivar {

namespace {

const QString kRunLog = QStringLiteral("~tirelle.out");
const QString kLogHint = QStringLiteral("View bottom of '~tirelle.out' file for more details.");

}  // namespace

void frmMain::FileRun() {
  if (background_->running()) return;  // one run at a time
  if (s_.RunMode != QStringLiteral("Demo")) {
    if (Methods->currentIndex() == 0) {
      dialogs_.message(QStringLiteral("Please Select a 'Method' before making a run."),
                       QStringLiteral("Tessivar"), Dialogs::Buttons::Ok, Dialogs::Icon::Warning);
      Methods->setFocus();
      return;
    }
    if (methodNeedsRealData(Methods->currentText()) && optComplex->isChecked()) {
      dialogs_.message(QStringLiteral("Akaike and RMLE methods -require- real data!"),
                       QStringLiteral("Please change 'data type' to Real  or change Method."),
                       Dialogs::Buttons::Ok, Dialogs::Icon::Warning);
      optReal->setFocus();
      return;
    }
    if (FileExists(runPath())) {
      // An unedited form runs from its file as it is; an edited one is saved first if the
      // user wants, and the run uses whatever the file then holds.
      if (!SaveChangesQuery()) CalcSpectrum();
      return;
    }
    if (dialogs_.message(QStringLiteral("Okay to save '") + runPath() + QStringLiteral("' now?"),
                         QStringLiteral("Input -not- saved!"), Dialogs::Buttons::OkCancel,
                         Dialogs::Icon::Question) != Dialogs::Answer::Ok) {
      cmdSubmit->setEnabled(true);
      return;
    }
    if (s_.AnsName == kAnsNameHint || s_.AnsName == kNewDataName)
      s_.AnsName = QStringLiteral("*.*");
    if (!FileSaveAs()) return;
  } else {
    s_.AnsDir = findFolder(baseDir_ + QStringLiteral("/User"));
    if (!ReadAnsFile(s_.AnsName, s_.AnsDir)) return;
  }

  if (s_.WriteError) {
    s_.WriteError = false;
    return;
  }

  if (FileExists(runPath()) && !s_.DataChanged) {
    if (s_.RunMode != QStringLiteral("Demo")) {
      // The file line 2 names: without a chosen or loaded data file that is the name shown
      // (the design's), which the engine looks up in the working folder.
      const QString data = !s_.DataName.isEmpty() ? s_.DataDir + '/' + s_.DataName
                                                  : QDir::current().absoluteFilePath(s_.Answers[1]);
      if (s_.Answers[1].isEmpty() || !FileExists(data)) {
        dialogs_.message(QStringLiteral("==> Error!! <== Data file not found!!\r\nData file = ") +
                             data + QStringLiteral("\r\n"),
                         QStringLiteral("In 'FileRun' routine ..."), Dialogs::Buttons::Ok,
                         Dialogs::Icon::Critical);
        Plot_Tabs->setCurrentIndex(0);
        timeData->setFocus();
        return;
      }
      WriteAnsFile(s_.AnsName, s_.AnsDir);
      if (s_.WriteError) {  // the box has said why; do not run an older file
        s_.WriteError = false;
        return;
      }
    }
    CalcSpectrum();
    return;
  }

  if (dialogs_.message(QStringLiteral("Please save file and re-run."),
                       QStringLiteral("'") + runPath() + QStringLiteral("' is non-existent!"),
                       Dialogs::Buttons::OkCancel, Dialogs::Icon::Warning) == Dialogs::Answer::Ok)
    mnuFileSave_Click();
  Plot_Tabs->setTabEnabled(0, true);
  Plot_Tabs->setTabEnabled(1, false);
  Plot_Tabs->setTabEnabled(2, false);
  Plot_Tabs->setCurrentIndex(0);
  s_.WriteError = false;
}

void frmMain::CalcSpectrum() {
  // Whatever this run ends in, the picture of an earlier one no longer belongs to the form's
  // answer file: it is cleared, so that it is not printed or saved under this file's name.
  plots_->discardPlot();
  cmdPrint->setEnabled(false);
  cmdFileSaveAs->setEnabled(false);
  const QString wanted = runPath();
  const QString meant = s_.RunMode == QStringLiteral("Demo") ? QString() : s_.Answers[1];
  RunExecution runner(engine_);
  const std::variant<PreparedRun, RunRefusal> prepared =
      runner.prepare(wanted, meant, mnuViewDouble->isChecked());
  if (const RunRefusal* refusal = std::get_if<RunRefusal>(&prepared)) {
    dialogs_.message(refusal->text, refusal->title, Dialogs::Buttons::Ok, refusal->icon);
    return;
  }

  results_ = runInBackground(std::get<PreparedRun>(prepared));
  if (closeAfterRun_) {
    // The window was closed during the run, which has been stopped: it closes now, with no box.
    closeAfterRun_ = false;
    close();
    return;
  }
  results_.AnsName = s_.AnsName;
  results_.RunFile = s_.AnsName;

  switch (RunExecution::outcomeOf(results_)) {
    case RunOutcome::Spectrum:
      KeepRunLog(s_.AnsName);
      startPlot(results_.npointsZ);
      break;
    case RunOutcome::NoPlot:
      KeepRunLog(s_.AnsName);
      if (dialogs_.message(QStringLiteral("No Plot!  Error calculating a spectrum.\r\n") + kLogHint,
                           QStringLiteral("Decomposition failed."), Dialogs::Buttons::OkCancel,
                           Dialogs::Icon::Warning) == Dialogs::Answer::Ok)
        mnuViewOutput_Click();
      break;
    case RunOutcome::Stopped:
      showCalcStopped();
      break;
    case RunOutcome::FileError:
      dialogs_.message(QStringLiteral("File Error ... read bottom of your '~tirelle.out' file for "
                                      "\r\nmore details. This OUT file is in the same directory "
                                      "\r\nas your input file; ... \r\n   ") +
                           wanted,
                       QStringLiteral("File name in error ... read Output file 4 more"),
                       Dialogs::Buttons::Ok, Dialogs::Icon::None);
      break;
  }
}

RunResults frmMain::runInBackground(const PreparedRun& run) {
  QList<QWidget*> held = {cmdSubmit, cmdRunDemo, cmdCancelDemo, cmdOrderScan};
  for (const char* name : {"cmdPlot", "cmdExitPlotting"})
    held << plots_->setupPage()->findChild<QWidget*>(QString::fromLatin1(name));
  QList<QAction*> actions;
  for (QAction* a : mnuFile->actions())
    if (!a->isSeparator() && a->objectName() != QStringLiteral("mnuFileExit")) actions << a;
  actions << mnuDemos->actions();
  RunResults results;
  {
    const RunLockout lockout(held, actions);
    cmdStop->setEnabled(true);
    showCalculating(0);
    lblCalculating->show();
    busyBar->show();
    QApplication::setOverrideCursor(Qt::BusyCursor);
    results = background_->run(run);
    QApplication::restoreOverrideCursor();
    busyBar->hide();
    lblCalculating->hide();
    cmdStop->setEnabled(false);
  }
  return results;
}

void frmMain::showCalculating(int seconds) {
  lblCalculating->setText(BackgroundRun::calculatingText(seconds));
}

void frmMain::showCalcStopped() {
  // The engine stopped the run; its log's last line says why.
  const QString log = findFile(userDir_ + '/' + kRunLog);
  if (log.isEmpty()) {
    dialogs_.message(QStringLiteral("The engine stopped before it could write its run log in\r\n"
                                    "    %1\r\nCheck that this folder can be written, then "
                                    "Calculate again.")
                         .arg(QDir::toNativeSeparators(userDir_)),
                     QStringLiteral("Calculation stopped."), Dialogs::Buttons::Ok,
                     Dialogs::Icon::Warning);
    return;
  }
  const QString reason = lastNonBlankLine(log);
  if (dialogs_.message(reason + QStringLiteral("\r\n") + kLogHint,
                       QStringLiteral("Calculation stopped."), Dialogs::Buttons::OkCancel,
                       Dialogs::Icon::Warning) == Dialogs::Answer::Ok)
    mnuViewOutput_Click();
}

void frmMain::KeepRunLog(const QString& name) {
  const QString expected = userDir_ + '/' + kRunLog;
  const QString found = findFile(expected);
  ShellCopy(found.isEmpty() ? expected : found,
            runLogCopyPath(name, s_.AnsDir, QDir::currentPath()));
}

void frmMain::ShellCopy(const QString& src, const QString& dst) {
  if (src.isEmpty() || !FileExists(src)) {
    dialogs_.message(QStringLiteral("\"") + src + QStringLiteral("\" is not a valid file name."),
                     QStringLiteral("File not copied."), Dialogs::Buttons::Ok,
                     Dialogs::Icon::Warning);
    return;
  }
  // A direct copy: no file name goes through a command line. A copy that fails leaves the
  // older copy in place, which would pass for this run's log unless the user is told.
  if (const std::optional<QString> reason = copyFileSafely(src, dst)) {
    const QString older = QFileInfo::exists(dst)
                              ? QStringLiteral("That file still holds an earlier run's log. ")
                              : QString();
    dialogs_.message(
        QStringLiteral("The run log could not be copied to\r\n    %1\r\n%2\r\n%3"
                       "This run's log stays in\r\n    %4\r\nuntil the next run. "
                       "Free some room on the disk, or make the folder writable, "
                       "to keep copies.")
            .arg(QDir::toNativeSeparators(dst), *reason, older, QDir::toNativeSeparators(src)),
        QStringLiteral("File not copied."), Dialogs::Buttons::Ok, Dialogs::Icon::Warning);
  }
}

void frmMain::ViewFile(const QString& name) {
  const QString path = findFile(userDir_ + '/' + name);
  if (!path.isEmpty()) {
    if (!dialogs_.openDocument(path))
      dialogs_.message(QStringLiteral("No viewer could be started for\r\n    %1\r\nOpen the file "
                                      "with a text editor of your choice.")
                           .arg(QDir::toNativeSeparators(path)),
                       QStringLiteral("'") + name + QStringLiteral("' not opened."),
                       Dialogs::Buttons::Ok, Dialogs::Icon::Warning);
    return;
  }
  if (name.compare(kRunLog, Qt::CaseInsensitive) == 0)
    dialogs_.message(QStringLiteral("Try a 'Calculate' command then retry this View option."),
                     QStringLiteral("'~tirelle.out' output file not found."), Dialogs::Buttons::Ok,
                     Dialogs::Icon::Warning);
  else
    dialogs_.message(QStringLiteral("File not found. Check your equation and re-try."),
                     QStringLiteral("'") + name + QStringLiteral("' file not found."),
                     Dialogs::Buttons::Ok, Dialogs::Icon::Warning);
}

void frmMain::mnuViewDouble_Toggled(bool on) {
  QSettings settings;
  ArithmeticSetting::setDoublePrecision(settings, on);
}

void frmMain::mnuViewOutput_Click() {
  ViewFile(kRunLog);
}

void frmMain::startPlot(int n_freq_pts) {
  // Plotting takes over: run buttons, File and Demos menus off, the Setup tab on, the plot drawn
  // and its peaks listed in the Output box, the Plot tab shown.
  RunResults run = results_;
  run.npointsZ = n_freq_pts;
  plotting_ = true;
  applyPlottingSwitches(switchesAtStartPlot());
  const bool drawn = plots_->startPlot(run);
  cmdPrint->setEnabled(drawn);
  cmdFileSaveAs->setEnabled(drawn);
  cmdQuit->setFocus();
}

}  // namespace tessivar
