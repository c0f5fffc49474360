// Recursive maximum-likelihood AR method for real data. The model is built order by order
// like the Levinson recursion, but the reflection coefficient x of order k maximises the
// approximate log-likelihood
//   f(x) = (k/2) log(1 - x^2) - (n/2) log(S(x)/n),   S(x) = e + 2 x c + x^2 d,
// where S is the prediction-error sum of order k as a function of x. Setting f'(x) = 0 gives
// the cubic x^3 + p x^2 + q x + r = 0, solved in closed form (Cardano); with three real
// roots the one in [-1, 1] with the largest f is taken. All arithmetic is in the working
// precision (Real: float or double, each with its own tables).
#include <algorithm>
#include <cmath>
#include <cstring>
#include <type_traits>
#include <vector>

#include "degenerate.h"
#include "estimators.h"
#include "precision_tables.h"
#include "stop_point.h"

namespace voxtrel {

namespace {

// Real cube root of v as sign(v) |v|^(1/3); zero for v = 0.
template <class Real>
Real signedCubeRoot(Real v) {
  if (v == Real(0)) return Real(0);
  const Real mag = std::pow(std::fabs(v), Real(1) / Real(3));
  return v > Real(0) ? mag : -mag;
}

}  // namespace

// Lagged products s(i,j) = sum_{t=1}^{n+2-i-j} x(t+i-1) x(t+j-1), i, j = 1..ip+1, each a
// single-precision sum over t in order. A product does not depend on the order of its factors,
// so s(j,i) is s(i,j) to the last bit and only j >= i is summed. Sixteen columns j of a row run
// side by side, one sum per lane, over the terms they all have; each then finishes its own
// last terms. Every sum sees the same additions in the same order as alone.
// In double precision each sum runs alone (no lanes).
template <class Real>
void smat(Run& r, const Real* x, int n, int ip) {
  typedef float Lanes __attribute__((vector_size(16)));
  constexpr int kVectors = 4, kLanes = 4 * kVectors;
  FMat<Real>& s = ModelTables<Real>::s(r);
  const int m = ip + 1;
  auto X = [x](int k) { return x[k - 1]; };
  for (int i = 1; i <= m; ++i) {
    stopPoint(r);
    int j0 = i;
    for (; std::is_same_v<Real, float> && j0 + kLanes - 1 <= m; j0 += kLanes) {
      Lanes sum[kVectors];
      for (int v = 0; v < kVectors; ++v) sum[v] = Lanes{};
      // Terms common to the sixteen columns: those of the last, the shortest.
      const int common = n + 2 - i - (j0 + kLanes - 1);
      for (int t = 1; t <= common; ++t) {
        const float xt = static_cast<float>(X(t + i - 1));
        const Lanes xi = {xt, xt, xt, xt};
        for (int v = 0; v < kVectors; ++v) {
          Lanes xj;
          std::memcpy(&xj, reinterpret_cast<const float*>(x) + (t + j0 - 2 + 4 * v), sizeof(Lanes));
          sum[v] += xi * xj;
        }
      }
      for (int k = 0; k < kLanes; ++k) {
        const int j = j0 + k;
        Real total = sum[k / 4][k % 4];
        for (int t = std::max(common, 0) + 1; t <= n + 2 - i - j; ++t)
          total += X(t + i - 1) * X(t + j - 1);
        s(i, j) = total;
        s(j, i) = total;
      }
    }
    for (int j = j0; j <= m; ++j) {
      Real total = 0;
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
template <class Real>
bool coeff(Run& r, int k, int n, Real& p, Real& q, Real& rr, Real& c, Real& d, Real& e) {
  FMat<Real>& s = ModelTables<Real>::s(r);
  if (k == 1) {
    c = s(1, 2);
    d = s(2, 2);
    e = s(1, 1);
  } else {
    FMat<Real>& aa = ModelTables<Real>::aaReal(r);
    std::vector<Real> ap(static_cast<std::size_t>(k) + 1), b(static_cast<std::size_t>(k) + 1);
    ap[1] = Real(1.0);
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
  if (n <= k || !(d != Real(0.0)) || !std::isfinite(d)) return false;
  const Real fn = static_cast<Real>(n), fk = static_cast<Real>(k);
  p = ((fn - Real(2.0) * fk) / (fn - fk)) * (c / d);
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
template <class Real>
bool cubic(Real p, Real q, Real r, int& nreal, Real* root) {
  const Real pi = Real(4.0) * std::atan(Real(1.0));
  const Real P = (Real(3.0) * q - p * p) / Real(3.0);
  const Real Q = (Real(2.0) * p * p * p - Real(9.0) * p * q + Real(27.0) * r) / Real(27.0);
  const Real D = Q * Q / Real(4.0) + P * P * P / Real(27.0);
  if (std::isnan(D)) return false;
  if (D > Real(0.0)) {
    nreal = 1;
    const Real u = std::sqrt(D) - Q / Real(2.0);
    const Real v = -std::sqrt(D) - Q / Real(2.0);
    root[0] = signedCubeRoot(v) + signedCubeRoot(u) - p / Real(3.0);
    return true;
  }
  nreal = 3;
  if (P == Real(0.0)) {
    root[0] = root[1] = root[2] = -p / Real(3.0);
    return true;
  }
  const Real m = Real(2.0) * std::sqrt(-P / Real(3.0));
  // Rounding can push |C| a hair above 1 for a double root.
  const Real C = std::fmax(-Real(1.0), std::fmin(Real(1.0), Real(3.0) * Q / (m * P)));
  Real phi = std::atan2(std::sqrt(Real(1.0) - C * C), std::fabs(C));
  if (C < Real(0.0)) phi = pi - phi;
  const Real pha = phi / Real(3.0);
  root[0] = m * std::cos(pha) - p / Real(3.0);
  root[1] = m * std::cos(Real(2.0) * pi / Real(3.0) + pha) - p / Real(3.0);
  root[2] = m * std::cos(Real(4.0) * pi / Real(3.0) + pha) - p / Real(3.0);
  return true;
}

// Choice among three real roots: among those in [-1, 1] the one with the largest
// f = (k/2) log10(1 - x^2) - (n/2) log10(S/n), S = e + 2 x c + x^2 d (earlier root on ties).
// A root of magnitude 1 gives log10(0) and is never chosen; with no candidate xkest is kept.
template <class Real>
void test(const Real* root, Real c, Real d, Real e, int k, int n, Real& xkest) {
  Real fmax = -Real(1.0e7);
  const Real fn = static_cast<Real>(n), fk = static_cast<Real>(k);
  for (int j = 0; j < 3; ++j) {
    const Real x = root[j];
    if (!(x >= -Real(1.0) && x <= Real(1.0))) continue;
    const Real S = e + Real(2.0) * x * c + x * x * d;
    const Real f =
        (fk / Real(2.0)) * std::log10(Real(1.0) - x * x) - (fn / Real(2.0)) * std::log10(S / fn);
    if (f > fmax) {
      xkest = x;
      fmax = f;
    }
  }
}

// Levinson update with x = aa_real(k,k): aa_real(i,k) = aa_real(i,k-1) + x aa_real(k-i,k-1),
// and the new error sum e = e + 2 x c + x^2 d, rho_i = e / n.
template <class Real>
void arupt(Run& r, int k, int n, Real c, Real d, Real& e, Real& rho_i) {
  FMat<Real>& aa = ModelTables<Real>::aaReal(r);
  const Real x = aa(k, k);
  for (int i = 1; i <= k - 1; ++i) aa(i, k) = aa(i, k - 1) + x * aa(k - i, k - 1);
  e = Real(2.0) * x * c + e + x * x * d;
  rho_i = e / static_cast<Real>(n);
}

// a(1..ip) and sig2 = rho(ip). Order 0 gives sig2 = s(1,1)/n, the data power. Orders not
// below n, a zero quadratic sum d (all-zero data) and a cubic without a real discriminant
// are reported as degenerate.
template <class Real>
void rmle(Run& r, const Real* x, int n, int ip, Real* a, Real& sig2) {
  if (ip >= n) {
    reportDegenerate(r, {" RMLE: nPoles =", ip, " is not below the", n,
                         " data points; lower nPoles or use more data."});
    return;
  }
  smat(r, x, n, ip);
  FMat<Real>& aa = ModelTables<Real>::aaReal(r);
  Real e = ModelTables<Real>::s(r)(1, 1);
  if (ip < 1) {
    sig2 = e / static_cast<Real>(n);
    return;
  }
  for (int k = 1; k <= ip; ++k) {
    stopPoint(r);
    Real p = 0, q = 0, rr = 0, c = 0, d = 0;
    if (!coeff(r, k, n, p, q, rr, c, d, e)) {
      reportDegenerate(
          r,
          {" RMLE: at order", k,
           " the lagged-product sum d is zero (data all zero after the first samples); no model."});
      return;
    }
    int nreal = 0;
    Real root[3] = {0, 0, 0};
    if (!cubic(p, q, rr, nreal, root)) {
      reportDegenerate(r, {" RMLE: at order", k,
                           " the cubic for the reflection coefficient has no real discriminant."});
      return;
    }
    aa(k, k) = root[0];
    if (nreal == 3) test(root, c, d, e, k, n, aa(k, k));
    Real rho_i = 0;
    arupt(r, k, n, c, d, e, rho_i);
    ModelTables<Real>::rho(r)(k) = rho_i;
  }
  for (int i = 1; i <= ip; ++i) a[i - 1] = aa(i, ip);
  sig2 = ModelTables<Real>::rho(r)(ip);
}

#define VOXTREL_RMLE(Real)                                                             \
  template void smat<Real>(Run&, const Real*, int, int);                               \
  template bool coeff<Real>(Run&, int, int, Real&, Real&, Real&, Real&, Real&, Real&); \
  template bool cubic<Real>(Real, Real, Real, int&, Real*);                            \
  template void test<Real>(const Real*, Real, Real, Real, int, int, Real&);            \
  template void arupt<Real>(Run&, int, int, Real, Real, Real&, Real&);                 \
  template void rmle<Real>(Run&, const Real*, int, int, Real*, Real&);
VOXTREL_RMLE(float)
VOXTREL_RMLE(double)
#undef VOXTREL_RMLE

}  // namespace voxtrel
