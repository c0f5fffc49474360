// Complex data held as separate real and imaginary floats, twice: conjugated and reversed, so
// that lagged values x(k - j) of consecutive j are consecutive elements, and as they are, for
// leading values x(k + j). Zeros past both ends cover the overhang of a strip of lanes.
#pragma once

#include <complex>
#include <cstddef>
#include <vector>

namespace voxtrel {

struct SplitSequences {
  // x(1..n), one-based; pad zeros behind each sequence.
  SplitSequences(const std::complex<float>* x, int n, int pad) {
    const auto len = static_cast<std::size_t>(n + pad);
    rr.assign(len, 0.0f);
    ri.assign(len, 0.0f);
    fr.assign(len, 0.0f);
    fi.assign(len, 0.0f);
    for (int m = 0; m < n; ++m) {
      const auto u = static_cast<std::size_t>(m);
      rr[u] = x[n - 1 - m].real();
      ri[u] = -x[n - 1 - m].imag();
      fr[u] = x[m].real();
      fi[u] = x[m].imag();
    }
  }
  std::vector<float> rr, ri;  // element m: conj(x(n - m))
  std::vector<float> fr, fi;  // element m: x(m + 1)
};

}  // namespace voxtrel
