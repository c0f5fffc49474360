// The cursor read-out of the plot: at a frequency the mouse points to, the nearest point of
// the current curve and the value of each held curve at that point's frequency, and the text
// the status bar shows for them in the plot's number format.
#pragma once

#include <QString>
#include <optional>
#include <vector>

#include "HeldCurves.h"

namespace tessivar {

struct ReadOut {
  int index = 0;   // of the current curve's nearest point
  float freq = 0;  // that point's frequency and decibels
  float db = 0;
  // Each held curve's decibels at `freq`, straight-line between its two neighbouring points;
  // nothing where the frequency lies outside the held curve's range.
  std::vector<std::optional<float>> held;
};

// The read-out at frequency f (true units). The nearest point is the one whose frequency is
// nearest to f among the points with finite decibels; nothing when there is none.
std::optional<ReadOut> readOutAt(const std::vector<float>& freq, const std::vector<float>& db,
                                 const HeldCurves& held, double f);

// A held curve's decibels at frequency f, or nothing outside its range. Between two points the
// value lies on the straight line joining them; when one of them is not finite, the nearer
// point's value is taken.
std::optional<float> valueAt(const HeldCurve& c, double f);

// "Frequency = .25   PSD = -3.5 dB" followed by "   |   <label>: -4 dB" per held curve ("-"
// for none), each number as the plot's texts print it.
QString readOutText(const ReadOut& r, const HeldCurves& held);

}  // namespace tessivar
