// Durbin's moving-average estimator. An MA(q) process x = B(z) e has the infinite AR
// representation (1/B(z)) x = e; a long AR(L) model A_L(z) of the data approximates 1/B(z),
// so B(z) A_L(z) ~ 1, and B is recovered as the order-q AR model whose prediction-error filter
// best whitens the coefficient sequence 1, a(1), ..., a(L):
//   1. autocorrelation method of order L on x: a(1..L) and sig2 = the order-L error power;
//   2. ap = (1, a(1), ..., a(L));
//   3. autocorrelation method of order q on ap (biased lags over L + 1 points): b(1..q).
// The noise variance is that of step 1; the variance of the second fit is discarded.
// Written once for single and double precision: the fits run in the data's precision.
#include <algorithm>
#include <vector>

#include "degenerate.h"
#include "estimators.h"
#include "stop_point.h"

namespace voxtrel {

// Steps 1-3 above for any order: b(1..iq) and sig2. iq = 0 gives sig2 only. A long model
// that Levinson cannot build (all-zero data) leaves the run marked degenerate by levinson.
template <class Real>
void durbinFit(Run& r, const std::complex<Real>* x, int n, int iq, int l, std::complex<Real>* b,
               Real& sig2, int npoints) {
  using C = std::complex<Real>;
  // The long model may use every order the AR tables hold.
  std::vector<C> along(static_cast<std::size_t>(std::max(l, 1)));
  autocorr(r, x, n, l, along.data(), sig2, npoints);
  if (runIsDegenerate(r)) return;

  if (iq < 1) return;  // no MA part: only the noise variance is wanted
  stopPoint(r);
  std::vector<C> ap(static_cast<std::size_t>(std::max(l, 0)) + 1);
  ap[0] = C(1, 0);
  for (int j = 1; j <= l; ++j)
    ap[static_cast<std::size_t>(j)] = along[static_cast<std::size_t>(j - 1)];
  Real pb = 0;
  autocorr(r, ap.data(), l + 1, iq, b, pb, std::max(npoints, l + 1));
}

// The MA stage of the modified Yule-Walker methods: durbinFit on the AR-filtered data with
// L = n/5. Beyond maxorder the AR tables end, so L is limited to it (noted in the run log).
template <class Real>
void durbinMaStage(Run& r, const std::complex<Real>* y, int n, int iq,
                   std::type_identity_t<std::complex<Real>>* b, Real& sig2, int npoints) {
  int l = n / 5;
  if (l > r.st.maxorder) {
    // The AR tables hold maxorder orders; a longer model buys nothing for q <= 200 zeros.
    r.log.put({" Durbin stage: long AR order n/5 =", l, " limited to Max_Order =", r.st.maxorder});
    l = r.st.maxorder;
  }
  durbinFit(r, y, n, iq, l, b, sig2, npoints);
}

// The DURBIN method: durbinFit with the user's L. No zeros (q < 1) or L not below the number
// of data points leave nothing sound to estimate: the run is marked degenerate with a line
// naming the parameter.
template <class Real>
void durbin(Run& r, const std::complex<Real>* x, int n, int iq, int l, std::complex<Real>* b,
            Real& sig2, int npoints) {
  if (iq < 1) {
    reportDegenerate(r, {" DURBIN: nZeros =", iq,
                         " leaves no MA coefficient to estimate; enter nZeros of 1 or more."});
    return;
  }
  if (l >= n) {
    reportDegenerate(r, {" DURBIN: the long AR order L_pts =", l, " is not below the", n,
                         " data points; enter L_pts below nPts (nPts / 5 usually works well)."});
    return;
  }
  durbinFit(r, x, n, iq, l, b, sig2, npoints);
}

template void durbinFit<float>(Run&, const cplx*, int, int, int, cplx*, float&, int);
template void durbinFit<double>(Run&, const dcplx*, int, int, int, dcplx*, double&, int);
template void durbinMaStage<float>(Run&, const cplx*, int, int, cplx*, float&, int);
template void durbinMaStage<double>(Run&, const dcplx*, int, int, dcplx*, double&, int);
template void durbin<float>(Run&, const cplx*, int, int, int, cplx*, float&, int);
template void durbin<double>(Run&, const dcplx*, int, int, int, dcplx*, double&, int);

}  // namespace voxtrel
