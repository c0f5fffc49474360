// The Plotter's held curves: they join the axis ranges, are drawn under the current curve in
// their own colours or line styles, and a legend in the lower right names every curve.
#include <QStringList>
#include <algorithm>
#include <cmath>

#include "AxisScale.h"
#include "Surface.h"
#include "mdlPlots.h"

namespace tessivar {

HeldCurve Plotter::currentCurve() const {
  const auto n = static_cast<std::size_t>(std::max(0, state_.npts));
  HeldCurve c;
  c.freq.assign(run_.x_array.begin(), run_.x_array.begin() + n);
  c.db.assign(run_.spectrum.begin(), run_.spectrum.begin() + n);
  c.label = currentLabel_.isEmpty() ? run_.RunMethod : currentLabel_;
  return c;
}

void Plotter::joinHeldRange(float& lo, float& hi, bool x) const {
  // Not-finite points (the decibels of a zero power) take no part, as in the current curve.
  for (const HeldCurve& c : held_->curves())
    for (float v : x ? c.freq : c.db) {
      if (!std::isfinite(v)) continue;
      lo = std::min(lo, v);
      hi = std::max(hi, v);
    }
}

void Plotter::scaleHeld() {
  // Into the plotted units of this run's axes: divided by the same powers of ten.
  heldPlotted_.clear();
  for (const HeldCurve& c : held_->curves()) {
    auto& [x, y] = heldPlotted_.emplace_back();
    for (float v : c.freq) x.push_back(static_cast<float>(v / state_.xDivisor));
    for (float v : c.db) y.push_back(static_cast<float>(v / state_.yDivisor));
  }
}

void Plotter::drawHeld() {
  const auto& s = state_;
  const int base = surface_.drawWidth();
  // The last held is drawn first, so that the first held (and then the current curve) stays on
  // top where the curves meet.
  for (int i = static_cast<int>(heldPlotted_.size()) - 1; i >= 0; --i) {
    const auto& [x, y] = heldPlotted_[static_cast<std::size_t>(i)];
    const HeldCurvePen pen = heldCurvePen(i, settings_);
    surface_.setDrawStyle(pen.style);
    surface_.setDrawWidth(base * pen.widthFactor);
    // The current curve's rule: a segment is drawn when it starts inside the limits.
    for (std::size_t k = 1; k < x.size(); ++k) {
      const float xa = x[k - 1], ya = y[k - 1];
      if (xa >= s.xMin && xa <= s.xMax && ya >= s.yMin && ya <= s.yMax && std::isfinite(x[k]) &&
          std::isfinite(y[k]))
        surface_.line(xa, ya, x[k], y[k], pen.color);
    }
  }
  surface_.setDrawStyle(Surface::LineStyle::Solid);
  surface_.setDrawWidth(base);
}

std::optional<QPointF> Plotter::freePlace(QSizeF size, double gap) const {
  const double w = surface_.size().width(), h = surface_.size().height(), m = margin();
  const double rise = std::max(1.0, std::floor(size.height() / 8));
  for (double top = std::floor(h - m - size.height()); top >= m; top -= rise) {
    double right = std::floor(w - m);
    for (std::size_t moves = 0; moves <= placed_.size(); ++moves) {
      const QRectF r(QPointF(right - size.width(), top), size);
      if (r.left() < m) break;
      const auto hit = std::find_if(placed_.begin(), placed_.end(), [&](const QRectF& p) {
        return r.adjusted(-gap, -gap, gap, gap).intersects(p);
      });
      if (hit == placed_.end()) return r.topLeft();
      right = std::floor(hit->left() - gap - 1);
    }
  }
  return std::nullopt;
}

void Plotter::legend() {
  // One row per curve, this run's first: a short stretch of the curve's line, then its name in
  // the axes colour, on the background colour. The block goes where no other text is, from the
  // lower right upwards and leftwards; when it fits nowhere its font is made smaller.
  QStringList labels{currentCurve().label};
  for (const HeldCurve& c : held_->curves()) labels << c.label;
  SetPlotColor(kAxes);
  surface_.setFontPixelSize(fontPixels(7));
  const double m = margin(), gap = m / 2;
  const int smallest = static_cast<int>(std::lround(6 * surface_.devicePixelRatio()));
  double cell = 0, step = 0, sample = 0;
  QSizeF size;
  std::optional<QPointF> at;
  for (int tries = 0; tries < 6; ++tries) {
    double widest = 0;
    for (const QString& l : labels) widest = std::max(widest, surface_.textCellPixels(l).width());
    cell = surface_.textCellPixels(labels[0]).height();
    step = std::ceil(cell + gap + 2);
    sample = std::ceil(2.5 * cell);
    size = QSizeF(std::ceil(sample + m + widest), std::ceil((labels.size() - 1) * step + cell));
    at = freePlace(size, gap);
    const int px = surface_.font().pixelSize();
    if (at || px <= smallest) break;
    surface_.setFontPixelSize(std::max(smallest, static_cast<int>(px * 0.85)));
  }
  if (!at) {
    const double w = surface_.size().width(), h = surface_.size().height();
    at = QPointF(std::max(1.0, std::floor(w - m - size.width())),
                 std::max(1.0, std::floor(h - m - size.height())));
  }

  const int base = surface_.drawWidth();
  auto toScaleX = [&](double px) { return surface_.scaleLeft() + surface_.pixelsToScaleX(px); };
  auto toScaleY = [&](double py) { return surface_.scaleTop() + surface_.pixelsToScaleY(py); };
  // The block is first cleared to the background, so that no curve or grid line runs through
  // the names: a wide line per row whose round ends stop at the block's edge (the margin kept
  // around it is free of other texts).
  const double band = step + 1, left = at->x() - gap, right = at->x() + size.width() + gap;
  surface_.setDrawStyle(Surface::LineStyle::Solid);
  surface_.setDrawWidth(static_cast<int>(band));
  for (int row = 0; row < labels.size(); ++row) {
    const double mid = at->y() + row * step + std::floor(cell / 2);
    surface_.line(toScaleX(left + band / 2), toScaleY(mid), toScaleX(right - band / 2),
                  toScaleY(mid), settings_.plotBackground());
  }
  for (int row = 0; row < labels.size(); ++row) {
    const double top = at->y() + row * step, mid = top + std::floor(cell / 2);
    HeldCurvePen pen{settings_.plotColor(kCurve1), Surface::LineStyle::Solid, 1};
    if (row > 0) pen = heldCurvePen(row - 1, settings_);
    surface_.setDrawStyle(pen.style);
    // Twice the curve's width, so that the colour shows in so short a stretch.
    surface_.setDrawWidth(2 * base * pen.widthFactor);
    surface_.line(toScaleX(at->x()), toScaleY(mid), toScaleX(at->x() + sample), toScaleY(mid),
                  pen.color);
    placeText({at->x() + sample + m, top}, labels[row]);
  }
  surface_.setDrawStyle(Surface::LineStyle::Solid);
  surface_.setDrawWidth(base);
}

}  // namespace tessivar
