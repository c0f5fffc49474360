// spectrum_est: loads the data, prepares the complex signal, runs the chosen estimator, turns
// a fitted model into a PSD and builds the frequency axis.
#include "spec_est.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "estimators.h"
#include "fatal.h"
#include "fortran_format.h"
#include "spec_in.h"
#include "stop_point.h"

namespace voxtrel {

namespace {

using fmt::E;
using fmt::I;

const std::string kDashes72(72, '-');
const std::string kDashes66(66, '-');
const std::string kIndent9(9, ' ');

// " IFLAG = " or " IFLAG =" with the status two wide, four blanks and EPS.
void iflagLine(RunLog& log, const char* label, int iflag, float eps) {
  log.raw(std::string(label) + I(iflag, 2) + "    EPS = " + E(eps, 9, 3));
}

// A solver's stop before the last order: two blank records, the status and EPS, the reason and
// the closing record every such stop shares.
void iflagFailure(RunLog& log, const char* label, int iflag, float eps, const char* reason) {
  log.blank();
  log.blank();
  iflagLine(log, label, iflag, eps);
  log.put(reason);
  log.put(" causing premature termination.");
}

void choleskyFailure(RunLog& log, int iflag, float eps) {
  iflagFailure(log, " IFLAG = ", iflag, eps,
               " One of the di's in Cholesky decomposition is less than EPS");
}

void choleskyCapsFailure(RunLog& log, int iflag, float eps) {
  iflagFailure(log, " IFLAG =", iflag, eps, " One of the di's in CHOLESKY is less than EPS");
}

// The modified Yule-Walker recursion met a pivot not above eps.
void toeplitzFailure(RunLog& log, int iflag, float eps) {
  iflagFailure(log, " IFLAG = ", iflag, eps, " Magnitude of one of complex rho's is less than EPS");
}

void notMinimumPhase(RunLog& log, int iflag, float eps) {
  iflagFailure(log, " IFLAG = ", iflag, eps, " MA filter estimate not minimum-phase");
}

// The Akaike iteration's stop other than convergence: an ill-conditioned Hessian, an MA
// estimate not minimum phase, all NIT iterations used, or no iteration run.
void akaikeStatus(RunLog& log, const RunState& st) {
  if (st.iflag == -1) {
    log.blank();
    log.blank();
    iflagLine(log, " IFLAG =", st.iflag, st.eps);
    log.put(" One of the di's in CHOLESKY is less than ");
    log.raw("EPS causing premature termination (Hessian is ill-conditioned.)");
  } else if (st.iflag == 1) {
    notMinimumPhase(log, st.iflag, st.eps);
  } else if (st.iflag == 2) {
    log.blank();
    log.blank();
    log.raw(" IFGLAG, EPS and NIT = " + I(st.iflag, 2) + "    " + E(st.eps, 9, 3) + "    " +
            I(st.nit, 4));
    log.put(" ALL NIT iterations completed causing termination.");
  } else if (st.iflag == 3) {
    log.blank();
    log.blank();
    log.raw(" IFLAG = " + I(st.iflag, 2) + "    NIT = " + I(st.nit, 4));
    log.put(" No iteration was run (NIT must be at least 1): no model to plot.");
  }
}

void requireRealData(Run& r, const char* name) {
  if (r.st.itype == 1) return;
  r.log.blank();
  r.log.blank();
  r.log.raw(kDashes66);
  r.log.raw(kIndent9 + " Input Error: " + name + " method requires REAL data type.");
  r.log.raw(kDashes66);
  r.log.blank();
  fatalStop(std::string(" Input error: REAL data required for ") + name + " method");
}

// The noise variance of a fitted model is a power. Below zero or not finite, the fit has lost
// its prediction error to single-precision rounding: a large mean (DC offset) makes the sums
// of products huge beside the small error left after the fit, and an order close to the number
// of samples leaves little to average. Such a model is no spectrum: the estimator has failed.
void checkNoiseVariance(RunState& st, RunLog& log) {
  if (st.sig2 >= 0.0f && std::isfinite(st.sig2)) return;
  log.blank();
  log.put(
      {" The noise variance Sig2 =", st.sig2, st.sig2 < 0.0f ? " is negative" : " is not finite",
       st.doublePrecision ? ": rounding swamped the prediction error (a large mean in the data?)."
                          : ": single-precision rounding swamped the prediction error (a large "
                            "mean in the data?)."});
  log.put(" Remove the mean from the data, or lower the model orders, and run again.");
  st.iflag = kIflagDegenerate;
}

// The caller's double-precision samples (none when the samples are single precision or come
// from a file), with the bad points zeroed by the rule the single-precision copy follows.
std::vector<dcplx> wideSamples(const SampleSource* source, int itype, int npts) {
  std::vector<dcplx> out;
  const bool given =
      source && (itype == 1 ? source->realWide != nullptr : source->complexWide != nullptr);
  if (!given) return out;
  out.resize(static_cast<std::size_t>(npts));
  for (int i = 0; i < npts; ++i) {
    const dcplx c = itype == 1 ? dcplx(source->realWide[i], 0) : source->complexWide[i];
    out[static_cast<std::size_t>(i)] = badPoint(c) ? dcplx(0, 0) : c;
  }
  return out;
}

}  // namespace

void spectrum_est(Run& r, float* x_array, float* y_array, int& npts, int& nPoints, int& n_freq_pts,
                  cplx* signal_amp) {
  RunState& st = r.st;
  RunLog& log = r.log;

  st.maxorder = nPoints < kTableOrder ? nPoints : kTableOrder;

  const auto n = static_cast<std::size_t>(nPoints);
  std::vector<float> window = allocateOrStop<float>(
      log, n,
      " Aborting Spec_Est due to Allocation error #:", "Allocate error in Spectrum_Est routine");
  std::vector<float> psd = allocateOrStop<float>(
      log, n,
      " Aborting Spec_Est due to Allocation error #:", "Allocate error in Spectrum_Est routine");
  std::vector<float> signal_real = allocateOrStop<float>(
      log, n,
      " Aborting Spec_Est due to Allocation error #:", "Allocate error in Spectrum_Est routine");

  if (st.maxorder < st.npoles) {
    log.blank();
    log.blank();
    log.raw(kDashes72);
    log.raw(kIndent9 + " nPoles = " + I(st.npoles, 4) + "    Max_Order = " + I(st.maxorder, 4));
    log.raw(" ABORTing ... Max_Order must be \">=\" nPoles");
    log.raw(kDashes72);
    log.blank();
    log.blank();
    fatalStop(" spectrum_est ... 720 label");
  }

  if (nPoints < npts) npts = nPoints;

  if (st.method == kPeriodogram) {
    st.ipts = npts;
    if (st.window_name[0] == 'N') st.window_name = fmt::padRight("Rectangular", kNameWidth);
    // In double precision the window is formed in double with the estimate.
    if (!st.doublePrecision) window_weights(r, window.data(), st.ipts, st.window_name);
  }

  // Samples in memory: sample i at i * dt.
  if (r.samples) {
    for (int i = 0; i < npts; ++i) {
      x_array[i] = static_cast<float>(i) * r.samples->dt;
      if (st.itype == 1) {
        y_array[i] =
            r.samples->realWide ? static_cast<float>(r.samples->realWide[i]) : r.samples->real[i];
      } else {
        signal_amp[i] =
            r.samples->complexWide ? cplx(r.samples->complexWide[i]) : r.samples->complex[i];
      }
    }
    st.ipts = npts;
  } else {
    read_points(r, npts, x_array, y_array, signal_amp);
  }
  npts = st.ipts;

  // Sample spacing from the first and last x; at least two points are needed.
  if (npts < 2) {
    log.put(" ");
    log.put(
        {" Only", npts, " data point(s) could be read from the data file; at least 2 are needed."});
    fatalStop(" Too few data points: at least 2 are needed");
  }
  st.t_start = x_array[0];
  st.t_final = x_array[npts - 1];
  const float t_window = st.t_final - st.t_start;
  const float delta_t = t_window / static_cast<float>(npts - 1);
  log.put({"delta_t/t_window = ", delta_t, t_window, st.t_start});
  if (!(delta_t != 0.0f) || !std::isfinite(delta_t)) {
    log.put(" ");
    log.put({" The x column gives no sample spacing: first x =", st.t_start,
             " and last x =", st.t_final, " (the x values must increase uniformly)."});
    fatalStop(" Error in the x column of the data file: no sample spacing");
  }

  if (st.npoles < 0) st.npoles = 0;
  if (st.npoles > kMaxPoles) st.npoles = kMaxPoles;
  if (st.nzeros < 0) st.nzeros = 0;
  if (st.nzeros > kMaxZeros) st.nzeros = kMaxZeros;
  // The AR and ARMA tables are indexed up to the largest order of the run: the poles and zeros
  // together (the AR recursions, the ARMA regressions and the Akaike Hessian), L (the long AR
  // model of Durbin's method and of Mayne-Firoozan's first stage) and, for the modified
  // Yule-Walker methods, the long AR model of their Durbin stage (n/5, at most Max_Order).
  // A run of small orders then allocates and clears little memory.
  const bool durbinStage = st.method == kMywe || st.method == kLsmywe || st.method == kAkaike;
  r.w.limitOrders(std::max({st.npoles + st.nzeros, st.l_pts,
                            durbinStage ? std::min(st.maxorder, npts / 5) : 0}),
                  st.npoles + st.nzeros);

  // Bad points (badPoint) contribute zero.
  for (int i = 0; i < npts; ++i) {
    if (st.itype == 1) {
      float& y = y_array[i];
      if (badPoint(cplx(y, 0))) {
        log.put({" Bad point= #i,y_array=", i + 1, y, kBadPoint});
        y = 0;
      }
      signal_real[i] = y;
      signal_amp[i] = cplx(y, 0);
    } else {
      if (badPoint(signal_amp[i])) signal_amp[i] = cplx(0, 0);
    }
  }
  for (int i = npts; i < nPoints; ++i) {
    signal_real[i] = 0;
    signal_amp[i] = cplx(0, 0);
  }

  for (int k = 1; k <= st.npoles; ++k) st.a(k) = cplx(0, 0);
  for (int k = 1; k <= st.nzeros; ++k) st.b(k) = cplx(0, 0);

  int nexp = static_cast<int>(std::log(static_cast<float>(nPoints)) / std::log(2.0f) + 0.1f);

  cplx* a = st.a.data();
  cplx* b = st.b.data();
  const bool modelMethod =
      st.method != kPeriodogram && st.method != kBlackTukey && st.method != kMvse;
  DoubleModel wide;
  constexpr int kMadeInDouble = -1;  // not a method: the estimate was made in double above
  const int method = st.doublePrecision ? kMadeInDouble : st.method;
  if (st.method == kBlackTukey) {
    st.window_name = fmt::padRight("Mod. Bartlet", kNameWidth);
    st.ipts = 2 * st.m_lags + 1;
  }
  if (st.doublePrecision) {
    if (st.method == kRmle) requireRealData(r, "RMLE");
    if (st.method == kAkaike) requireRealData(r, "AKAIKE");
    const std::vector<dcplx> given = wideSamples(r.samples, st.itype, npts);
    estimateInDouble(r, signal_amp, given.empty() ? nullptr : given.data(), npts, nexp, nPoints,
                     wide);
    if ((st.method == kCovariance || st.method == kModifiedCovariance) && st.iflag == -1)
      choleskyFailure(log, st.iflag, st.eps);
    if (st.method == kMywe && st.iflag == -1) toeplitzFailure(log, st.iflag, st.eps);
    if ((st.method == kLsmywe || st.method == kAkaike) && st.iflag == -1)
      choleskyFailure(log, st.iflag, st.eps);
    if (st.method == kAkaike) {  // the iteration from the least-squares start above
      akaikeInDouble(r, signal_amp, given.empty() ? nullptr : given.data(), npts, nPoints, wide);
      akaikeStatus(log, st);
    }
    if (st.method == kMayneFir && st.iflag == -1) choleskyCapsFailure(log, st.iflag, st.eps);
    if (st.method == kMayneFir && st.iflag == 1) notMinimumPhase(log, st.iflag, st.eps);
    if (st.method == kMvse) {
      if (st.iflag == -1) choleskyCapsFailure(log, st.iflag, st.eps);
      for (std::size_t i = 0; st.iflag == 0 && i < psd.size() && i < wide.psd.size(); ++i)
        psd[i] = static_cast<float>(wide.psd[i]);
      nPoints = st.l_pts;
    }
    if (st.method == kPeriodogram || st.method == kBlackTukey) {
      for (std::size_t i = 0; i < psd.size() && i < wide.psd.size(); ++i)
        psd[i] = static_cast<float>(wide.psd[i]);
      nPoints = 1 << nexp;
    }
  }
  switch (method) {
    case kMadeInDouble:
      break;
    case kAutoCorrelation:
      autocorr(r, signal_amp, npts, st.npoles, a, st.sig2, nPoints);
      break;
    case kBurg:
      burg(r, signal_amp, npts, st.npoles, a, st.sig2, nPoints);
      break;
    case kRmle:
      requireRealData(r, "RMLE");
      rmle(r, signal_real.data(), npts, st.npoles, st.a0.data(), st.sig2);
      for (int k = 1; k <= st.npoles; ++k) st.a(k) = cplx(st.a0(k), 0);
      break;
    case kCovariance:
    case kModifiedCovariance:
      st.mode = st.method - 4;
      covmcov(r, signal_amp, npts, st.npoles, st.mode, st.eps, st.iflag, st.sig2);
      if (st.iflag == -1) choleskyFailure(log, st.iflag, st.eps);
      break;
    case kMywe:
      mywe(r, signal_amp, npts, st.npoles, st.nzeros, st.eps, a, b, st.sig2, st.iflag, nPoints);
      if (st.iflag == -1) toeplitzFailure(log, st.iflag, st.eps);
      break;
    case kLsmywe:
      lsmywe(r, signal_amp, npts, st.npoles, st.nzeros, st.m_eqs, st.eps, b, st.sig2, st.iflag,
             nPoints);
      if (st.iflag == -1) choleskyFailure(log, st.iflag, st.eps);
      break;
    case kAkaike:
      requireRealData(r, "AKAIKE");
      // The least-squares modified Yule-Walker model is the starting estimate.
      lsmywe(r, signal_amp, npts, st.npoles, st.nzeros, st.m_eqs, st.eps, b, st.sig2, st.iflag,
             nPoints);
      if (st.iflag == -1) choleskyFailure(log, st.iflag, st.eps);
      for (int k = 1; k <= st.npoles; ++k) st.a0(k) = st.a(k).real();
      for (int k = 1; k <= st.nzeros; ++k) st.b0(k) = st.b(k).real();
      akaike(r, signal_real.data(), npts, st.a0.data(), st.b0.data(), st.npoles, st.nzeros, st.nit,
             st.eps, st.per, st.sig2, st.iflag, nPoints);
      for (int k = 1; k <= st.npoles; ++k) st.a(k) = cplx(st.a0(k), 0);
      for (int k = 1; k <= st.nzeros; ++k) st.b(k) = cplx(st.b0(k), 0);
      akaikeStatus(log, st);
      break;
    case kMayneFir:
      maynefir(r, signal_amp, npts, st.npoles, st.nzeros, st.l_pts, st.eps, nexp, a, st.sig2,
               st.iflag, nPoints);
      // The MA estimates used for the noise variance are the method's MA coefficients.
      for (int k = 1; k <= st.nzeros; ++k) st.b(k) = r.w.bc()(k);
      if (st.iflag == -1) {
        choleskyCapsFailure(log, st.iflag, st.eps);
      } else if (st.iflag == 1) {
        notMinimumPhase(log, st.iflag, st.eps);
      }
      break;
    case kDurbin:
      durbin(r, signal_amp, npts, st.nzeros, st.l_pts, b, st.sig2, nPoints);
      break;
    case kPeriodogram:
      periodogram(r, signal_amp, npts, window.data(), nexp, psd.data(), nPoints);
      nPoints = 1 << nexp;
      break;
    case kBlackTukey: {
      const int m = st.m_lags;
      bartlettLagWindow(window.data(), m);
      blacktukey(r, signal_amp, npts, st.mode, window.data(), m, nexp, psd.data(), nPoints);
      nPoints = 1 << nexp;
      break;
    }
    case kMvse:
      mvse(r, signal_amp, npts, st.npoles, st.l_pts, st.eps, st.mode, psd.data(), st.iflag);
      if (st.iflag == -1) choleskyCapsFailure(log, st.iflag, st.eps);
      nPoints = st.l_pts;
      break;
    case kLockheed:
      lockheed(r, signal_amp, npts, st.npoles, st.nzeros, a, b, nexp, st.sig2, nPoints);
      break;
    default:
      log.blank();
      log.blank();
      log.raw(kIndent9 + "--> METHOD number out of range: method =" + I(st.method, 4));
      log.blank();
      log.blank();
      fatalStop(" in Spectrum_est");
  }

  // One check for every model method: what a model's noise variance must be.
  if (modelMethod && st.iflag == 0) checkNoiseVariance(st, log);

  if (modelMethod) {
    double temp_a = 0, temp_b = 0;
    for (int k = 1; k <= st.npoles; ++k) temp_a += std::abs(st.a(k));
    for (int k = 1; k <= st.nzeros; ++k) temp_b += std::abs(st.b(k));
    // A model in double precision prints with the digits it has: E21.14 (15 significant
    // digits) where single precision prints E12.5.
    double sig2 = st.sig2;
    int width = 12, digits = 5;
    if (st.doublePrecision) {
      temp_a = temp_b = 0;
      for (const dcplx& v : wide.a) temp_a += std::abs(v);
      for (const dcplx& v : wide.b) temp_b += std::abs(v);
      sig2 = wide.sig2;
      width = 21;
      digits = 14;
    }
    log.blank();
    log.raw(" Sig2 = " + E(sig2, width, digits) + "  nexp = " + I(nexp, 3) +
            "   npts = " + I(npts, 5) + "   nPoints = " + I(nPoints, 7));
    log.raw(" AR filter parameter estimates ... a(i) 's      ... Summation = " +
            E(temp_a, width, digits));
    log.raw(" MA filter parameter estimates ... b(i) 's      ... Summation = " +
            E(temp_b, width, digits));
    if (st.iflag != 0) return;
    if (st.doublePrecision) {
      modelPsdInDouble(r, wide, nexp, psd.data(), nPoints);
    } else {
      armapsd(r, st.npoles, st.nzeros, a, b, st.sig2, nexp, psd.data(), nPoints);
    }
  }

  // Frequency grid.
  const float delta_f = 1.0f / (static_cast<float>(nPoints) * delta_t);
  float freq_min = 0;
  int i_off = 0;
  if (st.neg_freq == 1) {
    n_freq_pts = nPoints - 1;
    freq_min = -(static_cast<float>(nPoints) * delta_f) / 2.0f;
  } else {
    n_freq_pts = nPoints / 2;
    i_off = nPoints / 2;
  }
  log.put({" n_freq_pts/dF/Fmax = ", n_freq_pts, delta_f,
           freq_min + static_cast<float>(n_freq_pts) * delta_f});
  if (n_freq_pts < 2) {
    log.put(" ");
    log.put(
        {" Only", n_freq_pts,
         " frequency point(s) on the grid; raise nPoints (L points for MVSE) to plot a spectrum."});
    fatalStop(" Too few frequency points: raise nPoints");
  }
  if (r.capacity >= 0 && n_freq_pts > r.capacity) {
    log.put(" ");
    log.put({" The spectrum has", n_freq_pts, " points but the result arrays hold only", r.capacity,
             "."});
    fatalStop(" Result arrays too small for the spectrum");
  }
  if (st.iflag != 0) return;  // MVSE failed: the grid is built, there is no spectrum

  for (int i = 1; i <= n_freq_pts; ++i) {
    x_array[i - 1] = freq_min + static_cast<float>(i - 1) * delta_f;
    psd[static_cast<std::size_t>(i - 1)] = std::fabs(psd[static_cast<std::size_t>(i - 1 + i_off)]);
  }

  // A spectrum that holds infinities or not-a-numbers, or is zero everywhere, cannot be shown
  // in dB relative to its maximum: report it as an estimator failure.
  bool finite = true, allZero = true;
  for (int i = 0; i < n_freq_pts; ++i) {
    const float v = psd[static_cast<std::size_t>(i)];
    if (!std::isfinite(v)) finite = false;
    if (v != 0.0f) allZero = false;
  }
  if (!finite || allZero) {
    log.blank();
    log.blank();
    if (!finite) {
      log.put(" The PSD holds infinite or not-a-number values (a pole on the frequency grid or");
      log.put(" degenerate data): no spectrum can be plotted.");
    } else {
      log.put(" The PSD is zero at every frequency (all-zero data?): no spectrum can be plotted.");
    }
    st.iflag = kIflagBadSpectrum;
    return;
  }

  for (int i = 0; i < n_freq_pts; ++i) {
    if (st.itype == 1) {
      y_array[i] = psd[static_cast<std::size_t>(i)];
    } else {
      signal_amp[i] = cplx(psd[static_cast<std::size_t>(i)], 0);
    }
  }
}

}  // namespace voxtrel
