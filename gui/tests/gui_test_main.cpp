// Test main for the program's tests: one QApplication on the offscreen platform, a private
// settings location, then every test.
#include <gtest/gtest.h>

#include <QApplication>
#include <QStandardPaths>

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QStandardPaths::setTestModeEnabled(true);
  QApplication app(argc, argv);
  QApplication::setOrganizationName("Harnwell Labs");
  QApplication::setApplicationName("Tessivar");
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
