// The estimator step of spectrum_est in double precision: the prepared samples are widened
// (exactly), or taken as the caller gave them in double precision, the method runs on the
// double-precision routines, and the model or the PSD is kept in double until the spectrum is
// formed; the spectrum and the model handed back to the caller are rounded to single precision
// once.
#include <algorithm>
#include <string>
#include <vector>

#include "estimators.h"
#include "fatal.h"
#include "precision_tables.h"
#include "spec_est.h"
#include "spec_in.h"

namespace voxtrel {

namespace {

// The model handed back to the caller in the run state, rounded to single precision once.
void handBack(RunState& st, const DoubleModel& model) {
  for (int k = 1; k <= st.npoles; ++k) st.a(k) = cplx(model.a[static_cast<std::size_t>(k - 1)]);
  for (int k = 1; k <= st.nzeros; ++k) st.b(k) = cplx(model.b[static_cast<std::size_t>(k - 1)]);
  st.sig2 = static_cast<float>(model.sig2);
}

}  // namespace

void estimateInDouble(Run& r, const cplx* signal, const dcplx* given, int npts, int nexp,
                      int nPoints, DoubleModel& model) {
  RunState& st = r.st;
  const auto big = static_cast<std::size_t>(nPoints > (1 << nexp) ? nPoints : (1 << nexp));
  auto x = allocateOrStop<dcplx>(r.log, big, " Aborting Spec_Est due to Allocation error #:",
                                 "Allocate error in Spectrum_Est routine");
  for (int i = 0; i < npts; ++i)
    x[static_cast<std::size_t>(i)] = given ? given[i] : dcplx(signal[i]);
  model.a.assign(static_cast<std::size_t>(st.npoles), dcplx(0, 0));
  model.b.assign(static_cast<std::size_t>(st.nzeros), dcplx(0, 0));
  switch (st.method) {
    case kPeriodogram: {
      std::vector<double> window(static_cast<std::size_t>(npts));
      window_weights(r, window.data(), npts, st.window_name);
      model.psd.assign(big, 0.0);
      periodogram(r, x.data(), npts, window.data(), nexp, model.psd.data(), nPoints);
      return;
    }
    case kBlackTukey: {
      std::vector<double> w(static_cast<std::size_t>(2 * st.m_lags + 1));
      bartlettLagWindow(w.data(), st.m_lags);
      model.psd.assign(big, 0.0);
      blacktukey(r, x.data(), npts, st.mode, w.data(), st.m_lags, nexp, model.psd.data(), nPoints);
      return;
    }
    case kMvse:  // the spectrum itself, on the L-point grid
      model.psd.assign(
          big > static_cast<std::size_t>(st.l_pts) ? big : static_cast<std::size_t>(st.l_pts), 0.0);
      mvse(r, x.data(), npts, st.npoles, st.l_pts, static_cast<double>(st.eps), st.mode,
           model.psd.data(), st.iflag);
      return;
    case kMayneFir: {
      // The long AR(L) model is built in the AR vector first: room for both orders.
      std::vector<dcplx> a(static_cast<std::size_t>(std::max(st.npoles, st.l_pts) + 1));
      maynefir(r, x.data(), npts, st.npoles, st.nzeros, st.l_pts, static_cast<double>(st.eps), nexp,
               a.data(), model.sig2, st.iflag, nPoints);
      std::copy_n(a.begin(), model.a.size(), model.a.begin());
      // The MA estimates used for the noise variance are the method's MA coefficients.
      const FVec<dcplx>& bc = ModelTables<double>::bc(r);
      for (int k = 1; k <= st.nzeros; ++k) model.b[static_cast<std::size_t>(k - 1)] = bc(k);
      break;
    }
    case kLockheed:
      lockheed(r, x.data(), npts, st.npoles, st.nzeros, model.a.data(), model.b.data(), nexp,
               model.sig2, nPoints);
      break;
    case kMywe:
      mywe(r, x.data(), npts, st.npoles, st.nzeros, static_cast<double>(st.eps), model.a.data(),
           model.b.data(), model.sig2, st.iflag, nPoints);
      break;
    case kDurbin:
      durbin(r, x.data(), npts, st.nzeros, st.l_pts, model.b.data(), model.sig2, nPoints);
      break;
    case kAutoCorrelation:
      autocorr(r, x.data(), npts, st.npoles, model.a.data(), model.sig2, nPoints);
      break;
    case kBurg:
      burg(r, x.data(), npts, st.npoles, model.a.data(), model.sig2, nPoints);
      break;
    case kRmle: {  // real data (the driver has checked)
      std::vector<double> real(static_cast<std::size_t>(npts)), a(model.a.size());
      for (int i = 0; i < npts; ++i)
        real[static_cast<std::size_t>(i)] = x[static_cast<std::size_t>(i)].real();
      rmle(r, real.data(), npts, st.npoles, a.data(), model.sig2);
      for (std::size_t k = 0; k < a.size(); ++k) model.a[k] = dcplx(a[k], 0);
      break;
    }
    case kCovariance:
    case kModifiedCovariance: {
      st.mode = st.method - 4;
      covmcov(r, x.data(), npts, st.npoles, st.mode, static_cast<double>(st.eps), st.iflag,
              model.sig2);
      const FVec<dcplx>& theta = ModelTables<double>::theta(r);
      for (int k = 1; k <= st.npoles; ++k) model.a[static_cast<std::size_t>(k - 1)] = theta(k);
      break;
    }
    case kLsmywe:
    case kAkaike: {  // for Akaike the starting model (akaikeInDouble iterates from it)
      lsmywe(r, x.data(), npts, st.npoles, st.nzeros, st.m_eqs, static_cast<double>(st.eps),
             model.b.data(), model.sig2, st.iflag, nPoints);
      const FVec<dcplx>& theta = ModelTables<double>::theta(r);
      for (int k = 1; k <= st.npoles; ++k) model.a[static_cast<std::size_t>(k - 1)] = theta(k);
      break;
    }
    default:  // every method is above; the method number was checked when it was read
      fatalStop(" Internal error: no double-precision estimator for method " +
                std::to_string(st.method));
  }
  handBack(st, model);
}

void akaikeInDouble(Run& r, const cplx* signal, const dcplx* given, int npts, int nPoints,
                    DoubleModel& model) {
  RunState& st = r.st;
  std::vector<double> x(static_cast<std::size_t>(npts)), a(model.a.size()), b(model.b.size());
  for (int i = 0; i < npts; ++i)
    x[static_cast<std::size_t>(i)] =
        given ? given[i].real() : static_cast<double>(signal[i].real());
  for (std::size_t k = 0; k < a.size(); ++k) a[k] = model.a[k].real();
  for (std::size_t k = 0; k < b.size(); ++k) b[k] = model.b[k].real();
  akaike(r, x.data(), npts, a.data(), b.data(), st.npoles, st.nzeros, st.nit,
         static_cast<double>(st.eps), static_cast<double>(st.per), model.sig2, st.iflag, nPoints);
  for (std::size_t k = 0; k < a.size(); ++k) model.a[k] = dcplx(a[k], 0);
  for (std::size_t k = 0; k < b.size(); ++k) model.b[k] = dcplx(b[k], 0);
  handBack(st, model);
}

void modelPsdInDouble(Run& r, const DoubleModel& model, int nexp, float* psd, int nPoints) {
  const RunState& st = r.st;
  std::vector<double> wide = allocateOrStop<double>(
      r.log, static_cast<std::size_t>(nPoints),
      " Aborting ARMAPSD due to Allocation error #: ", "Allocate error in ARMAPSD routine");
  armapsd(r, st.npoles, st.nzeros, model.a.data(), model.b.data(), model.sig2, nexp, wide.data(),
          nPoints);
  for (int i = 0; i < (1 << nexp); ++i)
    psd[i] = static_cast<float>(wide[static_cast<std::size_t>(i)]);
}

}  // namespace voxtrel
