// The run of frmMain: make sure the form is saved in an answer file, call the engine on it and
// hand the spectrum on, or say why there is none and point at the engine's run log.
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

#include "frmMain.h"
#include "mdlCommonFiles.h"

namespace tessivar {

namespace {

const QString kRunLog = QStringLiteral("~tirelle.out");
// The name the engine gives its run log, in the working folder.
const QString kEngineRunLog = QStringLiteral("~Tirelle.out");
const QString kLogHint = QStringLiteral("View bottom of '~tirelle.out' file for more details.");

}  // namespace

void frmMain::FileRun() {
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
  const QString path = findFile(wanted);
  AnsFileReader reader;
  if (path.isEmpty() || !reader.open(path)) {
    dialogs_.message(
        QStringLiteral("The answer file could not be read:\r\n    %1\r\n%2\r\nSave the "
                       "form under a new name and Calculate again.")
            .arg(QDir::toNativeSeparators(wanted),
                 path.isEmpty() ? QStringLiteral("No such file") : reader.error()),
        QStringLiteral("In 'CalcSpectrum' routine ..."), Dialogs::Buttons::Ok,
        Dialogs::Icon::Critical);
    return;
  }
  reader.ReadAnsValue();
  // The data file as the engine opens it: a relative name from the working folder.
  const QString dataValue = reader.ReadAnsValue();
  const QString dataFile = QDir::current().absoluteFilePath(dataValue);
  for (int line = 3; line <= 6; ++line) reader.ReadAnsValue();
  const QString method = reader.ReadAnsValue().trimmed();
  reader.ReadAnsValue();
  const QString pointsText = reader.ReadAnsValue();
  bool ok = false;
  const int points = pointsText.toInt(&ok);
  if (!ok || points < 1 || points > kMaxNPoints) {
    dialogs_.message(
        QStringLiteral("Line 9 (nPoints) of the answer file\r\n    %1\r\nholds \"%2\", "
                       "not a whole number from 1 to %3.\r\nCorrect question 8, save "
                       "and Calculate again.")
            .arg(QDir::toNativeSeparators(path), pointsText)
            .arg(kMaxNPoints),
        QStringLiteral("In 'CalcSpectrum' routine ..."), Dialogs::Buttons::Ok,
        Dialogs::Icon::Critical);
    return;
  }

  // A path the engine cannot open would only end in the file-error box; say why instead.
  const QString meant = s_.RunMode == QStringLiteral("Demo") ? QString() : s_.Answers[1];
  if (const std::optional<QString> problem = engineDataPathProblem(dataValue, meant)) {
    const QString wayOn = dataValue.size() > kEngineLineWidth
                              ? QStringLiteral("Move the data file to a shorter path")
                              : QStringLiteral(
                                    "Rename the data file or its folders with plain "
                                    "letters and digits");
    dialogs_.message(QStringLiteral("The engine cannot open the data file\r\n    %1\r\n%2\r\n%3, "
                                    "choose it again and Calculate.")
                         .arg(QDir::toNativeSeparators(dataFile), *problem, wayOn),
                     QStringLiteral("In 'CalcSpectrum' routine ..."), Dialogs::Buttons::Ok,
                     Dialogs::Icon::Warning);
    return;
  }
  // A pipe or a device would keep the engine waiting or reading without end. (A folder is the
  // engine's own file error.)
  if (const QFileInfo data(dataFile); data.exists() && !data.isFile() && !data.isDir()) {
    dialogs_.message(QStringLiteral("The data file\r\n    %1\r\nis no file on disk but a pipe or a "
                                    "device, which the engine cannot read to its end.\r\n"
                                    "Choose a data file saved on disk, then Calculate again.")
                         .arg(QDir::toNativeSeparators(dataFile)),
                     QStringLiteral("In 'CalcSpectrum' routine ..."), Dialogs::Buttons::Ok,
                     Dialogs::Icon::Warning);
    return;
  }
  if (isUtf16Text(dataFile)) {
    dialogs_.message(QStringLiteral("The data file\r\n    %1\r\nis UTF-16 text; the engine reads "
                                    "single-byte text only.\r\nSave the file as plain (ANSI) "
                                    "text, then Calculate again.")
                         .arg(QDir::toNativeSeparators(dataFile)),
                     QStringLiteral("In 'CalcSpectrum' routine ..."), Dialogs::Buttons::Ok,
                     Dialogs::Icon::Warning);
    return;
  }

  const Voxtrel_for_t entry = engine_.entry();
  if (!entry) {
    dialogs_.message(engine_.error() + QStringLiteral("\r\nReinstall Tessivar so that the engine "
                                                      "library stands beside the program."),
                     QStringLiteral("In 'CalcSpectrum' routine ..."), Dialogs::Buttons::Ok,
                     Dialogs::Icon::Critical);
    return;
  }

  // Without its run log the engine cannot run, and every reason it gives is written there: a
  // log that cannot be written is reported here, before the run.
  const QString log = QDir::current().filePath(kEngineRunLog);
  if (const std::optional<QString> refusal = writeRefusal(log)) {
    dialogs_.message(QStringLiteral("The run log cannot be written:\r\n    %1\r\n%2\r\nMake "
                                    "the folder '%3' writable and clear the log's place, then "
                                    "Calculate again.")
                         .arg(QDir::toNativeSeparators(log), *refusal,
                              QDir::toNativeSeparators(QDir::currentPath())),
                     QStringLiteral("In 'CalcSpectrum' routine ..."), Dialogs::Buttons::Ok,
                     Dialogs::Icon::Critical);
    return;
  }
  // The log of an earlier run must not be taken for this run's if the engine writes none.
  QFile::remove(log);

  QApplication::setOverrideCursor(Qt::WaitCursor);
  // The engine raises nPoints to a power of two before it builds the spectrum; a file written
  // by hand (or by an older program) may hold any value, so the arrays take the raised size.
  const int arrayPoints = roundNPoints(pointsText).value_or(pointsText).toInt();
  results_ = callEngine(entry, path, arrayPoints);
  QApplication::restoreOverrideCursor();
  results_.RunMethod = method;
  results_.AnsName = s_.AnsName;
  results_.RunFile = s_.AnsName;

  if (results_.nptsZ >= 1) {
    KeepRunLog(s_.AnsName);
    if (results_.zeroFillZ == -99.0f) {
      if (dialogs_.message(QStringLiteral("No Plot!  Error calculating a spectrum.\r\n") + kLogHint,
                           QStringLiteral("Decomposition failed."), Dialogs::Buttons::OkCancel,
                           Dialogs::Icon::Warning) == Dialogs::Answer::Ok)
        mnuViewOutput_Click();
    } else {
      startPlot(results_.npointsZ);
    }
  } else if (results_.nptsZ == -9) {
    showCalcStopped();
  } else {
    dialogs_.message(QStringLiteral("File Error ... read bottom of your '~tirelle.out' file for "
                                    "\r\nmore details. This OUT file is in the same directory "
                                    "\r\nas your input file; ... \r\n   ") +
                         wanted,
                     QStringLiteral("File name in error ... read Output file 4 more"),
                     Dialogs::Buttons::Ok, Dialogs::Icon::None);
  }
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
