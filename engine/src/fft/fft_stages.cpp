// The FFT's butterfly stages one butterfly at a time, and the choice of variant.
#include "fft_stages.h"

#include "cpu_features.h"

namespace voxtrel {

template <class Real>
void fftStagesPortable(Real* y, int nexp, const std::complex<Real>* table) {
  const int n = 1 << nexp;
  for (int le = 2; le <= n; le *= 2) {
    const int half = le / 2;
    const std::complex<Real>* w = table + half;
    for (int start = 0; start < n; start += le) {
      Real* a = y + 2 * start;
      Real* b = a + 2 * half;
      for (int k = 0; k < half; ++k) {
        const Real wr = w[k].real(), wi = w[k].imag();
        const Real br = b[2 * k], bi = b[2 * k + 1];
        const Real tr = wr * br - wi * bi;
        const Real ti = wr * bi + wi * br;
        const Real ar = a[2 * k], ai = a[2 * k + 1];
        b[2 * k] = ar - tr;
        b[2 * k + 1] = ai - ti;
        a[2 * k] = ar + tr;
        a[2 * k + 1] = ai + ti;
      }
    }
  }
}

template <>
void fftStages<float>(float* y, int nexp, const std::complex<float>* table) {
  if (cpuHasAvx()) {
    fftStagesAvx(y, nexp, table);
  } else {
    fftStagesPortable(y, nexp, table);
  }
}

template <>
void fftStages<double>(double* y, int nexp, const std::complex<double>* table) {
  if (cpuHasAvx()) {
    fftStagesAvx(y, nexp, table);
  } else {
    fftStagesPortable(y, nexp, table);
  }
}

template void fftStagesPortable<float>(float*, int, const std::complex<float>*);
template void fftStagesPortable<double>(double*, int, const std::complex<double>*);

}  // namespace voxtrel
