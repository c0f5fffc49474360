// Autocorrelation (Yule-Walker) AR method: the biased lags 0..p of the data, solved for the
// order-p AR model by the Levinson recursion; the noise variance is the order-p prediction-
// error power. Order 0 has no coefficients and the lag-0 power as its variance.
#include <algorithm>

#include "estimators.h"
#include "fatal.h"

namespace voxtrel {

void autocorr(Run& r, const cplx* x, int n, int ip, cplx* a, float& sig2, int npoints) {
  auto Rxx = allocateOrStop<cplx>(r.log, static_cast<std::size_t>(std::max(npoints, ip) + 1),
                                  " Aborting AutoCorr due to Allocation error #:",
                                  "Allocate error in AutoCorr routine");
  correlation(n, ip + 1, 1, x, x, Rxx.data());
  levinson(r, Rxx.data(), ip, a);
  sig2 = ip >= 1 ? r.st.rho(ip) : Rxx[0].real();
}

}  // namespace voxtrel
