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
//
// Many lags of long data are taken instead from one double-precision transform of the zero-
// padded sequences: with N >= n + lags - 1 the circular correlation of the padded sequences,
//   IDFT(conj(DFT(x)) DFT(y)) / N,
// has no wrapped terms below lag `lags`. It costs O(N log N) against O(n lags) for the sums, and
// its rounding error, relative to the lag-0 power, stays near the double-precision epsilon times
// log2 N, far below the single precision the lags are returned in.
//
// The samples and lags are single or double precision (the real type Real); the sums are double
// in both, so double-precision data take exactly the same path. Double products are not exact,
// but each lag's sum still sees its terms in the order j.
#include <algorithm>
#include <cmath>
#include <vector>

#include "cpu_features.h"
#include "dfft.h"
#include "estimators.h"
#include "lane_sums.h"

namespace voxtrel {

namespace {

constexpr int kVectors = 2;   // vectors of lanes per block of lags
constexpr int kChunk = 1024;  // values of j whose right factors are split at a time

// Sums of the lags of complete blocks into sr/si; returns the first lag not summed. With kReal
// (every imaginary part of x and y is zero) only the real parts are multiplied: the complex
// term's other products are zeros, which change no sum (a sum that starts at +0 stays +0 under
// added zeros of either sign), so the sums are the same, and their imaginary parts +0.
template <class V, bool kReal, class C>
[[gnu::always_inline]] inline int lagBlocks(int n, int lags, const C* x, const C* y, double* sr,
                                            double* si) {
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
        if constexpr (!kReal) yi[c] = y[j0 + k0 + c].imag();
      }
      for (int j = j0; j < j1; ++j) {
        splat(br, static_cast<double>(x[j].real()));  // conj(x(j))
        if constexpr (kReal) {
          for (int v = 0; v < kVectors; ++v) {
            loadLanes(lr, yr + (j - j0) + v * kW);
            r[v] += lr * br;
          }
          continue;
        }
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
      if constexpr (kReal) {
        double s = sr[k];
        for (int j = std::max(common, 0); j < n - k; ++j)
          s += static_cast<double>(x[j].real()) * static_cast<double>(y[j + k].real());
        sr[k] = s;
        continue;
      }
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
template <bool kReal, class C>
__attribute__((target("avx"))) int lagBlocksAvx(int n, int lags, const C* x, const C* y, double* sr,
                                                double* si) {
  return lagBlocks<DoubleLanes4, kReal>(n, lags, x, y, sr, si);
}
#endif

// The sums of lags 0..lags-1 by transforms of length N, each handed to put(k, real, imaginary)
// as it comes from the transform (no table of sums beside the transform's own); x == y needs only
// one forward transform.
template <class C, class Put>
void lagsByTransform(int n, int lags, const C* x, const C* y, std::size_t N, Put put) {
  std::vector<dcplx> X(N), Y;
  bool realData = true;
  for (int j = 0; j < n; ++j) {
    X[static_cast<std::size_t>(j)] = dcplx(x[j]);
    realData = realData && x[j].imag() == 0;
  }
  dfft(X, -1);
  const bool same = x == y;
  if (!same) {
    Y.assign(N, dcplx(0, 0));
    for (int j = 0; j < n; ++j) {
      Y[static_cast<std::size_t>(j)] = dcplx(y[j]);
      realData = realData && y[j].imag() == 0;
    }
    dfft(Y, -1);
  }
  for (std::size_t m = 0; m < N; ++m) {
    const double ar = X[m].real(), ai = -X[m].imag();  // conj(DFT(x))
    const double br = same ? X[m].real() : Y[m].real(), bi = same ? X[m].imag() : Y[m].imag();
    X[m] = dcplx(ar * br - ai * bi, ar * bi + ai * br);
  }
  dfft(X, +1);
  const double scale = 1.0 / static_cast<double>(N);
  for (int k = 0; k < lags; ++k) {
    // Real data, and lag 0 of one sequence with itself, have real sums.
    put(k, X[static_cast<std::size_t>(k)].real() * scale,
        realData || (same && k == 0) ? 0.0 : X[static_cast<std::size_t>(k)].imag() * scale);
  }
}

// The transform's length when it is cheaper than the direct sums, else 0. The sums take about
// n lags - lags^2 / 2 vector-lane products; three transforms of length N take a few times
// N log2 N butterflies each.
std::size_t transformLength(int n, int lags) {
  if (lags <= 64) return 0;
  const std::size_t N = dfftSize(static_cast<std::size_t>(n) + static_cast<std::size_t>(lags) - 1);
  const double terms = static_cast<double>(lags) * (static_cast<double>(n) - 0.5 * lags);
  const double butterflies = static_cast<double>(N) * std::log2(static_cast<double>(N));
  return terms > 8.0 * butterflies ? N : 0;
}

}  // namespace

template <class Real>
void correlation(int n, int lag, int mode, const std::complex<Real>* x, const std::complex<Real>* y,
                 std::complex<Real>* Rxx, bool widest) {
  using C = std::complex<Real>;
  // Lags from n on have no terms.
  const int lags = std::max(0, std::min(lag, n));
  // A lag from its sum.
  const auto finish = [&](int k, double re, double im) {
    const dcplx s(re, im);
    const double div = mode == 0 ? static_cast<double>(n - k) : static_cast<double>(n);
    Rxx[k] = C(s / div);
  };
  if (const std::size_t N = transformLength(n, lags); N > 0) {
    lagsByTransform(n, lags, x, y, N, finish);
    for (int k = lags; k < lag; ++k) Rxx[k] = C(0, 0);
    return;
  }
  std::vector<double> sr(static_cast<std::size_t>(lags)), si(sr.size());
  int done = 0;
  // Real data (every imaginary part zero) sum the products of the real parts only.
  const auto real = [n](const C* z) {
    return std::all_of(z, z + n, [](const C& c) { return c.imag() == 0; });
  };
  const bool realData = real(x) && (x == y || real(y));
#if defined(__x86_64__) || defined(__i386__)
  if (done == 0 && widest && cpuHasAvx()) {
    done = realData ? lagBlocksAvx<true>(n, lags, x, y, sr.data(), si.data())
                    : lagBlocksAvx<false>(n, lags, x, y, sr.data(), si.data());
  }
#endif
  if (done == 0) {
    done = realData ? lagBlocks<DoubleLanes2, true, C>(n, lags, x, y, sr.data(), si.data())
                    : lagBlocks<DoubleLanes2, false, C>(n, lags, x, y, sr.data(), si.data());
  }
  for (int k = done; k < lags; ++k) {
    dcplx s(0, 0);
    for (int j = 0; j < n - k; ++j) s += dcplx(std::conj(x[j])) * dcplx(y[j + k]);
    sr[static_cast<std::size_t>(k)] = s.real();
    si[static_cast<std::size_t>(k)] = s.imag();
  }
  for (int k = 0; k < lags; ++k)
    finish(k, sr[static_cast<std::size_t>(k)], si[static_cast<std::size_t>(k)]);
  for (int k = lags; k < lag; ++k) Rxx[k] = C(0, 0);
}

template void correlation<float>(int, int, int, const cplx*, const cplx*, cplx*, bool);
template void correlation<double>(int, int, int, const dcplx*, const dcplx*, dcplx*, bool);

}  // namespace voxtrel
