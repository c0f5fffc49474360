// Reporting data an estimator cannot model: a division by zero in a recursion, an order not
// below the number of samples, all-zero data. The estimator writes one line naming the cause
// to the run log and marks the run with kIflagDegenerate, which the driver turns into the
// no-plot result.
#pragma once

#include <initializer_list>

#include "estimators.h"

namespace voxtrel {

inline void reportDegenerate(Run& r, std::initializer_list<LogItem> cause) {
  r.log.blank();
  r.log.put(cause);
  r.st.iflag = kIflagDegenerate;
}

// True when a routine called before has marked the run as degenerate.
inline bool runIsDegenerate(const Run& r) {
  return r.st.iflag == kIflagDegenerate;
}

}  // namespace voxtrel
