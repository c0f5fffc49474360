#include "OrderScanChart.h"

#include <algorithm>
#include <cmath>

namespace tessivar {

namespace {

CriterionCurve curve(const QString& name, const std::vector<int>& orders,
                     const std::vector<double>& values, int pick) {
  CriterionCurve c;
  c.name = name;
  c.pick = pick;
  double lo = 0, hi = 0;
  bool any = false;
  for (double v : values) {
    if (!std::isfinite(v)) continue;
    lo = any ? std::min(lo, v) : v;
    hi = any ? std::max(hi, v) : v;
    any = true;
  }
  const double range = hi > lo ? hi - lo : 1.0;
  for (std::size_t i = 0; i < values.size() && i < orders.size(); ++i) {
    if (!std::isfinite(values[i])) continue;
    c.points.emplace_back(orders[i], (values[i] - lo) / range);
  }
  c.pickPoint = QPointF(pick, 0.0);
  return c;
}

}  // namespace

OrderScanChart::OrderScanChart(const voxtrel::OrderScanResult& scan) {
  if (scan.orders.empty()) return;
  first_ = scan.orders.front();
  last_ = scan.orders.back();
  curves_ = {curve(QStringLiteral("FPE"), scan.orders, scan.fpe, scan.picks.fpe),
             curve(QStringLiteral("AIC"), scan.orders, scan.aic, scan.picks.aic),
             curve(QStringLiteral("MDL"), scan.orders, scan.mdl, scan.picks.mdl),
             curve(QStringLiteral("CAT"), scan.orders, scan.cat, scan.picks.cat)};
}

std::vector<int> OrderScanChart::ticks() const {
  int step = 1;
  for (int s : {1, 2, 5, 10, 20, 50}) {
    step = s;
    if ((last_ - first_) / s <= 6) break;
  }
  std::vector<int> out;
  for (int k = ((first_ + step - 1) / step) * step; k <= last_; k += step) out.push_back(k);
  if (out.empty() || out.front() != first_) out.insert(out.begin(), first_);
  return out;
}

QPointF OrderScanChart::toPixel(const QPointF& p, const QRectF& area) const {
  const double span = last_ > first_ ? last_ - first_ : 1.0;
  return {area.left() + (p.x() - first_) / span * area.width(),
          area.bottom() - p.y() * area.height()};
}

}  // namespace tessivar
