// Draws an OrderScanChart: a frame, the order axis, the four scaled criteria in four colours with
// a ring on each minimum, and a legend naming each criterion and its pick.
#pragma once

#include <QImage>
#include <QWidget>

#include "OrderScanChart.h"

namespace tessivar {

class OrderScanView : public QWidget {
  Q_OBJECT

 public:
  explicit OrderScanView(QWidget* parent = nullptr);
  void setChart(const OrderScanChart& chart);
  const OrderScanChart& chart() const { return chart_; }
  // The view's picture, and the same drawing made again on a vector device (an SVG or PDF
  // file) of the picture's size; false when the device cannot be painted on.
  QImage picture() const;
  bool drawVector(QPaintDevice& device) const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void paint(QPainter& painter, QSize size) const;

  OrderScanChart chart_;
};

}  // namespace tessivar
