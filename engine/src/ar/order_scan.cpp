// order_scan: the prediction-error power rho(k) of every order k = 1..K of an AR method, then
// the order-selection criteria (order_criteria). The recursive methods give every order in one
// pass: the autocorrelation method's Levinson recursion leaves rho(k) = (1 - |aa(k,k)|^2)
// rho(k-1) for each k, Burg's lattice the same from its own reflection coefficients, and the
// Lockheed method's AR part is the autocorrelation method itself. The covariance and modified
// covariance methods have no order recursion here: their normal equations are built and solved
// once per order, and each order's least-squares error power is its rho(k).
#include "voxtrel/order_scan.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <new>
#include <string>
#include <vector>

#include "estimators.h"
#include "fatal.h"

namespace voxtrel {

namespace {

bool covarianceMethod(EstimateMethod m) {
  return m == EstimateMethod::Covariance || m == EstimateMethod::ModifiedCovariance;
}

// The highest order whose criteria are all defined: FPE needs N - k - 1 > 0 with N the
// effective number of errors (n, or n - k for the covariance methods); the AR tables hold 210.
int orderLimit(EstimateMethod m, int n) {
  const int byData = covarianceMethod(m) ? (n - 2) / 2 : n - 2;
  return std::min(kMaxPoles, byData);
}

// The first parameter out of range, as "name = value is out of range: rule", or empty.
std::string checkParams(const OrderScanParams& p, int n) {
  const auto m = static_cast<int>(p.method);
  if (m != kAutoCorrelation && m != kBurg && m != kCovariance && m != kModifiedCovariance &&
      m != kLockheed)
    return "method = " + std::to_string(m) +
           " is out of range: the order scan takes 1 (autocorrelation), 2 (Burg), 4 (covariance),"
           " 5 (modified covariance) or 14 (Lockheed)";
  const int limit = orderLimit(p.method, n);
  if (limit < 1)
    return "samples = " + std::to_string(n) + " is out of range: at least " +
           (covarianceMethod(p.method) ? "4" : "3") + " samples are needed";
  if (p.maxOrder < 0 || p.maxOrder > limit)
    return "maxOrder = " + std::to_string(p.maxOrder) +
           " is out of range: 1 <= maxOrder <= " + std::to_string(limit) + " for " +
           std::to_string(n) + " samples, or 0 for min(samples / 2, 50)";
  return {};
}

// The last line the estimator wrote to the log, without its leading blanks.
std::string lastLine(const RunLog& log) {
  const std::vector<std::string> lines = log.lines();
  for (auto it = lines.rbegin(); it != lines.rend(); ++it) {
    const auto first = it->find_first_not_of(' ');
    if (first != std::string::npos) return it->substr(first);
  }
  return "no reason was logged";
}

OrderScanResult scan(const OrderScanParams& p, std::vector<cplx> x) {
  const int n = static_cast<int>(x.size());
  OrderScanResult res;
  res.method = p.method;
  res.message = checkParams(p, n);
  if (!res.message.empty()) {
    res.status = EstimateStatus::BadParameter;
    return res;
  }
  // Points a run would not use: beyond 1.0e10 in magnitude or not a number count as zero.
  for (cplx& v : x) {
    if (!(std::fabs(v.real()) <= 1.0e10f && std::fabs(v.imag()) <= 1.0e10f &&
          std::abs(v) <= 1.0e10f))
      v = cplx(0, 0);
  }

  RunLog log;
  try {
    Run r(log);
    RunState& st = r.st;
    st.maxorder = kTableOrder;
    const int top = p.maxOrder > 0 ? p.maxOrder : std::min({n / 2, 50, orderLimit(p.method, n)});
    std::vector<double> rho(static_cast<std::size_t>(top));
    std::vector<cplx> a(static_cast<std::size_t>(top) + 1);
    float sig2 = 0;
    int failedOrder = 0;
    switch (p.method) {
      case EstimateMethod::Burg:
        burg(r, x.data(), n, top, a.data(), sig2, n);
        break;
      case EstimateMethod::Covariance:
      case EstimateMethod::ModifiedCovariance: {
        const int mode = p.method == EstimateMethod::Covariance ? 0 : 1;
        for (int k = 1; k <= top && st.iflag == 0; ++k) {
          covmcov(r, x.data(), n, k, mode, p.eps, st.iflag, sig2);
          st.rho(k) = sig2;
          if (st.iflag != 0) failedOrder = k;
        }
        break;
      }
      default:  // the autocorrelation method, alone or as the Lockheed method's AR part
        autocorr(r, x.data(), n, top, a.data(), sig2, n);
        break;
    }
    if (st.iflag != 0) {
      res.status = EstimateStatus::EstimatorFailed;
      res.message = "The estimator failed";
      if (failedOrder > 0) res.message += " at order " + std::to_string(failedOrder);
      if (st.iflag == -1)
        res.message +=
            ": a pivot of the normal equations is not above EPS (nearly singular "
            "equations); lower EPS or maxOrder";
      else
        res.message += ": " + lastLine(log);
      res.log = log.memory();
      return res;
    }
    for (int k = 1; k <= top; ++k) rho[static_cast<std::size_t>(k - 1)] = st.rho(k);
    return order_criteria(p.method, n, rho);
  } catch (...) {
    res.status = EstimateStatus::Stopped;
    res.message = stopReason("scan");
  }
  res.log = log.memory();
  return res;
}

}  // namespace

OrderScanResult order_scan(const OrderScanParams& params, std::span<const float> samples) {
  std::vector<cplx> x;
  x.reserve(samples.size());
  for (float v : samples) x.emplace_back(v, 0.0f);
  return scan(params, std::move(x));
}

OrderScanResult order_scan(const OrderScanParams& params,
                           std::span<const std::complex<float>> samples) {
  return scan(params, std::vector<cplx>(samples.begin(), samples.end()));
}

}  // namespace voxtrel
