#include "param_limits.h"

#include <algorithm>

#include "spectrum.h"

namespace voxtrel {

std::string ParamRange::outOfRange(long long v, std::string_view why) const {
  std::string s = std::string(name) + " = " + std::to_string(v) +
                  " is out of range: " + std::to_string(low) + " <= " + name +
                  " <= " + std::to_string(high);
  if (!why.empty()) s.append(" (").append(why).append(")");
  return s;
}

ParamRange nPointsRange() {
  return {"nPoints", 1, kMaxNPoints};
}

ParamRange nPolesRange(int maxOrder) {
  return {"nPoles", 0, std::min(kMaxPoles, maxOrder)};
}

ParamRange nZerosRange() {
  return {"nZeros", 0, kMaxZeros};
}

ParamRange mEqsRange(long long nPoles, long long nZeros, int npts) {
  return {"M_Eqs", nPoles + nZeros, npts};
}

ParamRange durbinLRange(int nZeros, int maxOrder) {
  return {"L", nZeros, maxOrder};
}

ParamRange mLagRange(int npts) {
  return {"M lag", 1, npts >= 2 ? (npts - 2) / 2 : 0};
}

ParamRange mvseLRange(int nPoints) {
  return {"L", 2, nPoints};
}

}  // namespace voxtrel
