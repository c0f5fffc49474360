// The ranges of the run's parameters, each with its name: one source for the answer file's
// reader, which stops a run outside them with its range block in the run log, and for the
// array entry, which reports the parameter by name and range.
#pragma once

#include <string>
#include <string_view>

namespace voxtrel {

struct ParamRange {
  const char* name;  // as the array entry's messages call it
  long long low, high;

  bool holds(long long v) const { return v >= low && v <= high; }
  // "name = v is out of range: low <= name <= high", then why, when given (what bounds it).
  std::string outOfRange(long long v, std::string_view why = {}) const;
};

// Transform size: 1 <= nPoints <= 16777216 (its power of two can be formed and allocated).
ParamRange nPointsRange();
// AR order: 0 <= nPoles <= 210, and within the AR work tables for this transform size.
ParamRange nPolesRange(int maxOrder);
// MA order: 0 <= nZeros <= 200.
ParamRange nZerosRange();
// Equations of the least-squares modified Yule-Walker method (and Akaike's start):
// nPoles + nZeros <= M_Eqs <= the samples used.
ParamRange mEqsRange(long long nPoles, long long nZeros, int npts);
// Durbin's large AR order: nZeros <= L <= the largest order (min(nPoints, 411)).
ParamRange durbinLRange(int nZeros, int maxOrder);
// Blackman-Tukey's largest lag: at least one lag (the weights divide by M), 2M + 2 <= npts.
ParamRange mLagRange(int npts);
// Minimum-variance frequency points: 2 <= L <= nPoints (the spectrum fills the result).
ParamRange mvseLRange(int nPoints);

}  // namespace voxtrel
