// The array entry's own time at 1,024 real points (Burg, p = 20): the reference against which
// bench/python_overhead.py measures what a call from Python adds; /log: with the run log asked
// for, which formats every point of the spectrum.
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "voxtrel/estimate.h"

namespace {

void BM_EstimateBurg1024(benchmark::State& s) {
  std::vector<float> y(1024);
  for (std::size_t i = 0; i < y.size(); ++i)
    y[i] = static_cast<float>(std::cos(0.6 * static_cast<double>(i)) +
                              0.1 * std::sin(7.3 * static_cast<double>(i * i)));
  voxtrel::EstimateParams p;
  p.method = voxtrel::EstimateMethod::Burg;
  p.nPoles = 20;
  p.wantLog = s.range(0) != 0;
  for (auto _ : s) {
    auto r = voxtrel::estimate(p, std::span<const float>(y));
    benchmark::DoNotOptimize(r.db.data());
  }
}
BENCHMARK(BM_EstimateBurg1024)->ArgName("log")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace
