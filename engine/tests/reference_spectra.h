// Double-precision reference estimators for the example tests: textbook forms of the methods,
// written independently of the engine, used to check that an example's data really show what
// the example is about while (or besides) checking the engine's own result.
//
// Spectra are returned on the engine's frequency grid and in the engine's scale: the value
// 20 log10(P / Pmax) of the power P, floored at -100.
#pragma once

#include <algorithm>
#include <cmath>
#include <complex>
#include <fstream>
#include <numbers>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace vref {

using cd = std::complex<double>;
using Vec = std::vector<cd>;

struct Spectrum {
  std::vector<double> hz;
  std::vector<double> db;
};

// Samples of an example data file: skip header lines, then "x y" or "x (re,im)" per line.
inline Vec readData(const std::string& path, int skip, bool complex, double& dt) {
  std::ifstream in(path);
  if (!in) throw std::runtime_error("cannot open data file " + path);
  std::string line;
  for (int i = 0; i < skip && std::getline(in, line); ++i) {
  }
  Vec x;
  std::vector<double> t;
  while (std::getline(in, line)) {
    for (char& c : line) {
      if (c == '(' || c == ')' || c == ',' || c == '\r') c = ' ';
    }
    std::istringstream ss(line);
    double tx, re, im = 0;
    if (!(ss >> tx >> re)) break;
    if (complex && !(ss >> im)) break;
    t.push_back(tx);
    x.emplace_back(re, im);
  }
  if (x.size() < 2) throw std::runtime_error("too few samples in " + path);
  dt = (t.back() - t.front()) / static_cast<double>(t.size() - 1);
  return x;
}

// r(k) = (1/n or 1/(n-k)) sum conj(x(j)) x(j+k), k = 0..lags.
inline Vec acf(const Vec& x, int lags, bool biased) {
  const int n = static_cast<int>(x.size());
  Vec r(lags + 1);
  for (int k = 0; k <= lags; ++k) {
    cd s = 0;
    for (int j = 0; j + k < n; ++j) s += std::conj(x[j]) * x[j + k];
    r[k] = s / static_cast<double>(biased ? n : n - k);
  }
  return r;
}

// Levinson-Durbin: a(1..p) of A(z) = 1 + sum a(k) z^-k from lags r(0..p); returns the error power.
inline double levinson(const Vec& r, int p, Vec& a) {
  a.assign(p, 0.0);
  double err = r[0].real();
  for (int k = 0; k < p; ++k) {
    cd acc = r[k + 1];
    for (int j = 0; j < k; ++j) acc += a[j] * r[k - j];
    const cd refl = -acc / err;
    Vec prev = a;
    a[k] = refl;
    for (int j = 0; j < k; ++j) a[j] = prev[j] + refl * std::conj(prev[k - 1 - j]);
    err *= 1.0 - std::norm(refl);
  }
  return err;
}

inline double yuleWalker(const Vec& x, int p, Vec& a) {
  return levinson(acf(x, p, true), p, a);
}

inline double burg(const Vec& x, int p, Vec& a) {
  const int n = static_cast<int>(x.size());
  Vec f = x, b = x;
  a.assign(p, 0.0);
  double err = 0;
  for (const auto& v : x) err += std::norm(v);
  err /= n;
  for (int k = 0; k < p; ++k) {
    cd num = 0;
    double den = 0;
    for (int i = k + 1; i < n; ++i) {
      num += f[i] * std::conj(b[i - 1]);
      den += std::norm(f[i]) + std::norm(b[i - 1]);
    }
    const cd refl = -2.0 * num / den;
    Vec prev = a;
    a[k] = refl;
    for (int j = 0; j < k; ++j) a[j] = prev[j] + refl * std::conj(prev[k - 1 - j]);
    err *= 1.0 - std::norm(refl);
    for (int i = n - 1; i > k; --i) {
      const cd fi = f[i], bi = b[i - 1];
      f[i] = fi + refl * bi;
      b[i] = bi + std::conj(refl) * fi;
    }
  }
  return err;
}

// Solves the dense system m x = y by Gaussian elimination with partial pivoting.
inline Vec solve(std::vector<Vec> m, Vec y) {
  const int n = static_cast<int>(y.size());
  for (int c = 0; c < n; ++c) {
    int piv = c;
    for (int r = c + 1; r < n; ++r) {
      if (std::abs(m[r][c]) > std::abs(m[piv][c])) piv = r;
    }
    std::swap(m[c], m[piv]);
    std::swap(y[c], y[piv]);
    for (int r = c + 1; r < n; ++r) {
      const cd f = m[r][c] / m[c][c];
      for (int k = c; k < n; ++k) m[r][k] -= f * m[c][k];
      y[r] -= f * y[c];
    }
  }
  Vec x(n);
  for (int r = n - 1; r >= 0; --r) {
    cd s = y[r];
    for (int k = r + 1; k < n; ++k) s -= m[r][k] * x[k];
    x[r] = s / m[r][r];
  }
  return x;
}

// Least-squares AR fit: forward prediction errors (covariance method), plus backward ones when
// forwardBackward (modified covariance method).
inline double covariance(const Vec& x, int p, bool forwardBackward, Vec& a) {
  const int n = static_cast<int>(x.size());
  std::vector<Vec> m(p, Vec(p));
  Vec rhs(p);
  for (int i = 1; i <= p; ++i) {
    for (int j = 1; j <= p; ++j) {
      cd s = 0;
      for (int k = p; k < n; ++k) s += std::conj(x[k - i]) * x[k - j];
      if (forwardBackward) {
        for (int k = 0; k < n - p; ++k) s += x[k + i] * std::conj(x[k + j]);
      }
      m[i - 1][j - 1] = s;
    }
    cd s = 0;
    for (int k = p; k < n; ++k) s -= std::conj(x[k - i]) * x[k];
    if (forwardBackward) {
      for (int k = 0; k < n - p; ++k) s -= x[k + i] * std::conj(x[k]);
    }
    rhs[i - 1] = s;
  }
  a = solve(m, rhs);
  return 1.0;  // only the spectrum's shape is compared
}

// y = A(z) x with zero initial state.
inline Vec firFilter(const Vec& x, const Vec& a) {
  Vec y(x.size());
  for (std::size_t i = 0; i < x.size(); ++i) {
    cd s = x[i];
    for (std::size_t j = 1; j <= a.size() && j <= i; ++j) s += a[j - 1] * x[i - j];
    y[i] = s;
  }
  return y;
}

// Durbin's MA estimate: a long AR(L) model, then an AR(q) fit to its coefficient sequence.
inline double durbin(const Vec& x, int q, int L, Vec& b) {
  Vec along;
  const double sig2 = yuleWalker(x, L, along);
  Vec seq(L + 1);
  seq[0] = 1.0;
  for (int j = 0; j < L; ++j) seq[j + 1] = along[j];
  yuleWalker(seq, q, b);
  return sig2;
}

// Modified Yule-Walker equations sum_j a(j) r(q+i-j) = -r(q+i), i = 1..rows (rows = p solves
// them exactly, more rows in the least-squares sense); then Durbin on the AR-filtered data with
// a long model of order n/5, at most maxOrder.
inline double modifiedYuleWalker(const Vec& x, int p, int q, int rows, Vec& a, Vec& b,
                                 int maxOrder = 1 << 30) {
  const Vec r = acf(x, q + rows + p, false);
  auto lag = [&](int m) { return m >= 0 ? r[m] : std::conj(r[-m]); };
  std::vector<Vec> eq(rows, Vec(p));
  Vec rhs(rows);
  for (int i = 1; i <= rows; ++i) {
    for (int j = 1; j <= p; ++j) eq[i - 1][j - 1] = lag(q + i - j);
    rhs[i - 1] = -lag(q + i);
  }
  std::vector<Vec> m(p, Vec(p));
  Vec y(p);
  for (int i = 0; i < p; ++i) {
    for (int j = 0; j < p; ++j) {
      for (int k = 0; k < rows; ++k) m[i][j] += std::conj(eq[k][i]) * eq[k][j];
    }
    for (int k = 0; k < rows; ++k) y[i] += std::conj(eq[k][i]) * rhs[k];
  }
  a = solve(m, y);
  return durbin(firFilter(x, a), q, std::min(static_cast<int>(x.size()) / 5, maxOrder), b);
}

// The engine's frequency grid for nPoints and the sampling step dt, in Hz.
inline std::vector<double> grid(int nPoints, double dt, bool twoSided) {
  const double df = 1.0 / (nPoints * dt);
  std::vector<double> hz;
  if (twoSided) {
    for (int i = 0; i < nPoints - 1; ++i) hz.push_back(-0.5 / dt + i * df);
  } else {
    for (int i = 0; i < nPoints / 2; ++i) hz.push_back(i * df);
  }
  return hz;
}

inline Spectrum toDb(std::vector<double> hz, std::vector<double> power) {
  const double top = *std::max_element(power.begin(), power.end());
  Spectrum s{std::move(hz), {}};
  for (double v : power) s.db.push_back(20.0 * std::log10(std::max(v, 1.0e-5 * top) / top));
  return s;
}

inline cd polyAt(const Vec& c, double cyclesPerSample) {
  cd s = 1.0;
  for (std::size_t k = 0; k < c.size(); ++k)
    s += c[k] * std::polar(1.0, -2.0 * std::numbers::pi * cyclesPerSample * double(k + 1));
  return s;
}

// |B|^2 / |A|^2 on the grid.
inline Spectrum arma(const Vec& a, const Vec& b, int nPoints, double dt, bool twoSided) {
  auto hz = grid(nPoints, dt, twoSided);
  std::vector<double> p;
  for (double f : hz) p.push_back(std::norm(polyAt(b, f * dt)) / std::norm(polyAt(a, f * dt)));
  return toDb(std::move(hz), std::move(p));
}

// Blackman-Tukey: the triangle-weighted lags up to M, Fourier-transformed.
inline Spectrum blackmanTukey(const Vec& x, int M, bool biased, int nPoints, double dt) {
  const Vec r = acf(x, M, biased);
  auto hz = grid(nPoints, dt, false);
  std::vector<double> p;
  for (double f : hz) {
    double s = r[0].real();
    for (int k = 1; k < M; ++k) {
      const double w = double(M - k) / M;
      s += 2.0 * w * (r[k] * std::polar(1.0, -2.0 * std::numbers::pi * f * dt * k)).real();
    }
    p.push_back(std::abs(s));
  }
  return toDb(std::move(hz), std::move(p));
}

// Minimum variance (Capon): 1 / (e^H R^-1 e) with the forward-backward correlation matrix of
// size p, on L frequencies.
inline Spectrum minimumVariance(const Vec& x, int p, int L, double dt) {
  const int n = static_cast<int>(x.size());
  std::vector<Vec> R(p, Vec(p));
  for (int i = 1; i <= p; ++i) {
    for (int j = 1; j <= p; ++j) {
      cd s = 0;
      for (int t = p + 1; t <= n; ++t)
        s +=
            std::conj(x[t - j - 1]) * x[t - i - 1] + x[t + j - p - 1] * std::conj(x[t + i - p - 1]);
      R[i - 1][j - 1] = s / (2.0 * (n - p));
    }
  }
  std::vector<Vec> inv(p);
  for (int j = 0; j < p; ++j) {
    Vec e(p);
    e[j] = 1.0;
    inv[j] = solve(R, e);  // column j
  }
  auto hz = grid(L, dt, false);
  std::vector<double> pw;
  for (double f : hz) {
    cd s = 0;
    for (int i = 0; i < p; ++i) {
      for (int j = 0; j < p; ++j) {
        s += std::polar(1.0, -2.0 * std::numbers::pi * f * dt * i) * inv[j][i] *
             std::polar(1.0, 2.0 * std::numbers::pi * f * dt * j);
      }
    }
    pw.push_back(std::abs(1.0 / s.real()));
  }
  return toDb(std::move(hz), std::move(pw));
}

}  // namespace vref
