// The order scan: which AR order do the data support? For an autoregressive method, the
// prediction-error power rho(k) of the order-k fit and four order-selection criteria computed
// from it for k = 1..maxOrder, with the order at which each criterion is smallest.
//
// With N the effective number of prediction errors at order k (see below) and
// rhobar(j) = N rho(j) / (N - j) the unbiased error power:
//   FPE(k) = rho(k) (N + k + 1) / (N - k - 1)          Akaike's final prediction error
//   AIC(k) = N ln rho(k) + 2 k                         Akaike's information criterion
//   MDL(k) = N ln rho(k) + k ln N                      Rissanen's minimum description length
//   CAT(k) = (1/N) sum_{j=1..k} 1/rhobar(j) - 1/rhobar(k)
//          = (1/N) sum_{j=1..k} (N - j) / (N rho(j)) - (N - k) / (N rho(k))
//                                                      Parzen's criterion AR transfer function
// (the forms of Kay, "Modern Spectral Estimation", and Marple, "Digital Spectral Analysis").
// Each criterion picks the order k in 1..maxOrder where it is smallest (the lowest such order
// on a tie).
//
// Effective N: the autocorrelation, Burg and Lockheed methods use every sample in every order's
// error power, so N is the number of samples. The covariance methods fit over the N - k
// samples where the order-k filter does not run off the data, so N - k is used; for the
// modified covariance method too, because its backward errors are made of the same samples as
// the forward ones and add no independent terms (counting 2(N - k) would halve the penalty of
// each extra coefficient and lean towards too high an order). In CAT the sum takes each order
// j with its own N.
#pragma once

#include <complex>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "voxtrel/estimate.h"

namespace voxtrel {

struct OrderScanParams {
  // Autocorrelation (Yule-Walker by the Levinson recursion), Burg and Lockheed (its AR part,
  // which is the autocorrelation method) give rho(k) at every order from one recursion; the
  // covariance and modified covariance methods solve their normal equations once per order.
  EstimateMethod method = EstimateMethod::Burg;
  // The highest order scanned: 1 <= maxOrder <= min(210, N - 2) for the recursive methods and
  // min(210, (N - 2) / 2) for the covariance methods (N samples), so that every criterion is
  // defined; 0 takes min(N / 2, 50), lowered to that limit.
  int maxOrder = 0;
  float eps = 0;  // the covariance methods' singularity threshold, as in estimate()
  // The arithmetic of the fits, as in estimate(): single precision by default.
  Precision precision = Precision::Single;
};

// The order each criterion picks.
struct OrderPicks {
  int fpe = 0, aic = 0, mdl = 0, cat = 0;
};

struct OrderScanResult {
  EstimateStatus status = EstimateStatus::Stopped;
  std::string message;  // why not Ok: the parameter and its range, or the failure
  EstimateMethod method = EstimateMethod::Burg;  // the method scanned
  int samplesUsed = 0;
  std::vector<int> orders;                      // 1..maxOrder
  std::vector<double> rho, fpe, aic, mdl, cat;  // one value per order
  OrderPicks picks;
  std::string log;  // the estimator's messages when it failed, CR LF line ends
};

// Scans the orders 1..params.maxOrder of real or complex samples. Samples beyond 1.0e10 in
// magnitude or not a number count as zero, as in a run. Never throws.
OrderScanResult order_scan(const OrderScanParams& params, std::span<const float> samples);
OrderScanResult order_scan(const OrderScanParams& params,
                           std::span<const std::complex<float>> samples);
// The same from double-precision samples: used as they are in double precision, rounded to
// single precision first otherwise.
OrderScanResult order_scan(const OrderScanParams& params, std::span<const double> samples);
OrderScanResult order_scan(const OrderScanParams& params,
                           std::span<const std::complex<double>> samples);

// Scans the data and method of an answer file: the file is read and checked as a run reads it
// (the samples a run would use, the method and EPS; nPoles is not used) and no run log is
// written. A file that cannot be read gives status Stopped with the reader's reason. precision:
// the fits' arithmetic, as a run of the file would be asked for.
OrderScanResult order_scan_answer(std::string_view answerFile, int maxOrder,
                                  Precision precision = Precision::Single);

// The criteria and picks of one scan from the error powers rho(1..K) of a method; used by
// order_scan, public so that other error powers can be judged the same way. Leaves status Ok.
OrderScanResult order_criteria(EstimateMethod method, int samples, std::span<const double> rho);

}  // namespace voxtrel
