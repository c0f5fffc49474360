// The peak list of the Output box: exact lines for the edge cases, and the gathered, sorted
// peaks left in the arrays.
#include "PeakList.h"

#include <gtest/gtest.h>

#include "TestPrinters.h"

namespace tessivar {
namespace {

const QString kHeader =
    "\r\n --------------------------------------"
    "\r\n PSD waveform contained following peaks"
    "\r\n --------------------------------------";

TEST(ListPeaks, PointOneIsAPeakWhenTheSpectrumFallsFromAPositiveFrequency) {
  std::vector<float> x = {0.25f, 0.5f, 0.75f}, y = {0, -1, -2};
  EXPECT_EQ(ListPeaks(x, y, 1.0), kHeader +
                                      "\r\n "
                                      "\r\n Peak # 1  at Freq = .25  Ampl. =  0"
                                      "\r\n --------------------- .5  Ampl. = -1"
                                      "\r\n "
                                      "\r\n Peak Frequencies:    0");
}

TEST(ListPeaks, NoPeakWhenFrequenciesStartAtZeroOrAPlateau) {
  const struct {
    std::vector<float> x, y;
  } cases[] = {
      {{0, 0.25f, 0.5f}, {0, -1, -2}},            // falls from frequency 0
      {{-0.25f, 0, 0.25f}, {0, -1, -2}},          // and from a negative one
      {{0.25f, 0.5f, 0.75f, 1}, {-3, 0, 0, -3}},  // plateau
      {{0.25f, 0.5f, 0.75f}, {-2, -1, 0}},        // the last point is never a peak
  };
  for (auto c : cases) {
    EXPECT_EQ(ListPeaks(c.x, c.y, 1.0), "\r\n \r\n Peak Frequencies: none > 0!");
  }
}

TEST(ListPeaks, OnlyPositiveFrequenciesSortedByAmplitude) {
  // Peaks at -0.25 (ignored), 0.125 (-10 dB) and 0.375 (0 dB).
  std::vector<float> x = {-0.5f, -0.375f, -0.25f, -0.125f, 0, 0.125f, 0.25f, 0.375f, 0.5f};
  std::vector<float> y = {-40, -30, -5, -30, -40, -10, -20, 0, -20};
  EXPECT_EQ(ListPeaks(x, y, 1.0), kHeader +
                                      "\r\n "
                                      "\r\n --------------------- 0  Ampl. = -40"
                                      "\r\n Peak # 1  at Freq = .125  Ampl. = -10"
                                      "\r\n --------------------- .25  Ampl. = -20"
                                      "\r\n "
                                      "\r\n --------------------- .25  Ampl. = -20"
                                      "\r\n Peak # 2  at Freq = .375  Ampl. =  0"
                                      "\r\n --------------------- .5  Ampl. = -20"
                                      "\r\n "
                                      "\r\n Peak Frequencies:    0   0");
  EXPECT_FLOAT_EQ(x[0], 0.375f);  // gathered at the front, largest first
  EXPECT_FLOAT_EQ(y[0], 0);
  EXPECT_FLOAT_EQ(x[1], 0.125f);
  EXPECT_FLOAT_EQ(y[1], -10);
}

TEST(ListPeaks, DividedFrequenciesAreShownInTrueUnitsAndRoundedHalfToEven) {
  // Plotted x are divided by 100 (exponent 2): 0.125 is 12.5 Hz, 0.135 is 13.5 Hz.
  std::vector<float> x = {0.12f, 0.125f, 0.13f, 0.135f, 0.14f};
  std::vector<float> y = {-9, -1, -9, -2, -9};
  const QString text = ListPeaks(x, y, 100.0);
  EXPECT_TRUE(text.endsWith("\r\n Peak Frequencies:    12   14")) << text.toStdString();
  EXPECT_TRUE(text.contains("\r\n Peak # 1  at Freq = 12.5  Ampl. = -1"));
}

TEST(ListPeaks, AtMostFiftyPeaksInFrequencyOrder) {
  std::vector<float> x, y;
  for (int i = 0; i < 130; ++i) {
    x.push_back(static_cast<float>(i + 1));
    y.push_back(i % 2 ? 0.0f : -1.0f - i * 0.001f);  // a peak at every second point
  }
  const QString text = ListPeaks(x, y, 1.0);
  EXPECT_TRUE(text.contains("\r\n Peak # 50  at Freq = 100  Ampl. =  0"));
  EXPECT_FALSE(text.contains("Peak # 51"));
  EXPECT_TRUE(text.endsWith("   100")) << "equal amplitudes keep their order";
}

}  // namespace
}  // namespace tessivar
