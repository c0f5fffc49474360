// Spectra kept from earlier runs for comparison with the current one: up to eight curves, each
// with its frequencies, its decibels and the label the legend shows ("method, orders, data
// file"). They live as long as the program runs and are never written to the settings store.
// How each is drawn: the first in the Curve2 colour, further ones in a fixed palette of
// clearly distinct colours; in black-and-white mode by line style and width instead.
#pragma once

#include <QColor>
#include <QString>
#include <array>
#include <vector>

#include "Surface.h"

namespace tessivar {

struct PlotSettings;

struct HeldCurve {
  std::vector<float> freq;  // in true units, as the run gave them
  std::vector<float> db;
  QString label;
};

class HeldCurves {
 public:
  static constexpr int kMax = 8;

  // Keeps a copy of the curve; false (and nothing kept) when kMax curves are held already or
  // the curve has no point.
  bool hold(HeldCurve curve);
  void clear() { curves_.clear(); }
  bool empty() const { return curves_.empty(); }
  bool full() const { return static_cast<int>(curves_.size()) >= kMax; }
  int size() const { return static_cast<int>(curves_.size()); }
  const HeldCurve& operator[](int i) const { return curves_[static_cast<std::size_t>(i)]; }
  const std::vector<HeldCurve>& curves() const { return curves_; }

 private:
  std::vector<HeldCurve> curves_;
};

// The pen of held curve i (0 the first held): colour, style and width in units of the plot's
// line width.
struct HeldCurvePen {
  QColor color;
  Surface::LineStyle style = Surface::LineStyle::Solid;
  int widthFactor = 1;
};
HeldCurvePen heldCurvePen(int i, const PlotSettings& settings);

// The colours of the held curves after the first, chosen apart from each other in hue and
// lightness and from the default Curve1 colour.
const std::array<QColor, HeldCurves::kMax - 1>& heldCurvePalette();

// The legend's name of a run: the method, the orders its questions set (p AR order, q MA order,
// L large AR order, M largest lag), "double" for a run in double precision, and the data
// file's name without its folder. answers holds the answer file's values, answers[i] for
// question i.
QString curveLabel(const QString& method, const std::vector<QString>& answers,
                   bool doublePrecision = false);

}  // namespace tessivar
