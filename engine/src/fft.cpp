// In-place radix-2 decimation-in-time FFT in single precision.
//
//   forward (invrs = 1):  X(k) = sum_n x(n) exp(-i 2 pi k n / N)
//   inverse (invrs = -1): x(n) = (1/N) sum_k X(k) exp(+i 2 pi k n / N)
//
// The data are first put in bit-reversed order (in place), then combined in nexp butterfly
// stages. The twiddle factor of butterfly k in a stage of span le is
// w = cos(a) + i sin(a), a = -2 pi invrs (k - 1) / le, evaluated in single precision; the
// factors of all stages are tabled once and the run keeps the table for the next transform of
// the same size and direction (fft_twiddles.h). Each butterfly forms
// t = w b (as re = wr br - wi bi, im = wr bi + wi br), then b = a - t and a = a + t; the
// results do not depend on the order in which the butterflies of a stage are done.
#include "bit_reverse.h"
#include "estimators.h"

namespace voxtrel {

namespace {

// One stage: groups of span le, butterflies k = 0..le/2-1 pairing k with k + le/2, with the
// stage's factors w[k].
void stage(float* y, int n, int le, const cplx* w) {
  const int half = le / 2;
  for (int start = 0; start < n; start += le) {
    float* a = y + 2 * start;
    float* b = a + 2 * half;
    for (int k = 0; k < half; ++k) {
      const float wr = w[k].real(), wi = w[k].imag();
      const float br = b[2 * k], bi = b[2 * k + 1];
      const float tr = wr * br - wi * bi;
      const float ti = wr * bi + wi * br;
      const float ar = a[2 * k], ai = a[2 * k + 1];
      b[2 * k] = ar - tr;
      b[2 * k + 1] = ai - ti;
      a[2 * k] = ar + tr;
      a[2 * k + 1] = ai + ti;
    }
  }
}

}  // namespace

void fft(Run& r, cplx* x, int nexp, int invrs, int npoints) {
  (void)npoints;  // the transform works in place on x[0 .. N-1]
  // Any direction other than forward or inverse leaves the data as they were.
  if (invrs != 1 && invrs != -1) return;
  const int n = 1 << nexp;

  bitReverse(x, nexp);
  const cplx* w = r.w.fftTwiddles().ready(r.log, nexp, invrs);
  float* data = reinterpret_cast<float*>(x);
  for (int le = 2; le <= n; le *= 2) stage(data, n, le, w + le / 2 - 1);

  if (invrs == -1) {
    const float fn = static_cast<float>(n);
    for (int i = 0; i < n; ++i) x[i] = cplx(x[i].real() / fn, x[i].imag() / fn);
  }
}

}  // namespace voxtrel
