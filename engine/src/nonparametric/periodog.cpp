// Periodogram: the windowed data, zero-padded to N = 2^nexp, transformed; |X|^2 / n returned
// in centred order (pper[N/2] is zero frequency, pper[0] minus half the sampling frequency).
// The scale is 1/n, the number of data points, with no correction for the window's energy.
#include "estimators.h"

namespace voxtrel {

void periodogram(Run& r, cplx* x, int n, const float* w, int nexp, float* pper, int npoints) {
  for (int i = 0; i < n; ++i) x[i] *= w[i];
  const int big = 1 << nexp;
  for (int i = n; i < big; ++i) x[i] = cplx(0, 0);
  fft(r, x, nexp, 1, npoints);
  const int half = big / 2;
  const float fn = static_cast<float>(n);
  for (int i = 0; i < half; ++i) {
    pper[half + i] = std::norm(x[i]) / fn;
    pper[i] = std::norm(x[half + i]) / fn;
  }
}

}  // namespace voxtrel
