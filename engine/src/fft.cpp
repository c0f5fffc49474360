// In-place radix-2 decimation-in-time FFT in single precision.
//
//   forward (invrs = 1):  X(k) = sum_n x(n) exp(-i 2 pi k n / N)
//   inverse (invrs = -1): x(n) = (1/N) sum_k X(k) exp(+i 2 pi k n / N)
//
// The data are first copied to a work array in bit-reversed order, then combined in nexp
// butterfly stages. The twiddle factor of butterfly k in a stage of span le is
// w = cos(a) + i sin(a), a = -2 pi invrs (k - 1) / le, evaluated in single precision; it
// depends only on k and le, so each stage computes its le/2 factors once.
#include <cmath>
#include <vector>

#include "estimators.h"
#include "fatal.h"

namespace voxtrel {

void fft(Run& r, cplx* x, int nexp, int invrs, int npoints) {
  std::vector<cplx> y = allocateOrStop<cplx>(r.log, static_cast<std::size_t>(npoints),
                                             " Aborting FFT due to Allocation error #: ",
                                             "Allocate error in FFT routine");
  const int n = 1 << nexp;

  // Bit-reversed copy: y(i) = x(k + 1), k the index i - 1 with its nexp bits reversed.
  for (int i = 0; i < n; ++i) {
    int rev = 0;
    for (int l = 0; l < nexp; ++l) rev |= ((i >> l) & 1) << (nexp - 1 - l);
    y[static_cast<std::size_t>(i)] = x[rev];
  }

  const float pi = 4.0f * std::atan(1.0f);
  std::vector<cplx> w;
  int le = 1;
  for (int stage = 0; stage < nexp; ++stage) {
    le *= 2;
    const int half = le / 2;
    w.resize(static_cast<std::size_t>(half));
    for (int k = 1; k <= half; ++k) {
      const float angle = -2.0f * pi * static_cast<float>(invrs) * static_cast<float>(k - 1) /
                          static_cast<float>(le);
      w[static_cast<std::size_t>(k - 1)] = cplx(std::cos(angle), std::sin(angle));
    }
    for (int start = 0; start < n; start += le) {
      for (int k = 0; k < half; ++k) {
        cplx& a = y[static_cast<std::size_t>(start + k)];
        cplx& b = y[static_cast<std::size_t>(start + k + half)];
        const cplx t = b * w[static_cast<std::size_t>(k)];
        b = a - t;
        a = a + t;
      }
    }
  }

  if (invrs == 1) {
    for (int i = 0; i < n; ++i) x[i] = y[static_cast<std::size_t>(i)];
  } else if (invrs == -1) {
    const float fn = static_cast<float>(n);
    for (int i = 0; i < n; ++i) x[i] = y[static_cast<std::size_t>(i)] / fn;
  }
}

}  // namespace voxtrel
