// The FFT against a direct DFT in double precision, and its documented edge cases.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <random>
#include <string>
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

// The twiddle angle of butterfly k (0-based) in a stage of span le, in single precision.
float twiddleAngle(int k, int le, int invrs) {
  const float pi = 4.0f * std::atan(1.0f);
  return -2.0f * pi * static_cast<float>(invrs) * static_cast<float>(k) / static_cast<float>(le);
}

// The transform written out directly: bit reversal by repeated halving, and cos and sin
// evaluated for every butterfly. The engine's table of twiddles must give the same floats, bit
// for bit.
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
  int le = 1, m = n;
  for (int s = 0; s < nexp; ++s) {
    le *= 2;
    m /= 2;
    for (int j = 1; j <= m; ++j) {
      for (int k = 1; k <= le / 2; ++k) {
        const float angle = twiddleAngle(k - 1, le, invrs);
        const cplx w(std::cos(angle), std::sin(angle));
        const int i1 = (j - 1) * le + k, i2 = i1 + le / 2;
        const cplx t = y[static_cast<std::size_t>(i2 - 1)] * w;
        y[static_cast<std::size_t>(i2 - 1)] = y[static_cast<std::size_t>(i1 - 1)] - t;
        y[static_cast<std::size_t>(i1 - 1)] = y[static_cast<std::size_t>(i1 - 1)] + t;
      }
    }
  }
  for (int i = 0; i < n; ++i) {
    x[static_cast<std::size_t>(i)] = invrs == 1
                                         ? y[static_cast<std::size_t>(i)]
                                         : y[static_cast<std::size_t>(i)] / static_cast<float>(n);
  }
}

// Exact zeros of both signs among the samples, where a butterfly's signed zeros show.
std::vector<cplx> signalWithSignedZeros(std::size_t n, unsigned seed) {
  std::mt19937 gen(seed);
  std::uniform_int_distribution<int> pick(0, 3);
  const float zeros[] = {0.0f, -0.0f};
  auto x = randomSignal(n, seed);
  for (auto& v : x) {
    const int p = pick(gen), q = pick(gen);
    v = cplx(p < 2 ? zeros[p] : v.real(), q < 2 ? zeros[q] : v.imag());
  }
  return x;
}

void expectSameBits(const std::vector<cplx>& got, const std::vector<cplx>& expected,
                    const std::string& what) {
  ASSERT_EQ(got.size(), expected.size());
  for (std::size_t i = 0; i < got.size(); ++i) {
    ASSERT_EQ(std::bit_cast<std::uint32_t>(got[i].real()),
              std::bit_cast<std::uint32_t>(expected[i].real()))
        << what << " i=" << i;
    ASSERT_EQ(std::bit_cast<std::uint32_t>(got[i].imag()),
              std::bit_cast<std::uint32_t>(expected[i].imag()))
        << what << " i=" << i;
  }
}

}  // namespace

TEST(Fft, SameFloatsAsTheDirectFormulation) {
  RunLog log;
  voxtrel::Run r(log);
  // Sizes and directions change from one transform to the next, and repeat, so the twiddle
  // table the run keeps is both rebuilt and reused.
  for (int nexp : {1, 2, 3, 4, 5, 9, 12, 16, 12, 3}) {
    for (int invrs : {1, -1, -1, 1}) {
      const std::size_t n = std::size_t{1} << nexp;
      for (bool zeros : {false, true}) {
        const unsigned seed = 100u + static_cast<unsigned>(nexp) + (zeros ? 50u : 0u);
        auto expected = zeros ? signalWithSignedZeros(n, seed) : randomSignal(n, seed);
        auto got = expected;
        directFormulation(expected, nexp, invrs);
        fft(r, got.data(), nexp, invrs, static_cast<int>(n));
        expectSameBits(got, expected,
                       "N=" + std::to_string(n) + " invrs=" + std::to_string(invrs) +
                           (zeros ? " with signed zeros" : ""));
      }
    }
  }
}

TEST(Fft, TwiddleAngleOfKAtSpanLeIsThatOf2KAtSpan2Le) {
  // The engine evaluates cos and sin for the last stage only and gives each earlier stage every
  // other factor of the next one: the float angle of k at span le must be bit for bit the angle
  // of 2k at span 2le. Checked for every k of every span up to 2^24 points.
  const int big = 1 << 24;
  for (int invrs : {1, -1}) {
    for (int le = 2; le < big; le *= 2) {
      for (int k = 0; k < le / 2; ++k) {
        const float a = twiddleAngle(k, le, invrs), b = twiddleAngle(2 * k, 2 * le, invrs);
        if (std::bit_cast<std::uint32_t>(a) != std::bit_cast<std::uint32_t>(b)) {
          FAIL() << "le=" << le << " k=" << k << " invrs=" << invrs;
        }
      }
    }
  }
}

TEST(Fft, SameSignedZerosAsTheDirectFormulation) {
  // A butterfly whose factor is 1 - 0i still multiplies: 1 b - (-0) b_im differs from b in
  // the sign of a zero. A zero keeps its sign through a sum only when every term is a zero of
  // the right sign, so the inputs are short and mostly zero: every combination of +0, -0, 1 and
  // -1 in the components of 2 and 4 points, and random signed zeros with a few ones in 8 to 64.
  RunLog log;
  voxtrel::Run r(log);
  const float values[] = {0.0f, -0.0f, 1.0f, -1.0f};
  auto check = [&r](std::vector<cplx> x, int nexp, int invrs, const std::string& what) {
    auto expected = x;
    directFormulation(expected, nexp, invrs);
    fft(r, x.data(), nexp, invrs, static_cast<int>(x.size()));
    expectSameBits(
        x, expected,
        "N=" + std::to_string(x.size()) + " invrs=" + std::to_string(invrs) + " " + what);
  };
  std::mt19937 gen(9);
  std::uniform_int_distribution<int> pick(0, 31);
  for (int invrs : {1, -1}) {
    for (int nexp : {1, 2}) {
      const int n = 1 << nexp;
      for (int c = 0; c < 1 << (4 * n); ++c) {
        std::vector<cplx> x(static_cast<std::size_t>(n));
        for (int i = 0; i < n; ++i) {
          x[static_cast<std::size_t>(i)] =
              cplx(values[(c >> (4 * i)) & 3], values[(c >> (4 * i + 2)) & 3]);
        }
        check(x, nexp, invrs, "combination " + std::to_string(c));
      }
    }
    for (int nexp = 3; nexp <= 6; ++nexp) {
      for (int trial = 0; trial < 2000; ++trial) {
        std::vector<cplx> x(std::size_t{1} << nexp);
        for (auto& v : x) {
          const int p = pick(gen), q = pick(gen);
          v = cplx(values[p < 30 ? p & 1 : p - 28], values[q < 30 ? q & 1 : q - 28]);
        }
        check(x, nexp, invrs, "trial " + std::to_string(trial));
      }
    }
  }
}
