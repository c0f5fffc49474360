// The Plot tab's comparison tools as the window uses them: held curves kept across plots, the
// read-out in the status bar, and zoom writing the Setup tab's overrides.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QStatusBar>

#include "Dialogs.h"
#include "NumberFormat.h"
#include "OutputBox.h"
#include "PlotController.h"
#include "PlotPage.h"
#include "SetupPage.h"

namespace tessivar {
namespace {

// 65 points over 0..0.5 with a peak of 0 dB at .15625 over a floor near -30 dB.
RunResults run(const char* method = "Burg") {
  RunResults r;
  for (int i = 0; i <= 64; ++i) {
    r.x_array.push_back(static_cast<float>(i / 128.0));
    r.spectrum.push_back(i == 20 ? 0.0f : -30.0f - (i % 3));
  }
  r.npointsZ = 65;
  r.RunMethod = method;
  r.AnsName = "b.1";
  r.RunFile = "b.1";
  return r;
}

class PlotZoomTest : public ::testing::Test {
 protected:
  void SetUp() override {
    QSettings().clear();
    plots.loadSettings();
    plots.surface().resize(QSize(640, 480));
    plots.setCurveLabeler([](const RunResults& r) { return r.RunMethod + ", sine.dat"; });
  }
  void TearDown() override { QSettings().clear(); }
  // A point of the plot (true units) where the picture box shows it.
  QPointF boxPoint(double f, double db) {
    const PlotState& s = plots.plotter().state();
    return {plots.surface().toPixelX(f / s.xDivisor), plots.surface().toPixelY(db / s.yDivisor)};
  }

  ScriptedDialogs dialogs;
  StringOutputBox out;
  PlotController plots{dialogs, out};
};

TEST_F(PlotZoomTest, HeldCurvesOutliveReplotsExitAndNewSettings) {
  EXPECT_FALSE(plots.holdCurve()) << "nothing plotted yet";
  plots.applySwitches(switchesAtStartPlot());
  ASSERT_TRUE(plots.startPlot(run("Periodogram")));
  EXPECT_TRUE(plots.plotPage()->cmdHoldCurve()->isEnabled());
  EXPECT_FALSE(plots.plotPage()->cmdClearHeld()->isEnabled());
  const std::size_t single = plots.surface().textRects().size();
  ASSERT_TRUE(plots.holdCurve());
  EXPECT_EQ(plots.surface().textRects().size(), single + 2) << "the legend's two rows";
  plots.discardPlot();
  plots.applySwitches(switchesAtExitPlotting());
  plots.applySwitches(switchesAtStartPlot());
  plots.setupPage()->chkBlacknWhite()->click();
  ASSERT_TRUE(plots.startPlot(run("Burg")));
  ASSERT_EQ(plots.heldCurves().size(), 1);
  EXPECT_EQ(plots.heldCurves()[0].label, "Periodogram, sine.dat");
  EXPECT_EQ(plots.surface().textRects().size(), single + 2);
  EXPECT_TRUE(plots.holdCurve());
  EXPECT_FALSE(plots.holdCurve()) << "the same spectrum once";
  for (int i = 2; i < HeldCurves::kMax; ++i) {
    plots.startPlot(run("Burg"));
    EXPECT_TRUE(plots.holdCurve());
  }
  plots.startPlot(run("Burg"));
  EXPECT_FALSE(plots.holdCurve()) << "eight at most";
  EXPECT_FALSE(plots.plotPage()->cmdHoldCurve()->isEnabled());
  plots.plotPage()->cmdClearHeld()->click();
  EXPECT_TRUE(plots.heldCurves().empty());
  EXPECT_EQ(plots.surface().textRects().size(), single);
}

TEST_F(PlotZoomTest, ReadOutShowsTheNearestPointAndTheHeldValues) {
  plots.applySwitches(switchesAtStartPlot());
  ASSERT_TRUE(plots.startPlot(run("Periodogram")));
  plots.holdCurve();
  RunResults second = run("Burg");
  for (float& v : second.spectrum) v -= 5;
  ASSERT_TRUE(plots.startPlot(second));
  // Just right of point 20 (.15625): that point, and the held curve's value there.
  const QPointF at = boxPoint(0.158, -12);
  const auto cross = plots.hover(at);
  ASSERT_TRUE(cross);
  const QPointF peak = boxPoint(20 / 128.0, -5);
  EXPECT_NEAR(cross->x(), peak.x(), 0.01);
  EXPECT_NEAR(cross->y(), peak.y(), 0.01);
  EXPECT_EQ(plots.plotPage()->statusBar()->currentMessage(),
            "Frequency = .15625   PSD = -5 dB   |   Periodogram, sine.dat: 0 dB");
  EXPECT_FALSE(plots.hover(std::nullopt));
  EXPECT_TRUE(plots.plotPage()->statusBar()->currentMessage().isEmpty());
}

TEST_F(PlotZoomTest, DraggedRectangleBecomesTheOverridesAndAsksForAPlot) {
  QSignalSpy asked(&plots, &PlotController::plotRequested);
  ASSERT_TRUE(plots.startPlot(run()));
  const QRectF box(boxPoint(0.1, -2).toPoint(), boxPoint(0.3, -22).toPoint());
  plots.zoomTo(box);
  EXPECT_EQ(asked.count(), 0) << "not while plotting is off";
  plots.applySwitches(switchesAtStartPlot());
  plots.zoomTo(box);
  ASSERT_EQ(asked.count(), 1);
  const SetupPage& setup = *plots.setupPage();
  EXPECT_TRUE(setup.chkXaxis()->isChecked());
  EXPECT_TRUE(setup.chkYaxis()->isChecked());
  // Whole pixels of the box stand for a little of either axis: within a pixel's worth.
  const PlotState& s = plots.plotter().state();
  const double xPixel = plots.surface().pixelsToScaleX(1) * s.xDivisor;
  const double yPixel = -plots.surface().pixelsToScaleY(1) * s.yDivisor;
  EXPECT_NEAR(leadingNumber(setup.txtXmin()->text()), 0.1, xPixel);
  EXPECT_NEAR(leadingNumber(setup.txtXstep()->text()) * 10, 0.2, 2 * xPixel);
  EXPECT_NEAR(leadingNumber(setup.txtYmin()->text()), -22, yPixel);
  EXPECT_NEAR(leadingNumber(setup.txtYstep()->text()) * 5, 20, 2 * yPixel);
  // The overrides as the plot reads them give that rectangle.
  ASSERT_TRUE(plots.startPlot(run()));
  EXPECT_NEAR(plots.plotter().state().xMin * plots.plotter().state().xDivisor, 0.1, xPixel);

  plots.zoomReset();
  EXPECT_EQ(asked.count(), 2);
  EXPECT_FALSE(setup.chkXaxis()->isChecked());
  EXPECT_FALSE(setup.chkYaxis()->isChecked());
  plots.zoomReset();
  EXPECT_EQ(asked.count(), 2) << "already automatic";
}

}  // namespace
}  // namespace tessivar
