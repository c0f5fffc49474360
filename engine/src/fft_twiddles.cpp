// Twiddle factors of the last FFT stage.
//
// The angle of factor k in a stage of span le is evaluated in float as
//   a = fl(fl(c k) / le),  c = -2 pi invrs (exact: -2 and +-1 scale pi by powers of two).
// Integers below 2^24 are exact in float. For factor k 2^m of span le 2^m the exact product
// c k 2^m is the exact product c k scaled by 2^m, and its quotient by le 2^m is the exact
// quotient of c k by le; rounding to float commutes with scaling by a power of two as long as
// nothing overflows or falls into the subnormal range (|c k| < 2^27, and a nonzero |a| is at
// least 2 pi / 2^24), so both steps round to the same floats, zeros with their signs. The last
// stage's table, read at stride N / le, thus holds exactly the factors each earlier stage
// would compute, and cos and sin are evaluated N / 2 times instead of N - 1.
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
  const auto half = static_cast<std::size_t>(n / 2);
  w_ = allocateOrStop<std::complex<float>>(
      log, half, " Aborting FFT due to Allocation error #: ", "Allocate error in FFT routine");
  const float pi = 4.0f * std::atan(1.0f);
  for (std::size_t j = 0; j < half; ++j) {
    const float angle =
        -2.0f * pi * static_cast<float>(invrs) * static_cast<float>(j) / static_cast<float>(n);
    w_[j] = std::complex<float>(std::cos(angle), std::sin(angle));
  }
  nexp_ = nexp;
  invrs_ = invrs;
  return w_.data();
}

}  // namespace voxtrel
