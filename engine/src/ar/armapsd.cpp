// ARMA spectrum evaluation: P(f) = sig2 |B(f)|^2 / |A(f)|^2 on the N = 2^nexp frequency grid,
// A(z) = 1 + a(1) z^-1 + ... + a(p) z^-p and B(z) likewise with b, both evaluated by the FFT
// of their zero-padded coefficient sequences. The squared moduli and the quotient are formed
// in double precision; the result is returned in centred order (psd[N/2] is zero frequency).
#include <vector>

#include "estimators.h"
#include "fatal.h"
#include "stop_point.h"

namespace voxtrel {

namespace {

// The transform of 1, c(1), ..., c(order), 0, ..., 0 (N values).
void polynomialTransform(Run& r, std::vector<cplx>& v, const cplx* c, int order, int nexp,
                         int npoints) {
  const int big = 1 << nexp;
  v[0] = cplx(1, 0);
  for (int k = 1; k <= order && k < big; ++k) v[static_cast<std::size_t>(k)] = c[k - 1];
  for (int k = order + 1; k < big; ++k) v[static_cast<std::size_t>(k)] = cplx(0, 0);
  fft(r, v.data(), nexp, 1, npoints);
}

double norm2(cplx v) {
  const double re = v.real(), im = v.imag();
  return re * re + im * im;
}

}  // namespace

void armapsd(Run& r, int ip, int iq, const cplx* a, const cplx* b, float sig2, int nexp, float* psd,
             int npoints) {
  const auto n = static_cast<std::size_t>(npoints);
  auto den = allocateOrStop<cplx>(r.log, n, " Aborting ARMAPSD due to Allocation error #: ",
                                  "Allocate error in ARMAPSD routine");
  auto xnum = allocateOrStop<cplx>(r.log, n, " Aborting ARMAPSD due to Allocation error #: ",
                                   "Allocate error in ARMAPSD routine");
  auto p = allocateOrStop<float>(r.log, n, " Aborting ARMAPSD due to Allocation error #: ",
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
    p[u] = static_cast<float>(v);
  }
  const int half = big / 2;
  for (int i = 0; i < half; ++i) {
    psd[half + i] = p[static_cast<std::size_t>(i)];
    psd[i] = p[static_cast<std::size_t>(half + i)];
  }
}

}  // namespace voxtrel
