// The engine's C++ entry, used by tests, benchmarks and the command-line runner. The exported
// C entry Voxtrel_for is a thin wrapper around it.
#pragma once

#include <complex>
#include <cstddef>
#include <ctime>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace voxtrel {

// Status values of RunResult::status (the caller's nptsZ) when no data were used.
inline constexpr int kStatusInputFileError = -7;
inline constexpr int kStatusDataFileError = -8;
inline constexpr int kStatusStopped = -9;
// The text of a run ended by its caller's stop request: RunResult::stopText and the run log's
// last line.
inline constexpr std::string_view kStoppedByUserText = "Stopped by the user.";
// zeroFill value of a run whose estimator failed: no spectrum.
inline constexpr float kNoPlot = -99.0f;

// A local maximum of the dB spectrum, as listed in the run log's peak table.
struct Peak {
  float freq = 0;
  float db = 0;
};

// The arithmetic of a run's estimator. Single is the classic arithmetic (single precision with
// double-precision sums where the routines keep them); Double carries every step in double
// precision and rounds the results to single precision once, at the end.
enum class Precision { Single, Double };

struct RunOptions {
  // The two-second pause after the peak table; the exported entry always pauses.
  bool pause = false;
  // Where the run log is written; a relative path is taken from the current working directory.
  std::filesystem::path logPath = "~Tirelle.out";
  // Capacity of the caller's result arrays; negative means no limit. A run that would produce more
  // frequency points is stopped before anything is written.
  int capacity = -1;
  // The date and time stamped into the run log; the clock when not given.
  std::optional<std::tm> now;
  // A stop request made from another thread (a Stop button): asked in the estimators' outer
  // loops, while the data are read and during the pause, so that a run ends soon after it
  // answers true. A run it ends is a stop (status -9) with the text kStoppedByUserText. Empty:
  // the run is never stopped. It must be cheap; it is called many times a second.
  std::function<bool()> stopRequested;
  // The estimator's arithmetic. A method not yet written for double precision refuses a
  // double-precision run: a stop (status -9) whose text names the method and this option.
  Precision precision = Precision::Single;
};

enum class Outcome {
  Spectrum,        // a spectrum was computed
  NoPlot,          // the estimator failed; the log holds its message
  InputFileError,  // status -7
  DataFileError,   // status -8
  Stopped,         // status -9: a fatal stop; stopText holds its text
};

struct RunResult {
  Outcome outcome = Outcome::Stopped;
  int status = kStatusStopped;  // nptsZ: points used, or -7, -8, -9
  int nFreqPts = 0;             // npointsZ after a spectrum
  int nPoints = 0;              // FFT size after rounding (0 when the reader did not get there)
  float tStart = 0, tFinal = 0, zeroFill = 0, sig2 = 0;
  std::vector<float> x;         // frequencies, nFreqPts values
  std::vector<float> spectrum;  // dB relative to the maximum, nFreqPts values
  std::vector<float> psd;       // the same spectrum, linear
  std::vector<Peak> peaks;      // the peak table's maxima
  // The fitted model a(1..nPoles), b(1..nZeros), for the methods that fit one.
  std::vector<std::complex<float>> ar, ma;
  std::string stopText;  // the fatal stop's text (Outcome::Stopped)
  // What names the run, once its answer file was read: the method as the run log names it,
  // the data file as the answer file gives it, the model orders the method takes (none for the
  // non-parametric methods, nZeros alone for Durbin's MA model) and the date the log carries.
  std::string method, dataFile;
  std::optional<int> nPoles, nZeros;
  std::tm date{};
  // Bytes held by the shared AR/ARMA work tables the run allocated (sized by the run's largest
  // order); the memory benchmark counts them among the arrays a run needs.
  std::size_t workTableBytes = 0;
};

// Runs one answer file. Never throws; one run at a time per process (calls are serialised).
// A run whose log cannot be opened, or not written completely, ends as a stop (status -9)
// whose text says why.
RunResult run(std::string_view answerFile, const RunOptions& options = {});

// A call that names no answer file (no name at all, or a negative length): status -7, and the
// run log says why, so that no earlier run's log passes for this one.
RunResult refuseCall(std::string_view reason, const RunOptions& options = {});

}  // namespace voxtrel
