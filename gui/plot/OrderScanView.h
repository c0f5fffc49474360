// Draws an OrderScanChart: a frame, the order axis, the four scaled criteria in four colours with
// a ring on each minimum, and a legend naming each criterion and its pick.
#pragma once

#include <QWidget>

#include "OrderScanChart.h"

namespace tessivar {

class OrderScanView : public QWidget {
  Q_OBJECT

 public:
  explicit OrderScanView(QWidget* parent = nullptr);
  void setChart(const OrderScanChart& chart);
  const OrderScanChart& chart() const { return chart_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  OrderScanChart chart_;
};

}  // namespace tessivar
