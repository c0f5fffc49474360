// The per-user settings the run set-up keeps: QSettings organisation "Harnwell Labs",
// application "Tessivar" is the key "Software\Harnwell Labs\Tessivar"; the organisation alone
// is the key "Software\Harnwell Labs".
#pragma once

#include <QString>

namespace tessivar {

// "LastFilePath": the folder of the last answer file opened; empty when none is stored.
QString lastFilePath();
void setLastFilePath(const QString& dir);

// Clears "fileIn" under "Software\Harnwell Labs" when that key exists (it does once anything of
// the organisation or its program was stored).
void clearFileIn();

}  // namespace tessivar
