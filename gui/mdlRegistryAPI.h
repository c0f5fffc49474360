// The per-user settings the run set-up keeps (the last answer-file folder is LastPath's): QSettings
// organisation "Harnwell Labs", application "Tessivar" is the key "Software\Harnwell
// Labs\Tessivar"; the organisation alone is the key "Software\Harnwell Labs".
#pragma once

#include <QString>

namespace tessivar {

// Clears "fileIn" under "Software\Harnwell Labs" when that key exists (it does once anything of
// the organisation or its program was stored).
void clearFileIn();

}  // namespace tessivar
