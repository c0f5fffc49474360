// A whole plot drawn into the surface's image: the Output box's exact lines, colours of the
// curve and the text, black-and-white mode, a curve leaving the limits, refused overrides.
#include <gtest/gtest.h>

#include <QSet>
#include <algorithm>
#include <cmath>

#include "Dialogs.h"
#include "OutputBox.h"
#include "Surface.h"
#include "TestPrinters.h"
#include "mdlPlots.h"

namespace tessivar {
namespace {

RunResults fivePointRun() {
  RunResults r;
  r.x_array = {0, 0.125f, 0.25f, 0.375f, 0.5f};
  r.spectrum = {-20, -5, -30, 0, -10};
  r.npointsZ = 5;
  r.nptsZ = 64;
  r.t_startZ = 0;
  r.t_finalZ = 6.3f;
  r.zeroFillZ = 0;
  r.sig2Z = 0.25f;
  r.RunMethod = "Burg";
  r.AnsName = "sf.49";
  r.RunFile = "C:\\Work\\SF.49";
  return r;
}

// 101 points over 0..0.5 at -40 dB with one point at 0 dB in the middle.
RunResults spikeRun() {
  RunResults r;
  for (int i = 0; i <= 100; ++i) {
    r.x_array.push_back(static_cast<float>(i * 0.005));
    r.spectrum.push_back(i == 50 ? 0.0f : -40.0f);
  }
  r.npointsZ = 101;
  r.RunMethod = "Periodogram";
  r.AnsName = "ex-per.0";
  r.RunFile = "ex-per.0";
  return r;
}

class PlotterTest : public ::testing::Test {
 protected:
  PlotterTest() : surface(QSize(640, 480), 96), plotter(surface, out, dialogs) {
    plotter.setClock([] { return QDateTime(QDate(2026, 12, 7), QTime(9, 8, 24)); });
  }

  // Pixels of colour c. Colour plots are antialiased, so a pixel counts when it lies within
  // 40 % of the way from c to the background: the core of a line or a letter, not its fringe.
  int countColor(const QColor& c, QRect area = {}) const {
    const QImage& img = surface.image();
    if (area.isNull()) area = img.rect();
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
      for (int x = area.left(); x <= area.right(); ++x)
        if (nearColor(img.pixelColor(x, y), c, surface.backColor())) ++n;
    return n;
  }
  static bool nearColor(const QColor& p, const QColor& c, const QColor& back) {
    auto d = [](const QColor& a, const QColor& b) {
      return std::hypot(a.red() - b.red(), a.green() - b.green(), a.blue() - b.blue());
    };
    return p == c || d(p, c) < 0.4 * d(c, back);
  }

  Surface surface;
  StringOutputBox out;
  ScriptedDialogs dialogs;
  Plotter plotter;
};

TEST_F(PlotterTest, OutputBoxLinesOfARun) {
  ASSERT_TRUE(plotter.startPlot(fivePointRun(), PlotSettings()));
  const QString text = out.text();
  const QString header = text.left(text.indexOf("\r\nCalling 1st line plot"));
  EXPECT_TRUE(header.contains("\r\n        ----File: c:\\work\\sf.49")) << "run file in lower case";
  EXPECT_EQ(text.mid(header.size()),
            "\r\nCalling 1st line plot"
            "\r\nBatch Input file ... fileIn = sf.49"
            "\r\n Min/Max/step=  0   50   4.6   1"
            "\r\n Min/Max/step=  0   50.6   4.6"
            "\r\n Min/Max/step= -30   0   5   1"
            "\r\n Min/Max/step= -30   0   5"
            "\r\n --------------------------------------"
            "\r\n PSD waveform contained following peaks"
            "\r\n --------------------------------------"
            "\r\n "
            "\r\n --------------------- 0  Ampl. = -20"
            "\r\n Peak # 1  at Freq = .125  Ampl. = -5"
            "\r\n --------------------- .25  Ampl. = -30"
            "\r\n "
            "\r\n --------------------- .25  Ampl. = -30"
            "\r\n Peak # 2  at Freq = .375  Ampl. =  0"
            "\r\n --------------------- .5  Ampl. = -10"
            "\r\n "
            "\r\n Peak Frequencies:    0   0");
  const PlotState& s = plotter.state();
  EXPECT_EQ(s.xExponent, -2);
  EXPECT_FLOAT_EQ(s.xMax, 50.6f);
  EXPECT_FLOAT_EQ(s.yMin, -30);
  EXPECT_EQ(s.runFile, "c:\\work\\sf.49");
  EXPECT_TRUE(dialogs.calls().empty());
}

TEST_F(PlotterTest, ColoursOfCurveTextAndBackground) {
  PlotSettings settings;
  settings.colors = PlotSettings::defaultColors();
  ASSERT_TRUE(plotter.startPlot(spikeRun(), settings));
  EXPECT_EQ(surface.image().pixelColor(0, 0), settings.colors[kBackground]);
  EXPECT_GT(countColor(settings.colors[kCurve1]), 400) << "the curve across the plot";
  EXPECT_GT(countColor(settings.colors[kAxes]), 500) << "axes, grid and labels";
  EXPECT_GT(countColor(settings.colors[kMiscInfo]), 50) << "run information and date";
  // The title is centred in the Titles colour on the top rows.
  const QColor titles = settings.colors[kTitles];
  int left = 640, right = -1;
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 640; ++x)
      if (nearColor(surface.image().pixelColor(x, y), titles, surface.backColor()))
        left = std::min(left, x), right = x > right ? x : right;
  ASSERT_LT(left, right);
  EXPECT_NEAR((left + right) / 2.0, 320, 6);
  EXPECT_EQ(countColor(settings.colors[kCurve2]), 0) << "no second curve";
}

TEST_F(PlotterTest, BlackAndWhiteHasAWhiteBackgroundAndOnlyBlack) {
  PlotSettings settings;
  settings.blackAndWhite = true;
  ASSERT_TRUE(plotter.startPlot(spikeRun(), settings));
  QSet<QRgb> seen;
  const QImage& img = surface.image();
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x) seen.insert(img.pixel(x, y) & 0xFFFFFF);
  EXPECT_EQ(seen, (QSet<QRgb>{0xFFFFFF, 0x000000}));
  EXPECT_GT(countColor(Qt::black), 1000);
}

TEST_F(PlotterTest, CurvePointAboveYMaxBreaksTheCurve) {
  PlotSettings settings;
  settings.gridLines = 0;
  settings.yOverride = true;
  settings.txtYmin = "-60";
  settings.txtYstep = "10";  // yMax -10: the 0 dB point lies above the plot
  ASSERT_TRUE(plotter.startPlot(spikeRun(), settings));
  const PlotState& s = plotter.state();
  EXPECT_FLOAT_EQ(s.yMin, -60);
  EXPECT_FLOAT_EQ(s.yMax, -10);
  const QColor curve = settings.colors[kCurve1];
  // Point 50 is at plotted x 25; the segment into it is drawn, the one out of it is not.
  const int px24 = qRound(surface.toPixelX(24.5)), px25 = qRound(surface.toPixelX(25));
  const int px26 = qRound(surface.toPixelX(25.5));
  EXPECT_GT(countColor(curve, QRect(QPoint(px24 + 1, 0), QPoint(px25 - 1, 479))), 0);
  EXPECT_EQ(countColor(curve, QRect(QPoint(px25 + 1, 0), QPoint(px26 - 1, 479))), 0);
  EXPECT_GT(countColor(curve, QRect(QPoint(px26 + 2, 0), QPoint(px26 + 20, 479))), 0);
}

TEST_F(PlotterTest, XAxisOnlyDottedGridReplacesXTicks) {
  PlotSettings settings;
  settings.gridLines = 2;
  settings.gridType = 2;
  settings.colors = PlotSettings::defaultColors();
  ASSERT_TRUE(plotter.startPlot(spikeRun(), settings));
  if (qEnvironmentVariableIsSet("TESSIVAR_KEEP_PLOTS")) surface.image().save("/tmp/dotted.png");
  // The vertical grid line at x tick 5.1 is dotted: along it axes-coloured and background
  // pixels alternate, well away from the axis and the labels.
  const int px = qRound(surface.toPixelX(5.1));
  const QColor axes = settings.colors[kAxes];
  int onLine = 0, gaps = 0;
  for (int y = 60; y < 150; ++y) {
    const int n = countColor(axes, QRect(px - 1, y, 3, 1));
    if (n > 0) ++onLine;
    if (n == 0) ++gaps;
  }
  EXPECT_GT(onLine, 20);
  EXPECT_GT(gaps, 20);
  // No horizontal grid line: a row at a y tick away from the y axis is background.
  const int py = qRound(
      surface.toPixelY(plotter.state().yMin + (plotter.state().yMax - plotter.state().yMin) * 0.4));
  EXPECT_EQ(countColor(axes, QRect(px + 40, py, 100, 1)), 0);
}

TEST_F(PlotterTest, ScaleFactorNoteAndUserScaleMargins) {
  ASSERT_TRUE(plotter.startPlot(spikeRun(), PlotSettings()));
  EXPECT_NEAR(surface.scaleLeft(), -0.05 * 50.6, 1e-4);
  EXPECT_NEAR(surface.scaleWidth(), 1.1 * 50.6, 1e-4);
  const PlotState& s = plotter.state();
  EXPECT_NEAR(surface.scaleTop(), s.yMax + 0.05 * (s.yMax - s.yMin), 1e-4);
  EXPECT_LT(surface.scaleHeight(), 0);
  // The note's three lines stand at the bottom left, the last ("X-axis = 10E-2", no y line)
  // ending a margin of 5 pixels above the bottom edge.
  const QColor axes = PlotSettings().colors[kAxes];
  EXPECT_GT(countColor(axes, QRect(5, 420, 80, 55)), 30);
  EXPECT_EQ(countColor(axes, QRect(0, 476, 100, 4)), 0);
  const auto& cells = surface.textRects();
  const auto last = std::max_element(cells.begin(), cells.end(),
                                     [](auto& a, auto& b) { return a.bottom() < b.bottom(); });
  ASSERT_NE(last, cells.end());
  EXPECT_NEAR(last->bottom(), 475, 1.0);
  EXPECT_NEAR(last->left(), 5, 0.5);
}

TEST_F(PlotterTest, VerticalAxisTitleReadsUpwards) {
  PlotSettings settings;
  settings.colors = PlotSettings::defaultColors();
  settings.gridLines = 0;
  ASSERT_TRUE(plotter.startPlot(spikeRun(), settings));
  // Centred on (0.9 x 640, 0.3 x 480) = (576, 144): a tall, narrow patch of Axes colour
  // (searched above the x labels' row).
  const QImage& img = surface.image();
  const QColor axes = settings.colors[kAxes];
  int top = 480, bottom = -1, left = 640, right = -1;
  for (int y = 30; y < 230; ++y)  // below the x axis line at 0 dB
    for (int x = 560; x < 592; ++x)
      if (nearColor(img.pixelColor(x, y), axes, surface.backColor())) {
        top = std::min(top, y), bottom = std::max(bottom, y);
        left = std::min(left, x), right = std::max(right, x);
      }
  ASSERT_LT(top, bottom);
  EXPECT_GT(bottom - top, 3 * (right - left));
  EXPECT_NEAR((top + bottom) / 2.0, 144, 6);
  EXPECT_NEAR((left + right) / 2.0, 576, 6);
}

TEST_F(PlotterTest, OverrideTextsReproduceThePlot) {
  ASSERT_TRUE(plotter.startPlot(spikeRun(), PlotSettings()));
  const PlotState first = plotter.state();
  const OverrideTexts t = plotter.overrideTexts();
  EXPECT_EQ(t.xMin, " 0");
  EXPECT_EQ(t.xStep, " .0506");
  PlotSettings again;
  again.xOverride = again.yOverride = true;
  again.txtXmin = t.xMin;
  again.txtXstep = t.xStep;
  again.txtYmin = t.yMin;
  again.txtYstep = t.yStep;
  ASSERT_TRUE(plotter.startPlot(spikeRun(), again));
  const PlotState& second = plotter.state();
  EXPECT_EQ(second.xExponent, first.xExponent);
  EXPECT_FLOAT_EQ(second.xMin, first.xMin);
  EXPECT_FLOAT_EQ(second.xMax, first.xMax);
  EXPECT_FLOAT_EQ(second.yMin, first.yMin);
  EXPECT_NEAR(second.yMax, first.yMax, 1e-5);  // the step is carried in 7 digits
}

TEST_F(PlotterTest, UnusableOverrideDrawsNothingAndSaysWhy) {
  ASSERT_TRUE(plotter.startPlot(spikeRun(), PlotSettings()));
  PlotSettings bad;
  bad.xOverride = true;
  bad.txtXmin = "abc";
  bad.txtXstep = "5";
  EXPECT_FALSE(plotter.startPlot(spikeRun(), bad));
  ASSERT_EQ(dialogs.messages().size(), 1u);
  EXPECT_EQ(dialogs.messages()[0].title, "In 'PlotSpectrum' routine ...");
  EXPECT_EQ(dialogs.messages()[0].icon, Dialogs::Icon::Warning);
  EXPECT_TRUE(dialogs.messages()[0].text.startsWith(
      "No plot drawn: 'Enter X-min value:' holds \"abc\", which is not a number."));
  EXPECT_EQ(countColor(bad.colors[kBackground]), 640 * 480) << "an empty surface";
  EXPECT_FALSE(out.text().contains("Peak Frequencies"));
}

TEST_F(PlotterTest, MorePointsClaimedThanDeliveredPlotsWhatIsThere) {
  RunResults r = fivePointRun();
  r.npointsZ = 4096;
  ASSERT_TRUE(plotter.startPlot(r, PlotSettings()));
  EXPECT_EQ(plotter.state().npts, 5);
}

}  // namespace
}  // namespace tessivar
