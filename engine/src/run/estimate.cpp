// estimate: one estimation from samples in memory. The parameters are checked against the
// answer file's limits and reported by name when out of range; the run then goes through the
// same driver, decibel scaling and peak table as a file-driven run, with its log in memory.
#include "voxtrel/estimate.h"

#include <cmath>
#include <ctime>
#include <string>
#include <type_traits>

#include "fatal.h"
#include "fortran_format.h"
#include "os_file.h"
#include "param_limits.h"
#include "spec_est.h"
#include "spec_in.h"

namespace voxtrel {

namespace {

// The first parameter found out of range, as "name = value is out of range: rule", or empty.
std::string checkParams(const EstimateParams& p, int count, bool complexData, int nPoints,
                        int npts) {
  const auto m = static_cast<int>(p.method);
  if (m < kAutoCorrelation || m > kLockheed)
    return "method = " + std::to_string(m) + " is out of range: 1 <= method <= 14";
  if (p.nPoints != 0 && !nPointsRange().holds(p.nPoints))
    return nPointsRange().outOfRange(p.nPoints, "or 0: the smallest that holds the samples");
  if (count < 2)
    return "samples = " + std::to_string(count) + " is out of range: at least 2 are needed";
  if (!(p.sampleInterval > 0.0f) || !std::isfinite(p.sampleInterval))
    return "sample interval = " + std::to_string(p.sampleInterval) +
           " is out of range: a finite value above 0";
  if (complexData && (m == kRmle || m == kAkaike))
    return std::string("data type = complex is out of range: this method requires REAL data");
  const bool model = m != kPeriodogram && m != kBlackTukey;
  const int maxOrder = nPoints < kTableOrder ? nPoints : kTableOrder;
  if (model && m != kDurbin && !nPolesRange(maxOrder).holds(p.nPoles))
    return nPolesRange(maxOrder).outOfRange(p.nPoles);
  if (m >= kMywe && m != kPeriodogram && m != kBlackTukey && m != kMvse &&
      !nZerosRange().holds(p.nZeros))
    return nZerosRange().outOfRange(p.nZeros);
  if ((m == kLsmywe || m == kAkaike) && !mEqsRange(p.nPoles, p.nZeros, npts).holds(p.mEqs))
    return mEqsRange(p.nPoles, p.nZeros, npts)
        .outOfRange(p.mEqs, "nPoles + nZeros to the samples used");
  if (m == kDurbin && !durbinLRange(p.nZeros, maxOrder).holds(p.lPts))
    return durbinLRange(p.nZeros, maxOrder).outOfRange(p.lPts, "nZeros to min(nPoints, 411)");
  if (m == kBlackTukey && !mLagRange(npts).holds(p.mLags))
    return mLagRange(npts).outOfRange(
        p.mLags, "2 M lag + 2 <= " + std::to_string(npts) + ", the samples used");
  if (m == kMvse && !mvseLRange(nPoints).holds(p.lPts))
    return mvseLRange(nPoints).outOfRange(p.lPts, "nPoints");
  if (m == kPeriodogram) {
    const std::string w = fmt::padRight(p.window, kNameWidth);
    static const char* const kWindows[] = {"None",    "Rectangular", "Barlett",
                                           "Hanning", "Hamming",     "Blackman"};
    bool known = false;
    for (const char* k : kWindows) known = known || w == fmt::padRight(k, kNameWidth);
    if (!known)
      return "window = \"" + p.window +
             "\" is out of range: one of None, Rectangular, Barlett, Hanning, Hamming, Blackman";
  }
  return {};
}

// One run of the checked parameters, its log kept or discarded.
EstimateResult runOnce(const EstimateParams& p, const SampleSource& source, bool complexData,
                       int npts, int nPoints, LogMode mode) {
  EstimateResult res;
  RunLog log(mode);
  try {
    Run r(log);
    RunState& st = r.st;
    st.itype = complexData ? 2 : 1;
    st.method = static_cast<int>(p.method);
    st.neg_freq = p.negativeFrequencies ? 1 : 0;
    st.npoles = p.method == EstimateMethod::Durbin ? 0 : p.nPoles;
    st.nzeros = st.method < kMywe ? 0 : p.nZeros;
    st.eps = p.eps;
    st.mode = p.mode;
    st.m_eqs = p.mEqs;
    st.l_pts = p.lPts;
    st.m_lags = p.mLags;
    st.nit = p.nit;
    st.per = p.per;
    st.window_name = fmt::padRight(p.window, kNameWidth);
    st.doublePrecision = p.precision == Precision::Double;
    st.maxorder = nPoints < kTableOrder ? nPoints : kTableOrder;
    st.method_name = methodName(st.method);
    r.samples = &source;
    // The log asked for holds what the file-driven run writes once its answer file is read:
    // the method's notes and the echo of the parameters (no file names or notes here). The
    // parameters are already checked, so its range checks pass.
    if (log.keeps()) {
      r.now = os::localTime(std::time(nullptr));
      spec_check(r, npts, nPoints);
    }

    ComputedSpectrum c = compute_spectrum(r, npts, nPoints);
    res.samplesUsed = npts;
    res.sig2 = st.sig2;
    res.ar = std::move(c.ar);
    res.ma = std::move(c.ma);
    if (c.failed) {
      res.status = EstimateStatus::EstimatorFailed;
      res.message = "The estimator failed on these data; the run log says why.";
    } else {
      res.status = EstimateStatus::Ok;
      res.peaks = std::move(c.peaks);
      res.freq = std::move(c.x);
      res.psd = std::move(c.psd);
      res.db = std::move(c.db);
    }
  } catch (...) {
    res.status = EstimateStatus::Stopped;
    res.message = stopReason("run");
    log.raw(res.message);
  }
  res.log = log.memory();
  return res;
}

EstimateResult estimateFrom(const EstimateParams& p, int count, const SampleSource& source,
                            bool complexData) {
  int nPoints = 1;
  const int wanted = p.nPoints > 0 ? p.nPoints : count;
  while (nPoints < wanted && nPoints < kMaxNPoints) nPoints *= 2;
  const int npts = count < nPoints ? count : nPoints;

  EstimateResult res;
  res.message = checkParams(p, count, complexData, nPoints, npts);
  if (!res.message.empty()) {
    res.status = EstimateStatus::BadParameter;
    return res;
  }
  // Without a log the run formats none of its records. A failure always comes with its log:
  // the run is repeated with the log kept (its records are few, the data the same), so the
  // error can say why.
  res =
      runOnce(p, source, complexData, npts, nPoints, p.wantLog ? LogMode::Keep : LogMode::Discard);
  if (!p.wantLog && res.status != EstimateStatus::Ok)
    res = runOnce(p, source, complexData, npts, nPoints, LogMode::Keep);
  return res;
}

// The samples of one of the four entries, which differ only in the pointer they set.
template <class T>
EstimateResult estimateSamples(const EstimateParams& params, std::span<const T> samples) {
  SampleSource source;
  if constexpr (std::is_same_v<T, float>) source.real = samples.data();
  if constexpr (std::is_same_v<T, cplx>) source.complex = samples.data();
  if constexpr (std::is_same_v<T, double>) source.realWide = samples.data();
  if constexpr (std::is_same_v<T, dcplx>) source.complexWide = samples.data();
  source.dt = params.sampleInterval;
  const bool complexData = std::is_same_v<T, cplx> || std::is_same_v<T, dcplx>;
  return estimateFrom(params, static_cast<int>(std::min<std::size_t>(samples.size(), 1u << 30)),
                      source, complexData);
}

}  // namespace

EstimateResult estimate(const EstimateParams& params, std::span<const float> samples) {
  return estimateSamples(params, samples);
}

EstimateResult estimate(const EstimateParams& params,
                        std::span<const std::complex<float>> samples) {
  return estimateSamples(params, samples);
}

EstimateResult estimate(const EstimateParams& params, std::span<const double> samples) {
  return estimateSamples(params, samples);
}

EstimateResult estimate(const EstimateParams& params,
                        std::span<const std::complex<double>> samples) {
  return estimateSamples(params, samples);
}

}  // namespace voxtrel
