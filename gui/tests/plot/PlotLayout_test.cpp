// Every text of a plot whole and apart: over a grid of picture sizes and device pixel ratios,
// the cells the surface records for the texts it drew neither overlap nor leave the picture,
// with and without the legend of held curves, and text grows with the picture.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "Dialogs.h"
#include "HeldCurves.h"
#include "OutputBox.h"
#include "Surface.h"
#include "mdlPlots.h"

namespace tessivar {
namespace {

// A run with long texts everywhere: the longest method name, a long run file, an x axis with a
// power of ten taken out and a y axis with one too, so the scale-factor note has four lines.
RunResults longTextRun() {
  RunResults r;
  for (int i = 0; i <= 200; ++i) {
    r.x_array.push_back(static_cast<float>(i * 0.0025));
    r.spectrum.push_back(static_cast<float>(-1234.5 + 1000 * std::sin(i * 0.1)));
  }
  r.npointsZ = 201;
  r.t_startZ = 0.001234567f;
  r.t_finalZ = 1234.567f;
  r.zeroFillZ = 87.5f;
  r.sig2Z = 1.234567e-7f;
  r.RunMethod = "Least-squares modified Yule-Walker";
  r.AnsName = "a-long-answer-file-name.dat";
  r.RunFile = "C:\\Work\\Spectra\\A-LONG-ANSWER-FILE-NAME.DAT";
  return r;
}

RunResults shortRun() {
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

struct Picture {
  QSize logical;
  double ratio;
};

// Logical sizes from the smallest window to a 4K screen, at ratios 1 and 2 (the image holds
// logical size times ratio pixels, up to 3840 by 2160).
std::vector<Picture> pictures() {
  std::vector<Picture> p;
  for (QSize s : {QSize(480, 360), QSize(640, 480), QSize(900, 650), QSize(1280, 720),
                  QSize(1600, 1000), QSize(1920, 1080), QSize(2560, 1440), QSize(3840, 2160)})
    for (double r : {1.0, 2.0})
      if (s.width() * r <= 3840) p.push_back({s, r});
  return p;
}

std::string describe(const Picture& p, const QRectF& r) {
  return QStringLiteral("%1x%2 ratio %3, text at %4,%5 size %6x%7")
      .arg(p.logical.width())
      .arg(p.logical.height())
      .arg(p.ratio)
      .arg(r.x())
      .arg(r.y())
      .arg(r.width())
      .arg(r.height())
      .toStdString();
}

class PlotLayoutTest : public ::testing::TestWithParam<bool> {};

TEST_P(PlotLayoutTest, NoTextOverlapsAnotherOrLeavesThePicture) {
  const RunResults run = GetParam() ? longTextRun() : shortRun();
  for (const Picture& pic : pictures()) {
    Surface surface(pic.logical * pic.ratio, 96);
    surface.setDevicePixelRatio(pic.ratio);
    StringOutputBox out;
    ScriptedDialogs dialogs;
    Plotter plotter(surface, out, dialogs);
    plotter.setClock([] { return QDateTime(QDate(2026, 12, 7), QTime(19, 48, 24)); });
    PlotSettings settings;
    settings.colors = PlotSettings::defaultColors();
    ASSERT_TRUE(plotter.startPlot(run, settings));
    if (qEnvironmentVariableIsSet("TESSIVAR_KEEP_PLOTS"))
      surface.image().save(QStringLiteral("/tmp/layout_%1_%2x%3_r%4.png")
                               .arg(GetParam() ? "long" : "short")
                               .arg(pic.logical.width())
                               .arg(pic.logical.height())
                               .arg(pic.ratio));
    const auto& cells = surface.textRects();
    ASSERT_GE(cells.size(), 15u);
    const QRectF picture(QPointF(0, 0), QSizeF(surface.size()));
    for (std::size_t i = 0; i < cells.size(); ++i) {
      EXPECT_TRUE(picture.contains(cells[i])) << describe(pic, cells[i]);
      for (std::size_t j = i + 1; j < cells.size(); ++j)
        EXPECT_FALSE(cells[i].intersects(cells[j]))
            << describe(pic, cells[i]) << " and " << describe(pic, cells[j]);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Runs, PlotLayoutTest, ::testing::Values(false, true));

// Held curves for the legend: one with a short name beside the short run, the full eight with
// long names beside the long one.
HeldCurves heldFor(bool longTexts) {
  HeldCurves held;
  for (int i = 0; i < (longTexts ? HeldCurves::kMax : 1); ++i) {
    HeldCurve c;
    for (int k = 0; k <= 50; ++k) {
      c.freq.push_back(static_cast<float>(k * 0.01));
      c.db.push_back(static_cast<float>(-30 - 2 * i - k % 7));
    }
    c.label = longTexts ? QStringLiteral(
                              "Lockheed (Autocorr/Burg), p=%1, q=12, "
                              "a-rather-long-data-file-name-%1.rda")
                              .arg(10 + i)
                        : QStringLiteral("Periodogram, sine.dat");
    held.hold(c);
  }
  return held;
}

TEST_P(PlotLayoutTest, LegendStaysInsideAndApartFromEveryText) {
  const RunResults run = GetParam() ? longTextRun() : shortRun();
  const HeldCurves held = heldFor(GetParam());
  for (const Picture& pic : pictures()) {
    Surface surface(pic.logical * pic.ratio, 96);
    surface.setDevicePixelRatio(pic.ratio);
    StringOutputBox out;
    ScriptedDialogs dialogs;
    Plotter plotter(surface, out, dialogs);
    plotter.setClock([] { return QDateTime(QDate(2026, 12, 7), QTime(19, 48, 24)); });
    PlotSettings settings;
    settings.colors = PlotSettings::defaultColors();
    ASSERT_TRUE(plotter.startPlot(run, settings));
    const std::size_t alone = surface.textRects().size();
    plotter.setOverlay(&held, QStringLiteral("Burg, p=10, sine.dat"));
    ASSERT_TRUE(plotter.startPlot(run, settings));
    const auto& cells = surface.textRects();
    ASSERT_EQ(cells.size(), alone + held.size() + 1) << "a legend row per curve";
    const QRectF picture(QPointF(0, 0), QSizeF(surface.size()));
    for (std::size_t i = 0; i < cells.size(); ++i) {
      EXPECT_TRUE(picture.contains(cells[i])) << describe(pic, cells[i]);
      for (std::size_t j = std::max(i + 1, alone); j < cells.size(); ++j)
        EXPECT_FALSE(cells[i].intersects(cells[j]))
            << describe(pic, cells[i]) << " and " << describe(pic, cells[j]);
    }
  }
}

TEST(PlotLayout, TextGrowsWithThePictureAndTheRatio) {
  // The date's cell height, a small text, at three pictures: twice the logical size or twice
  // the ratio gives about twice the pixels; the rotated title is as tall as the x title.
  auto cellsOf = [](QSize logical, double ratio) {
    Surface surface(logical * ratio, 96);
    surface.setDevicePixelRatio(ratio);
    StringOutputBox out;
    ScriptedDialogs dialogs;
    Plotter plotter(surface, out, dialogs);
    EXPECT_TRUE(plotter.startPlot(shortRun(), PlotSettings()));
    return surface.textRects();
  };
  const auto base = cellsOf(QSize(800, 600), 1);
  const auto big = cellsOf(QSize(1600, 1200), 1);
  const auto sharp = cellsOf(QSize(800, 600), 2);
  ASSERT_EQ(base.size(), big.size());
  ASSERT_EQ(base.size(), sharp.size());
  EXPECT_NEAR(big[0].height() / base[0].height(), 2.0, 0.25);
  EXPECT_NEAR(sharp[0].height() / base[0].height(), 2.0, 0.25);
  // Drawing order: date, title, subtitle, file, three information lines, "Frequency", the
  // turned title.
  const QRectF frequency = base[7], turned = base[8];
  EXPECT_GT(turned.height(), 3 * turned.width()) << "reads upwards";
  EXPECT_NEAR(turned.width(), frequency.height(), 1.5);
}

}  // namespace
}  // namespace tessivar
