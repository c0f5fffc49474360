// The forward-backward correlation matrix of the minimum-variance method, packed by rows as
// cholesky expects: entry (i, j), 1 <= j <= i <= ip, is
//   [ sum_{t=ip+1}^{n} conj(x(t-j)) x(t-i) + x(t+j-ip) conj(x(t+i-ip)) ] / (2 (n - ip)),
// one single-precision sum over t in order of the two products added together, each formed as
// the complex multiply forms it (re = ac - bd, im = ad + bc with a + ib the left factor); the
// data are finite, so no product needs the multiply's not-a-number recovery.
//
// The sums are taken in tiles of two rows and a strip of consecutive columns, side by side in
// vector lanes for the whole pass over t, from the data split into real and imaginary parts,
// once conjugated and reversed (x(t-j)) and once as they are (x(t+j-ip)). Each lane adds the
// same terms in the same order as the entry alone would, so the floats are the same.
// Written once for single and double precision: the sums are in the precision of the data,
// in lanes of floats (8 with AVX, else 4) or of doubles (4 with AVX, else 2).
#include <algorithm>
#include <type_traits>

#include "cpu_features.h"
#include "estimators.h"
#include "lane_sums.h"
#include "split_sequences.h"

namespace voxtrel {

namespace {

constexpr int kWidestStrip = 8;  // columns of a tile with 8-lane vectors

template <class Real>
struct Sequences {
  const Real *rr, *ri;  // element m: conj(x(n - m)), zero past the first sample
  const Real *fr, *fi;  // element m: x(m + 1), zero past the last
  const std::complex<Real>* x;
  int n, ip;
};

// Sums of rows i0 and i1 over the columns j0 .. j0 + lanes - 1; out holds [row][re, im][lane].
template <class V, class Real = LaneType<V>>
[[gnu::always_inline]] inline void tile(const Sequences<Real>& s, int i0, int i1, int j0,
                                        Real* out) {
  constexpr int kW = kLaneCount<V>;
  V r0, m0, r1, m1, ar, ai, vr, vi, br, bi, cr, ci;
  splat(r0, Real(0));
  m0 = r1 = m1 = r0;
  const std::complex<Real>* x = s.x;
  for (int t = s.ip + 1; t <= s.n; ++t) {
    loadLanes(ar, s.rr + (s.n - t + j0));  // conj(x(t - j)), j = j0 ..
    loadLanes(ai, s.ri + (s.n - t + j0));
    loadLanes(vr, s.fr + (t + j0 - s.ip - 1));  // x(t + j - ip)
    loadLanes(vi, s.fi + (t + j0 - s.ip - 1));
    // Row i: x(t - i) and conj(x(t + i - ip)); the two products are added, then the sum.
    splat(br, x[t - i0 - 1].real());
    splat(bi, x[t - i0 - 1].imag());
    splat(cr, x[t + i0 - s.ip - 1].real());
    splat(ci, -x[t + i0 - s.ip - 1].imag());
    r0 += (ar * br - ai * bi) + (vr * cr - vi * ci);
    m0 += (ar * bi + ai * br) + (vr * ci + vi * cr);
    splat(br, x[t - i1 - 1].real());
    splat(bi, x[t - i1 - 1].imag());
    splat(cr, x[t + i1 - s.ip - 1].real());
    splat(ci, -x[t + i1 - s.ip - 1].imag());
    r1 += (ar * br - ai * bi) + (vr * cr - vi * ci);
    m1 += (ar * bi + ai * br) + (vr * ci + vi * cr);
  }
  std::memcpy(out + 0 * kW, &r0, sizeof(V));
  std::memcpy(out + 1 * kW, &m0, sizeof(V));
  std::memcpy(out + 2 * kW, &r1, sizeof(V));
  std::memcpy(out + 3 * kW, &m1, sizeof(V));
}

// Rows in pairs (i, i + 1), a lone last row paired with itself; entries above the diagonal
// that a tile computes on the way are dropped.
template <class V, class Real = LaneType<V>>
[[gnu::always_inline]] inline void allTiles(const Sequences<Real>& s, std::complex<Real>* rmat,
                                            Real products) {
  using C = std::complex<Real>;
  constexpr int kW = kLaneCount<V>;
  Real out[4 * kW];
  for (int i = 1; i <= s.ip; i += 2) {
    const int i1 = std::min(i + 1, s.ip);
    for (int j0 = 1; j0 <= i1; j0 += kW) {
      tile<V>(s, i, i1, j0, out);
      for (int c = 0; c < kW; ++c) {
        const int j = j0 + c;
        if (j <= i) rmat[i * (i - 1) / 2 + j - 1] = C(out[c], out[kW + c]) / products;
        if (i1 > i && j <= i1)
          rmat[i1 * (i1 - 1) / 2 + j - 1] = C(out[2 * kW + c], out[3 * kW + c]) / products;
      }
    }
  }
}

#if defined(__x86_64__) || defined(__i386__)
__attribute__((target("avx"))) void allTilesAvx(const Sequences<float>& s, cplx* rmat,
                                                float products) {
  allTiles<Lanes8>(s, rmat, products);
}
__attribute__((target("avx"))) void allTilesAvx(const Sequences<double>& s, dcplx* rmat,
                                                double products) {
  allTiles<DoubleLanes4>(s, rmat, products);
}
#endif

// The baseline vectors of each precision: 16 bytes.
template <class Real>
using BaselineLanes = std::conditional_t<std::is_same_v<Real, float>, Lanes4, DoubleLanes2>;

}  // namespace

template <class Real>
void corrmat(const std::complex<Real>* x, int n, int ip, FVec<std::complex<Real>>& rmat,
             bool widest) {
  if (ip < 1 || n <= ip) return;
  const Real products = Real(2) * static_cast<Real>(n - ip);
  const SplitSequences<Real> split(x, n, kWidestStrip);
  const Sequences<Real> s{
      split.rr.data(), split.ri.data(), split.fr.data(), split.fi.data(), x, n, ip};
#if defined(__x86_64__) || defined(__i386__)
  if (widest && cpuHasAvx()) {
    allTilesAvx(s, rmat.data(), products);
    return;
  }
#endif
  allTiles<BaselineLanes<Real>>(s, rmat.data(), products);
}

template void corrmat<float>(const cplx*, int, int, FVec<cplx>&, bool);
template void corrmat<double>(const dcplx*, int, int, FVec<dcplx>&, bool);

}  // namespace voxtrel
