#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "estimators.h"
#include "reference.h"

using ref::dc;
using voxtrel::cplx;

namespace {

// The driver's triangular lag window: w(i) = (M - |i - (M+1)|) / M, i = 1..2M+1.
std::vector<float> triangle(int m) {
  std::vector<float> w(static_cast<std::size_t>(2 * m + 1));
  for (int i = 1; i <= 2 * m + 1; ++i) w[i - 1] = static_cast<float>(m - std::abs(i - (m + 1))) / m;
  return w;
}

struct Bt {
  std::vector<float> psd;
  int iflag = 0;
  std::vector<std::string> log;
};

Bt run(std::vector<cplx> x, int m, int nexp, int mode = 1) {
  const int n = static_cast<int>(x.size());
  const int big = 1 << nexp;
  x.resize(static_cast<std::size_t>(std::max(big, n)));
  voxtrel::RunLog log;
  voxtrel::Run r(log);
  Bt out;
  out.psd.assign(static_cast<std::size_t>(big), -1.0f);
  const auto w = triangle(std::max(m, 1));
  voxtrel::blacktukey(r, x.data(), n, mode, w.data(), m, nexp, out.psd.data(),
                      static_cast<int>(x.size()));
  out.iflag = r.st.iflag;
  out.log = log.lines();
  return out;
}

}  // namespace

TEST(BlackTukey, LargestLagOneIsFlatAtTheLagZeroPower) {
  const std::vector<cplx> x{{1, 0}, {2, 0}, {3, 0}, {0, 1}};
  const auto got = run(x, 1, 3);
  ASSERT_EQ(got.iflag, 0);
  for (float v : got.psd) EXPECT_NEAR(v, 15.0f / 4, 1e-5);
}

TEST(BlackTukey, AgreesWithTheDirectTransformOfTheWindowedLags) {
  const auto x = ref::complexTone(100, 0.2, 0.5, 51);
  const int m = 12, nexp = 6, big = 64;
  for (int mode : {0, 1}) {
    const auto got = run(x, m, nexp, mode);
    ASSERT_EQ(got.iflag, 0);
    const auto w = triangle(m);
    for (int i = 0; i < big; ++i) {
      const double f = static_cast<double>(i - big / 2) / big;  // centred order
      dc s = 0;
      for (int k = -m; k <= m; ++k) {
        dc rk = 0;
        const int a = std::abs(k);
        for (int t = 0; t + a < 100; ++t) rk += std::conj(dc(x[t])) * dc(x[t + a]);
        rk /= mode == 0 ? 100.0 - a : 100.0;
        if (k < 0) rk = std::conj(rk);
        s += static_cast<double>(w[k + m]) * rk * std::polar(1.0, -2 * ref::kPi * f * k);
      }
      EXPECT_NEAR(got.psd[i], s.real(), 2e-4 * (1 + std::abs(s))) << mode << "," << i;
    }
  }
}

TEST(BlackTukey, RealSinusoidGivesTwoSymmetricPeaks) {
  std::vector<cplx> x(128);
  for (int t = 0; t < 128; ++t) x[t] = cplx(std::cos(2 * 3.14159265f * 0.125f * t), 0);
  const auto got = run(x, 20, 7);
  ASSERT_EQ(got.iflag, 0);
  // f = +-1/8 at centred indices 64 +- 16.
  const auto peak = std::max_element(got.psd.begin() + 64, got.psd.end()) - got.psd.begin();
  EXPECT_EQ(peak, 80);
  for (int i = 1; i < 64; ++i) EXPECT_NEAR(got.psd[64 + i], got.psd[64 - i], 1e-4 * got.psd[80]);
}

TEST(BlackTukey, UnusableLargestLagEndsWithANamedCause) {
  const auto x = ref::complexTone(20, 0.2, 0.5, 52);
  const auto zero = run(x, 0, 5);
  EXPECT_EQ(zero.iflag, voxtrel::kIflagDegenerate);
  EXPECT_EQ(zero.log.back(),
            " Blackman-Tukey: the largest lag M = 0 must be at least 1, below npts = 20 and 2M+1 "
            "must not exceed nPoints = 32.");
  EXPECT_EQ(zero.psd[0], -1.0f);
  EXPECT_EQ(run(x, 9, 4).iflag, voxtrel::kIflagDegenerate);  // 19 lags in 16 points
  EXPECT_EQ(run(x, 7, 4).iflag, 0);
}
