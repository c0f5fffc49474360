// The run-log MIME type declared for a user whose desktop does not know it: the declaration
// built into the program, and the user's MIME database rebuilt from it.
#include "RunLogType.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>

using tessivar::RunLogType;

namespace {

QByteArray readBytes(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace

// The program carries the very file the installation puts in share/mime/packages.
TEST(RunLogType, ProgramCarriesTheInstalledDeclaration) {
  const QByteArray installed =
      readBytes(QStringLiteral(TESSIVAR_SOURCE_DIR "/packaging/linux/tessivar-run-log.xml"));
  ASSERT_FALSE(installed.isEmpty());
  EXPECT_EQ(RunLogType::package(), installed);
}

// Declared for the user, the desktop's database takes "*.out" files for run logs, a kind of
// plain text, so they open in the user's text editor.
TEST(RunLogType, DeclaredForTheUserRunLogsAreText) {
  if (QStandardPaths::findExecutable("update-mime-database").isEmpty())
    GTEST_SKIP() << "update-mime-database is not installed (package shared-mime-info)";
  QTemporaryDir home;
  QString error;
  ASSERT_TRUE(RunLogType::declareForUser(home.path(), &error)) << error.toStdString();
  EXPECT_EQ(readBytes(home.path() + "/mime/packages/tessivar-run-log.xml"), RunLogType::package());
  const QList<QByteArray> globs = readBytes(home.path() + "/mime/globs2").split('\n');
  EXPECT_TRUE(globs.contains("50:text/x-tessivar-run-log:*.out")) << globs.join('|').data();
  const QList<QByteArray> parents = readBytes(home.path() + "/mime/subclasses").split('\n');
  EXPECT_TRUE(parents.contains("text/x-tessivar-run-log text/plain")) << parents.join('|').data();
  // Declaring again (a second first start after Tessivar.ini was deleted) is harmless.
  EXPECT_TRUE(RunLogType::declareForUser(home.path(), &error)) << error.toStdString();
}

TEST(RunLogType, UnwritableDataFolderIsNamed) {
  QTemporaryDir home;
  const QString notAFolder = home.path() + "/file";
  QFile f(notAFolder);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.close();
  QString error;
  EXPECT_FALSE(RunLogType::declareForUser(notAFolder, &error));
  EXPECT_TRUE(error.contains("tessivar-run-log.xml")) << error.toStdString();
}
