// The exported entry, loaded by name as the program loads it, and the command-line runner.
#include <gtest/gtest.h>
#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#include <sys/mman.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <atomic>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <limits>
#include <sstream>
#include <thread>
#include <utility>

#ifndef _WIN32
#include "child_process.h"
#endif
#include "log_lines.h"
#include "test_support.h"
#include "voxtrel.h"

namespace {

using vtest::linesOf;

// The library's and the runner's paths as the system takes them (under wine a Unix path gets
// its drive); made absolute before any test changes the working folder.
const std::string kLibrary = std::filesystem::absolute(VOXTREL_SHARED_LIBRARY).string();
const std::string kRunner = std::filesystem::absolute(VOXTREL_RUN_CLI).string();

// The library loaded by its path and its entry found by its plain name, as the program does
// (LoadLibrary and GetProcAddress on Windows).
struct Library {
#ifdef _WIN32
  HMODULE handle = LoadLibraryA(kLibrary.c_str());
  ~Library() {
    if (handle) FreeLibrary(handle);
  }
  Voxtrel_for_t entry() const {
    return handle ? reinterpret_cast<Voxtrel_for_t>(
                        reinterpret_cast<void*>(GetProcAddress(handle, "Voxtrel_for")))
                  : nullptr;
  }
  Voxtrel_for_stoppable_t stoppable() const {
    return handle ? reinterpret_cast<Voxtrel_for_stoppable_t>(
                        reinterpret_cast<void*>(GetProcAddress(handle, "Voxtrel_for_stoppable")))
                  : nullptr;
  }
  static std::string error() {
    return "LoadLibrary error " + std::to_string(GetLastError());
  }
#else
  void* handle = dlopen(kLibrary.c_str(), RTLD_NOW | RTLD_LOCAL);
  ~Library() {
    if (handle) dlclose(handle);
  }
  Voxtrel_for_t entry() const {
    return handle ? reinterpret_cast<Voxtrel_for_t>(dlsym(handle, "Voxtrel_for")) : nullptr;
  }
  Voxtrel_for_stoppable_t stoppable() const {
    return handle
               ? reinterpret_cast<Voxtrel_for_stoppable_t>(dlsym(handle, "Voxtrel_for_stoppable"))
               : nullptr;
  }
  static std::string error() {
    const char* e = dlerror();
    return e ? e : "";
  }
#endif
};

// The shell command that runs voxtrel-run with args in dir, its output into stdout.txt and
// stderr.txt there.
std::string runnerIn(const vtest::TempDir& dir, const std::string& args) {
#ifdef _WIN32
  return "cd /d \"" + dir.path().string() + "\" && \"" + kRunner + "\" " + args +
         " > stdout.txt 2> stderr.txt";
#else
  return "cd '" + dir.path().string() + "' && '" + kRunner + "' " + args +
         " > stdout.txt 2> stderr.txt";
#endif
}

// A text file the runner wrote, with the line ends of its platform (CR LF on Windows) read
// back as LF.
std::string textOf(const std::filesystem::path& p) {
  std::string s = vtest::readFile(p);
#ifdef _WIN32
  std::string out;
  for (std::size_t i = 0; i < s.size(); ++i)
    if (!(s[i] == '\r' && i + 1 < s.size() && s[i + 1] == '\n')) out += s[i];
  s = out;
#endif
  return s;
}

// A "frequency,dB" row read back with the standard's exact float parser.
std::pair<float, float> csvRow(const std::string& row) {
  std::pair<float, float> v{std::nanf(""), std::nanf("")};
  const std::size_t comma = row.find(',');
  if (comma == std::string::npos) return v;
  const auto first = std::from_chars(row.data(), row.data() + comma, v.first);
  const auto second = std::from_chars(row.data() + comma + 1, row.data() + row.size(), v.second);
  if (first.ptr != row.data() + comma || second.ptr != row.data() + row.size())
    return {std::nanf(""), std::nanf("")};
  return v;
}

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
  ASSERT_NE(lib.entry(), nullptr) << Library::error();
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

// The entry with a stop request pauses after the peak table as the plain one does; a request
// made during the pause cuts it short and ends the run as a stop, said last in the run log.
TEST(Entry, StopRequestCutsThePauseShort) {
  Library lib;
  ASSERT_NE(lib.stoppable(), nullptr) << Library::error();
  vtest::TempDir dir;
  vtest::Answer a;
  a.npoints = "32";
  writeRun(dir, a, 32);
  const std::string name = "run.1";
  std::vector<float> x(32), s(32);
  int npts = 0, npoints = 32;
  float t0 = 0, t1 = 0, zf = 0, sig2 = 0;
  alignas(std::atomic_ref<int>::required_alignment) int flag = 0;
  const auto cwd = std::filesystem::current_path();
  std::filesystem::current_path(dir.path());
  const auto start = std::chrono::steady_clock::now();
  std::thread stopper([&flag] {
    std::this_thread::sleep_for(std::chrono::milliseconds(300));  // the table is long written
    std::atomic_ref<int>(flag).store(1);
  });
  lib.stoppable()(name.data(), x.data(), s.data(), &npts, &npoints, &t0, &t1, &zf, &sig2,
                  static_cast<int>(name.size()), &flag, 0);
  const auto took = std::chrono::steady_clock::now() - start;
  stopper.join();
  std::filesystem::current_path(cwd);
  EXPECT_EQ(npts, -9);
  EXPECT_EQ(npoints, 32);  // untouched, as after every stop
  const auto lines = vtest::readLines(dir / "~Tirelle.out");
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.back(), "Stopped by the user.");
  EXPECT_TRUE(std::find(lines.begin(), lines.end(),
                        "      PSD waveform contained following peaks") != lines.end());
  EXPECT_LT(took, std::chrono::milliseconds(1500));  // well short of the two-second pause
}

// The second entry's last argument chooses the arithmetic: 0 is Voxtrel_for's, 1 double precision
// (said once in the run log), anything else is refused with the reason in the log.
TEST(Entry, StoppableEntryChoosesTheArithmetic) {
  Library lib;
  ASSERT_NE(lib.stoppable(), nullptr) << Library::error();
  const Call plain = [&] {
    vtest::TempDir dir;
    vtest::Answer a;
    a.npoints = "32";
    writeRun(dir, a, 32);
    return call(lib.entry(), dir, "run.1", 32);
  }();
  const struct {
    int precision, npts;
    bool saysDouble;
    const char* reason;
  } cases[] = {{0, 32, false, nullptr},
               {1, 32, true, nullptr},
               {7, -7, false,
                " The precision was given as 7; pass 0 for single or 1 for double "
                "precision."}};
  for (const auto& c : cases) {
    vtest::TempDir dir;
    vtest::Answer a;
    a.npoints = "32";
    writeRun(dir, a, 32);
    const std::string name = "run.1";
    std::vector<float> x(32, -5.0f), s(32, -5.0f);
    int npts = 0, npoints = 32;
    float t0 = 0, t1 = 0, zf = 0, sig2 = 0;
    const auto cwd = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    lib.stoppable()(name.data(), x.data(), s.data(), &npts, &npoints, &t0, &t1, &zf, &sig2,
                    static_cast<int>(name.size()), nullptr, c.precision);
    std::filesystem::current_path(cwd);
    EXPECT_EQ(npts, c.npts) << c.precision;
    const auto lines = vtest::readLines(dir / "~Tirelle.out");
    const auto count = std::count(lines.begin(), lines.end(), " Arithmetic: double precision");
    EXPECT_EQ(count, c.saysDouble ? 1 : 0) << c.precision;
    if (c.reason) {
      EXPECT_NE(std::find(lines.begin(), lines.end(), c.reason), lines.end());
      EXPECT_EQ(x[0], -5.0f);
      continue;
    }
    // A clean tone: single precision gives Voxtrel_for's floats, double the same spectrum
    // over its top 40 dB (below that the leakage floor is rounding noise in either).
    EXPECT_EQ(npoints, plain.npoints);
    for (int i = 0; i < npoints; ++i) {
      EXPECT_EQ(x[i], plain.x[i]);
      if (c.precision == 0) {
        EXPECT_EQ(s[i], plain.s[i]) << i;
      } else if (plain.s[i] > -40.0f) {
        EXPECT_NEAR(s[i], plain.s[i], 0.01f) << i;
      }
    }
  }
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
  EXPECT_EQ(std::system(runnerIn(dir, "run.1 --csv out.csv").c_str()), 0);
  const std::string out = textOf(dir / "stdout.txt");
  EXPECT_NE(out.find("status: spectrum\npoints used: 32\nfrequency points: 16\n"),
            std::string::npos);
  EXPECT_NE(out.find("peak frequencies: 0.5\n"), std::string::npos);
  // The CSV: comment lines naming the run, the header row, then the 16 points, each number
  // reading back as exactly the float an in-process run of the same files gives.
  const std::vector<std::string> lines = linesOf(textOf(dir / "out.csv"));
  ASSERT_EQ(lines.size(), 6u + 1u + 16u);
  EXPECT_EQ(lines[0], "# method: PERIODOGRAM");
  EXPECT_EQ(lines[1], "# answer file: run.1");
  EXPECT_EQ(lines[2], "# data file: data.rda");
  EXPECT_EQ(lines[3], "# nPoints: 32");
  EXPECT_EQ(lines[4], "# orders: none");
  EXPECT_EQ(lines[5].substr(0, 8), "# date: ");
  EXPECT_EQ(lines[5].size(), 8u + 19u) << lines[5];  // YYYY-MM-DD HH:MM:SS
  EXPECT_EQ(lines[6], "frequency,dB");
  vtest::TempDir same;
  std::vector<float> samples(32);
  for (int i = 0; i < 32; ++i) samples[i] = static_cast<float>(std::cos(2 * M_PI * 0.25 * i));
  const voxtrel::RunResult ref = vtest::run(same, a, vtest::realData(samples, 0.5));
  ASSERT_EQ(ref.nFreqPts, 16);
  for (std::size_t i = 0; i < 16; ++i) {
    const auto [f, db] = csvRow(lines[7 + i]);
    EXPECT_EQ(f, ref.x[i]) << lines[7 + i];
    EXPECT_EQ(db, ref.spectrum[i]) << lines[7 + i];
  }
  // The peaks beside it: the same comment lines, the one peak at 0.5 Hz, 0 dB.
  const std::vector<std::string> peaks = linesOf(textOf(dir / "out_peaks.csv"));
  ASSERT_EQ(peaks.size(), 8u);
  EXPECT_TRUE(std::equal(peaks.begin(), peaks.begin() + 7, lines.begin()));
  EXPECT_EQ(peaks[7], "0.5,0");

#ifndef _WIN32
  // A CSV file that cannot be written completely (a full device) is an error, not a success.
  EXPECT_NE(std::system(runnerIn(dir, "run.1 --csv /dev/full").c_str()), 0);
  EXPECT_EQ(vtest::readFile(dir / "stderr.txt"),
            "voxtrel-run: /dev/full could not be written completely: No space left on device\n");
#endif

  EXPECT_NE(std::system(runnerIn(dir, "missing.1").c_str()), 0);
  EXPECT_NE(vtest::readFile(dir / "stderr.txt").find("status -7"), std::string::npos);
}

#ifndef _WIN32
// The name is read up to its NUL or its length, whichever comes first, and never beyond: here
// the page after the name's buffer cannot be read at all. (A POSIX test: a guard page and a
// child process that may crash.)
TEST(Entry, NameIsReadOnlyUpToItsNulOrItsLength) {
  Library lib;
  ASSERT_NE(lib.entry(), nullptr);
  vtest::TempDir dir;
  vtest::Answer a;
  a.data = "absent.rda";  // status -8 (no pause): the answer file named was found and read
  vtest::writeFile(dir / "run.1", a.text());
  const std::size_t page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
  struct Case {
    std::string bytes;  // placed so that its last byte is the last readable one
    int length;
  } cases[] = {
      {std::string("run.1", 6), std::numeric_limits<int>::max()},  // NUL-terminated, huge length
      {"run.1", 5},                                                // exact length, no NUL
      {std::string("run.1\0xyz", 9), 9},                           // a NUL within the length
  };
  for (const auto& c : cases) {
    const auto child = vtest::inChild([&] {
      void* mem =
          mmap(nullptr, 2 * page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
      if (mem == MAP_FAILED || mprotect(static_cast<char*>(mem) + page, page, PROT_NONE) != 0)
        return std::string("no guard page");
      char* name = static_cast<char*>(mem) + page - c.bytes.size();
      std::memcpy(name, c.bytes.data(), c.bytes.size());
      std::vector<float> x(40), s(40);
      int npts = 0, npoints = 32;
      float t0 = 0, t1 = 0, zf = 0, sig2 = 0;
      std::filesystem::current_path(dir.path());
      lib.entry()(name, x.data(), s.data(), &npts, &npoints, &t0, &t1, &zf, &sig2, c.length);
      return std::to_string(npts);
    });
    EXPECT_TRUE(child.finished) << c.length;
    EXPECT_EQ(child.output, "-8") << c.length;
  }
}
#endif

// A call without a name, or with a negative length, is status -7 with the reason in a new run
// log: the log of an earlier run is never left to pass for this call's.
TEST(Entry, NoNameOrANegativeLengthIsExplainedInTheLog) {
  Library lib;
  ASSERT_NE(lib.entry(), nullptr);
  vtest::TempDir dir;
  struct Case {
    const char* name;
    int length;
    std::string reason;
  } cases[] = {
      {nullptr, 5,
       " No answer-file name was given (a null pointer); pass the path and its length."},
      {"run.1", -3,
       " The answer-file name was given with the length -3; pass the path and its length (0 or "
       "more)."},
  };
  for (const auto& c : cases) {
    vtest::writeFile(dir / "~Tirelle.out", "the log of an earlier run\r\n");
    std::vector<float> x(8, -5.0f), s(8, -5.0f);
    int npts = 12345, npoints = 8;
    float t0 = -1, t1 = -1, zf = -1, sig2 = -1;
    const auto cwd = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    lib.entry()(c.name, x.data(), s.data(), &npts, &npoints, &t0, &t1, &zf, &sig2, c.length);
    std::filesystem::current_path(cwd);
    EXPECT_EQ(npts, -7) << c.reason;
    EXPECT_EQ(npoints, 8);
    EXPECT_EQ(zf, -1.0f);
    const auto lines = vtest::readLines(dir / "~Tirelle.out");
    ASSERT_EQ(lines.size(), 11u) << c.reason;
    EXPECT_EQ(lines[1], " Starting Spectral Estimation calculations and Plot");
    EXPECT_EQ(lines[4], " filenam = <===");
    EXPECT_EQ(lines[6], " ERROR while opening Input file: ");
    EXPECT_EQ(lines[7], c.reason);
    EXPECT_EQ(lines[8], " **************  End of run *******************");
  }
}
