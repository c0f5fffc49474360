// Durbin's MA estimator: recovery of a known MA model, the full long-model store, and the
// parameter cases that leave nothing to estimate.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "arma_synth.h"
#include "estimators.h"
#include "log_lines.h"
#include "test_support.h"

using voxtrel::cplx;

TEST(Durbin, RecoversAnMa1WithItsNoiseVariance) {
  // x(t) = e(t) + 0.5 e(t-1), var e = 1: b(1) = 0.5, sig2 = 1.
  for (unsigned seed : {1u, 2u, 3u}) {
    auto z = vtest::asComplex(vtest::armaSeries({}, {0.5}, 1000, seed));
    z.resize(1024);
    voxtrel::RunLog log;
    voxtrel::Run r(log);
    cplx b[1];
    float sig2 = 0;
    voxtrel::durbin(r, z.data(), 1000, 1, 20, b, sig2, 1024);
    ASSERT_EQ(r.st.iflag, 0);
    EXPECT_NEAR(b[0].real(), 0.5, 0.06) << "seed " << seed;
    EXPECT_NEAR(b[0].imag(), 0.0, 1e-6);
    EXPECT_NEAR(sig2, 1.0, 0.1) << "seed " << seed;
  }
}

TEST(Durbin, LongModelUsesTheFull411Orders) {
  // L = 411 is the largest order the reader accepts; the long model must hold all of it.
  const auto x = vtest::armaSeries({}, {-0.6, 0.3}, 2100, 4);
  vtest::TempDir dir;
  vtest::Answer ans;
  ans.method = "Durbin";
  ans.npoints = "4096";
  ans.nzeros = "2";
  ans.lpts = "411";
  const auto res = vtest::run(dir, ans, vtest::realData(x));
  ASSERT_EQ(res.outcome, voxtrel::Outcome::Spectrum) << res.stopText;
  // An AR(L) fit to n points leaves a prediction-error power near (1 - L/n) var e.
  EXPECT_NEAR(res.sig2, 1.0 - 411.0 / 2100.0, 0.1);
  // B(z) = 1 - 0.6 z^-1 + 0.3 z^-2: |B|^2 is 0.49 at f = 0 and 3.61 at f = 0.5; the plot is
  // 20 log10 of the PSD relative to its maximum.
  EXPECT_NEAR(res.spectrum.front() - res.spectrum.back(), 20.0 * std::log10(0.49 / 3.61), 1.5);
}

TEST(Durbin, NoZerosOrALongOrderNotBelowTheDataEndWithoutAPlot) {
  const auto x = vtest::armaSeries({}, {0.5}, 100, 9);
  {
    vtest::TempDir dir;
    vtest::Answer ans;
    ans.method = "Durbin";
    ans.npoints = "128";
    ans.nzeros = "0";
    ans.lpts = "20";
    const auto res = vtest::run(dir, ans, vtest::realData(x));
    EXPECT_EQ(res.outcome, voxtrel::Outcome::NoPlot);
    EXPECT_TRUE(
        vtest::logHas(vtest::readLines(dir / "~Tirelle.out"),
                      " DURBIN: nZeros = 0 leaves no MA coefficient to estimate; enter nZeros of 1 "
                      "or more."));
  }
  {
    voxtrel::RunLog log;
    voxtrel::Run r(log);
    auto z = vtest::asComplex(x);
    cplx b[1];
    float sig2 = -1;
    voxtrel::durbin(r, z.data(), 100, 1, 100, b, sig2, 128);
    EXPECT_EQ(r.st.iflag, voxtrel::kIflagDegenerate);
    EXPECT_EQ(sig2, -1.0f);
    EXPECT_TRUE(vtest::logHas(log.lines(),
                              " DURBIN: the long AR order L_pts = 100 is not below the 100 "
                              "data points"));
  }
  {
    vtest::TempDir dir;
    vtest::Answer ans;
    ans.method = "Durbin";
    ans.npoints = "128";
    ans.nzeros = "1";
    ans.lpts = "20";
    const auto res = vtest::run(dir, ans, vtest::realData(std::vector<float>(100, 0.0f)));
    EXPECT_EQ(res.outcome, voxtrel::Outcome::NoPlot);
    EXPECT_TRUE(vtest::logHas(vtest::readLines(dir / "~Tirelle.out"), "lag-0 power is zero"));
  }
}

TEST(Durbin, MaStageOfTheModifiedYuleWalkerMethodsAcceptsNoZeros) {
  // With q = 0 the stage only measures the noise variance of the (whitened) data: for white
  // noise of variance 4 the AR(n/5) error power is near 4 (1 - 1/5).
  auto z = vtest::asComplex(vtest::armaSeries({}, {}, 500, 5, 2.0));
  voxtrel::RunLog log;
  voxtrel::Run r(log);
  float sig2 = 0;
  voxtrel::durbinMaStage(r, z.data(), 500, 0, nullptr, sig2, 512);
  EXPECT_EQ(r.st.iflag, 0);
  EXPECT_NEAR(sig2, 3.2, 0.4);
}

TEST(Durbin, ComplexMaKeepsItsAsymmetricNotch) {
  const auto z = vtest::complexArmaSeries({}, vtest::kComplexB, 1000, 24);
  vtest::TempDir dir;
  vtest::Answer ans;
  ans.method = "Durbin";
  ans.type = "Complex";
  ans.neg = "Yes";
  ans.npoints = "1024";
  ans.nzeros = "1";
  ans.lpts = "40";
  const auto res = vtest::run(dir, ans, vtest::complexData(z));
  ASSERT_EQ(res.outcome, voxtrel::Outcome::Spectrum) << res.stopText;
  EXPECT_NEAR(vtest::argMin(res.x, res.spectrum), 0.25, 0.01);
  EXPECT_NEAR(vtest::argMax(res.x, res.spectrum), -0.25, 0.01);
  EXPECT_NEAR(res.sig2, 1.0, 0.12);
}

// The reader's prompt for L ends no line of its own: the record written next continues it,
// the echo block's blank record when L is in range, the range-error block's first blank
// record when it is not.
TEST(Durbin, PromptForLIsContinuedByTheNextRecord) {
  struct Case {
    const char* npoints;
    const char* lpts;
    std::string expected;
  } cases[] = {
      {"512", "100",
       "     Kay recommends L = npts / 5 as a start.\r\n\r\n"
       "Maximum value is 411  ... Enter L:  \r\n"
       " --------------------------------------------- 12/07/26   09:30:05\r\n"},
      {"64", "100",
       "Maximum value is  64  ... Enter L: \r\n\r\n  " + std::string(70, '-') + "\r\n"},
  };
  for (const auto& c : cases) {
    vtest::TempDir dir;
    vtest::Answer ans;
    ans.method = "Durbin";
    ans.npoints = c.npoints;
    ans.nzeros = "2";
    ans.lpts = c.lpts;
    vtest::run(dir, ans, vtest::realData(vtest::armaSeries({}, {0.5}, 500, 1)));
    const std::string log = vtest::readFile(dir / "~Tirelle.out");
    EXPECT_NE(log.find(c.expected), std::string::npos) << "nPoints " << c.npoints;
    EXPECT_EQ(log.find("Enter L: \r\n \r\n"), std::string::npos);
  }
}
