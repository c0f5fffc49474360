// The engine's routines. Data arrays are passed as
// pointers to their first element and indexed from zero (x[i - 1] is sample i); the shared tables
// are one-based (aa(j, k)). Every routine takes the run first: its log, its state and its work
// tables.
#pragma once

#include <string>
#include <type_traits>

#include "spectrum.h"

namespace voxtrel {

// Status values an estimator leaves in iflag besides the documented ones (0 success, -1
// ill-conditioned system, and Akaike's 1, 2, 3): the estimator met data it cannot model
// (a division by zero in a recursion, an order too large for the data) and has written a
// line naming the cause to the run log itself.
inline constexpr int kIflagDegenerate = -3;
// The spectrum holds infinite or not-a-number values, or is zero everywhere.
inline constexpr int kIflagBadSpectrum = -2;

// ---- Nonparametric estimators ---------------------------------------------------------------

// In-place radix-2 complex FFT of x[0 .. 2^nexp - 1]; invrs 1 forward (no scaling), -1 inverse
// (scaled by 1/N), anything else leaves x unchanged.
// Real is float or double: the transform runs in that precision.
template <class Real>
void fft(Run& r, std::complex<Real>* x, int nexp, int invrs, int npoints);

// Periodogram data window of npoints weights by name; a name that matches no window writes
// the error block and gives the rectangular window.
template <class Real>
void window_weights(Run& r, Real* window, int npoints, const std::string& window_name);

// Windowed, zero-padded periodogram in centred order (pper[N/2] is zero frequency).
template <class Real>
void periodogram(Run& r, std::complex<Real>* x, int n, const Real* w, int nexp, Real* pper,
                 int npoints);

// Sample cross-correlation lags 0..lag-1 of x and y: Rxx[k] = sum conj(x(j)) y(j+k) / (n-k)
// (mode 0, unbiased) or / n (otherwise, biased). Sums in double precision; Real is float or
// double, the precision of the samples and of the lags handed back.
// widest: with the widest vectors the processor has, else the baseline (the same values).
template <class Real>
void correlation(int n, int lag, int mode, const std::complex<Real>* x, const std::complex<Real>* y,
                 std::complex<Real>* Rxx, bool widest = true);

// Blackman-Tukey spectrum with lag window w (2m+1 weights, w[m] for lag 0), centred order.
// Real is float or double.
template <class Real>
void blacktukey(Run& r, const std::complex<Real>* x, int n, int mode, const Real* w, int m,
                int nexp, Real* pbt, int npoints);

// ---- Autoregressive estimators and shared solvers -------------------------------------------

// P(f) = sig2 |B(f)|^2 / |A(f)|^2 on the N = 2^nexp grid, centred order. a[k-1] = a(k).
template <class Real>
void armapsd(Run& r, int ip, int iq, const std::complex<Real>* a, const std::complex<Real>* b,
             Real sig2, int nexp, Real* psd, int npoints);

// Complex Levinson-Durbin recursion on the lags Rxx[0..ip]; fills aa and rho, a[0..ip-1].
// Real is float or double: aa and rho of that precision (precision_tables.h).
template <class Real>
void levinson(Run& r, const std::complex<Real>* Rxx, int ip, std::complex<Real>* a);

// Autocorrelation (Yule-Walker) AR method of order ip; Real is float or double.
template <class Real>
void autocorr(Run& r, const std::complex<Real>* x, int n, int ip, std::complex<Real>* a, Real& sig2,
              int npoints);

// Burg AR method of order ip.
template <class Real>
void burg(Run& r, const std::complex<Real>* x, int n, int ip, std::complex<Real>* a, Real& sig2,
          int npoints);

// Solves H x = b for the Hermitian H packed in hc, b in theta, by L D L^H; iflag -1 when a
// pivot is not above eps.
// Real is float or double: the tables of that precision (precision_tables.h) are used.
template <class Real>
void cholesky(Run& r, int n, Real eps, int& iflag);

// The two halves of cholesky: the factorisation of hc into xl and d (same failure test and
// dump), and the substitutions that turn theta into the solution from those factors.
template <class Real>
void cholesky_factor(Run& r, int n, Real eps, int& iflag);
template <class Real = float>
void cholesky_solve(Run& r, int n);

// Covariance (mode 0) and modified covariance (mode 1) AR methods; AR estimates in theta.
// Real is float or double; the estimates are in ModelTables<Real>::theta.
template <class Real>
void covmcov(Run& r, const std::complex<Real>* x, int n, int ip, int mode, Real eps, int& iflag,
             Real& sig2);

// Lockheed method: autocorrelation AR of order ip over Burg AR of order iq; Real is float or
// double.
template <class Real>
void lockheed(Run& r, std::complex<Real>* x, int n, int ip, int iq, std::complex<Real>* a,
              std::complex<Real>* b, int nexp, Real& sig2, int npoints);

// Power of the data filtered by A(z)/B(z), b[k-1] = b(k), measured with the FFT; x is
// overwritten.
template <class Real>
void varm(Run& r, std::complex<Real>* x, int n, const std::complex<Real>* a, int ip,
          const std::complex<Real>* b, int iq, int nexp, Real& sig2, int npoints);

// Minimum-variance (Capon) spectrum at imax frequencies from -0.5 to 0.5 - 1/imax.
// Real is float or double, for it and corrmat below.
template <class Real>
void mvse(Run& r, const std::complex<Real>* x, int n, int ip, int imax, Real eps, int mode,
          Real* pmv, int& iflag);

// Forward-backward correlation matrix of order ip, packed as cholesky expects; sums in the
// precision of the data. widest: with the widest vectors the processor has, else the
// baseline (the same values).
template <class Real>
void corrmat(const std::complex<Real>* x, int n, int ip, FVec<std::complex<Real>>& rmat,
             bool widest = true);

// Step-down recursion: from b(1..ip), b(k) = b[k-1], and sig2 to every lower order in aa and
// rho (the tables of the real type, float or double).
template <class Real>
void stepdown(Run& r, const std::complex<Real>* b, int ip, Real sig2, Real& rho0);
// The same from the single-precision MA vector bc(1..ip).
void stepdown(Run& r, int ip, float sig2, float& rho0);

// ---- ARMA and maximum-likelihood estimators -------------------------------------------------

// Durbin's MA estimator through a long AR(l) model (the DURBIN method): needs iq >= 1 and
// l < n, otherwise the run is marked degenerate.
// Real is float or double, for it and its two stages below.
template <class Real>
void durbin(Run& r, const std::complex<Real>* x, int n, int iq, int l, std::complex<Real>* b,
            Real& sig2, int npoints);

// Durbin's fit itself: b(1..iq) from the coefficients of the AR(l) model, sig2 its error
// power. iq = 0 gives sig2 only.
template <class Real>
void durbinFit(Run& r, const std::complex<Real>* x, int n, int iq, int l, std::complex<Real>* b,
               Real& sig2, int npoints);

// The MA stage of the modified Yule-Walker methods: durbinFit with L = n/5, limited to
// maxorder (noted in the run log). b may be null when iq is 0 (only sig2 is wanted).
template <class Real>
void durbinMaStage(Run& r, const std::complex<Real>* y, int n, int iq,
                   std::type_identity_t<std::complex<Real>>* b, Real& sig2, int npoints);

// The packed normal-equation matrix of covmcov (forward terms, then backward ones when both):
// hc[l] for row i, column j <= i, l from zero. widest: with the widest vectors the processor
// has, else with the 4-lane baseline (the same floats; tests compare the two).
// In double precision the entries are plain sums in the same order (no vector lanes).
void covarianceMatrix(const cplx* x, int n, int p, bool both, cplx* hc, bool widest = true);
void covarianceMatrix(const dcplx* x, int n, int p, bool both, dcplx* hc, bool widest = true);

// Modified Yule-Walker ARMA method.
// Real is float or double, for it and its two helpers below.
template <class Real>
void mywe(Run& r, const std::complex<Real>* x, int n, int ip, int iq, Real eps,
          std::complex<Real>* a, std::complex<Real>* b, Real& sig2, int& iflag, int npoints);

// Non-Hermitian Toeplitz solver of the modified Yule-Walker equations.
template <class Real>
void toepeqn(Run& r, const std::complex<Real>* Rxx, int ip, int iq, Real eps, std::complex<Real>* a,
             int& iflag);

// All-zero filter y(i) = x(i) + sum_{j=1}^{min(i-1,ip)} A(j) x(i-j), zero initial state.
template <class Real>
void czerofilt(const std::complex<Real>* x, int n, int ip, const std::complex<Real>* A,
               std::complex<Real>* y);

// Least-squares modified Yule-Walker ARMA method; AR estimates in theta
// (ModelTables<Real>::theta). Real is float or double.
template <class Real>
void lsmywe(Run& r, const std::complex<Real>* x, int n, int ip, int iq, int m_eqs, Real eps,
            std::complex<Real>* b, Real& sig2, int& iflag, int npoints);

// Mayne-Firoozan three-stage ARMA method; MA estimates in bc (ModelTables<Real>::bc).
// Real is float or double, for it and its helpers below.
template <class Real>
void maynefir(Run& r, std::complex<Real>* x, int n, int ip, int iq, int l, Real eps, int nexp,
              std::complex<Real>* a, Real& sig2, int& iflag, int npoints);

// Least-squares fit of w(t) on y(t-1..t-ip) and u(t-1..t-iq): a(k) = -c(k), bc(k) = c(ip+k).
template <class Real>
void ls(Run& r, const std::complex<Real>* y, const std::complex<Real>* u,
        const std::complex<Real>* w, int n, int ip, int iq, Real eps, std::complex<Real>* a,
        int& iflag);

// The packed normal-equation matrix of ls: hc[l] for row i, column j <= i, l from zero.
template <class Real>
void lsMatrix(const std::complex<Real>* y, const std::complex<Real>* u, int n, int ip, int iq,
              std::complex<Real>* hc);

// All-pole filter y(i) = x(i) - sum_{j=1}^{min(i-1,iq)} b(j) y(i-j), zero initial state.
template <class Real>
void cpolefilt(const std::complex<Real>* x, int n, const std::complex<Real>* b, int iq,
               std::complex<Real>* y);

// Minimum-phase test of 1 + b(1) z^-1 + ... + b(iq) z^-iq, b(k) = b[k-1], by its reflection
// coefficients (step-down recursion into aa, rho of the real type, float or double); on
// failure the first order k with |aa(k,k)| >= 1 (or not a number) and that magnitude are
// returned through the optional pointers (nullptr when not wanted).
template <class Real>
bool maMinimumPhase(Run& r, const std::complex<Real>* b, int iq, int* failedOrder,
                    std::type_identity_t<Real>* failedMagnitude);

// Akaike's approximate maximum-likelihood ARMA method (real data). Real is float or double,
// with the tables of that precision (precision_tables.h), for it and its helpers below.
template <class Real>
void akaike(Run& r, const Real* x, int n, std::type_identity_t<Real>* a,
            std::type_identity_t<Real>* b, int ip, int iq, int nit, std::type_identity_t<Real> eps,
            std::type_identity_t<Real> per, std::type_identity_t<Real>& sig2, int& iflag,
            int npoints);

// Akaike's helpers (real data, double-precision sums).
template <class Real>
void polefilt(const Real* x, int n, int iq, const std::type_identity_t<Real>* b, Real* y);
template <class Real>
void zerofilt(const Real* x, int n, int ip, const std::type_identity_t<Real>* a, Real* y);
template <class Real>
void var(const Real* x, int n, int ip, int iq, const std::type_identity_t<Real>* a,
         const std::type_identity_t<Real>* b, std::type_identity_t<Real>& v,
         std::type_identity_t<Real>* e, std::type_identity_t<Real>* y);
template <class Real>
void corr(int n, int lag, const Real* x, const std::type_identity_t<Real>* y,
          std::type_identity_t<Real>& r);
template <class Real>
void corrcomp(int n, const Real* y, const Real* z, int ip, int iq, Real* ry, Real* rz, Real* ryz,
              Real* rzy);
template <class Real>
void gradient(Run& r, const std::type_identity_t<Real>* a, const std::type_identity_t<Real>* b,
              int ip, int iq, const Real* ry, const Real* rz);
template <class Real>
void hessian(Run& r, int ip, int iq, const Real* ry, const Real* rz, const Real* ryz,
             const Real* rzy);
template <class Real>
void bvect(Run& r, const Real* a, const std::type_identity_t<Real>* b, int ip, int iq);
template <class Real>
void chkdn(Run& r, Real var_, int n, const std::type_identity_t<Real>* x,
           const std::type_identity_t<Real>* a, const std::type_identity_t<Real>* b, int ip, int iq,
           std::type_identity_t<Real> per, std::type_identity_t<Real>& sig2, int& iflag,
           std::type_identity_t<Real>* z, std::type_identity_t<Real>* y);

// Recursive maximum-likelihood AR method (real data). Real is float or double, with the
// tables of that precision (precision_tables.h), for it and its helpers below.
template <class Real>
void rmle(Run& r, const Real* x, int n, int ip, Real* a, Real& sig2);

// RMLE's helpers: lagged products into s, the order-k sums and cubic (false when d is zero or
// n <= k), the cubic's real roots (false when the discriminant is not a number), the choice
// among three roots and the order update.
template <class Real>
void smat(Run& r, const Real* x, int n, int ip);
template <class Real>
bool coeff(Run& r, int k, int n, Real& p, Real& q, Real& rr, Real& c, Real& d, Real& e);
template <class Real>
bool cubic(Real p, Real q, Real r, int& nreal, Real* root);
template <class Real>
void test(const Real* root, Real c, Real d, Real e, int k, int n, Real& xkest);
template <class Real>
void arupt(Run& r, int k, int n, Real c, Real d, Real& e, Real& rho_i);

}  // namespace voxtrel
