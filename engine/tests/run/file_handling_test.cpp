// The engine's files as a hostile or unlucky caller meets them: huge and endless input files,
// descriptors on every path out of a run.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "child_process.h"
#include "test_support.h"

using voxtrel::Outcome;
using vtest::Answer;

namespace {

namespace fs = std::filesystem;

constexpr unsigned long long kGiB = 1ull << 30;

std::vector<float> cosine(int n) {
  std::vector<float> y(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i)
    y[static_cast<std::size_t>(i)] = static_cast<float>(std::cos(0.7 * i));
  return y;
}

// Writes text and then a hole of hole bytes (read back as NUL bytes, taking no disk space).
void writeWithHole(const fs::path& p, const std::string& text, unsigned long long hole) {
  vtest::writeFile(p, text);
  const int fd = ::open(p.c_str(), O_WRONLY);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(::ftruncate(fd, static_cast<off_t>(text.size() + hole)), 0);
  ::close(fd);
}

int openDescriptors() {
  int n = 0;
  for (auto it = fs::directory_iterator("/proc/self/fd"); it != fs::directory_iterator(); ++it) ++n;
  return n;
}

// A run in a child process whose address space is limited (where the build allows it) to
// what it holds plus headroom: the outcome, the stop text and the descriptors it left open.
std::string runLimited(const fs::path& answer, const fs::path& log, unsigned long long headroom) {
  const auto child = vtest::inChild([&] {
    if (!vtest::kAddressSanitizer && !vtest::limitAddressSpace(headroom)) return std::string("?");
    const int before = openDescriptors();
    voxtrel::RunOptions options;
    options.logPath = log;
    const auto res = voxtrel::run(answer.string(), options);
    std::ostringstream out;
    out << static_cast<int>(res.outcome) << " " << res.status << " " << openDescriptors() - before
        << "|" << res.stopText;
    return out.str();
  });
  return child.finished ? child.output : "the run did not end";
}

std::string expected(Outcome outcome, int status, const std::string& stopText = "") {
  return std::to_string(static_cast<int>(outcome)) + " " + std::to_string(status) + " 0|" +
         stopText;
}

}  // namespace

// The answer file is read only as far as its 21 lines and the data file only as far as the
// points the run can use: what follows is never read, however large, and a file that never
// ends (or has no line end) ends the reading. Under a limit of 256 MiB more address space.
TEST(FileHandling, ReadingStopsWhereTheRunHasWhatItUses) {
  vtest::TempDir dir;
  const fs::path data = dir / "data.rda";
  Answer a;
  a.data = data.string();
  a.npoints = "128";
  struct Case {
    const char* what;
    std::function<void()> make;  // writes run.1 and what it names
    std::string result;
  } cases[] = {
      {"answer file followed by 1 GiB",
       [&] {
         vtest::writeFile(data, vtest::realData(cosine(128)));
         writeWithHole(dir / "run.1", a.text(), kGiB);
       },
       expected(Outcome::Spectrum, 128)},
      {"data file of 128 points followed by 1 GiB",
       [&] {
         writeWithHole(data, vtest::realData(cosine(128)), kGiB);
         vtest::writeFile(dir / "run.1", a.text());
       },
       expected(Outcome::Spectrum, 128)},
      {"data file of 100 points followed by 1 GiB without a line end",
       [&] {
         writeWithHole(data, vtest::realData(cosine(100)), kGiB);
         vtest::writeFile(dir / "run.1", a.text());
       },
       expected(Outcome::Spectrum, 100)},
      {"data file that never ends",
       [&] {
         Answer p = a;
         p.data = "/proc/self/pagemap";
         vtest::writeFile(dir / "run.1", p.text());
       },
       expected(Outcome::Stopped, -9, " Too few data points: at least 2 are needed")},
      {"answer file of 1 GiB without a line end", [&] { writeWithHole(dir / "run.1", "", kGiB); },
       expected(Outcome::Stopped, -9, " Error reading line 1 of the run-definition file")},
  };
  for (const auto& c : cases) {
    c.make();
    EXPECT_EQ(runLimited(dir / "run.1", dir / "~Tirelle.out", 256ull << 20), c.result) << c.what;
  }
}

// Every way out of a run, an allocation failure included, leaves no descriptor open.
TEST(FileHandling, NoDescriptorIsLeftOpenOnAnyPath) {
  vtest::TempDir dir;
  const fs::path data = dir / "data.rda";
  struct Case {
    const char* what;
    Answer answer;
    std::string dataText;
    unsigned long long hole;  // bytes of NUL after the data text
    bool needsLimit;          // runs out of memory only under the address-space limit
    std::string result;
  };
  Answer plain;
  plain.data = data.string();
  Answer readError = plain;
  readError.eps = "small";
  Answer range = plain;
  range.method = "LSMYWE";
  range.npoles = "4";
  range.nzeros = "2";
  range.meqs = "5";
  Answer missingData = plain;
  missingData.data = (dir / "absent.rda").string();
  Answer huge = plain;
  huge.npoints = "16777216";
  const std::string points = vtest::realData(cosine(64));
  const std::vector<Case> cases{
      {"spectrum", plain, points, 0, false, expected(Outcome::Spectrum, 64)},
      {"no plot", plain, vtest::realData(std::vector<float>(64, 0.0f)), 0, false,
       expected(Outcome::NoPlot, -9)},
      {"data file missing", missingData, points, 0, false, expected(Outcome::DataFileError, -8)},
      {"read error after the data file was opened", readError, points, 0, false,
       expected(Outcome::Stopped, -9, " Error reading line 12 of the run-definition file")},
      {"range stop", range, points, 0, false,
       expected(Outcome::Stopped, -9, " M_Eqs parameter out of range")},
      {"too few points", plain, "0 1\r\n", 0, false,
       expected(Outcome::Stopped, -9, " Too few data points: at least 2 are needed")},
      {"no memory for the run's arrays", huge, points, 0, true,
       expected(Outcome::Stopped, -9, "Allocate Main in error")},
      {"data file too large to hold in memory", plain, "", kGiB / 2, true,
       expected(Outcome::Stopped, -9, " Too few data points: at least 2 are needed")},
  };
  for (const auto& c : cases) {
    if (c.needsLimit && vtest::kAddressSanitizer) continue;
    writeWithHole(data, c.dataText, c.hole);
    vtest::writeFile(dir / "run.1", c.answer.text());
    EXPECT_EQ(runLimited(dir / "run.1", dir / "~Tirelle.out", 64ull << 20), c.result) << c.what;
  }
  EXPECT_EQ(runLimited(dir / "missing.1", dir / "~Tirelle.out", 64ull << 20),
            expected(Outcome::InputFileError, -7));
}

// A run log that cannot be written completely (here a file size limit, with the signal it
// raises ignored, as a full disk behaves) is no success: the run stops with the reason, the
// reason stands as the log's last record wherever the file still takes it, and every record
// before it is a whole record of the full log.
TEST(FileHandling, RunLogThatCannotBeWrittenCompletelyStopsTheRun) {
  vtest::TempDir dir;
  Answer a;
  a.npoints = "4096";  // a log of some 170 kB, written in several blocks
  a.neg = "Yes";
  vtest::writeFile(dir / "data.rda", vtest::realData(cosine(4000)));
  a.data = (dir / "data.rda").string();
  vtest::writeFile(dir / "run.1", a.text());
  voxtrel::RunOptions options;
  options.logPath = dir / "~Tirelle.out";
  options.now = vtest::fixedTime();
  ASSERT_EQ(voxtrel::run((dir / "run.1").string(), options).outcome, Outcome::Spectrum);
  const auto full = vtest::readLines(dir / "~Tirelle.out");
  const auto fullSize = fs::file_size(dir / "~Tirelle.out");
  const std::string reason = " The run log " + options.logPath.string() +
                             " could not be written completely (File too large); free space on "
                             "its disk or raise the file size limit, then run again.";

  for (const rlim_t limit : {rlim_t{200}, rlim_t{5000}, rlim_t{100000}, rlim_t(fullSize - 10)}) {
    const auto child = vtest::inChild([&] {
      signal(SIGXFSZ, SIG_IGN);
      const rlimit rl{limit, limit};
      if (setrlimit(RLIMIT_FSIZE, &rl) != 0) return std::string("no limit");
      const auto res = voxtrel::run((dir / "run.1").string(), options);
      return std::to_string(res.status) + "|" + res.stopText;
    });
    ASSERT_TRUE(child.finished) << limit;
    EXPECT_EQ(child.output, "-9|" + reason) << limit;
    EXPECT_LE(fs::file_size(dir / "~Tirelle.out"), limit);
    const auto lines = vtest::readLines(dir / "~Tirelle.out");
    ASSERT_GE(lines.size(), 2u) << limit;
    EXPECT_EQ(lines.back(), reason) << limit;
    for (std::size_t i = 0; i + 1 < lines.size(); ++i) EXPECT_EQ(lines[i], full[i]) << limit;
  }

  // The command-line runner prints the reason.
  const std::string cmd = "cd '" + dir.path().string() +
                          "' && (ulimit -f 4; trap '' XFSZ; '" VOXTREL_RUN_CLI
                          "' run.1 > stdout.txt 2> stderr.txt)";
  EXPECT_NE(std::system(cmd.c_str()), 0);
  EXPECT_EQ(vtest::readFile(dir / "stderr.txt"),
            "voxtrel-run: status -9: run stopped: The run log ~Tirelle.out could not be written "
            "completely (File too large); free space on its disk or raise the file size limit, "
            "then run again. (see ~Tirelle.out)\n");
  EXPECT_EQ(vtest::readFile(dir / "stdout.txt"), "");
}

// The log is never written through a symbolic link or into a file that has other names: the
// link (or the name) is replaced by a new file of the log's own. What cannot be a log file
// ends the run with the reason, without waiting on it.
TEST(FileHandling, RunLogIsWrittenOnlyIntoAFileOfItsOwn) {
  struct Case {
    const char* what;
    std::function<void(const vtest::TempDir&)> make;  // puts something in the log's place
    std::string stopText;                             // empty: the run succeeds
  };
  const std::string precious = "a file of the user's\r\n";
  const std::vector<Case> cases{
      {"link to a file",
       [&](const vtest::TempDir& d) {
         vtest::writeFile(d / "precious.txt", precious);
         fs::create_symlink(d / "precious.txt", d / "~Tirelle.out");
       },
       ""},
      {"link to nothing",
       [](const vtest::TempDir& d) { fs::create_symlink(d / "never.txt", d / "~Tirelle.out"); },
       ""},
      {"link to a folder",
       [](const vtest::TempDir& d) {
         fs::create_directory(d / "folder");
         fs::create_symlink(d / "folder", d / "~Tirelle.out");
       },
       ""},
      {"second name of a file",
       [&](const vtest::TempDir& d) {
         vtest::writeFile(d / "precious.txt", precious);
         fs::create_hard_link(d / "precious.txt", d / "~Tirelle.out");
       },
       ""},
      {"pipe",
       [](const vtest::TempDir& d) { ASSERT_EQ(mkfifo((d / "~Tirelle.out").c_str(), 0600), 0); },
       "(it is not a regular file (a folder, a pipe or a device stands in its place))"},
      {"folder", [](const vtest::TempDir& d) { fs::create_directory(d / "~Tirelle.out"); },
       "(Is a directory)"},
  };
  for (const auto& c : cases) {
    vtest::TempDir dir;
    c.make(dir);
    Answer a;
    const auto child = vtest::inChild([&] {
      const auto res = vtest::run(dir, a, vtest::realData(cosine(64)));
      return std::to_string(res.status) + "|" + res.stopText;
    });
    ASSERT_TRUE(child.finished) << c.what;
    const fs::path log = dir / "~Tirelle.out";
    if (c.stopText.empty()) {
      EXPECT_EQ(child.output, "64|") << c.what;
      EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(log))) << c.what;
      EXPECT_EQ(fs::hard_link_count(log), 1u) << c.what;
      const std::string head = " \r\n Starting Spectral Estimation calculations and Plot\r\n";
      EXPECT_EQ(vtest::readFile(log).substr(0, head.size()), head) << c.what;
      if (fs::exists(dir / "precious.txt")) {
        EXPECT_EQ(vtest::readFile(dir / "precious.txt"), precious);
      }
      EXPECT_FALSE(fs::exists(dir / "never.txt"));
      if (fs::exists(dir / "folder")) {
        EXPECT_TRUE(fs::is_empty(dir / "folder"));
      }
    } else {
      EXPECT_EQ(child.output, "-9| The run log " + log.string() + " cannot be opened for writing " +
                                  c.stopText +
                                  "; make its folder writable and clear its place, then run again.")
          << c.what;
    }
  }
}
