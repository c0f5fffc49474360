// Tessivar: the program's start.
#include <QApplication>
#include <QStandardPaths>

#include "Dialogs.h"
#include "ProgramStart.h"
#include "frmMain.h"
#include "tessivar_version.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setOrganizationName("Harnwell Labs");
  QApplication::setApplicationName("Tessivar");
  // Lets the desktop match the window to the installed desktop entry and its icon.
  QGuiApplication::setDesktopFileName(QStringLiteral(TESSIVAR_APP_ID));
  tessivar::QtDialogs dialogs;
  tessivar::ProgramStart start(
      dialogs, QCoreApplication::applicationDirPath(),
      QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation));
  QObject::connect(&start, &tessivar::ProgramStart::mainOpened,
                   [&dialogs](tessivar::frmMain* window) { dialogs.setParent(window); });
  QObject::connect(&start, &tessivar::ProgramStart::stopRequested, &app,
                   [](int exitCode) { QCoreApplication::exit(exitCode); });
  if (!start.begin()) return 1;
  return app.exec();
}
