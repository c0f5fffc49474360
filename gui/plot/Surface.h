// The picture box of the Plot tab: a persistent image with a user coordinate scale, a current
// position for text, a fore colour for text and lines, and line width and style. Everything
// drawn stays in the image, from which it is shown, saved and printed.
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPen>
#include <QRectF>
#include <QSize>
#include <QString>
#include <vector>

namespace tessivar {

class Surface {
 public:
  // The surface's line styles: solid, dash, dot, dash-dot, dash-dot-dot.
  enum class LineStyle { Solid = 0, Dash = 1, Dot = 2, DashDot = 3, DashDotDot = 4 };

  // size in pixels; dpi is the logical resolution that turns font points into pixels.
  explicit Surface(QSize size = QSize(640, 480), double dpi = 96.0);

  // The image with everything drawn so far. Ends the painter that drawing keeps open, so that
  // the image may be shown, copied, saved or painted on by others.
  const QImage& image() const {
    // While another device is drawn on, its painter stays open: the image is untouched then,
    // and a device such as an SVG generator would start its document afresh on a new painter.
    if (!device_) endPainting();
    return image_;
  }
  QSize size() const { return image_.size(); }
  double dpi() const { return dpi_; }
  // Device pixels per logical pixel of the screen the image is shown on. The image holds
  // device pixels; text and line sizes are chosen in logical pixels and multiplied by this.
  void setDevicePixelRatio(double r) { dpr_ = r > 0 ? r : 1.0; }
  double devicePixelRatio() const { return dpr_; }
  // Smooth (antialiased) edges on curves and text. Off, every pixel drawn has exactly the fore
  // colour, which black-and-white pictures need.
  void setAntialiased(bool on);
  bool antialiased() const { return antialiased_; }
  // A new size keeps what is drawn at the top left and fills the rest with the background.
  void resize(QSize size);
  // Sends what is drawn from now on to another device instead of the image (an SVG generator,
  // a PDF writer), in the image's pixels: the device is to have the image's size and logical
  // resolution. Texts keep the image's font metrics, so the drawing is laid out exactly as on
  // the image, which stays as it was. nullptr draws on the image again.
  void paintOn(QPaintDevice* device);

  void setBackColor(const QColor& c) { back_ = c; }
  QColor backColor() const { return back_; }
  void setForeColor(const QColor& c) { fore_ = c; }
  QColor foreColor() const { return fore_; }
  // Fills the image with the background colour and puts the current position at the scale's
  // top left.
  void clear();

  // Scale: pixels (left 0, top 0, width and height in pixels) or user units. A negative height
  // makes y grow upwards.
  void setScalePixels();
  void setScale(double left, double top, double width, double height);
  bool scaleIsPixels() const { return pixels_; }
  double scaleLeft() const { return left_; }
  double scaleTop() const { return top_; }
  double scaleWidth() const { return width_; }
  double scaleHeight() const { return height_; }
  // A length of `px` pixels in the current scale (keeps the sign of the scale's direction).
  double pixelsToScaleX(double px) const { return px * width_ / image_.width(); }
  double pixelsToScaleY(double px) const { return px * height_ / image_.height(); }
  double toPixelX(double x) const { return (x - left_) * image_.width() / width_; }
  double toPixelY(double y) const { return (y - top_) * image_.height() / height_; }

  void setCurrent(double x, double y) { currentX_ = x, currentY_ = y; }
  double currentX() const { return currentX_; }
  double currentY() const { return currentY_; }

  void setFontName(const QString& family) { font_.setFamily(family); }
  void setFontSize(double points) { font_.setPointSizeF(points > 0 ? points : 1.0); }
  void setFontPixelSize(int pixels) { font_.setPixelSize(pixels > 0 ? pixels : 1); }
  double fontSize() const { return font_.pointSizeF(); }
  const QFont& font() const { return font_; }

  // Text at the current position (the position is the text cell's top left), in the fore
  // colour; afterwards the current position moves to the start of the next line.
  void print(const QString& text);
  // Text turned by `degrees` counter-clockwise about its cell's top left at (x, y), in the fore
  // colour and the given font.
  void printTurned(const QString& text, double x, double y, double degrees, const QFont& font);
  double textWidth(const QString& text) const;  // in the current scale
  double textHeight(const QString& text) const;
  // The text's cell in the current font, in pixels: its advance by ascent plus descent.
  QSizeF textCellPixels(const QString& text) const;
  // The rectangle in pixels of every text drawn since the last clear(): the text cell (advance
  // by ascent plus descent), for turned text the box around the turned cell.
  const std::vector<QRectF>& textRects() const { return textRects_; }

  void setDrawWidth(int pixels) { drawWidth_ = pixels < 1 ? 1 : pixels; }
  int drawWidth() const { return drawWidth_; }
  void setDrawStyle(LineStyle s) { style_ = s; }
  LineStyle drawStyle() const { return style_; }
  // A line between two points of the current scale, with the present width and style.
  void line(double x1, double y1, double x2, double y2, const QColor& color);
  // The pen line() draws with: the colour, the draw width and style, round caps on wide lines.
  QPen linePen(const QColor& color) const;

 private:
  // The painter on the image, opened by the first drawing call and kept open for the ones that
  // follow: opening and closing a painter costs more than drawing one short curve segment.
  // Each call sets all the state it draws with (pen, font, transform), so what it draws does
  // not depend on the calls before it.
  QPainter& painter();
  void setHints(QPainter& p) const;
  void endPainting() const {
    if (painter_.isActive()) painter_.end();
  }

  QImage image_;
  QPaintDevice* device_ = nullptr;  // where drawing goes instead of the image, when set
  double dpi_;
  double dpr_ = 1.0;
  bool antialiased_ = false;
  std::vector<QRectF> textRects_;
  QColor back_ = Qt::white;
  QColor fore_ = Qt::black;
  bool pixels_ = true;
  double left_ = 0, top_ = 0, width_ = 1, height_ = 1;
  double currentX_ = 0, currentY_ = 0;
  QFont font_;
  int drawWidth_ = 1;
  LineStyle style_ = LineStyle::Solid;
  // After image_, so that it is destroyed, and so ends, before the image it paints on.
  mutable QPainter painter_;
};

}  // namespace tessivar
