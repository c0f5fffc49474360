// Periodogram: the windowed data, zero-padded to N = 2^nexp, transformed; |X|^2 / n returned
// in centred order (pper[N/2] is zero frequency, pper[0] minus half the sampling frequency).
// The scale is 1/n, the number of data points, with no correction for the window's energy.
#include "estimators.h"

namespace voxtrel {

template <class Real>
void periodogram(Run& r, std::complex<Real>* x, int n, const Real* w, int nexp, Real* pper,
                 int npoints) {
  for (int i = 0; i < n; ++i) x[i] *= w[i];
  const int big = 1 << nexp;
  for (int i = n; i < big; ++i) x[i] = std::complex<Real>(0, 0);
  fft(r, x, nexp, 1, npoints);
  const int half = big / 2;
  const Real fn = static_cast<Real>(n);
  for (int i = 0; i < half; ++i) {
    pper[half + i] = std::norm(x[i]) / fn;
    pper[i] = std::norm(x[half + i]) / fn;
  }
}

template void periodogram<float>(Run&, cplx*, int, const float*, int, float*, int);
template void periodogram<double>(Run&, dcplx*, int, const double*, int, double*, int);

}  // namespace voxtrel
