// The spectrum driver and the entry's result values: frequency grids, zero fill, decibels,
// bad points, and every bad input ending in a clear status.
#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <algorithm>
#include <cmath>
#include <complex>
#include <limits>

#include "test_support.h"

using voxtrel::Outcome;
using vtest::Answer;

namespace {

std::vector<float> cosine(int n, double f, double dt = 1.0) {
  std::vector<float> y(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) y[i] = static_cast<float>(std::cos(2 * M_PI * f * i * dt));
  return y;
}

bool logHas(const vtest::TempDir& dir, const std::string& line) {
  const auto lines = vtest::readLines(dir / "~Tirelle.out");
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

bool logContains(const vtest::TempDir& dir, const std::string& text) {
  return vtest::readFile(dir / "~Tirelle.out").find(text) != std::string::npos;
}

}  // namespace

TEST(SpectrumDriver, OneSidedGridOf1000PointsPaddedTo1024) {
  vtest::TempDir dir;
  Answer a;
  a.npoints = "1024";
  const double dt = 0.001;
  const auto res = vtest::run(dir, a, vtest::realData(cosine(1000, 125.0, dt), dt));
  ASSERT_EQ(res.outcome, Outcome::Spectrum) << res.stopText;
  ASSERT_EQ(res.nFreqPts, 512);
  const double df = 1.0 / (1024 * dt * 999.0 / 999.0);
  EXPECT_FLOAT_EQ(res.x[0], 0.0f);
  EXPECT_NEAR(res.x[511], 511 * df, 1e-3);
  EXPECT_EQ(res.status, 1000);
  EXPECT_FLOAT_EQ(res.zeroFill, 2.0f);  // 24 of the 1024 transform values are padding
  EXPECT_NEAR(res.tStart, 0.0, 1e-9);
  EXPECT_NEAR(res.tFinal, 0.999, 1e-6);
  // The cosine at 125 Hz is the top of the spectrum.
  const auto top = std::max_element(res.spectrum.begin(), res.spectrum.end());
  EXPECT_FLOAT_EQ(*top, 0.0f);
  EXPECT_NEAR(res.x[static_cast<std::size_t>(top - res.spectrum.begin())], 125.0, df);
}

TEST(SpectrumDriver, TwoSidedGridAndZeroFill) {
  vtest::TempDir dir;
  Answer a;
  a.npoints = "1024";
  a.neg = "Yes";
  const double dt = 0.5;
  const auto res = vtest::run(dir, a, vtest::realData(cosine(1000, 0.1, dt), dt));
  ASSERT_EQ(res.outcome, Outcome::Spectrum) << res.stopText;
  ASSERT_EQ(res.nFreqPts, 1023);
  EXPECT_FLOAT_EQ(res.x[0], static_cast<float>(-1.0 / (2 * dt)));
  EXPECT_FLOAT_EQ(res.x[512], 0.0f);
  EXPECT_FLOAT_EQ(res.zeroFill, 2.0f);  // (1024 - 1000) * 100 / 1024 in integers
  // A real cosine gives two symmetric peaks at plus and minus its frequency.
  const auto peaks = vtest::peakFrequencies(res);
  EXPECT_NE(
      std::find_if(peaks.begin(), peaks.end(), [](float f) { return std::fabs(f + 0.1f) < 1e-3; }),
      peaks.end());
  EXPECT_NE(
      std::find_if(peaks.begin(), peaks.end(), [](float f) { return std::fabs(f - 0.1f) < 1e-3; }),
      peaks.end());
}

// The zero fill is the share of the transform that is padding, whole percent truncated, the
// same for one- and two-sided spectra; a successful run never reports the no-plot -99.
TEST(SpectrumDriver, ZeroFillIsTheShareOfTheTransformThatIsPadding) {
  struct Case {
    const char* method;
    int samples;
    const char* npoints;
    const char* neg;
    float zeroFill;
  } cases[] = {
      {"Periodogram", 1020, "1024", "No", 0.0f},    // 4 of 1024: 0.39 % (once -99)
      {"Periodogram", 1000, "1024", "No", 2.0f},    // 24 of 1024
      {"Periodogram", 1000, "1024", "Yes", 2.0f},   // the same padding two-sided
      {"Periodogram", 64, "64", "No", 0.0f},        // no padding at all
      {"Periodogram", 100, "1024", "No", 90.0f},    // 924 of 1024: 90.2 %
      {"Burg", 100, "256", "No", 60.0f},            // 156 of 256: 60.9 %
      {"Blackman-Tukey", 100, "256", "No", 91.0f},  // lag window of 21 in 256: 91.7 %
      {"MVSE", 100, "128", "No", 0.0f},             // 32 frequencies from 100 samples: no padding
  };
  for (const auto& c : cases) {
    vtest::TempDir dir;
    Answer a;
    a.method = c.method;
    a.npoints = c.npoints;
    a.neg = c.neg;
    a.npoles = "4";
    a.eps = "1e-15";
    a.mode = "1";
    a.mlag = "10";
    a.lpts = "32";
    const auto res = vtest::run(dir, a, vtest::realData(cosine(c.samples, 0.1)));
    const std::string label = std::string(c.method) + " " + std::to_string(c.samples) + " in " +
                              c.npoints + " two-sided " + c.neg;
    ASSERT_EQ(res.outcome, Outcome::Spectrum) << label << res.stopText;
    EXPECT_EQ(res.zeroFill, c.zeroFill) << label;
  }
}

TEST(SpectrumDriver, ComplexExponentialGivesOnePeakOnItsSide) {
  vtest::TempDir dir;
  Answer a;
  a.type = "Complex";
  a.neg = "Yes";
  a.npoints = "64";
  std::vector<std::complex<float>> z(64);
  for (int i = 0; i < 64; ++i) z[i] = std::polar(1.0f, static_cast<float>(2 * M_PI * -10 * i / 64));
  const auto res = vtest::run(dir, a, vtest::complexData(z));
  ASSERT_EQ(res.outcome, Outcome::Spectrum) << res.stopText;
  const auto top = std::max_element(res.spectrum.begin(), res.spectrum.end());
  EXPECT_NEAR(res.x[static_cast<std::size_t>(top - res.spectrum.begin())], -10.0 / 64, 1e-6);
  EXPECT_FLOAT_EQ(res.spectrum[32 + 10], -100.0f);  // nothing at +10/64
}

TEST(SpectrumDriver, DecibelsRelativeToTheMaximumFlooredAt100) {
  vtest::TempDir dir;
  Answer a;
  std::vector<float> impulse(64, 0.0f);
  impulse[0] = 3.0f;
  auto res = vtest::run(dir, a, vtest::realData(impulse));
  ASSERT_EQ(res.outcome, Outcome::Spectrum) << res.stopText;
  for (float v : res.spectrum) EXPECT_EQ(v, 0.0f);  // a flat spectrum is 0 dB everywhere

  res = vtest::run(dir, a, vtest::realData(cosine(64, 8.0 / 64)));
  ASSERT_EQ(res.outcome, Outcome::Spectrum);
  EXPECT_EQ(*std::max_element(res.spectrum.begin(), res.spectrum.end()), 0.0f);
  EXPECT_EQ(*std::min_element(res.spectrum.begin(), res.spectrum.end()), -100.0f);
  EXPECT_TRUE(logHas(dir, " freq(i) & spectrum(i)= 9 0.125 0"));
}

TEST(SpectrumDriver, FewerPointsThanRequestedAreZeroFilled) {
  vtest::TempDir dir;
  Answer a;
  a.npts = "100";
  a.npoints = "128";
  const auto res = vtest::run(dir, a, vtest::realData(cosine(40, 0.25)));
  ASSERT_EQ(res.outcome, Outcome::Spectrum) << res.stopText;
  EXPECT_EQ(res.status, 40);
  EXPECT_FLOAT_EQ(res.zeroFill, 68.0f);  // (128 - 40) * 100 / 128 in integers
}

TEST(SpectrumDriver, BadPointsAreZeroed) {
  vtest::TempDir dir;
  auto y = cosine(64, 0.125);
  y[3] = 2.0e10f;
  y[5] = std::numeric_limits<float>::quiet_NaN();
  y[7] = -std::numeric_limits<float>::infinity();
  y[9] = 1.0e30f;
  const auto res = vtest::run(dir, Answer{}, vtest::realData(y));
  ASSERT_EQ(res.outcome, Outcome::Spectrum) << res.stopText;
  const std::string log = vtest::readFile(dir / "~Tirelle.out");
  EXPECT_TRUE(logHas(dir, " Bad point= #i,y_array= 4 2e+10 1e+10"));
  EXPECT_TRUE(logHas(dir, " Bad point= #i,y_array= 6 NaN 1e+10"));
  EXPECT_TRUE(logHas(dir, " Bad point= #i,y_array= 8 -Infinity 1e+10"));
  EXPECT_TRUE(logHas(dir, " Bad point= #i,y_array= 10 1e+30 1e+10"));
  for (float v : res.spectrum) EXPECT_TRUE(std::isfinite(v));
}

TEST(SpectrumDriver, TooFewDataPointsStopTheRun) {
  const std::vector<std::pair<std::string, std::string>> cases{
      {"", "0"}, {"0 1.0\r\n", "0"}, {"h1\r\nh2\r\n", "5"}, {"0 1\r\n1 2\r\n", "3"}};
  for (const auto& [data, skip] : cases) {
    vtest::TempDir dir;
    Answer a;
    a.skip = skip;
    const auto res = vtest::run(dir, a, data);
    EXPECT_EQ(res.status, -9) << data;
    EXPECT_TRUE(logContains(dir, "at least 2 are needed")) << data;
  }
}

TEST(SpectrumDriver, EqualXValuesGiveNoSampleSpacing) {
  vtest::TempDir dir;
  const auto res = vtest::run(dir, Answer{}, "1 1\r\n1 2\r\n1 3\r\n");
  EXPECT_EQ(res.status, -9);
  EXPECT_EQ(res.stopText, " Error in the x column of the data file: no sample spacing");
}

TEST(SpectrumDriver, DataReadingStopsAtTextAndSurvivesLongLines) {
  vtest::TempDir dir;
  Answer a;
  a.npoints = "16";
  std::string data = vtest::realData(cosine(10, 0.25));
  data += "10 " + std::string(100000, '7') + "\r\n";  // one huge number: a bad point
  data += "11 text\r\n12 1\r\n";
  const auto res = vtest::run(dir, a, data);
  ASSERT_EQ(res.outcome, Outcome::Spectrum) << res.stopText;
  EXPECT_EQ(res.status, 11);
}

TEST(SpectrumDriver, MethodThatMatchesNothingIsOutOfRange) {
  for (const char* m : {"-999", "-Select-"}) {
    vtest::TempDir dir;
    Answer a;
    a.method = m;
    const auto res = vtest::run(dir, a, vtest::realData(cosine(64, 0.1)));
    EXPECT_EQ(res.stopText, " in Spectrum_est") << m;
    EXPECT_TRUE(logHas(dir, "         --> METHOD number out of range: method =   0"));
  }
}

TEST(SpectrumDriver, OrderAboveMaxOrderStops) {
  vtest::TempDir dir;
  Answer a;
  a.method = "Burg";
  a.npoles = "500";
  const auto res = vtest::run(dir, a, vtest::realData(cosine(64, 0.1)));
  EXPECT_EQ(res.stopText, " spectrum_est ... 720 label");
  EXPECT_TRUE(logHas(dir, "          nPoles =  500    Max_Order =   64"));
  EXPECT_TRUE(logHas(dir, " ABORTing ... Max_Order must be \">=\" nPoles"));
}

TEST(SpectrumDriver, SpectrumLargerThanTheCallersArraysIsRefused) {
  vtest::TempDir dir;
  Answer a;
  a.npoints = "64";
  const auto res = vtest::run(dir, a, vtest::realData(cosine(64, 0.1)), 16);
  EXPECT_EQ(res.status, -9);
  EXPECT_EQ(res.stopText, " Result arrays too small for the spectrum");
}

TEST(SpectrumDriver, AllZeroDataGiveNoPlotWithAReason) {
  vtest::TempDir dir;
  const auto res = vtest::run(dir, Answer{}, vtest::realData(std::vector<float>(64, 0.0f)));
  EXPECT_EQ(res.outcome, Outcome::NoPlot);
  EXPECT_FLOAT_EQ(res.zeroFill, -99.0f);
  EXPECT_TRUE(logContains(dir, "The PSD is zero at every frequency"));
  EXPECT_TRUE(logHas(dir, " ----------- No Plot ! -----------"));
  EXPECT_TRUE(logHas(dir, "  S. M. Kay, Modern Spectral Estimation: Theory and Application,"));
  EXPECT_TRUE(logHas(dir, "  Prentice Hall, Englewood Cliffs, New Jersey, 1988."));
}

TEST(SpectrumDriver, UnknownWindowNameFallsBackAndTheRunGoesOn) {
  vtest::TempDir dir;
  Answer a;
  a.window = "1";
  const auto res = vtest::run(dir, a, vtest::realData(cosine(64, 0.125)));
  ASSERT_EQ(res.outcome, Outcome::Spectrum) << res.stopText;
  EXPECT_TRUE(logHas(dir, "         Window name error"));
}

TEST(SpectrumDriver, NothingLeaksIntoTheNextRun) {
  vtest::TempDir dir;
  Answer bad;
  bad.npoints = "text";
  EXPECT_EQ(vtest::run(dir, bad, vtest::realData(cosine(64, 0.1))).status, -9);
  const auto res = vtest::run(dir, Answer{}, vtest::realData(cosine(64, 0.125)));
  ASSERT_EQ(res.outcome, Outcome::Spectrum);
  EXPECT_EQ(res.nFreqPts, 32);
  EXPECT_FALSE(logContains(dir, "Error reading"));
}

TEST(SpectrumDriver, TooFewPointsLineSaysHowMany) {
  vtest::TempDir dir;
  vtest::run(dir, Answer{}, "0 1.0\r\n");
  EXPECT_TRUE(logHas(
      dir, " Only 1 data point(s) could be read from the data file; at least 2 are needed."));
}

TEST(SpectrumDriver, APipeOrADeviceIsNoDataFile) {
  vtest::TempDir dir;
#ifdef _WIN32
  const std::vector<std::string> places{"NUL", "CON"};  // devices, whatever the folder
#else
  const auto fifo = dir / "pipe.rda";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  const std::vector<std::string> places{fifo.string(), "/dev/zero"};
#endif
  for (const std::string& data : places) {
    Answer a;
    a.data = data;
    vtest::writeFile(dir / "a.1", a.text());
    voxtrel::RunOptions options;
    options.logPath = dir / "~Tirelle.out";
    EXPECT_EQ(voxtrel::run((dir / "a.1").string(), options).status, -8) << data;
  }
}
