// The shared run state: the parameters read from the run-definition file, the limits, the data
// facts and the estimators' results, plus the work tables the AR and ARMA routines share.
// One instance per run, created fresh by the entry; nothing survives between runs.
#pragma once

#include <algorithm>
#include <cmath>
#include <complex>
#include <ctime>
#include <functional>
#include <string>

#include "fft_twiddles.h"
#include "free_format.h"
#include "runlog.h"
#include "tables.h"

namespace voxtrel {

using cplx = std::complex<float>;
using dcplx = std::complex<double>;

inline constexpr int kMaxPoles = 210;     // AR order limit (real-valued tables of 210)
inline constexpr int kMaxZeros = 200;     // MA order limit
inline constexpr int kTableOrder = 411;   // capacity of the AR work tables; maxorder's cap
inline constexpr int kSolverOrder = 410;  // largest Hermitian system the solver holds

// A sample no run uses: beyond 1.0e10 in magnitude, or not a number. It counts as zero.
inline constexpr float kBadPoint = 1.0e10f;
template <class Real>
bool badPoint(const std::complex<Real>& c) {
  const Real limit = kBadPoint;  // exact in either precision
  return !(std::fabs(c.real()) <= limit && std::fabs(c.imag()) <= limit && std::abs(c) <= limit);
}
inline constexpr int kMaxNPoints = 1 << 24;

// Method numbers, in the order of the method table.
enum Method {
  kNoMethod = 0,
  kAutoCorrelation = 1,
  kBurg = 2,
  kRmle = 3,
  kCovariance = 4,
  kModifiedCovariance = 5,
  kMywe = 6,
  kLsmywe = 7,
  kAkaike = 8,
  kMayneFir = 9,
  kDurbin = 10,
  kPeriodogram = 11,
  kBlackTukey = 12,
  kMvse = 13,
  kLockheed = 14,
};

struct RunState {
  // Read from the run-definition file.
  std::string fileIn;       // line 1, cleaned by split
  std::string dataFile;     // line 2, cleaned by split
  int irec_skip = 0;        // header lines of the data file
  int itype = 1;            // 1 real data, 2 complex data
  int ixtype = 0;           // read and kept
  std::string method_name;  // blank-padded to 21 characters
  int method = 0;
  int neg_freq = 0;  // 1 two-sided spectrum
  int npoles = 0, nzeros = 0;
  float eps = 0;
  int mode = 0, m_eqs = 0, l_pts = 0, m_lags = 0, nit = 0;
  float per = 0;
  std::string window_name = "None";  // blank-padded to 21 characters
  std::string note1, note2;
  bool doublePrecision = false;  // the estimators run in double precision

  // Limits.
  int maxpoles = kMaxPoles, maxzeros = kMaxZeros, maxorder = kTableOrder;

  // Data facts.
  int ipts = 0;  // points counted / read (after Blackman-Tukey: the lag-window length)
  float t_start = 0, t_final = 0;

  // Estimator results. a is also the solver's right-hand side and solution vector theta.
  int iflag = 0;
  float sig2 = 0;
  FVec<cplx> a{kTableOrder}, b{kTableOrder};
  FVec<float> a0{kTableOrder}, b0{kTableOrder};
  FVec<float> rho{kTableOrder};  // prediction-error power by order
};

// Work tables shared by the AR and ARMA routines. Each is allocated (zero-filled) the first
// time a routine asks for it in a run. Its size is the documented one, or, when the run has
// limited the orders it needs (limitOrders), only as many rows and columns as those orders
// index, so that a run of small orders allocates and touches little memory. The solver's
// tables (the packed matrix, its factor, the Akaike Hessian) follow the order of the systems
// solved, the others the largest AR order. The FFT's twiddle factors
// are kept here too, for the size and direction last transformed.
class WorkTables {
 public:
  // The largest order (row or column index) any table is indexed with in this run, and the
  // largest order of a system the solver is given; called before the first table is asked for.
  // The tables hold one more row and column than that.
  void limitOrders(int order, int solverOrder) {
    order_ = std::clamp(order, 1, kTableOrder);
    solverOrder_ = std::clamp(solverOrder, 1, order_);
  }

  // Order-k model coefficients in column k; aa(k, k) is the k-th reflection coefficient.
  FMat<cplx>& aa() { return aa_.ready(dim(kTableOrder), dim(kTableOrder)); }
  // Backward predictors of the Toeplitz solver.
  FMat<cplx>& bb() { return bb_.ready(dim(kMaxPoles), dim(kMaxPoles)); }
  // Packed Hermitian matrix of the solver: row i, columns 1..i, running index.
  FVec<cplx>& hc() { return hc_.ready(solverDim() * (solverDim() + 1) / 2); }
  FMat<cplx>& xl() { return xl_.ready(solverDim(), solverDim()); }
  FVec<float>& d() { return d_.ready(solverDim()); }
  FVec<cplx>& y() { return y_.ready(solverDim()); }
  // Rectangular equation matrix of the least-squares modified Yule-Walker method.
  FMat<cplx>& rr() { return rr_.ready(dim(kTableOrder), dim(kMaxPoles)); }
  FVec<cplx>& bc() { return bc_.ready(dim(kTableOrder)); }  // MA coefficient vector
  FMat<float>& hess() { return hess_.ready(solverDim(), solverDim()); }
  FVec<float>& grad() { return grad_.ready(solverDim()); }
  FVec<float>& bv() { return bv_.ready(solverDim()); }
  FMat<float>& aa_real() { return aaReal_.ready(dim(kMaxPoles), dim(kMaxPoles)); }
  FMat<float>& s() { return s_.ready(dim(kMaxPoles + 1), dim(kMaxPoles + 1)); }
  FMat<cplx>& rinv() { return rinv_.ready(dim(kMaxPoles), dim(kMaxPoles)); }
  FftTwiddles& fftTwiddles() { return fftTwiddles_; }

  // The same tables in double precision, for runs in double precision (precision_tables.h
  // picks the set by the real type). theta is the solver's right-hand side and solution, rho
  // the prediction-error power by order.
  FMat<dcplx>& aaDouble() { return aaD_.ready(dim(kTableOrder), dim(kTableOrder)); }
  FMat<dcplx>& bbDouble() { return bbD_.ready(dim(kMaxPoles), dim(kMaxPoles)); }
  FVec<dcplx>& bcDouble() { return bcD_.ready(dim(kTableOrder)); }
  FMat<dcplx>& rinvDouble() { return rinvD_.ready(dim(kMaxPoles), dim(kMaxPoles)); }
  FVec<dcplx>& hcDouble() { return hcD_.ready(solverDim() * (solverDim() + 1) / 2); }
  FMat<dcplx>& xlDouble() { return xlD_.ready(solverDim(), solverDim()); }
  FVec<double>& dDouble() { return dD_.ready(solverDim()); }
  FVec<dcplx>& yDouble() { return yD_.ready(solverDim()); }
  FVec<dcplx>& thetaDouble() { return thetaD_.ready(dim(kTableOrder)); }
  FVec<double>& rhoDouble() { return rhoD_.ready(dim(kTableOrder)); }
  FMat<double>& aaRealDouble() { return aaRealD_.ready(dim(kMaxPoles), dim(kMaxPoles)); }
  FMat<double>& sDouble() { return sD_.ready(dim(kMaxPoles + 1), dim(kMaxPoles + 1)); }
  FMat<double>& hessDouble() { return hessD_.ready(solverDim(), solverDim()); }
  FVec<double>& gradDouble() { return gradD_.ready(solverDim()); }
  FVec<double>& bvDouble() { return bvD_.ready(solverDim()); }

  // Bytes the tables allocated so far hold.
  std::size_t bytes() const {
    return tableBytes(aa_) + tableBytes(bb_) + tableBytes(xl_) + tableBytes(rr_) +
           tableBytes(rinv_) + tableBytes(hc_) + tableBytes(y_) + tableBytes(bc_) + tableBytes(d_) +
           tableBytes(grad_) + tableBytes(bv_) + tableBytes(hess_) + tableBytes(aaReal_) +
           tableBytes(s_) + tableBytes(aaD_) + tableBytes(xlD_) + tableBytes(hcD_) +
           tableBytes(yD_) + tableBytes(thetaD_) + tableBytes(dD_) + tableBytes(rhoD_) +
           tableBytes(aaRealD_) + tableBytes(sD_) + tableBytes(bbD_) + tableBytes(bcD_) +
           tableBytes(rinvD_) + tableBytes(hessD_) + tableBytes(gradD_) + tableBytes(bvD_);
  }

 private:
  template <class T>
  static std::size_t tableBytes(const FMat<T>& m) {
    return m.rows() * m.cols() * sizeof(T);
  }
  template <class T>
  static std::size_t tableBytes(const FVec<T>& v) {
    return v.size() * sizeof(T);
  }

  std::size_t dim(int full) const {
    return static_cast<std::size_t>(full < order_ + 1 ? full : order_ + 1);
  }
  std::size_t solverDim() const {
    return static_cast<std::size_t>(kSolverOrder < solverOrder_ + 1 ? kSolverOrder
                                                                    : solverOrder_ + 1);
  }

  int order_ = kTableOrder, solverOrder_ = kSolverOrder;
  FMat<cplx> aa_, bb_, xl_, rr_, rinv_;
  FVec<cplx> hc_, y_, bc_;
  FVec<float> d_, grad_, bv_;
  FMat<float> hess_, aaReal_, s_;
  FMat<dcplx> aaD_, bbD_, xlD_, rinvD_;
  FVec<dcplx> hcD_, yD_, thetaD_, bcD_;
  FVec<double> dD_, rhoD_;
  FMat<double> aaRealD_, sD_;
  FMat<double> hessD_;        // Akaike's Gauss-Newton Hessian,
  FVec<double> gradD_, bvD_;  // gradient and step right-hand side
  FftTwiddles fftTwiddles_;
};

// Samples handed over in memory instead of a data file: real or complex values (one of the
// pointers set), the run's npts of them, sample i at time i * dt. Samples given in double
// precision are used as they are by a double-precision run and rounded to single precision
// for the classic arithmetic.
struct SampleSource {
  const float* real = nullptr;
  const cplx* complex = nullptr;
  const double* realWide = nullptr;
  const dcplx* complexWide = nullptr;
  float dt = 1.0f;
};

// One run: its log, its state, its work tables and its open data file (or its samples).
struct Run {
  RunLog& log;
  RunState st;
  WorkTables w;
  FreeReader data;                        // the data file, left at its beginning by the reader
  const SampleSource* samples = nullptr;  // set: the samples are read from here, not from data
  int capacity = -1;                      // the caller's array capacity; negative = no limit
  bool pause = false;
  std::function<bool()> stopRequested;  // the caller's stop request; empty: never stopped
  std::tm now{};                        // the date and time stamped into the log

  explicit Run(RunLog& l) : log(l) {}
  // The solver's right-hand side and solution: the same storage as the AR coefficients.
  FVec<cplx>& theta() { return st.a; }
};

}  // namespace voxtrel
