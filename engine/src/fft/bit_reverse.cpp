// Bit-reversal permutation by swaps, one per pair of indices that differ, a cache line at a
// time.
//
// With 8 complex floats to a 64-byte line, the index is split as i = (a, m, c): a the top
// 3 bits, c the low 3 bits, m the nexp - 6 bits between. Then rev(i) = (r(c), r(m), r(a)).
// For one m the 64 elements (a, m, c) lie in 8 lines, one per a, and their partners
// (r(c), r(m), r(a)) in the 8 lines of r(m): the two tiles trade their elements in a 3-bit
// reversed transpose, and every line fetched is used whole. Tiles with m < r(m) swap with
// their partner tile; a tile with m = r(m) swaps within itself the pairs with i < rev(i).
// Transforms of fewer than 64 points are reordered element by element.
#include "bit_reverse.h"

#include <utility>

namespace voxtrel {

namespace {

// The index i with its bits reversed, counted along with i by adding one at the top bit
// with a reversed carry.
template <class Real>
void bySwaps(std::complex<Real>* x, int nexp) {
  const int n = 1 << nexp;
  int rev = 0;
  for (int i = 0; i < n; ++i) {
    if (i < rev) std::swap(x[i], x[rev]);
    int bit = n >> 1;
    while (bit > 0 && (rev & bit)) {
      rev ^= bit;
      bit >>= 1;
    }
    rev |= bit;
  }
}

}  // namespace

template <class Real>
void bitReverse(std::complex<Real>* x, int nexp) {
  if (nexp < 6) {
    bySwaps(x, nexp);
    return;
  }
  constexpr int r3[8] = {0, 4, 2, 6, 1, 5, 3, 7};
  const int tiles = 1 << (nexp - 6);
  const int aWeight = 1 << (nexp - 3);
  int mRev = 0;  // m with its nexp - 6 bits reversed
  for (int m = 0; m < tiles; ++m) {
    if (m <= mRev) {
      std::complex<Real>* tile = x + 8 * m;
      std::complex<Real>* partner = x + 8 * mRev;
      for (int a = 0; a < 8; ++a) {
        for (int c = 0; c < 8; ++c) {
          const int i = a * aWeight + c, j = r3[c] * aWeight + r3[a];
          if (m < mRev || i < j) std::swap(tile[i], partner[j]);
        }
      }
    }
    int bit = tiles >> 1;
    while (bit > 0 && (mRev & bit)) {
      mRev ^= bit;
      bit >>= 1;
    }
    mRev |= bit;
  }
}

template void bitReverse<float>(std::complex<float>*, int);
template void bitReverse<double>(std::complex<double>*, int);

}  // namespace voxtrel
