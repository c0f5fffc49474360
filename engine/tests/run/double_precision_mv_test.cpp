// Runs in double precision of Mayne-Firoozan and the minimum-variance method: their spectra
// agree with double-precision references written here from the methods' definitions, within
// 0.01 dB over the top 40 dB and with the same peaks, on real and complex data, and on data
// with a large mean where single precision stops; their early stops write the single-precision
// blocks; the double correlation matrix's lanes give its definition; the minimum-phase test
// gives the same verdicts in both precisions.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <vector>

#include "arma_synth.h"
#include "estimators.h"
#include "reference.h"
#include "voxtrel/estimate.h"

using ref::dc;
using voxtrel::EstimateMethod;
using voxtrel::EstimateParams;
using voxtrel::EstimateStatus;
using voxtrel::Precision;

namespace {

using Vec = std::vector<dc>;

// The engine's dB spectrum (20 log10 of the PSD over its maximum, as the run log has it)
// against the reference PSD on the same grid: within 0.01 dB where
// the reference is in its top 40 dB, and the same local maxima there.
void expectAgrees(const voxtrel::EstimateResult& res, const std::vector<double>& refPsd) {
  ASSERT_EQ(res.db.size(), refPsd.size());
  const double top = *std::max_element(refPsd.begin(), refPsd.end());
  std::vector<double> refDb;
  for (double v : refPsd) refDb.push_back(20 * std::log10(v / top));
  int compared = 0;
  for (std::size_t i = 0; i < refDb.size(); ++i) {
    if (refDb[i] < -40) continue;
    ++compared;
    EXPECT_NEAR(res.db[i], refDb[i], 0.01) << "frequency " << res.freq[i];
  }
  EXPECT_GT(compared, 10);
  auto peaks = [](const auto& y) {
    std::vector<std::size_t> at;
    for (std::size_t i = 1; i + 1 < y.size(); ++i)
      if (y[i] > -40 && y[i - 1] < y[i] && y[i] > y[i + 1]) at.push_back(i);
    return at;
  };
  EXPECT_EQ(peaks(res.db), peaks(refDb));
}

template <class T>
Vec widen(const std::vector<T>& x) {
  Vec out;
  for (const T& v : x) out.push_back(dc(v));
  return out;
}

// y(t) = x(t) + sum_j c(j) x(t-j) (zeros) or x(t) - sum_j c(j) y(t-j) (poles), zero start.
Vec filter(const Vec& x, const Vec& c, bool poles) {
  Vec y(x.size());
  for (std::size_t t = 0; t < x.size(); ++t) {
    dc s = x[t];
    for (std::size_t j = 1; j <= c.size() && j <= t; ++j)
      s += poles ? -c[j - 1] * y[t - j] : c[j - 1] * x[t - j];
    y[t] = s;
  }
  return y;
}

// Least squares of w(t) on y(t-1..t-p), u(t-1..t-q) by the normal equations; a = -c(1..p),
// b = c(p+1..p+q).
void regress(const Vec& y, const Vec& u, const Vec& w, int p, int q, Vec& a, Vec& b) {
  const auto n = w.size(), m = static_cast<std::size_t>(p + q);
  auto phi = [&](std::size_t k, std::size_t t) {  // regressor k (0-based) at time t
    const Vec& s = k < static_cast<std::size_t>(p) ? y : u;
    const std::size_t lag = k < static_cast<std::size_t>(p) ? k + 1 : k + 1 - p;
    return t >= lag ? s[t - lag] : dc(0);
  };
  ref::Mat H(m, Vec(m, 0));
  Vec rhs(m, 0);
  for (std::size_t t = 0; t < n; ++t)
    for (std::size_t i = 0; i < m; ++i) {
      for (std::size_t j = 0; j < m; ++j) H[i][j] += std::conj(phi(i, t)) * phi(j, t);
      rhs[i] += std::conj(phi(i, t)) * w[t];
    }
  const Vec c = ref::solve(H, rhs);
  a.assign(c.begin(), c.begin() + p);
  for (dc& v : a) v = -v;
  b.assign(c.begin() + p, c.end());
}

// The three stages: a Yule-Walker AR(L) model whose prediction errors u stand for the noise;
// the regression of x on its past and u's; the regression of y - z on y, z with y = x/B,
// z = u/B. sig2 the power of x filtered by A/B on the N-point grid,
// (1 / (n N)) sum_k |X(k)|^2 |A(k)|^2 / |B(k)|^2, each transform summed directly.
double mayneFiroozan(const Vec& x, int p, int q, int L, int N, Vec& a, Vec& b) {
  const Vec along = ref::yuleWalker(ref::biasedLags(x, L), L);
  const Vec u = filter(x, along, false);
  regress(x, u, x, p, q, a, b);
  const Vec y = filter(x, b, true), z = filter(u, b, true);
  Vec yz(x.size());
  for (std::size_t t = 0; t < x.size(); ++t) yz[t] = y[t] - z[t];
  regress(y, z, yz, p, q, a, b);
  Vec root(static_cast<std::size_t>(N));
  for (int k = 0; k < N; ++k)
    root[static_cast<std::size_t>(k)] = std::polar(1.0, -2 * ref::kPi * k / N);
  auto dft = [&](const Vec& s, int k) {
    dc sum = 0;
    for (std::size_t t = 0; t < s.size(); ++t)
      sum += s[t] * root[(static_cast<std::size_t>(k) * t) % root.size()];
    return sum;
  };
  Vec A{1.0}, B{1.0};
  A.insert(A.end(), a.begin(), a.end());
  B.insert(B.end(), b.begin(), b.end());
  double sum = 0;
  for (int k = 0; k < N; ++k)
    sum += std::norm(dft(x, k)) * std::norm(dft(A, k)) / std::norm(dft(B, k));
  return sum / (static_cast<double>(x.size()) * N);
}

struct MayneFiroozanCase {
  const char* name;
  std::vector<std::complex<float>> data;
  int p, q, L, nPoints;
  bool twoSided;
};

TEST(DoublePrecisionMv, MayneFiroozanAgreesWithItsThreeStages) {
  const MayneFiroozanCase cases[] = {
      {"real ARMA(2,2)",
       vtest::asComplex(vtest::armaSeries(vtest::kPeakA, vtest::kNotchB, 1000, 5u)), 2, 2, 100,
       1024, false},
      {"complex ARMA(1,1)", vtest::complexArmaSeries(vtest::kComplexA, vtest::kComplexB, 500, 6u),
       1, 1, 60, 512, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EstimateParams p;
    p.method = EstimateMethod::MayneFiroozan;
    p.nPoles = c.p;
    p.nZeros = c.q;
    p.lPts = c.L;
    p.nPoints = c.nPoints;
    p.eps = 1e-15f;
    p.negativeFrequencies = c.twoSided;
    p.precision = Precision::Double;
    const auto res = voxtrel::estimate(p, c.data);
    ASSERT_EQ(res.status, EstimateStatus::Ok) << res.message;
    ASSERT_EQ(res.samplesUsed, static_cast<int>(c.data.size()));
    Vec a, b;
    const double sig2 = mayneFiroozan(widen(c.data), c.p, c.q, c.L, c.nPoints, a, b);
    EXPECT_NEAR(res.sig2, sig2, 1e-6 * sig2);
    std::vector<double> refPsd;
    for (float f : res.freq) refPsd.push_back(ref::arPsd(a, sig2, f) / ref::arPsd(b, 1, f));
    expectAgrees(res, refPsd);
  }
}

// Capon's spectrum num / (e^H R^-1 e), e(i) = exp(j 2 pi f (i-1)), with R the
// forward-backward correlation matrix of order ip, R(i,j) = E[conj(x(t-i)) x(t-j)] estimated
// from both directions, built from its definition and inverted directly, at each frequency of
// the grid. (A tone exp(j w t) makes R(i,j) = exp(j w (i-j)): the peak is at +w.)
std::vector<double> capon(const Vec& x, int ip, int mode, const std::vector<float>& freq) {
  const int n = static_cast<int>(x.size());
  auto at = [&](int t) { return x[static_cast<std::size_t>(t - 1)]; };
  ref::Mat R(static_cast<std::size_t>(ip), Vec(static_cast<std::size_t>(ip)));
  for (int i = 1; i <= ip; ++i)
    for (int j = 1; j <= ip; ++j) {
      dc s = 0;
      for (int t = ip + 1; t <= n; ++t)
        s += std::conj(at(t - i)) * at(t - j) + at(t + i - ip) * std::conj(at(t + j - ip));
      R[static_cast<std::size_t>(i - 1)][static_cast<std::size_t>(j - 1)] = s / (2.0 * (n - ip));
    }
  const ref::Mat inv = ref::inverse(R);
  std::vector<double> out;
  for (float f : freq) {
    dc s = 0;
    for (int i = 0; i < ip; ++i)
      for (int j = 0; j < ip; ++j)
        s += std::polar(1.0, 2 * ref::kPi * f * (j - i)) *
             inv[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)];
    out.push_back((mode == 0 ? 1.0 : ip) / s.real());
  }
  return out;
}

TEST(DoublePrecisionMv, MinimumVarianceAgreesWithCaponsFormula) {
  struct Case {
    const char* name;
    std::vector<std::complex<float>> data;
    int ip, mode;
    bool twoSided;
  };
  const Case cases[] = {
      {"real AR(4)", vtest::asComplex(ref::Ar4{}.generate(256, 21u)), 20, 0, false},
      {"complex tone", ref::complexTone(250, 0.21, 0.5, 22u), 12, 1, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EstimateParams p;
    p.method = EstimateMethod::MinimumVariance;
    p.nPoles = c.ip;
    p.mode = c.mode;
    p.nPoints = 256;
    p.lPts = 256;
    p.eps = 1e-30f;
    p.negativeFrequencies = c.twoSided;
    p.precision = Precision::Double;
    const auto res = voxtrel::estimate(p, c.data);
    ASSERT_EQ(res.status, EstimateStatus::Ok) << res.message;
    ASSERT_EQ(res.samplesUsed, static_cast<int>(c.data.size()));
    const auto want = capon(widen(c.data), c.ip, c.mode, res.freq);
    expectAgrees(res, want);
    if (c.twoSided) {
      EXPECT_NEAR(vtest::argMax(res.freq, res.psd), 0.21, 1.0 / 256);
    }
    for (std::size_t i = 0; i < want.size(); ++i)
      EXPECT_NEAR(res.psd[i], want[i], 1e-6 * want[i]) << res.freq[i];
  }
}

// A large mean beside a signal of unit size: in single precision the correlation matrix of
// the minimum-variance method (mean 1e3) and the normal equations of Mayne-Firoozan (mean 1e4)
// lose their small eigenvalues and the Cholesky factorisation stops; double precision gives
// the reference's spectrum. The mean's line at zero frequency fills the top of the dB scale,
// so the PSD itself is compared, point by point, within 0.01 dB at every frequency.
TEST(DoublePrecisionMv, LargeMeansWhereSinglePrecisionFails) {
  std::vector<float> ar = ref::Ar4{}.generate(256, 23u);
  for (float& v : ar) v += 1.0e3f;
  std::vector<float> arma = vtest::armaSeries(vtest::kPeakA, vtest::kNotchB, 1000, 5u);
  for (float& v : arma) v += 1.0e4f;
  struct Case {
    const char* name;
    EstimateMethod method;
    std::vector<float> data;
    int p, q, L, nPoints;
  };
  const Case cases[] = {
      {"minimum variance", EstimateMethod::MinimumVariance, ar, 20, 0, 256, 256},
      {"Mayne-Firoozan", EstimateMethod::MayneFiroozan, arma, 2, 2, 100, 1024},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EstimateParams p;
    p.method = c.method;
    p.nPoles = c.p;
    p.nZeros = c.q;
    p.lPts = c.L;
    p.nPoints = c.nPoints;
    p.eps = 1e-15f;
    p.precision = Precision::Double;
    const auto res = voxtrel::estimate(p, c.data);
    ASSERT_EQ(res.status, EstimateStatus::Ok) << res.message;
    const Vec x = widen(c.data);
    std::vector<double> want;
    if (c.method == EstimateMethod::MinimumVariance) {
      want = capon(x, c.p, 0, res.freq);
    } else {
      Vec a, b;
      const double sig2 = mayneFiroozan(x, c.p, c.q, c.L, c.nPoints, a, b);
      for (float f : res.freq) want.push_back(ref::arPsd(a, sig2, f) / ref::arPsd(b, 1, f));
    }
    for (std::size_t i = 0; i < want.size(); ++i)
      EXPECT_NEAR(10 * std::log10(res.psd[i] / want[i]), 0.0, 0.01) << res.freq[i];
    p.precision = Precision::Single;
    EXPECT_EQ(voxtrel::estimate(p, c.data).status, EstimateStatus::EstimatorFailed);
  }
}

// The double-precision correlation matrix is summed side by side in vector lanes: the widest
// lanes and the baseline give the same doubles, and both the matrix's definition.
TEST(DoublePrecisionMv, CorrelationMatrixLanesGiveTheDefinition) {
  const auto zf = ref::complexTone(97, 0.13, 1.0, 24u);
  const std::vector<voxtrel::dcplx> z(zf.begin(), zf.end());
  const int n = static_cast<int>(z.size());
  for (int ip : {1, 7, 13}) {
    voxtrel::FVec<voxtrel::dcplx> wide(static_cast<std::size_t>(ip * (ip + 1) / 2)), base = wide;
    voxtrel::corrmat(z.data(), n, ip, wide);
    voxtrel::corrmat(z.data(), n, ip, base, false);
    for (int i = 1, l = 1; i <= ip; ++i)
      for (int j = 1; j <= i; ++j, ++l) {
        EXPECT_EQ(wide(l), base(l)) << ip << ": " << i << "," << j;
        dc s = 0;  // entry (i, j) holds R(j, i)
        for (int t = ip + 1; t <= n; ++t)
          s += std::conj(z[t - j - 1]) * z[t - i - 1] +
               z[t + j - ip - 1] * std::conj(z[t + i - ip - 1]);
        s /= 2.0 * (n - ip);
        EXPECT_NEAR(std::abs(wide(l) - s), 0.0, 1e-13) << ip << ": " << i << "," << j;
      }
  }
}

// The solvers' early stops end the run in double precision as in single, with the same
// status block in the log: a Cholesky pivot not above EPS in either method, and a first MA
// estimate that is not minimum phase (MA(1) data with the zero on the unit circle).
TEST(DoublePrecisionMv, EarlyStopsWriteTheSingleBlock) {
  struct Case {
    const char* name;
    EstimateMethod method;
    std::vector<float> data;
    int p, q, L, nPoints;
    float eps;
    const char* reason;
  };
  const auto ar = ref::Ar4{}.generate(256, 25u);
  const auto unitZero = vtest::armaSeries({}, {-1.0}, 64, 1u);
  const Case cases[] = {
      {"MVSE pivot", EstimateMethod::MinimumVariance, ar, 8, 0, 256, 256, 1e10f, "CHOLESKY"},
      {"Mayne-Firoozan pivot", EstimateMethod::MayneFiroozan, ar, 2, 2, 40, 256, 1e10f, "CHOLESKY"},
      {"Mayne-Firoozan phase", EstimateMethod::MayneFiroozan, unitZero, 1, 1, 12, 64, 1e-15f,
       "not minimum-phase"},
  };
  auto block = [](const std::string& log) {  // from the status line to the closing line
    const auto from = log.find(" IFLAG"), to = log.find("causing premature termination.");
    return from < to && to != std::string::npos ? log.substr(from, to - from) : std::string();
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EstimateParams p;
    p.method = c.method;
    p.nPoles = c.p;
    p.nZeros = c.q;
    p.lPts = c.L;
    p.nPoints = c.nPoints;
    p.eps = c.eps;
    p.wantLog = true;
    p.precision = Precision::Double;
    const auto wide = voxtrel::estimate(p, c.data);
    p.precision = Precision::Single;
    const auto single = voxtrel::estimate(p, c.data);
    EXPECT_EQ(wide.status, EstimateStatus::EstimatorFailed);
    EXPECT_EQ(single.status, EstimateStatus::EstimatorFailed);
    EXPECT_NE(block(wide.log).find(c.reason), std::string::npos) << wide.log;
    EXPECT_EQ(block(wide.log), block(single.log));
  }
}

// 1 + b(1) z^-1 + ... is minimum phase exactly when its roots lie inside the unit circle; the
// polynomials are built from their roots.
TEST(DoublePrecisionMv, MinimumPhaseTestAgreesInBothPrecisions) {
  struct Case {
    std::vector<dc> roots;
    bool minimumPhase;
  };
  const Case cases[] = {
      {{0.5}, true},
      {{dc(0, 1.2)}, false},
      {{std::polar(0.9, 1.0), std::polar(0.9, -1.0), 0.3}, true},
      {{std::polar(0.95, 2.0), 1.05, -0.2, dc(0.1, 0.4)}, false},
  };
  for (const Case& c : cases) {
    Vec poly{1.0};  // times (1 - r z^-1) for each root
    for (const dc& r : c.roots) {
      poly.push_back(0.0);
      for (std::size_t k = poly.size() - 1; k >= 1; --k) poly[k] -= r * poly[k - 1];
    }
    const Vec b(poly.begin() + 1, poly.end());
    std::vector<voxtrel::cplx> bf(b.begin(), b.end());
    const int q = static_cast<int>(b.size());
    voxtrel::RunLog log;
    voxtrel::Run r(log);
    int order = 0;
    double magnitude = 0;
    EXPECT_EQ(voxtrel::maMinimumPhase(r, b.data(), q, &order, &magnitude), c.minimumPhase) << q;
    EXPECT_EQ(voxtrel::maMinimumPhase(r, bf.data(), q, nullptr, nullptr), c.minimumPhase) << q;
    if (!c.minimumPhase) {
      EXPECT_GE(order, 1);
      EXPECT_GE(magnitude, 1.0);
    }
  }
}

}  // namespace
