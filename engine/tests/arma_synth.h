// Seeded synthetic ARMA series for the estimator tests, generated in double precision:
//   x(t) = -sum_k a(k) x(t-k) + e(t) + sum_k b(k) e(t-k),  e ~ N(0, sigma^2),
// after a burn-in of 500 samples so that the start-up transient has died away.
#pragma once

#include <cmath>
#include <complex>
#include <random>
#include <vector>

namespace vtest {

inline std::vector<float> armaSeries(const std::vector<double>& a, const std::vector<double>& b,
                                     int n, unsigned seed, double sigma = 1.0) {
  std::mt19937 gen(seed);
  std::normal_distribution<double> noise(0.0, sigma);
  const int burn = 500, total = n + burn;
  std::vector<double> x(static_cast<std::size_t>(total)), e(static_cast<std::size_t>(total));
  for (int t = 0; t < total; ++t) {
    e[static_cast<std::size_t>(t)] = noise(gen);
    double v = e[static_cast<std::size_t>(t)];
    for (std::size_t k = 1; k <= a.size(); ++k)
      if (t >= static_cast<int>(k)) v -= a[k - 1] * x[static_cast<std::size_t>(t) - k];
    for (std::size_t k = 1; k <= b.size(); ++k)
      if (t >= static_cast<int>(k)) v += b[k - 1] * e[static_cast<std::size_t>(t) - k];
    x[static_cast<std::size_t>(t)] = v;
  }
  return std::vector<float>(x.begin() + burn, x.end());
}

inline std::vector<std::complex<float>> asComplex(const std::vector<float>& x) {
  std::vector<std::complex<float>> z(x.size());
  for (std::size_t i = 0; i < x.size(); ++i) z[i] = {x[i], 0.0f};
  return z;
}

// Second-order polynomial 1 + c1 z^-1 + c2 z^-2 with its roots at radius rad, frequency f
// (cycles per sample): c1 = -2 rad cos(2 pi f), c2 = rad^2.
inline std::vector<double> resonance(double rad, double f) {
  return {-2.0 * rad * std::cos(2.0 * M_PI * f), rad * rad};
}

// The test ARMA(2,2): a spectral peak at 0.2 (poles at radius 0.9) and a notch at 0.35
// (zeros at radius 0.95), unit noise variance.
inline const std::vector<double> kPeakA = resonance(0.9, 0.2);
inline const std::vector<double> kNotchB = resonance(0.95, 0.35);

// Complex ARMA series with complex coefficients, complex white noise of unit variance.
inline std::vector<std::complex<float>> complexArmaSeries(
    const std::vector<std::complex<double>>& a, const std::vector<std::complex<double>>& b, int n,
    unsigned seed) {
  std::mt19937 gen(seed);
  std::normal_distribution<double> noise(0.0, std::sqrt(0.5));
  const int burn = 500, total = n + burn;
  std::vector<std::complex<double>> x(static_cast<std::size_t>(total)),
      e(static_cast<std::size_t>(total));
  for (int t = 0; t < total; ++t) {
    const double re = noise(gen);
    e[static_cast<std::size_t>(t)] = {re, noise(gen)};
    std::complex<double> v = e[static_cast<std::size_t>(t)];
    for (std::size_t k = 1; k <= a.size(); ++k)
      if (t >= static_cast<int>(k)) v -= a[k - 1] * x[static_cast<std::size_t>(t) - k];
    for (std::size_t k = 1; k <= b.size(); ++k)
      if (t >= static_cast<int>(k)) v += b[k - 1] * e[static_cast<std::size_t>(t) - k];
    x[static_cast<std::size_t>(t)] = v;
  }
  std::vector<std::complex<float>> out(static_cast<std::size_t>(n));
  for (int t = 0; t < n; ++t)
    out[static_cast<std::size_t>(t)] = std::complex<float>(x[static_cast<std::size_t>(t + burn)]);
  return out;
}

// The complex test ARMA(1,1): a pole at radius 0.9, frequency -0.15 and a zero at radius 0.9,
// frequency 0.25, so the spectrum is not symmetric about zero frequency.
inline const std::vector<std::complex<double>> kComplexA = {-0.9 * std::polar(1.0, -0.3 * M_PI)};
inline const std::vector<std::complex<double>> kComplexB = {-0.9 * std::polar(1.0, 0.5 * M_PI)};

// Frequency of the largest and of the smallest value of a spectrum.
inline float argMax(const std::vector<float>& x, const std::vector<float>& s) {
  std::size_t best = 0;
  for (std::size_t i = 1; i < s.size(); ++i)
    if (s[i] > s[best]) best = i;
  return x[best];
}
inline float argMin(const std::vector<float>& x, const std::vector<float>& s) {
  std::size_t best = 0;
  for (std::size_t i = 1; i < s.size(); ++i)
    if (s[i] < s[best]) best = i;
  return x[best];
}

}  // namespace vtest
