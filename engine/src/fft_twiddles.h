// The twiddle factors of the radix-2 FFT, kept for the run like a plan, so that repeated
// transforms of one size and direction evaluate cos and sin only once.
#pragma once

#include <complex>
#include <vector>

#include "runlog.h"

namespace voxtrel {

class FftTwiddles {
 public:
  // The factors w(j) = cos(a) + i sin(a), a = -2 pi invrs j / N, j = 0 .. N/2 - 1, of the
  // last stage (span N = 2^nexp), in single precision. Stage le uses w(k N / le) for its
  // factor k: the float angle of k at span le is bit for bit the angle of k N / le at span N.
  // Computed on the first call for (nexp, invrs) and kept until another pair is asked for.
  const std::complex<float>* ready(RunLog& log, int nexp, int invrs);

 private:
  int nexp_ = -1, invrs_ = 0;
  std::vector<std::complex<float>> w_;
};

}  // namespace voxtrel
