// One whole spectrum plot of 8,192 points drawn into the plot surface's image, as the program
// draws it after a good run: the run summary, the title block and run information, the axes
// with ticks, labels and dotted grid, the curve, and the peak list in the Output box.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "Dialogs.h"
#include "OutputBox.h"
#include "PlotSettings.h"
#include "Surface.h"
#include "mdlPlots.h"

namespace {

// A periodogram-like spectrum over 0 .. 0.5: two resonances of different height and width over
// a noise floor whose power fluctuates as a periodogram's does (exponentially distributed), in
// dB relative to the maximum, as the engine hands spectra to the plot. Hundreds of noise maxima
// give the curve a jagged line from end to end and the peak list work to do.
tessivar::RunResults spectrumRun(int n) {
  std::mt19937 gen(5);
  std::exponential_distribution<double> floor(1.0);
  tessivar::RunResults r;
  r.x_array.resize(static_cast<std::size_t>(n));
  r.spectrum.resize(static_cast<std::size_t>(n));
  std::vector<double> power(static_cast<std::size_t>(n));
  double peak = 0;
  for (int i = 0; i < n; ++i) {
    const double f = 0.5 * i / (n - 1);
    const double a = (f - 0.1) / 0.002, b = (f - 0.27) / 0.004;
    power[i] = 1 / (1 + a * a) + 0.3 / (1 + b * b) + 1e-4 * floor(gen);
    peak = std::max(peak, power[i]);
    r.x_array[i] = static_cast<float>(f);
  }
  for (int i = 0; i < n; ++i) r.spectrum[i] = static_cast<float>(10 * std::log10(power[i] / peak));
  r.npointsZ = n;
  r.nptsZ = 2 * n;
  r.t_startZ = 0;
  r.t_finalZ = static_cast<float>(2 * n - 1);
  r.zeroFillZ = 0;
  r.sig2Z = 1e-4f;
  r.RunMethod = "Periodogram";
  r.AnsName = "bench.0";
  r.RunFile = "bench.0";
  return r;
}

// The settings the program starts with when nothing is stored: the default colours, dotted
// grid lines on both axes, no overrides.
tessivar::PlotSettings startSettings() {
  tessivar::PlotSettings s;
  s.colors = tessivar::PlotSettings::defaultColors();
  return s;
}

// One iteration is the plotter's startPlot, the step between a good run and the shown plot: the
// Output box's run summary, the whole plot drawn into the image and the peak list. The surface,
// the run and the settings are made once, outside the timing.
// range(0): points; range(1), range(2): the surface's size in pixels (fonts and line widths follow
// the picture's own size).
void BM_Plot(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  const QSize size(static_cast<int>(state.range(1)), static_cast<int>(state.range(2)));
  const tessivar::RunResults run = spectrumRun(n);
  const tessivar::PlotSettings settings = startSettings();
  tessivar::Surface surface(size, 96.0);
  tessivar::StringOutputBox out;
  tessivar::ScriptedDialogs dialogs;
  tessivar::Plotter plotter(surface, out, dialogs);
  for (auto _ : state) {
    if (!plotter.startPlot(run, settings)) {
      state.SkipWithError("no plot drawn");
      break;
    }
    benchmark::DoNotOptimize(surface.image().constBits());
  }
  state.SetLabel("points=" + std::to_string(n));
}
// The picture box's first size, then a large window.
BENCHMARK(BM_Plot)
    ->ArgNames({"points", "w", "h"})
    ->Args({8192, 640, 480})
    ->Args({8192, 1600, 1000})
    ->Unit(benchmark::kMillisecond);

}  // namespace
