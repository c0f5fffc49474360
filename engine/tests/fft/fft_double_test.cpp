// The FFT in double precision against a direct DFT in long double: errors at the level of
// double rounding, far below what single precision can reach; the inverse undoes the forward.
#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <random>
#include <vector>

#include "estimators.h"

using namespace voxtrel;

namespace {

using LC = std::complex<long double>;

std::vector<LC> directDft(const std::vector<dcplx>& x, int sign) {
  const std::size_t n = x.size();
  const long double pi = std::acos(-1.0L);
  std::vector<LC> out(n);
  for (std::size_t k = 0; k < n; ++k) {
    LC s = 0;
    for (std::size_t m = 0; m < n; ++m) {
      const long double a =
          sign * 2.0L * pi * static_cast<long double>(k * m % n) / static_cast<long double>(n);
      s += LC(x[m]) * LC(std::cos(a), std::sin(a));
    }
    out[k] = s;
  }
  return out;
}

TEST(FftDouble, AgreesWithDirectTransformToDoubleRounding) {
  std::mt19937 gen(4);
  std::normal_distribution<double> noise(0.0, 1.0);
  for (int nexp : {0, 1, 3, 6, 9}) {
    const std::size_t n = std::size_t{1} << nexp;
    std::vector<dcplx> x(n);
    for (auto& v : x) v = dcplx(noise(gen), noise(gen));
    for (int invrs : {1, -1}) {
      RunLog log;
      voxtrel::Run r(log);
      std::vector<dcplx> y = x;
      fft(r, y.data(), nexp, invrs, static_cast<int>(n));
      const auto want = directDft(x, -invrs);
      const long double scale = invrs == -1 ? static_cast<long double>(n) : 1.0L;
      for (std::size_t k = 0; k < n; ++k) {
        const long double err = std::abs(LC(y[k]) - want[k] / scale);
        EXPECT_LT(err, 1e-13L * std::sqrt(static_cast<long double>(n)) * (1 + nexp))
            << "nexp=" << nexp << " invrs=" << invrs << " k=" << k;
      }
    }
  }
}

TEST(FftDouble, InverseUndoesForwardAndFloatTablesAreUntouched) {
  RunLog log;
  voxtrel::Run r(log);
  std::vector<dcplx> x(1024);
  for (std::size_t i = 0; i < x.size(); ++i) x[i] = dcplx(std::sin(0.37 * i), std::cos(1.3 * i));
  std::vector<cplx> f(1024, cplx(1, 0));
  std::vector<dcplx> y = x;
  fft(r, f.data(), 10, 1, 1024);  // a single-precision table of the same size is kept too
  fft(r, y.data(), 10, 1, 1024);
  fft(r, y.data(), 10, -1, 1024);
  for (std::size_t i = 0; i < x.size(); ++i) EXPECT_LT(std::abs(y[i] - x[i]), 1e-14);
  EXPECT_EQ(f[0], cplx(1024, 0));
  for (std::size_t k = 1; k < f.size(); ++k) EXPECT_LT(std::abs(f[k]), 1e-3f);
}

}  // namespace
