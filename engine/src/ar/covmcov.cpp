// Covariance (mode 0) and modified covariance (mode 1) AR methods: least-squares fits of the
// prediction-error filter 1 + a(1) z^-1 + ... + a(p) z^-p over the samples where it fits
// without running off the data. The normal equations H a = -r, with
//   H(i,j) = sum_{k=p+1}^{N} conj(x(k-i)) x(k-j)   [+ sum_{k=1}^{N-p} x(k+i) conj(x(k+j))]
//   r(i)   = sum_{k=p+1}^{N} conj(x(k-i)) x(k)     [+ sum_{k=1}^{N-p} x(k+i) conj(x(k))]
// (the bracketed backward terms for mode 1: the same filter run backwards over the conjugated
// data), are packed into hc and solved by cholesky; the AR estimates are left in theta. The
// noise variance is the least-squares error power
//   sig2 = Re sum_{lag=0}^{p} s(lag) theta(lag) / (N-p)   (2(N-p) for mode 1),  theta(0) = 1,
//   s(lag) = sum_{k=p+1}^{N} conj(x(k)) x(k-lag)   [+ sum_{k=1}^{N-p} x(k) conj(x(k+lag))].
// Sums are accumulated in the working precision (Real: float or double).
//
// iflag = -1 (with the solver's dump) when a pivot is not above eps. Data that cannot give a
// model end with a run-log line naming the cause and iflag = kIflagDegenerate: fewer samples
// than the fit needs (the forward equations have rank N-p at most, the forward-backward ones
// 2(N-p), so p unknowns need N-p >= p, or 2(N-p) >= p), data that are zero over the fit, or
// an exact fit (zero prediction error).
#include <algorithm>
#include <vector>

#include "estimators.h"
#include "precision_tables.h"
#include "stop_point.h"

namespace voxtrel {

template <class Real>
void covmcov(Run& r, const std::complex<Real>* x, int n, int ip, int mode, Real eps, int& iflag,
             Real& sig2) {
  using C = std::complex<Real>;
  iflag = 0;
  const int p = ip;
  const bool both = mode == 1;
  const int rows = both ? 2 * (n - p) : n - p;
  if (n <= p || rows < p) {
    r.log.blank();
    r.log.put({both ? " Modified covariance method:" : " Covariance method:", " nPoles =", p,
               " needs at least", both ? p + (p + 1) / 2 : 2 * p, " samples, npts =", n,
               "; lower nPoles or use more data."});
    iflag = kIflagDegenerate;
    return;
  }
  auto X = [x](int k) { return x[k - 1]; };  // one-based sample access

  FVec<C>& hc = ModelTables<Real>::hc(r);
  FVec<C>& theta = ModelTables<Real>::theta(r);
  covarianceMatrix(x, n, p, both, hc.data());
  Real trace = 0;
  for (int i = 1; i <= p; ++i) trace += hc(i * (i + 1) / 2).real();
  for (int i = 1; i <= p; ++i) {
    stopPoint(r);
    C s(0, 0);
    for (int k = p + 1; k <= n; ++k) s -= std::conj(X(k - i)) * X(k);
    if (both)
      for (int k = 1; k <= n - p; ++k) s -= X(k + i) * std::conj(X(k));
    theta(i) = s;
  }
  if (p >= 1 && !(trace > Real(0))) {
    r.log.blank();
    r.log.put({both ? " Modified covariance method:" : " Covariance method:",
               " the data are zero over the fit (all-zero data?)."});
    iflag = kIflagDegenerate;
    return;
  }

  cholesky(r, p, eps, iflag);
  if (iflag == -1) return;

  C acc(0, 0);
  for (int lag = 0; lag <= p; ++lag) {
    stopPoint(r);
    C s(0, 0);
    for (int k = p + 1; k <= n; ++k) s += std::conj(X(k)) * X(k - lag);
    if (both)
      for (int k = 1; k <= n - p; ++k) s += X(k) * std::conj(X(k + lag));
    acc += lag == 0 ? s : s * theta(lag);
  }
  sig2 = acc.real() / static_cast<Real>(both ? 2 * (n - p) : n - p);
  if (sig2 == Real(0) && p >= 1) {
    // An exact fit: the model has no noise to drive it and its spectrum is 0 / 0 at the poles.
    r.log.blank();
    r.log.put({both ? " Modified covariance method:" : " Covariance method:",
               " the prediction error is zero (the data are perfectly predictable)."});
    iflag = kIflagDegenerate;
  }
}

template void covmcov<float>(Run&, const cplx*, int, int, int, float, int&, float&);
template void covmcov<double>(Run&, const dcplx*, int, int, int, double, int&, double&);

}  // namespace voxtrel
