// Autocorrelation (Yule-Walker) AR method: the biased lags 0..p of the data, solved for the
// order-p AR model by the Levinson recursion; the noise variance is the order-p prediction-
// error power. Order 0 has no coefficients and the lag-0 power as its variance.
// Written once for single and double precision: the lags, the recursion and its tables are of
// the data's precision.
#include <algorithm>

#include "estimators.h"
#include "fatal.h"
#include "precision_tables.h"

namespace voxtrel {

template <class Real>
void autocorr(Run& r, const std::complex<Real>* x, int n, int ip, std::complex<Real>* a, Real& sig2,
              int npoints) {
  auto Rxx = allocateOrStop<std::complex<Real>>(
      r.log, static_cast<std::size_t>(std::max(npoints, ip) + 1),
      " Aborting AutoCorr due to Allocation error #:", "Allocate error in AutoCorr routine");
  correlation(n, ip + 1, 1, x, x, Rxx.data());
  levinson(r, Rxx.data(), ip, a);
  sig2 = ip >= 1 ? ModelTables<Real>::rho(r)(ip) : Rxx[0].real();
}

template void autocorr<float>(Run&, const cplx*, int, int, cplx*, float&, int);
template void autocorr<double>(Run&, const dcplx*, int, int, dcplx*, double&, int);

}  // namespace voxtrel
