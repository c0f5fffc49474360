// Main of the plot benchmarks: the plot code draws text, and text needs a Qt application with a
// platform, so the application is made before any benchmark runs. Without a display the
// offscreen platform draws into memory as the program's tests do; a platform chosen in the
// environment is kept.
#include <benchmark/benchmark.h>

#include <QApplication>

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);  // takes Qt's own options out of argv
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
