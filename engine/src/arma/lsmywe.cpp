// Least-squares modified Yule-Walker ARMA method. The modified Yule-Walker equations for the
// lags q+1 .. M,
//   sum_{j=1}^{p} a(j) R(q+i-j) = -R(q+i),  i = 1..M-q,
// are more than p equations when M > p + q; they are solved in the least-squares sense
// through the normal equations rr^H rr a = -rr^H r with the Hermitian solver, where
// rr(i,j) = R(q+i-j) and R(-m) = conj(R(m)). The MA part and the noise variance come from
// Durbin's method on the data filtered by A(z), as in the modified Yule-Walker method.
// Written once for single and double precision (the real type of the data, the lags, the
// normal equations and the solver's tables).
#include <algorithm>
#include <string>
#include <type_traits>
#include <vector>

#include "degenerate.h"
#include "estimators.h"
#include "fatal.h"
#include "precision_tables.h"
#include "stop_point.h"

namespace voxtrel {

namespace {

// The name of the arithmetic a message speaks of.
template <class Real>
std::string precisionName() {
  return std::is_same_v<Real, float> ? "single" : "double";
}

}  // namespace

// AR estimates in theta(1..ip), b(1..iq) and sig2 from the MA stage. iflag -1 when a
// Cholesky pivot is not above eps (b and sig2 untouched); fewer equations than poles, data
// shorter than the orders and all-zero data are reported as degenerate.
template <class Real>
void lsmywe(Run& r, const std::complex<Real>* x, int n, int ip, int iq, int m_eqs, Real eps,
            std::complex<Real>* b, Real& sig2, int& iflag, int npoints) {
  using C = std::complex<Real>;
  iflag = 0;
  const int p = ip, q = iq, M = m_eqs;
  if (n <= p + q || M - q < p) {
    reportDegenerate(r,
                     {" LSMYWE: nPoles =", p, " and nZeros =", q, " need M_Eqs - nZeros >= nPoles",
                      " and more than nPoles + nZeros data points; M_Eqs =", M, ", nPts =", n});
    iflag = kIflagDegenerate;
    return;
  }
  // Lags 0..M are used and M may equal the number of points.
  const auto lags = static_cast<std::size_t>(std::max(npoints, M + 1) + 1);
  auto Rxx = allocateOrStop<C>(r.log, lags, " Aborting LSMYWE due to Allocation error #: ",
                               "Allocate error in LSMYWE routine");
  auto y = allocateOrStop<C>(
      r.log, static_cast<std::size_t>(std::max(npoints, n)),
      " Aborting LSMYWE due to Allocation error #: ", "Allocate error in LSMYWE routine");
  correlation(n, M + 1, 0, x, x, Rxx.data());
  if (!(Rxx[0].real() > Real(0))) {
    // Zero power from data that are not all zero: the power fell below the smallest number
    // of the precision the method runs in.
    Real largest = 0;
    for (int i = 0; i < n; ++i) largest = std::max(largest, std::abs(x[i]));
    if (largest > Real(0)) {
      reportDegenerate(
          r, {" LSMYWE: the data's power underflows " + precisionName<Real>() +
                  " precision (largest |x| =",
              largest, "); rescale the data (multiply by a power of ten) and run again."});
    } else {
      reportDegenerate(r,
                       {" LSMYWE: the data have zero power (all-zero data?); nothing to model."});
    }
    iflag = kIflagDegenerate;
    return;
  }

  // The equation matrix is read straight from the lags: M - q rows may be far more than a
  // stored table holds.
  auto rr = [&](int i, int j) {
    const int m = q + i - j;
    return m >= 0 ? Rxx[static_cast<std::size_t>(m)] : std::conj(Rxx[static_cast<std::size_t>(-m)]);
  };
  const int rows = M - q;
  FVec<C>& hc = ModelTables<Real>::hc(r);
  FVec<C>& theta = ModelTables<Real>::theta(r);
  // conj(a) b in double precision, written out (finite values: no not-a-number recovery).
  auto conjProduct = [](C a, C b) {
    const double ar = a.real(), ai = -static_cast<double>(a.imag());
    const double br = b.real(), bi = b.imag();
    return dcplx(ar * br - ai * bi, ar * bi + ai * br);
  };
  // rr is Toeplitz, so along a diagonal of the normal matrix the sums share all but their end
  // terms: H(i+1, j+1) = H(i, j) + conj(rr(0, j)) rr(0, i) - conj(rr(rows, j)) rr(rows, i).
  // Each diagonal's first entry (i, 1) is summed in full, the rest follow by that update in
  // double precision: O(p (M - q) + p^2) in place of O(p^2 (M - q)).
  for (int d = 0; d < p; ++d) {
    stopPoint(r);
    dcplx sum(0, 0);
    for (int m = 1; m <= rows; ++m) sum += conjProduct(rr(m, 1), rr(m, 1 + d));
    for (int j = 1; j + d <= p; ++j) {
      const int i = j + d;
      if (j > 1)
        sum +=
            conjProduct(rr(0, j - 1), rr(0, i - 1)) - conjProduct(rr(rows, j - 1), rr(rows, i - 1));
      hc(i * (i - 1) / 2 + j) = C(sum);
    }
  }
  for (int i = 1; i <= p; ++i) {
    dcplx sum(0, 0);
    for (int m = 1; m <= rows; ++m)
      sum += std::conj(dcplx(rr(m, i))) * dcplx(Rxx[static_cast<std::size_t>(q + m)]);
    theta(i) = C(-sum);
  }
  // The solver does not test its first pivot, the sum of |R(m)|^2 over the lags q..M-1. It is
  // zero when those lags are all zero, or when they are so small that their squares underflow
  // the arithmetic (data of a tiny scale): the lags themselves tell the two apart.
  if (p >= 1 && !(hc(1).real() > Real(0))) {
    Real largest = 0;
    for (int m = q; m <= M - 1; ++m)
      largest = std::max(largest, std::abs(Rxx[static_cast<std::size_t>(m)]));
    if (largest > Real(0)) {
      reportDegenerate(
          r, {" LSMYWE: the normal equations underflow " + precisionName<Real>() +
                  " precision (largest "
                  "|R(q)| .. |R(M-1)| =",
              largest, "); rescale the data (multiply by a power of ten) and run again."});
    } else {
      reportDegenerate(r, {" LSMYWE: the lags R(q) .. R(M-1) are all zero (q = nZeros =", q,
                           "); the equations carry no information. Lower nZeros."});
    }
    iflag = kIflagDegenerate;
    return;
  }
  stopPoint(r);
  cholesky(r, p, eps, iflag);
  if (iflag != 0) return;
  czerofilt(x, n, p, theta.data(), y.data());
  durbinMaStage(r, y.data(), n, q, b, sig2, npoints);
  if (runIsDegenerate(r)) iflag = kIflagDegenerate;
}

template void lsmywe<float>(Run&, const cplx*, int, int, int, int, float, cplx*, float&, int&, int);
template void lsmywe<double>(Run&, const dcplx*, int, int, int, int, double, dcplx*, double&, int&,
                             int);

}  // namespace voxtrel
