// The in-place bit-reversal permutation against the index reversed bit by bit.
#include "bit_reverse.h"

#include <gtest/gtest.h>

#include <complex>
#include <vector>

using voxtrel::bitReverse;

namespace {

int reversed(int i, int bits) {
  int r = 0;
  for (int b = 0; b < bits; ++b) r |= ((i >> b) & 1) << (bits - 1 - b);
  return r;
}

}  // namespace

TEST(BitReverse, EveryElementLandsAtItsReversedIndex) {
  for (int nexp = 0; nexp <= 20; ++nexp) {
    const int n = 1 << nexp;
    // One more element than the transform holds: it must be left alone.
    std::vector<std::complex<float>> x(static_cast<std::size_t>(n) + 1);
    for (int i = 0; i <= n; ++i) x[i] = {static_cast<float>(i), -static_cast<float>(i)};
    bitReverse(x.data(), nexp);
    for (int i = 0; i < n; ++i) {
      const auto from = static_cast<float>(reversed(i, nexp));
      ASSERT_EQ(x[i], std::complex<float>(from, -from)) << "nexp=" << nexp << " i=" << i;
    }
    ASSERT_EQ(x[n], std::complex<float>(static_cast<float>(n), -static_cast<float>(n)));
  }
}
