#include "DemoCatalog.h"

namespace tessivar {

namespace {

// Descriptions 6 to 18 name the method and its textbook source; the data are the examples' own.
QString fromKay(const QString& method) {
  return method + QStringLiteral(" example (method as in Kay, Modern Spectral Estimation, 1988)");
}

}  // namespace

const std::array<DemoEntry, 18>& demoCatalog() {
  static const std::array<DemoEntry, 18> entries = {{
      {"Ex-0-pad.32",
       "minimal ... start here and watch as plot is filled in due to more zero padding", "< 9", ""},
      {"Ex-0-pad.64", "Zero padding (*.64) with 32 more zero padding points", "< 9", ""},
      {"Ex-0-pad.128", "Zero padding (*.128) with 64 more zero padding points", "< 9", ""},
      {"Ex-0-pad.256", "Zero padding (*.256) with 128 more zero padding points", "< 9", ""},
      {"Ex-0-pad.8k", "Zero padding (*.8k) with 7,900+ more zero padding points", "~20", ""},
      {"Ex-Auto.0", fromKay("Auto-Correlation"), "< 9", "<--- AR (AutoRegressive) methods"},
      {"Ex-Burg.0", fromKay("Burg"), "< 9", ""},
      {"Ex-Cov.0", fromKay("Covariance"), "< 9", ""},
      {"Ex-mCov.0", fromKay("Modified covariance"), "< 9", ""},
      {"Ex-RMLE.0", fromKay("RMLE"), "< 9", ""},
      {"Ex-Lock.0", "Lockheed example ... Auto-Corr. (4 Poles) & Burg (4 Zeros) Combo", "< 9", ""},
      {"Ex-Durbi.0", fromKay("Durbin"), "< 9", "<--- MA (Moving Average) method"},
      {"Ex-MYWE.0", fromKay("MYWE"), "< 9", "<--- ARMA methods"},
      {"Ex-LSMYW.0", fromKay("LSMYWE"), "< 9", ""},
      {"Ex-Mayne.0", fromKay("Mayne-Firoozan"), "< 9", ""},
      {"Ex-Perio.0", fromKay("Periodogram"), "< 9", "<--- Classical"},
      {"Ex-Black.0", fromKay("Blackman-Tukey"), "< 9", ""},
      {"Ex-MVSE.0", fromKay("MVSE"), "< 9", "<--- Min. Variance"},
  }};
  return entries;
}

const DemoEntry* findDemo(const QString& file) {
  for (const DemoEntry& e : demoCatalog()) {
    if (e.file.compare(file.trimmed(), Qt::CaseInsensitive) == 0) return &e;
  }
  return nullptr;
}

}  // namespace tessivar
