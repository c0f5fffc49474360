#include "ReadOut.h"

#include <algorithm>
#include <cmath>

#include "NumberFormat.h"

namespace tessivar {

std::optional<ReadOut> readOutAt(const std::vector<float>& freq, const std::vector<float>& db,
                                 const HeldCurves& held, double f) {
  std::optional<ReadOut> r;
  double best = 0;
  const std::size_t n = std::min(freq.size(), db.size());
  for (std::size_t i = 0; i < n; ++i) {
    if (!std::isfinite(freq[i]) || !std::isfinite(db[i])) continue;
    const double d = std::abs(freq[i] - f);
    if (!r || d < best) {
      best = d;
      r = ReadOut{static_cast<int>(i), freq[i], db[i], {}};
    }
  }
  if (!r) return r;
  for (const HeldCurve& c : held.curves()) r->held.push_back(valueAt(c, r->freq));
  return r;
}

std::optional<float> valueAt(const HeldCurve& c, double f) {
  const std::size_t n = std::min(c.freq.size(), c.db.size());
  // The curve's frequencies ascend or (with negative frequencies first) at least keep one
  // direction; the pair around f is searched without assuming which.
  for (std::size_t i = 0; i < n; ++i) {
    if (c.freq[i] == f) return c.db[i];
    if (i + 1 == n) break;
    const double a = c.freq[i], b = c.freq[i + 1];
    if ((f - a) * (f - b) >= 0) continue;
    const float ya = c.db[i], yb = c.db[i + 1];
    if (!std::isfinite(ya) || !std::isfinite(yb))
      return std::abs(f - a) <= std::abs(f - b) ? ya : yb;
    return static_cast<float>(ya + (yb - ya) * (f - a) / (b - a));
  }
  return std::nullopt;
}

QString readOutText(const ReadOut& r, const HeldCurves& held) {
  QString text = QStringLiteral("Frequency = ") + formatSingle(r.freq).trimmed() +
                 QStringLiteral("   PSD = ") + formatSingle(r.db).trimmed() + QStringLiteral(" dB");
  for (int i = 0; i < held.size() && i < static_cast<int>(r.held.size()); ++i) {
    const auto& v = r.held[static_cast<std::size_t>(i)];
    text += QStringLiteral("   |   ") + held[i].label + QStringLiteral(": ") +
            (v ? formatSingle(*v).trimmed() + QStringLiteral(" dB") : QStringLiteral("-"));
  }
  return text;
}

}  // namespace tessivar
