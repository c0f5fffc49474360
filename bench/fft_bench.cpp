// The engine's complex single-precision FFT at 2^10 .. 2^20 points, and FFTW (single precision)
// on the same sizes when it is installed, with a measured plan (FFTW_MEASURE: the fastest of
// the algorithms it tries on this machine) and with an estimate plan (FFTW_ESTIMATE: chosen
// without timing, as a program that plans once per transform would).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>
#include <vector>

#include "estimators.h"

#ifdef HAVE_FFTW3F
#include <fftw3.h>
#endif

namespace {

std::vector<voxtrel::cplx> signal(std::size_t n) {
  std::mt19937 gen(7);
  std::normal_distribution<float> g;
  std::vector<voxtrel::cplx> x(n);
  for (auto& v : x) v = {g(gen), g(gen)};
  return x;
}

void BM_Fft(benchmark::State& state) {
  const int nexp = static_cast<int>(state.range(0));
  const int n = 1 << nexp;
  voxtrel::RunLog log;
  voxtrel::Run r(log);
  const auto input = signal(static_cast<std::size_t>(n));
  auto x = input;
  for (auto _ : state) {
    state.PauseTiming();
    x = input;
    state.ResumeTiming();
    voxtrel::fft(r, x.data(), nexp, 1, n);
    benchmark::DoNotOptimize(x.data());
  }
  state.SetLabel("N=" + std::to_string(n));
}
BENCHMARK(BM_Fft)->Arg(10)->Arg(13)->Arg(16)->Arg(20)->Unit(benchmark::kMicrosecond);

#ifdef HAVE_FFTW3F
void BM_Fftw(benchmark::State& state) {
  const int n = 1 << state.range(0);
  const bool measure = state.range(1) == 1;
  std::vector<voxtrel::cplx> input(static_cast<std::size_t>(n)), out(input.size());
  // A measured plan overwrites its arrays while it times: the data go in after planning.
  fftwf_plan plan = fftwf_plan_dft_1d(n, reinterpret_cast<fftwf_complex*>(input.data()),
                                      reinterpret_cast<fftwf_complex*>(out.data()), FFTW_FORWARD,
                                      measure ? FFTW_MEASURE : FFTW_ESTIMATE);
  const auto data = signal(static_cast<std::size_t>(n));
  std::copy(data.begin(), data.end(), input.begin());  // into the planned array itself
  for (auto _ : state) {
    fftwf_execute(plan);
    benchmark::DoNotOptimize(out.data());
  }
  fftwf_destroy_plan(plan);
  state.SetLabel("N=" + std::to_string(n) + (measure ? " measure" : " estimate"));
}
BENCHMARK(BM_Fftw)
    ->ArgsProduct({{10, 13, 16, 20}, {1, 0}})
    ->ArgNames({"", "measure"})
    ->Unit(benchmark::kMicrosecond);
#endif

}  // namespace
