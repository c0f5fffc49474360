// The normal-equation matrix of the covariance (forward) and modified covariance (forward and
// backward) AR fits, packed by rows into hc:
//   H(i,j) = sum_{k=p+1}^{n} conj(x(k-j)) x(k-i)   [then + sum_{k=1}^{n-p} x(k+j) conj(x(k+i))],
// 1 <= j <= i <= p. Each entry is one sum in the data's precision over the forward terms in k
// order, then the backward ones, each term formed as the complex multiply forms it (re = ac - bd,
// im = ad + bc with a + ib the left factor); the data are finite, so no term needs the
// multiply's not-a-number recovery.
//
// The sums are taken in tiles of two rows and a strip of consecutive columns, the strip's
// running sums side by side in vector lanes for the whole pass over k. With the data held
// split into real and imaginary parts, once conjugated and reversed (for x(k-j)) and once as
// they are (for x(k+j)), a strip's left factors at each k are consecutive elements. Each lane
// adds the same terms in the same order as the entry alone would, so the floats are the same.
// Double-precision data take the same path with double lanes (half as many per vector).
#include <algorithm>

#include "cpu_features.h"
#include "estimators.h"
#include "lane_sums.h"
#include "split_sequences.h"

namespace voxtrel {

namespace {

constexpr int kVectors = 2;                 // vectors of lanes per row of a tile
constexpr int kWidestStrip = 8 * kVectors;  // columns of a tile with 8-lane vectors

template <class Real>
struct Sequences {
  const Real *rr, *ri;  // element m: conj(x(n - m)), zero past the first sample
  const Real *fr, *fi;  // element m: x(m + 1), zero past the last
  const std::complex<Real>* x;
  int n, p;
  bool both;
};

// Sums of rows i0 and i1 over columns j0 .. j0 + strip - 1; out holds [row][re, im][column].
template <class V>
[[gnu::always_inline]] inline void tile(const Sequences<LaneType<V>>& s, int i0, int i1, int j0,
                                        LaneType<V>* out) {
  constexpr int kW = kLaneCount<V>, kStrip = kW * kVectors;
  V r0[kVectors], m0[kVectors], r1[kVectors], m1[kVectors];
  for (int v = 0; v < kVectors; ++v) {
    splat(r0[v], LaneType<V>(0));
    m0[v] = r1[v] = m1[v] = r0[v];
  }
  V lr[kVectors], li[kVectors], br, bi;
  for (int k = s.p + 1; k <= s.n; ++k) {
    const auto* pr = s.rr + (s.n - k + j0);  // conj(x(k - j)), j = j0 ..
    const auto* pi = s.ri + (s.n - k + j0);
    for (int v = 0; v < kVectors; ++v) {
      loadLanes(lr[v], pr + v * kW);
      loadLanes(li[v], pi + v * kW);
    }
    splat(br, s.x[k - i0 - 1].real());
    splat(bi, s.x[k - i0 - 1].imag());
    for (int v = 0; v < kVectors; ++v) addProduct(r0[v], m0[v], lr[v], li[v], br, bi);
    splat(br, s.x[k - i1 - 1].real());
    splat(bi, s.x[k - i1 - 1].imag());
    for (int v = 0; v < kVectors; ++v) addProduct(r1[v], m1[v], lr[v], li[v], br, bi);
  }
  if (s.both) {
    for (int k = 1; k <= s.n - s.p; ++k) {
      const auto* pr = s.fr + (k + j0 - 1);  // x(k + j), j = j0 ..
      const auto* pi = s.fi + (k + j0 - 1);
      for (int v = 0; v < kVectors; ++v) {
        loadLanes(lr[v], pr + v * kW);
        loadLanes(li[v], pi + v * kW);
      }
      splat(br, s.x[k + i0 - 1].real());  // conj(x(k + i))
      splat(bi, -s.x[k + i0 - 1].imag());
      for (int v = 0; v < kVectors; ++v) addProduct(r0[v], m0[v], lr[v], li[v], br, bi);
      splat(br, s.x[k + i1 - 1].real());
      splat(bi, -s.x[k + i1 - 1].imag());
      for (int v = 0; v < kVectors; ++v) addProduct(r1[v], m1[v], lr[v], li[v], br, bi);
    }
  }
  for (int v = 0; v < kVectors; ++v) {
    std::memcpy(out + 0 * kStrip + v * kW, &r0[v], sizeof(V));
    std::memcpy(out + 1 * kStrip + v * kW, &m0[v], sizeof(V));
    std::memcpy(out + 2 * kStrip + v * kW, &r1[v], sizeof(V));
    std::memcpy(out + 3 * kStrip + v * kW, &m1[v], sizeof(V));
  }
}

// Rows in pairs (i, i + 1), a lone last row paired with itself; entries above the diagonal
// that a tile computes on the way are dropped.
template <class V>
[[gnu::always_inline]] inline void allTiles(const Sequences<LaneType<V>>& s,
                                            std::complex<LaneType<V>>* hc) {
  using Real = LaneType<V>;
  constexpr int kStrip = kLaneCount<V> * kVectors;
  Real out[4 * kStrip];
  for (int i = 1; i <= s.p; i += 2) {
    const int i1 = std::min(i + 1, s.p);
    for (int j0 = 1; j0 <= i1; j0 += kStrip) {
      tile<V>(s, i, i1, j0, out);
      for (int c = 0; c < kStrip; ++c) {
        const int j = j0 + c;
        if (j <= i) hc[i * (i - 1) / 2 + j - 1] = {out[c], out[kStrip + c]};
        if (i1 > i && j <= i1)
          hc[i1 * (i1 - 1) / 2 + j - 1] = {out[2 * kStrip + c], out[3 * kStrip + c]};
      }
    }
  }
}

#if defined(__x86_64__) || defined(__i386__)
__attribute__((target("avx"))) void allTilesAvx(const Sequences<float>& s, cplx* hc) {
  allTiles<Lanes8>(s, hc);
}
__attribute__((target("avx"))) void allTilesAvx(const Sequences<double>& s, dcplx* hc) {
  allTiles<DoubleLanes4>(s, hc);
}
#endif

template <class Real>
struct BaselineLanes;
template <>
struct BaselineLanes<float> {
  using type = Lanes4;
};
template <>
struct BaselineLanes<double> {
  using type = DoubleLanes2;
};

template <class Real>
void covarianceMatrixOf(const std::complex<Real>* x, int n, int p, bool both,
                        std::complex<Real>* hc, bool widest) {
  if (p < 1 || n <= p) return;
  const SplitSequences split(x, n, kWidestStrip);
  const Sequences<Real> s{
      split.rr.data(), split.ri.data(), split.fr.data(), split.fi.data(), x, n, p, both};
#if defined(__x86_64__) || defined(__i386__)
  if (widest && cpuHasAvx()) {
    allTilesAvx(s, hc);
    return;
  }
#endif
  allTiles<typename BaselineLanes<Real>::type>(s, hc);
}

}  // namespace

void covarianceMatrix(const cplx* x, int n, int p, bool both, cplx* hc, bool widest) {
  covarianceMatrixOf(x, n, p, both, hc, widest);
}

void covarianceMatrix(const dcplx* x, int n, int p, bool both, dcplx* hc, bool widest) {
  covarianceMatrixOf(x, n, p, both, hc, widest);
}

}  // namespace voxtrel
