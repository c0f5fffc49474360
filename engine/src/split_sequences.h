// Complex data held as separate real and imaginary parts (of either precision), twice: conjugated
// and reversed, so that lagged values x(k - j) of consecutive j are consecutive elements, and as
// they are, for leading values x(k + j). Zeros past both ends cover the overhang of a strip of
// lanes.
#pragma once

#include <complex>
#include <cstddef>
#include <vector>

namespace voxtrel {

template <class Real>
struct SplitSequences {
  // x(1..n), one-based; pad zeros behind each sequence.
  SplitSequences(const std::complex<Real>* x, int n, int pad) {
    const auto len = static_cast<std::size_t>(n + pad);
    rr.assign(len, Real(0));
    ri.assign(len, Real(0));
    fr.assign(len, Real(0));
    fi.assign(len, Real(0));
    for (int m = 0; m < n; ++m) {
      const auto u = static_cast<std::size_t>(m);
      rr[u] = x[n - 1 - m].real();
      ri[u] = -x[n - 1 - m].imag();
      fr[u] = x[m].real();
      fi[u] = x[m].imag();
    }
  }
  std::vector<Real> rr, ri;  // element m: conj(x(n - m))
  std::vector<Real> fr, fi;  // element m: x(m + 1)
};

}  // namespace voxtrel
