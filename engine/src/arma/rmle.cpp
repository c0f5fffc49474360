// Recursive maximum-likelihood AR method for real data. The model is built order by order
// like the Levinson recursion, but the reflection coefficient x of order k maximises the
// approximate log-likelihood
//   f(x) = (k/2) log(1 - x^2) - (n/2) log(S(x)/n),   S(x) = e + 2 x c + x^2 d,
// where S is the prediction-error sum of order k as a function of x. Setting f'(x) = 0 gives
// the cubic x^3 + p x^2 + q x + r = 0, solved in closed form (Cardano); with three real
// roots the one in [-1, 1] with the largest f is taken. All arithmetic is single precision.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "degenerate.h"
#include "estimators.h"
#include "stop_point.h"

namespace voxtrel {

namespace {

// Real cube root of v as sign(v) |v|^(1/3); zero for v = 0.
float signedCubeRoot(float v) {
  if (v == 0.0f) return 0.0f;
  const float mag = std::pow(std::fabs(v), 1.0f / 3.0f);
  return v > 0.0f ? mag : -mag;
}

}  // namespace

// Lagged products s(i,j) = sum_{t=1}^{n+2-i-j} x(t+i-1) x(t+j-1), i, j = 1..ip+1, each a
// single-precision sum over t in order. A product does not depend on the order of its factors,
// so s(j,i) is s(i,j) to the last bit and only j >= i is summed. Sixteen columns j of a row run
// side by side, one sum per lane, over the terms they all have; each then finishes its own
// last terms. Every sum sees the same additions in the same order as alone.
void smat(Run& r, const float* x, int n, int ip) {
  typedef float Lanes __attribute__((vector_size(16)));
  constexpr int kVectors = 4, kLanes = 4 * kVectors;
  FMat<float>& s = r.w.s();
  const int m = ip + 1;
  auto X = [x](int k) { return x[k - 1]; };
  for (int i = 1; i <= m; ++i) {
    stopPoint(r);
    int j0 = i;
    for (; j0 + kLanes - 1 <= m; j0 += kLanes) {
      Lanes sum[kVectors];
      for (int v = 0; v < kVectors; ++v) sum[v] = Lanes{};
      // Terms common to the sixteen columns: those of the last, the shortest.
      const int common = n + 2 - i - (j0 + kLanes - 1);
      for (int t = 1; t <= common; ++t) {
        const float xt = X(t + i - 1);
        const Lanes xi = {xt, xt, xt, xt};
        for (int v = 0; v < kVectors; ++v) {
          Lanes xj;
          std::memcpy(&xj, x + (t + j0 - 2 + 4 * v), sizeof(Lanes));
          sum[v] += xi * xj;
        }
      }
      for (int k = 0; k < kLanes; ++k) {
        const int j = j0 + k;
        float total = sum[k / 4][k % 4];
        for (int t = std::max(common, 0) + 1; t <= n + 2 - i - j; ++t)
          total += X(t + i - 1) * X(t + j - 1);
        s(i, j) = total;
        s(j, i) = total;
      }
    }
    for (int j = j0; j <= m; ++j) {
      float total = 0;
      for (int t = 1; t <= n + 2 - i - j; ++t) total += X(t + i - 1) * X(t + j - 1);
      s(i, j) = total;
      s(j, i) = total;
    }
  }
}

// Sums and cubic coefficients of order k. k = 1: c = s(1,2), d = s(2,2), e = s(1,1). k > 1,
// with ap = (1, aa_real(1..k-1,k-1)) and its reversal b(l) = ap(k-l+1):
//   c = sum_{i,l} ap(l) b(i) s(l,i+1),   d = sum_{i,l} b(l) b(i) s(l+1,i+1),
// e being the error sum left by arupt. Then
//   p = ((n-2k)/(n-k)) (c/d),  q = (k e + n d) / ((k-n) d),  r = n c / ((k-n) d).
// Returns false (coefficients not set) when d is zero or not a number or n <= k.
bool coeff(Run& r, int k, int n, float& p, float& q, float& rr, float& c, float& d, float& e) {
  FMat<float>& s = r.w.s();
  if (k == 1) {
    c = s(1, 2);
    d = s(2, 2);
    e = s(1, 1);
  } else {
    FMat<float>& aa = r.w.aa_real();
    std::vector<float> ap(static_cast<std::size_t>(k) + 1), b(static_cast<std::size_t>(k) + 1);
    ap[1] = 1.0f;
    for (int l = 2; l <= k; ++l) ap[static_cast<std::size_t>(l)] = aa(l - 1, k - 1);
    for (int l = 1; l <= k; ++l)
      b[static_cast<std::size_t>(l)] = ap[static_cast<std::size_t>(k - l + 1)];
    c = 0;
    d = 0;
    for (int i = 1; i <= k; ++i) {
      for (int l = 1; l <= k; ++l) {
        const auto ui = static_cast<std::size_t>(i), ul = static_cast<std::size_t>(l);
        c += ap[ul] * b[ui] * s(l, i + 1);
        d += b[ul] * b[ui] * s(l + 1, i + 1);
      }
    }
  }
  if (n <= k || !(d != 0.0f) || !std::isfinite(d)) return false;
  const float fn = static_cast<float>(n), fk = static_cast<float>(k);
  p = ((fn - 2.0f * fk) / (fn - fk)) * (c / d);
  q = (fk * e + fn * d) / ((fk - fn) * d);
  rr = fn * c / ((fk - fn) * d);
  return true;
}

// Real roots of x^3 + p x^2 + q x + r = 0 by Cardano's method on the depressed cubic
// t^3 + P t + Q (x = t - p/3), P = (3q - p^2)/3, Q = (2p^3 - 9pq + 27r)/27,
// D = Q^2/4 + P^3/27:
//   D > 0: one real root, t = cbrt(-Q/2 - sqrt(D)) + cbrt(-Q/2 + sqrt(D));
//   D <= 0: three real roots, t = m cos(phi/3 + 2 pi j/3), m = 2 sqrt(-P/3),
//           phi = arccos(3Q/(mP)) (P = 0 there means the triple root t = 0).
// Returns false (nreal not set) when the discriminant is not a number.
bool cubic(float p, float q, float r, int& nreal, float* root) {
  const float pi = 4.0f * std::atan(1.0f);
  const float P = (3.0f * q - p * p) / 3.0f;
  const float Q = (2.0f * p * p * p - 9.0f * p * q + 27.0f * r) / 27.0f;
  const float D = Q * Q / 4.0f + P * P * P / 27.0f;
  if (std::isnan(D)) return false;
  if (D > 0.0f) {
    nreal = 1;
    const float u = std::sqrt(D) - Q / 2.0f;
    const float v = -std::sqrt(D) - Q / 2.0f;
    root[0] = signedCubeRoot(v) + signedCubeRoot(u) - p / 3.0f;
    return true;
  }
  nreal = 3;
  if (P == 0.0f) {
    root[0] = root[1] = root[2] = -p / 3.0f;
    return true;
  }
  const float m = 2.0f * std::sqrt(-P / 3.0f);
  // Rounding can push |C| a hair above 1 for a double root.
  const float C = std::fmax(-1.0f, std::fmin(1.0f, 3.0f * Q / (m * P)));
  float phi = std::atan2(std::sqrt(1.0f - C * C), std::fabs(C));
  if (C < 0.0f) phi = pi - phi;
  const float pha = phi / 3.0f;
  root[0] = m * std::cos(pha) - p / 3.0f;
  root[1] = m * std::cos(2.0f * pi / 3.0f + pha) - p / 3.0f;
  root[2] = m * std::cos(4.0f * pi / 3.0f + pha) - p / 3.0f;
  return true;
}

// Choice among three real roots: among those in [-1, 1] the one with the largest
// f = (k/2) log10(1 - x^2) - (n/2) log10(S/n), S = e + 2 x c + x^2 d (earlier root on ties).
// A root of magnitude 1 gives log10(0) and is never chosen; with no candidate xkest is kept.
void test(const float* root, float c, float d, float e, int k, int n, float& xkest) {
  float fmax = -1.0e7f;
  const float fn = static_cast<float>(n), fk = static_cast<float>(k);
  for (int j = 0; j < 3; ++j) {
    const float x = root[j];
    if (!(x >= -1.0f && x <= 1.0f)) continue;
    const float S = e + 2.0f * x * c + x * x * d;
    const float f = (fk / 2.0f) * std::log10(1.0f - x * x) - (fn / 2.0f) * std::log10(S / fn);
    if (f > fmax) {
      xkest = x;
      fmax = f;
    }
  }
}

// Levinson update with x = aa_real(k,k): aa_real(i,k) = aa_real(i,k-1) + x aa_real(k-i,k-1),
// and the new error sum e = e + 2 x c + x^2 d, rho_i = e / n.
void arupt(Run& r, int k, int n, float c, float d, float& e, float& rho_i) {
  FMat<float>& aa = r.w.aa_real();
  const float x = aa(k, k);
  for (int i = 1; i <= k - 1; ++i) aa(i, k) = aa(i, k - 1) + x * aa(k - i, k - 1);
  e = 2.0f * x * c + e + x * x * d;
  rho_i = e / static_cast<float>(n);
}

// a(1..ip) and sig2 = rho(ip). Order 0 gives sig2 = s(1,1)/n, the data power. Orders not
// below n, a zero quadratic sum d (all-zero data) and a cubic without a real discriminant
// are reported as degenerate.
void rmle(Run& r, const float* x, int n, int ip, float* a, float& sig2) {
  if (ip >= n) {
    reportDegenerate(r, {" RMLE: nPoles =", ip, " is not below the", n,
                         " data points; lower nPoles or use more data."});
    return;
  }
  smat(r, x, n, ip);
  FMat<float>& aa = r.w.aa_real();
  float e = r.w.s()(1, 1);
  if (ip < 1) {
    sig2 = e / static_cast<float>(n);
    return;
  }
  for (int k = 1; k <= ip; ++k) {
    stopPoint(r);
    float p = 0, q = 0, rr = 0, c = 0, d = 0;
    if (!coeff(r, k, n, p, q, rr, c, d, e)) {
      reportDegenerate(
          r,
          {" RMLE: at order", k,
           " the lagged-product sum d is zero (data all zero after the first samples); no model."});
      return;
    }
    int nreal = 0;
    float root[3] = {0, 0, 0};
    if (!cubic(p, q, rr, nreal, root)) {
      reportDegenerate(r, {" RMLE: at order", k,
                           " the cubic for the reflection coefficient has no real discriminant."});
      return;
    }
    aa(k, k) = root[0];
    if (nreal == 3) test(root, c, d, e, k, n, aa(k, k));
    float rho_i = 0;
    arupt(r, k, n, c, d, e, rho_i);
    r.st.rho(k) = rho_i;
  }
  for (int i = 1; i <= ip; ++i) a[i - 1] = aa(i, ip);
  sig2 = r.st.rho(ip);
}

}  // namespace voxtrel
