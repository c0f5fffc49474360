#include <gtest/gtest.h>

#include <vector>

#include "estimators.h"
#include "reference.h"

using ref::dc;
using voxtrel::cplx;

namespace {

struct Fit {
  std::vector<cplx> a, b;
  float sig2 = 0;
  int iflag = 0;
};

Fit lockheed(std::vector<cplx> x, int n, int ip, int iq, int nexp) {
  voxtrel::RunLog log;
  voxtrel::Run r(log);
  Fit out;
  out.a.assign(8, cplx(0, 0));
  out.b.assign(8, cplx(0, 0));
  voxtrel::lockheed(r, x.data(), n, ip, iq, out.a.data(), out.b.data(), nexp, out.sig2,
                    static_cast<int>(x.size()));
  out.iflag = r.st.iflag;
  return out;
}

}  // namespace

TEST(Lockheed, EachOrderAloneIsItsOwnEstimator) {
  const auto tone = ref::complexTone(48, 0.2, 0.6, 61);
  std::vector<cplx> x(tone.begin(), tone.end());
  x.resize(64);

  voxtrel::RunLog log;
  voxtrel::Run r(log);
  std::vector<cplx> a(3), b(2);
  float yw = 0, bg = 0;
  voxtrel::autocorr(r, x.data(), 48, 3, a.data(), yw, 64);
  voxtrel::burg(r, x.data(), 48, 2, b.data(), bg, 64);

  const auto arOnly = lockheed(x, 48, 3, 0, 6);
  EXPECT_EQ(arOnly.sig2, yw);
  for (int j = 0; j < 3; ++j) EXPECT_EQ(arOnly.a[j], a[j]);
  const auto maOnly = lockheed(x, 48, 0, 2, 6);
  EXPECT_EQ(maOnly.sig2, bg);
  for (int j = 0; j < 2; ++j) EXPECT_EQ(maOnly.b[j], b[j]);
}

TEST(Lockheed, VarianceIsThePowerOfTheCircularlyFilteredData) {
  const int n = 40, big = 64;
  const auto tone = ref::complexTone(n, -0.1, 0.8, 62);
  std::vector<cplx> x(tone.begin(), tone.end());
  x.resize(big);
  const auto got = lockheed(x, n, 2, 1, 6);
  ASSERT_EQ(got.iflag, 0);
  // sum over the N bins of |X A / B|^2, by direct transforms in double, divided by n N.
  double sum = 0;
  for (int k = 0; k < big; ++k) {
    dc X = 0, A = 1, B = 1;
    for (int t = 0; t < n; ++t) X += dc(x[t]) * std::polar(1.0, -2 * ref::kPi * k * t / big);
    for (int j = 1; j <= 2; ++j)
      A += dc(got.a[j - 1]) * std::polar(1.0, -2 * ref::kPi * k * j / big);
    B += dc(got.b[0]) * std::polar(1.0, -2 * ref::kPi * k / big);
    sum += std::norm(X * A / B);
  }
  EXPECT_NEAR(got.sig2, sum / (n * big), 1e-4 * sum / (n * big));
}

TEST(Lockheed, DegenerateDenominatorStopsBeforeTheNumerator) {
  const auto got = lockheed(std::vector<cplx>(64), 40, 2, 1, 6);
  EXPECT_EQ(got.iflag, voxtrel::kIflagDegenerate);
}
