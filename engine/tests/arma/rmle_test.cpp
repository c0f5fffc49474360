// RMLE: Cardano's roots against polynomials with known roots, the root choice, the lagged
// products and the order-1 model by hand, AR(2) recovery and degenerate data.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "arma_synth.h"
#include "estimators.h"
#include "log_lines.h"
#include "test_support.h"

namespace {

vtest::Answer rmleAnswer(const std::string& npoints, const std::string& npoles) {
  vtest::Answer ans;
  ans.method = "RMLE";
  ans.npoints = npoints;
  ans.npoles = npoles;
  return ans;
}

}  // namespace

TEST(Cubic, OneRealRoot) {
  // (x - 2)(x^2 + 1) = x^3 - 2x^2 + x - 2.
  int nreal = 0;
  float root[3] = {0, 0, 0};
  ASSERT_TRUE(voxtrel::cubic(-2.0f, 1.0f, -2.0f, nreal, root));
  EXPECT_EQ(nreal, 1);
  EXPECT_NEAR(root[0], 2.0, 1e-5);

  // x^3 + 8: the depressed cubic has P = 0, so u = sqrt(D) - Q/2 is exactly 0 and the root
  // comes from v alone.
  ASSERT_TRUE(voxtrel::cubic(0.0f, 0.0f, 8.0f, nreal, root));
  EXPECT_EQ(nreal, 1);
  EXPECT_NEAR(root[0], -2.0, 1e-5);
}

TEST(Cubic, ThreeRealRoots) {
  // (x - 0.5)(x + 0.3)(x - 0.9) = x^3 - 1.1 x^2 + 0.03 x + 0.135.
  int nreal = 0;
  float root[3] = {0, 0, 0};
  ASSERT_TRUE(voxtrel::cubic(-1.1f, 0.03f, 0.135f, nreal, root));
  EXPECT_EQ(nreal, 3);
  std::vector<float> got(root, root + 3);
  std::sort(got.begin(), got.end());
  EXPECT_NEAR(got[0], -0.3, 1e-5);
  EXPECT_NEAR(got[1], 0.5, 1e-5);
  EXPECT_NEAR(got[2], 0.9, 1e-5);

  // (x - 0.2)^3: a triple root, where the trigonometric form has P = 0.
  ASSERT_TRUE(voxtrel::cubic(-0.6f, 0.12f, -0.008f, nreal, root));
  for (int j = 0; j < nreal; ++j) EXPECT_NEAR(root[j], 0.2, 1e-2) << j;

  // A coefficient that is not a number leaves no discriminant.
  EXPECT_FALSE(voxtrel::cubic(std::nanf(""), 0.0f, 1.0f, nreal, root));
}

TEST(RootChoice, LargestLikelihoodInsideTheUnitIntervalAndNeverMagnitudeOne) {
  const float c = 3.0f, d = 10.0f, e = 12.0f;
  const int k = 2, n = 50;
  auto f = [&](double x) {
    const double S = e + 2 * x * c + x * x * d;
    return k / 2.0 * std::log10(1 - x * x) - n / 2.0 * std::log10(S / n);
  };
  {
    const float root[3] = {0.2f, -0.5f, 3.0f};
    float xk = root[0];
    voxtrel::test(root, c, d, e, k, n, xk);
    EXPECT_EQ(xk, f(0.2) > f(-0.5) ? 0.2f : -0.5f);
    EXPECT_EQ(xk, -0.5f);  // S(-0.5) = 11.5 < S(0.2) = 13.6
  }
  {
    const float root[3] = {1.0f, -1.0f, 0.3f};
    float xk = root[0];
    voxtrel::test(root, c, d, e, k, n, xk);
    EXPECT_EQ(xk, 0.3f);
  }
  {
    // No candidate: the root set beforehand (root(1)) stays.
    const float root[3] = {1.0f, -1.0f, 2.0f};
    float xk = root[0];
    voxtrel::test(root, c, d, e, k, n, xk);
    EXPECT_EQ(xk, 1.0f);
  }
}

// smat sums sixteen columns side by side and mirrors the upper half: every entry must still be
// the float of its own sum in order, for orders with and without a partial group of columns
// and for lags longer than the data.
TEST(Rmle, LaggedProductsAreTheSameFloatsAsOneSumPerEntry) {
  std::mt19937 gen(5);
  std::normal_distribution<float> g(0.0f, 3.0f);
  for (const auto& [n, ip] : {std::pair{300, 20}, std::pair{500, 47}, std::pair{40, 60},
                              std::pair{17, 15}, std::pair{1000, 3}}) {
    std::vector<float> x(static_cast<std::size_t>(n));
    for (auto& v : x) v = g(gen);
    x[static_cast<std::size_t>(n / 2)] = -0.0f;
    voxtrel::RunLog log;
    voxtrel::Run r(log);
    voxtrel::smat(r, x.data(), n, ip);
    for (int i = 1; i <= ip + 1; ++i) {
      for (int j = 1; j <= ip + 1; ++j) {
        float sum = 0;
        for (int t = 1; t <= n + 2 - i - j; ++t)
          sum += x[static_cast<std::size_t>(t + i - 2)] * x[static_cast<std::size_t>(t + j - 2)];
        ASSERT_EQ(r.w.s()(i, j), sum) << "n " << n << " ip " << ip << " (" << i << "," << j << ")";
        ASSERT_EQ(std::signbit(r.w.s()(i, j)), std::signbit(sum)) << "(" << i << "," << j << ")";
      }
    }
  }
}

TEST(Rmle, LaggedProductsAndTheOrderOneModelByHand) {
  voxtrel::RunLog log;
  voxtrel::Run r(log);
  const float x[3] = {1, 2, 3};
  voxtrel::smat(r, x, 3, 1);
  EXPECT_NEAR(r.w.s()(1, 1), 14.0, 1e-6);  // 1 + 4 + 9
  EXPECT_NEAR(r.w.s()(1, 2), 8.0, 1e-6);   // 1*2 + 2*3
  EXPECT_NEAR(r.w.s()(2, 1), 8.0, 1e-6);
  EXPECT_NEAR(r.w.s()(2, 2), 4.0, 1e-6);  // 2*2

  // Order 1 with c = 8, d = 4, e = 14, n = 3: p = (1/2)(2) = 1, q = (14 + 12) / (-8),
  // r = 24 / (-8); a(1) is a root of that cubic and sig2 = S(a(1)) / n.
  float a[1] = {0}, sig2 = 0;
  voxtrel::rmle(r, x, 3, 1, a, sig2);
  ASSERT_EQ(r.st.iflag, 0);
  const double xa = a[0];
  EXPECT_NEAR(xa * xa * xa + xa * xa - 3.25 * xa - 3.0, 0.0, 1e-4);
  EXPECT_NEAR(sig2, (14.0 + 2 * xa * 8.0 + xa * xa * 4.0) / 3.0, 1e-5);
}

TEST(Rmle, RecoversAnAr2) {
  for (unsigned seed : {3u, 4u}) {
    const auto x = vtest::armaSeries(vtest::kPeakA, {}, 1000, seed);
    voxtrel::RunLog log;
    voxtrel::Run r(log);
    float a[2] = {0, 0}, sig2 = 0;
    voxtrel::rmle(r, x.data(), 1000, 2, a, sig2);
    ASSERT_EQ(r.st.iflag, 0);
    EXPECT_NEAR(a[0], vtest::kPeakA[0], 0.05) << "seed " << seed;
    EXPECT_NEAR(a[1], vtest::kPeakA[1], 0.05) << "seed " << seed;
    EXPECT_NEAR(sig2, 1.0, 0.12) << "seed " << seed;
  }
  const auto x = vtest::armaSeries(vtest::kPeakA, {}, 1000, 3);
  vtest::TempDir dir;
  const auto res = vtest::run(dir, rmleAnswer("1024", "2"), vtest::realData(x));
  ASSERT_EQ(res.outcome, voxtrel::Outcome::Spectrum) << res.stopText;
  EXPECT_NEAR(vtest::argMax(res.x, res.spectrum), 0.2, 0.01);
}

TEST(Rmle, DegenerateDataEndWithANamedCauseAndNoPlot) {
  {
    vtest::TempDir dir;
    const auto res =
        vtest::run(dir, rmleAnswer("64", "3"), vtest::realData(std::vector<float>(40, 0.0f)));
    EXPECT_EQ(res.outcome, voxtrel::Outcome::NoPlot);
    EXPECT_TRUE(
        vtest::logHas(vtest::readLines(dir / "~Tirelle.out"),
                      " RMLE: at order 1 the lagged-product sum d is zero (data all zero after "
                      "the first samples); no model."));
  }
  {
    vtest::TempDir dir;
    const auto res = vtest::run(dir, rmleAnswer("8", "5"), vtest::realData({1, -1, 2, 0.5f, 3}));
    EXPECT_EQ(res.outcome, voxtrel::Outcome::NoPlot);
    EXPECT_TRUE(vtest::logHas(vtest::readLines(dir / "~Tirelle.out"),
                              " RMLE: nPoles = 5 is not below the 5 data points"));
  }
}
