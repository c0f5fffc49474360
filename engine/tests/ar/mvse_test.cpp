#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <vector>

#include "estimators.h"
#include "reference.h"

using ref::dc;
using voxtrel::cplx;

namespace {

struct Capon {
  std::vector<float> pmv;
  int iflag = 0;
  std::vector<std::string> log;
};

Capon run(const std::vector<cplx>& x, int ip, int imax, int mode, float eps = 1e-20f) {
  voxtrel::RunLog log;
  voxtrel::Run r(log);
  Capon out;
  out.pmv.assign(static_cast<std::size_t>(imax), -1.0f);
  voxtrel::mvse(r, x.data(), static_cast<int>(x.size()), ip, imax, eps, mode, out.pmv.data(),
                out.iflag);
  out.log = log.lines();
  return out;
}

// The forward-backward correlation matrix by its definition, inverted directly, and the
// quadratic form 1 / (e^H R^-1 e) evaluated in double.
std::vector<double> referenceCapon(const std::vector<cplx>& xs, int ip, int imax, int mode) {
  const int n = static_cast<int>(xs.size());
  auto x = [&](int t) { return dc(xs[static_cast<std::size_t>(t - 1)]); };
  ref::Mat R(ip, std::vector<dc>(ip));
  for (int i = 1; i <= ip; ++i)
    for (int j = 1; j <= ip; ++j) {
      dc s = 0;
      for (int t = ip + 1; t <= n; ++t)
        s += std::conj(x(t - i)) * x(t - j) + x(t + i - ip) * std::conj(x(t + j - ip));
      R[i - 1][j - 1] = s / (2.0 * (n - ip));
    }
  const auto inv = ref::inverse(R);
  std::vector<double> out;
  for (int k = 1; k <= imax; ++k) {
    const double f = static_cast<double>(k - 1) / imax - 0.5;
    dc s = 0;
    for (int i = 0; i < ip; ++i)
      for (int j = 0; j < ip; ++j)
        s += std::polar(1.0, -2 * ref::kPi * f * i) * inv[i][j] *
             std::polar(1.0, 2 * ref::kPi * f * j);
    out.push_back((mode == 0 ? 1.0 : ip) / s.real());
  }
  return out;
}

}  // namespace

TEST(Mvse, OneTapFilterIsFlatAtThePower) {
  const std::vector<cplx> x{{1, 0}, {2, 0}, {3, 0}, {-1, 1}};
  // R = (1 / 2(n-1)) sum_{t=2}^{n} |x(t-1)|^2 + |x(t)|^2.
  double power = 0;
  for (std::size_t t = 1; t < x.size(); ++t) power += std::norm(x[t - 1]) + std::norm(x[t]);
  power /= 2.0 * (x.size() - 1);
  const auto got = run(x, 1, 8, 0);
  ASSERT_EQ(got.iflag, 0);
  for (float v : got.pmv) EXPECT_NEAR(v, power, 1e-5 * power);
}

TEST(Mvse, AgreesWithDirectInversionInBothModes) {
  const auto x = ref::complexTone(128, 0.18, 1.0, 41);
  for (int mode : {0, 1}) {
    const auto got = run(x, 8, 32, mode);
    ASSERT_EQ(got.iflag, 0);
    const auto want = referenceCapon(x, 8, 32, mode);
    for (int k = 0; k < 32; ++k)
      EXPECT_NEAR(got.pmv[k], want[k], 1e-4 * want[k]) << mode << "," << k;
  }
}

// The grid evaluated through the diagonal sums of R^-1 and one transform, for grids of a power
// of two, of another length, and shorter than the 2 ip - 1 diagonals (folded): against the
// double-precision reference, at least as close as the quadratic form summed term by term in
// single precision at every frequency from the same R^-1.
TEST(Mvse, DiagonalSumsAndOneTransformMatchTheQuadraticForm) {
  const auto x = ref::complexTone(600, 0.21, 0.5, 45);
  const int ip = 40;
  for (int imax : {256, 100, 37}) {
    voxtrel::RunLog log;
    voxtrel::Run r(log);
    std::vector<float> pmv(static_cast<std::size_t>(imax));
    int iflag = 0;
    voxtrel::mvse(r, x.data(), 600, ip, imax, 1e-20f, 1, pmv.data(), iflag);
    ASSERT_EQ(iflag, 0);
    const auto want = referenceCapon(x, ip, imax, 1);
    // The same R^-1's form evaluated exactly (double precision), to isolate the evaluation.
    double worstFast = 0, worstDirect = 0, worstRef = 0;
    for (int k = 1; k <= imax; ++k) {
      const double fd = static_cast<double>(k - 1) / imax - 0.5;
      const float f = static_cast<float>(k - 1) / static_cast<float>(imax) - 0.5f;
      cplx s(0, 0);
      dc exact(0, 0);
      for (int i = 1; i <= ip; ++i)
        for (int j = 1; j <= ip; ++j) {
          s += std::polar(1.0f, -2 * static_cast<float>(ref::kPi) * f * static_cast<float>(i - 1)) *
               r.w.rinv()(i, j) *
               std::polar(1.0f, 2 * static_cast<float>(ref::kPi) * f * static_cast<float>(j - 1));
          exact += std::polar(1.0, 2 * ref::kPi * fd * (j - i)) * dc(r.w.rinv()(i, j));
        }
      const double e = (static_cast<double>(ip) / exact).real(),
                   direct = (static_cast<float>(ip) / s).real();
      const double fast = pmv[static_cast<std::size_t>(k - 1)];
      worstFast = std::max(worstFast, std::abs(fast - e) / e);
      worstDirect = std::max(worstDirect, std::abs(direct - e) / e);
      const double w = want[static_cast<std::size_t>(k - 1)];
      worstRef = std::max(worstRef, std::abs(fast - w) / w);
    }
    EXPECT_LT(worstFast, 2e-7) << imax;  // the last rounding to single precision
    EXPECT_LE(worstFast, worstDirect) << imax;
    EXPECT_LT(worstRef, 1e-4) << imax;
  }
}

TEST(Mvse, ComplexToneGivesOneSidedPeak) {
  const auto x = ref::complexTone(256, 0.25, 0.3, 42);
  const auto got = run(x, 12, 64, 0);
  ASSERT_EQ(got.iflag, 0);
  // f = 0.25 is k = 0.75 * 64 + 1 (index 48); its mirror -0.25 is index 16.
  const auto peak = std::max_element(got.pmv.begin(), got.pmv.end()) - got.pmv.begin();
  EXPECT_EQ(peak, 48);
  EXPECT_GT(got.pmv[48], 20.0f * got.pmv[16]);  // about 1 against 0.18 / 12
}

TEST(Mvse, FactorsOnceAndMatchesRepeatedSolves) {
  // R^-1 from the engine equals solving each column with the full solver.
  const auto x = ref::complexTone(90, -0.3, 0.8, 43);
  const int ip = 6;
  voxtrel::RunLog log;
  voxtrel::Run r(log);
  std::vector<float> pmv(16);
  int iflag = 0;
  voxtrel::mvse(r, x.data(), 90, ip, 16, 1e-20f, 0, pmv.data(), iflag);
  ASSERT_EQ(iflag, 0);
  voxtrel::Run again(log);
  voxtrel::corrmat(x.data(), 90, ip, again.w.hc());
  for (int j = 1; j <= ip; ++j) {
    for (int i = 1; i <= ip; ++i) again.theta()(i) = cplx(i == j ? 1.f : 0.f, 0.f);
    voxtrel::cholesky(again, ip, 1e-20f, iflag);
    for (int i = 1; i <= ip; ++i) EXPECT_EQ(r.w.rinv()(i, j), again.theta()(i)) << i << "," << j;
  }
}

TEST(Mvse, DegenerateInputsEndWithANamedCause) {
  const auto x = ref::complexTone(10, 0.1, 0.5, 44);
  const auto noTaps = run(x, 0, 8, 0);
  EXPECT_EQ(noTaps.iflag, voxtrel::kIflagDegenerate);
  EXPECT_EQ(noTaps.log.back(), " MVSE: the filter length nPoles = 0 must lie between 1 and 210.");
  EXPECT_EQ(noTaps.pmv[0], -1.0f);

  const auto tooLong = run(std::vector<cplx>(x.begin(), x.begin() + 5), 5, 8, 0);
  EXPECT_EQ(tooLong.iflag, voxtrel::kIflagDegenerate);
  EXPECT_EQ(tooLong.log.back(),
            " MVSE: nPoles = 5 needs at least 8 samples, npts = 5; lower nPoles or use more data.");

  const auto badMode = run(x, 2, 8, 2);
  EXPECT_EQ(badMode.iflag, voxtrel::kIflagDegenerate);
  EXPECT_EQ(badMode.log.back(),
            " MVSE: mode = 2 must be 0 (1 / e'R^-1 e) or 1 (nPoles / e'R^-1 e).");

  const auto zeros = run(std::vector<cplx>(20), 3, 8, 0);
  EXPECT_EQ(zeros.iflag, voxtrel::kIflagDegenerate);
  EXPECT_EQ(zeros.log.back(),
            " MVSE: the data are zero over the correlation matrix (all-zero data?).");
  EXPECT_EQ(zeros.pmv[0], -1.0f);

  // Two real sinusoids, six taps: rank four, the solver stops on a pivot.
  std::vector<cplx> two(60);
  for (int t = 0; t < 60; ++t)
    two[t] =
        cplx(std::cos(0.5f * static_cast<float>(t)) + std::cos(1.9f * static_cast<float>(t)), 0);
  const auto singular = run(two, 6, 8, 0, 1e-3f);
  EXPECT_EQ(singular.iflag, -1);
  EXPECT_EQ(singular.log.at(1).rfind(" Error in CHOLESKY: I =", 0), 0u);
  EXPECT_EQ(singular.pmv[0], -1.0f);
}

// corrmat sums its entries in tiles, side by side in vector lanes; each entry must be the very
// same float as the entry-by-entry sum with the complex multiply, in the same order, for the
// widest vectors and the 4-lane baseline alike (orders with a lone last row, strips ending
// inside and on a vector; signed zeros in the data).
TEST(CorrMat, EntriesAreTheSameFloatsAsTheEntryByEntrySums) {
  std::mt19937 gen(77);
  std::normal_distribution<float> g(0.0f, 2.0f);
  for (int ip : {1, 4, 8, 9, 23, 40}) {
    const int n = 180;
    std::vector<voxtrel::cplx> x(n);
    for (auto& v : x) v = voxtrel::cplx(g(gen), g(gen));
    x[60] = voxtrel::cplx(-0.0f, 0.0f);
    x[61] = voxtrel::cplx(0.0f, -0.0f);
    const auto entries = static_cast<std::size_t>(ip * (ip + 1) / 2);
    voxtrel::FVec<voxtrel::cplx> rmat(entries), baseline(entries);
    voxtrel::corrmat(x.data(), n, ip, rmat);
    voxtrel::corrmat(x.data(), n, ip, baseline, false);
    auto X = [&](int k) { return x[static_cast<std::size_t>(k - 1)]; };
    const float products = 2.0f * static_cast<float>(n - ip);
    int l = 1;
    for (int i = 1; i <= ip; ++i) {
      for (int j = 1; j <= i; ++j, ++l) {
        voxtrel::cplx s(0, 0);
        for (int t = ip + 1; t <= n; ++t)
          s += std::conj(X(t - j)) * X(t - i) + X(t + j - ip) * std::conj(X(t + i - ip));
        const voxtrel::cplx e = s / products;
        for (const voxtrel::cplx got : {rmat(l), baseline(l)}) {
          ASSERT_EQ(std::bit_cast<std::uint64_t>(got), std::bit_cast<std::uint64_t>(e))
              << "ip " << ip << " l " << l << ": " << got << " " << e;
        }
      }
    }
  }
}
