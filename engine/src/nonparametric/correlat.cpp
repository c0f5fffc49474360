// Sample correlation lags of two complex sequences:
//   Rxx(k+1) = sum_{j=1}^{n-k} conj(x(j)) y(j+k) / (n - k)   (mode 0, unbiased)
//   Rxx(k+1) = sum_{j=1}^{n-k} conj(x(j)) y(j+k) / n         (otherwise, biased)
// for k = 0..lag-1, each sum accumulated in double precision over j in order, each term formed
// as the complex multiply forms it (the data are finite, so no term needs its not-a-number
// recovery). A lag at or beyond n has an empty sum and is 0 in both modes.
//
// Blocks of consecutive lags are summed side by side in vector lanes: at each j the block's
// right factors y(j+k) are consecutive, held split into real and imaginary doubles one chunk of
// j at a time (so the work space stays small whatever n), and conj(x(j)) is the same in every
// lane. Each lane runs over the j that every lag of its block has, then finishes its own last
// terms alone: every sum sees the same terms in the same order as one lag at a time. The two
// products of a term are exact in double (products of floats), so taking them in either order
// gives the same sum.
#include <algorithm>
#include <vector>

#include "cpu_features.h"
#include "estimators.h"
#include "lane_sums.h"

namespace voxtrel {

namespace {

constexpr int kVectors = 2;   // vectors of lanes per block of lags
constexpr int kChunk = 1024;  // values of j whose right factors are split at a time

// Sums of the lags of complete blocks into sr/si; returns the first lag not summed.
template <class V>
[[gnu::always_inline]] inline int lagBlocks(int n, int lags, const cplx* x, const cplx* y,
                                            double* sr, double* si) {
  constexpr int kW = kLaneCount<V>, kBlock = kW * kVectors;
  double yr[kChunk + kBlock], yi[kChunk + kBlock];
  int k0 = 0;
  for (; k0 + kBlock <= lags; k0 += kBlock) {
    V r[kVectors], m[kVectors], lr, li, br, bi;
    for (int v = 0; v < kVectors; ++v) {
      splat(r[v], 0.0);
      m[v] = r[v];
    }
    const int common = n - (k0 + kBlock - 1);  // j below this is a term of every lag
    for (int j0 = 0; j0 < common; j0 += kChunk) {
      const int j1 = std::min(common, j0 + kChunk);
      const int count = (j1 - j0) + kBlock - 1;  // y(j + k), j0 <= j < j1, k0 <= k < k0 + kBlock
      for (int c = 0; c < count; ++c) {
        yr[c] = y[j0 + k0 + c].real();
        yi[c] = y[j0 + k0 + c].imag();
      }
      for (int j = j0; j < j1; ++j) {
        splat(br, static_cast<double>(x[j].real()));  // conj(x(j))
        splat(bi, static_cast<double>(-x[j].imag()));
        for (int v = 0; v < kVectors; ++v) {
          loadLanes(lr, yr + (j - j0) + v * kW);
          loadLanes(li, yi + (j - j0) + v * kW);
          addProduct(r[v], m[v], lr, li, br, bi);
        }
      }
    }
    for (int v = 0; v < kVectors; ++v) {
      std::memcpy(sr + k0 + v * kW, &r[v], sizeof(V));
      std::memcpy(si + k0 + v * kW, &m[v], sizeof(V));
    }
    // Each lag's own last terms.
    for (int k = k0; k < k0 + kBlock; ++k) {
      dcplx s(sr[k], si[k]);
      for (int j = std::max(common, 0); j < n - k; ++j)
        s += dcplx(std::conj(x[j])) * dcplx(y[j + k]);
      sr[k] = s.real();
      si[k] = s.imag();
    }
  }
  return k0;
}

#if defined(__x86_64__) || defined(__i386__)
__attribute__((target("avx"))) int lagBlocksAvx(int n, int lags, const cplx* x, const cplx* y,
                                                double* sr, double* si) {
  return lagBlocks<DoubleLanes4>(n, lags, x, y, sr, si);
}
#endif

}  // namespace

void correlation(int n, int lag, int mode, const cplx* x, const cplx* y, cplx* Rxx, bool widest) {
  // Lags from n on have no terms.
  const int lags = std::max(0, std::min(lag, n));
  std::vector<double> sr(static_cast<std::size_t>(lags)), si(sr.size());
  int done = 0;
#if defined(__x86_64__) || defined(__i386__)
  if (widest && cpuHasAvx()) done = lagBlocksAvx(n, lags, x, y, sr.data(), si.data());
#endif
  if (done == 0) done = lagBlocks<DoubleLanes2>(n, lags, x, y, sr.data(), si.data());
  for (int k = done; k < lags; ++k) {
    dcplx s(0, 0);
    for (int j = 0; j < n - k; ++j) s += dcplx(std::conj(x[j])) * dcplx(y[j + k]);
    sr[static_cast<std::size_t>(k)] = s.real();
    si[static_cast<std::size_t>(k)] = s.imag();
  }
  for (int k = 0; k < lag; ++k) {
    if (k >= lags) {
      Rxx[k] = cplx(0, 0);
      continue;
    }
    const dcplx s(sr[static_cast<std::size_t>(k)], si[static_cast<std::size_t>(k)]);
    const double div = mode == 0 ? static_cast<double>(n - k) : static_cast<double>(n);
    Rxx[k] = cplx(s / div);
  }
}

}  // namespace voxtrel
