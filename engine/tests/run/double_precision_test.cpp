// Runs in double precision: the spectra of the periodogram, Blackman-Tukey, Yule-Walker, Burg,
// Lockheed, Durbin, modified Yule-Walker and the covariance fits agree with double-precision
// references within 0.01 dB over the top 40 dB, with the same peaks, on well-conditioned data and
// on data with a large mean, where single precision fails; the log says so once; every method
// accepts double precision.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <random>
#include <string>
#include <vector>

#include "reference.h"
#include "reference_spectra.h"
#include "test_support.h"
#include "voxtrel/estimate.h"

using voxtrel::EstimateMethod;
using voxtrel::EstimateParams;
using voxtrel::EstimateStatus;
using voxtrel::Precision;

namespace {

constexpr int kOrder = 4;

// The engine's dB spectrum (20 log10 of the PSD over its maximum, as the run log has it)
// against the reference PSD on the same grid: within 0.01 dB where the reference is in its
// top 40 dB (or the range given), and the same local maxima there.
void expectAgrees(const voxtrel::EstimateResult& res, const std::vector<double>& refPsd,
                  double range = 40) {
  ASSERT_EQ(res.db.size(), refPsd.size());
  const double top = *std::max_element(refPsd.begin(), refPsd.end());
  std::vector<double> refDb(refPsd.size());
  for (std::size_t i = 0; i < refPsd.size(); ++i) refDb[i] = 20 * std::log10(refPsd[i] / top);
  int compared = 0;
  for (std::size_t i = 0; i < refDb.size(); ++i) {
    if (refDb[i] < -range) continue;
    ++compared;
    EXPECT_NEAR(res.db[i], refDb[i], 0.01) << "frequency " << res.freq[i];
  }
  EXPECT_GT(compared, 10);
  auto peaks = [range](const auto& y) {
    std::vector<std::size_t> at;
    for (std::size_t i = 1; i + 1 < y.size(); ++i)
      if (y[i] > -range && y[i - 1] < y[i] && y[i] > y[i + 1]) at.push_back(i);
    return at;
  };
  EXPECT_EQ(peaks(res.db), peaks(refDb));
}

std::vector<double> arReference(const std::vector<ref::dc>& a, double sig2,
                                const std::vector<float>& freq) {
  std::vector<double> p;
  for (float f : freq) p.push_back(ref::arPsd(a, sig2, f));
  return p;
}

EstimateParams modelParams(EstimateMethod m, int nPoints) {
  EstimateParams p;
  p.method = m;
  p.nPoles = kOrder;
  p.nPoints = nPoints;
  p.eps = 1e-30f;
  p.precision = Precision::Double;
  return p;
}

struct ModelCase {
  const char* name;
  EstimateMethod method;
};

const ModelCase kModelCases[] = {
    {"Yule-Walker", EstimateMethod::YuleWalker},
    {"Burg", EstimateMethod::Burg},
    {"covariance", EstimateMethod::Covariance},
    {"modified covariance", EstimateMethod::ModifiedCovariance},
};

template <class T>
std::vector<ref::dc> reference(EstimateMethod m, const std::vector<T>& x, double* sig2) {
  if (m == EstimateMethod::YuleWalker)
    return ref::yuleWalker(ref::biasedLags(x, kOrder), kOrder, sig2);
  if (m == EstimateMethod::Burg) return ref::burg(x, kOrder, sig2);
  return ref::leastSquaresAr(x, kOrder, m == EstimateMethod::ModifiedCovariance, sig2);
}

TEST(DoublePrecision, ModelSpectraAgreeWithDoubleReferences) {
  const std::vector<float> x = ref::Ar4{}.generate(512, 7u);
  const auto z = ref::complexTone(300, 0.21, 0.5, 8u);
  for (const ModelCase& c : kModelCases) {
    SCOPED_TRACE(c.name);
    const auto res = voxtrel::estimate(modelParams(c.method, 1024), x);
    ASSERT_EQ(res.status, EstimateStatus::Ok) << res.message;
    double sig2 = 0;
    const auto a = reference(c.method, x, &sig2);
    EXPECT_NEAR(res.sig2, sig2, 1e-5 * sig2);
    expectAgrees(res, arReference(a, sig2, res.freq));

    EstimateParams p = modelParams(c.method, 512);
    p.negativeFrequencies = true;
    const auto two = voxtrel::estimate(p, z);
    ASSERT_EQ(two.status, EstimateStatus::Ok) << two.message;
    const auto b = reference(c.method, z, &sig2);
    expectAgrees(two, arReference(b, sig2, two.freq));
  }
}

// The Blackman-Tukey spectrum from its definition: the biased lags weighted by the triangle
// (M - |k|) / M and summed with their conjugates at negative lags, at each frequency.
template <class T>
std::vector<double> blackmanTukeyReference(const std::vector<T>& x, int m,
                                           const std::vector<float>& freq) {
  const auto r = ref::biasedLags(x, m);
  std::vector<double> p;
  for (float f : freq) {
    double s = r[0].real();
    for (int k = 1; k <= m; ++k) {
      const double w = static_cast<double>(m - k) / m;
      const ref::dc e = std::polar(1.0, -2 * ref::kPi * static_cast<double>(f) * k);
      s += w * 2 * (r[static_cast<std::size_t>(k)] * e).real();
    }
    p.push_back(s);
  }
  return p;
}

TEST(DoublePrecision, BlackmanTukeyAgreesWithItsDefinition) {
  const std::vector<float> x = ref::Ar4{}.generate(512, 9u);
  const auto z = ref::complexTone(300, 0.21, 0.5, 8u);
  EstimateParams p;
  p.method = EstimateMethod::BlackmanTukey;
  p.mLags = 40;
  p.mode = 1;
  p.nPoints = 1024;
  p.precision = Precision::Double;
  const auto res = voxtrel::estimate(p, x);
  ASSERT_EQ(res.status, EstimateStatus::Ok) << res.message;
  expectAgrees(res, blackmanTukeyReference(x, p.mLags, res.freq));

  p.nPoints = 512;
  p.negativeFrequencies = true;
  const auto two = voxtrel::estimate(p, z);
  ASSERT_EQ(two.status, EstimateStatus::Ok) << two.message;
  expectAgrees(two, blackmanTukeyReference(z, p.mLags, two.freq));
}

// Lockheed: the Yule-Walker model of order ip over the Burg filter of order iq, with the noise
// variance the power of the data filtered by A/B on the N-point grid, (1 / (n N)) sum
// |X|^2 |A|^2 / |B|^2, each transform summed directly.
TEST(DoublePrecision, LockheedAgreesWithItsTwoFits) {
  const std::vector<float> x = ref::Ar4{}.generate(512, 13u);
  constexpr int kIp = 4, kIq = 2, kN = 1024;
  EstimateParams p = modelParams(EstimateMethod::Lockheed, kN);
  p.nZeros = kIq;
  const auto res = voxtrel::estimate(p, x);
  ASSERT_EQ(res.status, EstimateStatus::Ok) << res.message;
  const auto a = ref::yuleWalker(ref::biasedLags(x, kIp), kIp);
  double unused = 0;
  const auto b = ref::burg(x, kIq, &unused);
  auto gain = [](const std::vector<ref::dc>& c, double f) { return 1 / ref::arPsd(c, 1, f); };
  double sum = 0;
  for (int m = 0; m < kN; ++m) {
    const double f = static_cast<double>(m) / kN;
    ref::dc X = 0;
    for (std::size_t t = 0; t < x.size(); ++t)
      X += static_cast<double>(x[t]) * std::polar(1.0, -2 * ref::kPi * f * static_cast<double>(t));
    sum += std::norm(X) * gain(a, f) / gain(b, f);
  }
  const double sig2 = sum / (static_cast<double>(x.size()) * kN);
  EXPECT_NEAR(res.sig2, sig2, 1e-5 * sig2);
  std::vector<double> refPsd;
  for (float f : res.freq) refPsd.push_back(sig2 * gain(b, f) / gain(a, f));
  expectAgrees(res, refPsd);
}

// Durbin: a long Yule-Walker AR(L) model of MA(2) data, then an AR(q) fit of its coefficient
// sequence as the MA part; the noise variance is the long model's.
TEST(DoublePrecision, DurbinAgreesWithItsTwoYuleWalkerFits) {
  constexpr int kQ = 2, kL = 20;
  std::mt19937 gen(17u);
  std::normal_distribution<double> noise(0.0, 1.0);
  std::vector<double> e(514);
  for (double& v : e) v = noise(gen);
  std::vector<float> x(512);
  for (std::size_t t = 0; t < x.size(); ++t)
    x[t] = static_cast<float>(e[t + 2] - 0.9 * e[t + 1] + 0.81 * e[t]);
  EstimateParams p = modelParams(EstimateMethod::Durbin, 1024);
  p.nPoles = 0;
  p.nZeros = kQ;
  p.lPts = kL;
  const auto res = voxtrel::estimate(p, x);
  ASSERT_EQ(res.status, EstimateStatus::Ok) << res.message;
  double sig2 = 0, unused = 0;
  const auto along = ref::yuleWalker(ref::biasedLags(x, kL), kL, &sig2);
  std::vector<ref::dc> seq{1.0};
  seq.insert(seq.end(), along.begin(), along.end());
  const auto b = ref::yuleWalker(ref::biasedLags(seq, kQ), kQ, &unused);
  EXPECT_NEAR(res.sig2, sig2, 1e-5 * sig2);
  std::vector<double> refPsd;
  for (float f : res.freq) refPsd.push_back(sig2 / ref::arPsd(b, 1, f));
  expectAgrees(res, refPsd);
}

// Modified Yule-Walker on ARMA(2,1) data: the AR part from the unbiased lags beyond q, then
// Durbin on the AR-filtered data with L = n/5.
TEST(DoublePrecision, ModifiedYuleWalkerAgreesWithItsEquations) {
  constexpr int kP = 2, kQ = 1, kN = 1000;
  std::mt19937 gen(19u);
  std::normal_distribution<double> noise(0.0, 1.0);
  const double a1 = -2 * 0.9 * std::cos(2 * ref::kPi * 0.2), a2 = 0.81;
  std::vector<double> y(kN + 500, 0.0);
  double previous = 0;
  for (std::size_t t = 2; t < y.size(); ++t) {
    const double e = noise(gen);
    y[t] = e + 0.5 * previous - a1 * y[t - 1] - a2 * y[t - 2];
    previous = e;
  }
  const std::vector<float> x(y.end() - kN, y.end());
  EstimateParams p = modelParams(EstimateMethod::Mywe, 1024);
  p.nPoles = kP;
  p.nZeros = kQ;
  p.eps = 1e-12f;
  const auto res = voxtrel::estimate(p, x);
  ASSERT_EQ(res.status, EstimateStatus::Ok) << res.message;
  const vref::Vec xv(x.begin(), x.end());
  vref::Vec a, b;
  const double sig2 = vref::modifiedYuleWalker(xv, kP, kQ, kP, a, b);
  EXPECT_NEAR(res.sig2, sig2, 1e-5 * sig2);
  std::vector<double> refPsd;
  for (float f : res.freq) refPsd.push_back(ref::arPsd(a, sig2, f) / ref::arPsd(b, 1, f));
  expectAgrees(res, refPsd);
}

// The least-squares AR fit of real data (forward rows, and backward ones when asked) from
// normal equations formed and solved in long double: on data with a large mean the normal
// equations are too ill-conditioned for a double-precision reference to be exact to the
// digits compared. sig2 the mean squared residual.
std::vector<ref::dc> longDoubleAr(const std::vector<float>& xs, int p, bool backward,
                                  double* sig2) {
  using L = long double;
  const int n = static_cast<int>(xs.size());
  auto x = [&](int k) { return static_cast<L>(xs[static_cast<std::size_t>(k - 1)]); };
  std::vector<std::vector<L>> rows;  // u(1..p), then the target
  for (int k = p + 1; k <= n; ++k) {
    std::vector<L> u;
    for (int j = 1; j <= p; ++j) u.push_back(x(k - j));
    u.push_back(x(k));
    rows.push_back(u);
  }
  for (int k = 1; backward && k <= n - p; ++k) {
    std::vector<L> u;
    for (int j = 1; j <= p; ++j) u.push_back(x(k + j));
    u.push_back(x(k));
    rows.push_back(u);
  }
  const auto up = static_cast<std::size_t>(p);
  std::vector<std::vector<L>> A(up, std::vector<L>(up + 1, 0));  // [A | b]
  for (const auto& u : rows)
    for (std::size_t i = 0; i < up; ++i) {
      for (std::size_t j = 0; j < up; ++j) A[i][j] += u[i] * u[j];
      A[i][up] -= u[i] * u[up];
    }
  for (std::size_t c = 0; c < up; ++c)  // elimination; the matrix is positive definite
    for (std::size_t r = c + 1; r < up; ++r) {
      const L f = A[r][c] / A[c][c];
      for (std::size_t k = c; k <= up; ++k) A[r][k] -= f * A[c][k];
    }
  std::vector<L> a(up);
  for (std::size_t i = up; i-- > 0;) {
    L s = A[i][up];
    for (std::size_t k = i + 1; k < up; ++k) s -= A[i][k] * a[k];
    a[i] = s / A[i][i];
  }
  L e = 0;
  for (const auto& u : rows) {
    L res = u[up];
    for (std::size_t j = 0; j < up; ++j) res += a[j] * u[j];
    e += res * res;
  }
  *sig2 = static_cast<double>(e / static_cast<L>(rows.size()));
  return std::vector<ref::dc>(a.begin(), a.end());
}

// A mean of 1e5 beside a signal of unit size: single precision loses the prediction error
// (its noise variance comes out negative, or its spectrum is far off); double precision gives
// the reference's spectrum. The mean's line at zero frequency fills the top of the dB scale,
// so the PSD itself is compared, point by point, within 0.01 dB at every frequency.
TEST(DoublePrecision, LargeMeanCovarianceFitsAgreeWhereSinglePrecisionFails) {
  std::vector<float> x = ref::Ar4{}.generate(512, 11u);
  for (float& v : x) v += 1.0e5f;
  for (const ModelCase& c : kModelCases) {
    if (c.method == EstimateMethod::Burg || c.method == EstimateMethod::YuleWalker) continue;
    SCOPED_TRACE(c.name);
    EstimateParams p = modelParams(c.method, 1024);
    const auto wide = voxtrel::estimate(p, x);
    ASSERT_EQ(wide.status, EstimateStatus::Ok) << wide.message;
    double sig2 = 0;
    const auto a = longDoubleAr(x, kOrder, c.method == EstimateMethod::ModifiedCovariance, &sig2);
    EXPECT_NEAR(wide.sig2, sig2, 1e-4 * sig2);
    const auto refPsd = arReference(a, sig2, wide.freq);
    for (std::size_t i = 0; i < refPsd.size(); ++i)
      EXPECT_NEAR(10 * std::log10(wide.psd[i] / refPsd[i]), 0.0, 0.01) << wide.freq[i];

    p.precision = Precision::Single;
    const auto single = voxtrel::estimate(p, x);
    bool off = single.status != EstimateStatus::Ok || single.sig2 <= 0;
    for (std::size_t i = 0; !off && i < single.psd.size(); ++i)
      off = std::fabs(10 * std::log10(single.psd[i] / refPsd[i])) > 0.5;
    EXPECT_TRUE(off) << "single precision was expected to fail on this case";
  }
}

// A mean of 1e6: the covariance fit's noise variance stays positive and within 1% of the
// reference in double precision, while single precision fails (a pivot or a noise variance
// that rounding made non-positive).
TEST(DoublePrecision, MeanOfAMillionKeepsThePredictionError) {
  std::vector<float> x = ref::Ar4{}.generate(512, 11u);
  for (float& v : x) v += 1.0e6f;
  EstimateParams p = modelParams(EstimateMethod::Covariance, 1024);
  const auto wide = voxtrel::estimate(p, x);
  ASSERT_EQ(wide.status, EstimateStatus::Ok) << wide.message;
  double sig2 = 0;
  longDoubleAr(x, kOrder, false, &sig2);
  EXPECT_NEAR(wide.sig2, sig2, 0.01 * sig2);
  p.precision = Precision::Single;
  const auto single = voxtrel::estimate(p, x);
  EXPECT_EQ(single.status, EstimateStatus::EstimatorFailed);
  // A non-positive Cholesky pivot or a negative noise variance, by the rounding of the sums.
  EXPECT_TRUE(single.log.find("Cholesky decomposition") != std::string::npos ||
              single.log.find("is negative") != std::string::npos);
}

// Samples handed over in double precision keep what a float cannot hold: beside a mean of 1e6
// (a float's step there is 1/16) a tone of amplitude 0.01 survives only in the double samples.
// Their periodogram is the direct transform's, with the tone's line far above a floor of
// rounding; rounded to floats first, the samples are the mean alone and the line is lost.
TEST(DoublePrecision, SamplesGivenInDoubleAreUsedAsTheyAre) {
  const int n = 512, bin = 100;
  std::vector<double> x;
  for (int t = 0; t < n; ++t) x.push_back(1.0e6 + 0.01 * std::cos(2 * ref::kPi * bin * t / n));
  const std::vector<float> rounded(x.begin(), x.end());
  EstimateParams p;
  p.method = EstimateMethod::Periodogram;
  p.nPoints = n;
  p.precision = Precision::Double;
  const auto wide = voxtrel::estimate(p, std::span<const double>(x));
  const auto fromFloats = voxtrel::estimate(p, rounded);
  ASSERT_EQ(wide.status, EstimateStatus::Ok) << wide.message;
  ASSERT_EQ(fromFloats.status, EstimateStatus::Ok) << fromFloats.message;
  long double re = 0, im = 0;  // the tone's bin of the direct transform
  for (int t = 0; t < n; ++t) {
    const long double phase = 2 * static_cast<long double>(ref::kPi) * bin * t / n;
    re += (static_cast<long double>(x[t]) - 1.0e6L) * std::cos(phase);
    im -= (static_cast<long double>(x[t]) - 1.0e6L) * std::sin(phase);
  }
  const double line = static_cast<double>((re * re + im * im) / n);
  EXPECT_NEAR(10 * std::log10(wide.psd[bin] / line), 0.0, 0.01);
  auto floor = [&](const std::vector<float>& psd) {
    float top = 0;
    for (int k = 5; k < n / 2 - 5; ++k)
      if (std::abs(k - bin) > 2) top = std::max(top, psd[static_cast<std::size_t>(k)]);
    return top;
  };
  EXPECT_LT(floor(wide.psd), 1e-6 * line);
  EXPECT_LT(fromFloats.psd[bin], 1e-6 * line);
  // In single precision the double samples are the floats they round to.
  p.precision = Precision::Single;
  const auto single = voxtrel::estimate(p, std::span<const double>(x));
  EXPECT_EQ(single.psd, voxtrel::estimate(p, rounded).psd);
}

TEST(DoublePrecision, PeriodogramAgreesWithDirectTransform) {
  const auto z = ref::complexTone(200, 0.15, 2.0, 5u);
  EstimateParams p;
  p.method = EstimateMethod::Periodogram;
  p.nPoints = 256;
  p.negativeFrequencies = true;
  p.precision = Precision::Double;
  const auto res = voxtrel::estimate(p, z);
  ASSERT_EQ(res.status, EstimateStatus::Ok) << res.message;
  std::vector<double> refPsd;
  for (float f : res.freq) {
    ref::dc s = 0;
    for (std::size_t t = 0; t < z.size(); ++t)
      s += ref::dc(z[t]) * std::polar(1.0, -2 * ref::kPi * f * static_cast<double>(t));
    refPsd.push_back(std::norm(s) / static_cast<double>(z.size()));
  }
  expectAgrees(res, refPsd);
}

std::vector<std::string> lines(const std::string& log) {
  std::vector<std::string> out;
  std::size_t at = 0;
  for (std::size_t end; (end = log.find("\r\n", at)) != std::string::npos; at = end + 2)
    out.push_back(log.substr(at, end - at));
  return out;
}

TEST(DoublePrecision, LogSaysSoOnceAfterTheEchoAndPrintsTheModelWithItsDigits) {
  const std::vector<float> x = ref::Ar4{}.generate(256, 3u);
  EstimateParams p = modelParams(EstimateMethod::Burg, 256);
  p.wantLog = true;
  const auto wide = lines(voxtrel::estimate(p, x).log);
  p.precision = Precision::Single;
  const auto single = lines(voxtrel::estimate(p, x).log);

  const std::string said = " Arithmetic: double precision";
  EXPECT_EQ(std::count(wide.begin(), wide.end(), said), 1);
  EXPECT_EQ(std::count(single.begin(), single.end(), said), 0);
  const auto at = std::find(wide.begin(), wide.end(), said) - wide.begin();
  ASSERT_GE(at, 2);
  EXPECT_EQ(wide[static_cast<std::size_t>(at - 1)], "");
  EXPECT_EQ(wide[static_cast<std::size_t>(at - 2)], std::string(72, '-'));
  // The lines before it are the single-precision log's.
  EXPECT_TRUE(std::equal(wide.begin(), wide.begin() + at, single.begin()));

  auto sig2Line = [](const std::vector<std::string>& log) {
    for (const auto& l : log)
      if (l.rfind(" Sig2 = ", 0) == 0) return l;
    return std::string();
  };
  // " Sig2 = " then E12.5 in single precision, E21.14 in double.
  EXPECT_EQ(sig2Line(single).substr(8, 12).find('E'), 8u);
  EXPECT_EQ(sig2Line(wide).substr(8, 21).find('E'), 17u);
}

// Every method accepts double precision: a small valid case of each gives a spectrum.
TEST(DoublePrecision, EveryMethodAcceptsDoublePrecision) {
  const std::vector<float> x = ref::Ar4{}.generate(256, 3u);
  struct Case {
    EstimateMethod method;
    int nPoles, nZeros;
  };
  const Case cases[] = {
      {EstimateMethod::YuleWalker, 4, 0},
      {EstimateMethod::Burg, 4, 0},
      {EstimateMethod::Rmle, 4, 0},
      {EstimateMethod::Covariance, 4, 0},
      {EstimateMethod::ModifiedCovariance, 4, 0},
      {EstimateMethod::Mywe, 4, 2},
      {EstimateMethod::Lsmywe, 4, 2},
      {EstimateMethod::Akaike, 4, 2},
      {EstimateMethod::MayneFiroozan, 4, 2},
      {EstimateMethod::Durbin, 0, 2},
      {EstimateMethod::Periodogram, 0, 0},
      {EstimateMethod::BlackmanTukey, 0, 0},
      {EstimateMethod::MinimumVariance, 4, 0},
      {EstimateMethod::Lockheed, 4, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.method));
    EstimateParams p = modelParams(c.method, 256);
    p.nPoles = c.nPoles;
    p.nZeros = c.nZeros;
    p.eps = 1e-12f;
    p.mEqs = 10;
    p.lPts = c.method == EstimateMethod::MinimumVariance ? 64 : 20;
    p.mLags = 20;
    p.mode = 1;
    p.nit = 10;
    p.per = 1;
    const auto res = voxtrel::estimate(p, x);
    EXPECT_EQ(res.status, EstimateStatus::Ok) << res.message;
    EXPECT_FALSE(res.db.empty());
  }
}

}  // namespace
