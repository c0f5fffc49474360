// The FFT against a direct DFT in double precision, and its documented edge cases.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "estimators.h"

using namespace voxtrel;

namespace {

std::vector<std::complex<double>> directDft(const std::vector<cplx>& x, int sign) {
  const std::size_t n = x.size();
  std::vector<std::complex<double>> out(n);
  const double pi = std::acos(-1.0);
  for (std::size_t k = 0; k < n; ++k) {
    std::complex<double> s = 0;
    for (std::size_t m = 0; m < n; ++m) {
      const double a = sign * 2.0 * pi * static_cast<double>(k * m % n) / static_cast<double>(n);
      s += std::complex<double>(x[m]) * std::complex<double>(std::cos(a), std::sin(a));
    }
    out[k] = s;
  }
  return out;
}

std::vector<cplx> randomSignal(std::size_t n, unsigned seed) {
  std::mt19937 gen(seed);
  std::normal_distribution<float> g;
  std::vector<cplx> x(n);
  for (auto& v : x) v = cplx(g(gen), g(gen));
  return x;
}

}  // namespace

TEST(Fft, AgreesWithDirectDftForEverySizeUpTo1024) {
  RunLog log;
  voxtrel::Run r(log);
  for (int nexp = 0; nexp <= 10; ++nexp) {
    const std::size_t n = std::size_t{1} << nexp;
    auto x = randomSignal(n, 17u + static_cast<unsigned>(nexp));
    const auto ref = directDft(x, -1);
    fft(r, x.data(), nexp, 1, static_cast<int>(n));
    // Single-precision radix-2 error grows like log2(N) eps times the signal's scale.
    const double tol = 1e-5 * std::sqrt(static_cast<double>(n)) * (nexp + 1);
    for (std::size_t k = 0; k < n; ++k) {
      EXPECT_NEAR(x[k].real(), ref[k].real(), tol) << "N=" << n << " k=" << k;
      EXPECT_NEAR(x[k].imag(), ref[k].imag(), tol) << "N=" << n << " k=" << k;
    }
  }
}

TEST(Fft, InverseUndoesForward) {
  RunLog log;
  voxtrel::Run r(log);
  const auto orig = randomSignal(4096, 5);
  auto x = orig;
  fft(r, x.data(), 12, 1, 4096);
  fft(r, x.data(), 12, -1, 4096);
  for (std::size_t i = 0; i < x.size(); ++i) EXPECT_NEAR(std::abs(x[i] - orig[i]), 0.0, 2e-5);
}

TEST(Fft, DocumentedEdgeCases) {
  RunLog log;
  voxtrel::Run r(log);
  std::vector<cplx> one{cplx(3, -2)};
  fft(r, one.data(), 0, 1, 1);
  EXPECT_EQ(one[0], cplx(3, -2));

  std::vector<cplx> impulse(16);
  impulse[0] = 1;
  fft(r, impulse.data(), 4, 1, 16);
  for (const auto& v : impulse) EXPECT_EQ(v, cplx(1, 0));

  std::vector<cplx> ones(8, cplx(1, 0));
  fft(r, ones.data(), 3, 1, 8);
  EXPECT_EQ(ones[0], cplx(8, 0));
  for (std::size_t i = 1; i < 8; ++i) EXPECT_NEAR(std::abs(ones[i]), 0.0, 1e-6);
  fft(r, ones.data(), 3, -1, 8);
  for (const auto& v : ones) EXPECT_NEAR(std::abs(v - cplx(1, 0)), 0.0, 1e-6);

  auto x = randomSignal(8, 3);
  const auto before = x;
  fft(r, x.data(), 3, 0, 8);
  EXPECT_EQ(x, before);

  // Elements beyond N are left alone.
  std::vector<cplx> padded(8, cplx(5, 5));
  fft(r, padded.data(), 2, 1, 8);
  EXPECT_EQ(padded[4], cplx(5, 5));
  EXPECT_EQ(padded[7], cplx(5, 5));
}

TEST(Fft, ForwardSignConvention) {
  // exp(+i 2 pi 3 n / 16) lands in bin 3 under X(k) = sum x(n) exp(-i 2 pi k n / N).
  RunLog log;
  voxtrel::Run r(log);
  std::vector<cplx> x(16);
  for (int n = 0; n < 16; ++n) x[n] = std::polar(1.0f, 2.0f * 3.14159265f * 3.0f * n / 16.0f);
  fft(r, x.data(), 4, 1, 16);
  EXPECT_NEAR(std::abs(x[3]), 16.0, 1e-4);
  EXPECT_NEAR(std::abs(x[13]), 0.0, 1e-4);
}
