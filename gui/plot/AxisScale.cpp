#include "AxisScale.h"

#include <cmath>
#include <utility>

#include "NumberFormat.h"

namespace tessivar {

int roundHalfEven(double v) {
  return static_cast<int>(std::nearbyint(v));
}

namespace {

// Ceiling(10 x d) / 10 with the product taken in single precision, so that a step that is
// already one decimal (1.1 stored as 1.10000002) is not pushed to the next tenth.
float roundUpToTenth(float d) {
  const float tenTimes = 10.0f * d;
  return static_cast<float>(std::ceil(tenTimes) / 10.0);
}

// Rounded minimum: a tenth below min, or 0 for a minimum within a hundredth of zero.
float roundedMinimum(float min) {
  const float a = std::fabs(min);
  if (a >= 0.1f) return static_cast<float>(std::floor(10.0f * min) / 10.0);
  if (a >= 0.01f) {
    const double hundredths = std::floor(100.0f * min);
    return static_cast<float>(std::floor(hundredths / 10.0) / 10.0);
  }
  return 0.0f;
}

}  // namespace

int ScaleAxis(float& min, float& max, int N, QString& trace) {
  if (max < min) std::swap(min, max);
  int exponent = 0;
  float d = (max - min) / static_cast<float>(N);
  if ((d != 0 && d < 0.1f) || d >= 100) {
    const int e = roundHalfEven(std::log10(static_cast<double>(d)));
    const int t = e > 0 ? e : e - 1;
    exponent = 2 * static_cast<int>(std::floor(t / 2.0));
  }
  const double s = std::pow(10.0, exponent);
  max = static_cast<float>(max / s);
  min = static_cast<float>(min / s);
  d = (max - min) / static_cast<float>(N);

  const float r = roundedMinimum(min);
  if (r < min && 1.1 * N * d > static_cast<double>(max - r)) min = r;

  d = (max - min) / static_cast<float>(N);
  if (d == 0) d = 1.1f;
  const int p = static_cast<int>(std::floor(std::log10(static_cast<double>(d))));
  const double m = std::pow(10.0, p);
  d = roundUpToTenth(static_cast<float>(d / m));
  trace += QStringLiteral("\r\n Min/Max/step= ") + formatSingle(min) + "  " + formatSingle(max) +
           "  " + formatSingle(d) + "  " + formatDouble(m);

  // The top is min + N x step. Rounding to single precision can leave it a hair below max even
  // though the step was rounded up; then the leading digits grow by one tenth at a time, up to
  // ten times, and the step that reaches max is the one applied. The same single-precision sum
  // is used for the test and for the new max.
  float step = static_cast<float>(m * d);
  for (int k = 0; k <= 10; ++k) {
    const float candidate = static_cast<float>(m * (d + 0.1 * k));
    const float top = static_cast<float>(min + static_cast<double>(N) * candidate);
    if (!(top < max)) {
      step = candidate;
      max = top;
      break;
    }
    trace += QStringLiteral("\r\n step/min= ") + formatSingle(candidate) + "  " + formatSingle(min);
  }
  // After ten rejected candidates max stays as it was and the first step is reported.
  trace += QStringLiteral("\r\n Min/Max/step= ") + formatSingle(min) + "  " + formatSingle(max) +
           "  " + formatSingle(step);
  return exponent;
}

std::array<double, 11> xTickValues(float xMin, float xMax) {
  std::array<double, 11> v{};
  const double start = std::floor(10.0f * xMin) / 10.0;
  const double spacing = std::ceil(static_cast<double>(xMax - xMin)) / 10.0;
  for (int i = 0; i < 11; ++i) v[i] = start + i * spacing;
  return v;
}

std::array<double, 6> yTickValues(float yMin, float yMax) {
  std::array<double, 6> w{};
  for (int j = 0; j < 6; ++j) w[j] = yMin + (static_cast<double>(yMax) - yMin) * j / 5.0;
  return w;
}

GridSwitches gridSwitches(int gridLinesChoice) {
  switch (gridLinesChoice) {
    case 1:
      return {true, true};
    case 2:
      return {true, false};
    case 3:
      return {false, true};
    default:
      return {false, false};
  }
}

float axisPosition(float min, float max) {
  return min * max > 0 ? min : 0.0f;
}

}  // namespace tessivar
