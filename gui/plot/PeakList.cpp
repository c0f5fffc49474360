#include "PeakList.h"

#include <cmath>
#include <utility>

#include "NumberFormat.h"
#include "voxtrel/spectrum_csv.h"

namespace tessivar {

namespace {

constexpr std::size_t kMaxPeaks = voxtrel::csv::kListedPeaks;

QString neighbourLine(double frequency, float amplitude) {
  return QStringLiteral("\r\n ---------------------") + formatDouble(frequency) +
         "  Ampl. = " + formatSingle(amplitude);
}

}  // namespace

QString ListPeaks(std::vector<float>& x, std::vector<float>& y, double xDivisor) {
  const std::size_t npts = std::min(x.size(), y.size());
  // Local maxima at positive frequencies, in frequency order: the rule the exported peaks
  // file follows too.
  const std::vector<std::size_t> pk = voxtrel::csv::peakIndices(
      std::span<const float>(x.data(), npts), std::span<const float>(y.data(), npts), kMaxPeaks);

  QString out;
  if (!pk.empty()) {
    out += QStringLiteral("\r\n --------------------------------------");
    out += QStringLiteral("\r\n PSD waveform contained following peaks");
    out += QStringLiteral("\r\n --------------------------------------");
  }
  for (std::size_t k = 0; k < pk.size(); ++k) {
    const std::size_t idx = pk[k];
    out += QStringLiteral("\r\n ");
    if (idx > 0) out += neighbourLine(x[idx - 1] * xDivisor, y[idx - 1]);
    out += QStringLiteral("\r\n Peak #") + formatSingle(static_cast<float>(k + 1)) +
           "  at Freq =" + formatDouble(x[idx] * xDivisor) + "  Ampl. = " + formatSingle(y[idx]);
    // The point after: a peak is never the last point, so idx + 1 exists.
    out += neighbourLine(x[idx + 1] * xDivisor, y[idx + 1]);
    x[k] = x[idx];
    y[k] = y[idx];
  }

  // Largest amplitude first: each later larger value is swapped into place c.
  const std::size_t count = pk.size();
  for (std::size_t c = 0; c < count; ++c) {
    for (std::size_t j = c + 1; j < count; ++j) {
      if (y[j] > y[c]) {
        std::swap(y[j], y[c]);
        std::swap(x[j], x[c]);
      }
    }
  }

  QString list = count == 0 ? QStringLiteral("none > 0!") : QString();
  for (std::size_t c = 0; c < count; ++c) {
    list +=
        QStringLiteral("  ") + formatDouble(std::nearbyint(static_cast<double>(x[c]) * xDivisor));
  }
  out += QStringLiteral("\r\n ");
  out += QStringLiteral("\r\n Peak Frequencies: ") + list;
  return out;
}

}  // namespace tessivar
