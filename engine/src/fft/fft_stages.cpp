// The FFT's butterfly stages one butterfly at a time, and the choice of variant.
#include "fft_stages.h"

#include "cpu_features.h"

namespace voxtrel {

void fftStagesPortable(float* y, int nexp, const std::complex<float>* table) {
  const int n = 1 << nexp;
  for (int le = 2; le <= n; le *= 2) {
    const int half = le / 2;
    const std::complex<float>* w = table + half;
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
}

void fftStages(float* y, int nexp, const std::complex<float>* table) {
  if (cpuHasAvx()) {
    fftStagesAvx(y, nexp, table);
  } else {
    fftStagesPortable(y, nexp, table);
  }
}

}  // namespace voxtrel
