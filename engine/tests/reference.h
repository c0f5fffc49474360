// Independent double-precision references for the estimator tests: a dense complex solver
// (Gaussian elimination with partial pivoting), least-squares AR fits, correlation lags, and
// seeded synthetic AR data.
#pragma once

#include <cmath>
#include <complex>
#include <cstddef>
#include <random>
#include <vector>

namespace ref {

using dc = std::complex<double>;
using Mat = std::vector<std::vector<dc>>;

inline constexpr double kPi = 3.14159265358979323846;

// Solves A x = b by Gaussian elimination with partial pivoting.
inline std::vector<dc> solve(Mat A, std::vector<dc> b) {
  const std::size_t n = b.size();
  for (std::size_t c = 0; c < n; ++c) {
    std::size_t piv = c;
    for (std::size_t r = c + 1; r < n; ++r)
      if (std::abs(A[r][c]) > std::abs(A[piv][c])) piv = r;
    std::swap(A[c], A[piv]);
    std::swap(b[c], b[piv]);
    for (std::size_t r = c + 1; r < n; ++r) {
      const dc f = A[r][c] / A[c][c];
      for (std::size_t k = c; k < n; ++k) A[r][k] -= f * A[c][k];
      b[r] -= f * b[c];
    }
  }
  std::vector<dc> x(n);
  for (std::size_t i = n; i-- > 0;) {
    dc s = b[i];
    for (std::size_t k = i + 1; k < n; ++k) s -= A[i][k] * x[k];
    x[i] = s / A[i][i];
  }
  return x;
}

// The inverse of A, column by column.
inline Mat inverse(const Mat& A) {
  const std::size_t n = A.size();
  Mat inv(n, std::vector<dc>(n));
  for (std::size_t j = 0; j < n; ++j) {
    std::vector<dc> e(n);
    e[j] = 1;
    const auto c = solve(A, e);
    for (std::size_t i = 0; i < n; ++i) inv[i][j] = c[i];
  }
  return inv;
}

// Biased correlation lags r(k) = sum_t conj(x(t)) x(t+k) / n, k = 0..p.
template <class C>
std::vector<dc> biasedLags(const std::vector<C>& x, int p) {
  const int n = static_cast<int>(x.size());
  std::vector<dc> r(static_cast<std::size_t>(p + 1));
  for (int k = 0; k <= p; ++k) {
    dc s = 0;
    for (int t = 0; t + k < n; ++t) s += std::conj(dc(x[t])) * dc(x[t + k]);
    r[static_cast<std::size_t>(k)] = s / static_cast<double>(n);
  }
  return r;
}

// Yule-Walker by the Toeplitz system itself: sum_j r(i-j) a(j) = -r(i), i = 1..p.
inline std::vector<dc> yuleWalker(const std::vector<dc>& r, int p, double* sig2 = nullptr) {
  auto lag = [&](int k) {
    return k >= 0 ? r[static_cast<std::size_t>(k)] : std::conj(r[static_cast<std::size_t>(-k)]);
  };
  Mat A(static_cast<std::size_t>(p), std::vector<dc>(static_cast<std::size_t>(p)));
  std::vector<dc> b(static_cast<std::size_t>(p));
  for (int i = 1; i <= p; ++i) {
    for (int j = 1; j <= p; ++j) A[i - 1][j - 1] = lag(i - j);
    b[i - 1] = -lag(i);
  }
  auto a = solve(A, b);
  if (sig2) {
    dc s = r[0];
    for (int j = 1; j <= p; ++j) s += a[j - 1] * std::conj(r[static_cast<std::size_t>(j)]);
    *sig2 = s.real();
  }
  return a;
}

// Least-squares prediction-error filter over the samples where it fits: forward only, or
// forward and backward (the filter conjugated and run backwards). Normal equations in double,
// solved by elimination; sig2 the mean squared error of the fitted residuals.
template <class C>
std::vector<dc> leastSquaresAr(const std::vector<C>& xs, int p, bool backward, double* sig2) {
  const int n = static_cast<int>(xs.size());
  auto x = [&](int k) { return dc(xs[static_cast<std::size_t>(k - 1)]); };
  // Rows of the data matrix: residual = target + sum_j a(j) u(j).
  std::vector<std::vector<dc>> U;
  std::vector<dc> target;
  for (int k = p + 1; k <= n; ++k) {
    std::vector<dc> u(static_cast<std::size_t>(p));
    for (int j = 1; j <= p; ++j) u[j - 1] = x(k - j);
    U.push_back(u);
    target.push_back(x(k));
  }
  if (backward) {
    for (int k = 1; k <= n - p; ++k) {
      // conj(residual) = x(k) + sum conj(a(j)) x(k+j): residual = conj(x(k)) + sum a(j)
      // conj(x(k+j))
      std::vector<dc> u(static_cast<std::size_t>(p));
      for (int j = 1; j <= p; ++j) u[j - 1] = std::conj(x(k + j));
      U.push_back(u);
      target.push_back(std::conj(x(k)));
    }
  }
  Mat A(static_cast<std::size_t>(p), std::vector<dc>(static_cast<std::size_t>(p)));
  std::vector<dc> b(static_cast<std::size_t>(p));
  for (std::size_t row = 0; row < U.size(); ++row) {
    for (int i = 0; i < p; ++i) {
      for (int j = 0; j < p; ++j) A[i][j] += std::conj(U[row][i]) * U[row][j];
      b[i] -= std::conj(U[row][i]) * target[row];
    }
  }
  auto a = solve(A, b);
  if (sig2) {
    double e = 0;
    for (std::size_t row = 0; row < U.size(); ++row) {
      dc res = target[row];
      for (int j = 0; j < p; ++j) res += a[j] * U[row][j];
      e += std::norm(res);
    }
    *sig2 = e / static_cast<double>(U.size());
  }
  return a;
}

// Burg's method with the errors formed by filtering the data with the current polynomial
// (no lattice), in double precision; sig2 the order-p error power.
template <class C>
std::vector<dc> burg(const std::vector<C>& xs, int p, double* sig2) {
  const int n = static_cast<int>(xs.size());
  auto x = [&](int t) { return dc(xs[static_cast<std::size_t>(t - 1)]); };
  std::vector<dc> a;  // a(1..k)
  double rho = 0;
  for (int t = 1; t <= n; ++t) rho += std::norm(x(t));
  rho /= n;
  for (int k = 0; k < p; ++k) {
    auto ef = [&](int t) {  // forward error of order k at t
      dc s = x(t);
      for (int j = 1; j <= k; ++j) s += a[j - 1] * x(t - j);
      return s;
    };
    auto eb = [&](int t) {  // backward error of order k at t
      dc s = x(t - k);
      for (int j = 1; j <= k; ++j) s += std::conj(a[j - 1]) * x(t - k + j);
      return s;
    };
    dc num = 0;
    double den = 0;
    for (int t = k + 2; t <= n; ++t) {
      num += ef(t) * std::conj(eb(t - 1));
      den += std::norm(ef(t)) + std::norm(eb(t - 1));
    }
    const dc refl = -2.0 * num / den;
    std::vector<dc> next(a.size() + 1);
    for (int j = 1; j <= k; ++j) next[j - 1] = a[j - 1] + refl * std::conj(a[k - j]);
    next[k] = refl;
    a = next;
    rho *= 1 - std::norm(refl);
  }
  *sig2 = rho;
  return a;
}

// sig2 / |A(f)|^2 at frequency f in cycles per sample.
inline double arPsd(const std::vector<dc>& a, double sig2, double f) {
  dc A = 1;
  for (std::size_t k = 0; k < a.size(); ++k)
    A += a[k] * std::polar(1.0, -2.0 * kPi * f * static_cast<double>(k + 1));
  return sig2 / std::norm(A);
}

// The real AR(4) with two close resonances: poles at radius rad and frequencies f1, f2.
struct Ar4 {
  double f1 = 0.20, f2 = 0.24, rad = 0.97;
  std::vector<double> coefficients() const {
    const double c1 = -2 * rad * std::cos(2 * kPi * f1), c2 = -2 * rad * std::cos(2 * kPi * f2);
    const double r2 = rad * rad;
    // (1 + c1 z^-1 + r2 z^-2)(1 + c2 z^-1 + r2 z^-2)
    return {c1 + c2, 2 * r2 + c1 * c2, r2 * (c1 + c2), r2 * r2};
  }
  // n samples driven by unit-variance white noise, after a burn-in.
  std::vector<float> generate(int n, unsigned seed) const {
    const auto a = coefficients();
    std::mt19937 gen(seed);
    std::normal_distribution<double> noise(0.0, 1.0);
    std::vector<double> y(static_cast<std::size_t>(n + 1000), 0.0);
    for (std::size_t t = 4; t < y.size(); ++t)
      y[t] = noise(gen) - a[0] * y[t - 1] - a[1] * y[t - 2] - a[2] * y[t - 3] - a[3] * y[t - 4];
    return std::vector<float>(y.end() - n, y.end());
  }
};

// Complex white-ish data: n samples of a complex exponential at f plus complex noise.
inline std::vector<std::complex<float>> complexTone(int n, double f, double noiseSd,
                                                    unsigned seed) {
  std::mt19937 gen(seed);
  std::normal_distribution<double> noise(0.0, noiseSd);
  std::vector<std::complex<float>> z(static_cast<std::size_t>(n));
  for (int t = 0; t < n; ++t) {
    const dc v = std::polar(1.0, 2 * kPi * f * t) + dc(noise(gen), noise(gen));
    z[static_cast<std::size_t>(t)] = std::complex<float>(v);
  }
  return z;
}

}  // namespace ref
