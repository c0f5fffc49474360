#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "estimators.h"
#include "reference.h"

using ref::dc;
using voxtrel::cplx;

namespace {

// Packs the Hermitian H as the solver expects: row i, columns j <= i, entry = H(j,i).
void pack(voxtrel::Run& r, const ref::Mat& H) {
  int l = 1;
  for (std::size_t i = 0; i < H.size(); ++i)
    for (std::size_t j = 0; j <= i; ++j) r.w.hc()(l++) = cplx(H[j][i]);
}

// A well-conditioned random Hermitian positive-definite matrix: B^H B + n I.
ref::Mat randomHpd(int n, unsigned seed) {
  std::mt19937 gen(seed);
  std::uniform_real_distribution<double> u(-1, 1);
  ref::Mat B(n, std::vector<dc>(n)), H(n, std::vector<dc>(n));
  for (auto& row : B)
    for (auto& v : row) v = dc(u(gen), u(gen));
  for (int i = 0; i < n; ++i)
    for (int j = 0; j < n; ++j) {
      for (int k = 0; k < n; ++k) H[i][j] += std::conj(B[k][i]) * B[k][j];
      if (i == j) H[i][j] += n;
    }
  return H;
}

}  // namespace

TEST(Cholesky, OneByOneDividesByTheDiagonal) {
  voxtrel::RunLog log;
  voxtrel::Run r(log);
  r.w.hc()(1) = cplx(4, 0);
  r.theta()(1) = cplx(2, -6);
  int iflag = 7;
  voxtrel::cholesky(r, 1, 1.0e6f, iflag);  // the first pivot is not held against eps
  EXPECT_EQ(iflag, 0);
  EXPECT_NEAR(r.theta()(1).real(), 0.5f, 1e-7);
  EXPECT_NEAR(r.theta()(1).imag(), -1.5f, 1e-7);
}

TEST(Cholesky, AgreesWithGaussianEliminationOnAComplexSystem) {
  const int n = 7;
  const auto H = randomHpd(n, 3);
  std::vector<dc> b(n);
  for (int i = 0; i < n; ++i) b[i] = dc(i + 1, 0.5 * i - 2);
  const auto want = ref::solve(H, b);
  voxtrel::RunLog log;
  voxtrel::Run r(log);
  pack(r, H);
  for (int i = 0; i < n; ++i) r.theta()(i + 1) = cplx(b[i]);
  int iflag = 0;
  voxtrel::cholesky(r, n, 1e-6f, iflag);
  ASSERT_EQ(iflag, 0);
  for (int i = 0; i < n; ++i) {
    EXPECT_NEAR(r.theta()(i + 1).real(), want[i].real(), 1e-5) << i;
    EXPECT_NEAR(r.theta()(i + 1).imag(), want[i].imag(), 1e-5) << i;
  }
}

TEST(Cholesky, FactorOnceThenSolveEqualsTheFullSolve) {
  const int n = 5;
  const auto H = randomHpd(n, 9);
  voxtrel::RunLog log;
  voxtrel::Run full(log), split(log);
  pack(full, H);
  pack(split, H);
  int iflag = 0;
  voxtrel::cholesky_factor(split, n, 1e-6f, iflag);
  ASSERT_EQ(iflag, 0);
  for (int j = 1; j <= n; ++j) {
    for (int i = 1; i <= n; ++i) {
      full.theta()(i) = cplx(i == j ? 1.f : 0.f, 0.f);
      split.theta()(i) = full.theta()(i);
    }
    voxtrel::cholesky(full, n, 1e-6f, iflag);
    voxtrel::cholesky_solve(split, n);
    for (int i = 1; i <= n; ++i) EXPECT_EQ(full.theta()(i), split.theta()(i)) << i << "," << j;
  }
}

TEST(Cholesky, PivotEqualToEpsFailsWithTheDump) {
  // H = [[1, 1], [1, 1.5]]: the second pivot is exactly 0.5.
  voxtrel::RunLog log;
  voxtrel::Run r(log);
  r.w.hc()(1) = cplx(1, 0);
  r.w.hc()(2) = cplx(1, 0);
  r.w.hc()(3) = cplx(1.5f, 0);
  r.theta()(1) = cplx(3, 0);
  r.theta()(2) = cplx(4, 0);
  int iflag = 0;
  voxtrel::cholesky(r, 2, 0.5f, iflag);
  EXPECT_EQ(iflag, -1);
  EXPECT_EQ(r.theta()(1), cplx(3, 0));  // the right-hand side is left as it was
  EXPECT_EQ(r.theta()(2), cplx(4, 0));
  const std::vector<std::string> want{
      "",
      " Error in CHOLESKY: I =     2  L =     3",
      " hc(    1) =   1.0000E+00     0.0000E+00",
      " hc(    2) =   1.0000E+00     0.0000E+00",
      " hc(    3) =   1.5000E+00     0.0000E+00",
      " hc(    4) =   0.0000E+00     0.0000E+00",
      " hc(    5) =   0.0000E+00     0.0000E+00",
  };
  EXPECT_EQ(log.lines(), want);

  // With eps just below the pivot it solves H x = (3, 4): x = (1, 2).
  voxtrel::cholesky(r, 2, 0.49f, iflag);
  EXPECT_EQ(iflag, 0);
  EXPECT_NEAR(r.theta()(1).real(), 1.0f, 1e-6);
  EXPECT_NEAR(r.theta()(2).real(), 2.0f, 1e-6);
}

TEST(Cholesky, ZeroFirstPivotFailsInsteadOfDividingByZero) {
  voxtrel::RunLog log;
  voxtrel::Run r(log);
  r.theta()(1) = cplx(1, 0);
  int iflag = 0;
  voxtrel::cholesky(r, 1, 0.0f, iflag);
  EXPECT_EQ(iflag, -1);
  EXPECT_EQ(log.lines().at(1), " Error in CHOLESKY: I =     1  L =     1");
  EXPECT_EQ(r.theta()(1), cplx(1, 0));
}
