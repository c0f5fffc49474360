// The least-squares modified Yule-Walker method in double precision: on ill-conditioned
// equations (closely spaced tones of unequal power, high orders) its spectrum agrees with a
// plain solution of the same equations within 0.01 dB over the top 40 dB, with the same peaks,
// where single precision is measurably off; and on a well-conditioned ARMA process. Akaike's
// maximum-likelihood iteration in double precision reaches the fixed point of the Gauss-Newton
// iteration written plainly.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <random>
#include <string>
#include <vector>

#include "reference.h"
#include "reference_spectra.h"
#include "voxtrel/estimate.h"

using voxtrel::EstimateMethod;
using voxtrel::EstimateParams;
using voxtrel::EstimateStatus;
using voxtrel::Precision;

namespace {

using vref::cd;

struct Arma {
  vref::Vec a, b;
  double sig2 = 0;
  double psd(double f) const {
    return sig2 * std::norm(vref::polyAt(b, f)) / std::norm(vref::polyAt(a, f));
  }
};

// The method from its definition: the M - q modified Yule-Walker equations
// sum_j a(j) R(q+i-j) = -R(q+i) on the unbiased lags, formed plainly and solved in the
// least-squares sense through their normal equations by elimination; then Durbin's MA fit of
// the data filtered by A(z) with a long model of order n/5, at most Max_Order (411).
template <class T>
Arma lsmyweReference(const std::vector<T>& xs, int p, int q, int mEqs) {
  Arma m;
  m.sig2 = vref::modifiedYuleWalker(vref::Vec(xs.begin(), xs.end()), p, q, mEqs - q, m.a, m.b, 411);
  return m;
}

// The largest difference, over the reference's top 40 dB, between the run's dB spectrum and
// the reference's, and whether the two have the same local maxima there.
struct Agreement {
  double worstDb = 0;
  bool samePeaks = false;
};

Agreement compare(const voxtrel::EstimateResult& res, const Arma& m) {
  std::vector<double> refDb;
  for (float f : res.freq) refDb.push_back(m.psd(f));
  const double top = *std::max_element(refDb.begin(), refDb.end());
  for (double& v : refDb) v = 20 * std::log10(v / top);  // the run log's scale
  Agreement out;
  for (std::size_t i = 0; i < refDb.size(); ++i)
    if (refDb[i] >= -40) out.worstDb = std::max(out.worstDb, std::fabs(res.db[i] - refDb[i]));
  auto peaks = [](const auto& y) {
    std::vector<std::size_t> at;
    for (std::size_t i = 1; i + 1 < y.size(); ++i)
      if (y[i] > -40 && y[i - 1] < y[i] && y[i] > y[i + 1]) at.push_back(i);
    return at;
  };
  out.samePeaks = peaks(res.db) == peaks(refDb);
  return out;
}

// A short complex record of the classic kind: two complex tones 0.01 cycles apart with unequal
// powers, a weaker tone, and noise coloured into a band of negative frequencies.
std::vector<std::complex<float>> closeTonesRecord(int n, unsigned seed) {
  std::mt19937 gen(seed);
  std::normal_distribution<double> noise(0.0, 1.0);
  const ref::dc pole = std::polar(0.85, 2 * ref::kPi * -0.3);
  ref::dc coloured = 0;
  std::vector<std::complex<float>> z(static_cast<std::size_t>(n));
  for (int t = 0; t < n; ++t) {
    const ref::dc w(noise(gen), noise(gen));
    coloured = 0.01 * w + pole * coloured;
    const ref::dc v = std::polar(1.0, 2 * ref::kPi * 0.20 * t + 0.3) +
                      std::polar(0.5, 2 * ref::kPi * 0.21 * t + 1.1) +
                      std::polar(0.1, 2 * ref::kPi * -0.15 * t) + coloured;
    z[static_cast<std::size_t>(t)] = std::complex<float>(v);
  }
  return z;
}

// A long real record: three sinusoids, two of them close, in faint white noise.
std::vector<float> longSinusoidsRecord(int n, unsigned seed, double noiseSd = 0.1) {
  std::mt19937 gen(seed);
  std::normal_distribution<double> noise(0.0, 1.0);
  std::vector<float> x(static_cast<std::size_t>(n));
  for (int t = 0; t < n; ++t)
    x[static_cast<std::size_t>(t)] = static_cast<float>(
        std::cos(2 * ref::kPi * 0.100 * t) + 0.3 * std::cos(2 * ref::kPi * 0.104 * t + 0.5) +
        0.05 * std::cos(2 * ref::kPi * 0.33 * t + 1.0) + noiseSd * noise(gen));
  return x;
}

EstimateParams lsmyweParams(int p, int q, int mEqs, int nPoints, Precision precision) {
  EstimateParams e;
  e.method = EstimateMethod::Lsmywe;
  e.nPoles = p;
  e.nZeros = q;
  e.mEqs = mEqs;
  e.nPoints = nPoints;
  e.eps = 1e-30f;
  e.precision = precision;
  return e;
}

// The two records: in double precision the spectrum is the plain solution's; in single
// precision it is measurably off (0.67 dB on the short record, 2.6 dB on the long one, where the
// equations' rounding is amplified by their conditioning).
TEST(DoublePrecisionLs, IllConditionedEquationsAgreeWhereSinglePrecisionIsOff) {
  const auto shortRecord = closeTonesRecord(64, 23u);
  const auto longRecord = longSinusoidsRecord(4096, 29u);
  struct Case {
    const char* name;
    int p, q, mEqs, nPoints;
    bool twoSided;
  };
  for (const Case& c : {Case{"64 complex samples", 10, 4, 25, 256, true},
                        Case{"4096 real samples", 30, 10, 120, 4096, false}}) {
    SCOPED_TRACE(c.name);
    const bool isShort = c.nPoints == 256;
    EstimateParams e = lsmyweParams(c.p, c.q, c.mEqs, c.nPoints, Precision::Double);
    e.negativeFrequencies = c.twoSided;
    auto run = [&] {
      return isShort ? voxtrel::estimate(e, shortRecord) : voxtrel::estimate(e, longRecord);
    };
    const auto wide = run();
    ASSERT_EQ(wide.status, EstimateStatus::Ok) << wide.message;
    const Arma m = isShort ? lsmyweReference(shortRecord, c.p, c.q, c.mEqs)
                           : lsmyweReference(longRecord, c.p, c.q, c.mEqs);
    const Agreement good = compare(wide, m);
    EXPECT_LT(good.worstDb, 0.01);
    EXPECT_TRUE(good.samePeaks);
    EXPECT_NEAR(wide.sig2, m.sig2, 1e-5 * m.sig2);

    e.precision = Precision::Single;
    const auto single = run();
    ASSERT_EQ(single.status, EstimateStatus::Ok) << single.message;
    EXPECT_GT(compare(single, m).worstDb, 0.3);
  }
}

// Ten times fainter noise: single precision meets a non-positive Cholesky pivot in equations
// that are well posed; double precision solves them and agrees with the plain solution.
TEST(DoublePrecisionLs, PivotFailureOfSinglePrecisionDoesNotHappenInDouble) {
  const auto x = longSinusoidsRecord(4096, 29u, 0.01);
  EstimateParams e = lsmyweParams(30, 10, 120, 4096, Precision::Single);
  e.wantLog = true;
  const auto single = voxtrel::estimate(e, x);
  EXPECT_EQ(single.status, EstimateStatus::EstimatorFailed);
  EXPECT_NE(single.log.find(" One of the di's in Cholesky decomposition is less than EPS"),
            std::string::npos);
  e.precision = Precision::Double;
  const auto wide = voxtrel::estimate(e, x);
  ASSERT_EQ(wide.status, EstimateStatus::Ok) << wide.message;
  const Agreement good = compare(wide, lsmyweReference(x, 30, 10, 120));
  EXPECT_LT(good.worstDb, 0.01);
  EXPECT_TRUE(good.samePeaks);
}

// A well-conditioned ARMA(2,2) process, real and as complex two-sided data: double precision
// agrees with the reference as single precision nearly does.
TEST(DoublePrecisionLs, WellConditionedArmaAgrees) {
  std::mt19937 gen(31u);
  std::normal_distribution<double> noise(0.0, 1.0);
  const double a1 = -2 * 0.9 * std::cos(2 * ref::kPi * 0.2), a2 = 0.81;
  std::vector<double> y(1500, 0.0), e(1500, 0.0);
  for (std::size_t t = 2; t < y.size(); ++t) {
    e[t] = noise(gen);
    y[t] = e[t] + 0.6 * e[t - 1] + 0.25 * e[t - 2] - a1 * y[t - 1] - a2 * y[t - 2];
  }
  const std::vector<float> x(y.end() - 1000, y.end());
  std::vector<std::complex<float>> z;
  for (std::size_t t = 0; t + 1 < x.size(); t += 2) z.emplace_back(x[t], x[t + 1]);

  EstimateParams p = lsmyweParams(2, 2, 12, 1024, Precision::Double);
  const auto res = voxtrel::estimate(p, x);
  ASSERT_EQ(res.status, EstimateStatus::Ok) << res.message;
  const Agreement real = compare(res, lsmyweReference(x, 2, 2, 12));
  EXPECT_LT(real.worstDb, 0.01);
  EXPECT_TRUE(real.samePeaks);

  p.negativeFrequencies = true;
  p.nPoints = 512;
  const auto two = voxtrel::estimate(p, z);
  ASSERT_EQ(two.status, EstimateStatus::Ok) << two.message;
  const Agreement complex = compare(two, lsmyweReference(z, 2, 2, 12));
  EXPECT_LT(complex.worstDb, 0.01);
  EXPECT_TRUE(complex.samePeaks);
}

// Akaike's iteration written plainly in double precision on real data: with y = x/B, z = A x/B^2
// and the divisor-n correlations, the Gauss-Newton step solves H theta_new = H theta - g, where
//   g(k) = 2 ry(k) + 2 sum_l a(l) ry(|k-l|),  g(p+k) = -2 rz(k) - 2 sum_l b(l) rz(|k-l|),
// and H holds 2 ry, 2 rz and the cross terms -2 ryz / -2 rzy. Iterated from the least-squares
// start until the step no longer changes the error variance; sig2 that variance.
Arma akaikeReference(const std::vector<float>& xs, const Arma& start, int p, int q) {
  const auto n = static_cast<int>(xs.size());
  std::vector<double> x(xs.begin(), xs.end()), a, b;
  for (const cd& v : start.a) a.push_back(v.real());
  for (const cd& v : start.b) b.push_back(v.real());
  auto poles = [n](const std::vector<double>& in, const std::vector<double>& c) {
    std::vector<double> out(in.size());
    for (int t = 0; t < n; ++t) {
      double s = in[t];
      for (int j = 1; j <= static_cast<int>(c.size()) && j <= t; ++j) s -= c[j - 1] * out[t - j];
      out[t] = s;
    }
    return out;
  };
  auto zeros = [n](const std::vector<double>& in, const std::vector<double>& c) {
    std::vector<double> out(in.size());
    for (int t = 0; t < n; ++t) {
      double s = in[t];
      for (int j = 1; j <= static_cast<int>(c.size()) && j <= t; ++j) s += c[j - 1] * in[t - j];
      out[t] = s;
    }
    return out;
  };
  auto corr = [n](const std::vector<double>& u, const std::vector<double>& v, int lag) {
    double s = 0;
    for (int j = 0; j + lag < n; ++j) s += u[j] * v[j + lag];
    return s / n;
  };
  auto variance = [&] {
    const auto e = zeros(poles(x, b), a);
    return corr(e, e, 0);
  };
  double v = variance();
  for (int it = 0; it < 200; ++it) {
    const auto y = poles(x, b), z = zeros(poles(y, b), a);
    const int np = p + q;
    std::vector<vref::Vec> h(np, vref::Vec(np));
    vref::Vec g(np), theta(np);
    auto H = [&](int i, int j) -> cd& { return h[i - 1][j - 1]; };
    for (int k = 1; k <= p; ++k) {
      double s = 2 * corr(y, y, k);
      for (int l = 1; l <= p; ++l) s += 2 * a[l - 1] * corr(y, y, std::abs(k - l));
      g[k - 1] = s;
      theta[k - 1] = a[k - 1];
      for (int j = 1; j <= p; ++j) H(k, j) = 2 * corr(y, y, std::abs(k - j));
      for (int m = 1; m <= q; ++m)
        H(k, p + m) = H(p + m, k) = k >= m ? -2 * corr(y, z, k - m) : -2 * corr(z, y, m - k);
    }
    for (int k = 1; k <= q; ++k) {
      double s = -2 * corr(z, z, k);
      for (int l = 1; l <= q; ++l) s -= 2 * b[l - 1] * corr(z, z, std::abs(k - l));
      g[p + k - 1] = s;
      theta[p + k - 1] = b[k - 1];
      for (int j = 1; j <= q; ++j) H(p + k, p + j) = 2 * corr(z, z, std::abs(k - j));
    }
    vref::Vec rhs(np);
    for (int i = 0; i < np; ++i) {
      rhs[i] = -g[i];
      for (int j = 0; j < np; ++j) rhs[i] += h[i][j] * theta[j];
    }
    const vref::Vec next = vref::solve(h, rhs);
    for (int k = 0; k < p; ++k) a[k] = next[k].real();
    for (int k = 0; k < q; ++k) b[k] = next[p + k].real();
    const double previous = v;
    v = variance();
    if (std::fabs(v - previous) <= 1e-14 * previous) break;
  }
  Arma m;
  m.a.assign(a.begin(), a.end());
  m.b.assign(b.begin(), b.end());
  m.sig2 = v;
  return m;
}

// ARMA(2,2) data with a resonance and a notch: Akaike's iteration in double precision ends at
// the plain iteration's fixed point, with its error variance.
TEST(DoublePrecisionLs, AkaikeReachesTheGaussNewtonFixedPoint) {
  constexpr int kP = 2, kQ = 2, kMEqs = 20;
  std::mt19937 gen(37u);
  std::normal_distribution<double> noise(0.0, 1.0);
  const double a1 = -2 * 0.9 * std::cos(2 * ref::kPi * 0.2), a2 = 0.81;
  const double b1 = -2 * 0.8 * std::cos(2 * ref::kPi * 0.35), b2 = 0.64;
  std::vector<double> y(1500, 0.0), e(1500, 0.0);
  for (std::size_t t = 2; t < y.size(); ++t) {
    e[t] = noise(gen);
    y[t] = e[t] + b1 * e[t - 1] + b2 * e[t - 2] - a1 * y[t - 1] - a2 * y[t - 2];
  }
  const std::vector<float> x(y.end() - 1000, y.end());

  EstimateParams p = lsmyweParams(kP, kQ, kMEqs, 1024, Precision::Double);
  p.method = EstimateMethod::Akaike;
  p.nit = 100;
  p.per = 1e-7f;
  const auto res = voxtrel::estimate(p, x);
  ASSERT_EQ(res.status, EstimateStatus::Ok) << res.message;
  const Arma m = akaikeReference(x, lsmyweReference(x, kP, kQ, kMEqs), kP, kQ);
  EXPECT_NEAR(res.sig2, m.sig2, 1e-6 * m.sig2);
  for (int k = 0; k < kP; ++k)
    EXPECT_NEAR(res.ar[static_cast<std::size_t>(k)].real(), m.a[static_cast<std::size_t>(k)].real(),
                1e-5);
  for (int k = 0; k < kQ; ++k)
    EXPECT_NEAR(res.ma[static_cast<std::size_t>(k)].real(), m.b[static_cast<std::size_t>(k)].real(),
                1e-5);
  const Agreement agree = compare(res, m);
  EXPECT_LT(agree.worstDb, 0.01);
  EXPECT_TRUE(agree.samePeaks);
  // The model recovered is the process's: the resonance and the notch in place.
  EXPECT_NEAR(res.ar[0].real(), a1, 0.05);
  EXPECT_NEAR(res.ma[0].real(), b1, 0.1);
}

// The stops write the same text in double precision as in single: the solver's pivot test for
// LSMYWE (and for Akaike's start), all NIT iterations used and no iteration run for Akaike.
TEST(DoublePrecisionLs, StopsWriteTheirTextInBothPrecisions) {
  const std::vector<float> x = ref::Ar4{}.generate(512, 41u);
  struct Case {
    EstimateMethod method;
    float eps;
    int nit;
    const char* line;
  };
  for (const Case& c :
       {Case{EstimateMethod::Lsmywe, 1e30f, 0,
             " One of the di's in Cholesky decomposition is less than EPS"},
        Case{EstimateMethod::Akaike, 1e-12f, 1,
             " ALL NIT iterations completed causing termination."},
        Case{EstimateMethod::Akaike, 1e-12f, 0,
             " No iteration was run (NIT must be at least 1): no model to plot."}}) {
    SCOPED_TRACE(c.line);
    for (Precision precision : {Precision::Single, Precision::Double}) {
      EstimateParams p = lsmyweParams(4, 2, 20, 512, precision);
      p.method = c.method;
      p.eps = c.eps;
      p.nit = c.nit;
      p.per = 0;
      p.wantLog = true;
      const auto res = voxtrel::estimate(p, x);
      EXPECT_EQ(res.status, EstimateStatus::EstimatorFailed);
      EXPECT_NE(res.log.find(c.line), std::string::npos) << res.log;
    }
  }
}

}  // namespace
