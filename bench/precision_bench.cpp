// Every method in both precisions, single and double side by side, at 4,096 real
// points of an AR(2) process (p = 16, nPoints 8192): the cost of asking for double precision.
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "voxtrel/estimate.h"

namespace {

std::vector<float> arData(int n) {
  // y(t) = 1.6 y(t-1) - 0.9 y(t-2) + a deterministic pseudo-random drive.
  std::vector<float> y(static_cast<std::size_t>(n));
  double y1 = 0, y2 = 0;
  unsigned s = 7;
  for (int t = 0; t < n + 200; ++t) {
    s = s * 1103515245u + 12345u;
    const double e = static_cast<double>((s >> 8) & 0xFFFF) / 65536.0 - 0.5;
    const double v = 1.6 * y1 - 0.9 * y2 + e;
    y2 = y1;
    y1 = v;
    if (t >= 200) y[static_cast<std::size_t>(t - 200)] = static_cast<float>(v);
  }
  return y;
}

// range(0): the method number; range(1): 0 single, 1 double.
void BM_Precision(benchmark::State& s) {
  const std::vector<float> y = arData(4096);
  voxtrel::EstimateParams p;
  p.method = static_cast<voxtrel::EstimateMethod>(s.range(0));
  p.nPoles = 16;
  p.nPoints = 8192;
  p.eps = 1e-30f;
  p.precision = s.range(1) ? voxtrel::Precision::Double : voxtrel::Precision::Single;
  using M = voxtrel::EstimateMethod;
  if (p.method == M::Mywe || p.method == M::Durbin || p.method == M::Lockheed ||
      p.method == M::MayneFiroozan || p.method == M::Lsmywe || p.method == M::Akaike)
    p.nZeros = 4;
  if (p.method == M::Durbin || p.method == M::MayneFiroozan) p.lPts = 64;
  if (p.method == M::MinimumVariance) p.lPts = p.nPoints;
  if (p.method == M::Lsmywe || p.method == M::Akaike) p.mEqs = 64;
  if (p.method == M::Akaike) {  // p = 16 leaves single precision a non-minimum-phase step
    p.nPoles = 4;
    p.nZeros = 2;
    p.nit = 10;
    p.per = 0.01f;
  }
  if (p.method == M::BlackmanTukey) {
    p.mLags = 256;
    p.mode = 1;
  }
  for (auto _ : s) {
    auto r = voxtrel::estimate(p, std::span<const float>(y));
    benchmark::DoNotOptimize(r.db.data());
    if (r.status != voxtrel::EstimateStatus::Ok) {
      s.SkipWithError(r.message.c_str());  // a failed estimate times nothing worth comparing
      break;
    }
  }
}
BENCHMARK(BM_Precision)
    ->ArgNames({"method", "double"})
    ->ArgsProduct({{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14}, {0, 1}})
    ->Unit(benchmark::kMicrosecond);

}  // namespace
