// In-place bit-reversal permutation, the reordering that precedes decimation-in-time FFT
// stages.
#pragma once

#include <complex>

namespace voxtrel {

// x[i] and x[rev(i)] trade places for i = 0 .. 2^nexp - 1, rev(i) being i with its nexp bits
// in reverse order.
template <class Real>
void bitReverse(std::complex<Real>* x, int nexp);

}  // namespace voxtrel
