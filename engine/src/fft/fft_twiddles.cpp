// Twiddle factors of every FFT stage, from cos and sin of the last stage's angles.
//
// The angle of factor k in a stage of span le is evaluated in the working precision (float
// shown; double alike, with 2^53 for 2^24) as
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

template <>
FftTwiddles::Table<float>& FftTwiddles::table<float>() {
  return single_;
}

template <>
FftTwiddles::Table<double>& FftTwiddles::table<double>() {
  return double_;
}

template <class Real>
const std::complex<Real>* FftTwiddles::ready(RunLog& log, int nexp, int invrs) {
  Table<Real>& t = table<Real>();
  if (nexp == t.nexp && invrs == t.invrs) return t.w.data();
  // Release the old table first: a large transform should not need two tables at once.
  t.nexp = -1;
  t.w = {};
  const int n = 1 << nexp;
  t.w = allocateOrStop<std::complex<Real>>(
      log, static_cast<std::size_t>(n),
      " Aborting FFT due to Allocation error #: ", "Allocate error in FFT routine");
  const Real pi = Real(4) * std::atan(Real(1));
  std::complex<Real>* last = t.w.data() + n / 2;
  for (int k = 0; k < n / 2; ++k) {
    const Real angle =
        Real(-2) * pi * static_cast<Real>(invrs) * static_cast<Real>(k) / static_cast<Real>(n);
    last[k] = std::complex<Real>(std::cos(angle), std::sin(angle));
  }
  for (int half = n / 4; half >= 1; half /= 2) {
    std::complex<Real>* stage = t.w.data() + half;
    const std::complex<Real>* next = t.w.data() + 2 * half;
    for (int k = 0; k < half; ++k) stage[k] = next[2 * k];
  }
  t.nexp = nexp;
  t.invrs = invrs;
  return t.w.data();
}

template const std::complex<float>* FftTwiddles::ready<float>(RunLog&, int, int);
template const std::complex<double>* FftTwiddles::ready<double>(RunLog&, int, int);

}  // namespace voxtrel
