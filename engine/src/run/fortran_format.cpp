#include "fortran_format.h"

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

std::string I(long long v, int w) { return rightJustify(std::to_string(v), w); }

std::string F(double v, int w, int d) {
  if (!std::isfinite(v)) return nonFinite(v, w);
  char buf[512];
  std::snprintf(buf, sizeof buf, "%.*f", d, v);
  std::string s = buf;
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
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.*E", d, v);
  std::string s = buf;  // d.dddE+xx or d.dddE+xxx
  const auto epos = s.find('E');
  std::string mant = s.substr(0, epos);
  int ex = std::atoi(s.c_str() + epos + 1);
  char exbuf[16];
  if (std::abs(ex) <= 99) {
    std::snprintf(exbuf, sizeof exbuf, "E%c%02d", ex < 0 ? '-' : '+', std::abs(ex));
  } else {
    std::snprintf(exbuf, sizeof exbuf, "%c%03d", ex < 0 ? '-' : '+', std::abs(ex));
  }
  return rightJustify(mant + exbuf, w);
}

std::string freeInt(long long v) { return std::to_string(v); }

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
