// Axis arithmetic of the plot, free of any widget: the widening of a data range to a round step
// (ScaleAxis), the tick values of both axes and the grid switches.
#pragma once

#include <QString>
#include <array>

namespace tessivar {

// Widens [min, max] to min .. min + N x step, where step has one decimal in its leading digits
// (1.0 to 10.0 times a power of ten), after taking an even power of ten out of both limits.
// Returns that exponent. min may first be lowered to a tenth, when that costs less than a tenth
// of the range. Appends the trace lines " Min/Max/step= ..." (and " step/min= ..." for each step
// that single-precision rounding leaves short of max) to `trace`, each starting with CR LF.
// Limits given the wrong way round are swapped first; non-finite limits are the caller's to
// refuse.
int ScaleAxis(float& min, float& max, int N, QString& trace);

// The 11 x tick values: Int(10 x xMin) / 10 + (i - 1) x Ceiling(xMax - xMin) / 10.
std::array<double, 11> xTickValues(float xMin, float xMax);
// The 6 y tick values: yMin + (yMax - yMin) x (j - 1) / 5.
std::array<double, 6> yTickValues(float yMin, float yMax);

// Grid lines asked for by the "Plot Grid Lines" choice (-1 when none is selected).
struct GridSwitches {
  bool vertical = false;    // lines at the x ticks instead of tick marks
  bool horizontal = false;  // lines at the y ticks instead of tick marks
};
GridSwitches gridSwitches(int gridLinesChoice);

// Where an axis crosses the other: at the range's lower end when the range does not contain
// zero, else at 0.
float axisPosition(float min, float max);

// CInt: nearest integer, halves to even.
int roundHalfEven(double v);

}  // namespace tessivar
