// order_criteria: the four order-selection criteria from the prediction-error powers
// rho(1..K), in double precision. With N(k) the effective number of prediction errors at
// order k (the samples for the autocorrelation, Burg and Lockheed methods, N - k for the
// covariance methods) and rhobar(j) = N(j) rho(j) / (N(j) - j):
//   FPE(k) = rho(k) (N(k) + k + 1) / (N(k) - k - 1)
//   AIC(k) = N(k) ln rho(k) + 2 k
//   MDL(k) = N(k) ln rho(k) + k ln N(k)
//   CAT(k) = (1/N(k)) sum_{j=1..k} 1/rhobar(j) - 1/rhobar(k)
// Each pick is the lowest order where its criterion is smallest. A power that is not above
// zero gives criteria of minus infinity (ln 0) or not a number; those orders are not picked.
#include <cmath>
#include <cstddef>
#include <limits>

#include "voxtrel/order_scan.h"

namespace voxtrel {

namespace {

int pick(const std::vector<double>& c) {
  int best = 0;
  for (std::size_t i = 0; i < c.size(); ++i) {
    if (!std::isfinite(c[i])) continue;
    if (best == 0 || c[i] < c[static_cast<std::size_t>(best - 1)]) best = static_cast<int>(i) + 1;
  }
  return best;
}

}  // namespace

OrderScanResult order_criteria(EstimateMethod method, int samples, std::span<const double> rho) {
  OrderScanResult res;
  res.status = EstimateStatus::Ok;
  res.method = method;
  res.samplesUsed = samples;
  const bool covariance =
      method == EstimateMethod::Covariance || method == EstimateMethod::ModifiedCovariance;
  auto effectiveN = [&](int k) { return static_cast<double>(covariance ? samples - k : samples); };
  const double nan = std::numeric_limits<double>::quiet_NaN();
  double catSum = 0;  // sum_{j<=k} 1/rhobar(j)
  for (std::size_t i = 0; i < rho.size(); ++i) {
    const int k = static_cast<int>(i) + 1;
    const double n = effectiveN(k), r = rho[i];
    const bool usable = r > 0 && std::isfinite(r);
    res.orders.push_back(k);
    res.rho.push_back(r);
    res.fpe.push_back(n - k - 1 > 0 ? r * (n + k + 1) / (n - k - 1) : nan);
    res.aic.push_back(usable ? n * std::log(r) + 2.0 * k : nan);
    res.mdl.push_back(usable ? n * std::log(r) + k * std::log(n) : nan);
    const double inverseRhobar = usable ? (n - k) / (n * r) : nan;
    catSum += inverseRhobar;
    res.cat.push_back(catSum / n - inverseRhobar);
  }
  res.picks = {pick(res.fpe), pick(res.aic), pick(res.mdl), pick(res.cat)};
  return res;
}

}  // namespace voxtrel
