// Burg AR method: at each order k the reflection coefficient that minimises the sum of the
// forward and backward prediction-error powers,
//   aa(k,k) = -2 sum_i f(i) conj(b(i-1)) / sum_i (|f(i)|^2 + |b(i-1)|^2),   i = k+1..n,
// the Levinson update of the coefficients aa(j,k) = aa(j,k-1) + aa(k,k) conj(aa(k-j,k-1)),
// the error power rho(k) = (1 - |aa(k,k)|^2) rho(k-1) from rho(0) = sum |x(i)|^2 / n, and the
// lattice update of the errors
//   f'(i) = f(i) + aa(k,k) b(i-1),   b'(i-1) = b(i-2) + conj(aa(k,k)) f(i-1).
// The forward error at index i pairs with the backward error at index i-1; at order 0 both are
// the data. The arithmetic is the working precision's throughout (Real: float or double). a(j) =
// aa(j,ip), sig2 = rho(ip).
//
// Data that leave nothing to divide by end the recursion with a run-log line naming the cause
// and iflag = kIflagDegenerate: an order not below the number of samples (the error sums are
// empty), forward and backward errors that are all zero (all-zero data), or an error power
// that falls exactly to zero (data perfectly predictable at a lower order).
#include <cmath>
#include <cstddef>

#include "estimators.h"
#include "fatal.h"
#include "precision_tables.h"
#include "stop_point.h"

namespace voxtrel {

template <class Real>
void burg(Run& r, const std::complex<Real>* x, int n, int ip, std::complex<Real>* a, Real& sig2,
          int npoints) {
  using C = std::complex<Real>;
  RunState& st = r.st;
  if (ip >= n) {
    r.log.blank();
    r.log.put({" Burg: the order nPoles =", ip, " is not below the number of samples npts =", n,
               "; lower nPoles or use more data."});
    st.iflag = kIflagDegenerate;
    return;
  }

  // The four error arrays in one request: efk1, ebk1 current; efk, ebk the next order. Each
  // view is one-based (element 0 unused): efk1[i] is the forward error at index i.
  const auto len = static_cast<std::size_t>(npoints > n ? npoints : n) + 1;
  auto work = allocateOrStop<C>(r.log, 4 * len, " Aborting Burg due to Allocation error #: ",
                                "Allocate error in BURG routine");
  C* efk1 = work.data();
  C* ebk1 = efk1 + len;
  C* efk = ebk1 + len;
  C* ebk = efk + len;

  Real rho0 = 0;
  for (int i = 1; i <= n; ++i) rho0 += std::norm(x[i - 1]) / static_cast<Real>(n);
  for (int i = 2; i <= n; ++i) {
    efk1[i] = x[i - 1];
    ebk1[i - 1] = x[i - 2];
  }

  FMat<C>& aa = ModelTables<Real>::aa(r);
  FVec<Real>& rho = ModelTables<Real>::rho(r);
  auto degenerate = [&](int k, const char* why) {
    r.log.blank();
    r.log.put({" Burg recursion stopped at order", k, why});
    st.iflag = kIflagDegenerate;
  };

  Real previous = rho0;
  for (int k = 1; k <= ip; ++k) {
    stopPoint(r);
    C sumn(0, 0);
    Real sumd = 0;
    for (int i = k + 1; i <= n; ++i) {
      sumn += efk1[i] * std::conj(ebk1[i - 1]);
      sumd += std::norm(efk1[i]) + std::norm(ebk1[i - 1]);
    }
    if (!(sumd > Real(0))) {
      degenerate(k, ": the forward and backward errors are zero.");
      return;
    }
    if (!std::isfinite(sumd)) {
      degenerate(k, ": the error sums overflow (the data are too large).");
      return;
    }
    const C refl = Real(-2) * sumn / sumd;
    aa(k, k) = refl;
    rho(k) = (Real(1) - std::norm(refl)) * previous;
    previous = rho(k);
    // Exactly zero: every later order keeps it zero and the model has no noise to drive it.
    // (A value below zero is rounding; the recursion goes on, and the driver refuses a model
    // whose final noise variance is negative.)
    if (rho(k) == Real(0) || !std::isfinite(rho(k))) {
      degenerate(k, ": the prediction-error power is zero (the data are perfectly predictable).");
      return;
    }
    if (ip == 1) break;
    for (int j = 1; j <= k - 1; ++j) aa(j, k) = aa(j, k - 1) + refl * std::conj(aa(k - j, k - 1));
    for (int i = k + 2; i <= n; ++i) {
      efk[i] = efk1[i] + refl * ebk1[i - 1];
      ebk[i - 1] = ebk1[i - 2] + std::conj(refl) * efk1[i - 1];
    }
    for (int i = k + 2; i <= n; ++i) {
      efk1[i] = efk[i];
      ebk1[i - 1] = ebk[i - 1];
    }
  }

  sig2 = ip >= 1 ? rho(ip) : rho0;
  for (int i = 1; i <= ip; ++i) a[i - 1] = aa(i, ip);
}

template void burg<float>(Run&, const cplx*, int, int, cplx*, float&, int);
template void burg<double>(Run&, const dcplx*, int, int, dcplx*, double&, int);

}  // namespace voxtrel
