// The folder of the last answer file opened, kept in the per-user settings ("Harnwell Labs" /
// "Tessivar", value "LastFilePath"). At start it becomes the file dialogs' initial folder.
#pragma once

#include <QString>

class QSettings;

namespace tessivar {

class LastPath {
 public:
  static constexpr const char* kValueName = "LastFilePath";

  // True for an absolute path of the platform: "/..." on Unix; a drive path such as "d:\x"
  // on Windows (a server path "\\server\x" or a relative "abc" is not accepted).
  static bool acceptable(const QString& path);

  // GetLastPath: the stored folder when it is acceptable, else userDir.
  static QString get(const QSettings& settings, const QString& userDir);
  // Stores the folder of an answer file just opened.
  static void set(QSettings& settings, const QString& folder);
};

}  // namespace tessivar
