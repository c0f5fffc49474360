#include "fortran_format.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

namespace voxtrel::fmt {

namespace {

std::string rightJustify(const std::string& s, int w) {
  if (w <= 0) return s;
  if (static_cast<int>(s.size()) > w) return std::string(static_cast<std::size_t>(w), '*');
  return std::string(static_cast<std::size_t>(w) - s.size(), ' ') + s;
}

// Infinity and not-a-number print as words, as the run-time library of the field does.
std::string nonFinite(double v, int w) {
  std::string s;
  if (std::isnan(v)) {
    s = "NaN";
  } else {
    s = v < 0 ? "-Infinity" : "Infinity";
    if (w > 0 && static_cast<int>(s.size()) > w) s = v < 0 ? "-Inf" : "Inf";
  }
  return rightJustify(s, w);
}

// The field of text [begin, end) right-justified in w columns, appended to out.
void appendField(std::string& out, const char* begin, const char* end, int w) {
  const auto n = static_cast<std::size_t>(end - begin);
  if (w > 0 && n > static_cast<std::size_t>(w)) {
    out.append(static_cast<std::size_t>(w), '*');
    return;
  }
  if (w > 0) out.append(static_cast<std::size_t>(w) - n, ' ');
  out.append(begin, n);
}

// The d + 1 significant digits of |v| correctly rounded, and the decimal exponent, when v is a
// normal single-precision number and d <= 5, from the shortest digits that read back as that
// float: no decimal of d + 2 digits that lies between the value and those digits can be a
// rounding boundary of the d + 1 digits (it would be a shorter or a nearer choice, or farther
// from the value than half a float's last place, which is finer than their spacing), so both
// round alike; the one exception, shortest digits that end exactly halfway, goes to the exact
// conversion (false), as does every other value.
bool floatDigits(double v, int d, char* digits, int& exponent) {
  if (d < 0 || d > 5) return false;
  const float f = static_cast<float>(v);
  if (static_cast<double>(f) != v || !(std::fabs(f) >= std::numeric_limits<float>::min()) ||
      !std::isfinite(f))
    return false;
  char buf[32];
  const char* const end =
      std::to_chars(buf, buf + sizeof buf, std::fabs(f), std::chars_format::scientific).ptr;
  const char* const e = std::find(static_cast<const char*>(buf), end, 'e');
  char shortest[16];
  int k = 0;
  for (const char* q = buf; q != e; ++q)
    if (*q != '.') shortest[k++] = *q;
  int ex = 0;
  for (const char* q = e + 2; q < end; ++q) ex = ex * 10 + (*q - '0');
  exponent = e[1] == '-' ? -ex : ex;
  const int n = d + 1;
  for (int i = 0; i < n; ++i) digits[i] = i < k ? shortest[i] : '0';
  if (k <= n || shortest[n] < '5') return true;
  if (shortest[n] == '5' && k == n + 1) return false;  // halfway: the exact value decides
  int i = n - 1;
  while (i >= 0 && digits[i] == '9') digits[i--] = '0';
  if (i >= 0) {
    ++digits[i];
  } else {
    digits[0] = '1';
    ++exponent;
  }
  return true;
}

}  // namespace

std::string I(long long v, int w) {
  std::string s;
  appendI(s, v, w);
  return s;
}

void appendI(std::string& out, long long v, int w) {
  char buf[24];
  const char* const end = std::to_chars(buf, buf + sizeof buf, v).ptr;
  appendField(out, buf, end, w);
}

// The digits come from the shortest-path decimal conversion with a precision (exactly the text of
// printf's %.*f and %.*E, correctly rounded from the binary value), without printf's
// multi-precision path.
std::string F(double v, int w, int d) {
  if (!std::isfinite(v)) return nonFinite(v, w);
  char buf[400];  // 309 integer digits, the sign, the point and the decimals asked for
  std::string s;
  if (d >= 0 && d <= 64) {
    const auto [p, ec] = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, d);
    s.assign(buf, ec == std::errc() ? p : buf);
  }
  if (s.empty()) {  // more decimals than any field of the log asks for
    char wide[512];
    std::snprintf(wide, sizeof wide, "%.*f", d, v);
    s = wide;
  }
  // A value below one keeps its leading zero only when there is room for it.
  if (static_cast<int>(s.size()) > w) {
    if (s.rfind("0.", 0) == 0) {
      s.erase(0, 1);
    } else if (s.rfind("-0.", 0) == 0) {
      s.erase(1, 1);
    }
  }
  return rightJustify(s, w);
}

std::string E(double v, int w, int d) {
  std::string s;
  appendE(s, v, w, d);
  return s;
}

void appendE(std::string& out, double v, int w, int d) {
  if (!std::isfinite(v)) {
    out += nonFinite(v, w);
    return;
  }
  char digits[8];
  int exponent = 0;
  if (floatDigits(v, d, digits, exponent)) {
    char field[24];  // -d.ddddd E+xx
    char* q = field;
    if (v < 0) *q++ = '-';
    *q++ = digits[0];
    if (d > 0) {
      *q++ = '.';
      for (int i = 1; i <= d; ++i) *q++ = digits[i];
    }
    const int ex = exponent < 0 ? -exponent : exponent;  // at most 38
    *q++ = 'E';
    *q++ = exponent < 0 ? '-' : '+';
    *q++ = static_cast<char>('0' + ex / 10);
    *q++ = static_cast<char>('0' + ex % 10);
    appendField(out, field, q, w);
    return;
  }
  char buf[160];  // d.ddde+xxx
  const char* p = buf;
  if (d >= 0 && d <= 100) {
    p = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific, d).ptr;
  } else {
    p = buf + std::min<int>(std::snprintf(buf, sizeof buf, "%.*e", d, v), sizeof buf - 1);
  }
  const char* epos = std::find(static_cast<const char*>(buf), p, 'e');
  std::string s(static_cast<const char*>(buf), epos);
  // The exponent: "E+xx" in two digits, or its sign and three digits when it needs three.
  const bool negative = epos[1] == '-';
  int ex = 0;
  for (const char* q = epos + 2; q < p; ++q) ex = ex * 10 + (*q - '0');
  if (ex <= 99) {
    s += 'E';
    s += negative ? '-' : '+';
    s += static_cast<char>('0' + ex / 10);
    s += static_cast<char>('0' + ex % 10);
  } else {
    s += negative ? '-' : '+';
    s += static_cast<char>('0' + ex / 100);
    s += static_cast<char>('0' + ex / 10 % 10);
    s += static_cast<char>('0' + ex % 10);
  }
  appendField(out, s.data(), s.data() + s.size(), w);
}

std::string freeInt(long long v) {
  return std::to_string(v);
}

std::string freeReal(float v) {
  std::string s;
  appendFreeReal(s, v);
  return s;
}

std::string freeReal(double v) {
  std::string s;
  appendFreeReal(s, v);
  return s;
}

void appendFreeInt(std::string& out, long long v) {
  appendI(out, v, 0);
}

void appendFreeReal(std::string& out, float v) {
  if (!std::isfinite(v)) {
    out += nonFinite(v, 0);
    return;
  }
  char buf[64];
  out.append(buf, std::to_chars(buf, buf + sizeof buf, v).ptr);
}

void appendFreeReal(std::string& out, double v) {
  if (!std::isfinite(v)) {
    out += nonFinite(v, 0);
    return;
  }
  char buf[64];
  out.append(buf, std::to_chars(buf, buf + sizeof buf, v).ptr);
}

std::string padRight(std::string_view s, std::size_t w) {
  std::string r(s.substr(0, w));
  r.resize(w, ' ');
  return r;
}

std::string_view trimRight(std::string_view s) {
  const auto e = s.find_last_not_of(' ');
  return e == std::string_view::npos ? std::string_view{} : s.substr(0, e + 1);
}

}  // namespace voxtrel::fmt
