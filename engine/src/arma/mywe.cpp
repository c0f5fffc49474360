// Modified Yule-Walker ARMA method and its two helpers.
//
// For an ARMA(p,q) process the autocorrelation obeys the AR recursion beyond lag q:
//   sum_{j=1}^{p} a(j) R(q+i-j) = -R(q+i),  i = 1..p,
// a non-Hermitian Toeplitz system (toepeqn). The data filtered by the estimated A(z)
// (czerofilt) are then close to an MA(q) series, whose MA part and noise variance Durbin's
// method fits.
//
// All three are written once for single and double precision (the real type of the data, the
// lags, the recursion and its tables).
#include <algorithm>
#include <cmath>
#include <vector>

#include "degenerate.h"
#include "estimators.h"
#include "fatal.h"
#include "precision_tables.h"

namespace voxtrel {

namespace {

// Lag m of the autocorrelation, R(-m) = conj(R(m)).
template <class C>
C lagR(const C* Rxx, int m) {
  return m >= 0 ? Rxx[m] : std::conj(Rxx[-m]);
}

template <class Real>
bool tooSmall(std::complex<Real> rho, Real eps) {
  const Real mag = std::abs(rho);
  return !(mag > eps);  // also true when rho is not a number
}

}  // namespace

// Solves sum_{j=1}^{p} a(j) R(q+i-j) = -R(q+i), i = 1..p, by the order recursion of a
// non-symmetric Toeplitz system with forward predictors aa(.,k) and backward predictors
// bb(.,k) (lags taken from the other side of the diagonal):
//   aa(k,k) = (-R(q+k) - sum_{j<k} R(q+k-j) aa(j,k-1)) / rho
//   aa(j,k) = aa(j,k-1) + aa(k,k) bb(k-j,k-1)
//   bb(k,k) = (-R(q-k) - sum_{j<k} R(q+j-k) bb(j,k-1)) / rho
//   bb(j,k) = bb(j,k-1) + bb(k,k) aa(k-j,k-1)
//   rho     = rho (1 - aa(k,k) bb(k,k)),   starting from rho = R(q) (1 - aa(1,1) bb(1,1)).
// iflag = -1 when |rho| is not above eps before an order that needs it (the last rho is not
// tested); a zero R(q) leaves the first order without a pivot: the run is marked degenerate.
template <class Real>
void toepeqn(Run& r, const std::complex<Real>* Rxx, int ip, int iq, Real eps, std::complex<Real>* a,
             int& iflag) {
  using C = std::complex<Real>;
  iflag = 0;
  if (ip < 1) return;
  const int q = iq;
  const C rq = lagR(Rxx, q);
  if (!(std::abs(rq) > Real(0)) || !std::isfinite(std::abs(rq))) {
    reportDegenerate(r, {" MYWE: the lag-q autocorrelation R(q) is zero at q = nZeros =", q,
                         "; the modified Yule-Walker equations have no pivot. Lower nZeros."});
    iflag = kIflagDegenerate;
    return;
  }
  FMat<C>& aa = ModelTables<Real>::aa(r);
  FMat<C>& bb = ModelTables<Real>::bb(r);
  aa(1, 1) = -lagR(Rxx, q + 1) / rq;
  if (ip > 1) {
    bb(1, 1) = -lagR(Rxx, q - 1) / rq;
    C rho = rq * (Real(1) - aa(1, 1) * bb(1, 1));
    if (tooSmall(rho, eps)) {
      iflag = -1;
      return;
    }
    for (int k = 2; k <= ip; ++k) {
      C num = -lagR(Rxx, q + k);
      for (int j = 1; j <= k - 1; ++j) num -= lagR(Rxx, q + k - j) * aa(j, k - 1);
      aa(k, k) = num / rho;
      for (int j = 1; j <= k - 1; ++j) aa(j, k) = aa(j, k - 1) + aa(k, k) * bb(k - j, k - 1);
      if (k == ip) break;
      C den = -lagR(Rxx, q - k);
      for (int j = 1; j <= k - 1; ++j) den -= lagR(Rxx, q + j - k) * bb(j, k - 1);
      bb(k, k) = den / rho;
      for (int j = 1; j <= k - 1; ++j) bb(j, k) = bb(j, k - 1) + bb(k, k) * aa(k - j, k - 1);
      rho *= Real(1) - aa(k, k) * bb(k, k);
      if (tooSmall(rho, eps)) {
        iflag = -1;
        return;
      }
    }
  }
  for (int i = 1; i <= ip; ++i) a[i - 1] = aa(i, ip);
}

// All-zero (FIR) filter with zero initial state:
//   y(i) = x(i) + sum_{j=1}^{min(i-1,ip)} A(j) x(i-j),  i = 1..n,
// each sum accumulated in double precision from x(i). No failure path.
template <class Real>
void czerofilt(const std::complex<Real>* x, int n, int ip, const std::complex<Real>* A,
               std::complex<Real>* y) {
  for (int i = 1; i <= n; ++i) {
    dcplx sum(x[i - 1]);
    const int top = std::min(i - 1, ip);
    for (int j = 1; j <= top; ++j) sum += dcplx(A[j - 1]) * dcplx(x[i - j - 1]);
    y[i - 1] = std::complex<Real>(sum);
  }
}

// Modified Yule-Walker ARMA(p,q): unbiased lags 0..p+q, toepeqn for a(1..p), then Durbin's
// method on the data filtered by A(z) for b(1..q) and sig2. iflag -1 (ill-conditioned
// recursion) leaves b and sig2 untouched. Data not longer than p + q, or all zero, are
// reported as degenerate.
template <class Real>
void mywe(Run& r, const std::complex<Real>* x, int n, int ip, int iq, Real eps,
          std::complex<Real>* a, std::complex<Real>* b, Real& sig2, int& iflag, int npoints) {
  using C = std::complex<Real>;
  iflag = 0;
  if (n <= ip + iq) {
    reportDegenerate(r, {" MYWE: nPoles + nZeros =", ip + iq, " is not below the", n,
                         " data points; use more data or lower the orders."});
    iflag = kIflagDegenerate;
    return;
  }
  const auto size = static_cast<std::size_t>(std::max(npoints, ip + iq + 1));
  auto Rxx = allocateOrStop<C>(
      r.log, size, " Aborting MYWE due to Allocation error #: ", "Allocate error in MYWE routine");
  auto y = allocateOrStop<C>(
      r.log, static_cast<std::size_t>(std::max(npoints, n)),
      " Aborting MYWE due to Allocation error #: ", "Allocate error in MYWE routine");
  correlation(n, ip + iq + 1, 0, x, x, Rxx.data());
  if (!(Rxx[0].real() > Real(0))) {
    reportDegenerate(r, {" MYWE: the data have zero power (all-zero data?); nothing to model."});
    iflag = kIflagDegenerate;
    return;
  }
  toepeqn(r, Rxx.data(), ip, iq, eps, a, iflag);
  if (iflag != 0) return;
  czerofilt(x, n, ip, a, y.data());
  durbinMaStage(r, y.data(), n, iq, b, sig2, npoints);
  if (runIsDegenerate(r)) iflag = kIflagDegenerate;
}

template void toepeqn<float>(Run&, const cplx*, int, int, float, cplx*, int&);
template void toepeqn<double>(Run&, const dcplx*, int, int, double, dcplx*, int&);
template void czerofilt<float>(const cplx*, int, int, const cplx*, cplx*);
template void czerofilt<double>(const dcplx*, int, int, const dcplx*, dcplx*);
template void mywe<float>(Run&, const cplx*, int, int, int, float, cplx*, cplx*, float&, int&, int);
template void mywe<double>(Run&, const dcplx*, int, int, int, double, dcplx*, dcplx*, double&, int&,
                           int);

}  // namespace voxtrel
