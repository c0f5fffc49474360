#include "LastPath.h"

#include <QDir>
#include <QSettings>

namespace tessivar {

bool LastPath::acceptable(const QString& path) {
#ifdef Q_OS_WIN
  return path.size() >= 3 && path[0].isLetter() && path[1] == ':' &&
         (path[2] == '\\' || path[2] == '/');
#else
  return path.startsWith('/');
#endif
}

QString LastPath::get(const QSettings& settings, const QString& userDir) {
  const QString stored = settings.value(QString::fromLatin1(kValueName)).toString().trimmed();
  return acceptable(stored) ? QDir::toNativeSeparators(stored) : userDir;
}

void LastPath::set(QSettings& settings, const QString& folder) {
  settings.setValue(QString::fromLatin1(kValueName), QDir::toNativeSeparators(folder));
}

}  // namespace tessivar
