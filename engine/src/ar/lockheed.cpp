// Lockheed method: an ARMA-shaped spectrum from two AR fits of the same data. The denominator
// A(z) is the autocorrelation-method model of order ip, the numerator B(z) the Burg
// prediction-error filter of order iq. With both orders positive the noise variance is the
// power of the data filtered by A(z)/B(z), measured by varm.
//
// varm: sig2 = (1 / (n N)) sum_i |X(i)|^2 |A(i)|^2 / |B(i)|^2 over the N = 2^nexp transform
// bins, which is the energy of the circularly filtered data divided by n. The data array is
// zero-padded and replaced by its transform. When either fit meets degenerate data it has
// named the cause in the run log and set iflag; the method stops there.
//
// Both are written once for single and double precision (the real type of the data, the
// models, the transforms and the power sum).
#include <vector>

#include "estimators.h"
#include "fatal.h"

namespace voxtrel {

template <class Real>
void varm(Run& r, std::complex<Real>* x, int n, const std::complex<Real>* a, int ip,
          const std::complex<Real>* b, int iq, int nexp, Real& sig2, int npoints) {
  using C = std::complex<Real>;
  const auto size = static_cast<std::size_t>(npoints);
  auto aa_mayn = allocateOrStop<C>(r.log, size, " Aborting VARM due to Allocation error #: ",
                                   "Allocate error in MAYNEFIR's VARM routine");
  auto bb_mayn = allocateOrStop<C>(r.log, size, " Aborting VARM due to Allocation error #: ",
                                   "Allocate error in MAYNEFIR's VARM routine");
  const int big = 1 << nexp;
  for (int i = n; i < big; ++i) x[i] = C(0, 0);
  aa_mayn[0] = C(1, 0);
  bb_mayn[0] = C(1, 0);
  for (int i = 2; i <= big; ++i) {
    const auto u = static_cast<std::size_t>(i - 1);
    aa_mayn[u] = i <= ip + 1 ? a[i - 2] : C(0, 0);
    bb_mayn[u] = i <= iq + 1 ? b[i - 2] : C(0, 0);
  }
  fft(r, x, nexp, 1, npoints);
  fft(r, aa_mayn.data(), nexp, 1, npoints);
  fft(r, bb_mayn.data(), nexp, 1, npoints);
  Real sum = 0;
  for (int i = 0; i < big; ++i) {
    const auto u = static_cast<std::size_t>(i);
    sum += std::norm(x[i]) * std::norm(aa_mayn[u]) / std::norm(bb_mayn[u]);
  }
  sig2 = sum / (static_cast<Real>(n) * static_cast<Real>(big));
}

template <class Real>
void lockheed(Run& r, std::complex<Real>* x, int n, int ip, int iq, std::complex<Real>* a,
              std::complex<Real>* b, int nexp, Real& sig2, int npoints) {
  if (ip > 0) autocorr(r, x, n, ip, a, sig2, npoints);
  if (r.st.iflag != 0) return;  // the autocorrelation fit has named its cause
  if (iq > 0) burg(r, x, n, iq, b, sig2, npoints);
  if (r.st.iflag != 0) return;
  if (ip > 0 && iq > 0) varm(r, x, n, a, ip, b, iq, nexp, sig2, npoints);
}

template void varm<float>(Run&, cplx*, int, const cplx*, int, const cplx*, int, int, float&, int);
template void varm<double>(Run&, dcplx*, int, const dcplx*, int, const dcplx*, int, int, double&,
                           int);
template void lockheed<float>(Run&, cplx*, int, int, int, cplx*, cplx*, int, float&, int);
template void lockheed<double>(Run&, dcplx*, int, int, int, dcplx*, dcplx*, int, double&, int);

}  // namespace voxtrel
