// Sample correlation lags of two complex sequences:
//   Rxx(k+1) = sum_{j=1}^{n-k} conj(x(j)) y(j+k) / (n - k)   (mode 0, unbiased)
//   Rxx(k+1) = sum_{j=1}^{n-k} conj(x(j)) y(j+k) / n         (otherwise, biased)
// for k = 0..lag-1, each sum accumulated in double precision. A lag at or beyond n has an
// empty sum and is 0 in both modes.
#include "estimators.h"

namespace voxtrel {

void correlation(int n, int lag, int mode, const cplx* x, const cplx* y, cplx* Rxx) {
  for (int k = 0; k < lag; ++k) {
    if (n - k <= 0) {
      Rxx[k] = cplx(0, 0);
      continue;
    }
    dcplx s(0, 0);
    for (int j = 0; j < n - k; ++j) s += dcplx(std::conj(x[j])) * dcplx(y[j + k]);
    const double div = mode == 0 ? static_cast<double>(n - k) : static_cast<double>(n);
    Rxx[k] = cplx(s / div);
  }
}

}  // namespace voxtrel
