// The per-user settings key the program clears on exit. QSettings organisation "Harnwell Labs",
// application "Tessivar" is the key "Software\Harnwell Labs\Tessivar"; the organisation alone
// is the key "Software\Harnwell Labs". The last answer-file folder is kept by LastPath.
#pragma once

#include <QString>

namespace tessivar {

// Clears "fileIn" under "Software\Harnwell Labs" when that key exists (it does once anything of
// the organisation or its program was stored).
void clearFileIn();

}  // namespace tessivar
