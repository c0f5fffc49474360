// Modified Yule-Walker: the Toeplitz solver against hand values, Levinson and a direct
// double-precision solve; the FIR filter; ARMA recovery; degenerate data.
#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <random>
#include <string>
#include <vector>

#include "arma_synth.h"
#include "estimators.h"
#include "log_lines.h"
#include "test_support.h"

namespace {

using voxtrel::cplx;
using dc = std::complex<double>;

// Unbiased lags 0..count-1 of a seeded complex AR(1)-coloured series.
std::vector<cplx> sampleLags(int count, unsigned seed) {
  std::mt19937 gen(seed);
  std::normal_distribution<float> g(0.0f, 1.0f);
  std::vector<cplx> x(300);
  cplx prev(0, 0);
  for (auto& v : x) {
    v = cplx(g(gen), g(gen)) + cplx(0.6f, 0.3f) * prev;
    prev = v;
  }
  std::vector<cplx> R(static_cast<std::size_t>(count));
  voxtrel::correlation(300, count, 0, x.data(), x.data(), R.data());
  return R;
}

dc lagOf(const std::vector<cplx>& R, int m) {
  return m >= 0 ? dc(R[static_cast<std::size_t>(m)])
                : std::conj(dc(R[static_cast<std::size_t>(-m)]));
}

// Direct solve of sum_j a(j) R(q+i-j) = -R(q+i), i = 1..p, by Gaussian elimination with
// partial pivoting in double precision.
std::vector<dc> directModifiedYuleWalker(const std::vector<cplx>& R, int p, int q) {
  std::vector<std::vector<dc>> m(static_cast<std::size_t>(p),
                                 std::vector<dc>(static_cast<std::size_t>(p) + 1));
  for (int i = 1; i <= p; ++i) {
    for (int j = 1; j <= p; ++j) m[i - 1][j - 1] = lagOf(R, q + i - j);
    m[i - 1][p] = -lagOf(R, q + i);
  }
  for (int c = 0; c < p; ++c) {
    int piv = c;
    for (int i = c + 1; i < p; ++i)
      if (std::abs(m[i][c]) > std::abs(m[piv][c])) piv = i;
    std::swap(m[c], m[piv]);
    for (int i = c + 1; i < p; ++i) {
      const dc f = m[i][c] / m[c][c];
      for (int j = c; j <= p; ++j) m[i][j] -= f * m[c][j];
    }
  }
  std::vector<dc> a(static_cast<std::size_t>(p));
  for (int i = p - 1; i >= 0; --i) {
    dc s = m[i][p];
    for (int j = i + 1; j < p; ++j) s -= m[i][j] * a[j];
    a[i] = s / m[i][i];
  }
  return a;
}

}  // namespace

TEST(Toepeqn, OrderOneIsTheLagRatioAndNeverFailsOnEps) {
  voxtrel::RunLog log;
  voxtrel::Run r(log);
  // q = 2: a(1) = -R(3) / R(2).
  const std::vector<cplx> R = {{4, 0}, {1, 1}, {2, -1}, {0.5f, 1.5f}};
  cplx a[1];
  int iflag = 7;
  voxtrel::toepeqn(r, R.data(), 1, 2, 1.0e30f, a, iflag);
  const cplx expect = -cplx(0.5f, 1.5f) / cplx(2, -1);  // = (0.1, -0.7)
  EXPECT_EQ(iflag, 0);
  EXPECT_NEAR(a[0].real(), expect.real(), 1e-6);
  EXPECT_NEAR(a[0].imag(), expect.imag(), 1e-6);
  EXPECT_NEAR(a[0].real(), 0.1, 1e-6);
  EXPECT_NEAR(a[0].imag(), -0.7, 1e-6);
}

TEST(Toepeqn, WithoutZerosItIsTheYuleWalkerSolutionOfLevinson) {
  const auto R = sampleLags(6, 11);
  voxtrel::RunLog log;
  voxtrel::Run r(log);
  std::vector<cplx> lev(5), toe(5);
  voxtrel::levinson(r, R.data(), 5, lev.data());
  int iflag = 1;
  voxtrel::toepeqn(r, R.data(), 5, 0, 1e-15f, toe.data(), iflag);
  ASSERT_EQ(iflag, 0);
  for (int k = 0; k < 5; ++k) {
    EXPECT_NEAR(toe[k].real(), lev[k].real(), 2e-5) << "a(" << k + 1 << ")";
    EXPECT_NEAR(toe[k].imag(), lev[k].imag(), 2e-5) << "a(" << k + 1 << ")";
  }
  // The first backward predictor of the general recursion is -conj(R(1)) / R(0).
  const cplx bb11 = r.w.bb()(1, 1);
  const cplx expect = -std::conj(R[1]) / R[0];
  EXPECT_NEAR(bb11.real(), expect.real(), 1e-6);
  EXPECT_NEAR(bb11.imag(), expect.imag(), 1e-6);
}

TEST(Toepeqn, MatchesADirectSolveWithZerosAndNegativeLags) {
  const auto R = sampleLags(8, 5);
  for (const auto& [p, q] : std::vector<std::pair<int, int>>{{3, 2}, {4, 1}, {2, 5}}) {
    voxtrel::RunLog log;
    voxtrel::Run r(log);
    std::vector<cplx> a(static_cast<std::size_t>(p));
    int iflag = 1;
    voxtrel::toepeqn(r, R.data(), p, q, 1e-15f, a.data(), iflag);
    ASSERT_EQ(iflag, 0) << "p=" << p << " q=" << q;
    const auto direct = directModifiedYuleWalker(R, p, q);
    for (int k = 0; k < p; ++k) {
      EXPECT_NEAR(a[k].real(), direct[k].real(), 1e-3) << "p=" << p << " q=" << q << " k=" << k;
      EXPECT_NEAR(a[k].imag(), direct[k].imag(), 1e-3) << "p=" << p << " q=" << q << " k=" << k;
    }
  }
}

TEST(Toepeqn, SmallPivotGivesIflagMinusOneAndZeroLagQIsDegenerate) {
  const auto R = sampleLags(6, 3);
  {
    voxtrel::RunLog log;
    voxtrel::Run r(log);
    std::vector<cplx> a(3);
    int iflag = 0;
    voxtrel::toepeqn(r, R.data(), 3, 1, 1.0e30f, a.data(), iflag);
    EXPECT_EQ(iflag, -1);
  }
  {
    voxtrel::RunLog log;
    voxtrel::Run r(log);
    std::vector<cplx> lags = {{2, 0}, {0, 0}, {1, 0}};
    std::vector<cplx> a(1);
    int iflag = 0;
    voxtrel::toepeqn(r, lags.data(), 1, 1, 1e-15f, a.data(), iflag);
    EXPECT_EQ(iflag, voxtrel::kIflagDegenerate);
    EXPECT_EQ(r.st.iflag, voxtrel::kIflagDegenerate);
    EXPECT_TRUE(vtest::logHas(log.lines(), "R(q) is zero at q = nZeros = 1"));
  }
}

TEST(Czerofilt, OrderOneAddsTheScaledPreviousSample) {
  const std::vector<cplx> x = {{1, 0}, {2, 1}, {-1, 3}, {0.5f, -2}};
  const cplx A[1] = {cplx(0.5f, -0.5f)};
  std::vector<cplx> y(4);
  voxtrel::czerofilt(x.data(), 4, 1, A, y.data());
  // y(1) = x(1); y(i) = x(i) + A(1) x(i-1).
  const std::vector<cplx> expect = {{1, 0}, {2.5f, 0.5f}, {0.5f, 2.5f}, {1.5f, -0.0f}};
  for (int i = 0; i < 4; ++i) {
    EXPECT_NEAR(y[i].real(), expect[i].real(), 1e-6) << i;
    EXPECT_NEAR(y[i].imag(), expect[i].imag(), 1e-6) << i;
  }
}

TEST(Mywe, RecoversThePeakAndNotchOfAnArma22) {
  const auto x = vtest::armaSeries(vtest::kPeakA, vtest::kNotchB, 1000, 7);
  voxtrel::RunLog log;
  voxtrel::Run r(log);
  auto z = vtest::asComplex(x);
  z.resize(1024);
  cplx* a = r.st.a.data();
  cplx b[2];
  float sig2 = 0;
  int iflag = 1;
  voxtrel::mywe(r, z.data(), 1000, 2, 2, 1e-15f, a, b, sig2, iflag, 1024);
  ASSERT_EQ(iflag, 0);
  EXPECT_NEAR(a[0].real(), vtest::kPeakA[0], 0.05);
  EXPECT_NEAR(a[1].real(), vtest::kPeakA[1], 0.05);
  EXPECT_NEAR(b[0].real(), vtest::kNotchB[0], 0.2);
  EXPECT_NEAR(b[1].real(), vtest::kNotchB[1], 0.2);
  EXPECT_NEAR(a[0].imag(), 0.0, 1e-6);  // real data, real model
  EXPECT_NEAR(sig2, 1.0, 0.15);

  vtest::TempDir dir;
  vtest::Answer ans;
  ans.method = "MYWE";
  ans.npoints = "1024";
  ans.npoles = "2";
  ans.nzeros = "2";
  ans.eps = "1e-15";
  const auto res = vtest::run(dir, ans, vtest::realData(x));
  ASSERT_EQ(res.outcome, voxtrel::Outcome::Spectrum) << res.stopText;
  EXPECT_NEAR(vtest::argMax(res.x, res.spectrum), 0.2, 0.01);
  EXPECT_NEAR(vtest::argMin(res.x, res.spectrum), 0.35, 0.01);
}

TEST(Mywe, DegenerateDataEndWithANamedCauseAndNoPlot) {
  {
    vtest::TempDir dir;
    vtest::Answer ans;
    ans.method = "MYWE";
    ans.npoints = "64";
    ans.npoles = "2";
    ans.nzeros = "1";
    ans.eps = "1e-15";
    const auto res = vtest::run(dir, ans, vtest::realData(std::vector<float>(50, 0.0f)));
    EXPECT_EQ(res.outcome, voxtrel::Outcome::NoPlot);
    EXPECT_EQ(res.zeroFill, voxtrel::kNoPlot);
    EXPECT_TRUE(
        vtest::logHas(vtest::readLines(dir / "~Tirelle.out"),
                      " MYWE: the data have zero power (all-zero data?); nothing to model."));
  }
  {
    vtest::TempDir dir;
    vtest::Answer ans;
    ans.method = "MYWE";
    ans.npoints = "8";
    ans.npoles = "4";
    ans.nzeros = "2";
    ans.eps = "1e-15";
    const auto res = vtest::run(dir, ans, vtest::realData({1, -2, 3, 0.5f, 2}));
    EXPECT_EQ(res.outcome, voxtrel::Outcome::NoPlot);
    EXPECT_TRUE(vtest::logHas(vtest::readLines(dir / "~Tirelle.out"),
                              " MYWE: nPoles + nZeros = 6 is not below the 5 data points"));
  }
}

TEST(Mywe, IllConditionedRecursionWritesTheRhoText) {
  const auto x = vtest::armaSeries(vtest::kPeakA, {}, 200, 2);
  vtest::TempDir dir;
  vtest::Answer ans;
  ans.method = "MYWE";
  ans.npoints = "256";
  ans.npoles = "3";
  ans.nzeros = "1";
  ans.eps = "1e30";
  const auto res = vtest::run(dir, ans, vtest::realData(x));
  EXPECT_EQ(res.outcome, voxtrel::Outcome::NoPlot);
  const auto lines = vtest::readLines(dir / "~Tirelle.out");
  EXPECT_TRUE(vtest::everyOccurrenceInRun(
      lines,
      {"", "", " IFLAG = -1    EPS = 1.000E+30",
       " Magnitude of one of complex rho's is less than EPS", " causing premature termination."},
      2));
}

TEST(Mywe, ComplexDataKeepTheAsymmetricPeakAndNotch) {
  const auto z = vtest::complexArmaSeries(vtest::kComplexA, vtest::kComplexB, 1000, 21);
  vtest::TempDir dir;
  vtest::Answer ans;
  ans.method = "MYWE";
  ans.type = "Complex";
  ans.neg = "Yes";
  ans.npoints = "1024";
  ans.npoles = "1";
  ans.nzeros = "1";
  ans.eps = "1e-15";
  const auto res = vtest::run(dir, ans, vtest::complexData(z));
  ASSERT_EQ(res.outcome, voxtrel::Outcome::Spectrum) << res.stopText;
  EXPECT_NEAR(vtest::argMax(res.x, res.spectrum), -0.15, 0.01);
  EXPECT_NEAR(vtest::argMin(res.x, res.spectrum), 0.25, 0.01);
}

TEST(Mywe, LongDataLimitTheDurbinStageToTheTableOrder) {
  // n/5 = 440 exceeds the 411 orders of the AR tables: the stage uses 411 and says so.
  const auto x = vtest::armaSeries(vtest::kPeakA, vtest::kNotchB, 2200, 17);
  vtest::TempDir dir;
  vtest::Answer ans;
  ans.method = "MYWE";
  ans.npoints = "4096";
  ans.npoles = "2";
  ans.nzeros = "2";
  ans.eps = "1e-15";
  const auto res = vtest::run(dir, ans, vtest::realData(x));
  ASSERT_EQ(res.outcome, voxtrel::Outcome::Spectrum) << res.stopText;
  EXPECT_TRUE(vtest::logHas(vtest::readLines(dir / "~Tirelle.out"),
                            " Durbin stage: long AR order n/5 = 440 limited to Max_Order = 411"));
  EXPECT_NEAR(vtest::argMax(res.x, res.spectrum), 0.2, 0.01);
  EXPECT_NEAR(vtest::argMin(res.x, res.spectrum), 0.35, 0.01);
}
