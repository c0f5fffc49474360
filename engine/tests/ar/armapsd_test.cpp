#include <gtest/gtest.h>

#include <vector>

#include "estimators.h"

using voxtrel::cplx;

namespace {

// N = 16: index 8 is zero frequency, index 0 minus half the sampling frequency.
std::vector<float> psd(int ip, int iq, std::vector<cplx> a, std::vector<cplx> b, float sig2) {
  voxtrel::RunLog log;
  voxtrel::Run r(log);
  a.resize(16);
  b.resize(16);
  std::vector<float> out(16);
  voxtrel::armapsd(r, ip, iq, a.data(), b.data(), sig2, 4, out.data(), 16);
  return out;
}

}  // namespace

TEST(Armapsd, SinglePoleAtZeroAndHalfTheSamplingFrequency) {
  const auto p = psd(1, 0, {{-0.9f, 0}}, {}, 1.0f);
  EXPECT_NEAR(p[8], 100.0f, 1e-3);        // 1 / (1 - 0.9)^2
  EXPECT_NEAR(p[0], 1.0f / 3.61f, 1e-6);  // 1 / (1 + 0.9)^2
}

TEST(Armapsd, SingleZeroWithNoiseVarianceTwo) {
  const auto p = psd(0, 1, {}, {{1.0f, 0}}, 2.0f);
  EXPECT_NEAR(p[8], 8.0f, 1e-5);  // 2 |1 + 1|^2
  EXPECT_NEAR(p[0], 0.0f, 1e-6);  // 2 |1 - 1|^2
}

TEST(Armapsd, NoModelIsFlatAtTheVariance) {
  for (float v : psd(0, 0, {}, {}, 2.5f)) EXPECT_FLOAT_EQ(v, 2.5f);
}

TEST(Armapsd, PoleAndZeroTogether) {
  // (1 + 0.5 z^-1) / (1 - 0.5 z^-1) at f = 0: 1.5^2 / 0.5^2 = 9; at f = -1/2: 0.5^2/1.5^2.
  const auto p = psd(1, 1, {{-0.5f, 0}}, {{0.5f, 0}}, 1.0f);
  EXPECT_NEAR(p[8], 9.0f, 1e-5);
  EXPECT_NEAR(p[0], 1.0f / 9.0f, 1e-6);
}

TEST(Armapsd, ComplexCoefficientGivesAnAsymmetricSpectrum) {
  // A pole at +1/4 of the sampling frequency: a(1) = -0.9 j.
  const auto p = psd(1, 0, {{0, -0.9f}}, {}, 1.0f);
  EXPECT_NEAR(p[12], 100.0f, 1e-3);       // f = +1/4
  EXPECT_NEAR(p[4], 1.0f / 3.61f, 1e-6);  // f = -1/4
}
