// Held curves: their names, their pens, and a plot with held curves in colour and in black and
// white, its axes over all curves and its peaks the current run's.
#include "HeldCurves.h"

#include <gtest/gtest.h>

#include <QSet>
#include <cmath>

#include "Dialogs.h"
#include "OutputBox.h"
#include "PlotSettings.h"
#include "Surface.h"
#include "mdlPlots.h"

namespace tessivar {
namespace {

// 101 points over 0..0.5 at -40 dB with one point at 0 dB in the middle.
RunResults spikeRun() {
  RunResults r;
  for (int i = 0; i <= 100; ++i) {
    r.x_array.push_back(static_cast<float>(i * 0.005));
    r.spectrum.push_back(i == 50 ? 0.0f : -40.0f);
  }
  r.npointsZ = 101;
  r.RunMethod = "Burg";
  r.AnsName = "sf.49";
  r.RunFile = "sf.49";
  return r;
}

// A flat curve at `db` over 0..top.
HeldCurve flat(float db, float top = 0.5f, const char* label = "Periodogram, sine.dat") {
  HeldCurve c;
  for (int i = 0; i <= 40; ++i) {
    c.freq.push_back(top * i / 40);
    c.db.push_back(db);
  }
  c.label = label;
  return c;
}

TEST(HeldCurves, LabelNamesMethodOrdersAndDataFile) {
  std::vector<QString> answers(19);
  answers[1] = "C:\\Data\\sine.dat";
  answers[9] = " 10";
  answers[10] = "2";
  answers[14] = "18";
  answers[15] = "30";
  const struct {
    const char* method;
    const char* label;
  } cases[] = {
      {"Burg", "Burg, p=10, sine.dat"},
      {"Periodogram", "Periodogram, sine.dat"},
      {"Durbin", "Durbin, q=2, L=18, sine.dat"},
      {"Blackman-Tukey", "Blackman-Tukey, M=30, sine.dat"},
      {"Akaike", "Akaike, p=10, q=2, sine.dat"},
  };
  for (const auto& c : cases) EXPECT_EQ(curveLabel(c.method, answers), c.label) << c.method;
  answers[1] = "/home/u/data/x.rda";
  EXPECT_EQ(curveLabel("RMLE", answers), "RMLE, p=10, x.rda");
  EXPECT_EQ(curveLabel("RMLE", answers, true), "RMLE, p=10, double, x.rda");
}

TEST(HeldCurves, PensAreDistinctInColourAndInBlackAndWhite) {
  PlotSettings colour;
  colour.colors = PlotSettings::defaultColors();
  EXPECT_EQ(heldCurvePen(0, colour).color, colour.colors[kCurve2]);
  QSet<QRgb> colours{colour.colors[kCurve1].rgb(), colour.colors[kBackground].rgb()};
  for (int i = 0; i < HeldCurves::kMax; ++i) {
    const HeldCurvePen pen = heldCurvePen(i, colour);
    EXPECT_EQ(pen.style, Surface::LineStyle::Solid);
    EXPECT_TRUE(!colours.contains(pen.color.rgb())) << "curve " << i;
    colours.insert(pen.color.rgb());
  }
  PlotSettings bw;
  bw.blackAndWhite = true;
  QSet<int> looks{0 * 10 + 1};  // the current curve: solid, single width
  for (int i = 0; i < HeldCurves::kMax; ++i) {
    const HeldCurvePen pen = heldCurvePen(i, bw);
    EXPECT_EQ(pen.color, QColor(Qt::black));
    const int look = static_cast<int>(pen.style) * 10 + pen.widthFactor;
    EXPECT_TRUE(!looks.contains(look)) << "curve " << i;
    looks.insert(look);
  }
}

class HeldPlotTest : public ::testing::Test {
 protected:
  HeldPlotTest() : surface(QSize(640, 480), 96), plotter(surface, out, dialogs) {
    plotter.setClock([] { return QDateTime(QDate(2026, 12, 7), QTime(9, 8, 24)); });
    settings.colors = PlotSettings::defaultColors();
  }
  // Pixels of colour c in a row of the picture, between two columns. Colour plots are
  // antialiased, and a thin line between two pixel rows colours both about half: a pixel
  // counts when it lies less than half of the way from c to the background.
  int inRow(int y, int x0, int x1, const QColor& c) const {
    auto d = [](const QColor& a, const QColor& b) {
      return std::hypot(a.red() - b.red(), a.green() - b.green(), a.blue() - b.blue());
    };
    int n = 0;
    for (int x = x0; x <= x1; ++x) {
      const QColor p = surface.image().pixelColor(x, y);
      n += p == c || d(p, c) < 0.5 * d(c, surface.backColor());
    }
    return n;
  }
  // The picture row of a decibel value of the last plot.
  int rowOf(float db) const {
    return static_cast<int>(std::lround(surface.toPixelY(db / plotter.state().yDivisor)));
  }

  Surface surface;
  StringOutputBox out;
  ScriptedDialogs dialogs;
  Plotter plotter;
  PlotSettings settings;
  HeldCurves held;
};

TEST_F(HeldPlotTest, NoHeldCurveLeavesThePictureAsItWas) {
  ASSERT_TRUE(plotter.startPlot(spikeRun(), settings));
  const QImage alone = surface.image().copy();
  plotter.setOverlay(&held, "Burg, p=10, sine.dat");
  ASSERT_TRUE(plotter.startPlot(spikeRun(), settings));
  EXPECT_EQ(surface.image(), alone);
}

TEST_F(HeldPlotTest, HeldCurvesInCurve2AndPaletteColours) {
  held.hold(flat(-20));
  held.hold(flat(-10));
  held.hold(flat(-30));
  plotter.setOverlay(&held, "Burg, p=10, sine.dat");
  ASSERT_TRUE(plotter.startPlot(spikeRun(), settings));
  const std::array<QColor, 3> colours = {settings.colors[kCurve2], heldCurvePalette()[0],
                                         heldCurvePalette()[1]};
  const std::array<float, 3> levels = {-20, -10, -30};
  for (std::size_t i = 0; i < 3; ++i) {
    // Each held line runs flat across the middle of the picture in its own colour.
    const int row = rowOf(levels[i]);
    int best = 0;
    for (int y = row - 1; y <= row + 1; ++y) best = std::max(best, inRow(y, 150, 450, colours[i]));
    EXPECT_GT(best, 200) << "held curve " << i;
  }
}

TEST_F(HeldPlotTest, BlackAndWhiteTellsHeldCurvesApartByLineStyle) {
  settings.blackAndWhite = true;
  settings.gridLines = 0;
  held.hold(flat(-20));
  plotter.setOverlay(&held, "Burg, p=10, sine.dat");
  ASSERT_TRUE(plotter.startPlot(spikeRun(), settings));
  QSet<QRgb> seen;
  const QImage& img = surface.image();
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x) seen.insert(img.pixel(x, y) & 0xFFFFFF);
  EXPECT_EQ(seen, (QSet<QRgb>{0xFFFFFF, 0x000000}));
  // The current curve's flat stretch is solid; the held one is dashed, so about two thirds
  // of its row is black.
  const int solid = inRow(rowOf(-40), 60, 280, Qt::black);
  const int dashed = inRow(rowOf(-20), 60, 280, Qt::black);
  EXPECT_GT(solid, 215);
  EXPECT_GT(dashed, 80);
  EXPECT_LT(dashed, 190);
}

TEST_F(HeldPlotTest, AxesTakeInEveryCurvePeaksStayTheCurrentRuns) {
  ASSERT_TRUE(plotter.startPlot(spikeRun(), settings));
  const QString peaksAlone = out.text().mid(out.text().indexOf("PSD waveform"));
  held.hold(flat(12, 1.0f));
  plotter.setOverlay(&held, "Burg, p=10, sine.dat");
  ASSERT_TRUE(plotter.startPlot(spikeRun(), settings));
  const PlotState& s = plotter.state();
  EXPECT_GE(s.xMax * s.xDivisor, 1.0 - 1e-6);
  EXPECT_GE(s.yMax * s.yDivisor, 12.0);
  EXPECT_LE(s.yMin * s.yDivisor, -40.0);
  EXPECT_EQ(out.text().mid(out.text().indexOf("PSD waveform")), peaksAlone);
  EXPECT_EQ(s.npts, 101) << "the plotted arrays are the current run's";
}

}  // namespace
}  // namespace tessivar
