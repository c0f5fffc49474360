// The estimators written for both precisions: the periodogram, Blackman-Tukey, Yule-Walker,
// Burg, Lockheed, Durbin, modified Yule-Walker and its least-squares form, Akaike's maximum
// likelihood, recursive maximum likelihood, the covariance and modified covariance
// least-squares fits, Mayne-Firoozan and minimum variance — every method.
#include "precision.h"

#include "fortran_format.h"
#include "spec_in.h"

namespace voxtrel {

bool runsInDouble(int method) {
  return method == kPeriodogram || method == kBlackTukey || method == kAutoCorrelation ||
         method == kBurg || method == kLockheed || method == kDurbin || method == kMywe ||
         method == kLsmywe || method == kAkaike || method == kRmle || method == kCovariance ||
         method == kModifiedCovariance || method == kMayneFir || method == kMvse;
}

std::string doublePrecisionRefusal(int method) {
  return "Double precision is not yet available for the " +
         std::string(fmt::trimRight(methodName(method))) +
         " method; run it with precision single (voxtrel-run --precision single).";
}

}  // namespace voxtrel
