// The spectrum driver.
#pragma once

#include <cstdlib>
#include <string>
#include <vector>

#include "spectrum.h"
#include "voxtrel/run.h"

namespace voxtrel {

// Loads the data, runs the estimator of the run's method and leaves the PSD on the frequency
// grid: x_array[0..n_freq_pts-1] frequencies, the PSD in y_array (real data) or in the real
// parts of signal_amp (complex data). npts becomes the points read, nPoints the grid size.
void spectrum_est(Run& r, float* x_array, float* y_array, int& npts, int& nPoints, int& n_freq_pts,
                  cplx* signal_amp);

// A run's model or PSD in double precision (estimateInDouble): a(1..nPoles), b(1..nZeros) and
// sig2 for the model methods, psd (centred order) for the periodogram and Blackman-Tukey.
struct DoubleModel {
  std::vector<dcplx> a, b;
  double sig2 = 0;
  std::vector<double> psd;
};

// The Blackman-Tukey method's lag window of 2m+1 weights, w[m] for lag 0 (the modified
// Bartlett triangle (m - |k|) / m), in the precision the method runs in.
template <class Real>
void bartlettLagWindow(Real* w, int m) {
  for (int i = 1; i <= 2 * m + 1; ++i)
    w[i - 1] = static_cast<Real>(m - std::abs(i - (m + 1))) / static_cast<Real>(m);
}

// Runs the method on the samples in double precision (precision.h names the methods that
// can); the model is also left in the run state, rounded to single precision. given: the
// caller's samples in double precision, used instead of signal when there are some.
void estimateInDouble(Run& r, const cplx* signal, const dcplx* given, int npts, int nexp,
                      int nPoints, DoubleModel& model);

// The model's PSD in double precision, rounded into psd (centred order).
void modelPsdInDouble(Run& r, const DoubleModel& model, int nexp, float* psd, int nPoints);

// Reads up to npts points of the data file the answer reader left open: skips its header
// lines again, reads (x, y) pairs (real data) or x with a complex value, stops at the end of
// the file or at a bad record, and closes the file. st.ipts becomes the points read. A header
// longer than the file is a fatal stop.
void read_points(Run& r, int npts, float* x_array, float* y_array, cplx* signal_amp);

// What the run computes after its parameters are set: the spectrum on its grid, linear and in
// dB relative to its maximum, or no spectrum when the estimator failed.
struct ComputedSpectrum {
  bool failed = false;  // the estimator failed; the log holds its message
  int nFreqPts = 0;
  std::vector<float> x, psd, db;
  // The fitted model, a(1..nPoles) and b(1..nZeros); empty for the methods without one
  // (periodogram, Blackman-Tukey, minimum variance).
  std::vector<cplx> ar, ma;
  std::vector<Peak> peaks;  // the peak table's maxima
};

// Runs the driver on the run's parameters and data (npts points wanted, an nPoints grid), writes
// the dB spectrum and the peak table to the log. npts becomes the points used, nPoints the
// size of the grid the spectrum was evaluated on. Fatal stops and
// exhausted memory propagate as exceptions.
ComputedSpectrum compute_spectrum(Run& r, int& npts, int& nPoints);

// The local maxima of y (1-based indices, at most 100): the first point when it stands above
// its neighbour, then every point above both neighbours.
std::vector<int> find_peaks(const float* y, int nfreq);

// The run log's table of the spectrum's peaks (dB values); waits two seconds after it when
// writing to the run log (k = 6) and the run asks for the pause.
void tab_peaks(Run& r, int k, const float* x, const float* y, int nfreq);

}  // namespace voxtrel
