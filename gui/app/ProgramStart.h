// The program's start, from the program's folder to the first window:
//   1. Start_Path: the base and user folders (a stop, or a note when a per-user folder is set
//      up to stand in for a read-only installation); the user folder becomes the working
//      directory.
//   2. A later start (Tessivar.ini exists): the main window at once, focus on the data file.
//   3. The first start: the intro, and the run-log viewer registered for ".Out" files (Windows:
//      the text editor in the class registry; elsewhere the run-log type in the user's MIME
//      database, when the desktop does not know it yet: see RunLogType). The
//      intro's buttons open the main window (and its demo mode) or end the program.
// The main window's load reads or writes Tessivar.ini and needs the key example "ex-auto.0";
// either failing ends the program after its box.
#pragma once

#include <QObject>
#include <functional>
#include <memory>

#include "StartPath.h"

namespace tessivar {

class Dialogs;
class frmIntro;
class frmMain;

class ProgramStart : public QObject {
  Q_OBJECT

 public:
  // programDir: the program's folder; perUserBase: the folder to use when the installation is
  // read-only (QStandardPaths::AppLocalDataLocation).
  ProgramStart(Dialogs& dialogs, QString programDir, QString perUserBase);
  ~ProgramStart() override;

  // Runs steps 1 to 3. False when the program must end at once (its box has been shown).
  bool begin();

  const StartLocation& location() const { return loc_; }
  frmIntro* intro() const { return intro_.get(); }
  frmMain* mainWindow() const { return main_.get(); }
  // True once a start-up step after the intro stopped the program.
  bool stopped() const { return stopped_; }

  // Registers the run-log viewer at the first start; tests replace it.
  std::function<void()> registerRunLogViewer;

 signals:
  // The main window exists and is about to be shown.
  void mainOpened(frmMain* window);
  // A start-up step after the intro failed (its box has been shown): the program ends with
  // exitCode. The caller running the event loop ends it.
  void stopRequested(int exitCode);

 private:
  // The main window's load, sizing and showing; false (after its box) when the program ends.
  bool openMain();
  void introRunDemo();
  void introCreateData();
  void stop();

  Dialogs& dialogs_;
  QString programDir_, perUserBase_;
  StartLocation loc_;
  std::unique_ptr<frmIntro> intro_;
  std::unique_ptr<frmMain> main_;
  bool stopped_ = false;
};

}  // namespace tessivar
