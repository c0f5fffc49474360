// Data windows and the periodogram.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "estimators.h"
#include "fortran_format.h"

using namespace voxtrel;

namespace {

std::vector<float> weights(const std::string& name, int n, RunLog* out = nullptr) {
  RunLog log;
  voxtrel::Run r(out ? *out : log);
  std::vector<float> w(static_cast<std::size_t>(n), -7.0f);
  window_weights(r, w.data(), n, fmt::padRight(name, 21));
  return w;
}

}  // namespace

TEST(Windows, RectangularAndItsSpellings) {
  for (const char* name : {"Rectangular", "Rectangle"}) {
    for (float v : weights(name, 9)) EXPECT_EQ(v, 1.0f) << name;
  }
}

TEST(Windows, TriangleForFivePoints) {
  const auto w = weights("Barlett", 5);
  const std::vector<float> expected{0.5f, 1.0f, 0.5f, 0.0f, -0.5f};
  for (std::size_t i = 0; i < 5; ++i) EXPECT_FLOAT_EQ(w[i], expected[i]);
}

TEST(Windows, CosineWindowsFromTheirCoefficients) {
  const int n = 11;
  const double pi = std::acos(-1.0);
  struct Case {
    const char* name;
    double a0, a1, a2;
  } cases[] = {{"Hanning", 0.40897f, 0.5, 0.09103f},
               {"Hamming", 0.4243801, 0.4973406, 0.0782793},
               {"Blackman", 7938.0 / 18608, 9240.0 / 18608, 1430.0 / 18608}};
  for (const auto& c : cases) {
    const auto w = weights(c.name, n);
    for (int i = 1; i <= n; ++i) {
      const double th = 2 * pi * i / (n - 1);
      EXPECT_NEAR(w[i - 1], c.a0 - c.a1 * std::cos(th) + c.a2 * std::cos(2 * th), 1e-7)
          << c.name << " i=" << i;
    }
  }
}

TEST(Windows, UnknownNameWritesTheErrorBlockAndFallsBackToRectangular) {
  for (const char* name : {"hanning", "HanningX", "1"}) {
    RunLog log;
    const auto w = weights(name, 4, &log);
    for (float v : w) EXPECT_EQ(v, 1.0f) << name;
    const auto lines = log.lines();
    ASSERT_EQ(lines.size(), 9u);
    EXPECT_EQ(lines[0], " Window name in error!  Name must be one of following:");
    EXPECT_EQ(lines[1], "    Rectangle, Barlett, Hanning, Hamming, or Blackman.");
    EXPECT_EQ(lines[4], std::string(72, '-'));
    EXPECT_EQ(lines[5], "         Window name error");
  }
}

TEST(Periodogram, ConstantGivesNAtZeroFrequencyOnly) {
  RunLog log;
  voxtrel::Run r(log);
  const int n = 16;
  std::vector<cplx> x(n, cplx(1, 0));
  std::vector<float> w(n, 1.0f), p(n);
  periodogram(r, x.data(), n, w.data(), 4, p.data(), n);
  for (int i = 0; i < n; ++i) EXPECT_NEAR(p[i], i == n / 2 ? 16.0f : 0.0f, 1e-4) << i;
}

TEST(Periodogram, ComplexExponentialLandsOnItsBin) {
  RunLog log;
  voxtrel::Run r(log);
  const int n = 32;
  for (int k0 : {0, 1, 5, 15}) {
    std::vector<cplx> x(n);
    for (int m = 0; m < n; ++m) x[m] = std::polar(1.0f, 2.0f * 3.14159265f * k0 * m / n);
    std::vector<float> w(n, 1.0f), p(n);
    periodogram(r, x.data(), n, w.data(), 5, p.data(), n);
    EXPECT_NEAR(p[n / 2 + k0], 32.0f, 1e-3) << k0;
  }
}

TEST(Periodogram, ZeroPadsAndScalesByTheDataLength) {
  RunLog log;
  voxtrel::Run r(log);
  std::vector<cplx> x(64, cplx(9, 9));  // stale values beyond n must be cleared
  for (int i = 0; i < 10; ++i) x[i] = cplx(1, 0);
  std::vector<float> w(10, 1.0f), p(64);
  periodogram(r, x.data(), 10, w.data(), 6, p.data(), 64);
  EXPECT_NEAR(p[32], 100.0f / 10.0f, 1e-4);  // |sum|^2 / n
}
