// Akaike's approximate maximum-likelihood ARMA method for real data. The prediction error of
// the model is e = (A(z)/B(z)) x and the criterion its variance V = (1/n) sum e(t)^2. With
//   y = x/B,  y1 = x/B^2,  z = A y1,
// the derivatives are de/da(k) = y(t-k) and de/db(k) = -z(t-k), so (correlations with
// divisor n, ry of y, rz of z, ryz/rzy of y against z)
//   grad(k)   =  2 ry(k)  + 2 sum_l a(l) ry(|k-l|)           k = 1..p
//   grad(p+k) = -2 rz(k)  - 2 sum_l b(l) rz(|k-l|)           k = 1..q
// and the Gauss-Newton Hessian is 2 times the correlation matrix of the derivatives. Each
// iteration solves hess theta_new = hess theta_old - grad (a full Gauss-Newton step), tests
// the new MA polynomial for minimum phase and stops when V changes by less than per percent.
// All sums are accumulated in double precision and stored in single precision.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "degenerate.h"
#include "estimators.h"
#include "fatal.h"
#include "stop_point.h"

namespace voxtrel {

// All-pole filter with zero initial state: y(1) = x(1),
//   y(i) = x(i) - sum_{j=1}^{min(i-1,iq)} b(j) y(i-j).
void polefilt(const float* x, int n, int iq, const float* b, float* y) {
  for (int i = 1; i <= n; ++i) {
    double sum = x[i - 1];
    const int top = std::min(i - 1, iq);
    for (int j = 1; j <= top; ++j) sum -= static_cast<double>(b[j - 1]) * y[i - j - 1];
    y[i - 1] = static_cast<float>(sum);
  }
}

// All-zero filter with zero initial state: y(1) = x(1),
//   y(i) = x(i) + sum_{j=1}^{min(i-1,ip)} a(j) x(i-j).
void zerofilt(const float* x, int n, int ip, const float* a, float* y) {
  for (int i = 1; i <= n; ++i) {
    double sum = x[i - 1];
    const int top = std::min(i - 1, ip);
    for (int j = 1; j <= top; ++j) sum += static_cast<double>(a[j - 1]) * x[i - j - 1];
    y[i - 1] = static_cast<float>(sum);
  }
}

// Error variance of the model: y = x/B, e = A y, v = (1/n) sum_{i=1}^{n} e(i)^2.
void var(const float* x, int n, int ip, int iq, const float* a, const float* b, float& v, float* e,
         float* y) {
  polefilt(x, n, iq, b, y);
  zerofilt(y, n, ip, a, e);
  double sum = 0;
  for (int i = 0; i < n; ++i) sum += static_cast<double>(e[i]) * e[i];
  v = static_cast<float>(sum / n);
}

// Correlation with divisor n at every lag: r = (1/n) sum_{j=1}^{n-lag} x(j) y(j+lag).
void corr(int n, int lag, const float* x, const float* y, float& r) {
  double sum = 0;
  for (int j = 1; j <= n - lag; ++j) sum += static_cast<double>(x[j - 1]) * y[j + lag - 1];
  r = static_cast<float>(sum / n);
}

// The correlations the gradient and Hessian need, index m+1 holding lag m: ry lags 0..ip of
// y, rz lags 0..iq of z, ryz lags 0..ip-1 of y against z, rzy lags 1..iq-1 of z against y.
void corrcomp(int n, const float* y, const float* z, int ip, int iq, float* ry, float* rz,
              float* ryz, float* rzy) {
  for (int m = 0; m <= ip; ++m) corr(n, m, y, y, ry[m]);
  for (int m = 0; m <= iq; ++m) corr(n, m, z, z, rz[m]);
  for (int m = 0; m <= ip - 1; ++m) corr(n, m, y, z, ryz[m]);
  for (int m = 1; m <= iq - 1; ++m) corr(n, m, z, y, rzy[m]);
}

// grad(k) = 2 ry(k) + 2 sum_{l=1}^{p} a(l) ry(|k-l|), grad(p+k) = -2 rz(k) - 2 sum_{l=1}^{q}
// b(l) rz(|k-l|), into the engine's gradient table.
void gradient(Run& r, const float* a, const float* b, int ip, int iq, const float* ry,
              const float* rz) {
  FVec<float>& grad = r.w.grad();
  for (int k = 1; k <= ip; ++k) {
    double sum = 2.0 * ry[k];
    for (int l = 1; l <= ip; ++l) sum += 2.0 * a[l - 1] * ry[std::abs(k - l)];
    grad(k) = static_cast<float>(sum);
  }
  for (int k = 1; k <= iq; ++k) {
    double sum = -2.0 * rz[k];
    for (int l = 1; l <= iq; ++l) sum -= 2.0 * b[l - 1] * rz[std::abs(k - l)];
    grad(ip + k) = static_cast<float>(sum);
  }
}

// Gauss-Newton Hessian: 2 ry(|i-j|) in the AR block, 2 rz(|i-j|) in the MA block and, with
// m = j - p, -2 ryz(i-m) (i >= m) or -2 rzy(m-i) (i < m) in the cross block; symmetric.
void hessian(Run& r, int ip, int iq, const float* ry, const float* rz, const float* ryz,
             const float* rzy) {
  FMat<float>& hess = r.w.hess();
  for (int i = 1; i <= ip; ++i)
    for (int j = 1; j <= ip; ++j) hess(i, j) = 2.0f * ry[std::abs(i - j)];
  for (int i = 1; i <= iq; ++i)
    for (int j = 1; j <= iq; ++j) hess(ip + i, ip + j) = 2.0f * rz[std::abs(i - j)];
  for (int i = 1; i <= ip; ++i) {
    for (int m = 1; m <= iq; ++m) {
      const float v = i >= m ? -2.0f * ryz[i - m] : -2.0f * rzy[m - i];
      hess(i, ip + m) = v;
      hess(ip + m, i) = v;
    }
  }
}

// Right-hand side of the Gauss-Newton step: bv(i) = -grad(i) + sum_j hess(i,j) theta_old(j),
// theta_old = (a, b).
void bvect(Run& r, const float* a, const float* b, int ip, int iq) {
  FVec<float>& bv = r.w.bv();
  FVec<float>& grad = r.w.grad();
  FMat<float>& hess = r.w.hess();
  const int np = ip + iq;
  for (int i = 1; i <= np; ++i) {
    double sum = -static_cast<double>(grad(i));
    for (int j = 1; j <= np; ++j) {
      const float old = j <= ip ? a[j - 1] : b[j - ip - 1];
      sum += static_cast<double>(hess(i, j)) * old;
    }
    bv(i) = static_cast<float>(sum);
  }
}

// Convergence test: sig2 = error variance of the new model, err = 100 (sig2 - var) / var;
// iflag = 0 when |err| < per. A previous variance of zero (the model fits the data exactly)
// leaves the change undefined: the run is marked degenerate.
void chkdn(Run& r, float var_, int n, const float* x, const float* a, const float* b, int ip,
           int iq, float per, float& sig2, int& iflag, float* z, float* y) {
  var(x, n, ip, iq, a, b, sig2, z, y);
  if (!(var_ != 0.0f)) {
    reportDegenerate(r, {" AKAIKE: the error variance of the previous iterate is zero (the",
                         " model fits the data exactly); the percentage change is undefined."});
    iflag = kIflagDegenerate;
    return;
  }
  const float err = 100.0f * (sig2 - var_) / var_;
  if (std::fabs(err) < per) iflag = 0;
}

// Status on return: 0 converged, -1 Hessian ill-conditioned, 1 new MA polynomial not minimum
// phase (a and b keep the previous iterate), 2 all nit iterations used, 3 no iteration run;
// kIflagDegenerate for a zero error variance or data not longer than the number of parameters. sig2
// is written only by an accepted iterate.
void akaike(Run& r, const float* x, int n, float* a, float* b, int ip, int iq, int nit, float eps,
            float per, float& sig2, int& iflag, int npoints) {
  const int p = ip, q = iq, np = ip + iq;
  if (n <= np) {
    reportDegenerate(r, {" AKAIKE: nPoles + nZeros =", np, " is not below the", n,
                         " data points; use more data or lower the orders."});
    iflag = kIflagDegenerate;
    return;
  }
  const auto size = static_cast<std::size_t>(std::max(npoints, n));
  auto y = allocateOrStop<float>(r.log, size, " Aborting AKAIKE due to Allocation error #: ",
                                 "Allocate error in AKAIKE routine");
  auto y1 = allocateOrStop<float>(r.log, size, " Aborting AKAIKE due to Allocation error #: ",
                                  "Allocate error in AKAIKE routine");
  auto z = allocateOrStop<float>(r.log, size, " Aborting AKAIKE due to Allocation error #: ",
                                 "Allocate error in AKAIKE routine");
  std::vector<float> ry(static_cast<std::size_t>(p + 1)), rz(static_cast<std::size_t>(q + 1)),
      ryz(static_cast<std::size_t>(p + 1)), rzy(static_cast<std::size_t>(q + 1));

  float varPrev = 0;  // error variance of the current iterate
  var(x, n, p, q, a, b, varPrev, z.data(), y.data());
  iflag = 3;
  if (!(varPrev != 0.0f)) {
    reportDegenerate(r, {" AKAIKE: the starting model leaves zero error variance (all-zero",
                         " data?); the percentage change is undefined."});
    iflag = kIflagDegenerate;
    return;
  }

  FVec<cplx>& theta = r.theta();
  FVec<cplx>& hc = r.w.hc();
  FMat<float>& hess = r.w.hess();
  FVec<float>& bv = r.w.bv();
  for (int it = 1; it <= nit; ++it) {
    stopPoint(r);
    polefilt(x, n, q, b, y.data());
    polefilt(y.data(), n, q, b, y1.data());
    zerofilt(y1.data(), n, p, a, z.data());
    corrcomp(n, y.data(), z.data(), p, q, ry.data(), rz.data(), ryz.data(), rzy.data());
    gradient(r, a, b, p, q, ry.data(), rz.data());
    hessian(r, p, q, ry.data(), rz.data(), ryz.data(), rzy.data());
    bvect(r, a, b, p, q);

    int l = 1;
    for (int i = 1; i <= np; ++i) {
      theta(i) = cplx(bv(i), 0);
      for (int j = 1; j <= i; ++j) hc(l++) = cplx(hess(j, i), 0);
    }
    cholesky(r, np, eps, iflag);
    if (iflag == -1) break;

    iflag = 3;
    FVec<cplx>& bc = r.w.bc();
    for (int k = 1; k <= q; ++k) bc(k) = theta(p + k);
    int failed = 0;
    float magnitude = 0;
    if (!maMinimumPhase(r, bc.data(), q, &failed, &magnitude)) {
      r.log.put({" Failed min-phase test ... i/aa(i,i)=", failed, magnitude});
      iflag = 1;
      break;
    }
    for (int i = 1; i <= p; ++i) a[i - 1] = theta(i).real();
    for (int i = 1; i <= q; ++i) b[i - 1] = theta(p + i).real();

    chkdn(r, varPrev, n, x, a, b, p, q, per, sig2, iflag, z.data(), y.data());
    if (iflag == 0 || iflag == kIflagDegenerate) break;
    if (it >= nit) {
      iflag = 2;
      break;
    }
    varPrev = sig2;
  }
}

}  // namespace voxtrel
