// Tessivar: the program's start.
#include <QApplication>
#include <QDir>

#include "Dialogs.h"
#include "frmMain.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setOrganizationName("Harnwell Labs");
  QApplication::setApplicationName("Tessivar");
  tessivar::QtDialogs dialogs;
  // For now the program's own folder is the base folder; its "user" folder is the work place.
  tessivar::frmMain window(dialogs, QCoreApplication::applicationDirPath());
  dialogs.setParent(&window);
  window.showMaximized();
  return app.exec();
}
