// The engine's array entry: one estimation from samples held in memory, with no file on disk.
// The file-driven run (voxtrel::run) reads its answer and data files and then computes through
// the same sequence, so both give the same floats for the same samples and parameters.
// Calls share no state: several may run at once in different threads.
#pragma once

#include <complex>
#include <span>
#include <string>
#include <vector>

#include "voxtrel/run.h"

namespace voxtrel {

// The fourteen estimators, in the order of the answer file's method table.
enum class EstimateMethod {
  YuleWalker = 1,  // "Auto-correlation": AR model by the autocorrelation method
  Burg = 2,
  Rmle = 3,  // recursive maximum-likelihood AR (real data)
  Covariance = 4,
  ModifiedCovariance = 5,
  Mywe = 6,    // modified Yule-Walker ARMA
  Lsmywe = 7,  // least-squares modified Yule-Walker ARMA
  Akaike = 8,  // Akaike's maximum-likelihood ARMA (real data)
  MayneFiroozan = 9,
  Durbin = 10,  // MA model
  Periodogram = 11,
  BlackmanTukey = 12,
  MinimumVariance = 13,
  Lockheed = 14,
};

// The method and its parameters: the answer file's questions, with their names and limits.
struct EstimateParams {
  EstimateMethod method = EstimateMethod::Burg;
  bool negativeFrequencies = false;  // a two-sided spectrum
  // Transform size, raised to a power of two; 0 takes the smallest one that holds the samples.
  // 1 <= nPoints <= 16777216. Samples beyond nPoints are not used.
  int nPoints = 0;
  int nPoles = 0;  // AR order, 0..210 and at most nPoints (model methods)
  int nZeros = 0;  // MA order, 0..200 (MYWE, LSMYWE, Akaike, Mayne-Firoozan, Durbin, Lockheed)
  float eps = 0;   // the solvers' singularity threshold
  int mode = 0;    // Blackman-Tukey and minimum variance: the correlation estimate
  int mEqs = 0;    // LSMYWE, Akaike: nPoles+nZeros <= M_Eqs <= samples used
  int lPts = 0;    // Durbin: nZeros <= L <= min(nPoints, 411); MVSE: 2 <= L <= nPoints
  int mLags = 0;   // Blackman-Tukey: 1 <= M and 2M+2 <= samples used
  int nit = 0;     // Akaike: iterations
  float per = 0;   // Akaike: the step's fraction
  std::string window = "None";  // periodogram data window ("None" is rectangular)
  float sampleInterval = 1.0f;  // time between samples, > 0; sample i is at i * sampleInterval
  // Keep the run log's text in the result: the method's notes, the parameter echo and what the
  // estimator wrote, as the file-driven log has them after its answer file. Without it no
  // record is formatted (a failure still brings its log).
  bool wantLog = false;
  // The estimator's arithmetic (voxtrel::Precision). A method not yet written for double
  // precision answers BadParameter with a message naming the method and this option.
  Precision precision = Precision::Single;
};

enum class EstimateStatus {
  Ok,               // a spectrum was computed
  BadParameter,     // a parameter is out of range; message names it and its range
  EstimatorFailed,  // the estimator failed on these data; message and log say why
  Stopped,          // the run was stopped (out of memory, an internal limit); message says why
};

struct EstimateResult {
  EstimateStatus status = EstimateStatus::Stopped;
  std::string message;
  int samplesUsed = 0;
  std::vector<float> freq;              // the frequency axis
  std::vector<float> psd;               // the PSD, linear
  std::vector<float> db;                // dB relative to the maximum, floored at -100 dB
  std::vector<std::complex<float>> ar;  // a(1..nPoles), model methods only
  std::vector<std::complex<float>> ma;  // b(1..nZeros), model methods only
  float sig2 = 0;                       // the model's noise variance
  std::vector<Peak> peaks;              // the local maxima of db, as in the run log's table
  std::string log;  // the run log's text, CR LF line ends (wantLog, or a failure)
};

// Estimates the spectrum of real or complex samples. Never throws.
EstimateResult estimate(const EstimateParams& params, std::span<const float> samples);
EstimateResult estimate(const EstimateParams& params, std::span<const std::complex<float>> samples);
// The same from samples in double precision: a double-precision run uses them as they are (a
// large mean keeps its small variations); in single precision they are rounded to float first,
// as the classic arithmetic reads them.
EstimateResult estimate(const EstimateParams& params, std::span<const double> samples);
EstimateResult estimate(const EstimateParams& params,
                        std::span<const std::complex<double>> samples);

}  // namespace voxtrel
