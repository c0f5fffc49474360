// Names in the program's folders are matched without regard to case, as on the file system the
// program was made for: "ex-auto.0" finds "Ex-Auto.0", "User" finds "user". On a case-sensitive
// file system the exact name is tried first, then the folder is searched.
#pragma once

#include <QString>

namespace tessivar {

// The path of the entry `name` in `folder`, spelled as it exists on disk; when there is no such
// entry, folder + "/" + name as given. Native separators.
QString matchInFolder(const QString& folder, const QString& name);

// Joins folder and name with the platform's separator (no case matching).
QString joinPath(const QString& folder, const QString& name);

}  // namespace tessivar
