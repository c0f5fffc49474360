// Recursive maximum likelihood in double precision against a reference that finds each
// order's reflection coefficient by searching the likelihood itself (no cubic): the same
// model, and the same spectrum within 0.01 dB over its top 40 dB.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "reference.h"
#include "voxtrel/estimate.h"

namespace {

// a(1..p) and sig2 of the order-by-order maximum-likelihood AR fit, in double: for each order
// k the polynomial v(x) = (1, a(1..k-1), 0) + x (0, reversed), the error sum
// S(x) = v' s v with s(i,j) = sum_{t=1}^{n+2-i-j} x(t+i-1) x(t+j-1), and x maximising
// (k/2) log(1 - x^2) - (n/2) log(S(x)/n), found by a scan and a golden-section refinement.
std::vector<double> mlAr(const std::vector<float>& xs, int p, double* sig2) {
  const int n = static_cast<int>(xs.size());
  auto s = [&](int i, int j) {
    double sum = 0;
    for (int t = 1; t <= n + 2 - i - j; ++t)
      sum += static_cast<double>(xs[static_cast<std::size_t>(t + i - 2)]) *
             xs[static_cast<std::size_t>(t + j - 2)];
    return sum;
  };
  std::vector<double> a{1.0};  // (1, a(1..k-1))
  double err = s(1, 1);
  for (int k = 1; k <= p; ++k) {
    auto poly = [&](double x) {
      std::vector<double> v(a);
      v.push_back(0);
      for (int l = 0; l < k; ++l)
        v[static_cast<std::size_t>(k - l)] += x * a[static_cast<std::size_t>(l)];
      return v;
    };
    auto S = [&](double x) {
      const auto v = poly(x);
      double sum = 0;
      for (int i = 0; i <= k; ++i)
        for (int j = 0; j <= k; ++j) sum += v[i] * v[j] * s(i + 1, j + 1);
      return sum;
    };
    auto f = [&](double x) { return 0.5 * k * std::log(1 - x * x) - 0.5 * n * std::log(S(x) / n); };
    double best = 0;
    for (int i = -1999; i <= 1999; ++i)
      if (f(i / 2000.0) > f(best)) best = i / 2000.0;
    double lo = std::max(-0.99999999, best - 1 / 2000.0),
           hi = std::min(0.99999999, best + 1 / 2000.0);
    const double g = (std::sqrt(5.0) - 1) / 2;
    for (int it = 0; it < 200; ++it) {
      const double m1 = hi - g * (hi - lo), m2 = lo + g * (hi - lo);
      if (f(m1) < f(m2)) {
        lo = m1;
      } else {
        hi = m2;
      }
    }
    const double x = (lo + hi) / 2;
    err = S(x);
    a = poly(x);
  }
  *sig2 = err / n;
  return std::vector<double>(a.begin() + 1, a.end());
}

TEST(RmleDouble, AgreesWithTheLikelihoodSearched) {
  const std::vector<float> x = ref::Ar4{}.generate(400, 21u);
  voxtrel::EstimateParams p;
  p.method = voxtrel::EstimateMethod::Rmle;
  p.nPoles = 4;
  p.nPoints = 512;
  p.precision = voxtrel::Precision::Double;
  const auto res = voxtrel::estimate(p, x);
  ASSERT_EQ(res.status, voxtrel::EstimateStatus::Ok) << res.message;
  double sig2 = 0;
  const auto a = mlAr(x, 4, &sig2);
  ASSERT_EQ(res.ar.size(), a.size());
  for (std::size_t k = 0; k < a.size(); ++k) EXPECT_NEAR(res.ar[k].real(), a[k], 1e-6) << k;
  EXPECT_NEAR(res.sig2, sig2, 1e-6 * sig2);

  std::vector<ref::dc> ac(a.begin(), a.end());
  std::vector<double> refDb;
  for (float fr : res.freq) refDb.push_back(20 * std::log10(ref::arPsd(ac, sig2, fr)));
  const double top = *std::max_element(refDb.begin(), refDb.end());
  for (std::size_t i = 0; i < refDb.size(); ++i) {
    if (refDb[i] - top < -40) continue;
    EXPECT_NEAR(res.db[i], refDb[i] - top, 0.01) << res.freq[i];
  }
}

}  // namespace
