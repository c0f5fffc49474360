#include "Surface.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPen>

namespace tessivar {

namespace {

QImage blankImage(QSize size, double dpi, const QColor& fill) {
  QImage image(size.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
  // Font point sizes follow the screen's logical resolution, as on the picture box.
  const int dotsPerMeter = qRound(dpi / 0.0254);
  image.setDotsPerMeterX(dotsPerMeter);
  image.setDotsPerMeterY(dotsPerMeter);
  image.fill(fill);
  return image;
}

Qt::PenStyle penStyle(Surface::LineStyle s) {
  switch (s) {
    case Surface::LineStyle::Dash:
      return Qt::DashLine;
    case Surface::LineStyle::Dot:
      return Qt::DotLine;
    case Surface::LineStyle::DashDot:
      return Qt::DashDotLine;
    case Surface::LineStyle::DashDotDot:
      return Qt::DashDotDotLine;
    case Surface::LineStyle::Solid:
      break;
  }
  return Qt::SolidLine;
}

}  // namespace

Surface::Surface(QSize size, double dpi) : image_(blankImage(size, dpi, Qt::white)), dpi_(dpi) {
  font_.setFamily(QStringLiteral("Arial"));
  // Text in exactly the colour set, without blended edge pixels: a black-and-white plot holds
  // nothing but black and white.
  font_.setStyleStrategy(QFont::NoAntialias);
  font_.setPointSizeF(8.0);
  setScalePixels();
}

void Surface::resize(QSize size) {
  if (size.expandedTo(QSize(1, 1)) == image_.size()) return;
  endPainting();
  QImage next = blankImage(size, dpi_, back_);
  QPainter p(&next);
  p.drawImage(0, 0, image_);
  p.end();
  const bool pixels = pixels_;
  image_ = next;
  if (pixels) setScalePixels();
}

void Surface::paintOn(QPaintDevice* device) {
  endPainting();
  device_ = device;
}

void Surface::setAntialiased(bool on) {
  antialiased_ = on;
  font_.setStyleStrategy(on ? QFont::PreferAntialias : QFont::NoAntialias);
}

void Surface::setHints(QPainter& p) const {
  p.setRenderHint(QPainter::Antialiasing, antialiased_);
  p.setRenderHint(QPainter::TextAntialiasing, antialiased_);
}

void Surface::clear() {
  if (!device_) endPainting();
  textRects_.clear();
  if (device_)
    painter().fillRect(QRect(QPoint(0, 0), image_.size()), back_);
  else
    image_.fill(back_);
  currentX_ = left_;
  currentY_ = top_;
}

QPainter& Surface::painter() {
  if (!painter_.isActive()) painter_.begin(device_ ? device_ : &image_);
  return painter_;
}

void Surface::setScalePixels() {
  pixels_ = true;
  left_ = 0;
  top_ = 0;
  width_ = image_.width();
  height_ = image_.height();
}

void Surface::setScale(double left, double top, double width, double height) {
  // A zero extent has no mapping; the caller keeps the limits apart, this only avoids a
  // division by zero.
  pixels_ = false;
  left_ = left;
  top_ = top;
  width_ = width != 0 ? width : 1;
  height_ = height != 0 ? height : -1;
}

void Surface::print(const QString& text) {
  QPainter& p = painter();
  p.setFont(font_);
  p.setPen(fore_);
  const QFontMetricsF fm(font_, &image_);
  setHints(p);
  const QPointF at(toPixelX(currentX_), toPixelY(currentY_));
  p.drawText(at + QPointF(0, fm.ascent()), text);
  textRects_.push_back(QRectF(at, QSizeF(fm.horizontalAdvance(text), fm.ascent() + fm.descent())));
  currentX_ = left_;
  currentY_ += pixelsToScaleY(fm.height());
}

void Surface::printTurned(const QString& text, double x, double y, double degrees,
                          const QFont& font) {
  QPainter& p = painter();
  p.setFont(font);
  p.setPen(fore_);
  setHints(p);
  const QFontMetricsF fm(font, &image_);
  p.translate(toPixelX(x), toPixelY(y));
  p.rotate(-degrees);  // the painter turns clockwise on the screen
  p.drawText(QPointF(0, fm.ascent()), text);
  textRects_.push_back(
      p.transform().mapRect(QRectF(0, 0, fm.horizontalAdvance(text), fm.ascent() + fm.descent())));
  p.resetTransform();  // the other calls draw in plain pixels
}

double Surface::textWidth(const QString& text) const {
  return std::abs(pixelsToScaleX(QFontMetricsF(font_, &image_).horizontalAdvance(text)));
}

double Surface::textHeight(const QString&) const {
  return std::abs(pixelsToScaleY(QFontMetricsF(font_, &image_).height()));
}

QSizeF Surface::textCellPixels(const QString& text) const {
  const QFontMetricsF fm(font_, &image_);
  return {fm.horizontalAdvance(text), fm.ascent() + fm.descent()};
}

void Surface::line(double x1, double y1, double x2, double y2, const QColor& color) {
  QPainter& p = painter();
  p.setPen(linePen(color));
  setHints(p);
  p.drawLine(QPointF(toPixelX(x1), toPixelY(y1)), QPointF(toPixelX(x2), toPixelY(y2)));
}

QPen Surface::linePen(const QColor& color) const {
  QPen pen(color);
  pen.setWidth(drawWidth_);
  pen.setStyle(penStyle(style_));
  pen.setCapStyle(drawWidth_ > 1 ? Qt::RoundCap : Qt::FlatCap);
  return pen;
}

}  // namespace tessivar
