// Minimum-variance (Capon) spectrum: with R the ip x ip forward-backward correlation matrix of
// the data and e(f) the steering vector e(i) = exp(j 2 pi f (i-1)), i = 1..ip,
//   P(f) = 1 / (e^H R^-1 e)        (mode 0)     P(f) = ip / (e^H R^-1 e)   (mode 1)
// at the imax frequencies f = (k-1)/imax - 0.5, k = 1..imax (centred order, linear power).
// R is factored once (L D L^H) and R^-1 is built column by column from the same factors, the
// column j being the solution of R c = e_j. The quadratic form depends on R^-1 only through the
// sums along its diagonals, so the whole grid takes O(ip^2) additions and one transform of
// length imax (double precision) in place of O(imax ip^2) products (the fast form of Musicus).
//
// iflag = -1 (with the solver's dump) when a pivot is not above eps; pmv is then not written.
// A filter length below 1, too few samples for the matrix (ip >= n, or fewer forward-backward
// products 2(n-ip) than unknowns ip), a mode other than 0 or 1, or data that are zero over the
// matrix end with a run-log line naming the cause and iflag = kIflagDegenerate.
//
// Written once for single and double precision: the data, the matrix, its factors and R^-1
// are of the real type (precision_tables.h); the diagonal sums and the transform are double.
#include <algorithm>
#include <cmath>
#include <vector>

#include "dfft.h"
#include "estimators.h"
#include "precision_tables.h"
#include "stop_point.h"

namespace voxtrel {

template <class Real>
void mvse(Run& r, const std::complex<Real>* x, int n, int ip, int imax, Real eps, int mode,
          Real* pmv, int& iflag) {
  using C = std::complex<Real>;
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

  FVec<C>& hc = ModelTables<Real>::hc(r);
  corrmat(x, n, ip, hc);

  Real trace = 0;
  for (int i = 1; i <= ip; ++i) trace += hc(i * (i + 1) / 2).real();
  if (!(trace > Real(0))) {
    degenerate({" MVSE: the data are zero over the correlation matrix (all-zero data?)."});
    return;
  }

  cholesky_factor(r, ip, eps, iflag);
  if (iflag == -1) return;
  FVec<C>& theta = ModelTables<Real>::theta(r);
  FMat<C>& rinv = ModelTables<Real>::rinv(r);
  for (int j = 1; j <= ip; ++j) {
    stopPoint(r);
    for (int i = 1; i <= ip; ++i) theta(i) = C(i == j ? Real(1) : Real(0), Real(0));
    cholesky_solve<Real>(r, ip);
    for (int i = 1; i <= ip; ++i) rinv(i, j) = theta(i);
  }

  // e^H R^-1 e = sum_{i,j} Rinv(i, j) exp(j w (j - i)) = sum_d c(d) exp(j w d), with c(d) the
  // sum along diagonal d = j - i of R^-1 (double precision). At w = 2 pi ((k-1)/imax - 0.5),
  // exp(j w d) = (-1)^d exp(j 2 pi (k-1) d / imax): the quadratic form on the whole grid is one
  // inverse transform of length imax of the sequence (-1)^d c(d), folded modulo imax.
  const std::size_t L = static_cast<std::size_t>(imax);
  if (imax < 1) return;
  std::vector<dcplx> g(L, dcplx(0, 0));
  for (int d = -(ip - 1); d <= ip - 1; ++d) {
    double sr = 0, si = 0;
    for (int i = std::max(1, 1 - d); i <= std::min(ip, ip - d); ++i) {
      const C v = rinv(i, i + d);
      sr += v.real();
      si += v.imag();
    }
    const double sign = (d % 2 == 0) ? 1.0 : -1.0;
    const long long m = ((static_cast<long long>(d) % imax) + imax) % imax;
    g[static_cast<std::size_t>(m)] += dcplx(sign * sr, sign * si);
  }
  std::vector<dcplx> s(L);
  if (dfftSize(L) == L) {
    s = g;
    dfft(s, +1);
  } else {
    // A length the radix-2 transform does not take: the folded sequence has at most 2 ip - 1
    // terms, summed at each frequency with the factors of a table of the imax roots of unity.
    std::vector<dcplx> root(L);
    const double step = 2.0 * 3.14159265358979323846 / static_cast<double>(L);
    for (std::size_t t = 0; t < L; ++t)
      root[t] =
          dcplx(std::cos(step * static_cast<double>(t)), std::sin(step * static_cast<double>(t)));
    std::vector<std::size_t> terms;
    for (std::size_t t = 0; t < L; ++t)
      if (g[t] != dcplx(0, 0)) terms.push_back(t);
    for (std::size_t k = 0; k < L; ++k) {
      double sr = 0, si = 0;
      for (std::size_t t : terms) {
        const dcplx a = g[t], b = root[(k * t) % L];
        sr += a.real() * b.real() - a.imag() * b.imag();
        si += a.real() * b.imag() + a.imag() * b.real();
      }
      s[k] = dcplx(sr, si);
    }
  }
  const double num = mode == 0 ? 1.0 : static_cast<double>(ip);
  for (std::size_t k = 0; k < L; ++k) {
    const double sr = s[k].real(), si = s[k].imag();
    pmv[k] = static_cast<Real>(num * sr / (sr * sr + si * si));  // Re(num / s)
  }
}

template void mvse<float>(Run&, const cplx*, int, int, int, float, int, float*, int&);
template void mvse<double>(Run&, const dcplx*, int, int, int, double, int, double*, int&);

}  // namespace voxtrel
