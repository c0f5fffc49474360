// The order scan's picture as numbers: scaling, minima, axis ticks and the mapping to pixels.
#include "OrderScanChart.h"

#include <gtest/gtest.h>

#include <limits>

using tessivar::OrderScanChart;

namespace {

voxtrel::OrderScanResult scanOf(std::vector<double> fpe, std::vector<double> aic) {
  voxtrel::OrderScanResult s;
  s.status = voxtrel::EstimateStatus::Ok;
  for (std::size_t i = 0; i < fpe.size(); ++i) s.orders.push_back(static_cast<int>(i) + 1);
  s.fpe = fpe;
  s.aic = aic;
  s.mdl = aic;
  s.cat = fpe;
  s.picks = {2, 3, 3, 2};
  return s;
}

}  // namespace

TEST(OrderScanChart, EachCriterionIsScaledToItsOwnRangeWithItsMinimumAtZero) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const OrderScanChart chart(scanOf({4, 2, 3, 6}, {-10, -30, -50, nan}));
  ASSERT_EQ(chart.curves().size(), 4u);
  const auto& fpe = chart.curves()[0];
  const auto& aic = chart.curves()[1];
  EXPECT_EQ(fpe.name, "FPE");
  ASSERT_EQ(fpe.points.size(), 4u);
  EXPECT_EQ(fpe.points[0], QPointF(1, 0.5));
  EXPECT_EQ(fpe.points[1], QPointF(2, 0.0));
  EXPECT_EQ(fpe.points[3], QPointF(4, 1.0));
  EXPECT_EQ(fpe.pickPoint, QPointF(2, 0.0));
  // An order without a value is left out of its curve and out of its range.
  ASSERT_EQ(aic.points.size(), 3u);
  EXPECT_EQ(aic.points[0], QPointF(1, 1.0));
  EXPECT_EQ(aic.points[2], QPointF(3, 0.0));
  EXPECT_EQ(aic.pick, 3);
}

TEST(OrderScanChart, OrdersRunLeftToRightAndValuesBottomToTop) {
  const OrderScanChart chart(scanOf({1, 2, 3, 4, 5}, {1, 2, 3, 4, 5}));
  const QRectF area(10, 20, 400, 200);
  EXPECT_EQ(chart.toPixel(QPointF(1, 0), area), QPointF(10, 220));
  EXPECT_EQ(chart.toPixel(QPointF(5, 1), area), QPointF(410, 20));
  EXPECT_EQ(chart.toPixel(QPointF(3, 0.5), area), QPointF(210, 120));
}

TEST(OrderScanChart, TicksStartAtTheFirstOrderAndStepRoundly) {
  struct Case {
    int last;
    std::vector<int> ticks;
  };
  for (const Case& c : {Case{5, {1, 2, 3, 4, 5}}, Case{12, {1, 2, 4, 6, 8, 10, 12}},
                        Case{50, {1, 10, 20, 30, 40, 50}}}) {
    std::vector<double> v(static_cast<std::size_t>(c.last), 1.0);
    EXPECT_EQ(OrderScanChart(scanOf(v, v)).ticks(), c.ticks) << c.last;
  }
}
