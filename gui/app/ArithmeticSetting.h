// Whether runs compute in double precision, kept in the per-user settings ("Harnwell Labs" /
// "Tessivar", value "DoublePrecisionArithmetic"). Off until the user turns it on in the View
// menu: the classic single-precision arithmetic is the default. The answer file is not touched.
#pragma once

class QSettings;

namespace tessivar {

class ArithmeticSetting {
 public:
  static constexpr const char* kValueName = "DoublePrecisionArithmetic";

  // The stored choice; false when nothing is stored.
  static bool doublePrecision(const QSettings& settings);
  static void setDoublePrecision(QSettings& settings, bool on);
};

}  // namespace tessivar
