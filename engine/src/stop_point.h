// The places where a long run gives way to its caller's stop request (RunOptions::
// stopRequested): the top of an estimator's outer loop, a block of data records, the pause
// after the peak table. A stop ends the run like any fatal stop, its text the log's last line.
#pragma once

#include <string>

#include "fatal.h"
#include "spectrum.h"
#include "voxtrel/run.h"

namespace voxtrel {

inline void stopPoint(const Run& r) {
  if (r.stopRequested && r.stopRequested()) fatalStop(std::string(kStoppedByUserText));
}

// The same inside a loop over many cheap steps: asked every 4096th step only.
inline void stopPointEvery(const Run& r, long long step) {
  if ((step & 4095) == 0) stopPoint(r);
}

}  // namespace voxtrel
