#include "ProgramStart.h"

#include <QDir>
#include <QFileInfo>
#include <QLineEdit>

#include "Dialogs.h"
#include "FileAssoc.h"
#include "FolderNames.h"
#include "RunLogType.h"
#include "TessivarIni.h"
#include "frmIntro.h"
#include "frmMain.h"

namespace tessivar {

namespace {

const QString kKeyExample = QStringLiteral("ex-auto.0");

}  // namespace

ProgramStart::ProgramStart(Dialogs& dialogs, QString programDir, QString perUserBase)
    : dialogs_(dialogs), programDir_(std::move(programDir)), perUserBase_(std::move(perUserBase)) {
#ifdef Q_OS_WIN
  registerRunLogViewer = [] { FileAssoc().registerRunLogViewer(); };
#else
  registerRunLogViewer = [] { RunLogType::registerForUser(); };
#endif
}

ProgramStart::~ProgramStart() = default;

bool ProgramStart::begin() {
  loc_ = StartPath(perUserBase_).locate(programDir_);
  if (loc_.status != StartLocation::Status::Ok) {
    dialogs_.message(loc_.text, loc_.title, Dialogs::Buttons::Ok, Dialogs::Icon::Critical);
    return false;
  }
  if (loc_.perUser && loc_.perUserNew)
    dialogs_.message(loc_.text, loc_.title, Dialogs::Buttons::Ok, Dialogs::Icon::Warning);
  QDir::setCurrent(loc_.userDir);

  if (TessivarIni(loc_.baseDir).exists()) return openMain();

  // The first start: the intro offers the demos; run logs get a viewer.
  intro_ = std::make_unique<frmIntro>();
  connect(intro_.get(), &frmIntro::runDemo, this, &ProgramStart::introRunDemo);
  connect(intro_.get(), &frmIntro::createData, this, &ProgramStart::introCreateData);
  intro_->show();
  if (registerRunLogViewer) registerRunLogViewer();
  return true;
}

bool ProgramStart::openMain() {
  TessivarIni ini(loc_.baseDir);
  IniValues values;
  IniError error;
  if (!ini.startIni(values, error)) {
    dialogs_.message(ini.errorText(error), ini.errorTitle(), Dialogs::Buttons::Ok,
                     Dialogs::Icon::Critical);
    return false;
  }
  const QString keyExample = matchInFolder(loc_.userDir, kKeyExample);
  if (!QFileInfo(keyExample).isFile()) {
    dialogs_.message(QStringLiteral("Missing key input file ... ") + keyExample,
                     QStringLiteral("Tessivar"), Dialogs::Buttons::Ok, Dialogs::Icon::None);
    return false;
  }
  main_ = std::make_unique<frmMain>(dialogs_, loc_.baseDir);
  main_->setProgramDir(programDir_);
  emit mainOpened(main_.get());
  main_->sizeForDesign();
  main_->showMaximized();
  if (auto* timeData = main_->findChild<QLineEdit*>(QStringLiteral("timeData")))
    timeData->setFocus();
  return true;
}

void ProgramStart::stop() {
  // Ending the event loop is main's: an exit asked for while no loop turns would stay pending
  // and end the next loop of the process at once.
  stopped_ = true;
  emit stopRequested(1);
}

// The main window opens before the intro closes, so that the program never finds itself
// without a window in between.
void ProgramStart::introRunDemo() {
  if (!openMain()) {
    intro_->close();
    stop();
    return;
  }
  intro_->close();
  main_->mnuDemosRunGo();
}

void ProgramStart::introCreateData() {
  if (!openMain()) {
    intro_->close();
    stop();
    return;
  }
  intro_->close();
  if (auto* timeData = main_->findChild<QLineEdit*>(QStringLiteral("timeData")))
    timeData->setFocus();
}

}  // namespace tessivar
