// The run log's peak table: the local maxima of the dB spectrum, each with its neighbours.
#include <algorithm>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "fortran_format.h"
#include "spec_est.h"
#include "spec_in.h"
#include "stop_point.h"

namespace voxtrel {

namespace {

// The two seconds the table stays in view before the run goes on. A run that can be stopped
// waits in short slices, so that a stop request cuts the pause short.
void pauseAfterTable(const Run& r) {
  constexpr auto kPause = std::chrono::seconds(2);
  if (!r.stopRequested) {
    std::this_thread::sleep_for(kPause);
    return;
  }
  constexpr auto kSlice = std::chrono::milliseconds(10);
  const auto end = std::chrono::steady_clock::now() + kPause;
  for (auto now = std::chrono::steady_clock::now(); now < end;
       now = std::chrono::steady_clock::now()) {
    stopPoint(r);
    std::this_thread::sleep_for(std::min<std::chrono::steady_clock::duration>(kSlice, end - now));
  }
}

}  // namespace

std::vector<int> find_peaks(const float* y, int nfreq) {
  std::vector<int> peak;
  // Fewer than two points have no neighbours to compare with: no peak.
  if (nfreq < 2) return peak;
  constexpr std::size_t kMaxPeaks = 100;
  if (y[0] > y[1]) peak.push_back(1);
  for (int i = 2; i <= nfreq - 1 && peak.size() < kMaxPeaks; ++i) {
    if (y[i - 2] < y[i - 1] && y[i - 1] > y[i]) peak.push_back(i);
  }
  return peak;
}

namespace {

void writePeakTable(RunLog& log, const std::vector<int>& peak, const float* x, const float* y,
                    int nfreq) {
  const std::string dashes(52, '-');
  log.blank();
  log.blank();
  log.blank();
  log.raw(dashes);
  log.raw("      PSD waveform contained following peaks");
  log.raw(dashes);
  // Each line built in one buffer, its fields appended in place.
  const std::string lead = fmt::padRight(" Ck. 4 Peak ... at Freq =", 29);
  std::string line;
  auto neighbour = [&](int j) {
    line = lead;
    fmt::appendE(line, x[j - 1], 12, 5);
    line += " Ampl. =";
    fmt::appendE(line, y[j - 1], 15, 5);
    log.raw(line);
    log.blank();
  };
  int n = 0;
  for (int j : peak) {
    ++n;
    line = " Peak #";
    fmt::appendI(line, n, 2);
    line += "  at Freq =";
    fmt::appendE(line, x[j - 1], 12, 5);
    line += "  Ampl. =";
    fmt::appendE(line, y[j - 1], 15, 5);
    log.raw(line);
    if (j > 1) neighbour(j - 1);
    neighbour(j);
    if (j < nfreq) neighbour(j + 1);
  }
}

}  // namespace

void tab_peaks(Run& r, int k, const float* x, const float* y, int nfreq) {
  const std::vector<int> peak = find_peaks(y, nfreq);
  if (peak.empty()) return;
  // A log that keeps nothing is spared the formatting of the table.
  if (r.log.keeps()) writePeakTable(r.log, peak, x, y, nfreq);
  if (k == kStatusOk && r.pause) pauseAfterTable(r);
}

}  // namespace voxtrel
