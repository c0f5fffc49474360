// The run sequence of one estimation: run log, run-definition file, data and estimator,
// decibel scaling, peak table and the values handed back to the caller.
#include "voxtrel/run.h"

#include <chrono>
#include <cmath>
#include <exception>
#include <mutex>
#include <new>
#include <vector>

#include "fatal.h"
#include "fortran_format.h"
#include "os_file.h"
#include "spec_est.h"
#include "spec_in.h"

namespace voxtrel {

namespace {

std::tm localNow() {
  return os::localTime(std::time(nullptr));
}

// The share of the transform that is zero padding, in whole percent (truncated): the
// transform has nPoints values and the data (after Blackman-Tukey: the lag window) fill ipts
// of them. Measured against the transform, not against the frequency points shown, so a
// one-sided spectrum reports the same padding as a two-sided one. A method that evaluates
// the spectrum at fewer points than it has data (MVSE) pads nothing: 0.
float zeroFillPercent(int nPoints, int ipts) {
  if (nPoints <= 0 || ipts >= nPoints) return 0.0f;
  const long long padded = static_cast<long long>(nPoints) - (ipts > 0 ? ipts : 0);
  return static_cast<float>(padded * 100 / nPoints);
}

void writeHeader(RunLog& log, std::string_view answerFile) {
  log.put(" ");
  log.put(" Starting Spectral Estimation calculations and Plot");
  log.put(" ");
  log.put(" ");
  log.put({" filenam = ", std::string(answerFile), "<==="});
}

// The model orders a method takes, as the answer file's questions ask for them: the AR methods
// and minimum variance nPoles, Durbin's MA model nZeros, the ARMA methods and Lockheed's both,
// the periodogram and Blackman-Tukey none.
void setOrders(RunResult& res, const RunState& st) {
  const bool poles = st.method != kDurbin && st.method != kPeriodogram && st.method != kBlackTukey;
  const bool zeros = st.method >= kMywe && st.method != kPeriodogram && st.method != kBlackTukey &&
                     st.method != kMvse;
  if (poles) res.nPoles = st.npoles;
  if (zeros) res.nZeros = st.nzeros;
}

RunResult stopped(std::string text) {
  RunResult res;
  res.stopText = std::move(text);
  return res;
}

// Ends the run's log. A log that could not be written completely (a full disk, a file size
// limit) turns the run into a stop whose text says so: no result stands on a log that breaks
// off. The text is also written as the log's last record where the file still takes it.
RunResult finishLog(RunLog& log, const RunOptions& options, RunResult res) {
  auto incomplete = [&] {
    return stopped(" The run log " + options.logPath.string() +
                   " could not be written completely (" + log.failure() +
                   "); free space on its disk or raise the file size limit, then run again.");
  };
  if (!log.flush()) {
    res = incomplete();
    log.writeLastRecord(res.stopText);
  }
  if (!log.close() && res.outcome != Outcome::Stopped) res = incomplete();
  return res;
}

// A run whose log cannot be opened does not start: nothing could say why it failed.
RunResult logNotOpened(const RunLog& log, const RunOptions& options) {
  return stopped(" The run log " + options.logPath.string() + " cannot be opened for writing (" +
                 log.failure() +
                 "); make its folder writable and clear its place, then run again.");
}

std::unique_lock<std::mutex> oneRunAtATime() {
  static std::mutex m;
  return std::unique_lock<std::mutex>(m);
}

// The run from its header lines to the values handed back. A fatal stop or exhausted memory
// ends it as a stop, its text written as the log's last line.
RunResult runLogged(RunLog& log, std::string_view answerFile, const RunOptions& options) {
  RunResult res;
  Run r(log);
  r.capacity = options.capacity;
  r.pause = options.pause;
  r.stopRequested = options.stopRequested;
  r.st.doublePrecision = options.precision == Precision::Double;
  r.now = options.now ? *options.now : localNow();

  try {
    writeHeader(log, answerFile);

    int npts = 0, npoints = 0;
    const int k = spec_info(r, answerFile, npts, npoints);
    if (k < 1) {
      res.status = k;
      res.outcome = k == kStatusInputFileError ? Outcome::InputFileError : Outcome::DataFileError;
      return res;
    }
    res.nPoints = npoints;
    res.method = std::string(fmt::trimRight(r.st.method_name));
    res.dataFile = r.st.dataFile;
    res.date = r.now;
    setOrders(res, r.st);

    ComputedSpectrum c = compute_spectrum(r, npts, npoints);
    res.ar = std::move(c.ar);
    res.ma = std::move(c.ma);
    float zeroFill = 0;
    if (c.failed) {
      zeroFill = kNoPlot;
      res.outcome = Outcome::NoPlot;
    } else {
      res.outcome = Outcome::Spectrum;
      res.status = npts;
      res.nFreqPts = c.nFreqPts;
      res.tStart = r.st.t_start;
      zeroFill = zeroFillPercent(npoints, r.st.ipts);
      res.peaks = std::move(c.peaks);
      res.x = std::move(c.x);
      res.spectrum = std::move(c.db);
      res.psd = std::move(c.psd);
    }
    res.tFinal = r.st.t_final;
    res.zeroFill = zeroFill;
    res.sig2 = r.st.sig2;
    res.workTableBytes = r.w.bytes();
  } catch (const FatalStop& stop) {
    log.raw(stop.text);
    res = RunResult{};
    res.stopText = stop.text;
  } catch (const std::bad_alloc&) {
    log.put(" ");
    log.put({" Aborting due to Allocation error #: ", 41});
    log.raw("Allocate error: not enough memory for this run");
    res = RunResult{};
    res.stopText = "Allocate error: not enough memory for this run";
  } catch (const std::exception& e) {
    const std::string text = std::string("Internal error: ") + e.what();
    log.raw(text);
    res = RunResult{};
    res.stopText = text;
  }
  return res;
}

}  // namespace

RunResult run(std::string_view answerFile, const RunOptions& options) {
  const auto lock = oneRunAtATime();
  RunLog log;
  if (!log.open(options.logPath.string())) return logNotOpened(log, options);
  RunResult res = runLogged(log, answerFile, options);
  return finishLog(log, options, std::move(res));
}

RunResult refuseCall(std::string_view reason, const RunOptions& options) {
  const auto lock = oneRunAtATime();
  RunLog log;
  if (!log.open(options.logPath.string())) return logNotOpened(log, options);
  writeHeader(log, "");
  log.put(" ");
  log.put(" ERROR while opening Input file: ");
  log.put(reason);
  log.put(" **************  End of run *******************");
  log.put(" ");
  log.put(" ");
  RunResult res;
  res.outcome = Outcome::InputFileError;
  res.status = kStatusInputFileError;
  return finishLog(log, options, std::move(res));
}

}  // namespace voxtrel
