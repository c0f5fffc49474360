// Tessivar: the program's start.
#include <QApplication>
#include <QLabel>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setOrganizationName("Harnwell Labs");
  QApplication::setApplicationName("Tessivar");
  QLabel placeholder("Tessivar (tm) for Spectral Estimators");
  placeholder.show();
  return app.exec();
}
