// Blackman-Tukey spectrum: the Fourier transform of the lag-windowed autocorrelation sequence
// up to the largest lag M,
//   P(f) = sum_{k=-M}^{M} w(k) r(k) exp(-j 2 pi f k),   r(-k) = conj(r(k)),
// evaluated on the N = 2^nexp grid by transforming the sequence laid out from lag -M at index 1
// (lag 0 at index M+1) and undoing that M-sample offset by the phase exp(j 2 pi f M). The real
// part is kept and returned in centred order (pbt[N/2] is zero frequency); no further scaling.
//
// A largest lag below 1, one that reaches the number of samples, or a two-sided sequence of
// 2M+1 lags that does not fit in N points ends with a run-log line naming the cause and
// iflag = kIflagDegenerate.
//
// Written once for single and double precision (the real type of the samples, the lag window
// and the spectrum); the phase is formed in that precision too.
#include <cmath>
#include <cstddef>

#include "estimators.h"
#include "fatal.h"

namespace voxtrel {

template <class Real>
void blacktukey(Run& r, const std::complex<Real>* x, int n, int mode, const Real* w, int m,
                int nexp, Real* pbt, int npoints) {
  using C = std::complex<Real>;
  const int big = 1 << nexp;
  if (m < 1 || m >= n || 2 * m + 1 > big) {
    r.log.blank();
    r.log.put({" Blackman-Tukey: the largest lag M =", m, " must be at least 1, below npts =", n,
               " and 2M+1 must not exceed nPoints =", big, "."});
    r.st.iflag = kIflagDegenerate;
    return;
  }
  const auto size = static_cast<std::size_t>(npoints);
  auto rcorr = allocateOrStop<C>(r.log, size, " Aborting BlackTuk due to Allocation error #:",
                                 "Allocate error in BlackTuk routine");
  auto Rxx = allocateOrStop<C>(r.log, size, " Aborting BlackTuk due to Allocation error #:",
                               "Allocate error in BlackTuk routine");
  auto p = allocateOrStop<Real>(r.log, size, " Aborting BlackTuk due to Allocation error #:",
                                "Allocate error in BlackTuk routine");

  const Real pi = Real(4) * std::atan(Real(1));
  const int m1 = m + 1;
  correlation(n, m1, mode, x, x, rcorr.data());

  // Zero-based: Rxx[m] is lag 0, Rxx[m + k] lag k, Rxx[m - k] lag -k.
  const auto c = static_cast<std::size_t>(m);
  Rxx[c] = w[m] * rcorr[0];
  for (int k = 1; k <= m; ++k) {
    const auto u = static_cast<std::size_t>(k);
    Rxx[c + u] = w[m + k] * rcorr[u];
    Rxx[c - u] = w[m - k] * std::conj(rcorr[u]);
  }
  for (int i = 2 * m + 1; i < big; ++i) Rxx[static_cast<std::size_t>(i)] = C(0, 0);

  fft(r, Rxx.data(), nexp, 1, npoints);

  for (int i = 0; i < big; ++i) {
    const Real f = static_cast<Real>(i) / static_cast<Real>(big);
    const Real angle = f * Real(2) * pi * static_cast<Real>(m);
    const auto u = static_cast<std::size_t>(i);
    p[u] = (Rxx[u] * C(std::cos(angle), std::sin(angle))).real();
  }
  const int half = big / 2;
  for (int i = 0; i < half; ++i) {
    pbt[half + i] = p[static_cast<std::size_t>(i)];
    pbt[i] = p[static_cast<std::size_t>(half + i)];
  }
}

template void blacktukey<float>(Run&, const cplx*, int, int, const float*, int, int, float*, int);
template void blacktukey<double>(Run&, const dcplx*, int, int, const double*, int, int, double*,
                                 int);

}  // namespace voxtrel
