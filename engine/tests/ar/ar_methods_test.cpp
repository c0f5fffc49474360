// The autoregressive and nonparametric methods end to end: answer file and data file in, dB
// spectrum and run log out.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "arma_synth.h"
#include "reference.h"
#include "test_support.h"

namespace {

using vtest::Answer;

Answer answerFor(const std::string& method, const std::string& type = "Real") {
  Answer a;
  a.method = method;
  a.type = type;
  a.npoints = "1024";
  a.npoles = "4";
  a.eps = "1.0E-15";
  if (method == "Blackman-Tukey") {
    a.npoles = "-999";
    a.mode = "1";
    a.mlag = "40";
  } else if (method == "MVSE") {
    a.npoles = "24";
    a.mode = "0";
    a.lpts = "512";
  } else if (method == "Lockheed") {
    a.nzeros = "2";
  } else if (method != "Covariance" && method != "Modified") {
    a.eps = "-999";
  }
  return a;
}

// The peaks within top dB of the maximum.
std::vector<float> strongPeaks(const voxtrel::RunResult& res, float top) {
  std::vector<float> out;
  const auto& y = res.spectrum;
  for (std::size_t i = 1; i + 1 < y.size(); ++i)
    if (y[i - 1] < y[i] && y[i] > y[i + 1] && y[i] > -top) out.push_back(res.x[i]);
  return out;
}

bool logHas(const vtest::TempDir& dir, const std::string& line) {
  const auto lines = vtest::readLines(dir / "~Tirelle.out");
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

}  // namespace

TEST(ArMethods, CloseResonancesAreFoundAtTheirFrequencies) {
  const ref::Ar4 model;  // resonances at 0.20 and 0.24 cycles per sample
  const auto y = model.generate(1000, 2024);
  for (const char* method : {"Auto-Correlation", "Burg", "Covariance", "Modified", "Lockheed",
                             "MVSE", "Blackman-Tukey"}) {
    vtest::TempDir dir;
    const auto res = vtest::run(dir, answerFor(method), vtest::realData(y));
    ASSERT_EQ(res.outcome, voxtrel::Outcome::Spectrum) << method << ": " << res.stopText;
    // The Blackman-Tukey window smears the two lines into one lobe; the others resolve them.
    const bool resolves = std::string(method) != "Blackman-Tukey";
    const auto peaks = strongPeaks(res, resolves ? 15.0f : 3.0f);
    if (resolves) {
      ASSERT_EQ(peaks.size(), 2u) << method;
      EXPECT_NEAR(peaks[0], model.f1, 0.01) << method;
      EXPECT_NEAR(peaks[1], model.f2, 0.01) << method;
    } else {
      ASSERT_FALSE(peaks.empty());
      EXPECT_GT(peaks.front(), model.f1 - 0.02) << method;
      EXPECT_LT(peaks.back(), model.f2 + 0.02) << method;
    }
    EXPECT_EQ(res.nFreqPts, std::string(method) == "MVSE" ? 256 : 512) << method;
  }
}

TEST(ArMethods, ModelSpectraMatchTheDoublePrecisionFit) {
  // Covariance-type fits against the least-squares reference, Yule-Walker against the
  // Toeplitz solve: within 0.1 dB over the top 40 dB of the spectrum.
  const auto y = ref::Ar4{}.generate(600, 77);
  for (const char* method : {"Auto-Correlation", "Covariance", "Modified"}) {
    vtest::TempDir dir;
    const auto res = vtest::run(dir, answerFor(method), vtest::realData(y));
    ASSERT_EQ(res.outcome, voxtrel::Outcome::Spectrum) << method;
    double sig2 = 0;
    std::vector<ref::dc> a;
    if (std::string(method) == "Auto-Correlation") {
      a = ref::yuleWalker(ref::biasedLags(y, 4), 4, &sig2);
    } else {
      a = ref::leastSquaresAr(y, 4, std::string(method) == "Modified", &sig2);
    }
    std::vector<double> want;
    for (float f : res.x) want.push_back(ref::arPsd(a, sig2, f));
    const double top = *std::max_element(want.begin(), want.end());
    for (std::size_t i = 0; i < want.size(); ++i) {
      const double db = 20 * std::log10(want[i] / top);  // the engine's dB: 20 log10
      if (db > -40) {
        EXPECT_NEAR(res.spectrum[i], db, 0.1) << method << " at " << res.x[i];
      }
    }
    EXPECT_NEAR(res.sig2, sig2, 1e-3 * sig2) << method;
  }
}

TEST(ArMethods, ComplexDataGiveSpectraThatAreNotSymmetric) {
  const auto z = ref::complexTone(400, 0.15, 0.5, 99);
  for (const char* method : {"Auto-Correlation", "Burg", "Covariance", "Modified", "Lockheed",
                             "MVSE", "Blackman-Tukey"}) {
    vtest::TempDir dir;
    Answer a = answerFor(method, "Complex");
    a.neg = "Yes";
    const auto res = vtest::run(dir, a, vtest::complexData(z));
    ASSERT_EQ(res.outcome, voxtrel::Outcome::Spectrum) << method << ": " << res.stopText;
    // The spectrum is not mirror-symmetric about zero frequency (the middle point).
    const auto zero = static_cast<std::size_t>((res.nFreqPts + 1) / 2);
    ASSERT_NEAR(res.x[zero], 0.0f, 1e-6) << method;
    float asymmetry = 0;
    for (std::size_t i = 1; i < zero && zero + i < res.spectrum.size(); ++i)
      asymmetry = std::max(asymmetry, std::fabs(res.spectrum[zero + i] - res.spectrum[zero - i]));
    EXPECT_GT(asymmetry, 10.0f) << method;
    // The tone is the maximum, except for Lockheed, whose numerator is a prediction-error
    // filter of the same data and so partly cancels it.
    if (std::string(method) == "Lockheed") continue;
    const auto peak =
        std::max_element(res.spectrum.begin(), res.spectrum.end()) - res.spectrum.begin();
    EXPECT_NEAR(res.x[peak], 0.15, 0.01) << method;
  }
}

TEST(ArMethods, DegenerateDataEndInNoPlotWithTheCauseInTheLog) {
  struct Case {
    const char* method;
    std::vector<float> data;
    std::string npoles, line;
  };
  const std::vector<float> zeros(64, 0.0f);
  std::vector<float> alternating(64);
  for (int t = 0; t < 64; ++t) alternating[t] = t % 2 == 0 ? 1.0f : -1.0f;
  const std::vector<float> few{1, -2, 0.5f, 3, -1, 2};
  const std::vector<Case> cases{
      {"Auto-Correlation", zeros, "4",
       " Levinson recursion stopped at order 1: the lag-0 power is zero (all-zero data?)."},
      {"Burg", zeros, "4",
       " Burg recursion stopped at order 1: the forward and backward errors are zero."},
      {"Burg", alternating, "3",
       " Burg recursion stopped at order 1: the prediction-error power is zero (the data are "
       "perfectly predictable)."},
      {"Burg", few, "6",
       " Burg: the order nPoles = 6 is not below the number of samples npts = 6; lower nPoles or "
       "use more data."},
      {"Covariance", zeros, "4",
       " Covariance method: the data are zero over the fit (all-zero data?)."},
      {"Covariance", few, "4",
       " Covariance method: nPoles = 4 needs at least 8 samples, npts = 6; lower nPoles or use "
       "more data."},
      {"Modified", few, "6",
       " Modified covariance method: nPoles = 6 needs at least 9 samples, npts = 6; lower nPoles "
       "or use more data."},
      {"MVSE", few, "6",
       " MVSE: nPoles = 6 needs at least 9 samples, npts = 6; lower nPoles or use more data."},
      {"MVSE", few, "0", " MVSE: the filter length nPoles = 0 must lie between 1 and 210."},
      {"MVSE", zeros, "4",
       " MVSE: the data are zero over the correlation matrix (all-zero data?)."},
      {"Blackman-Tukey", zeros, "-999",
       " The PSD is zero at every frequency (all-zero data?): no spectrum can be plotted."},
      {"Lockheed", zeros, "4",
       " Levinson recursion stopped at order 1: the lag-0 power is zero (all-zero data?)."},
  };
  for (const Case& c : cases) {
    vtest::TempDir dir;
    Answer a = answerFor(c.method);
    a.npoles = c.npoles;
    if (std::string(c.method) == "MVSE") a.lpts = "64";
    if (std::string(c.method) == "Blackman-Tukey") a.mlag = "10";
    const auto res = vtest::run(dir, a, vtest::realData(c.data));
    EXPECT_EQ(res.outcome, voxtrel::Outcome::NoPlot) << c.method << " " << c.npoles;
    EXPECT_EQ(res.zeroFill, voxtrel::kNoPlot);
    EXPECT_TRUE(logHas(dir, c.line)) << c.method << ": " << c.line;
    EXPECT_TRUE(logHas(dir, " ----------- No Plot ! -----------")) << c.method;
  }
}

TEST(ArMethods, OrderZeroAutocorrelationIsFlatAtThePower) {
  vtest::TempDir dir;
  Answer a = answerFor("Auto-Correlation");
  a.npoles = "0";
  const auto res = vtest::run(dir, a, vtest::realData({1, 2, 3, -1}));
  ASSERT_EQ(res.outcome, voxtrel::Outcome::Spectrum);
  EXPECT_NEAR(res.sig2, 15.0f / 4, 1e-6);
  for (float v : res.spectrum) EXPECT_EQ(v, 0.0f);
}

// An AR(2) process on a DC offset of 1e6: in single precision the fit's prediction error is
// lost beside the offset's huge sums and the noise variance comes out negative. That is the
// estimator's failure, with the cause and the way on in the log, not a spectrum.
TEST(ArMethods, NegativeNoiseVarianceIsAFailureWithItsCause) {
  struct Case {
    const char* method;
    double radius, frequency, sigma;
    const char* sig2;  // the variance as the log's free-form line writes it
  } cases[] = {
      {"Covariance", 0.9, 0.05, 10.0, "-2642081.2"},
      {"Burg", 0.8, 0.2, 1.0, "-238348.81"},
      {"Modified Covariance", 0.9, 0.2, 10.0, "-792624.4"},
  };
  for (const Case& c : cases) {
    auto y = vtest::armaSeries(vtest::resonance(c.radius, c.frequency), {}, 256, 1, c.sigma);
    for (float& v : y) v += 1.0e6f;
    vtest::TempDir dir;
    Answer a = answerFor(c.method);
    a.eps = "1e-15";
    a.npoints = "256";
    a.npoles = "2";
    const auto res = vtest::run(dir, a, vtest::realData(y));
    EXPECT_EQ(res.outcome, voxtrel::Outcome::NoPlot) << c.method;
    EXPECT_LT(res.sig2, 0.0f) << c.method;
    EXPECT_TRUE(logHas(dir, std::string(" The noise variance Sig2 = ") + c.sig2 +
                                " is negative: single-precision rounding swamped the prediction "
                                "error (a large mean in the data?)."))
        << c.method;
    EXPECT_TRUE(
        logHas(dir, " Remove the mean from the data, or lower the model orders, and run again."));
    EXPECT_TRUE(logHas(dir, " ----------- No Plot ! -----------")) << c.method;
  }
}
