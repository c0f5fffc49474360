#include "TessivarIni.h"

#include <QFile>
#include <QFileInfo>
#include <QLocale>

#include "FolderNames.h"
#include "SafeWrite.h"
#include "SingleByte.h"
#include "mdlCommonFiles.h"

namespace tessivar {

namespace {

// The run-time error number the program reports for file trouble.
constexpr int kPathFileAccessError = 75;

}  // namespace

QString TessivarIni::path() const {
  return matchInFolder(baseDir_, QString::fromLatin1(kFileName));
}

bool TessivarIni::exists() const {
  return QFileInfo(path()).isFile();
}

QByteArray TessivarIni::firstStartText(const QDate& today) {
  const QString date = QLocale::system().toString(today, QLocale::ShortFormat);
  QString text = QStringLiteral("Tessivar") + QStringLiteral("\u2122 Program") + QString(17, ' ') +
                 date + QStringLiteral("\r\n");
  text += QStringLiteral("1") + QStringLiteral("             ! Increase if ") +
          QStringLiteral("COMMAND still active and stops your run") + QStringLiteral("\r\n");
  text += QStringLiteral("no name") + QStringLiteral("             ! User name") +
          QStringLiteral("\r\n");
  return toSingleByte(text);
}

bool TessivarIni::startIni(IniValues& values, IniError& error, const QDate& today) {
  values = IniValues{};
  const QString file = path();
  if (!exists()) {
    values.userName = QStringLiteral("no name");
    // Written whole or not at all: a half-written file would mark the first start as done.
    if (const std::optional<QString> reason = writeFileSafely(file, firstStartText(today))) {
      error = {kPathFileAccessError,
               QStringLiteral("Path/File access error (%1: %2)").arg(file, *reason)};
      return false;
    }
    return true;
  }
  // Lines 2 and 3 hold the values, read by the answer files' value rule.
  AnsFileReader in;
  if (!in.open(file)) {
    error = {kPathFileAccessError,
             QStringLiteral("Path/File access error (%1: %2)").arg(file, in.error())};
    return false;
  }
  QString lines[3];
  for (QString& line : lines) {
    line = in.ReadAnsValue();
    // A line that is missing counts as not given: the factor stays 1, the name empty. The two
    // values are kept for compatibility only, so a damaged file does not stop the program.
    if (line == kEndOfFile) line.clear();
  }
  auto value = [&](int i) { return lines[i]; };
  bool ok = false;
  const float factor = value(1).toFloat(&ok);
  // The factor is kept for compatibility only; a value that is not a number stays 1.
  if (ok && factor > 0) values.timeFactor = factor;
  values.userName = value(2);
  return true;
}

QString TessivarIni::errorText(const IniError& error) const {
  return QStringLiteral("Unexpected error #") + QString::number(error.number) +
         QStringLiteral(" occured: ") + QStringLiteral("\r\n") + QStringLiteral("Path =") +
         baseDir_ + QStringLiteral("\r\n") + error.description +
         QStringLiteral(". Suggest re-installing ") + QStringLiteral("Tessivar") +
         QStringLiteral(".");
}

}  // namespace tessivar
