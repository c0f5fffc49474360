// Hermitian linear solver: factors H = L D L^H (L unit lower triangular, D real diagonal) and
// solves H x = b by forward substitution L y = b and back substitution D L^H x = y:
//   xl(i,j) = (H(i,j) - sum_{k<j} xl(i,k) conj(xl(j,k)) d(k)) / d(j),   j < i
//   d(i)    = H(i,i) - sum_{k<i} d(k) |xl(i,k)|^2
//   y(i)    = b(i) - sum_{j<i} xl(i,j) y(j)
//   x(i)    = y(i) / d(i) - sum_{j>i} conj(xl(j,i)) x(j)
//
// H is packed in hc row by row: for row i = 1..n, columns j = 1..i, entry l holds H(j,i), the
// conjugate of H(i,j); the diagonal is the last entry of each row. The right-hand side is in
// theta on entry and the solution on return. Sums are accumulated in double precision; the
// factors are kept in the working precision (Real: float or double, with its own tables).
// A pivot d(i), i >= 2, that is not above eps (or not a number) stops the factorisation:
// iflag = -1, a diagnostic dump of hc around the failing row goes to the run log and theta
// keeps the right-hand side. The first pivot is not held against eps, but a zero (or not a
// number) first pivot fails the same way, since every later step divides by it.
//
// The factors stay in xl and d, so that several right-hand sides can be solved with
// cholesky_solve after one cholesky_factor.
#include <algorithm>
#include <cmath>
#include <string>

#include "estimators.h"
#include "fortran_format.h"
#include "precision_tables.h"
#include "stop_point.h"

namespace voxtrel {

namespace {

// The failing row i, the packed index l reached, and the packed entries i-2 .. l+2 that exist.
template <class Real>
void dumpFailure(Run& r, int i, int l) {
  FVec<std::complex<Real>>& hc = ModelTables<Real>::hc(r);
  RunLog& log = r.log;
  log.blank();
  log.raw(" Error in CHOLESKY: I = " + fmt::I(i, 5) + "  L = " + fmt::I(l, 5));
  const int last = static_cast<int>(hc.size());
  for (int idx = std::max(1, i - 2); idx <= std::min(l + 2, last); ++idx) {
    log.raw(" hc(" + fmt::I(idx, 5) + ") = " + fmt::E(hc(idx).real(), 12, 4) + "   " +
            fmt::E(hc(idx).imag(), 12, 4));
  }
}

}  // namespace

template <class Real>
void cholesky_factor(Run& r, int n, Real eps, int& iflag) {
  using C = std::complex<Real>;
  iflag = 0;
  if (n < 1) return;
  FVec<C>& hc = ModelTables<Real>::hc(r);
  FMat<C>& xl = ModelTables<Real>::xl(r);
  FVec<Real>& d = ModelTables<Real>::d(r);

  int l = 1;
  d(1) = hc(1).real();
  if (!(d(1) != Real(0)) || std::isnan(d(1))) {
    iflag = -1;
    dumpFailure<Real>(r, 1, l);
    return;
  }
  for (int i = 2; i <= n; ++i) {
    stopPoint(r);
    for (int j = 1; j <= i - 1; ++j) {
      ++l;
      dcplx sum = std::conj(dcplx(hc(l)));
      for (int k = 1; k <= j - 1; ++k)
        sum -= dcplx(xl(i, k)) * std::conj(dcplx(xl(j, k))) * static_cast<double>(d(k));
      xl(i, j) = C(sum / static_cast<double>(d(j)));
    }
    ++l;
    double temp = hc(l).real();
    for (int k = 1; k <= i - 1; ++k) temp -= static_cast<double>(d(k)) * std::norm(dcplx(xl(i, k)));
    d(i) = static_cast<Real>(temp);
    if (!(d(i) > eps)) {
      iflag = -1;
      dumpFailure<Real>(r, i, l);
      return;
    }
  }
}

template <class Real>
void cholesky_solve(Run& r, int n) {
  using C = std::complex<Real>;
  if (n < 1) return;
  FMat<C>& xl = ModelTables<Real>::xl(r);
  FVec<Real>& d = ModelTables<Real>::d(r);
  FVec<C>& y = ModelTables<Real>::y(r);
  FVec<C>& theta = ModelTables<Real>::theta(r);

  y(1) = theta(1);
  for (int i = 2; i <= n; ++i) {
    dcplx sum(theta(i));
    for (int j = 1; j <= i - 1; ++j) sum -= dcplx(xl(i, j)) * dcplx(y(j));
    y(i) = C(sum);
  }
  theta(n) = y(n) / d(n);
  for (int i = n - 1; i >= 1; --i) {
    dcplx sum = dcplx(y(i)) / static_cast<double>(d(i));
    for (int j = i + 1; j <= n; ++j) sum -= std::conj(dcplx(xl(j, i))) * dcplx(theta(j));
    theta(i) = C(sum);
  }
}

template <class Real>
void cholesky(Run& r, int n, Real eps, int& iflag) {
  cholesky_factor(r, n, eps, iflag);
  if (iflag == 0) cholesky_solve<Real>(r, n);
}

template void cholesky_factor<float>(Run&, int, float, int&);
template void cholesky_factor<double>(Run&, int, double, int&);
template void cholesky_solve<float>(Run&, int);
template void cholesky_solve<double>(Run&, int);
template void cholesky<float>(Run&, int, float, int&);
template void cholesky<double>(Run&, int, double, int&);

}  // namespace voxtrel
