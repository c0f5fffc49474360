// The picture of an order scan as numbers: the four criteria against the order, each scaled to
// its own range (0 at its smallest value, 1 at its largest) so that curves of very different
// sizes share one plot, and the order each picks. The widget only draws what this gives.
#pragma once

#include <QPointF>
#include <QRectF>
#include <QString>
#include <vector>

#include "voxtrel/order_scan.h"

namespace tessivar {

struct CriterionCurve {
  QString name;                 // "FPE", "AIC", "MDL" or "CAT"
  std::vector<QPointF> points;  // (order, scaled value); orders without a value are left out
  int pick = 0;                 // the order of the minimum (0: none)
  QPointF pickPoint;            // (pick, 0)
};

class OrderScanChart {
 public:
  OrderScanChart() = default;
  explicit OrderScanChart(const voxtrel::OrderScanResult& scan);

  const std::vector<CriterionCurve>& curves() const { return curves_; }
  int firstOrder() const { return first_; }
  int lastOrder() const { return last_; }
  // The orders to label along the axis: about six, at a step of 1, 2, 5, 10, 20 or 50.
  std::vector<int> ticks() const;
  // Where (order, scaled value) stands in area: order first..last from left to right, the
  // scaled value 0..1 from the bottom to the top.
  QPointF toPixel(const QPointF& p, const QRectF& area) const;

 private:
  std::vector<CriterionCurve> curves_;
  int first_ = 1, last_ = 1;
};

}  // namespace tessivar
