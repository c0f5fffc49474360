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
#include <cmath>
#include <cstddef>

#include "estimators.h"
#include "fatal.h"

namespace voxtrel {

void blacktukey(Run& r, const cplx* x, int n, int mode, const float* w, int m, int nexp, float* pbt,
                int npoints) {
  const int big = 1 << nexp;
  if (m < 1 || m >= n || 2 * m + 1 > big) {
    r.log.blank();
    r.log.put({" Blackman-Tukey: the largest lag M =", m, " must be at least 1, below npts =", n,
               " and 2M+1 must not exceed nPoints =", big, "."});
    r.st.iflag = kIflagDegenerate;
    return;
  }
  const auto size = static_cast<std::size_t>(npoints);
  auto rcorr = allocateOrStop<cplx>(r.log, size, " Aborting BlackTuk due to Allocation error #:",
                                    "Allocate error in BlackTuk routine");
  auto Rxx = allocateOrStop<cplx>(r.log, size, " Aborting BlackTuk due to Allocation error #:",
                                  "Allocate error in BlackTuk routine");
  auto p = allocateOrStop<float>(r.log, size, " Aborting BlackTuk due to Allocation error #:",
                                 "Allocate error in BlackTuk routine");

  const float pi = 4.0f * std::atan(1.0f);
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
  for (int i = 2 * m + 1; i < big; ++i) Rxx[static_cast<std::size_t>(i)] = cplx(0, 0);

  fft(r, Rxx.data(), nexp, 1, npoints);

  for (int i = 0; i < big; ++i) {
    const float f = static_cast<float>(i) / static_cast<float>(big);
    const float angle = f * 2.0f * pi * static_cast<float>(m);
    const auto u = static_cast<std::size_t>(i);
    p[u] = (Rxx[u] * cplx(std::cos(angle), std::sin(angle))).real();
  }
  const int half = big / 2;
  for (int i = 0; i < half; ++i) {
    pbt[half + i] = p[static_cast<std::size_t>(i)];
    pbt[i] = p[static_cast<std::size_t>(half + i)];
  }
}

}  // namespace voxtrel
