// Hermitian linear solver: factors H = L D L^H (L unit lower triangular, D real diagonal) and
// solves H x = b by forward substitution L y = b and back substitution D L^H x = y.
//
// H is packed in hc row by row: for row i = 1..n, columns j = 1..i, entry l holds H(j,i), the
// conjugate of H(i,j); the diagonal is the last entry of each row. The right-hand side is in
// theta on entry and the solution on return. Sums are accumulated in double precision.
// A pivot d(i), i >= 2, that is not above eps (or not a number) stops the factorisation:
// iflag = -1, a diagnostic dump of hc around the failing row goes to the run log and theta
// keeps the right-hand side.
#include <algorithm>
#include <string>

#include "estimators.h"
#include "fortran_format.h"

namespace voxtrel {

void cholesky(Run& r, int n, float eps, int& iflag) {
  iflag = 0;
  if (n < 1) return;
  FVec<cplx>& hc = r.w.hc();
  FMat<cplx>& xl = r.w.xl();
  FVec<float>& d = r.w.d();
  FVec<cplx>& y = r.w.y();
  FVec<cplx>& theta = r.theta();

  int l = 1;
  d(1) = hc(1).real();
  for (int i = 2; i <= n; ++i) {
    for (int j = 1; j <= i - 1; ++j) {
      ++l;
      dcplx sum = std::conj(dcplx(hc(l)));
      for (int k = 1; k <= j - 1; ++k)
        sum -= dcplx(xl(i, k)) * std::conj(dcplx(xl(j, k))) * static_cast<double>(d(k));
      xl(i, j) = cplx(sum / static_cast<double>(d(j)));
    }
    ++l;
    double temp = hc(l).real();
    for (int k = 1; k <= i - 1; ++k) temp -= static_cast<double>(d(k)) * std::norm(dcplx(xl(i, k)));
    d(i) = static_cast<float>(temp);
    if (!(d(i) > eps)) {
      iflag = -1;
      RunLog& log = r.log;
      log.blank();
      log.raw(" Error in CHOLESKY: I = " + fmt::I(i, 5) + "  L = " + fmt::I(l, 5));
      const int last = static_cast<int>(hc.size());
      for (int idx = std::max(1, i - 2); idx <= std::min(l + 2, last); ++idx) {
        log.raw(" hc(" + fmt::I(idx, 5) + ") = " + fmt::E(hc(idx).real(), 12, 4) + "   " +
                fmt::E(hc(idx).imag(), 12, 4));
      }
      return;
    }
  }

  y(1) = theta(1);
  for (int i = 2; i <= n; ++i) {
    dcplx sum(theta(i));
    for (int j = 1; j <= i - 1; ++j) sum -= dcplx(xl(i, j)) * dcplx(y(j));
    y(i) = cplx(sum);
  }
  theta(n) = y(n) / d(n);
  for (int i = n - 1; i >= 1; --i) {
    dcplx sum = dcplx(y(i)) / static_cast<double>(d(i));
    for (int j = i + 1; j <= n; ++j) sum -= std::conj(dcplx(xl(j, i))) * dcplx(theta(j));
    theta(i) = cplx(sum);
  }
}

}  // namespace voxtrel
