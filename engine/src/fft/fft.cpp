// In-place radix-2 decimation-in-time FFT, in single or double precision (the real type).
//
//   forward (invrs = 1):  X(k) = sum_n x(n) exp(-i 2 pi k n / N)
//   inverse (invrs = -1): x(n) = (1/N) sum_k X(k) exp(+i 2 pi k n / N)
//
// The data are first put in bit-reversed order (in place), then combined in nexp butterfly
// stages. The twiddle factor of butterfly k in a stage of span le is
// w = cos(a) + i sin(a), a = -2 pi invrs (k - 1) / le, evaluated in the working precision; the
// factors of all stages are tabled once and the run keeps the table for the next transform of
// the same size and direction (fft_twiddles.h). Each butterfly forms
// t = w b (as re = wr br - wi bi, im = wr bi + wi br), then b = a - t and a = a + t; the
// results do not depend on the order in which the butterflies of a stage are done, nor on
// how many are done at once (fft_stages.h).
#include "bit_reverse.h"
#include "estimators.h"
#include "fft_stages.h"
#include "stop_point.h"

namespace voxtrel {

template <class Real>
void fft(Run& r, std::complex<Real>* x, int nexp, int invrs, int npoints) {
  (void)npoints;  // the transform works in place on x[0 .. N-1]
  // Any direction other than forward or inverse leaves the data as they were.
  if (invrs != 1 && invrs != -1) return;
  const int n = 1 << nexp;

  stopPoint(r);
  bitReverse(x, nexp);
  // The factors of transforms up to 2^16 points are kept by the thread between runs (at most
  // half a megabyte per precision): runs of the same size, one after another, compute them once.
  // Larger transforms keep theirs for the run only.
  thread_local FftTwiddles kept;
  FftTwiddles& twiddles = nexp <= 16 ? kept : r.w.fftTwiddles();
  const std::complex<Real>* w = twiddles.ready<Real>(r.log, nexp, invrs);
  fftStages(reinterpret_cast<Real*>(x), nexp, w);

  if (invrs == -1) {
    const Real fn = static_cast<Real>(n);
    for (int i = 0; i < n; ++i) x[i] = std::complex<Real>(x[i].real() / fn, x[i].imag() / fn);
  }
}

template void fft<float>(Run&, cplx*, int, int, int);
template void fft<double>(Run&, dcplx*, int, int, int);

}  // namespace voxtrel
