#include "FolderNames.h"

#include <QDir>
#include <QFileInfo>

namespace tessivar {

QString joinPath(const QString& folder, const QString& name) {
  QString f = QDir::fromNativeSeparators(folder);
  if (!f.isEmpty() && !f.endsWith('/')) f += '/';
  return QDir::toNativeSeparators(f + name);
}

QString matchInFolder(const QString& folder, const QString& name) {
  const QString exact = joinPath(folder, name);
  if (name.isEmpty() || QFileInfo::exists(exact)) return exact;
  const QStringList entries =
      QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
  for (const QString& entry : entries) {
    if (entry.compare(name, Qt::CaseInsensitive) == 0) return joinPath(folder, entry);
  }
  return exact;
}

}  // namespace tessivar
