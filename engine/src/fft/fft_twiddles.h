// The twiddle factors of the radix-2 FFT, kept for the run like a plan, so that repeated
// transforms of one size and direction evaluate cos and sin only once.
#pragma once

#include <complex>
#include <vector>

#include "runlog.h"

namespace voxtrel {

class FftTwiddles {
 public:
  // The factors w = cos(a) + i sin(a), a = -2 pi invrs k / le, k = 0 .. le/2 - 1, of every
  // stage le = 2, 4, .., N = 2^nexp, in single precision, stage after stage: those of stage le
  // start at element le/2 (N elements, the first unused, so that from stage 8 on a stage's
  // factors start at a multiple of 4). Computed on the first call for (nexp, invrs) and kept
  // until another pair is asked for. Each precision keeps its own table, evaluated in that
  // precision.
  template <class Real = float>
  const std::complex<Real>* ready(RunLog& log, int nexp, int invrs);

 private:
  template <class Real>
  struct Table {
    int nexp = -1, invrs = 0;
    std::vector<std::complex<Real>> w;
  };
  template <class Real>
  Table<Real>& table();

  Table<float> single_;
  Table<double> double_;
};

}  // namespace voxtrel
