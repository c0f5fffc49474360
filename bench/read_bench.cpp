// Reading a data file of 1,000,000 real samples: counting the points and loading them, as a
// run does.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "free_format.h"

namespace {

const std::string& millionSamples() {
  static const std::string text = [] {
    std::string s;
    s.reserve(30'000'000);
    char buf[64];
    for (int i = 0; i < 1'000'000; ++i) {
      const long long k = i;
      std::snprintf(buf, sizeof buf, "%.6f %.7g\r\n", static_cast<double>(k) * 0.001,
                    0.5 * static_cast<double>((k * 7919) % 2001 - 1000) / 1000.0);
      s += buf;
    }
    return s;
  }();
  return text;
}

void BM_ReadMillionRealSamples(benchmark::State& state) {
  const std::string& text = millionSamples();
  for (auto _ : state) {
    voxtrel::FreeReader in(text);
    int count = 0;
    while (in.skipFirstReal() == voxtrel::FreeReader::Status::Ok) ++count;
    in.rewind();
    float x = 0, y = 0, sum = 0;
    while (in.readPair(x, y) == voxtrel::FreeReader::Status::Ok) sum += y;
    benchmark::DoNotOptimize(sum);
    benchmark::DoNotOptimize(count);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_ReadMillionRealSamples)->Unit(benchmark::kMillisecond);

}  // namespace
