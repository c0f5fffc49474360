// Stand-in for an estimator that this build does not have yet: the run stops with a log line
// that names the method.
#pragma once

#include <string>

#include "fatal.h"
#include "spectrum.h"

namespace voxtrel {

[[noreturn]] inline void notBuilt(Run& r, const char* method) {
  r.log.blank();
  r.log.put({" The ", method, " estimator is not available in this build of the engine."});
  fatalStop(std::string(" Estimator not available: ") + method);
}

}  // namespace voxtrel
