// Which program opens files of a given extension. On Windows this is the class registry
// (HKEY_CLASSES_ROOT); elsewhere the same keys live in a per-user settings file that stands for
// it ("Harnwell Labs/classes-root.ini" in the user's configuration folder). The program's first
// start uses it on Windows only: other desktops open run logs by their MIME type (RunLogType).
//
// A key's default value is the value named "Default", as QSettings names it in the registry.
// Failures are not reported to the user: a failed read gives the default, a failed write
// returns a non-zero status that the caller may ignore.
#pragma once

#include <QString>
#include <memory>

class QSettings;

namespace tessivar {

class FileAssoc {
 public:
  enum class Hive { ClassesRoot, CurrentUser };

  // The platform's stores.
  FileAssoc();
  // Stores given by the caller (tests): every key goes into these settings.
  FileAssoc(std::unique_ptr<QSettings> classesRoot, std::unique_ptr<QSettings> currentUser);
  ~FileAssoc();

  // The value read, trimmed; `fallback` when the key or value is missing or empty. An empty
  // valueName reads the key's default value.
  QString ReadString(Hive hive, const QString& key, const QString& valueName,
                     const QString& fallback) const;
  // The program registered for ".<extension>": the type name, or empty.
  QString GetAssociation(const QString& extension) const;
  // Creates or opens the key and sets the value; 0 on success, else the settings' error status.
  int WriteString(Hive hive, const QString& key, const QString& valueName, const QString& text);
  // Registers the program `typeName` in `directory` as the opener of ".<extension>" files:
  //   .<extension>                  = typeName
  //   typeName                      = description
  //   typeName\DefaultIcon          = iconPath + ",0"   (only with an icon)
  //   typeName\shell\open\command   = "<directory><sep><typeName>" %1
  // `directory` gets a trailing separator when it has none (a backslash when it is written with
  // backslashes, as "c:\windows").
  int RegisterAssociation(const QString& extension, const QString& directory,
                          const QString& typeName, const QString& description,
                          const QString& iconPath);

  // First start: when nothing opens ".Out" files yet, registers the text viewer for run logs.
  // True when it registered; an existing association is left untouched.
  bool registerRunLogViewer();

 private:
  QSettings& store(Hive hive) const;
  static QString valueKey(const QString& key, const QString& valueName);

  std::unique_ptr<QSettings> classesRoot_, currentUser_;
};

}  // namespace tessivar
