// Twiddle factors of every FFT stage, from cos and sin of the last stage's angles.
//
// The angle of factor k in a stage of span le is evaluated in float as
//   a = fl(fl(c k) / le),  c = -2 pi invrs (exact: -2 and +-1 scale pi by powers of two).
// Integers below 2^24 are exact in float. For factor k 2^m of span le 2^m the exact product
// c k 2^m is the exact product c k scaled by 2^m, and its quotient by le 2^m is the exact
// quotient of c k by le; rounding to float commutes with scaling by a power of two as long as
// nothing overflows or falls into the subnormal range (|c k| < 2^27, and a nonzero |a| is at
// least 2 pi / 2^24), so both steps round to the same floats, zeros with their signs. Factor k
// of stage le is therefore exactly factor 2k of stage 2le: cos and sin are evaluated for the
// N/2 factors of the last stage only, and each earlier stage takes every other factor of the
// next one.
#include "fft_twiddles.h"

#include <cmath>

#include "fatal.h"

namespace voxtrel {

const std::complex<float>* FftTwiddles::ready(RunLog& log, int nexp, int invrs) {
  if (nexp == nexp_ && invrs == invrs_) return w_.data();
  // Release the old table first: a large transform should not need two tables at once.
  nexp_ = -1;
  w_ = {};
  const int n = 1 << nexp;
  w_ = allocateOrStop<std::complex<float>>(
      log, static_cast<std::size_t>(n),
      " Aborting FFT due to Allocation error #: ", "Allocate error in FFT routine");
  const float pi = 4.0f * std::atan(1.0f);
  std::complex<float>* last = w_.data() + n / 2;
  for (int k = 0; k < n / 2; ++k) {
    const float angle =
        -2.0f * pi * static_cast<float>(invrs) * static_cast<float>(k) / static_cast<float>(n);
    last[k] = std::complex<float>(std::cos(angle), std::sin(angle));
  }
  for (int half = n / 4; half >= 1; half /= 2) {
    std::complex<float>* stage = w_.data() + half;
    const std::complex<float>* next = w_.data() + 2 * half;
    for (int k = 0; k < half; ++k) stage[k] = next[2 * k];
  }
  nexp_ = nexp;
  invrs_ = invrs;
  return w_.data();
}

}  // namespace voxtrel
