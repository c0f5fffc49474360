// Complex Levinson-Durbin recursion: solves the Yule-Walker equations of order p from the
// autocorrelation lags r(0..p), order by order:
//   aa(1,1) = -r(1) / r(0),                     rho(1) = (1 - |aa(1,1)|^2) r(0)
//   aa(k,k) = -(r(k) + sum_{j<k} aa(j,k-1) r(k-j)) / rho(k-1)      (reflection coefficient)
//   aa(j,k) = aa(j,k-1) + aa(k,k) conj(aa(k-j,k-1)),  j = 1..k-1    (Levinson update)
//   rho(k)  = (1 - |aa(k,k)|^2) rho(k-1)                            (prediction-error power)
// in the working precision (Real: float or double, each with its own tables). Column p of aa
// is the order-p model; a(j) = aa(j,p).
//
// A zero lag-0 power (all-zero data) or an error power that falls to zero at some order (a
// perfectly predictable signal, e.g. a lag-1 correlation as large as lag 0) leaves nothing to
// divide by and no noise variance: the recursion stops, names the order in the run log and
// reports the data as degenerate through iflag. Order 0 has no coefficients.
#include <cmath>
#include <string>

#include "estimators.h"
#include "fatal.h"
#include "fortran_format.h"
#include "precision_tables.h"

namespace voxtrel {

template <class Real>
void levinson(Run& r, const std::complex<Real>* Rxx, int ip, std::complex<Real>* a) {
  using C = std::complex<Real>;
  RunState& st = r.st;
  FVec<Real>& rho = ModelTables<Real>::rho(r);
  if (ip > st.maxorder) {
    const std::string dashes(72, '-');
    r.log.blank();
    r.log.blank();
    r.log.raw(dashes);
    r.log.raw("         Aborting ... IP > Max_Order in Levinson");
    r.log.raw("         IP / Max_Order = " + fmt::I(ip, 6) + fmt::I(st.maxorder, 6));
    r.log.raw(dashes);
    r.log.blank();
    r.log.blank();
    fatalStop(" Levinson ... Label 710");
  }
  if (ip < 1) return;

  auto degenerate = [&](int order, const char* why) {
    r.log.blank();
    r.log.put({" Levinson recursion stopped at order", order, why});
    st.iflag = kIflagDegenerate;
  };
  const Real r0 = Rxx[0].real();
  if (!(r0 > Real(0)) || !std::isfinite(r0)) {
    degenerate(1, ": the lag-0 power is zero (all-zero data?).");
    return;
  }

  // The error power must stay positive: zero means the data are perfectly predictable at that
  // order (the next reflection coefficient would divide by zero, and the model's variance
  // would be zero); below zero the recursion has lost its precision.
  auto powerGone = [&](int k) {
    if (rho(k) > Real(0) && std::isfinite(rho(k))) return false;
    degenerate(k, ": the prediction-error power is zero (the data are perfectly predictable).");
    return true;
  };

  FMat<C>& aa = ModelTables<Real>::aa(r);
  aa(1, 1) = -Rxx[1] / Rxx[0];
  rho(1) = (Real(1) - std::norm(aa(1, 1))) * r0;
  a[0] = aa(1, 1);
  if (powerGone(1)) return;
  for (int k = 2; k <= ip; ++k) {
    C t = -Rxx[k];
    for (int j = 1; j <= k - 1; ++j) t -= aa(j, k - 1) * Rxx[k - j];
    aa(k, k) = t / rho(k - 1);
    for (int j = 1; j <= k - 1; ++j)
      aa(j, k) = aa(j, k - 1) + aa(k, k) * std::conj(aa(k - j, k - 1));
    rho(k) = (Real(1) - std::norm(aa(k, k))) * rho(k - 1);
    if (powerGone(k)) return;
  }
  for (int j = 1; j <= ip; ++j) a[j - 1] = aa(j, ip);
}

template void levinson<float>(Run&, const cplx*, int, cplx*);
template void levinson<double>(Run&, const dcplx*, int, dcplx*);

}  // namespace voxtrel
