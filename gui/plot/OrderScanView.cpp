#include "OrderScanView.h"

#include <QPainter>
#include <QPainterPath>

namespace tessivar {

namespace {

const QColor kColours[] = {QColor(0, 90, 200), QColor(200, 40, 40), QColor(0, 140, 60),
                           QColor(150, 80, 170)};

}  // namespace

OrderScanView::OrderScanView(QWidget* parent) : QWidget(parent) {
  setMinimumSize(360, 240);
  setAutoFillBackground(true);
  QPalette p = palette();
  p.setColor(QPalette::Window, Qt::white);
  setPalette(p);
}

void OrderScanView::setChart(const OrderScanChart& chart) {
  chart_ = chart;
  update();
}

void OrderScanView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  paint(painter, size());
}

QImage OrderScanView::picture() const {
  // The picture at the view's size, drawn as the screen draws it, with the logical resolution
  // the vector files take for its fonts.
  QImage image(size(), QImage::Format_RGB32);
  image.fill(Qt::white);
  const int dotsPerMeter = qRound(logicalDpiX() / 0.0254);
  image.setDotsPerMeterX(dotsPerMeter);
  image.setDotsPerMeterY(dotsPerMeter);
  QPainter painter(&image);
  paint(painter, size());
  return image;
}

bool OrderScanView::drawVector(QPaintDevice& device) const {
  QPainter painter;
  if (!painter.begin(&device)) return false;
  painter.fillRect(QRect(QPoint(0, 0), size()), Qt::white);
  paint(painter, size());
  return painter.end();
}

void OrderScanView::paint(QPainter& painter, QSize size) const {
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setFont(font());
  // The layout follows the device's own font metrics, so that a file shows what the screen does.
  const QFontMetricsF fm(font(), painter.device());
  const double legendWidth = fm.horizontalAdvance(QStringLiteral("MDL: 000")) + 40;
  const QRectF area(fm.horizontalAdvance(QStringLiteral("0000")), fm.height(),
                    size.width() - fm.horizontalAdvance(QStringLiteral("0000")) - legendWidth,
                    size.height() - 3.5 * fm.height());
  painter.setPen(Qt::black);
  painter.drawRect(area);
  for (int k : chart_.ticks()) {
    const QPointF at = chart_.toPixel(QPointF(k, 0), area);
    painter.drawLine(at, at + QPointF(0, 4));
    const QString label = QString::number(k);
    painter.drawText(
        QPointF(at.x() - fm.horizontalAdvance(label) / 2.0, area.bottom() + 4 + fm.ascent()),
        label);
  }
  painter.drawText(QRectF(area.left(), area.bottom() + fm.height() + 4, area.width(), fm.height()),
                   Qt::AlignHCenter, QStringLiteral("order"));

  const auto& curves = chart_.curves();
  for (std::size_t c = 0; c < curves.size(); ++c) {
    const QColor colour = kColours[c % 4];
    QPainterPath path;
    for (std::size_t i = 0; i < curves[c].points.size(); ++i) {
      const QPointF at = chart_.toPixel(curves[c].points[i], area);
      if (i == 0)
        path.moveTo(at);
      else
        path.lineTo(at);
    }
    painter.setPen(QPen(colour, 1.5));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(path);
    if (curves[c].pick > 0) {
      // Rings of growing size, so that criteria picking the same order stay visible.
      const double r = 4.0 + 2.5 * static_cast<double>(c);
      painter.drawEllipse(chart_.toPixel(curves[c].pickPoint, area), r, r);
    }
    const QPointF legend(area.right() + 12, area.top() + fm.height() * (1.5 * c + 1));
    painter.drawLine(legend, legend + QPointF(18, 0));
    painter.setPen(Qt::black);
    painter.drawText(legend + QPointF(24, fm.ascent() / 2.0 - 1),
                     QStringLiteral("%1: %2").arg(curves[c].name).arg(curves[c].pick));
  }
}

}  // namespace tessivar
