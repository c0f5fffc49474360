// Step-down recursion, the Levinson recursion run backwards: from the order-ip prediction-
// error filter 1 + bc(1) z^-1 + ... + bc(ip) z^-ip and its error power, every lower-order
// filter, the reflection coefficients aa(k,k), the error powers rho(k) and the zero-lag power:
//   den = 1 - |aa(k,k)|^2,  rho(k-1) = rho(k) / den,
//   aa(i,k-1) = (aa(i,k) - aa(k,k) conj(aa(k-i,k))) / den,  i = 1..k-1.
// A reflection coefficient of magnitude 1 makes den zero; callers test the magnitudes.
#include "estimators.h"

namespace voxtrel {

void stepdown(Run& r, int ip, float sig2, float& rho0) {
  if (ip < 1) {
    rho0 = sig2;
    return;
  }
  FMat<cplx>& aa = r.w.aa();
  FVec<cplx>& bc = r.w.bc();
  FVec<float>& rho = r.st.rho;
  for (int i = 1; i <= ip; ++i) aa(i, ip) = bc(i);
  rho(ip) = sig2;
  for (int k = ip; k >= 2; --k) {
    const float den = 1.0f - std::norm(aa(k, k));
    rho(k - 1) = rho(k) / den;
    for (int i = 1; i <= k - 1; ++i)
      aa(i, k - 1) = (aa(i, k) - aa(k, k) * std::conj(aa(k - i, k))) / den;
  }
  rho0 = rho(1) / (1.0f - std::norm(aa(1, 1)));
}

}  // namespace voxtrel
