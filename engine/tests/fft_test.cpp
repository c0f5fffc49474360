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

namespace {

// The transform written out directly: bit reversal by repeated halving, and cos and sin
// evaluated for every butterfly. The engine's table of twiddles per stage must give the same
// floats, bit for bit.
void directFormulation(std::vector<cplx>& x, int nexp, int invrs) {
  const int n = 1 << nexp;
  std::vector<cplx> y(static_cast<std::size_t>(n));
  y[0] = x[0];
  for (int i = 2; i <= n; ++i) {
    int r = i - 1, k = 0, m = n;
    for (int l = 1; l <= nexp; ++l) {
      m /= 2;
      if (r >= m) {
        k += 1 << (l - 1);
        r -= m;
      }
    }
    y[static_cast<std::size_t>(i - 1)] = x[static_cast<std::size_t>(k)];
  }
  const float pi = 4.0f * std::atan(1.0f);
  int le = 1, m = n;
  for (int s = 0; s < nexp; ++s) {
    le *= 2;
    m /= 2;
    for (int j = 1; j <= m; ++j) {
      for (int k = 1; k <= le / 2; ++k) {
        const float angle = -2.0f * pi * static_cast<float>(invrs) * static_cast<float>(k - 1) /
                            static_cast<float>(le);
        const cplx w(std::cos(angle), std::sin(angle));
        const int i1 = (j - 1) * le + k, i2 = i1 + le / 2;
        const cplx t = y[static_cast<std::size_t>(i2 - 1)] * w;
        y[static_cast<std::size_t>(i2 - 1)] = y[static_cast<std::size_t>(i1 - 1)] - t;
        y[static_cast<std::size_t>(i1 - 1)] = y[static_cast<std::size_t>(i1 - 1)] + t;
      }
    }
  }
  for (int i = 0; i < n; ++i) {
    x[static_cast<std::size_t>(i)] =
        invrs == 1 ? y[static_cast<std::size_t>(i)] : y[static_cast<std::size_t>(i)] / static_cast<float>(n);
  }
}

}  // namespace

TEST(Fft, SameFloatsAsTheDirectFormulation) {
  RunLog log;
  voxtrel::Run r(log);
  for (int nexp : {1, 2, 5, 9, 12}) {
    for (int invrs : {1, -1}) {
      const std::size_t n = std::size_t{1} << nexp;
      auto expected = randomSignal(n, 100u + static_cast<unsigned>(nexp));
      auto got = expected;
      directFormulation(expected, nexp, invrs);
      fft(r, got.data(), nexp, invrs, static_cast<int>(n));
      for (std::size_t i = 0; i < n; ++i) {
        ASSERT_EQ(got[i].real(), expected[i].real()) << "N=" << n << " i=" << i;
        ASSERT_EQ(got[i].imag(), expected[i].imag()) << "N=" << n << " i=" << i;
      }
    }
  }
}
