// The array entry: the same floats as the file-driven run for every method, out-of-range
// parameters named, estimator failures reported, and calls from two threads at once.
#include "voxtrel/estimate.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <thread>

#include "test_support.h"

using voxtrel::EstimateMethod;
using voxtrel::EstimateParams;
using voxtrel::EstimateStatus;
using voxtrel::Outcome;

namespace {

// Two sinusoids in a little deterministic noise: a spectrum every method can fit.
std::vector<float> twoTones(int n) {
  std::vector<float> y(static_cast<std::size_t>(n));
  unsigned s = 12345;
  for (int i = 0; i < n; ++i) {
    s = s * 1103515245u + 12345u;
    const double noise = (static_cast<double>((s >> 8) & 0xFFFF) / 65536.0 - 0.5) * 0.2;
    y[static_cast<std::size_t>(i)] = static_cast<float>(
        std::cos(2 * M_PI * 0.1 * i) + 0.5 * std::cos(2 * M_PI * 0.27 * i) + noise);
  }
  return y;
}

std::vector<std::complex<float>> complexTone(int n) {
  std::vector<std::complex<float>> z(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) {
    const double ph = 2 * M_PI * 0.15 * i;
    z[static_cast<std::size_t>(i)] = {
        static_cast<float>(std::cos(ph) + 0.3 * std::sin(7.1 * i)),
        static_cast<float>(std::sin(ph) + 0.3 * std::cos(3.3 * i * i))};
  }
  return z;
}

struct MethodCase {
  const char* answerName;
  EstimateMethod method;
  int poles, zeros, meqs, lpts, mlag, nit;
  float eps, per;
  const char* window;
};

// One row per method, with parameters every one of them accepts on 128 samples.
const MethodCase kCases[] = {
    {"Auto-correlation", EstimateMethod::YuleWalker, 8, 0, 0, 0, 0, 0, 0, 0, "None"},
    {"Burg", EstimateMethod::Burg, 8, 0, 0, 0, 0, 0, 0, 0, "None"},
    {"RMLE", EstimateMethod::Rmle, 6, 0, 0, 0, 0, 0, 0, 0, "None"},
    {"Covariance", EstimateMethod::Covariance, 8, 0, 0, 0, 0, 0, 1e-6f, 0, "None"},
    {"Modified Covariance", EstimateMethod::ModifiedCovariance, 8, 0, 0, 0, 0, 0, 1e-6f, 0, "None"},
    {"MYWE", EstimateMethod::Mywe, 4, 2, 0, 0, 0, 0, 1e-6f, 0, "None"},
    {"LSMYWE", EstimateMethod::Lsmywe, 4, 2, 100, 0, 0, 0, 1e-6f, 0, "None"},
    {"Akaike", EstimateMethod::Akaike, 4, 1, 100, 0, 0, 99, 1e-6f, 1.0f, "None"},
    {"MayneFir", EstimateMethod::MayneFiroozan, 4, 2, 0, 20, 0, 0, 1e-6f, 0, "None"},
    {"Durbin", EstimateMethod::Durbin, 0, 3, 0, 25, 0, 0, 0, 0, "None"},
    {"Periodogram", EstimateMethod::Periodogram, 0, 0, 0, 0, 0, 0, 0, 0, "Hanning"},
    {"Blackman-Tukey", EstimateMethod::BlackmanTukey, 0, 0, 0, 0, 20, 0, 0, 0, "None"},
    {"MVSE", EstimateMethod::MinimumVariance, 8, 0, 0, 64, 0, 0, 1e-6f, 0, "None"},
    {"Lockheed (Auto./Burg)", EstimateMethod::Lockheed, 6, 2, 0, 0, 0, 0, 0, 0, "None"},
};

vtest::Answer answerFor(const MethodCase& c) {
  vtest::Answer a;
  a.method = c.answerName;
  a.npoints = "256";
  a.npoles = std::to_string(c.poles);
  a.nzeros = std::to_string(c.zeros);
  a.eps = std::to_string(c.eps);
  a.mode = "0";
  a.meqs = std::to_string(c.meqs);
  a.lpts = std::to_string(c.lpts);
  a.mlag = std::to_string(c.mlag);
  a.nit = std::to_string(c.nit);
  a.per = std::to_string(c.per);
  a.window = c.window;
  return a;
}

EstimateParams paramsFor(const MethodCase& c) {
  EstimateParams p;
  p.method = c.method;
  p.nPoints = 256;
  p.nPoles = c.poles;
  p.nZeros = c.zeros;
  p.eps = std::stof(std::to_string(c.eps));  // the value the answer file carries
  p.mEqs = c.meqs;
  p.lPts = c.lpts;
  p.mLags = c.mlag;
  p.nit = c.nit;
  p.per = std::stof(std::to_string(c.per));
  p.window = c.window;
  return p;
}

}  // namespace

TEST(Estimate, EveryMethodGivesTheFileDrivenRunsFloats) {
  const auto y = twoTones(128);
  int compared = 0;
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.answerName);
    vtest::TempDir dir;
    const auto file = vtest::run(dir, answerFor(c), vtest::realData(y));
    const auto arr = voxtrel::estimate(paramsFor(c), std::span<const float>(y));
    if (file.outcome == Outcome::NoPlot) {
      EXPECT_EQ(arr.status, EstimateStatus::EstimatorFailed);
      continue;
    }
    ASSERT_EQ(file.outcome, Outcome::Spectrum) << file.stopText;
    ASSERT_EQ(arr.status, EstimateStatus::Ok) << arr.message;
    EXPECT_EQ(arr.samplesUsed, file.status);
    EXPECT_EQ(arr.freq, file.x);
    EXPECT_EQ(arr.db, file.spectrum);
    EXPECT_EQ(arr.sig2, file.sig2);
    EXPECT_EQ(arr.ar, file.ar);
    EXPECT_EQ(arr.ma, file.ma);
    ASSERT_EQ(arr.psd.size(), arr.db.size());
    ++compared;
  }
  // Every method but Akaike's fits these data; its MA estimate is not minimum-phase here, and
  // both entries say so.
  EXPECT_EQ(compared, 13);
}

TEST(Estimate, ComplexSamplesGiveTheFileDrivenRunsFloats) {
  const auto z = complexTone(100);
  int compared = 0;
  for (const auto& c : kCases) {
    if (c.method == EstimateMethod::Rmle || c.method == EstimateMethod::Akaike) continue;
    SCOPED_TRACE(c.answerName);
    vtest::TempDir dir;
    auto a = answerFor(c);
    a.type = "Complex";
    auto p = paramsFor(c);
    if (p.mEqs > 0) {
      a.meqs = "90";
      p.mEqs = 90;
    }
    const auto file = vtest::run(dir, a, vtest::complexData(z));
    const auto arr = voxtrel::estimate(p, std::span<const std::complex<float>>(z));
    if (file.outcome != Outcome::Spectrum) {
      EXPECT_NE(arr.status, EstimateStatus::Ok);
      continue;
    }
    ASSERT_EQ(arr.status, EstimateStatus::Ok) << arr.message;
    EXPECT_EQ(arr.freq, file.x);
    EXPECT_EQ(arr.db, file.spectrum);
    ++compared;
  }
  EXPECT_EQ(compared, 12);
}

TEST(Estimate, ModelAndPeaksOfAKnownAr2Process) {
  // x[n] = 1.5 x[n-1] - 0.9 x[n-2] + e[n]: a(1) = -1.5, a(2) = 0.9 in the engine's sign.
  std::vector<float> x(4096);
  unsigned s = 7;
  double x1 = 0, x2 = 0;
  for (auto& v : x) {
    s = s * 1103515245u + 12345u;
    const double e = static_cast<double>((s >> 8) & 0xFFFF) / 65536.0 - 0.5;
    const double xn = 1.5 * x1 - 0.9 * x2 + e;
    x2 = x1;
    x1 = xn;
    v = static_cast<float>(xn);
  }
  EstimateParams p;
  p.method = EstimateMethod::Burg;
  p.nPoles = 2;
  p.wantLog = true;
  const auto r = voxtrel::estimate(p, std::span<const float>(x));
  ASSERT_EQ(r.status, EstimateStatus::Ok) << r.message;
  ASSERT_EQ(r.ar.size(), 2u);
  EXPECT_NEAR(r.ar[0].real(), -1.5, 0.03);
  EXPECT_NEAR(r.ar[1].real(), 0.9, 0.03);
  EXPECT_NEAR(r.sig2, 1.0 / 12.0, 0.01);  // variance of uniform noise on [-0.5, 0.5)
  // The one peak is at the resonance: cos(w) = 1.5 (1 + 0.9) / (4 * 0.9).
  ASSERT_EQ(r.peaks.size(), 1u);
  EXPECT_NEAR(r.peaks[0].freq, std::acos(1.5 * 1.9 / 3.6) / (2 * M_PI), 2.0 / 4096);
  EXPECT_FLOAT_EQ(r.peaks[0].db, 0.0f);
  EXPECT_NE(r.log.find(" ----------- Finished PSD Calculations ! -----------"), std::string::npos);
}

TEST(Estimate, OutOfRangeParametersAreNamedWithTheirRange) {
  const auto y = twoTones(64);
  struct Bad {
    const char* what;
    void (*set)(EstimateParams&);
    const char* expected;
  };
  const Bad cases[] = {
      {"poles", [](EstimateParams& p) { p.nPoles = 211; },
       "nPoles = 211 is out of range: 0 <= nPoles <= 64"},
      {"negative poles", [](EstimateParams& p) { p.nPoles = -1; }, "nPoles = -1"},
      {"nPoints", [](EstimateParams& p) { p.nPoints = 1 << 25; },
       "nPoints = 33554432 is out of range"},
      {"interval", [](EstimateParams& p) { p.sampleInterval = 0; }, "sample interval"},
      {"m_eqs",
       [](EstimateParams& p) {
         p.method = EstimateMethod::Lsmywe;
         p.nPoles = 4;
         p.nZeros = 2;
         p.mEqs = 65;
       },
       "M_Eqs = 65 is out of range: 6 <= M_Eqs <= 64"},
      {"lag",
       [](EstimateParams& p) {
         p.method = EstimateMethod::BlackmanTukey;
         p.mLags = 32;
       },
       "M lag = 32 is out of range"},
      {"mvse L",
       [](EstimateParams& p) {
         p.method = EstimateMethod::MinimumVariance;
         p.lPts = 1;
       },
       "L = 1 is out of range: 2 <= L <= 64"},
      {"durbin L",
       [](EstimateParams& p) {
         p.method = EstimateMethod::Durbin;
         p.nZeros = 5;
         p.lPts = 4;
       },
       "L = 4 is out of range"},
      {"window",
       [](EstimateParams& p) {
         p.method = EstimateMethod::Periodogram;
         p.window = "Kaiser";
       },
       "window = \"Kaiser\""},
      {"zeros",
       [](EstimateParams& p) {
         p.method = EstimateMethod::Mywe;
         p.nZeros = 201;
       },
       "nZeros = 201"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EstimateParams p;
    p.nPoles = 4;
    c.set(p);
    const auto r = voxtrel::estimate(p, std::span<const float>(y));
    EXPECT_EQ(r.status, EstimateStatus::BadParameter);
    EXPECT_NE(r.message.find(c.expected), std::string::npos) << r.message;
    EXPECT_TRUE(r.db.empty());
  }
  // Real-only methods refuse complex data, and one sample is too few.
  EstimateParams p;
  p.method = EstimateMethod::Rmle;
  const std::vector<std::complex<float>> z(16);
  EXPECT_EQ(voxtrel::estimate(p, std::span<const std::complex<float>>(z)).status,
            EstimateStatus::BadParameter);
  EXPECT_EQ(voxtrel::estimate(EstimateParams{}, std::span<const float>(y.data(), 1)).status,
            EstimateStatus::BadParameter);
}

TEST(Estimate, EstimatorFailureIsReportedWithItsLog) {
  // All-zero data have no spectrum to show in dB.
  const std::vector<float> zeros(64, 0.0f);
  EstimateParams p;
  p.method = EstimateMethod::Periodogram;
  p.wantLog = true;
  const auto r = voxtrel::estimate(p, std::span<const float>(zeros));
  EXPECT_EQ(r.status, EstimateStatus::EstimatorFailed);
  EXPECT_NE(r.log.find("The PSD is zero at every frequency"), std::string::npos);
  EXPECT_TRUE(r.db.empty());
  // Not asked for, the log still comes with a failure, the same text; a success leaves it out.
  p.wantLog = false;
  EXPECT_EQ(voxtrel::estimate(p, std::span<const float>(zeros)).log, r.log);
  EXPECT_EQ(voxtrel::estimate(p, std::span<const float>(twoTones(64))).log, "");
}

TEST(Estimate, TwoThreadsAtOnceGetTheirOwnAnswers) {
  const auto y = twoTones(512);
  const auto z = complexTone(512);
  EstimateParams pb;
  pb.nPoles = 10;
  EstimateParams pc;
  pc.method = EstimateMethod::Covariance;
  pc.nPoles = 6;
  pc.eps = 1e-6f;
  const auto wantB = voxtrel::estimate(pb, std::span<const float>(y));
  const auto wantC = voxtrel::estimate(pc, std::span<const std::complex<float>>(z));
  ASSERT_EQ(wantB.status, EstimateStatus::Ok);
  ASSERT_EQ(wantC.status, EstimateStatus::Ok);
  bool sameB = true, sameC = true;
  std::thread tb([&] {
    for (int i = 0; i < 20; ++i)
      sameB = sameB && voxtrel::estimate(pb, std::span<const float>(y)).db == wantB.db;
  });
  std::thread tc([&] {
    for (int i = 0; i < 20; ++i)
      sameC =
          sameC && voxtrel::estimate(pc, std::span<const std::complex<float>>(z)).db == wantC.db;
  });
  tb.join();
  tc.join();
  EXPECT_TRUE(sameB);
  EXPECT_TRUE(sameC);
}

TEST(Estimate, BothEntriesAcceptAndRefuseTheSameEdgesOfEachRange) {
  // 64 samples, nPoints 64: rows at the last value in range and the first one out.
  struct Edge {
    MethodCase c;
    bool inRange;
  };
  const Edge edges[] = {
      {{"Blackman-Tukey", EstimateMethod::BlackmanTukey, 0, 0, 0, 0, 31, 0, 0, 0, "None"}, true},
      {{"Blackman-Tukey", EstimateMethod::BlackmanTukey, 0, 0, 0, 0, 32, 0, 0, 0, "None"}, false},
      {{"Blackman-Tukey", EstimateMethod::BlackmanTukey, 0, 0, 0, 0, 0, 0, 0, 0, "None"}, false},
      {{"MVSE", EstimateMethod::MinimumVariance, 4, 0, 0, 64, 0, 0, 1e-6f, 0, "None"}, true},
      {{"MVSE", EstimateMethod::MinimumVariance, 4, 0, 0, 65, 0, 0, 1e-6f, 0, "None"}, false},
      {{"MVSE", EstimateMethod::MinimumVariance, 4, 0, 0, 1, 0, 0, 1e-6f, 0, "None"}, false},
      {{"Durbin", EstimateMethod::Durbin, 0, 3, 0, 3, 0, 0, 0, 0, "None"}, true},
      {{"Durbin", EstimateMethod::Durbin, 0, 3, 0, 2, 0, 0, 0, 0, "None"}, false},
      {{"Durbin", EstimateMethod::Durbin, 0, 3, 0, 65, 0, 0, 0, 0, "None"}, false},
      {{"LSMYWE", EstimateMethod::Lsmywe, 4, 2, 6, 0, 0, 0, 1e-6f, 0, "None"}, true},
      {{"LSMYWE", EstimateMethod::Lsmywe, 4, 2, 5, 0, 0, 0, 1e-6f, 0, "None"}, false},
      {{"LSMYWE", EstimateMethod::Lsmywe, 4, 2, 64, 0, 0, 0, 1e-6f, 0, "None"}, true},
      {{"LSMYWE", EstimateMethod::Lsmywe, 4, 2, 65, 0, 0, 0, 1e-6f, 0, "None"}, false},
  };
  const auto y = twoTones(64);
  for (const auto& e : edges) {
    SCOPED_TRACE(std::string(e.c.answerName) + (e.inRange ? " in range" : " out of range"));
    vtest::TempDir dir;
    auto a = answerFor(e.c);
    a.npoints = "64";
    auto p = paramsFor(e.c);
    p.nPoints = 64;
    const auto file = vtest::run(dir, a, vtest::realData(y));
    const auto arr = voxtrel::estimate(p, std::span<const float>(y));
    const bool fileRefused = file.stopText.find("parameter out of range") != std::string::npos;
    EXPECT_EQ(fileRefused, !e.inRange) << file.stopText;
    EXPECT_EQ(arr.status == EstimateStatus::BadParameter, !e.inRange) << arr.message;
  }
}
