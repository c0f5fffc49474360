// Double-precision complex FFT for the engine's own sums (correlation lags, quadratic forms
// evaluated on a frequency grid): radix-2, in place, the twiddle factors each computed directly
// from its angle so that the error does not grow with the length.
#pragma once

#include <complex>
#include <vector>

namespace voxtrel {

// x <- sum_j x(j) exp(sign * i 2 pi j k / N), N = x.size() a power of two (1 included);
// sign is -1 (forward) or +1; no scaling.
void dfft(std::vector<std::complex<double>>& x, int sign);

// The smallest power of two not below n (n >= 1).
std::size_t dfftSize(std::size_t n);

}  // namespace voxtrel
