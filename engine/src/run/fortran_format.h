// Number formatting for the run log: the fixed-width edit descriptors (I, F, E with one digit
// before the point) and the free default width of list-directed output, in one place.
#pragma once

#include <string>
#include <string_view>

namespace voxtrel::fmt {

// Iw: integer right-justified in w columns; w asterisks when it does not fit.
std::string I(long long v, int w);

// Fw.d: fixed notation, d decimals, right-justified in w columns; asterisks when it does not fit.
std::string F(double v, int w, int d);

// 1PEw.d: scientific notation with one digit before the point, d decimals and a signed
// two-digit exponent ("1.000E-15"), right-justified in w columns; asterisks when it does not fit.
std::string E(double v, int w, int d);

// Free-form numbers: integers in decimal, reals in their shortest exact single-precision form.
std::string freeInt(long long v);
std::string freeReal(float v);
std::string freeReal(double v);

// The same fields appended to a line being built, without a string of their own.
void appendI(std::string& out, long long v, int w);
void appendE(std::string& out, double v, int w, int d);
void appendFreeInt(std::string& out, long long v);
void appendFreeReal(std::string& out, float v);
void appendFreeReal(std::string& out, double v);

// Text padded with blanks on the right (or cut) to exactly w columns.
std::string padRight(std::string_view s, std::size_t w);

// Text with trailing blanks removed.
std::string_view trimRight(std::string_view s);

}  // namespace voxtrel::fmt
