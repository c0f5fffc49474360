// The spectrum driver.
#pragma once

#include "spectrum.h"

namespace voxtrel {

// Loads the data, runs the estimator of the run's method and leaves the PSD on the frequency
// grid: x_array[0..n_freq_pts-1] frequencies, the PSD in y_array (real data) or in the real
// parts of signal_amp (complex data). npts becomes the points read, nPoints the grid size.
void spectrum_est(Run& r, float* x_array, float* y_array, int& npts, int& nPoints,
                  int& n_freq_pts, cplx* signal_amp);

// The run log's table of the spectrum's peaks (dB values); waits two seconds after it when
// writing to the run log (k = 6) and the run asks for the pause.
void tab_peaks(Run& r, int k, const float* x, const float* y, int nfreq);

}  // namespace voxtrel
