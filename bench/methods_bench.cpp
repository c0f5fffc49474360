// Every method through the engine's C++ entry (pause off): typical orders on a 4,096-point real
// and a complex data set, and the largest parameters the reader accepts on 16,384 points (the
// largest orders, L_pts = nPoints for MVSE, M_Eqs = npts for LSMYWE and Akaike, M lag =
// npts/2 - 1); and, on an ARMA(2,2) sequence, runs that end with a spectrum: Akaike with NIT =
// 20, Mayne-Firoozan and LSMYWE at large orders. Each row reports the run's peak memory and the
// memory its arrays need.
#include <benchmark/benchmark.h>

#include <cmath>
#include <complex>
#include <random>
#include <string>
#include <vector>

#include "memory_counter.h"
#include "test_support.h"

namespace {

struct MethodCase {
  const char* name;
  bool realOnly;
  void (*set)(vtest::Answer&, bool largest);
};

// Two close sinusoids in a moving-average coloured noise: something for every method to fit.
std::vector<float> realSignal(int n) {
  std::mt19937 gen(11);
  std::normal_distribution<double> g(0.0, 0.5);
  std::vector<float> y(static_cast<std::size_t>(n));
  double e1 = 0;
  for (int i = 0; i < n; ++i) {
    const double e = g(gen);
    y[i] = static_cast<float>(std::cos(2 * M_PI * 0.20 * i) + std::cos(2 * M_PI * 0.22 * i + 1) +
                              e + 0.5 * e1);
    e1 = e;
  }
  return y;
}

// An ARMA(2,2) sequence: a resonance near 0.1 of the sampling rate, a minimum-phase MA part.
std::vector<float> armaSignal(int n) {
  std::mt19937 gen(13);
  std::normal_distribution<double> g(0.0, 1.0);
  std::vector<float> y(static_cast<std::size_t>(n));
  double y1 = 0, y2 = 0, e1 = 0, e2 = 0;
  for (int i = -200; i < n; ++i) {
    const double e = g(gen);
    const double v = 1.5 * y1 - 0.85 * y2 + e + 0.6 * e1 + 0.5 * e2;
    y2 = y1;
    y1 = v;
    e2 = e1;
    e1 = e;
    if (i >= 0) y[static_cast<std::size_t>(i)] = static_cast<float>(v);
  }
  return y;
}

std::vector<std::complex<float>> complexSignal(int n) {
  std::mt19937 gen(12);
  std::normal_distribution<float> g(0.0f, 0.3f);
  std::vector<std::complex<float>> z(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) {
    z[i] = std::polar(1.0f, static_cast<float>(2 * M_PI * 0.2 * i)) +
           std::polar(0.7f, static_cast<float>(2 * M_PI * -0.1 * i)) +
           std::complex<float>(g(gen), g(gen));
  }
  return z;
}

void orders(vtest::Answer& a, const char* p, const char* q) {
  a.npoles = p;
  a.nzeros = q;
  a.eps = "1.e-15";
}

const MethodCase kMethods[] = {
    {"Auto-Correlation", false, [](vtest::Answer& a, bool big) { a.npoles = big ? "210" : "20"; }},
    {"Burg", false, [](vtest::Answer& a, bool big) { a.npoles = big ? "210" : "20"; }},
    {"Covariance", false,
     [](vtest::Answer& a, bool big) { orders(a, big ? "210" : "20", "-999"); }},
    {"Modified Covariance", false,
     [](vtest::Answer& a, bool big) { orders(a, big ? "210" : "20", "-999"); }},
    {"MYWE", false,
     [](vtest::Answer& a, bool big) { orders(a, big ? "210" : "20", big ? "200" : "10"); }},
    {"LSMYWE", false,
     [](vtest::Answer& a, bool big) {
       orders(a, big ? "210" : "20", big ? "200" : "10");
       a.meqs = big ? "16384" : "100";
     }},
    {"Mayne-Firoozan", false,
     [](vtest::Answer& a, bool big) {
       orders(a, big ? "210" : "20", big ? "200" : "10");
       a.lpts = big ? "411" : "100";
     }},
    {"Durbin", false,
     [](vtest::Answer& a, bool big) {
       a.nzeros = big ? "200" : "10";
       a.lpts = big ? "411" : "100";
     }},
    {"Periodogram", false, [](vtest::Answer& a, bool) { a.window = "Hanning"; }},
    {"Blackman-Tukey", false,
     [](vtest::Answer& a, bool big) {
       a.mode = "1";
       a.mlag = big ? "8191" : "200";
     }},
    {"MVSE", false,
     [](vtest::Answer& a, bool big) {
       orders(a, big ? "210" : "20", "-999");
       a.mode = "0";
       a.lpts = big ? "16384" : "100";
     }},
    {"Lockheed (Autocorr/Burg)", false,
     [](vtest::Answer& a, bool big) {
       a.npoles = big ? "210" : "20";
       a.nzeros = big ? "200" : "10";
     }},
    {"Akaike", true,
     [](vtest::Answer& a, bool big) {
       orders(a, big ? "210" : "20", big ? "200" : "10");
       a.meqs = big ? "16384" : "100";
       a.nit = "20";
       a.per = "0.01";
     }},
    {"RMLE", true, [](vtest::Answer& a, bool big) { a.npoles = big ? "210" : "20"; }},
};

// Runs on the ARMA(2,2) sequence of 16,384 points that end with a spectrum.
const MethodCase kArmaRuns[] = {
    {"Akaike", true,
     [](vtest::Answer& a, bool) {
       orders(a, "3", "2");
       a.meqs = "16384";
       a.nit = "20";
       a.per = "0.01";
     }},
    {"Mayne-Firoozan", true,
     [](vtest::Answer& a, bool) {
       orders(a, "100", "100");
       a.lpts = "411";
     }},
    {"LSMYWE", true,
     [](vtest::Answer& a, bool) {
       orders(a, "210", "200");
       a.meqs = "16384";
     }},
};

void runMethod(benchmark::State& state, const MethodCase& m, bool complexData, bool largest,
               bool arma = false) {
  static vtest::TempDir dir;
  const int n = largest ? 16384 : 4096;
  vtest::Answer a;
  a.name = "bench.1";
  a.data = std::string(arma          ? "a"
                       : complexData ? "c"
                                     : "r") +
           std::to_string(n) + (complexData ? ".cda" : ".rda");
  a.method = m.name;
  a.type = complexData ? "Complex" : "Real";
  a.npoints = std::to_string(n);
  m.set(a, largest);
  const std::string data = complexData
                               ? vtest::complexData(complexSignal(n), 0.001)
                               : vtest::realData(arma ? armaSignal(n) : realSignal(n), 0.001);
  voxtrel::RunResult res;
  std::size_t peak = 0;
  for (auto _ : state) {
    state.PauseTiming();
    bench::resetPeak();
    state.ResumeTiming();
    res = vtest::run(dir, a, data);
    peak = std::max(peak, bench::peakBytes());
  }
  // What the run's arrays need: the entry's three nPoints arrays, the driver's three, the
  // answer and data text, and the shared work tables the method allocated (sized by the run's
  // largest order). The peak over that is the run's overhead: copies, filter
  // outputs, the log.
  const double arrays = static_cast<double>(n) * (4 + 8 + 4 + 4 + 4 + 4) +
                        static_cast<double>(data.size() + res.workTableBytes);
  state.counters["peak_MB"] = static_cast<double>(peak) / 1e6;
  state.counters["arrays_MB"] = arrays / 1e6;
  state.counters["peak/arrays"] = static_cast<double>(peak) / arrays;
  // "no plot": the estimator ended with a status of its own (the run log says which), e.g.
  // Mayne-Firoozan's first MA estimate outside the unit circle; its time covers the stages run.
  state.SetLabel(res.outcome == voxtrel::Outcome::Spectrum ? "ok"
                 : res.outcome == voxtrel::Outcome::NoPlot ? "no plot"
                                                           : "stopped: " + res.stopText);
}

const bool registered = [] {
  for (const MethodCase& m : kMethods) {
    for (int variant = 0; variant < 3; ++variant) {
      const bool complexData = variant == 1, largest = variant == 2;
      if (complexData && m.realOnly) continue;
      const std::string name = std::string("Method/") + m.name +
                               (largest       ? "/largest-16384"
                                : complexData ? "/complex-4096"
                                              : "/real-4096");
      benchmark::RegisterBenchmark(name.c_str(), [&m, complexData, largest](benchmark::State& s) {
        runMethod(s, m, complexData, largest);
      })->Unit(benchmark::kMillisecond);
    }
  }
  for (const MethodCase& m : kArmaRuns) {
    const std::string name = std::string("Method/") + m.name + "/arma-16384";
    benchmark::RegisterBenchmark(name.c_str(), [&m](benchmark::State& s) {
      runMethod(s, m, false, true, true);
    })->Unit(benchmark::kMillisecond);
  }
  return true;
}();

}  // namespace
