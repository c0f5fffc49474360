// Mayne-Firoozan three-stage ARMA method.
//   1. A long AR(L) model by the autocorrelation method; its prediction errors u estimate the
//      driving noise.
//   2. Linear least squares of x(t) on x(t-1..t-p) and u(t-1..t-q) gives first estimates of
//      A and B (ls).
//   3. With B minimum phase, data and noise estimates are filtered by 1/B (cpolefilt),
//      y = x/B and z = u/B, and the regression of y - z on y(t-1..t-p), z(t-1..t-q) is
//      repeated: this is one Gauss-Newton step on the prediction error (A/B) x.
// The noise variance is the power of x filtered by A/B, measured with the FFT (varm).
// Every routine here is written once for single and double precision (the real type of the
// data, the filters and the solver tables, precision_tables.h).
#include <algorithm>
#include <cmath>
#include <vector>

#include "degenerate.h"
#include "estimators.h"
#include "fatal.h"
#include "precision_tables.h"
#include "stop_point.h"

namespace voxtrel {

// Least-squares fit of w(t) by sum_{k=1}^{p} c(k) y(t-k) + sum_{k=1}^{q} c(p+k) u(t-k),
// t = 1..n, values before the first sample taken as zero. Normal equations
//   sum_t conj(phi_j(t)) phi_i(t) c = sum_t conj(phi_i(t)) w(t)
// packed into hc and theta (sums in double precision) and solved by cholesky. Output
// a(k) = -c(k), bc(k) = c(p+k); iflag -1 from the solver (results then meaningless), or
// kIflagDegenerate when the first regressor is zero (the solver does not test that pivot).
template <class Real>
void ls(Run& r, const std::complex<Real>* y, const std::complex<Real>* u,
        const std::complex<Real>* w, int n, int ip, int iq, Real eps, std::complex<Real>* a,
        int& iflag) {
  using C = std::complex<Real>;
  iflag = 0;
  const int p = ip, q = iq, np = ip + iq;
  if (np < 1) return;
  FVec<C>& hc = ModelTables<Real>::hc(r);
  FVec<C>& theta = ModelTables<Real>::theta(r);
  lsMatrix(y, u, n, ip, iq, hc.data());
  // Right-hand side sum_t conj(phi_i(t)) w(t); phi_i(t) is zero for t <= lag.
  for (int i = 1; i <= np; ++i) {
    stopPoint(r);
    const C* x = i <= p ? y : u;
    const int lag = i <= p ? i : i - p;
    dcplx s(0, 0);
    for (int t = 1; t <= n; ++t)
      s += std::conj(dcplx(t > lag ? x[t - lag - 1] : C(0, 0))) * dcplx(w[t - 1]);
    theta(i) = C(s);
  }
  if (!(hc(1).real() > Real(0))) {
    reportDegenerate(r, {" MAYNEFIR: the first regressor of the least-squares fit is zero",
                         " (all-zero data?); nothing to fit."});
    iflag = kIflagDegenerate;
    return;
  }
  cholesky(r, np, eps, iflag);
  FVec<C>& bc = ModelTables<Real>::bc(r);
  for (int k = 1; k <= q; ++k) bc(k) = theta(p + k);
  for (int k = 1; k <= p; ++k) a[k - 1] = -theta(k);
}

// Complex all-pole filter with zero initial state, sums in the precision of the data:
//   y(1) = x(1),  y(i) = x(i) - sum_{j=1}^{min(i-1,iq)} b(j) y(i-j),  i = 2..n.
template <class Real>
void cpolefilt(const std::complex<Real>* x, int n, const std::complex<Real>* b, int iq,
               std::complex<Real>* y) {
  for (int i = 1; i <= n; ++i) {
    std::complex<Real> sum = x[i - 1];
    const int top = std::min(i - 1, iq);
    for (int j = 1; j <= top; ++j) sum -= b[j - 1] * y[i - j - 1];
    y[i - 1] = sum;
  }
}

// True when every reflection coefficient of 1 + b(1) z^-1 + ... + b(q) z^-q, b(k) = b[k-1], is
// below 1 in magnitude (the polynomial is minimum phase); the step-down recursion gives them in
// aa(k,k) (the table of the real type). Written once for single and double precision.
template <class Real>
bool maMinimumPhase(Run& r, const std::complex<Real>* b, int iq, int* failedOrder,
                    std::type_identity_t<Real>* failedMagnitude) {
  if (iq < 1) return true;
  auto& aa = ModelTables<Real>::aa(r);
  if (iq == 1) {
    aa(1, 1) = b[0];
  } else {
    Real rho0 = 0;
    stepdown(r, b, iq, Real(1), rho0);
  }
  for (int k = 1; k <= iq; ++k) {
    const Real mag = std::abs(aa(k, k));
    if (!(mag < Real(1))) {
      if (failedOrder) *failedOrder = k;
      if (failedMagnitude) *failedMagnitude = mag;
      return false;
    }
  }
  return true;
}

// AR estimates in a(1..ip) (the solver vector theta), MA estimates in bc(1..iq) (the tables
// of the real type), sig2 from
// varm. iflag: 0, -1 ill-conditioned regression, 1 first MA estimate not minimum phase (a from
// the first regression, sig2 from the long model). A long order L outside 1..n-1 or all-zero
// data are reported as degenerate. The data array x is overwritten by varm.
template <class Real>
void maynefir(Run& r, std::complex<Real>* x, int n, int ip, int iq, int l, Real eps, int nexp,
              std::complex<Real>* a, Real& sig2, int& iflag, int npoints) {
  using C = std::complex<Real>;
  iflag = 0;
  if (l < 1 || l >= n) {
    reportDegenerate(r, {" MAYNEFIR: the long AR order L_pts =", l, " must lie between 1 and the",
                         n, " data points less one; nPts / 5 usually works well."});
    iflag = kIflagDegenerate;
    return;
  }
  const auto size = static_cast<std::size_t>(std::max(npoints, n));
  auto u = allocateOrStop<C>(r.log, size, " Aborting MAYNEFIR due to Allocation error #:",
                             "Allocate error in MAYNEFIR routine");
  auto y = allocateOrStop<C>(r.log, size, " Aborting MAYNEFIR due to Allocation error #:",
                             "Allocate error in MAYNEFIR routine");
  auto z = allocateOrStop<C>(r.log, size, " Aborting MAYNEFIR due to Allocation error #:",
                             "Allocate error in MAYNEFIR routine");
  auto yz = allocateOrStop<C>(r.log, size, " Aborting MAYNEFIR due to Allocation error #:",
                              "Allocate error in MAYNEFIR routine");

  autocorr(r, x, n, l, a, sig2, npoints);
  if (runIsDegenerate(r)) {
    iflag = kIflagDegenerate;
    return;
  }
  czerofilt(x, n, l, a, u.data());

  ls(r, x, u.data(), x, n, ip, iq, eps, a, iflag);
  if (iflag != 0) return;

  const C* bc = ModelTables<Real>::bc(r).data();
  if (!maMinimumPhase(r, bc, iq, nullptr, nullptr)) {
    iflag = 1;
    return;
  }
  cpolefilt(x, n, bc, iq, y.data());
  cpolefilt(u.data(), n, bc, iq, z.data());
  for (int i = 0; i < n; ++i)
    yz[static_cast<std::size_t>(i)] =
        y[static_cast<std::size_t>(i)] - z[static_cast<std::size_t>(i)];

  ls(r, y.data(), z.data(), yz.data(), n, ip, iq, eps, a, iflag);
  if (iflag != 0) return;
  stopPoint(r);
  varm(r, x, n, a, ip, bc, iq, nexp, sig2, npoints);
}

template void ls<float>(Run&, const cplx*, const cplx*, const cplx*, int, int, int, float, cplx*,
                        int&);
template void ls<double>(Run&, const dcplx*, const dcplx*, const dcplx*, int, int, int, double,
                         dcplx*, int&);
template void cpolefilt<float>(const cplx*, int, const cplx*, int, cplx*);
template void cpolefilt<double>(const dcplx*, int, const dcplx*, int, dcplx*);
template void maynefir<float>(Run&, cplx*, int, int, int, int, float, int, cplx*, float&, int&,
                              int);
template void maynefir<double>(Run&, dcplx*, int, int, int, int, double, int, dcplx*, double&, int&,
                               int);
template bool maMinimumPhase<float>(Run&, const cplx*, int, int*, float*);
template bool maMinimumPhase<double>(Run&, const dcplx*, int, int*, double*);

}  // namespace voxtrel
