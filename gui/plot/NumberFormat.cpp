#include "NumberFormat.h"

#include <QLocale>
#include <cmath>

namespace tessivar {

namespace {

// Shortest form with `digits` significant digits: %G chooses the exponent form when the
// decimal exponent is below -4 or not below the digit count, which is the point at which the
// plain form would need leading zeros beyond ".0001" or more digits than are kept.
QString general(double v, int digits) {
  if (std::isnan(v)) return QStringLiteral(" NaN");
  if (std::isinf(v)) return v > 0 ? QStringLiteral(" Inf") : QStringLiteral("-Inf");
  // QString::number is independent of the user's locale, as the Output box's numbers must be.
  QString s = QString::number(v, 'G', digits);
  const bool negative = s.startsWith('-');
  if (negative) s.remove(0, 1);
  if (s == QLatin1String("0")) return QStringLiteral(" 0");
  if (s.startsWith(QLatin1String("0."))) s.remove(0, 1);  // ".25", not "0.25"
  return (negative ? QStringLiteral("-") : QStringLiteral(" ")) + s;
}

}  // namespace

QString formatSingle(float v) {
  return general(static_cast<double>(v), 7);
}

QString formatDouble(double v) {
  return general(v, 15);
}

QString formatCode(double v, const QString& code) {
  const qsizetype point = code.indexOf('.');
  const int decimals = point < 0 ? 0 : static_cast<int>(code.size() - point - 1);
  if (!std::isfinite(v)) return formatDouble(v).trimmed();
  // Round on the 15-digit decimal form of the value, so that 12.345 (stored as 12.3449999...)
  // rounds up as written.
  const double decimalValue = QString::number(std::fabs(v), 'E', 14).toDouble();
  const double scale = std::pow(10.0, decimals);
  const double scaled = std::floor(decimalValue * scale + 0.5 + 1e-9);
  QString digits = QString::number(scaled, 'f', 0);
  const bool zero = digits == QLatin1String("0");
  if (zero) digits.clear();
  while (digits.size() < decimals) digits.prepend('0');
  QString intPart = digits.left(digits.size() - decimals);
  QString fracPart = digits.right(decimals);
  while (fracPart.endsWith('0')) fracPart.chop(1);
  QString out = intPart;
  if (point >= 0) out += '.' + fracPart;
  if (v < 0 && !zero) out.prepend('-');  // a value that rounds to nothing has no sign
  return out;
}

namespace {

// Length of the number at the start of s (after blanks), 0 when there is none.
qsizetype numberPrefix(const QString& s, qsizetype start) {
  qsizetype i = start;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
  qsizetype mantissaDigits = 0;
  while (i < s.size() && s[i].isDigit()) ++i, ++mantissaDigits;
  if (i < s.size() && s[i] == '.') {
    ++i;
    while (i < s.size() && s[i].isDigit()) ++i, ++mantissaDigits;
  }
  if (mantissaDigits == 0) return 0;
  if (i < s.size() && (s[i] == 'E' || s[i] == 'e' || s[i] == 'D' || s[i] == 'd')) {
    qsizetype j = i + 1;
    if (j < s.size() && (s[j] == '+' || s[j] == '-')) ++j;
    const qsizetype expStart = j;
    while (j < s.size() && s[j].isDigit()) ++j;
    if (j > expStart) i = j;
  }
  return i - start;
}

// The number in s[start, start + length), or nothing when it overflows.
std::optional<double> parsePrefix(const QString& s, qsizetype start, qsizetype length) {
  QString text = s.mid(start, length);
  text.replace('D', 'E').replace('d', 'E');
  if (text.startsWith('.') || text.startsWith(QLatin1String("-.")) ||
      text.startsWith(QLatin1String("+.")))
    text.insert(text.indexOf('.'), '0');
  if (text.endsWith('.')) text += '0';
  bool ok = false;
  const double v = QLocale::c().toDouble(text, &ok);
  if (!ok || !std::isfinite(v)) return std::nullopt;
  return v;
}

}  // namespace

double leadingNumber(const QString& text) {
  qsizetype start = 0;
  while (start < text.size() && text[start].isSpace()) ++start;
  const qsizetype length = numberPrefix(text, start);
  if (length == 0) return 0.0;
  return parsePrefix(text, start, length).value_or(0.0);
}

std::optional<double> wholeNumber(const QString& text) {
  const QString t = text.trimmed();
  const qsizetype length = numberPrefix(t, 0);
  if (length == 0 || length != t.size()) return std::nullopt;
  return parsePrefix(t, 0, length);
}

}  // namespace tessivar
