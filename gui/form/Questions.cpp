#include "Questions.h"

#include <array>

namespace tessivar {

namespace {

struct QuestionText {
  const char* caption;
  const char* defaultValue;
};

// "»" is U+00BB; it becomes the single byte 0xBB in answer files.
const std::array<QuestionText, kQuestionCount> kQuestions = {{
    {"1. \u00BB  File name containing data points for analysis?", "Real.Rda"},
    {"2. \u00BB  Skip how many (header) lines -before- starting to read data?", "0"},
    {"3. \u00BB  Total number of lines to read for data (0 ==> All)?", "0"},
    {"4. \u00BB  Data type:  Real -or- Complex?", ""},
    {"5. \u00BB  x-Data format in Time units ... HH:MM:SS?", ""},
    {"6. \u00BB  Select a Method/Algorithm for Spectral Estimation?", ""},
    {"7. \u00BB  Want negative frequencies in plots?", ""},
    {"8. \u00BB  nPoints: must be power of 2 (e.g. 64, 128, 256, etc.)?", "64"},
    {"9. \u00BB  nPoles: AR (AutoRegressive) model order? ", "10"},
    {"10. \u00BB  nZeros: MA (Moving Average) model order?", "0"},
    {"11. \u00BB  EPS: Small positive number to test for ill-conditioning of Hessian?", "1.e-15"},
    {"12. \u00BB  Mode: 0 or 1 ?", "0"},
    {"13. \u00BB  M equations: ?", "15"},
    {"14. \u00BB  L points: Large AR model order (nPoints / 5 usually works well)?", "18"},
    {"15. \u00BB  M lag: Largest Lag (M) ... M < nPoints / 2: ?", "30"},
    {"16. \u00BB  NIT: Maximum number of iterations allowed?", "99"},
    {"17. \u00BB  PER: stopping criterion, if % change from previous iteration less than PER?",
     "0.01"},
    {"18. \u00BB  Windows for Time Data?", "1"},
}};

struct MethodRow {
  const char* name;
  QList<int> required;
};

const std::array<MethodRow, 15>& methodRows() {
  static const std::array<MethodRow, 15> rows = {{
      {"-Select-", {}},
      {"Auto-Correlation", {9}},
      {"Burg", {9}},
      {"Covariance", {9, 11}},
      {"Modified Covariance", {9, 11}},
      {"MYWE", {9, 10, 11}},
      {"LSMYWE", {9, 10, 11, 13}},
      {"Mayne-Firoozan", {9, 10, 11, 14}},
      {"Durbin", {10, 14}},
      {"Periodogram", {18}},
      {"Blackman-Tukey", {12, 15}},
      {"MVSE", {9, 11, 12, 14}},
      {"Lockheed (Autocorr/Burg)", {9, 10}},
      {"Akaike", {9, 10, 11, 13, 16, 17}},
      {"RMLE", {9}},
  }};
  return rows;
}

}  // namespace

QString questionCaption(int i) {
  if (i < 1 || i > kQuestionCount) return {};
  return QString::fromUtf8(kQuestions[i - 1].caption);
}

QString questionDefault(int i) {
  if (i < 1 || i > kQuestionCount) return {};
  return QString::fromUtf8(kQuestions[i - 1].defaultValue);
}

const QStringList& methodEntries() {
  static const QStringList entries = [] {
    QStringList out;
    for (const MethodRow& row : methodRows()) out << QString::fromUtf8(row.name);
    return out;
  }();
  return entries;
}

QList<int> requiredList(const QString& method) {
  for (const MethodRow& row : methodRows()) {
    if (method == QString::fromUtf8(row.name)) return row.required;
  }
  return {};
}

bool methodNeedsRealData(const QString& method) {
  return method == QStringLiteral("Akaike") || method == QStringLiteral("RMLE");
}

}  // namespace tessivar
