#include "mdlRotate.h"

#include <QFont>
#include <QFontMetricsF>
#include <cmath>

#include "NumberFormat.h"
#include "Surface.h"

namespace tessivar {

namespace {

// A Qt font matching the request. Qt sizes fonts by their em (the character height), so a
// requested cell height is met by scaling the em by the face's cell-to-em ratio.
QFont makeFont(const Surface& surface, const RotatedFont& r) {
  QFont f(r.faceName);
  f.setStyleStrategy(surface.antialiased() ? QFont::PreferAntialias : QFont::NoAntialias);
  f.setWeight(static_cast<QFont::Weight>(std::clamp(r.weight <= 0 ? 400 : r.weight, 100, 900)));
  f.setItalic(r.italic);
  f.setUnderline(r.underline);
  f.setStrikeOut(r.strikeOut);
  if (r.height == 0) {
    f.setPointSizeF(surface.fontSize());
  } else if (r.height < 0) {
    f.setPixelSize(-r.height);
  } else {
    f.setPixelSize(100);
    const double cellPerEm = QFontMetricsF(f, &surface.image()).height() / 100.0;
    f.setPixelSize(std::max(1, static_cast<int>(std::lround(r.height / cellPerEm))));
  }
  if (r.width > 0) {
    const double natural = QFontMetricsF(f, &surface.image()).averageCharWidth();
    if (natural > 0) f.setStretch(std::clamp(static_cast<int>(100 * r.width / natural), 1, 4000));
  }
  return f;
}

}  // namespace

void PrintRotated(Surface& surface, double cx, double cy, const QString& text,
                  const RotatedFont& request) {
  const QFont font = makeFont(surface, request);
  const QFontMetricsF fm(font, &surface.image());
  const double cellPx = fm.ascent() + fm.descent();
  const double emPx = font.pixelSize() > 0 ? font.pixelSize() : cellPx;
  const double H = std::abs(surface.pixelsToScaleY(cellPx));
  const double Hp = std::abs(surface.pixelsToScaleY(std::min(emPx, cellPx)));
  const double W = std::abs(surface.pixelsToScaleX(fm.horizontalAdvance(text)));

  const double theta = (request.escapement / 10.0) / 180.0 * 3.14159265;
  const double phi = 1.570796325 - theta;
  const double a1 = W * std::cos(theta) + Hp * std::cos(phi);
  const double b1 = W * std::sin(theta) + Hp * std::sin(phi);
  const double a2 = W * std::cos(theta) + H * std::cos(phi);
  const double b2 = W * std::sin(theta) + H * std::sin(phi);
  const double x = cx - a1 / 2 - (a2 - a1);
  const double y = cy - b1 / 2 + W * std::sin(theta) - (b2 - b1);
  surface.printTurned(text, x, y, request.escapement / 10.0, font);
}

int escapementFromText(const QString& degrees) {
  const auto v = wholeNumber(degrees);
  return v ? static_cast<int>(std::lround(*v * 10)) : 0;
}

}  // namespace tessivar
