// Minimum-variance (Capon) spectrum: with R the ip x ip forward-backward correlation matrix of
// the data and e(f) the steering vector e(i) = exp(j 2 pi f (i-1)), i = 1..ip,
//   P(f) = 1 / (e^H R^-1 e)        (mode 0)     P(f) = ip / (e^H R^-1 e)   (mode 1)
// at the imax frequencies f = (k-1)/imax - 0.5, k = 1..imax (centred order, linear power).
// R is factored once (L D L^H) and R^-1 is built column by column from the same factors, the
// column j being the solution of R c = e_j; the quadratic form is accumulated in single
// precision.
//
// iflag = -1 (with the solver's dump) when a pivot is not above eps; pmv is then not written.
// A filter length below 1, too few samples for the matrix (ip >= n, or fewer forward-backward
// products 2(n-ip) than unknowns ip), a mode other than 0 or 1, or data that are zero over the
// matrix end with a run-log line naming the cause and iflag = kIflagDegenerate.
#include <algorithm>
#include <cmath>
#include <vector>

#include "estimators.h"
#include "stop_point.h"

namespace voxtrel {

void mvse(Run& r, const cplx* x, int n, int ip, int imax, float eps, int mode, float* pmv,
          int& iflag) {
  iflag = 0;
  auto degenerate = [&](std::initializer_list<LogItem> items) {
    r.log.blank();
    r.log.put(items);
    iflag = kIflagDegenerate;
  };
  if (ip < 1 || ip > kMaxPoles) {
    degenerate(
        {" MVSE: the filter length nPoles =", ip, " must lie between 1 and", kMaxPoles, "."});
    return;
  }
  if (n <= ip || 2 * (n - ip) < ip) {
    degenerate({" MVSE: nPoles =", ip, " needs at least", ip + (ip + 1) / 2, " samples, npts =", n,
                "; lower nPoles or use more data."});
    return;
  }
  if (mode != 0 && mode != 1) {
    degenerate({" MVSE: mode =", mode, " must be 0 (1 / e'R^-1 e) or 1 (nPoles / e'R^-1 e)."});
    return;
  }

  const float pi2 = 8.0f * std::atan(1.0f);
  FVec<cplx>& hc = r.w.hc();
  corrmat(x, n, ip, hc);

  float trace = 0;
  for (int i = 1; i <= ip; ++i) trace += hc(i * (i + 1) / 2).real();
  if (!(trace > 0.0f)) {
    degenerate({" MVSE: the data are zero over the correlation matrix (all-zero data?)."});
    return;
  }

  cholesky_factor(r, ip, eps, iflag);
  if (iflag == -1) return;
  FVec<cplx>& theta = r.theta();
  FMat<cplx>& rinv = r.w.rinv();
  for (int j = 1; j <= ip; ++j) {
    stopPoint(r);
    for (int i = 1; i <= ip; ++i) theta(i) = cplx(i == j ? 1.0f : 0.0f, 0.0f);
    cholesky_solve(r, ip);
    for (int i = 1; i <= ip; ++i) rinv(i, j) = theta(i);
  }

  std::vector<cplx> e(static_cast<std::size_t>(ip));
  for (int k = 1; k <= imax; ++k) {
    if (k % 64 == 0) stopPoint(r);
    const float f = static_cast<float>(k - 1) / static_cast<float>(imax) - 0.5f;
    for (int i = 1; i <= ip; ++i)
      e[static_cast<std::size_t>(i - 1)] = std::polar(1.0f, pi2 * f * static_cast<float>(i - 1));
    cplx s(0, 0);
    for (int i = 1; i <= ip; ++i) {
      const cplx ei = std::conj(e[static_cast<std::size_t>(i - 1)]);
      for (int j = 1; j <= ip; ++j) s += ei * rinv(i, j) * e[static_cast<std::size_t>(j - 1)];
    }
    const float num = mode == 0 ? 1.0f : static_cast<float>(ip);
    pmv[k - 1] = (num / s).real();
  }
}

}  // namespace voxtrel
