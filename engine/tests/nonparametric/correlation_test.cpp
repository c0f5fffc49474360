// Sample correlation lags: worked values, the conjugated first sequence, lags beyond the data,
// and blocks of lags summed side by side against one lag at a time.
#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <random>
#include <vector>

#include "estimators.h"

using voxtrel::cplx;

TEST(Correlation, BiasedAndUnbiasedLagsOfOneTwoThree) {
  const std::vector<cplx> x{{1, 0}, {2, 0}, {3, 0}};
  std::vector<cplx> biased(3), unbiased(3);
  voxtrel::correlation(3, 3, 1, x.data(), x.data(), biased.data());
  voxtrel::correlation(3, 3, 0, x.data(), x.data(), unbiased.data());
  const float wantBiased[] = {14.0f / 3, 8.0f / 3, 3.0f / 3};
  const float wantUnbiased[] = {14.0f / 3, 8.0f / 2, 3.0f / 1};
  for (int k = 0; k < 3; ++k) {
    EXPECT_NEAR(biased[k].real(), wantBiased[k], 1e-6) << "lag " << k;
    EXPECT_NEAR(unbiased[k].real(), wantUnbiased[k], 1e-6) << "lag " << k;
    EXPECT_EQ(biased[k].imag(), 0.0f);
  }
}

TEST(Correlation, PureImaginaryDataHaveRealUnitPower) {
  const std::vector<cplx> x{{0, 1}, {0, 1}};
  cplx r0;
  voxtrel::correlation(2, 1, 1, x.data(), x.data(), &r0);
  EXPECT_NEAR(r0.real(), 1.0f, 1e-7);
  EXPECT_NEAR(r0.imag(), 0.0f, 1e-7);
}

TEST(Correlation, LagsBeyondTheDataAreZeroInBothModes) {
  const std::vector<cplx> x{{1, 0}, {2, 0}};
  std::vector<cplx> b(4), u(4);
  voxtrel::correlation(2, 4, 1, x.data(), x.data(), b.data());
  voxtrel::correlation(2, 4, 0, x.data(), x.data(), u.data());
  for (int k = 2; k < 4; ++k) {
    EXPECT_EQ(b[k], cplx(0, 0));
    EXPECT_EQ(u[k], cplx(0, 0));
  }
}

TEST(Correlation, ConjugatesTheFirstSequence) {
  // x = (1, j): lag 1 = conj(x(1)) x(2) / 2 = j / 2 (biased).
  const std::vector<cplx> x{{1, 0}, {0, 1}};
  std::vector<cplx> r(2);
  voxtrel::correlation(2, 2, 1, x.data(), x.data(), r.data());
  EXPECT_NEAR(r[1].real(), 0.0f, 1e-7);
  EXPECT_NEAR(r[1].imag(), 0.5f, 1e-7);
}

// Lags are summed in blocks side by side in vector lanes, with the right factors split a chunk
// of samples at a time; every lag must still be the very value of its own sum taken alone, in
// order, for the widest vectors and the baseline alike: lag counts that end inside and on a
// block, more lags than samples, sums longer than a chunk, cross-correlation of two different
// sequences, signed zeros, and real data (whose sums take only the real products).
TEST(Correlation, BlocksOfLagsGiveTheValuesOfOneLagAtATime) {
  std::mt19937 gen(9);
  std::normal_distribution<float> g(0.0f, 2.0f);
  struct Shape {
    int n, lag, mode;
  };
  for (const Shape s : {Shape{50, 3, 0}, Shape{50, 8, 1}, Shape{50, 17, 0}, Shape{20, 40, 0},
                        Shape{2500, 37, 1}, Shape{3000, 200, 0}, Shape{9, 9, 1}})
    for (const bool real : {false, true}) {
      std::vector<voxtrel::cplx> x(static_cast<std::size_t>(s.n)), y(x.size());
      for (auto& v : x) v = voxtrel::cplx(g(gen), real ? 0.0f : g(gen));
      for (auto& v : y) v = voxtrel::cplx(g(gen), real ? 0.0f : g(gen));
      x[static_cast<std::size_t>(s.n / 2)] = voxtrel::cplx(-0.0f, 0.0f);
      y[static_cast<std::size_t>(s.n / 3)] = voxtrel::cplx(0.0f, -0.0f);
      std::vector<voxtrel::cplx> widest(static_cast<std::size_t>(s.lag)), baseline(widest.size());
      voxtrel::correlation(s.n, s.lag, s.mode, x.data(), y.data(), widest.data());
      voxtrel::correlation(s.n, s.lag, s.mode, x.data(), y.data(), baseline.data(), false);
      for (int k = 0; k < s.lag; ++k) {
        voxtrel::cplx expected(0, 0);
        if (k < s.n) {
          voxtrel::dcplx sum(0, 0);
          for (int j = 0; j < s.n - k; ++j)
            sum += voxtrel::dcplx(std::conj(x[static_cast<std::size_t>(j)])) *
                   voxtrel::dcplx(y[static_cast<std::size_t>(j + k)]);
          expected = voxtrel::cplx(sum / (s.mode == 0 ? double(s.n - k) : double(s.n)));
        }
        for (const voxtrel::cplx got :
             {widest[static_cast<std::size_t>(k)], baseline[static_cast<std::size_t>(k)]}) {
          ASSERT_EQ(std::bit_cast<std::uint64_t>(got), std::bit_cast<std::uint64_t>(expected))
              << "n " << s.n << " lag " << k << ": " << got << " " << expected;
        }
      }
    }
}

// Many lags of long data come from one double-precision transform of the zero-padded data: each
// lag within a few double-precision rounding errors of the lag-0 power of its direct sum, real
// data with real lags, lags past the data zero.
TEST(Correlation, LagsByTransformAgreeWithTheDirectSums) {
  std::mt19937 gen(11);
  std::normal_distribution<float> g(0.0f, 3.0f);
  struct Shape {
    int n, lag, mode;
    bool real, same;
  };
  for (const Shape s : {Shape{16384, 8191, 0, true, true}, Shape{5000, 2600, 1, false, true},
                        Shape{4000, 4100, 0, false, false}, Shape{3000, 1500, 1, true, false},
                        Shape{40000, 30000, 1, true, true}}) {
    std::vector<voxtrel::cplx> x(static_cast<std::size_t>(s.n)), y(x.size());
    for (auto& v : x) v = voxtrel::cplx(g(gen), s.real ? 0.0f : g(gen));
    for (auto& v : y) v = voxtrel::cplx(g(gen), s.real ? 0.0f : g(gen));
    const voxtrel::cplx* other = s.same ? x.data() : y.data();
    std::vector<voxtrel::cplx> got(static_cast<std::size_t>(s.lag));
    voxtrel::correlation(s.n, s.lag, s.mode, x.data(), other, got.data());
    double power = 0;
    for (int j = 0; j < s.n; ++j)
      power += std::abs(voxtrel::dcplx(x[j]) * voxtrel::dcplx(other[j]));
    for (int k = 0; k < s.lag; k += (k < 50 ? 1 : 37)) {
      voxtrel::dcplx sum(0, 0);
      for (int j = 0; j < s.n - k; ++j)
        sum += std::conj(voxtrel::dcplx(x[static_cast<std::size_t>(j)])) *
               voxtrel::dcplx(other[static_cast<std::size_t>(j + k)]);
      const voxtrel::dcplx have(got[static_cast<std::size_t>(k)]);
      if (k >= s.n) {
        ASSERT_EQ(have, voxtrel::dcplx(0, 0)) << k;
        continue;
      }
      const double div = s.mode == 0 ? double(s.n - k) : double(s.n);
      const voxtrel::dcplx want = sum / div;
      // Single-precision rounding of the lag plus the transform's error relative to the power.
      const double tol = 1e-7 * std::abs(want) + 1e-12 * power / div;
      ASSERT_LE(std::abs(have - want), tol) << "n " << s.n << " lag " << k;
      if (s.real) {
        ASSERT_EQ(have.imag(), 0.0) << k;
      }
    }
  }
}
