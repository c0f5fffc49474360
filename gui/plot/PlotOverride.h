// The axis overrides of the Setup tab as the plot reads them: a minimum and a step for a fixed
// number of steps, checked before anything is drawn.
#pragma once

#include <QString>
#include <optional>

namespace tessivar {

struct AxisOverride {
  bool ticked = false;
  QString minText;
  QString stepText;
};

struct OverrideLimits {
  float min = 0;
  float max = 0;
};

// The limits an override asks for: min and min + steps x step. A minimum that is not a number,
// or a step that is not a number above zero, cannot give a plot: then `error` holds the message
// that names the box and the way on. `axis` is "X" or "Y".
struct OverrideCheck {
  std::optional<OverrideLimits> limits;
  QString error;
};
OverrideCheck checkOverride(const AxisOverride& o, const QString& axis, int steps);

// Title of the message box that refuses an override.
inline const QString kOverrideErrorTitle = QStringLiteral("In 'PlotSpectrum' routine ...");

}  // namespace tessivar
