// Akaike's maximum-likelihood method: the real filters and correlations, the Gauss-Newton
// step (Yule-Walker for a pure AR model), ARMA refinement from the LSMYWE start, and every
// status path with its run-log text.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "arma_synth.h"
#include "estimators.h"
#include "log_lines.h"
#include "test_support.h"

using voxtrel::cplx;

namespace {

vtest::Answer akaikeAnswer(const std::string& npoles, const std::string& nzeros,
                           const std::string& meqs, const std::string& nit,
                           const std::string& per) {
  vtest::Answer ans;
  ans.method = "Akaike";
  ans.npoints = "1024";
  ans.npoles = npoles;
  ans.nzeros = nzeros;
  ans.eps = "1e-15";
  ans.meqs = meqs;
  ans.nit = nit;
  ans.per = per;
  return ans;
}

}  // namespace

TEST(AkaikeFilters, PoleFilterUndoesTheZeroFilterAndCorrDividesByN) {
  const auto x = vtest::armaSeries({}, {}, 100, 6);
  const float c[2] = {-0.5f, 0.3f};
  std::vector<float> w(100), back(100);
  voxtrel::zerofilt(x.data(), 100, 2, c, w.data());
  voxtrel::polefilt(w.data(), 100, 2, c, back.data());
  for (int i = 0; i < 100; ++i) EXPECT_NEAR(back[i], x[i], 1e-5) << i;
  // y(2) = x(2) + c(1) x(1) by hand.
  EXPECT_NEAR(w[1], x[1] - 0.5f * x[0], 1e-6);

  const float u[3] = {1, 2, 3}, v[3] = {4, 5, 6};
  float r = 0;
  voxtrel::corr(3, 1, u, v, r);
  EXPECT_NEAR(r, (1 * 5 + 2 * 6) / 3.0, 1e-6);
  voxtrel::corr(3, 2, u, v, r);
  EXPECT_NEAR(r, 6 / 3.0, 1e-6);

  // var: the mean square of x filtered by A/B; with A = B it is the mean square of x.
  std::vector<float> e(100), y(100);
  float vv = 0;
  voxtrel::var(x.data(), 100, 2, 2, c, c, vv, e.data(), y.data());
  double ms = 0;
  for (float s : x) ms += static_cast<double>(s) * s;
  EXPECT_NEAR(vv, ms / 100, 1e-4 * ms / 100);
}

TEST(Akaike, PureArStepSolvesTheYuleWalkerEquationsAndThenStays) {
  const auto x = vtest::armaSeries(vtest::kPeakA, {}, 500, 12);
  // Yule-Walker from the divisor-n lags, by Levinson.
  std::vector<cplx> z = vtest::asComplex(x), R(3), yw(2);
  voxtrel::correlation(500, 3, 1, z.data(), z.data(), R.data());
  voxtrel::RunLog logL;
  voxtrel::Run rl(logL);
  voxtrel::levinson(rl, R.data(), 2, yw.data());

  voxtrel::RunLog log;
  voxtrel::Run r(log);
  float a[2] = {0, 0};
  float sig2 = 0;
  int iflag = 0;
  voxtrel::akaike(r, x.data(), 500, a, nullptr, 2, 0, 1, 1e-15f, 0.0f, sig2, iflag, 512);
  EXPECT_EQ(iflag, 2);  // per = 0: no change is below 0 %
  EXPECT_NEAR(a[0], yw[0].real(), 1e-4);
  EXPECT_NEAR(a[1], yw[1].real(), 1e-4);

  // The next step from the Yule-Walker solution returns it again: the change is 0 %.
  voxtrel::akaike(r, x.data(), 500, a, nullptr, 2, 0, 5, 1e-15f, 1e-3f, sig2, iflag, 512);
  EXPECT_EQ(iflag, 0);
  EXPECT_NEAR(a[0], yw[0].real(), 1e-4);
  EXPECT_NEAR(a[1], yw[1].real(), 1e-4);
}

TEST(Akaike, RefinesTheLsmyweStartOfAnArma22) {
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
  float a0[2] = {r.theta()(1).real(), r.theta()(2).real()};
  float b0[2] = {b[0].real(), b[1].real()};
  std::vector<float> e(1000), y(1000);
  float startVar = 0;
  voxtrel::var(x.data(), 1000, 2, 2, a0, b0, startVar, e.data(), y.data());

  voxtrel::akaike(r, x.data(), 1000, a0, b0, 2, 2, 30, 1e-15f, 0.01f, sig2, iflag, 1024);
  EXPECT_EQ(iflag, 0);
  EXPECT_LE(sig2, startVar);
  EXPECT_NEAR(sig2, 1.0, 0.12);
  EXPECT_NEAR(a0[0], vtest::kPeakA[0], 0.05);
  EXPECT_NEAR(a0[1], vtest::kPeakA[1], 0.05);
  EXPECT_NEAR(b0[0], vtest::kNotchB[0], 0.15);
  EXPECT_NEAR(b0[1], vtest::kNotchB[1], 0.15);

  // End to end: converged (no status text), peak and notch in place.
  vtest::TempDir dir;
  const auto res = vtest::run(dir, akaikeAnswer("2", "2", "20", "30", "0.01"), vtest::realData(x));
  ASSERT_EQ(res.outcome, voxtrel::Outcome::Spectrum) << res.stopText;
  EXPECT_NEAR(vtest::argMax(res.x, res.spectrum), 0.2, 0.01);
  EXPECT_NEAR(vtest::argMin(res.x, res.spectrum), 0.35, 0.01);
  EXPECT_NEAR(res.sig2, sig2, 1e-5);
  EXPECT_FALSE(vtest::logHas(vtest::readLines(dir / "~Tirelle.out"), "IFLAG"));
}

TEST(Akaike, AllIterationsUsedWritesTheNitText) {
  const auto x = vtest::armaSeries(vtest::kPeakA, vtest::kNotchB, 400, 2);
  vtest::TempDir dir;
  const auto res = vtest::run(dir, akaikeAnswer("2", "2", "20", "1", "0"), vtest::realData(x));
  EXPECT_EQ(res.outcome, voxtrel::Outcome::NoPlot);
  const auto lines = vtest::readLines(dir / "~Tirelle.out");
  const int i = vtest::lineIndex(lines, " IFGLAG, EPS and NIT =  2    1.000E-15       1");
  ASSERT_GE(i, 2);
  EXPECT_EQ(lines[i - 1], "");
  EXPECT_EQ(lines[i - 2], "");
  EXPECT_EQ(lines[i + 1], " ALL NIT iterations completed causing termination.");
}

TEST(Akaike, IllConditionedHessianKeepsTheStartAndWritesItsText) {
  const auto x = vtest::armaSeries(vtest::kPeakA, vtest::kNotchB, 400, 2);
  voxtrel::RunLog log;
  voxtrel::Run r(log);
  float a[2] = {-0.5f, 0.8f}, b[2] = {1.0f, 0.8f};
  float sig2 = 123.0f;
  int iflag = 0;
  voxtrel::akaike(r, x.data(), 400, a, b, 2, 2, 10, 1.0e30f, 1.0f, sig2, iflag, 512);
  EXPECT_EQ(iflag, -1);
  EXPECT_EQ(sig2, 123.0f);  // written only by an accepted iterate
  EXPECT_EQ(a[0], -0.5f);
  EXPECT_EQ(b[1], 0.8f);

  vtest::TempDir dir;
  auto ans = akaikeAnswer("2", "2", "20", "10", "1");
  ans.eps = "1e30";
  const auto res = vtest::run(dir, ans, vtest::realData(x));
  EXPECT_EQ(res.outcome, voxtrel::Outcome::NoPlot);
  const auto lines = vtest::readLines(dir / "~Tirelle.out");
  const int i = vtest::lineIndex(lines, " IFLAG =-1    EPS = 1.000E+30");
  ASSERT_GE(i, 2);
  EXPECT_EQ(lines[i - 1], "");
  EXPECT_EQ(lines[i + 1], " One of the di's in CHOLESKY is less than ");
  // The driver writes the continuation as a free-form record, with its leading blank.
  EXPECT_EQ(lines[i + 2], "EPS causing premature termination (Hessian is ill-conditioned.)");
}

TEST(Akaike, MaIterateOutsideTheUnitCircleStopsWithThePreviousModel) {
  // x(t) = e(t) + e(t-1): the zero lies on the unit circle, and for this seed a Gauss-Newton
  // step from b = 0 crosses it.
  const auto x = vtest::armaSeries({}, {1.0}, 200, 4);
  voxtrel::RunLog log;
  voxtrel::Run r(log);
  float b[1] = {0.0f};
  float sig2 = 0;
  int iflag = 0;
  voxtrel::akaike(r, x.data(), 200, nullptr, b, 0, 1, 30, 1e-15f, 0.001f, sig2, iflag, 256);
  EXPECT_EQ(iflag, 1);
  EXPECT_LT(std::fabs(b[0]), 1.0f);  // the last accepted iterate
  const std::string prefix = " Failed min-phase test ... i/aa(i,i)= 1 ";
  bool found = false;
  for (const auto& l : log.lines()) {
    if (l.rfind(prefix, 0) == 0) {
      found = true;
      EXPECT_GE(std::atof(l.c_str() + prefix.size()), 1.0);
    }
  }
  EXPECT_TRUE(found);
}

TEST(Akaike, NotMinimumPhaseAndNoIterationTextsFromTheDriver) {
  const auto x = vtest::armaSeries({}, {1.0}, 200, 4);
  {
    vtest::TempDir dir;
    auto ans = akaikeAnswer("0", "1", "1", "30", "0.001");
    ans.npoints = "256";
    const auto res = vtest::run(dir, ans, vtest::realData(x));
    EXPECT_EQ(res.outcome, voxtrel::Outcome::NoPlot);
    const auto lines = vtest::readLines(dir / "~Tirelle.out");
    const int i = vtest::lineIndex(lines, " IFLAG =  1    EPS = 1.000E-15");
    ASSERT_GE(i, 3);
    EXPECT_EQ(lines[i - 1], "");
    EXPECT_EQ(lines[i - 2], "");
    EXPECT_EQ(lines[i - 3].rfind(" Failed min-phase test ... i/aa(i,i)= 1 ", 0), 0u);
    EXPECT_EQ(lines[i + 1], " MA filter estimate not minimum-phase");
    EXPECT_EQ(lines[i + 2], " causing premature termination.");
  }
  {
    vtest::TempDir dir;
    auto ans = akaikeAnswer("0", "1", "1", "0", "0.001");
    ans.npoints = "256";
    const auto res = vtest::run(dir, ans, vtest::realData(x));
    EXPECT_EQ(res.outcome, voxtrel::Outcome::NoPlot);
    EXPECT_GE(vtest::lineIndex(vtest::readLines(dir / "~Tirelle.out"), " IFLAG =  3    NIT =    0"),
              0);
  }
}

TEST(Akaike, ZeroErrorVarianceEndsWithANamedCause) {
  {
    vtest::TempDir dir;
    const auto res = vtest::run(dir, akaikeAnswer("2", "1", "10", "10", "1"),
                                vtest::realData(std::vector<float>(100, 0.0f)));
    EXPECT_EQ(res.outcome, voxtrel::Outcome::NoPlot);
    EXPECT_TRUE(
        vtest::logHas(vtest::readLines(dir / "~Tirelle.out"),
                      " AKAIKE: the starting model leaves zero error variance (all-zero data?); "
                      "the percentage change is undefined."));
  }
  {
    // A previous iterate with zero error variance: the percentage change is undefined.
    voxtrel::RunLog log;
    voxtrel::Run r(log);
    const float x[3] = {0, 0, 0};
    float z[3], y[3];
    float sig2 = 0;
    int iflag = 3;
    voxtrel::chkdn(r, 0.0f, 3, x, nullptr, nullptr, 0, 0, 1.0f, sig2, iflag, z, y);
    EXPECT_EQ(iflag, voxtrel::kIflagDegenerate);
    EXPECT_TRUE(
        vtest::logHas(log.lines(), " AKAIKE: the error variance of the previous iterate is zero"));
  }
}

TEST(Akaike, MoreParametersThanDataPointsIsDegenerate) {
  voxtrel::RunLog log;
  voxtrel::Run r(log);
  const float x[4] = {1, -1, 2, 0.5f};
  float a[2] = {0, 0}, b[2] = {0, 0};
  float sig2 = -1;
  int iflag = 0;
  voxtrel::akaike(r, x, 4, a, b, 2, 2, 10, 1e-15f, 1.0f, sig2, iflag, 4);
  EXPECT_EQ(iflag, voxtrel::kIflagDegenerate);
  EXPECT_EQ(sig2, -1.0f);
  EXPECT_TRUE(
      vtest::logHas(log.lines(), " AKAIKE: nPoles + nZeros = 4 is not below the 4 data points"));
}
