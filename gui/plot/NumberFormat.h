// Numbers as the program shows them: the general number format of the Output box and the plot
// texts, the "#" format codes of the axis labels, and the leading-number reading of text boxes.
#pragma once

#include <QString>
#include <optional>

namespace tessivar {

// General format of a single-precision value: up to 7 significant digits, a leading blank for a
// non-negative value, no zero before the point of a magnitude below 1 (" .25", "-.5") and the
// exponent form with a signed two-digit exponent when the plain form would need it (" 1E-05",
// " 1.234568E+07").
QString formatSingle(float v);
// The same with up to 15 significant digits, for double-precision values.
QString formatDouble(double v);

// A numeric format code made of "#" places with an optional point ("###.#", "###.##"): each
// place prints a digit or nothing, so no leading or trailing zero is printed; 5.06 gives "5.1",
// 12 gives "12." and 0 gives ".". The value is rounded half away from zero at the last place.
QString formatCode(double v, const QString& code);

// Reads the number at the start of a text box's text, as the program's text boxes are read:
// leading blanks are skipped, then an optional sign, digits, an optional point and digits and an
// optional exponent (E or D); whatever follows is ignored and text with no number reads as 0.
double leadingNumber(const QString& text);

// The whole text (blanks around it allowed) as a number, or nothing when it is not one.
std::optional<double> wholeNumber(const QString& text);

}  // namespace tessivar
