#include "FileAssoc.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>

namespace tessivar {

namespace {

std::unique_ptr<QSettings> platformClassesRoot() {
#ifdef Q_OS_WIN
  return std::make_unique<QSettings>(QStringLiteral("HKEY_CLASSES_ROOT"), QSettings::NativeFormat);
#else
  const QString dir = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                      QStringLiteral("/Harnwell Labs");
  QDir().mkpath(dir);
  return std::make_unique<QSettings>(dir + QStringLiteral("/classes-root.ini"),
                                     QSettings::IniFormat);
#endif
}

std::unique_ptr<QSettings> platformCurrentUser() {
#ifdef Q_OS_WIN
  return std::make_unique<QSettings>(QStringLiteral("HKEY_CURRENT_USER"), QSettings::NativeFormat);
#else
  const QString dir = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                      QStringLiteral("/Harnwell Labs");
  QDir().mkpath(dir);
  return std::make_unique<QSettings>(dir + QStringLiteral("/current-user.ini"),
                                     QSettings::IniFormat);
#endif
}

}  // namespace

FileAssoc::FileAssoc() : FileAssoc(platformClassesRoot(), platformCurrentUser()) {}

FileAssoc::FileAssoc(std::unique_ptr<QSettings> classesRoot, std::unique_ptr<QSettings> currentUser)
    : classesRoot_(std::move(classesRoot)), currentUser_(std::move(currentUser)) {}

FileAssoc::~FileAssoc() = default;

QSettings& FileAssoc::store(Hive hive) const {
  return hive == Hive::ClassesRoot ? *classesRoot_ : *currentUser_;
}

QString FileAssoc::valueKey(const QString& key, const QString& valueName) {
  QString k = key;
  k.replace('\\', '/');
  return k + '/' + (valueName.isEmpty() ? QStringLiteral("Default") : valueName);
}

QString FileAssoc::ReadString(Hive hive, const QString& key, const QString& valueName,
                              const QString& fallback) const {
  const QString v = store(hive).value(valueKey(key, valueName)).toString().trimmed();
  return v.isEmpty() ? fallback : v;
}

QString FileAssoc::GetAssociation(const QString& extension) const {
  return ReadString(Hive::ClassesRoot, '.' + extension, QString(), QString());
}

int FileAssoc::WriteString(Hive hive, const QString& key, const QString& valueName,
                           const QString& text) {
  QSettings& s = store(hive);
  s.setValue(valueKey(key, valueName), text);
  s.sync();
  return static_cast<int>(s.status());
}

int FileAssoc::RegisterAssociation(const QString& extension, const QString& directory,
                                   const QString& typeName, const QString& description,
                                   const QString& iconPath) {
  QString dir = directory;
  const QChar sep = dir.contains('\\') ? QChar('\\') : QDir::separator();
  if (!dir.endsWith(sep)) dir += sep;
  int status = WriteString(Hive::ClassesRoot, '.' + extension, QString(), typeName);
  if (status == 0) status = WriteString(Hive::ClassesRoot, typeName, QString(), description);
  if (status == 0 && !iconPath.isEmpty())
    status = WriteString(Hive::ClassesRoot, typeName + QStringLiteral("\\DefaultIcon"), QString(),
                         iconPath + QStringLiteral(",0"));
  if (status == 0)
    status = WriteString(Hive::ClassesRoot, typeName + QStringLiteral("\\shell\\open\\command"),
                         QString(), '"' + dir + typeName + QStringLiteral("\" %1"));
  return status;
}

bool FileAssoc::registerRunLogViewer() {
  if (!GetAssociation(QStringLiteral("Out")).isEmpty()) return false;
#ifdef Q_OS_WIN
  QString windows = qEnvironmentVariable("SystemRoot");
  if (windows.isEmpty()) windows = QStringLiteral("c:\\windows");
  RegisterAssociation(QStringLiteral("Out"), windows, QStringLiteral("notePad"),
                      QStringLiteral("Zephq Output"), QString());
#else
  RegisterAssociation(QStringLiteral("Out"), QStringLiteral("/usr/bin"), QStringLiteral("xdg-open"),
                      QStringLiteral("Zephq Output"), QString());
#endif
  return true;
}

}  // namespace tessivar
