// The engine's calls of the operating system, on every system it is built for (the POSIX-only
// limits, pipes and sparse files are in file_handling_test): only a regular file is read, the
// log is written only into a file of its own and from its start, writes, positioned reads and
// cuts keep count, and the local time is the zone's calendar time.
#include "os_file.h"

#include <gtest/gtest.h>

#include <ctime>
#include <filesystem>
#include <iostream>
#include <string>

#include "runlog.h"
#include "test_support.h"

namespace fs = std::filesystem;
using voxtrel::os::File;

namespace {

#ifdef _WIN32
const std::string kDevice = "NUL";
#else
const std::string kDevice = "/dev/null";
#endif

std::string readAll(File& f) {
  std::string out;
  char buf[7];  // small, so that a read that returns less than asked is taken in turn
  while (const std::size_t n = f.read(buf, sizeof buf)) out.append(buf, n);
  return out;
}

}  // namespace

TEST(OsFile, OnlyARegularFileIsOpenedForReading) {
  vtest::TempDir dir;
  const std::string text = "0 1.5\r\n1 2.5\r\n2 3.5\r\n";
  vtest::writeFile(dir / "data.rda", text);
  fs::create_directory(dir / "folder");
  const struct {
    std::string path;
    bool opens;
  } cases[] = {
      {(dir / "data.rda").string(), true},
      {(dir / "folder").string(), false},
      {kDevice, false},
      {(dir / "absent.rda").string(), false},
      {"", false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(voxtrel::os::openRegularForReading(c.path).isOpen(), c.opens) << c.path;

  File f = voxtrel::os::openRegularForReading((dir / "data.rda").string());
  EXPECT_EQ(readAll(f), text);
  ASSERT_TRUE(f.rewind());
  EXPECT_EQ(readAll(f), text);
  File moved = std::move(f);
  EXPECT_FALSE(f.isOpen());
  EXPECT_TRUE(moved.close());
  EXPECT_FALSE(moved.isOpen());
}

// An older, longer log is rewritten from its start; a positioned read leaves the position
// alone; a cut puts the position at the cut, where the next write goes.
TEST(OsFile, LogFileIsRewrittenFromItsStart) {
  vtest::TempDir dir;
  const fs::path log = dir / "~Tirelle.out";
  vtest::writeFile(log, "the log of an earlier, longer run\r\n");
  std::string why;
  File f = voxtrel::os::openOwnFileForRewrite(log.string(), why);
  ASSERT_TRUE(f.isOpen()) << why;
  std::uint64_t written = 0;
  ASSERT_TRUE(f.writeAll(" a\r\n bc\r\n", 9, written));
  EXPECT_EQ(written, 9u);
  char buf[5] = {};
  ASSERT_TRUE(f.readAt(4, buf, 5));
  EXPECT_EQ(std::string(buf, 5), " bc\r\n");
  EXPECT_FALSE(f.readAt(6, buf, 5)) << "past the end";
  ASSERT_TRUE(f.writeAll(" d\r\n", 4, written));  // still at the end, after the reads
  EXPECT_EQ(written, 13u);
  ASSERT_TRUE(f.truncateAt(4));
  ASSERT_TRUE(f.writeAll(" z\r\n", 4, written));
  EXPECT_TRUE(f.close());
  EXPECT_EQ(vtest::readFile(log), " a\r\n z\r\n");
}

// A second name of a file, or a link, in the log's place is replaced by a file of the log's
// own; a folder is refused with the reason.
TEST(OsFile, LogFileIsAFileOfItsOwn) {
  const std::string precious = "a file of the user's\r\n";
  for (const char* what : {"second name", "link to a file"}) {
    vtest::TempDir dir;
    const fs::path log = dir / "~Tirelle.out";
    vtest::writeFile(dir / "precious.txt", precious);
    std::error_code ec;
    if (std::string(what) == "second name") {
      fs::create_hard_link(dir / "precious.txt", log, ec);
    } else {
      fs::create_symlink(dir / "precious.txt", log, ec);
    }
    if (ec) {
      // Windows lets only some users make symbolic links.
      std::cout << "OsFile: the case \"" << what << "\" is not checked here: " << ec.message()
                << "\n";
      continue;
    }
    std::string why;
    File f = voxtrel::os::openOwnFileForRewrite(log.string(), why);
    ASSERT_TRUE(f.isOpen()) << what << ": " << why;
    std::uint64_t written = 0;
    ASSERT_TRUE(f.writeAll(" log\r\n", 6, written));
    ASSERT_TRUE(f.close());
    EXPECT_EQ(vtest::readFile(log), " log\r\n") << what;
    EXPECT_EQ(vtest::readFile(dir / "precious.txt"), precious) << what;
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(log))) << what;
    EXPECT_EQ(fs::hard_link_count(log), 1u) << what;
  }

  vtest::TempDir dir;
  fs::create_directory(dir / "~Tirelle.out");
  std::string why;
  EXPECT_FALSE(voxtrel::os::openOwnFileForRewrite((dir / "~Tirelle.out").string(), why).isOpen());
  EXPECT_FALSE(why.empty());
  EXPECT_TRUE(fs::is_directory(dir / "~Tirelle.out"));
}

TEST(OsFile, LocalTimeIsTheZonesCalendarTime) {
  for (const std::time_t t : {std::time_t{0}, std::time_t{951782400}, std::time_t{1796644800}}) {
    const std::tm expected = *std::localtime(&t);
    const std::tm got = voxtrel::os::localTime(t);
    EXPECT_EQ(got.tm_year, expected.tm_year) << t;
    EXPECT_EQ(got.tm_yday, expected.tm_yday) << t;
    EXPECT_EQ(got.tm_mon, expected.tm_mon) << t;
    EXPECT_EQ(got.tm_mday, expected.tm_mday) << t;
    EXPECT_EQ(got.tm_hour, expected.tm_hour) << t;
    EXPECT_EQ(got.tm_min, expected.tm_min) << t;
    EXPECT_EQ(got.tm_sec, expected.tm_sec) << t;
  }
}

// The run log is written over the last run's log in place and cut at its own end on closing:
// a longer earlier log leaves nothing behind, a shorter one is overwritten and extended.
TEST(OsFile, RunLogWrittenOverAnEarlierLogEndsAtItsOwnEnd) {
  vtest::TempDir dir;
  const fs::path path = dir / "~Tirelle.out";
  for (const std::string& earlier : {std::string(5000, 'x') + "\r\n", std::string("y\r\n")}) {
    vtest::writeFile(path, earlier);
    voxtrel::RunLog log;
    ASSERT_TRUE(log.open(path.string()));
    log.raw(" first");
    log.put({" second", 2});
    EXPECT_TRUE(log.close());
    EXPECT_EQ(vtest::readFile(path), " first\r\n second 2\r\n") << earlier.size();
  }
}
