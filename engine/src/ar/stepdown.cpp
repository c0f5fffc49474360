// Step-down recursion, the Levinson recursion run backwards: from the order-ip prediction-
// error filter 1 + b(1) z^-1 + ... + b(ip) z^-ip and its error power, every lower-order
// filter, the reflection coefficients aa(k,k), the error powers rho(k) and the zero-lag power:
//   den = 1 - |aa(k,k)|^2,  rho(k-1) = rho(k) / den,
//   aa(i,k-1) = (aa(i,k) - aa(k,k) conj(aa(k-i,k))) / den,  i = 1..k-1.
// A reflection coefficient of magnitude 1 makes den zero; callers test the magnitudes.
// Written once for single and double precision: aa and rho are the tables of the real type
// (precision_tables.h).
#include "estimators.h"
#include "precision_tables.h"

namespace voxtrel {

template <class Real>
void stepdown(Run& r, const std::complex<Real>* b, int ip, Real sig2, Real& rho0) {
  if (ip < 1) {
    rho0 = sig2;
    return;
  }
  auto& aa = ModelTables<Real>::aa(r);
  auto& rho = ModelTables<Real>::rho(r);
  for (int i = 1; i <= ip; ++i) aa(i, ip) = b[i - 1];
  rho(ip) = sig2;
  for (int k = ip; k >= 2; --k) {
    const Real den = Real(1) - std::norm(aa(k, k));
    rho(k - 1) = rho(k) / den;
    for (int i = 1; i <= k - 1; ++i)
      aa(i, k - 1) = (aa(i, k) - aa(k, k) * std::conj(aa(k - i, k))) / den;
  }
  rho0 = rho(1) / (Real(1) - std::norm(aa(1, 1)));
}

void stepdown(Run& r, int ip, float sig2, float& rho0) {
  stepdown(r, r.w.bc().data(), ip, sig2, rho0);
}

template void stepdown<float>(Run&, const cplx*, int, float, float&);
template void stepdown<double>(Run&, const dcplx*, int, double, double&);

}  // namespace voxtrel
