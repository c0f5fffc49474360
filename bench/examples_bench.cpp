// Every demonstration example of the user folder through the engine's C++ entry (pause off).
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "voxtrel/run.h"

namespace {

namespace fs = std::filesystem;

void runExample(benchmark::State& state, const fs::path& answer) {
  // The examples name their data files without a folder: run from the user folder.
  const fs::path cwd = fs::current_path();
  fs::current_path(answer.parent_path());
  voxtrel::RunOptions options;
  options.logPath = fs::temp_directory_path() / "voxtrel-bench-example.out";
  voxtrel::RunResult res;
  for (auto _ : state) res = voxtrel::run(answer.filename().string(), options);
  fs::current_path(cwd);
  state.SetLabel(res.outcome == voxtrel::Outcome::Spectrum ? "ok" : "no spectrum: " + res.stopText);
}

const bool registered = [] {
  const fs::path user = TESSIVAR_USER_DIR;
  std::error_code ec;
  for (const auto& e : fs::directory_iterator(user, ec)) {
    const std::string name = e.path().filename().string();
    if (name.rfind("Ex-", 0) != 0) continue;
    const fs::path answer = e.path();
    benchmark::RegisterBenchmark(("Example/" + name).c_str(), [answer](benchmark::State& s) {
      runExample(s, answer);
    })->Unit(benchmark::kMillisecond);
  }
  return true;
}();

}  // namespace
