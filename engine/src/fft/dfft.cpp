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
  const std::size_t n = x.size();
  if (n < 2) return;
  // Bit-reversed order first, then the butterflies of decimation in time.
  for (std::size_t i = 1, j = 0; i < n; ++i) {
    std::size_t bit = n >> 1;
    for (; j & bit; bit >>= 1) j ^= bit;
    j |= bit;
    if (i < j) std::swap(x[i], x[j]);
  }
  // The factors of the stage of span m, exp(sign i 2 pi k / m) for k < m/2, side by side (real
  // parts, then imaginary parts) at offset m/2 - 1 of one table: every stage reads its factors
  // in order. Each is computed from its own angle, and the table is kept for the next call of
  // the same length and direction.
  // One table per direction: a correlation transforms forward, then back, at one length.
  struct Table {
    std::vector<double> w;
    std::size_t size = 0;
  };
  // Kept by the thread for lengths up to 2^16 (1 MB a direction); a longer transform's table is
  // its own, so a run of millions of points leaves nothing of that size behind.
  thread_local Table tables[2];
  Table own;
  Table& t = n <= (std::size_t{1} << 16) ? tables[sign > 0 ? 1 : 0] : own;
  if (t.size != n) {
    t.w.assign(2 * n, 0.0);
    for (std::size_t half = 1; half < n; half <<= 1) {
      const double step = 3.14159265358979323846 / static_cast<double>(half);
      for (std::size_t k = 0; k < half; ++k) {
        const double a = step * static_cast<double>(k);
        t.w[2 * (half - 1) + k] = std::cos(a);
        t.w[2 * (half - 1) + half + k] = sign * std::sin(a);
      }
    }
    t.size = n;
  }
  const std::vector<double>& table = t.w;
  double* v = reinterpret_cast<double*>(x.data());  // re, im interleaved
  // Span 2: the factor is 1.
  for (std::size_t s = 0; s < n; s += 2) {
    const double ar = v[2 * s], ai = v[2 * s + 1], br = v[2 * s + 2], bi = v[2 * s + 3];
    v[2 * s] = ar + br;
    v[2 * s + 1] = ai + bi;
    v[2 * s + 2] = ar - br;
    v[2 * s + 3] = ai - bi;
  }
  for (std::size_t half = 2; half < n; half <<= 1) {
    const double* wr = table.data() + 2 * (half - 1);
    const double* wi = wr + half;
    for (std::size_t s = 0; s < n; s += 2 * half) {
      double* lo = v + 2 * s;
      double* hi = lo + 2 * half;
      for (std::size_t k = 0; k < half; ++k) {
        // The product written out: the library's complex multiply also checks for NaN.
        const double br = hi[2 * k], bi = hi[2 * k + 1];
        const double tr = wr[k] * br - wi[k] * bi, ti = wr[k] * bi + wi[k] * br;
        const double ar = lo[2 * k], ai = lo[2 * k + 1];
        hi[2 * k] = ar - tr;
        hi[2 * k + 1] = ai - ti;
        lo[2 * k] = ar + tr;
        lo[2 * k + 1] = ai + ti;
      }
    }
  }
}

}  // namespace voxtrel
