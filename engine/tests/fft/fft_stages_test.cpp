// The FFT's butterfly stages: the AVX variant gives the same numbers as the one butterfly at a
// time variant, in either precision, bit for bit (the transform itself is checked against the
// direct formulation in fft_test.cpp, through whichever variant the processor runs).
#include "fft_stages.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <complex>
#include <cstdint>
#include <random>
#include <vector>

#include "cpu_features.h"
#include "fft_twiddles.h"
#include "runlog.h"

using namespace voxtrel;

namespace {

// Normal samples scaled by powers of two from 2^-60 to 2^60, with signed zeros among them.
template <class Real>
std::vector<Real> mixedSamples(std::size_t count, unsigned seed) {
  std::mt19937 gen(seed);
  std::normal_distribution<Real> g;
  std::uniform_int_distribution<int> scale(-60, 60), pick(0, 7);
  std::vector<Real> y(count);
  for (auto& v : y) {
    const int p = pick(gen);
    v = p == 0 ? Real(0) : p == 1 ? -Real(0) : std::ldexp(g(gen), scale(gen));
  }
  return y;
}

template <class Real, class Bits>
void expectAvxIsOneButterflyAtATime() {
  RunLog log;
  FftTwiddles twiddles;
  for (int nexp = 0; nexp <= 16; ++nexp) {
    for (int invrs : {1, -1}) {
      const auto* table = twiddles.ready<Real>(log, nexp, invrs);
      const std::size_t reals = std::size_t{2} << nexp;
      for (unsigned seed = 1; seed <= 3; ++seed) {
        auto portable = mixedSamples<Real>(reals, seed * 100u + static_cast<unsigned>(nexp));
        auto avx = portable;
        fftStagesPortable(portable.data(), nexp, table);
        fftStagesAvx(avx.data(), nexp, table);
        for (std::size_t i = 0; i < reals; ++i) {
          ASSERT_EQ(std::bit_cast<Bits>(avx[i]), std::bit_cast<Bits>(portable[i]))
              << "nexp=" << nexp << " invrs=" << invrs << " seed=" << seed << " value " << i;
        }
      }
    }
  }
}

}  // namespace

TEST(FftStages, AvxGivesTheSameNumbersAsOneButterflyAtATime) {
  if (!cpuHasAvx()) GTEST_SKIP() << "no AVX on this processor";
  expectAvxIsOneButterflyAtATime<float, std::uint32_t>();
  expectAvxIsOneButterflyAtATime<double, std::uint64_t>();
}
