// The exported entry, loaded by name as the program loads it, and the command-line runner.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>

#include "test_support.h"
#include "voxtrel.h"

namespace {

struct Library {
  void* handle = dlopen(VOXTREL_SHARED_LIBRARY, RTLD_NOW | RTLD_LOCAL);
  ~Library() {
    if (handle) dlclose(handle);
  }
  Voxtrel_for_t entry() const {
    return handle ? reinterpret_cast<Voxtrel_for_t>(dlsym(handle, "Voxtrel_for")) : nullptr;
  }
};

// Runs the entry from inside dir, as the program does from its user folder.
struct Call {
  std::vector<float> x, s;
  int npts = 12345, npoints = 0;
  float t0 = -1, t1 = -1, zf = -1, sig2 = -1;
};

Call call(Voxtrel_for_t f, const vtest::TempDir& dir, const std::string& answer, int capacity) {
  Call c;
  c.x.assign(static_cast<std::size_t>(capacity) + 8, -5.0f);
  c.s.assign(static_cast<std::size_t>(capacity) + 8, -5.0f);
  c.npoints = capacity;
  const auto cwd = std::filesystem::current_path();
  std::filesystem::current_path(dir.path());
  f(answer.data(), c.x.data(), c.s.data(), &c.npts, &c.npoints, &c.t0, &c.t1, &c.zf, &c.sig2,
    static_cast<int>(answer.size()));
  std::filesystem::current_path(cwd);
  return c;
}

void writeRun(const vtest::TempDir& dir, vtest::Answer a, int n) {
  std::vector<float> y(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) y[i] = static_cast<float>(std::cos(2 * M_PI * 0.25 * i));
  vtest::writeFile(dir / "data.rda", vtest::realData(y, 0.5));
  vtest::writeFile(dir / "run.1", a.text());
}

}  // namespace

TEST(Entry, ExportedEntryReturnsTheSpectrumAndWritesTheLogInTheWorkingFolder) {
  Library lib;
  ASSERT_NE(lib.entry(), nullptr) << dlerror();
  vtest::TempDir dir;
  vtest::Answer a;
  a.npoints = "32";
  writeRun(dir, a, 32);
  const auto c = call(lib.entry(), dir, "run.1", 32);
  EXPECT_EQ(c.npts, 32);
  EXPECT_EQ(c.npoints, 16);
  EXPECT_FLOAT_EQ(c.t0, 0.0f);
  EXPECT_FLOAT_EQ(c.t1, 15.5f);
  EXPECT_FLOAT_EQ(c.zf, 0.0f);            // 32 samples fill the 32-point transform
  EXPECT_FLOAT_EQ(c.x[1], 1.0f / 16.0f);  // 1 / (32 * 0.5)
  EXPECT_EQ(c.x[16], -5.0f);              // nothing written past the points
  EXPECT_TRUE(std::filesystem::exists(dir / "~Tirelle.out"));
}

TEST(Entry, FileErrorsLeaveEveryOtherOutputUntouched) {
  Library lib;
  ASSERT_NE(lib.entry(), nullptr);
  vtest::TempDir dir;
  auto c = call(lib.entry(), dir, "missing.1", 32);
  EXPECT_EQ(c.npts, -7);
  EXPECT_EQ(c.npoints, 32);
  EXPECT_EQ(c.zf, -1.0f);
  EXPECT_EQ(c.x[0], -5.0f);

  vtest::Answer a;
  a.data = "absent.rda";
  vtest::writeFile(dir / "run.1", a.text());
  c = call(lib.entry(), dir, "run.1", 32);
  EXPECT_EQ(c.npts, -8);
  EXPECT_EQ(c.npoints, 32);

  a.data = "data.rda";
  a.npoints = "zero";
  writeRun(dir, a, 32);
  c = call(lib.entry(), dir, "run.1", 32);
  EXPECT_EQ(c.npts, -9);
  EXPECT_EQ(c.t1, -1.0f);
  EXPECT_EQ(c.x[0], -5.0f);
}

TEST(Entry, NoPlotKeepsTheCallersCountsAndSetsMinus99) {
  Library lib;
  ASSERT_NE(lib.entry(), nullptr);
  vtest::TempDir dir;
  vtest::writeFile(dir / "data.rda", vtest::realData(std::vector<float>(32, 0.0f)));
  vtest::Answer a;
  a.npoints = "32";
  vtest::writeFile(dir / "run.1", a.text());
  const auto c = call(lib.entry(), dir, "run.1", 32);
  EXPECT_EQ(c.npts, 12345);
  EXPECT_EQ(c.npoints, 32);
  EXPECT_EQ(c.zf, -99.0f);
  EXPECT_EQ(c.t0, -1.0f);
  EXPECT_FLOAT_EQ(c.t1, 31.0f);
}

TEST(Entry, NeverWritesPastTheCallersCapacity) {
  Library lib;
  ASSERT_NE(lib.entry(), nullptr);
  vtest::TempDir dir;
  vtest::Answer a;
  a.npoints = "64";
  writeRun(dir, a, 64);
  const auto c = call(lib.entry(), dir, "run.1", 8);  // the spectrum has 32 points
  EXPECT_EQ(c.npts, -9);
  for (float v : c.x) EXPECT_EQ(v, -5.0f);
  for (float v : c.s) EXPECT_EQ(v, -5.0f);
}

TEST(Entry, CommandLineRunnerPrintsAndWritesCsv) {
  vtest::TempDir dir;
  vtest::Answer a;
  a.npoints = "32";
  writeRun(dir, a, 32);
  const std::string cmd = "cd '" + dir.path().string() +
                          "' && '" VOXTREL_RUN_CLI
                          "' run.1 --csv out.csv > stdout.txt 2> stderr.txt";
  EXPECT_EQ(std::system(cmd.c_str()), 0);
  const std::string out = vtest::readFile(dir / "stdout.txt");
  EXPECT_NE(out.find("status: spectrum\npoints used: 32\nfrequency points: 16\n"),
            std::string::npos);
  EXPECT_NE(out.find("peak frequencies: 0.5\n"), std::string::npos);
  const std::string csv = vtest::readFile(dir / "out.csv");
  EXPECT_EQ(csv.substr(0, 13), "frequency,dB\n");
  EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 17);

  const std::string bad = "cd '" + dir.path().string() +
                          "' && '" VOXTREL_RUN_CLI "' missing.1 > stdout.txt 2> stderr.txt";
  EXPECT_NE(std::system(bad.c_str()), 0);
  EXPECT_NE(vtest::readFile(dir / "stderr.txt").find("status -7"), std::string::npos);
}
