// Axis scaling against worked examples: exponent, limits and trace lines; the tick values and
// grid switches.
#include "AxisScale.h"

#include <gtest/gtest.h>

#include "TestPrinters.h"

namespace tessivar {
namespace {

struct ScaleCase {
  const char* what;
  float min, max;
  int N;
  int exponent;
  float outMin, outMax;
};

TEST(ScaleAxis, WorkedExamples) {
  const ScaleCase cases[] = {
      {"x 0 to 0.5", 0.0f, 0.5f, 11, -2, 0.0f, 50.6f},
      {"y -60 to +20 dB", -60.0f, 20.0f, 6, 0, -60.0f, 24.0f},
      {"flat data at -5", -5.0f, -5.0f, 6, 0, -5.0f, -5.0f + 6.6f},
      {"flat data at 0", 0.0f, 0.0f, 6, 0, 0.0f, 6.6f},
      {"minimum 1.23 lowered to 1.2", 1.23f, 11.23f, 6, 0, 1.2f, 11.4f},
      {"minimum 0.005 becomes 0", 0.005f, 1.005f, 6, 0, 0.0f, 1.02f},
      {"minimum 0.5 stays", 0.5f, 1.5f, 6, 0, 0.5f, 1.52f},
      {"minimum -0.005 stays", -0.005f, 0.995f, 6, 0, -0.005f, 1.015f},
      {"x range of 1", 0.0f, 1.0f, 11, -2, 0.0f, 100.1f},
      {"d = 250", 0.0f, 1500.0f, 6, 2, 0.0f, 15.0f},
      {"d = 1000", 0.0f, 6000.0f, 6, 2, 0.0f, 60.0f},
      // 0.3 in single precision divided by 0.01 is 30.000002: the step rounds up to 5.1.
      {"d = 0.05", 0.0f, 0.3f, 6, -2, 0.0f, 30.6f},
      {"d = 0.0417", 0.0f, 0.25f, 6, -2, 0.0f, 25.2f},
      {"limits the wrong way round", 20.0f, -60.0f, 6, 0, -60.0f, 24.0f},
  };
  for (const auto& c : cases) {
    float min = c.min, max = c.max;
    QString trace;
    EXPECT_EQ(ScaleAxis(min, max, c.N, trace), c.exponent) << c.what;
    EXPECT_FLOAT_EQ(min, c.outMin) << c.what;
    EXPECT_FLOAT_EQ(max, c.outMax) << c.what;
  }
}

TEST(ScaleAxis, ExponentIsEvenAndRoundsTowardsTheLowerPower) {
  const struct {
    float max;
    int exponent;
  } cases[] = {{0.0594f, -4}, {0.3f, -2}, {0.6f, 0}, {599.0f, 0}, {600.0f, 2}, {6.0e6f, 6}};
  for (const auto& c : cases) {
    float min = 0, max = c.max;
    QString trace;
    EXPECT_EQ(ScaleAxis(min, max, 6, trace), c.exponent) << c.max;
  }
}

TEST(ScaleAxis, TraceLines) {
  struct {
    float min, max;
    int N;
    const char* trace;
  } cases[] = {
      {0.0f, 0.5f, 11, "\r\n Min/Max/step=  0   50   4.6   1\r\n Min/Max/step=  0   50.6   4.6"},
      {-60.0f, 20.0f, 6, "\r\n Min/Max/step= -60   20   1.4   10\r\n Min/Max/step= -60   24   14"},
      {-5.0f, -5.0f, 6, "\r\n Min/Max/step= -5  -5   1.1   1\r\n Min/Max/step= -5   1.6   1.1"},
      {0.005f, 1.005f, 6,
       "\r\n Min/Max/step=  0   1.005   1.7   .1\r\n Min/Max/step=  0   1.02   .17"},
  };
  for (const auto& c : cases) {
    float min = c.min, max = c.max;
    QString trace = "before";
    ScaleAxis(min, max, c.N, trace);
    EXPECT_EQ(trace, QString("before") + c.trace);
  }
}

// -3.5 .. 21.1 gives the step 4.1, but -3.5 + 6 x 4.1 rounds to 21.0999985 in single precision,
// below 21.1000004: that step is rejected and the next tenth, 4.2, is both tested and applied.
TEST(ScaleAxis, StepLeftShortByRoundingGrowsByATenth) {
  float min = -3.5f, max = 21.1f;
  QString trace;
  EXPECT_EQ(ScaleAxis(min, max, 6, trace), 0);
  EXPECT_FLOAT_EQ(min, -3.5f);
  EXPECT_FLOAT_EQ(max, -3.5f + 6 * 4.2f);
  EXPECT_EQ(trace,
            "\r\n Min/Max/step= -3.5   21.1   4.1   1"
            "\r\n step/min=  4.1  -3.5"
            "\r\n Min/Max/step= -3.5   21.7   4.2");
}

TEST(ScaleAxis, ShortfallOnAnXAxisWithTenDigitsLeading) {
  // N = 11: -80.6 .. -5.8 (single) leaves the step 6.8 short; 6.9 is applied.
  float min = -80.6f, max = -5.79999542f;
  QString trace;
  ScaleAxis(min, max, 11, trace);
  EXPECT_TRUE(trace.contains("\r\n step/min=  6.8  -80.6")) << trace.toStdString();
  EXPECT_FLOAT_EQ(max, static_cast<float>(-80.6f + 11.0 * 6.9f));
  EXPECT_GE(max, -5.79999542f);
}

TEST(TickValues, XTicksUseFloorAndCeiling) {
  const auto v = xTickValues(0.0f, 50.6f);
  const double expected[] = {0, 5.1, 10.2, 15.3, 20.4, 25.5, 30.6, 35.7, 40.8, 45.9, 51};
  for (int i = 0; i < 11; ++i) EXPECT_NEAR(v[i], expected[i], 1e-9) << i;
  const auto n = xTickValues(-0.55f, 0.5f);  // Int(-5.5) / 10 = -0.6, Ceiling(1.05) / 10 = 0.2
  EXPECT_NEAR(n[0], -0.6, 1e-6);
  EXPECT_NEAR(n[10], 1.4, 1e-6);
}

TEST(TickValues, YTicksDivideTheRangeInFive) {
  const auto w = yTickValues(-60.0f, 24.0f);
  const double expected[] = {-60, -43.2, -26.4, -9.6, 7.2, 24};
  for (int j = 0; j < 6; ++j) EXPECT_NEAR(w[j], expected[j], 1e-9) << j;
}

TEST(Axes, PositionAndGridSwitches) {
  EXPECT_FLOAT_EQ(axisPosition(-60, -10), -60);  // wholly below zero: on the lower edge
  EXPECT_FLOAT_EQ(axisPosition(-60, 24), 0);     // spans zero: at zero
  EXPECT_FLOAT_EQ(axisPosition(0, 50.6f), 0);
  EXPECT_FLOAT_EQ(axisPosition(2, 5), 2);
  const struct {
    int choice;
    bool v, h;
  } grids[] = {
      {0, false, false}, {1, true, true}, {2, true, false}, {3, false, true}, {-1, false, false}};
  for (const auto& g : grids) {
    EXPECT_EQ(gridSwitches(g.choice).vertical, g.v) << g.choice;
    EXPECT_EQ(gridSwitches(g.choice).horizontal, g.h) << g.choice;
  }
  EXPECT_EQ(roundHalfEven(2.5), 2);
  EXPECT_EQ(roundHalfEven(3.5), 4);
  EXPECT_EQ(roundHalfEven(-1.342), -1);
}

}  // namespace
}  // namespace tessivar
