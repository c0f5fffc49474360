// order_scan: the prediction-error power rho(k) of every order k = 1..K of an AR method, then
// the order-selection criteria (order_criteria). The recursive methods give every order in one
// pass: the autocorrelation method's Levinson recursion leaves rho(k) = (1 - |aa(k,k)|^2)
// rho(k-1) for each k, Burg's lattice the same from its own reflection coefficients, and the
// Lockheed method's AR part is the autocorrelation method itself. The covariance and modified
// covariance methods have no order recursion here: their normal equations are built and solved
// once per order, and each order's least-squares error power is its rho(k). In double
// precision the same routines run on the double-precision samples.
#include "voxtrel/order_scan.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <type_traits>
#include <vector>

#include "estimators.h"
#include "fatal.h"
#include "precision_tables.h"

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

template <class Real>
OrderScanResult scan(const OrderScanParams& p, std::vector<std::complex<Real>> x) {
  using C = std::complex<Real>;
  const int n = static_cast<int>(x.size());
  OrderScanResult res;
  res.method = p.method;
  res.message = checkParams(p, n);
  if (!res.message.empty()) {
    res.status = EstimateStatus::BadParameter;
    return res;
  }
  // Points a run would not use count as zero.
  for (C& v : x)
    if (badPoint(v)) v = C(0, 0);

  RunLog log;
  try {
    Run r(log);
    RunState& st = r.st;
    st.maxorder = kTableOrder;
    const int top = p.maxOrder > 0 ? p.maxOrder : std::min({n / 2, 50, orderLimit(p.method, n)});
    std::vector<double> rho(static_cast<std::size_t>(top));
    std::vector<C> a(static_cast<std::size_t>(top) + 1);
    Real sig2 = 0;
    FVec<Real>& rhoTable = ModelTables<Real>::rho(r);
    int failedOrder = 0;
    switch (p.method) {
      case EstimateMethod::Burg:
        burg(r, x.data(), n, top, a.data(), sig2, n);
        break;
      case EstimateMethod::Covariance:
      case EstimateMethod::ModifiedCovariance: {
        const int mode = p.method == EstimateMethod::Covariance ? 0 : 1;
        for (int k = 1; k <= top && st.iflag == 0; ++k) {
          covmcov(r, x.data(), n, k, mode, static_cast<Real>(p.eps), st.iflag, sig2);
          rhoTable(k) = sig2;
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
    for (int k = 1; k <= top; ++k) rho[static_cast<std::size_t>(k - 1)] = rhoTable(k);
    return order_criteria(p.method, n, rho);
  } catch (...) {
    res.status = EstimateStatus::Stopped;
    res.message = stopReason("scan");
  }
  res.log = log.memory();
  return res;
}

// The samples as complex values in the scan's precision (real ones with a zero imaginary part).
template <class Real, class Sample>
std::vector<std::complex<Real>> asComplex(std::span<const Sample> samples) {
  std::vector<std::complex<Real>> x;
  x.reserve(samples.size());
  for (const Sample& v : samples) {
    if constexpr (std::is_floating_point_v<Sample>)
      x.emplace_back(static_cast<Real>(v), Real(0));
    else
      x.emplace_back(std::complex<Real>(v));
  }
  return x;
}

// One scan in the precision the parameters ask for, from samples of either precision.
template <class Sample>
OrderScanResult scanIn(const OrderScanParams& params, std::span<const Sample> samples) {
  if (params.precision == Precision::Double) return scan(params, asComplex<double>(samples));
  return scan(params, asComplex<float>(samples));
}

}  // namespace

OrderScanResult order_scan(const OrderScanParams& params, std::span<const float> samples) {
  return scanIn(params, samples);
}

OrderScanResult order_scan(const OrderScanParams& params,
                           std::span<const std::complex<float>> samples) {
  return scanIn(params, samples);
}

OrderScanResult order_scan(const OrderScanParams& params, std::span<const double> samples) {
  return scanIn(params, samples);
}

OrderScanResult order_scan(const OrderScanParams& params,
                           std::span<const std::complex<double>> samples) {
  return scanIn(params, samples);
}

}  // namespace voxtrel
