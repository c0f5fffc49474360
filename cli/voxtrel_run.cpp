// voxtrel-run: runs one answer file without the GUI. The run log is written in the current
// folder; the outcome and the peak frequencies are printed, and --csv writes the spectrum as
// comma-separated values (comment lines naming the run, then frequency,dB rows) and its peaks
// in a second file beside it (OUT_peaks.csv).
// --order-scan MAX prints the order-selection table of the answer file's data and AR method
// instead of running it (--csv then writes the table). --precision double runs the estimator
// (or the scan's fits) in double precision (single, the classic arithmetic, is the default).
// --version prints the program's version.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <span>
#include <string>

#include "order_scan_table.h"
#include "tessivar_version.h"
#include "voxtrel/run.h"
#include "voxtrel/spectrum_csv.h"

namespace {

// Writes text to path; a file that cannot be opened or is cut short (a full disk) is reported
// by name and is no success.
bool writeText(const std::string& path, const std::string& text) {
  std::FILE* f = std::fopen(path.c_str(), "w");
  if (!f) {
    std::fprintf(stderr, "voxtrel-run: cannot write %s: %s\n", path.c_str(), std::strerror(errno));
    return false;
  }
  const bool written = std::fwrite(text.data(), 1, text.size(), f) == text.size() &&
                       std::fflush(f) == 0 && !std::ferror(f);
  const int error = errno;
  if (std::fclose(f) != 0 || !written) {
    std::fprintf(stderr, "voxtrel-run: %s could not be written completely: %s\n", path.c_str(),
                 std::strerror(written ? errno : error));
    return false;
  }
  return true;
}

int usage() {
  std::fprintf(stderr,
               "usage: voxtrel-run ANSWER_FILE [--csv OUT] [--pause] [--precision single|double]\n"
               "       voxtrel-run ANSWER_FILE --order-scan MAX [--csv OUT] "
               "[--precision single|double]\n"
               "       voxtrel-run --version\n");
  return 2;
}

// The order scan of the answer file's data and method up to maxOrder.
int orderScan(const std::string& answerFile, int maxOrder, const std::string& csvPath,
              voxtrel::Precision precision) {
  const voxtrel::OrderScanResult scan = voxtrel::order_scan_answer(answerFile, maxOrder, precision);
  if (scan.status != voxtrel::EstimateStatus::Ok) {
    std::fprintf(stderr, "voxtrel-run: order scan of %s: %s\n", answerFile.c_str(),
                 scan.message.c_str());
    return 1;
  }
  cli::printOrderScan(scan);
  if (!csvPath.empty() && !cli::writeOrderScanCsv(scan, csvPath)) return 1;
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::string answerFile, csvPath;
  voxtrel::RunOptions options;
  int scanOrder = 0;  // --order-scan MAX; 0: a run
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--csv") == 0) {
      if (++i >= argc) return usage();
      csvPath = argv[i];
    } else if (std::strcmp(argv[i], "--order-scan") == 0) {
      if (++i >= argc) return usage();
      char* end = nullptr;
      const long v = std::strtol(argv[i], &end, 10);
      if (end == argv[i] || *end != '\0' || v < 1 || v > 100000) {
        std::fprintf(stderr, "voxtrel-run: --order-scan %s: MAX must be a whole number >= 1\n",
                     argv[i]);
        return 2;
      }
      scanOrder = static_cast<int>(v);
    } else if (std::strcmp(argv[i], "--version") == 0) {
      std::printf("voxtrel-run %s\n", TESSIVAR_VERSION);
      return 0;
    } else if (std::strcmp(argv[i], "--precision") == 0) {
      if (++i >= argc) return usage();
      if (std::strcmp(argv[i], "single") == 0) {
        options.precision = voxtrel::Precision::Single;
      } else if (std::strcmp(argv[i], "double") == 0) {
        options.precision = voxtrel::Precision::Double;
      } else {
        std::fprintf(stderr, "voxtrel-run: --precision %s: give single or double\n", argv[i]);
        return 2;
      }
    } else if (std::strcmp(argv[i], "--pause") == 0) {
      options.pause = true;
    } else if (argv[i][0] == '-' && argv[i][1] != '\0') {
      return usage();
    } else if (answerFile.empty()) {
      answerFile = argv[i];
    } else {
      return usage();
    }
  }
  if (answerFile.empty()) return usage();
  if (scanOrder > 0) return orderScan(answerFile, scanOrder, csvPath, options.precision);

  const voxtrel::RunResult res = voxtrel::run(answerFile, options);
  const std::string log = options.logPath.string();
  switch (res.outcome) {
    case voxtrel::Outcome::InputFileError:
      std::fprintf(stderr, "voxtrel-run: status -7: cannot open the answer file %s (see %s)\n",
                   answerFile.c_str(), log.c_str());
      return 1;
    case voxtrel::Outcome::DataFileError:
      std::fprintf(stderr,
                   "voxtrel-run: status -8: cannot open the data file named in %s (see %s)\n",
                   answerFile.c_str(), log.c_str());
      return 1;
    case voxtrel::Outcome::Stopped:
      std::fprintf(stderr, "voxtrel-run: status -9: run stopped:%s%s (see %s)\n",
                   res.stopText.empty() || res.stopText[0] == ' ' ? "" : " ", res.stopText.c_str(),
                   log.c_str());
      return 1;
    case voxtrel::Outcome::NoPlot:
      std::fprintf(stderr, "voxtrel-run: the estimator failed, no spectrum (see the end of %s)\n",
                   log.c_str());
      std::printf("status: no plot\nzero fill: %g\nnoise variance: %g\n", res.zeroFill, res.sig2);
      return 1;
    case voxtrel::Outcome::Spectrum:
      break;
  }

  std::printf("status: spectrum\n");
  std::printf("points used: %d\n", res.status);
  std::printf("frequency points: %d\n", res.nFreqPts);
  std::printf("zero fill: %g\n", res.zeroFill);
  std::printf("noise variance: %g\n", res.sig2);
  std::printf("peak frequencies:");
  const auto& y = res.spectrum;
  const int n = res.nFreqPts;
  if (n >= 2 && y[0] > y[1]) std::printf(" %g", res.x[0]);
  for (int i = 1; i + 1 < n; ++i) {
    if (y[i - 1] < y[i] && y[i] > y[i + 1]) std::printf(" %g", res.x[static_cast<std::size_t>(i)]);
  }
  std::printf("\n");

  if (!csvPath.empty()) {
    voxtrel::csv::RunInfo info;
    info.method = res.method;
    info.answerFile = answerFile;
    info.dataFile = res.dataFile;
    info.nPoints = res.nPoints;
    info.nPoles = res.nPoles;
    info.nZeros = res.nZeros;
    info.date = res.date;
    info.doublePrecision = options.precision == voxtrel::Precision::Double;
    const std::span<const float> x(res.x.data(), static_cast<std::size_t>(n));
    const std::span<const float> db(y.data(), static_cast<std::size_t>(n));
    // The spectrum first: a file that cannot take it gets no peaks file beside it either.
    if (!writeText(csvPath, voxtrel::csv::table(info, x, db))) return 1;
    if (!writeText(voxtrel::csv::peaksPath(csvPath), voxtrel::csv::peakTable(info, x, db)))
      return 1;
  }
  return 0;
}
