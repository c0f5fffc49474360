// Which estimators run in double precision, and the refusal of those that do not yet.
#pragma once

#include <string>

namespace voxtrel {

// The method (numbered as in the method table) can run in double precision.
bool runsInDouble(int method);

// The refusal of a double-precision run of a method that runs in single precision only: names
// the method and the option that selects single precision.
std::string doublePrecisionRefusal(int method);

}  // namespace voxtrel
