// In-place radix-2 decimation-in-time FFT in single precision.
//
//   forward (invrs = 1):  X(k) = sum_n x(n) exp(-i 2 pi k n / N)
//   inverse (invrs = -1): x(n) = (1/N) sum_k X(k) exp(+i 2 pi k n / N)
//
// The data are first put in bit-reversed order (in place), then combined in nexp butterfly
// stages. The twiddle factor of butterfly k in a stage of span le is
// w = cos(a) + i sin(a), a = -2 pi invrs (k - 1) / le, evaluated in single precision; it
// depends only on k and le, so each stage computes its le/2 factors once. Each butterfly forms
// t = w b (as re = wr br - wi bi, im = wr bi + wi br), then b = a - t and a = a + t; the
// results do not depend on the order in which the butterflies of a stage are done.
#include <cmath>
#include <utility>
#include <vector>

#include "estimators.h"
#include "fatal.h"

namespace voxtrel {

namespace {

// One stage: groups of span le, butterflies k = 0..le/2-1 pairing k with k + le/2.
void stage(float* y, int n, int le, const float* wr, const float* wi) {
  const int half = le / 2;
  for (int start = 0; start < n; start += le) {
    float* a = y + 2 * start;
    float* b = a + 2 * half;
    for (int k = 0; k < half; ++k) {
      const float br = b[2 * k], bi = b[2 * k + 1];
      const float tr = wr[k] * br - wi[k] * bi;
      const float ti = wr[k] * bi + wi[k] * br;
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

  // Bit-reversed order, in place: element i takes element k, k the index i with its nexp bits
  // reversed (each pair swapped once). The reversed index is carried along by adding one at the
  // top bit with a reversed carry.
  int rev = 0;
  for (int i = 0; i < n; ++i) {
    if (i < rev) std::swap(x[i], x[rev]);
    int bit = n >> 1;
    while (bit > 0 && (rev & bit)) {
      rev ^= bit;
      bit >>= 1;
    }
    rev |= bit;
  }

  const float pi = 4.0f * std::atan(1.0f);
  const auto tableSize = static_cast<std::size_t>(n / 2 + 1);
  std::vector<float> wr = allocateOrStop<float>(
      r.log, tableSize,
      " Aborting FFT due to Allocation error #: ", "Allocate error in FFT routine");
  std::vector<float> wi = allocateOrStop<float>(
      r.log, tableSize,
      " Aborting FFT due to Allocation error #: ", "Allocate error in FFT routine");
  float* data = reinterpret_cast<float*>(x);
  int le = 1;
  for (int s = 0; s < nexp; ++s) {
    le *= 2;
    const int half = le / 2;
    for (int k = 1; k <= half; ++k) {
      const float angle = -2.0f * pi * static_cast<float>(invrs) * static_cast<float>(k - 1) /
                          static_cast<float>(le);
      wr[static_cast<std::size_t>(k - 1)] = std::cos(angle);
      wi[static_cast<std::size_t>(k - 1)] = std::sin(angle);
    }
    stage(data, n, le, wr.data(), wi.data());
  }

  if (invrs == -1) {
    const float fn = static_cast<float>(n);
    for (int i = 0; i < n; ++i) x[i] = cplx(x[i].real() / fn, x[i].imag() / fn);
  }
}

}  // namespace voxtrel
