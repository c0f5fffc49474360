#include "PlotOverride.h"

#include <cmath>

#include "NumberFormat.h"

namespace tessivar {

OverrideCheck checkOverride(const AxisOverride& o, const QString& axis, int steps) {
  OverrideCheck r;
  const QString minLabel = QStringLiteral("Enter %1-min value:").arg(axis);
  const QString stepLabel = QStringLiteral("%1-step for %2 steps:").arg(axis).arg(steps);
  const QString checkLabel = QStringLiteral("Use following %1 values for plots:").arg(axis);
  const QString wayOn = QStringLiteral("\r\nPlease correct it on the 'Setup' tab, or clear '") +
                        checkLabel + QStringLiteral("', and plot again.");
  const auto min = wholeNumber(o.minText);
  if (!min) {
    r.error = QStringLiteral("No plot drawn: '") + minLabel + QStringLiteral("' holds \"") +
              o.minText + QStringLiteral("\", which is not a number.") + wayOn;
    return r;
  }
  const auto step = wholeNumber(o.stepText);
  if (!step || *step <= 0) {
    r.error = QStringLiteral("No plot drawn: '") + stepLabel + QStringLiteral("' holds \"") +
              o.stepText + QStringLiteral("\"; the step must be a number above zero.") + wayOn;
    return r;
  }
  const float lo = static_cast<float>(*min);
  const float hi = static_cast<float>(lo + steps * *step);
  if (!std::isfinite(lo) || !std::isfinite(hi) || !(hi > lo)) {
    r.error = QStringLiteral("No plot drawn: '") + minLabel + QStringLiteral("' \"") + o.minText +
              QStringLiteral("\" and '") + stepLabel + QStringLiteral("' \"") + o.stepText +
              QStringLiteral("\" give no usable range in single precision.") + wayOn;
    return r;
  }
  r.limits = OverrideLimits{lo, hi};
  return r;
}

}  // namespace tessivar
