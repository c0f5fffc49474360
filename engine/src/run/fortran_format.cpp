#include "fortran_format.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

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

}  // namespace

std::string I(long long v, int w) {
  return rightJustify(std::to_string(v), w);
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
  if (!std::isfinite(v)) return nonFinite(v, w);
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
  return rightJustify(s, w);
}

std::string freeInt(long long v) {
  return std::to_string(v);
}

std::string freeReal(float v) {
  if (!std::isfinite(v)) return nonFinite(v, 0);
  char buf[64];
  auto [p, ec] = std::to_chars(buf, buf + sizeof buf, v);
  (void)ec;
  return std::string(buf, p);
}

std::string freeReal(double v) {
  if (!std::isfinite(v)) return nonFinite(v, 0);
  char buf[64];
  auto [p, ec] = std::to_chars(buf, buf + sizeof buf, v);
  (void)ec;
  return std::string(buf, p);
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
