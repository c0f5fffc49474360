// Lockheed method: an ARMA-shaped spectrum from two AR fits of the same data. The denominator
// A(z) is the autocorrelation-method model of order ip, the numerator B(z) the Burg
// prediction-error filter of order iq. With both orders positive the noise variance is the
// power of the data filtered by A(z)/B(z), measured by varm.
//
// varm: sig2 = (1 / (n N)) sum_i |X(i)|^2 |A(i)|^2 / |B(i)|^2 over the N = 2^nexp transform
// bins, which is the energy of the circularly filtered data divided by n. The data array is
// zero-padded and replaced by its transform; B comes from bc. When either fit meets degenerate
// data it has named the cause in the run log and set iflag; the method stops there.
#include <vector>

#include "estimators.h"
#include "fatal.h"

namespace voxtrel {

void varm(Run& r, cplx* x, int n, const cplx* a, int ip, int iq, int nexp, float& sig2,
          int npoints) {
  const auto size = static_cast<std::size_t>(npoints);
  auto aa_mayn = allocateOrStop<cplx>(r.log, size, " Aborting VARM due to Allocation error #: ",
                                      "Allocate error in MAYNEFIR's VARM routine");
  auto bb_mayn = allocateOrStop<cplx>(r.log, size, " Aborting VARM due to Allocation error #: ",
                                      "Allocate error in MAYNEFIR's VARM routine");
  FVec<cplx>& bc = r.w.bc();
  const int big = 1 << nexp;
  for (int i = n; i < big; ++i) x[i] = cplx(0, 0);
  aa_mayn[0] = cplx(1, 0);
  bb_mayn[0] = cplx(1, 0);
  for (int i = 2; i <= big; ++i) {
    const auto u = static_cast<std::size_t>(i - 1);
    aa_mayn[u] = i <= ip + 1 ? a[i - 2] : cplx(0, 0);
    bb_mayn[u] = i <= iq + 1 ? bc(i - 1) : cplx(0, 0);
  }
  fft(r, x, nexp, 1, npoints);
  fft(r, aa_mayn.data(), nexp, 1, npoints);
  fft(r, bb_mayn.data(), nexp, 1, npoints);
  float sum = 0;
  for (int i = 0; i < big; ++i) {
    const auto u = static_cast<std::size_t>(i);
    sum += std::norm(x[i]) * std::norm(aa_mayn[u]) / std::norm(bb_mayn[u]);
  }
  sig2 = sum / (static_cast<float>(n) * static_cast<float>(big));
}

void lockheed(Run& r, cplx* x, int n, int ip, int iq, cplx* a, cplx* b, int nexp, float& sig2,
              int npoints) {
  if (ip > 0) autocorr(r, x, n, ip, a, sig2, npoints);
  if (r.st.iflag != 0) return;  // the autocorrelation fit has named its cause
  if (iq > 0) burg(r, x, n, iq, b, sig2, npoints);
  if (r.st.iflag != 0) return;
  if (ip > 0 && iq > 0) {
    FVec<cplx>& bc = r.w.bc();
    for (int i = 1; i <= iq; ++i) bc(i) = b[i - 1];
    varm(r, x, n, a, ip, iq, nexp, sig2, npoints);
  }
}

}  // namespace voxtrel
