// Lines and text drawn one after another on the surface come out pixel for pixel as if each had
// been drawn by a painter of its own, in every line style and width, and around turned text.
#include "Surface.h"

#include <gtest/gtest.h>

#include <QPainter>
#include <QPen>
#include <cmath>
#include <vector>

namespace tessivar {
namespace {

struct Segment {
  double x1, y1, x2, y2;
  QColor color;
};

// A jagged curve of short segments in user units, x 0 .. 10 and y -1 .. 1, as a noisy spectrum
// draws it, plus long lines across the plot at several angles (grid lines and axes).
std::vector<Segment> segments() {
  std::vector<Segment> s;
  const QColor curve(200, 30, 40);
  double x = 0, y = 0;
  for (int i = 1; i <= 400; ++i) {
    const double nx = i * 0.025;
    const double ny = 0.8 * std::sin(nx * 1.7) * std::cos(i * 2.39);
    s.push_back({x, y, nx, ny, curve});
    x = nx, y = ny;
  }
  for (int k = 0; k < 12; ++k) {
    const double a = k * 0.27;
    s.push_back({5 - 4.5 * std::cos(a), -0.9 * std::sin(a), 5 + 4.5 * std::cos(a),
                 0.9 * std::sin(a), QColor::fromHsv(k * 30, 255, 160)});
  }
  return s;
}

void setUp(Surface& s) {
  s.setBackColor(QColor(250, 250, 235));
  s.clear();
  s.setScale(-0.5, 1.1, 11, -2.2);
}

class SurfaceLines : public ::testing::TestWithParam<std::tuple<int, Surface::LineStyle, QSize>> {};

// The reference draws every segment with a painter opened and closed for it alone: a dash
// pattern starts afresh on each line and nothing joins one line to the next.
TEST_P(SurfaceLines, SameAsOnePainterPerLine) {
  const auto [width, style, size] = GetParam();
  Surface surface(size, 96);
  setUp(surface);
  surface.setDrawWidth(width);
  surface.setDrawStyle(style);
  QImage reference = surface.image().copy();
  for (const Segment& g : segments()) {
    surface.line(g.x1, g.y1, g.x2, g.y2, g.color);
    QPainter p(&reference);
    const QPen pen = surface.linePen(g.color);
    p.setPen(pen);
    p.drawLine(QPointF(surface.toPixelX(g.x1), surface.toPixelY(g.y1)),
               QPointF(surface.toPixelX(g.x2), surface.toPixelY(g.y2)));
  }
  const QImage& drawn = surface.image();
  EXPECT_TRUE(drawn == reference);
  int changed = 0;  // the comparison is not between two blank images
  for (int y = 0; y < drawn.height(); ++y)
    for (int x = 0; x < drawn.width(); ++x)
      if (drawn.pixel(x, y) != qRgb(250, 250, 235)) ++changed;
  EXPECT_GT(changed, 2000);
}

INSTANTIATE_TEST_SUITE_P(
    StylesAndWidths, SurfaceLines,
    ::testing::Combine(::testing::Values(1, 2, 3),
                       ::testing::Values(Surface::LineStyle::Solid, Surface::LineStyle::Dash,
                                         Surface::LineStyle::Dot, Surface::LineStyle::DashDot,
                                         Surface::LineStyle::DashDotDot),
                       ::testing::Values(QSize(640, 480), QSize(1600, 1000))));

// Text, turned text and lines in turn. The reference reads the image after every call, which
// hands it over for display and so starts each call on a fresh painter; turned text must not
// turn what is drawn after it, nor a font or pen of one call leak into the next.
TEST(Surface, TextBetweenLinesSameAsEachCallAlone) {
  const auto draw = [](Surface& s, bool readBetween) {
    const auto step = [&] {
      if (readBetween) (void)s.image();
    };
    const std::vector<Segment> g = segments();
    s.setForeColor(QColor(20, 90, 20));
    for (std::size_t i = 0; i < g.size(); i += 3) {
      s.setDrawWidth(1 + static_cast<int>(i % 3));
      s.setDrawStyle(static_cast<Surface::LineStyle>(i % 5));
      s.line(g[i].x1, g[i].y1, g[i].x2, g[i].y2, g[i].color);
      step();
      if (i % 45 == 0) {
        s.setCurrent(g[i].x1, g[i].y1);
        s.setFontSize(8 + static_cast<double>(i % 7));
        s.print(QStringLiteral("label %1").arg(i));
        step();
      }
      if (i % 60 == 0) {
        QFont turned = s.font();
        turned.setPointSizeF(11);
        s.printTurned(QStringLiteral("turned"), g[i].x2, g[i].y2, 15.0 * static_cast<double>(i),
                      turned);
        step();
      }
    }
  };
  Surface kept, alone;
  setUp(kept);
  setUp(alone);
  draw(kept, false);
  draw(alone, true);
  EXPECT_TRUE(kept.image() == alone.image());
}

// Drawing goes on after the image has been read, and a copy taken then keeps what it showed.
TEST(Surface, DrawingAfterReadingTheImage) {
  Surface s(QSize(200, 100), 96);
  setUp(s);
  s.line(0, 0, 10, 0, Qt::black);
  const QImage before = s.image();
  s.line(5, -1, 5, 1, Qt::black);
  const int col = qRound(s.toPixelX(5)), row = qRound(s.toPixelY(0.5));
  EXPECT_EQ(before.pixel(col, row), qRgb(250, 250, 235));
  EXPECT_EQ(s.image().pixel(col, row), qRgb(0, 0, 0));
}

}  // namespace
}  // namespace tessivar
