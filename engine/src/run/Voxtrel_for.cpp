// The exported C entries: argument marshalling around voxtrel::run. They never throw and never
// write more than the caller's capacity into the two arrays.
#include <algorithm>
#include <atomic>
#include <functional>
#include <string>

#include "voxtrel.h"
#include "voxtrel/run.h"

namespace {

int runEntry(const char* fileNam, float* x_array, float* spectrum, int* nptsZ, int* npointsZ,
             float* t_startZ, float* t_finalZ, float* zeroFillZ, float* sig2Z, int length,
             std::function<bool()> stopRequested, int precision = 0) {
  if (!nptsZ || !npointsZ || !t_startZ || !t_finalZ || !zeroFillZ || !sig2Z) return 0;
  try {
    voxtrel::RunOptions options;
    if (!fileNam || length < 0) {
      const std::string reason =
          !fileNam
              ? " No answer-file name was given (a null pointer); pass the path and its length."
              : " The answer-file name was given with the length " + std::to_string(length) +
                    "; pass the path and its length (0 or more).";
      *nptsZ = voxtrel::refuseCall(reason, options).status;
      return 0;
    }
    // The name is not NUL-terminated: it ends at its length, or at a NUL within it. The NUL is
    // looked for first, so nothing beyond either end is ever read.
    std::size_t n = 0;
    const auto limit = static_cast<std::size_t>(length);
    while (n < limit && fileNam[n] != '\0') ++n;
    const std::string name(fileNam, n);

    if (precision != 0 && precision != 1) {
      *nptsZ = voxtrel::refuseCall(" The precision was given as " + std::to_string(precision) +
                                       "; pass 0 for single or 1 for double precision.",
                                   options)
                   .status;
      return 0;
    }
    options.precision = precision == 1 ? voxtrel::Precision::Double : voxtrel::Precision::Single;
    options.pause = true;
    options.stopRequested = std::move(stopRequested);
    options.capacity = (x_array && spectrum) ? std::max(*npointsZ, 0) : 0;
    const voxtrel::RunResult res = voxtrel::run(name, options);

    switch (res.outcome) {
      case voxtrel::Outcome::Spectrum:
        std::copy(res.x.begin(), res.x.end(), x_array);
        std::copy(res.spectrum.begin(), res.spectrum.end(), spectrum);
        *nptsZ = res.status;
        *npointsZ = res.nFreqPts;
        *t_startZ = res.tStart;
        *t_finalZ = res.tFinal;
        *zeroFillZ = res.zeroFill;
        *sig2Z = res.sig2;
        break;
      case voxtrel::Outcome::NoPlot:
        *t_finalZ = res.tFinal;
        *zeroFillZ = res.zeroFill;
        *sig2Z = res.sig2;
        break;
      default:
        *nptsZ = res.status;
        break;
    }
  } catch (...) {
    *nptsZ = voxtrel::kStatusStopped;
  }
  return 0;
}

}  // namespace

extern "C" VOXTREL_API int Voxtrel_for(const char* fileNam, float* x_array, float* spectrum,
                                       int* nptsZ, int* npointsZ, float* t_startZ, float* t_finalZ,
                                       float* zeroFillZ, float* sig2Z, int length) {
  return runEntry(fileNam, x_array, spectrum, nptsZ, npointsZ, t_startZ, t_finalZ, zeroFillZ, sig2Z,
                  length, {});
}

extern "C" VOXTREL_API int Voxtrel_for_stoppable(const char* fileNam, float* x_array,
                                                 float* spectrum, int* nptsZ, int* npointsZ,
                                                 float* t_startZ, float* t_finalZ, float* zeroFillZ,
                                                 float* sig2Z, int length, int* stopFlag,
                                                 int precision) {
  std::function<bool()> stopRequested;
  // The caller sets the flag from another thread; both sides reach it atomically.
  if (stopFlag)
    stopRequested = [stopFlag] {
      return std::atomic_ref<int>(*stopFlag).load(std::memory_order_relaxed) != 0;
    };
  return runEntry(fileNam, x_array, spectrum, nptsZ, npointsZ, t_startZ, t_finalZ, zeroFillZ, sig2Z,
                  length, std::move(stopRequested), precision);
}
