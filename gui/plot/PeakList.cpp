#include "PeakList.h"

#include <cmath>
#include <utility>

#include "NumberFormat.h"

namespace tessivar {

namespace {

constexpr int kMaxPeaks = 50;

QString neighbourLine(double frequency, float amplitude) {
  return QStringLiteral("\r\n ---------------------") + formatDouble(frequency) +
         "  Ampl. = " + formatSingle(amplitude);
}

}  // namespace

QString ListPeaks(std::vector<float>& x, std::vector<float>& y, double xDivisor) {
  const std::size_t npts = std::min(x.size(), y.size());
  std::vector<std::size_t> pk;  // zero-based indices of the peaks
  // Point 1 counts as a peak when the spectrum falls away from it; the last point never does,
  // having no right-hand neighbour. A plateau is no peak.
  if (npts >= 2 && x[0] > 0 && y[0] > y[1]) pk.push_back(0);
  for (std::size_t i = 1; i + 1 < npts && pk.size() < kMaxPeaks; ++i) {
    if (x[i] > 0 && y[i - 1] < y[i] && y[i] > y[i + 1]) pk.push_back(i);
  }

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
