// ARMA spectrum evaluation: P(f) = sig2 |B(f)|^2 / |A(f)|^2 on the N = 2^nexp frequency grid,
// A(z) = 1 + a(1) z^-1 + ... + a(p) z^-p and B(z) likewise with b, both evaluated by the FFT
// of their zero-padded coefficient sequences. The squared moduli and the quotient are formed
// in double precision (in either working precision); the result is returned in centred order
// (psd[N/2] is zero frequency).
#include <vector>

#include "estimators.h"
#include "fatal.h"
#include "stop_point.h"

namespace voxtrel {

namespace {

// The transform of 1, c(1), ..., c(order), 0, ..., 0 (N values).
template <class Real>
void polynomialTransform(Run& r, std::vector<std::complex<Real>>& v, const std::complex<Real>* c,
                         int order, int nexp, int npoints) {
  const int big = 1 << nexp;
  v[0] = std::complex<Real>(1, 0);
  for (int k = 1; k <= order && k < big; ++k) v[static_cast<std::size_t>(k)] = c[k - 1];
  for (int k = order + 1; k < big; ++k) v[static_cast<std::size_t>(k)] = std::complex<Real>(0, 0);
  fft(r, v.data(), nexp, 1, npoints);
}

template <class Real>
double norm2(std::complex<Real> v) {
  const double re = v.real(), im = v.imag();
  return re * re + im * im;
}

}  // namespace

template <class Real>
void armapsd(Run& r, int ip, int iq, const std::complex<Real>* a, const std::complex<Real>* b,
             Real sig2, int nexp, Real* psd, int npoints) {
  const auto n = static_cast<std::size_t>(npoints);
  auto den = allocateOrStop<std::complex<Real>>(
      r.log, n,
      " Aborting ARMAPSD due to Allocation error #: ", "Allocate error in ARMAPSD routine");
  auto xnum = allocateOrStop<std::complex<Real>>(
      r.log, n,
      " Aborting ARMAPSD due to Allocation error #: ", "Allocate error in ARMAPSD routine");
  auto p = allocateOrStop<Real>(r.log, n, " Aborting ARMAPSD due to Allocation error #: ",
                                "Allocate error in ARMAPSD routine");
  const int big = 1 << nexp;
  if (ip > 0) polynomialTransform(r, den, a, ip, nexp, npoints);
  if (iq > 0) polynomialTransform(r, xnum, b, iq, nexp, npoints);
  for (int i = 0; i < big; ++i) {
    stopPointEvery(r, i);
    const auto u = static_cast<std::size_t>(i);
    double v = sig2;
    if (iq > 0) v *= norm2(xnum[u]);
    if (ip > 0) v /= norm2(den[u]);
    p[u] = static_cast<Real>(v);
  }
  const int half = big / 2;
  for (int i = 0; i < half; ++i) {
    psd[half + i] = p[static_cast<std::size_t>(i)];
    psd[i] = p[static_cast<std::size_t>(half + i)];
  }
}

template void armapsd<float>(Run&, int, int, const cplx*, const cplx*, float, int, float*, int);
template void armapsd<double>(Run&, int, int, const dcplx*, const dcplx*, double, int, double*,
                              int);

}  // namespace voxtrel
