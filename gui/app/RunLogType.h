// Run logs (".out" files: "~Tirelle.out" and the copies kept beside answer files) open in the
// user's text editor. On Windows the first start registers the text editor for the extension in
// the class registry (FileAssoc). Other desktops choose the program for a file by its MIME type:
// the installation declares run logs the type text/x-tessivar-run-log, a kind of text/plain
// (share/mime/packages/tessivar-run-log.xml), and the desktop hands them to whatever program the
// user opens text with. A program started where the desktop does not look (its build folder, or
// an installation prefix outside the desktop's data folders) declares the type for its user at
// the first start instead, in the user's own MIME database.
#pragma once

#include <QString>

namespace tessivar {

class RunLogType {
 public:
  static constexpr const char* kMimeType = "text/x-tessivar-run-log";
  static constexpr const char* kPackageName = "tessivar-run-log.xml";

  // Whether the desktop's MIME database takes a run log for text.
  static bool knownAsText();
  // The declaration the installation puts in share/mime/packages, as built into the program.
  static QByteArray package();
  // Writes the declaration into dataHome/mime/packages and rebuilds the user's MIME database
  // there with update-mime-database (when it is installed). False, with `error` naming the file
  // or the tool, when the declaration could not be written or the database not rebuilt.
  static bool declareForUser(const QString& dataHome, QString* error = nullptr);
  // First start: declares the type for the user (in the user's data folder) unless the desktop
  // already takes run logs for text. True when it declared.
  static bool registerForUser();
};

}  // namespace tessivar
