#include "voxtrel/order_scan.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "arma_synth.h"
#include "reference.h"

using ref::dc;
using voxtrel::EstimateMethod;
using voxtrel::EstimateStatus;

namespace {

// The product of second-order sections 1 + c1 z^-1 + c2 z^-2: a(1..2m).
std::vector<double> polyProduct(const std::vector<std::vector<double>>& sections) {
  std::vector<double> p{1.0};
  for (const auto& s : sections) {
    std::vector<double> q(p.size() + 2, 0.0);
    for (std::size_t i = 0; i < p.size(); ++i) {
      q[i] += p[i];
      q[i + 1] += s[0] * p[i];
      q[i + 2] += s[1] * p[i];
    }
    p = q;
  }
  return std::vector<double>(p.begin() + 1, p.end());
}

const std::vector<double> kAr4 =
    polyProduct({vtest::resonance(0.95, 0.1), vtest::resonance(0.9, 0.3)});
const std::vector<double> kAr6 = polyProduct(
    {vtest::resonance(0.95, 0.08), vtest::resonance(0.9, 0.22), vtest::resonance(0.85, 0.38)});

voxtrel::OrderScanParams params(EstimateMethod m, int maxOrder) {
  voxtrel::OrderScanParams p;
  p.method = m;
  p.maxOrder = maxOrder;
  return p;
}

// The error power of orders 1..K by independent double-precision fits: Yule-Walker by its
// Toeplitz system, Burg by filtering with each order's polynomial, the covariance methods by
// least squares over their forward (and backward) equations.
template <class C>
std::vector<double> referenceRho(EstimateMethod m, const std::vector<C>& x, int K) {
  std::vector<double> rho;
  for (int k = 1; k <= K; ++k) {
    double s2 = 0;
    switch (m) {
      case EstimateMethod::Burg:
        ref::burg(x, k, &s2);
        break;
      case EstimateMethod::Covariance:
      case EstimateMethod::ModifiedCovariance:
        ref::leastSquaresAr(x, k, m == EstimateMethod::ModifiedCovariance, &s2);
        break;
      default:
        ref::yuleWalker(ref::biasedLags(x, k), k, &s2);
        break;
    }
    rho.push_back(s2);
  }
  return rho;
}

struct Criteria {
  std::vector<double> fpe, aic, mdl, cat, catScale;
};

// The four criteria in double precision, N the samples or, for the covariance methods, N - k.
Criteria referenceCriteria(EstimateMethod m, int n, const std::vector<double>& rho) {
  const bool cov = m == EstimateMethod::Covariance || m == EstimateMethod::ModifiedCovariance;
  Criteria c;
  double sum = 0;
  for (int k = 1; k <= static_cast<int>(rho.size()); ++k) {
    const double N = cov ? n - k : n, r = rho[static_cast<std::size_t>(k - 1)];
    c.fpe.push_back(r * (N + k + 1) / (N - k - 1));
    c.aic.push_back(N * std::log(r) + 2 * k);
    c.mdl.push_back(N * std::log(r) + k * std::log(N));
    const double rhobar = N * r / (N - k);
    sum += 1 / rhobar;
    c.cat.push_back(sum / N - 1 / rhobar);
    c.catScale.push_back(sum / N + 1 / rhobar);
  }
  return c;
}

int argMin(const std::vector<double>& v) {
  return static_cast<int>(std::min_element(v.begin(), v.end()) - v.begin()) + 1;
}

// Single-precision error powers agree to relative 1e-4 (which moves N ln rho by N 1e-4),
// double-precision ones to 1e-9.
template <class C>
void expectMatchesReference(EstimateMethod m, const std::vector<C>& x, int K,
                            voxtrel::Precision precision = voxtrel::Precision::Single) {
  SCOPED_TRACE("method " + std::to_string(static_cast<int>(m)));
  const double tol = precision == voxtrel::Precision::Double ? 1e-9 : 1e-4;
  voxtrel::OrderScanParams p = params(m, K);
  p.precision = precision;
  const auto got = voxtrel::order_scan(p, std::span<const C>(x));
  ASSERT_EQ(got.status, EstimateStatus::Ok) << got.message;
  const int n = static_cast<int>(x.size());
  const auto rho = referenceRho(m, x, K);
  const auto want = referenceCriteria(m, n, rho);
  ASSERT_EQ(got.orders.size(), static_cast<std::size_t>(K));
  for (std::size_t i = 0; i < rho.size(); ++i) {
    SCOPED_TRACE("order " + std::to_string(i + 1));
    EXPECT_EQ(got.orders[i], static_cast<int>(i) + 1);
    EXPECT_NEAR(got.rho[i], rho[i], tol * rho[i]);
    EXPECT_NEAR(got.fpe[i], want.fpe[i], tol * want.fpe[i]);
    EXPECT_NEAR(got.aic[i], want.aic[i], tol * n);
    EXPECT_NEAR(got.mdl[i], want.mdl[i], tol * n);
    EXPECT_NEAR(got.cat[i], want.cat[i], tol * want.catScale[i]);
  }
  EXPECT_EQ(got.picks.fpe, argMin(want.fpe));
  EXPECT_EQ(got.picks.aic, argMin(want.aic));
  EXPECT_EQ(got.picks.mdl, argMin(want.mdl));
  EXPECT_EQ(got.picks.cat, argMin(want.cat));
}

const EstimateMethod kScanMethods[] = {EstimateMethod::YuleWalker, EstimateMethod::Burg,
                                       EstimateMethod::Covariance,
                                       EstimateMethod::ModifiedCovariance};

}  // namespace

TEST(OrderScan, CriteriaEqualADoublePrecisionComputation) {
  const auto real = vtest::armaSeries(kAr4, {}, 240, 11);
  for (EstimateMethod m : kScanMethods) expectMatchesReference(m, real, 10);
  // Lockheed's AR part is the autocorrelation method.
  expectMatchesReference(EstimateMethod::Lockheed, real, 10);
  const auto complex = vtest::complexArmaSeries(vtest::kComplexA, {}, 240, 5);
  for (EstimateMethod m : kScanMethods) expectMatchesReference(m, complex, 6);
  // In double precision the same fits agree to the reference's own digits.
  for (EstimateMethod m : kScanMethods) {
    expectMatchesReference(m, real, 10, voxtrel::Precision::Double);
    expectMatchesReference(m, complex, 6, voxtrel::Precision::Double);
  }
  // Double-precision samples are rounded to floats for a single-precision scan.
  const std::vector<double> wide(real.begin(), real.end());
  const auto fromDouble =
      voxtrel::order_scan(params(EstimateMethod::Burg, 10), std::span<const double>(wide));
  const auto fromFloat =
      voxtrel::order_scan(params(EstimateMethod::Burg, 10), std::span<const float>(real));
  EXPECT_EQ(fromDouble.rho, fromFloat.rho);
}

// AIC and MDL find the true order of AR(4) and AR(6) processes of 1,000 samples in most of
// ten seeds, for every method.
TEST(OrderScan, AicAndMdlRecoverTheTrueOrder) {
  struct Case {
    const std::vector<double>* a;
    int order;
  };
  for (const Case c : {Case{&kAr4, 4}, Case{&kAr6, 6}}) {
    for (EstimateMethod m : kScanMethods) {
      int aicHits = 0, mdlHits = 0;
      for (unsigned seed = 1; seed <= 10; ++seed) {
        const auto x = vtest::armaSeries(*c.a, {}, 1000, seed);
        const auto s = voxtrel::order_scan(params(m, 20), x);
        ASSERT_EQ(s.status, EstimateStatus::Ok) << s.message;
        aicHits += s.picks.aic == c.order;
        mdlHits += s.picks.mdl == c.order;
      }
      SCOPED_TRACE("AR(" + std::to_string(c.order) + "), method " +
                   std::to_string(static_cast<int>(m)));
      EXPECT_GE(aicHits, 6);
      EXPECT_GE(mdlHits, 8);
    }
  }
}

TEST(OrderScan, BadParametersNameTheParameterAndItsRange) {
  const std::vector<float> x(1000, 1.0f);  // the longest case's samples
  struct Case {
    EstimateMethod method;
    int maxOrder;
    std::size_t samples;
    const char* message;
  };
  const Case cases[] = {
      {EstimateMethod::Rmle, 4, 100,
       "method = 3 is out of range: the order scan takes 1 (autocorrelation), 2 (Burg), 4 "
       "(covariance), 5 (modified covariance) or 14 (Lockheed)"},
      {EstimateMethod::Periodogram, 4, 100, "method = 11 is out of range"},
      {EstimateMethod::Burg, -1, 100,
       "maxOrder = -1 is out of range: 1 <= maxOrder <= 98 for 100 samples, or 0 for "
       "min(samples / 2, 50)"},
      {EstimateMethod::Burg, 99, 100, "maxOrder = 99 is out of range: 1 <= maxOrder <= 98"},
      {EstimateMethod::YuleWalker, 211, 1000,
       "maxOrder = 211 is out of range: 1 <= maxOrder <= "
       "210 for 1000 samples"},
      {EstimateMethod::Covariance, 50, 100, "maxOrder = 50 is out of range: 1 <= maxOrder <= 49"},
      {EstimateMethod::ModifiedCovariance, 1, 3,
       "samples = 3 is out of range: at least 4 samples are needed"},
      {EstimateMethod::Burg, 1, 2, "samples = 2 is out of range: at least 3 samples are needed"},
  };
  for (const Case& c : cases) {
    const auto got = voxtrel::order_scan(params(c.method, c.maxOrder),
                                         std::span<const float>(x.data(), c.samples));
    EXPECT_EQ(got.status, EstimateStatus::BadParameter);
    EXPECT_EQ(got.message.rfind(c.message, 0), 0u) << got.message;
    EXPECT_TRUE(got.orders.empty());
  }
}

TEST(OrderScan, DegenerateDataFailWithTheEstimatorsReason) {
  const std::vector<float> zeros(50, 0.0f);
  const auto yw = voxtrel::order_scan(params(EstimateMethod::YuleWalker, 4), zeros);
  EXPECT_EQ(yw.status, EstimateStatus::EstimatorFailed);
  EXPECT_NE(yw.message.find("the lag-0 power is zero"), std::string::npos) << yw.message;
  const auto cov = voxtrel::order_scan(params(EstimateMethod::Covariance, 4), zeros);
  EXPECT_EQ(cov.status, EstimateStatus::EstimatorFailed);
  EXPECT_NE(cov.message.find("at order 1: Covariance method: the data are zero over the fit"),
            std::string::npos)
      << cov.message;
}

TEST(OrderScan, MaxOrderZeroTakesHalfTheSamplesUpToFifty) {
  struct Case {
    EstimateMethod method;
    int samples, top;
  };
  for (const Case c : {Case{EstimateMethod::Burg, 40, 20}, Case{EstimateMethod::Burg, 500, 50},
                       Case{EstimateMethod::Covariance, 40, 19}}) {
    const auto x = vtest::armaSeries(kAr4, {}, c.samples, 6);
    const auto got = voxtrel::order_scan(params(c.method, 0), x);
    ASSERT_EQ(got.status, EstimateStatus::Ok) << got.message;
    EXPECT_EQ(got.orders.size(), static_cast<std::size_t>(c.top));
  }
}

TEST(OrderScan, BadSamplesCountAsZeroAsInARun) {
  auto x = vtest::armaSeries(kAr4, {}, 200, 2);
  auto zeroed = x;
  x[17] = std::numeric_limits<float>::quiet_NaN();
  x[90] = 3.0e10f;
  zeroed[17] = zeroed[90] = 0.0f;
  const auto got = voxtrel::order_scan(params(EstimateMethod::Burg, 8), x);
  const auto want = voxtrel::order_scan(params(EstimateMethod::Burg, 8), zeroed);
  ASSERT_EQ(got.status, EstimateStatus::Ok);
  EXPECT_EQ(got.rho, want.rho);
}
