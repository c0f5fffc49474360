// The normal-equation matrix of the Mayne-Firoozan regressions,
//   H(i, j) = sum_{t=1}^{n} conj(phi_j(t)) phi_i(t),   1 <= j <= i <= p + q,
// with phi_j(t) = y(t-j) for j <= p and u(t-(j-p)) for j > p, zero before the first sample,
// packed by rows into hc. Each entry is its own double-precision sum taken over t = 1..n in
// order, each term formed as the complex multiply forms it (re = ac - bd, im = ad + bc with
// a + ib = conj(phi_j)); the data are finite, so no term needs the multiply's not-a-number
// recovery.
//
// The regressors are lagged copies of two sequences, so the terms are shift invariant: while
// (i, j) and (i + 1, j + 1) lie in the same block (both lags on y, both on u, or the row on u
// and the column on y), term t of entry (i + 1, j + 1) is term t - 1 of entry (i, j), and its
// first term is zero. A sum started at +0 stays +0 when zeros are added, so the sum of entry
// (i + k, j + k) is, to the last bit, the running sum of entry (i, j) after its term n - k.
// One pass over the data along each diagonal of each block therefore gives every entry of
// that diagonal: about 2 (p + q) passes in place of (p + q)^2 / 2.
// Written once for single and double precision samples; the sums are double in both.
#include <algorithm>
#include <vector>

#include "estimators.h"

namespace voxtrel {

namespace {

// A diagonal: its first entry (i, j), the sequences its row and column regressors lag, the
// lags, and how many entries (i + k, j + k) it holds.
template <class Real>
struct Diagonal {
  int i, j;
  const std::complex<Real>*rowData, *colData;
  int rowLag, colLag;
  int length;
};

// Running sum of the first entry over t = 1..n; entry k of the diagonal takes it after term
// n - k (k = 0 .. length - 1), entries past the data keep the empty sum.
template <class Real>
void sumDiagonal(const Diagonal<Real>& d, int n, std::complex<Real>* hc) {
  using C = std::complex<Real>;
  double sr = 0.0, si = 0.0;
  const int firstTaken = n - d.length + 1;  // the earliest t whose running sum is an entry
  auto store = [&](int k) {
    const int i = d.i + k, j = d.j + k;
    hc[i * (i - 1) / 2 + j - 1] = C(static_cast<Real>(sr), static_cast<Real>(si));
  };
  for (int k = n; k < d.length; ++k) store(k);         // no terms at all: +0
  const int start = std::max(d.rowLag, d.colLag) + 1;  // earlier terms are products with zero
  for (int t = start; t <= n; ++t) {
    const C a = d.colData[t - d.colLag - 1], b = d.rowData[t - d.rowLag - 1];
    const double ar = a.real(), ai = -static_cast<double>(a.imag());
    const double br = b.real(), bi = b.imag();
    sr += ar * br - ai * bi;
    si += ar * bi + ai * br;
    if (t >= firstTaken) store(n - t);
  }
  // Entries whose last taken term came before start hold the sum of zero terms: +0.
  for (int t = std::max(firstTaken, 1); t < start && t <= n; ++t) {
    const int i = d.i + (n - t), j = d.j + (n - t);
    hc[i * (i - 1) / 2 + j - 1] = C(0, 0);
  }
}

}  // namespace

template <class Real>
void lsMatrix(const std::complex<Real>* y, const std::complex<Real>* u, int n, int ip, int iq,
              std::complex<Real>* hc) {
  const int p = ip, q = iq, np = ip + iq;
  if (np < 1 || n < 1) return;
  std::vector<Diagonal<Real>> diagonals;
  // Both lags on y: first entries (1 + d, 1), down to row p.
  for (int d = 0; d < p; ++d) diagonals.push_back({1 + d, 1, y, y, 1 + d, 1, p - d});
  // Both lags on u: first entries (p + 1 + d, p + 1), down to row p + q.
  for (int d = 0; d < q; ++d) diagonals.push_back({p + 1 + d, p + 1, u, u, 1 + d, 1, q - d});
  // Row on u, column on y: first entries in column 1 and in row p + 1, until the row passes
  // p + q or the column passes p.
  if (p > 0) {
    for (int m = 0; m < q; ++m)
      diagonals.push_back({p + 1 + m, 1, u, y, 1 + m, 1, std::min(q - m, p)});
    for (int c = 2; c <= p; ++c)
      diagonals.push_back({p + 1, c, u, y, 1, c, std::min(q, p - c + 1)});
  }
  for (const Diagonal<Real>& d : diagonals) sumDiagonal(d, n, hc);
}

template void lsMatrix<float>(const cplx*, const cplx*, int, int, int, cplx*);
template void lsMatrix<double>(const dcplx*, const dcplx*, int, int, int, dcplx*);

}  // namespace voxtrel
