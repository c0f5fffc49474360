#include "dfft.h"

#include <cmath>
#include <utility>

namespace voxtrel {

std::size_t dfftSize(std::size_t n) {
  std::size_t m = 1;
  while (m < n) m <<= 1;
  return m;
}

void dfft(std::vector<std::complex<double>>& x, int sign) {
  using dc = std::complex<double>;
  const std::size_t n = x.size();
  if (n < 2) return;
  // Bit-reversed order first, then the butterflies of decimation in time.
  for (std::size_t i = 1, j = 0; i < n; ++i) {
    std::size_t bit = n >> 1;
    for (; j & bit; bit >>= 1) j ^= bit;
    j |= bit;
    if (i < j) std::swap(x[i], x[j]);
  }
  // w[k] = exp(sign i 2 pi k / n), k < n/2; the stage of span m uses every (n/m)-th one.
  std::vector<dc> w(n / 2);
  const double step = 2.0 * 3.14159265358979323846 / static_cast<double>(n);
  for (std::size_t k = 0; k < n / 2; ++k) {
    const double a = step * static_cast<double>(k);
    w[k] = dc(std::cos(a), sign * std::sin(a));
  }
  for (std::size_t m = 2; m <= n; m <<= 1) {
    const std::size_t half = m / 2, stride = n / m;
    for (std::size_t s = 0; s < n; s += m) {
      for (std::size_t k = 0; k < half; ++k) {
        // The product written out: the library's complex multiply also checks for NaN.
        const dc a = w[k * stride], b = x[s + k + half];
        const dc t(a.real() * b.real() - a.imag() * b.imag(),
                   a.real() * b.imag() + a.imag() * b.real());
        x[s + k + half] = x[s + k] - t;
        x[s + k] += t;
      }
    }
  }
}

}  // namespace voxtrel
