// Least-squares modified Yule-Walker: agreement with the exact method when the system is
// square, ARMA recovery, lags up to M = nPts = nPoints, degenerate data.
#include <gtest/gtest.h>

#include <complex>
#include <string>
#include <tuple>
#include <vector>

#include "arma_synth.h"
#include "estimators.h"
#include "log_lines.h"
#include "test_support.h"

using voxtrel::cplx;

namespace {

vtest::Answer lsmyweAnswer(const std::string& npoints, const std::string& meqs) {
  vtest::Answer ans;
  ans.method = "LSMYWE";
  ans.npoints = npoints;
  ans.npoles = "2";
  ans.nzeros = "2";
  ans.eps = "1e-15";
  ans.meqs = meqs;
  return ans;
}

}  // namespace

TEST(Lsmywe, SquareSystemGivesTheModifiedYuleWalkerSolution) {
  // M - q = p: as many equations as unknowns, so least squares solves them exactly.
  const auto x = vtest::armaSeries(vtest::kPeakA, vtest::kNotchB, 600, 3);
  auto z = vtest::asComplex(x);
  z.resize(1024);
  for (const auto& [p, q] : std::vector<std::pair<int, int>>{{2, 2}, {3, 1}, {1, 0}}) {
    voxtrel::RunLog logA, logB;
    voxtrel::Run ra(logA), rb(logB);
    std::vector<cplx> bm(4), bl(4);
    float sm = 0, sl = 0;
    int fm = 1, fl = 1;
    voxtrel::mywe(ra, z.data(), 600, p, q, 1e-15f, ra.st.a.data(), bm.data(), sm, fm, 1024);
    voxtrel::lsmywe(rb, z.data(), 600, p, q, p + q, 1e-15f, bl.data(), sl, fl, 1024);
    ASSERT_EQ(fm, 0);
    ASSERT_EQ(fl, 0);
    for (int k = 1; k <= p; ++k) {
      EXPECT_NEAR(rb.theta()(k).real(), ra.st.a(k).real(), 2e-3) << "p=" << p << " a(" << k << ")";
      EXPECT_NEAR(rb.theta()(k).imag(), ra.st.a(k).imag(), 2e-3) << "p=" << p << " a(" << k << ")";
    }
    for (int k = 0; k < q; ++k)
      EXPECT_NEAR(bl[k].real(), bm[k].real(), 5e-3) << "b(" << k + 1 << ")";
    EXPECT_NEAR(sl, sm, 1e-3 * sm);
  }
}

TEST(Lsmywe, RecoversThePeakAndNotchOfAnArma22) {
  const auto x = vtest::armaSeries(vtest::kPeakA, vtest::kNotchB, 1000, 7);
  auto z = vtest::asComplex(x);
  z.resize(1024);
  voxtrel::RunLog log;
  voxtrel::Run r(log);
  cplx b[2];
  float sig2 = 0;
  int iflag = 1;
  voxtrel::lsmywe(r, z.data(), 1000, 2, 2, 20, 1e-15f, b, sig2, iflag, 1024);
  ASSERT_EQ(iflag, 0);
  EXPECT_NEAR(r.theta()(1).real(), vtest::kPeakA[0], 0.05);
  EXPECT_NEAR(r.theta()(2).real(), vtest::kPeakA[1], 0.05);
  EXPECT_NEAR(b[0].real(), vtest::kNotchB[0], 0.2);
  EXPECT_NEAR(b[1].real(), vtest::kNotchB[1], 0.2);
  EXPECT_NEAR(sig2, 1.0, 0.15);

  vtest::TempDir dir;
  const auto res = vtest::run(dir, lsmyweAnswer("1024", "20"), vtest::realData(x));
  ASSERT_EQ(res.outcome, voxtrel::Outcome::Spectrum) << res.stopText;
  EXPECT_NEAR(vtest::argMax(res.x, res.spectrum), 0.2, 0.01);
  EXPECT_NEAR(vtest::argMin(res.x, res.spectrum), 0.35, 0.01);
}

TEST(Lsmywe, AllLagsUpToTheNumberOfPointsWhenMEqualsNPointsAndNPts) {
  // M = nPts = nPoints: lags 0..M are formed, lag M itself having no products.
  const auto x = vtest::armaSeries(vtest::kPeakA, vtest::kNotchB, 512, 8);
  vtest::TempDir dir;
  const auto res = vtest::run(dir, lsmyweAnswer("512", "512"), vtest::realData(x));
  ASSERT_EQ(res.outcome, voxtrel::Outcome::Spectrum) << res.stopText;
  EXPECT_NEAR(vtest::argMax(res.x, res.spectrum), 0.2, 0.02);
}

TEST(Lsmywe, DegenerateDataEndWithANamedCauseAndNoPlot) {
  {
    vtest::TempDir dir;
    const auto res =
        vtest::run(dir, lsmyweAnswer("64", "20"), vtest::realData(std::vector<float>(60, 0.0f)));
    EXPECT_EQ(res.outcome, voxtrel::Outcome::NoPlot);
    EXPECT_TRUE(
        vtest::logHas(vtest::readLines(dir / "~Tirelle.out"),
                      " LSMYWE: the data have zero power (all-zero data?); nothing to model."));
  }
  {
    // Fewer equations than poles (reachable only by a direct call; the reader refuses it).
    const auto x = vtest::asComplex(vtest::armaSeries(vtest::kPeakA, {}, 100, 1));
    voxtrel::RunLog log;
    voxtrel::Run r(log);
    cplx b[2];
    float sig2 = -1;
    int iflag = 0;
    voxtrel::lsmywe(r, x.data(), 100, 3, 2, 4, 1e-15f, b, sig2, iflag, 128);
    EXPECT_EQ(iflag, voxtrel::kIflagDegenerate);
    EXPECT_EQ(sig2, -1.0f);
    EXPECT_TRUE(vtest::logHas(log.lines(), "need M_Eqs - nZeros >= nPoles"));
  }
  {
    // Lags q..M-1 all zero: the data are zero after the first sample, so every lag beyond 0
    // vanishes and the first normal-equation pivot is zero.
    std::vector<cplx> x(50, cplx(0, 0));
    x[0] = cplx(1, 0);
    voxtrel::RunLog log;
    voxtrel::Run r(log);
    cplx b[1];
    float sig2 = -1;
    int iflag = 0;
    voxtrel::lsmywe(r, x.data(), 50, 1, 1, 10, 1e-15f, b, sig2, iflag, 64);
    EXPECT_EQ(iflag, voxtrel::kIflagDegenerate);
    EXPECT_TRUE(vtest::logHas(log.lines(), " LSMYWE: the lags R(q) .. R(M-1) are all zero"));
  }
}

// Data of a tiny scale are not zero data: when the lags' squares or the data's power underflow
// single precision, the log says so and how to go on instead of calling the lags zero.
TEST(Lsmywe, UnderflowIsToldApartFromZeroData) {
  struct Case {
    float scale;
    std::string line;
  } cases[] = {
      {1e-20f,
       " LSMYWE: the normal equations underflow single precision (largest |R(q)| .. "
       "|R(M-1)| ="},
      {1e-25f, " LSMYWE: the data's power underflows single precision (largest |x| ="},
  };
  for (const auto& c : cases) {
    auto y = vtest::armaSeries(vtest::kPeakA, vtest::kNotchB, 60, 1);
    for (float& v : y) v *= c.scale;
    vtest::TempDir dir;
    auto ans = lsmyweAnswer("64", "20");
    ans.eps = "1e-44";
    const auto res = vtest::run(dir, ans, vtest::realData(y));
    EXPECT_EQ(res.outcome, voxtrel::Outcome::NoPlot) << c.scale;
    const auto lines = vtest::readLines(dir / "~Tirelle.out");
    EXPECT_TRUE(vtest::logHas(lines, c.line)) << c.scale;
    EXPECT_TRUE(
        vtest::logHas(lines, "); rescale the data (multiply by a power of ten) and run again."))
        << c.scale;
    EXPECT_FALSE(vtest::logHas(lines, "are all zero")) << c.scale;
    EXPECT_FALSE(vtest::logHas(lines, "zero power")) << c.scale;
  }
}

TEST(Lsmywe, PivotBelowEpsWritesTheCholeskyText) {
  const auto x = vtest::armaSeries(vtest::kPeakA, vtest::kNotchB, 300, 4);
  vtest::TempDir dir;
  auto ans = lsmyweAnswer("512", "20");
  ans.eps = "1e30";
  const auto res = vtest::run(dir, ans, vtest::realData(x));
  EXPECT_EQ(res.outcome, voxtrel::Outcome::NoPlot);
  const auto lines = vtest::readLines(dir / "~Tirelle.out");
  EXPECT_TRUE(
      vtest::everyOccurrenceInRun(lines,
                                  {" IFLAG = -1    EPS = 1.000E+30",
                                   " One of the di's in Cholesky decomposition is less than EPS",
                                   " causing premature termination."},
                                  0));
}

TEST(Lsmywe, ComplexDataKeepTheAsymmetricPeakAndNotch) {
  const auto z = vtest::complexArmaSeries(vtest::kComplexA, vtest::kComplexB, 1000, 22);
  vtest::TempDir dir;
  auto ans = lsmyweAnswer("1024", "15");
  ans.type = "Complex";
  ans.neg = "Yes";
  ans.npoles = "1";
  ans.nzeros = "1";
  const auto res = vtest::run(dir, ans, vtest::complexData(z));
  ASSERT_EQ(res.outcome, voxtrel::Outcome::Spectrum) << res.stopText;
  EXPECT_NEAR(vtest::argMax(res.x, res.spectrum), -0.15, 0.01);
  EXPECT_NEAR(vtest::argMin(res.x, res.spectrum), 0.25, 0.01);
}

// The normal matrix updated along its diagonals equals, entry by entry, the sums over all
// equations taken in double precision from the same lags (complex data, many equations, p > q
// and p < q), to the single-precision rounding of the largest entry.
TEST(Lsmywe, NormalMatrixAlongDiagonalsMatchesTheFullSums) {
  const auto x = vtest::armaSeries(vtest::kPeakA, vtest::kNotchB, 900, 21);
  auto z = vtest::asComplex(x);
  for (std::size_t t = 0; t < z.size(); ++t) z[t] *= std::polar(1.0f, 0.7f * static_cast<float>(t));
  for (const auto& [p, q, M] : std::vector<std::tuple<int, int, int>>{{12, 3, 400}, {4, 9, 900}}) {
    voxtrel::RunLog log;
    voxtrel::Run r(log);
    std::vector<cplx> b(16);
    float sig2 = 0;
    int iflag = 1;
    voxtrel::lsmywe(r, z.data(), 900, p, q, M, 1e-15f, b.data(), sig2, iflag, 1024);
    ASSERT_EQ(iflag, 0);
    std::vector<cplx> R(static_cast<std::size_t>(M + 1));
    voxtrel::correlation(900, M + 1, 0, z.data(), z.data(), R.data());
    auto rr = [&](int m, int j) {
      const int k = q + m - j;
      return k >= 0 ? std::complex<double>(R[k]) : std::conj(std::complex<double>(R[-k]));
    };
    const double scale = std::abs(std::complex<double>(r.w.hc()(1)));
    for (int i = 1; i <= p; ++i)
      for (int j = 1; j <= i; ++j) {
        std::complex<double> sum(0, 0);
        for (int m = 1; m <= M - q; ++m) sum += std::conj(rr(m, j)) * rr(m, i);
        const std::complex<double> got(r.w.hc()(i * (i - 1) / 2 + j));
        EXPECT_LE(std::abs(got - sum), 1e-6 * scale) << p << " (" << i << "," << j << ")";
      }
  }
}

// The work tables are sized by the run's orders: a run of 64 points allocates a few tens of
// kilobytes of them (the fixed 411-order tables held megabytes), and gives the same model as
// the routine on full-size tables.
TEST(Lsmywe, SmallRunAllocatesSmallTablesWithTheSameModel) {
  const auto x = vtest::armaSeries(vtest::kPeakA, vtest::kNotchB, 64, 12);
  vtest::TempDir dir;
  const auto res = vtest::run(dir, lsmyweAnswer("64", "20"), vtest::realData(x));
  ASSERT_EQ(res.outcome, voxtrel::Outcome::Spectrum) << res.stopText;
  EXPECT_GT(res.workTableBytes, 0u);
  EXPECT_LT(res.workTableBytes, 100'000u);

  voxtrel::RunLog log;
  voxtrel::Run full(log);
  const auto z = vtest::asComplex(x);
  cplx b[2];
  float sig2 = 0;
  int iflag = 1;
  voxtrel::lsmywe(full, z.data(), 64, 2, 2, 20, 1e-15f, b, sig2, iflag, 64);
  ASSERT_EQ(iflag, 0);
  ASSERT_EQ(res.ar.size(), 2u);
  EXPECT_EQ(res.ar[0], full.theta()(1));
  EXPECT_EQ(res.ar[1], full.theta()(2));
  EXPECT_EQ(res.ma[0], b[0]);
  EXPECT_EQ(res.ma[1], b[1]);
}
