#include "RunLogType.h"

#include <QDir>
#include <QFile>
#include <QMimeDatabase>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>

namespace tessivar {

bool RunLogType::knownAsText() {
  const QMimeType type = QMimeDatabase().mimeTypeForFile(QStringLiteral("~Tirelle.out"),
                                                         QMimeDatabase::MatchExtension);
  return type.inherits(QStringLiteral("text/plain"));
}

QByteArray RunLogType::package() {
  QFile built(QStringLiteral(":/tessivar/") + QString::fromLatin1(kPackageName));
  return built.open(QIODevice::ReadOnly) ? built.readAll() : QByteArray();
}

bool RunLogType::declareForUser(const QString& dataHome, QString* error) {
  auto failed = [error](const QString& why) {
    if (error) *error = why;
    return false;
  };
  const QByteArray xml = package();
  if (xml.isEmpty()) return failed(QStringLiteral("the run-log type is missing from the program"));
  const QString mime = dataHome + QStringLiteral("/mime");
  const QString packages = mime + QStringLiteral("/packages");
  const QString path = packages + '/' + QString::fromLatin1(kPackageName);
  QSaveFile file(path);
  if (!QDir().mkpath(packages) || !file.open(QIODevice::WriteOnly) ||
      file.write(xml) != xml.size() || !file.commit())
    return failed(QStringLiteral("cannot write %1").arg(QDir::toNativeSeparators(path)));

  // The desktop reads the compiled database, not the packages: rebuild the user's.
  const QString update = QStandardPaths::findExecutable(QStringLiteral("update-mime-database"));
  if (update.isEmpty())
    return failed(QStringLiteral("update-mime-database was not found (package shared-mime-info)"));
  QProcess run;
  run.start(update, {mime});
  if (!run.waitForFinished(30000) || run.exitStatus() != QProcess::NormalExit ||
      run.exitCode() != 0)
    return failed(QStringLiteral("update-mime-database %1 failed: %2")
                      .arg(QDir::toNativeSeparators(mime),
                           QString::fromLocal8Bit(run.readAllStandardError()).trimmed()));
  return true;
}

bool RunLogType::registerForUser() {
  if (knownAsText()) return false;
  // A failure leaves run logs to the desktop's guess from their contents: no box at the first
  // start (View > Last Output still reports a log no viewer would take), a line on the console.
  QString error;
  if (declareForUser(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation), &error))
    return true;
  qWarning("Tessivar: run logs (.out) are not declared as text for the desktop: %s",
           qPrintable(error));
  return false;
}

}  // namespace tessivar
