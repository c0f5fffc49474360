// compute_spectrum: the part of a run that both the file-driven run and the array entry go
// through once the parameters are set: the driver, the decibel scaling and the peak table.
#include <cmath>
#include <vector>

#include "fatal.h"
#include "spec_est.h"
#include "spec_in.h"
#include "stop_point.h"

namespace voxtrel {

namespace {

// Converts the PSD values to dB relative to their maximum, floored at -100 dB, and writes
// each point to the log.
void toDecibels(Run& r, const std::vector<float>& x, std::vector<float>& s, int n) {
  RunLog& log = r.log;
  float ymax = -1.0e11f;
  for (int i = 0; i < n; ++i) {
    if (ymax < s[static_cast<std::size_t>(i)]) ymax = s[static_cast<std::size_t>(i)];
  }
  const float floor = 1.0e-5f * ymax;
  for (int i = 0; i < n; ++i) {
    stopPointEvery(r, i);
    float& v = s[static_cast<std::size_t>(i)];
    if (v < floor) {
      v = -100.0f;
    } else {
      v = 20.0f * std::log10(v / ymax);
      if (v < -100.0f) v = -100.0f;
    }
    log.put({" freq(i) & spectrum(i)=", i + 1, x[static_cast<std::size_t>(i)], v});
  }
}

}  // namespace

ComputedSpectrum compute_spectrum(Run& r, int& npts, int& nPoints) {
  RunLog& log = r.log;
  ComputedSpectrum out;
  const auto n = static_cast<std::size_t>(nPoints);
  auto y_array = allocateOrStop<float>(
      log, n, " Aborting Main due to Allocation error #: ", "Allocate Main in error");
  auto signal_amp = allocateOrStop<cplx>(
      log, n, " Aborting Main due to Allocation error #: ", "Allocate Main in error");
  auto x_array = allocateOrStop<float>(
      log, n, " Aborting Main due to Allocation error #: ", "Allocate Main in error");

  r.st.iflag = 0;
  int n_freq_pts = 0;
  spectrum_est(r, x_array.data(), y_array.data(), npts, nPoints, n_freq_pts, signal_amp.data());
  const int m = r.st.method;
  if (m != kPeriodogram && m != kBlackTukey && m != kMvse) {
    for (int k = 1; k <= r.st.npoles; ++k) out.ar.push_back(r.st.a(k));
    for (int k = 1; k <= r.st.nzeros; ++k) out.ma.push_back(r.st.b(k));
  }

  if (r.st.iflag != 0) {
    log.put(" ");
    log.put("For more on how to solve this calculation problem ");
    log.put("  S. M. Kay, Modern Spectral Estimation: Theory and Application,");
    log.put("  Prentice Hall, Englewood Cliffs, New Jersey, 1988.");
    log.put(" ");
    log.put(" ----------- No Plot ! -----------");
    log.put(" ");
    out.failed = true;
    return out;
  }
  log.put({" nPoints / n_freq_pts =", nPoints, n_freq_pts});
  std::vector<float> spectrum(static_cast<std::size_t>(n_freq_pts));
  for (int i = 0; i < n_freq_pts; ++i) {
    const auto u = static_cast<std::size_t>(i);
    spectrum[u] = r.st.itype == 1 ? std::fabs(y_array[u]) : std::abs(signal_amp[u]);
  }
  x_array.resize(static_cast<std::size_t>(n_freq_pts));
  out.psd = spectrum;
  toDecibels(r, x_array, spectrum, n_freq_pts);
  tab_peaks(r, kStatusOk, x_array.data(), spectrum.data(), n_freq_pts);
  for (int i : find_peaks(spectrum.data(), n_freq_pts)) {
    const auto u = static_cast<std::size_t>(i - 1);
    out.peaks.push_back({x_array[u], spectrum[u]});
  }
  log.put(" ");
  log.put(" ----------- Finished PSD Calculations ! -----------");
  log.put(" ");
  out.nFreqPts = n_freq_pts;
  out.x = std::move(x_array);
  out.db = std::move(spectrum);
  return out;
}

}  // namespace voxtrel
