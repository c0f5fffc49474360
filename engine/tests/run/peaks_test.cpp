// The run log's peak table.
#include <gtest/gtest.h>

#include <vector>

#include "spec_est.h"
#include "spec_in.h"

using namespace voxtrel;

namespace {

std::vector<std::string> table(const std::vector<float>& y) {
  RunLog log;
  voxtrel::Run r(log);
  std::vector<float> x(y.size());
  for (std::size_t i = 0; i < x.size(); ++i) x[i] = 0.01f * static_cast<float>(i);
  tab_peaks(r, kStatusOk, x.data(), y.data(), static_cast<int>(y.size()));
  return log.lines();
}

int countPeaks(const std::vector<std::string>& lines) {
  int n = 0;
  for (const auto& l : lines) n += l.rfind(" Peak #", 0) == 0;
  return n;
}

}  // namespace

TEST(PeakTable, DecreasingSpectrumHasOnePeakAtTheFirstPoint) {
  const auto lines = table({0, -1, -2, -3});
  ASSERT_EQ(countPeaks(lines), 1);
  EXPECT_EQ(lines[0], "");
  EXPECT_EQ(lines[3], std::string(52, '-'));
  EXPECT_EQ(lines[4], "      PSD waveform contained following peaks");
  EXPECT_EQ(lines[6], " Peak # 1  at Freq = 0.00000E+00  Ampl. =    0.00000E+00");
  // Index 1: only the neighbour lines for j and j + 1.
  EXPECT_EQ(lines[7], " Ck. 4 Peak ... at Freq =     0.00000E+00 Ampl. =    0.00000E+00");
  EXPECT_EQ(lines[8], "");
  EXPECT_EQ(lines[9], " Ck. 4 Peak ... at Freq =     1.00000E-02 Ampl. =   -1.00000E+00");
  EXPECT_EQ(lines.size(), 11u);
}

TEST(PeakTable, IncreasingSpectrumAndPlateausWriteNothing) {
  EXPECT_TRUE(table({-3, -2, -1, 0}).empty());
  EXPECT_TRUE(table({-3, 0, 0, -3}).empty());
  EXPECT_TRUE(table({0}).empty());
}

TEST(PeakTable, PeakBeforeTheLastPointShowsBothNeighbours) {
  const auto lines = table({-5, -4, -3, 0, -1});
  ASSERT_EQ(countPeaks(lines), 1);
  EXPECT_EQ(lines[6], " Peak # 1  at Freq = 3.00000E-02  Ampl. =    0.00000E+00");
  EXPECT_NE(lines[7].find("2.00000E-02"), std::string::npos);
  EXPECT_NE(lines[9].find("3.00000E-02"), std::string::npos);
  EXPECT_NE(lines[11].find("4.00000E-02"), std::string::npos);
}

TEST(PeakTable, AtMostOneHundredPeaksInFrequencyOrder) {
  std::vector<float> y;
  for (int i = 0; i < 150; ++i) {
    y.push_back(-10);
    y.push_back(static_cast<float>(-i) / 10.0f);
  }
  y.push_back(-10);
  const auto lines = table(y);
  EXPECT_EQ(countPeaks(lines), 100);
  std::string last;
  for (const auto& l : lines) {
    if (l.rfind(" Peak #", 0) == 0) last = l;
  }
  EXPECT_EQ(last.substr(0, 9), " Peak #**");  // the number overflows its two columns
  EXPECT_NE(last.find("1.99000E+00"), std::string::npos);  // point 200: the 100th maximum
}
