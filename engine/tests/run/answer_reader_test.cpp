// The run-definition reader: its run-log lines byte for byte, the method table, the limits and
// the range checks.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <functional>
#include <limits>

#include "fortran_format.h"
#include "spec_in.h"
#include "test_support.h"

using voxtrel::Outcome;
namespace fs = std::filesystem;
using vtest::Answer;

namespace {

std::vector<float> sine(int n, double cycles, int period = 64) {
  std::vector<float> y(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) y[i] = static_cast<float>(std::sin(2 * M_PI * cycles * i / period));
  return y;
}

std::string lastNonBlank(const std::vector<std::string>& lines) {
  for (auto it = lines.rbegin(); it != lines.rend(); ++it) {
    if (it->find_first_not_of(' ') != std::string::npos) return *it;
  }
  return {};
}

}  // namespace

TEST(AnswerReader, RunLogHeaderTraceAndEchoBlockByteForByte) {
  vtest::TempDir dir;
  Answer a;
  a.window = "Hanning";
  a.npoints = "60";  // raised to 64
  const auto res = vtest::run(dir, a, vtest::realData(sine(64, 4)));
  ASSERT_EQ(res.outcome, Outcome::Spectrum) << res.stopText;
  const std::string log = vtest::readFile(dir / "~Tirelle.out");
  const std::string answerPath = (dir / "test.1").string();
  const std::string dataPath = (dir / "data.rda").string();
  std::string expected =
      " \r\n Starting Spectral Estimation calculations and Plot\r\n \r\n \r\n"
      " filenam = " +
      answerPath + "<===\r\n";
  for (int i = 1; i <= 2; ++i) expected += std::string(" \xAF Line   ") + char('0' + i) + "\r\n";
  expected += " dataFile = " + dataPath + "<---\r\n";
  for (int i = 3; i <= 9; ++i) expected += std::string(" \xAF Line   ") + char('0' + i) + "\r\n";
  expected += " nPoints = 64\r\n";
  for (int i = 10; i <= 21; ++i) expected += " \xAF Line  " + std::to_string(i) + "\r\n";
  expected += " \r\n \r\n";
  expected += " --------------------------------------------- 12/07/26   09:30:05\r\n";
  expected += " --------------------------------------------- " + dataPath + "\r\n";
  expected += " Using following Estimator Parameters:\r\n";
  expected += "                 --------- ----------\r\n\r\n";
  expected += "         Batch filename = test.1\r\n";
  expected += "         window_name = Hanning\r\n";
  expected += "         method_name = PERIODOGRAM\r\n";
  expected += "         negative freq.s = No\r\n";
  expected += "         Note1 = first note  \t\t\r\n";  // the whole line up to its label
  ASSERT_GE(log.size(), expected.size());
  // Notes are whole lines: compare through Note1's label part separately.
  const std::string head = expected.substr(0, expected.find("         Note1"));
  EXPECT_EQ(log.substr(0, head.size()), head);
  EXPECT_NE(log.find("         Note1 = first note  \t\t! 20. Note1\r\n"), std::string::npos);
  EXPECT_NE(log.find("\r\n\r\n" + std::string(72, '-') + "\r\n\r\n delta_t/t_window = 1 63 0\r\n"),
            std::string::npos);
  EXPECT_NE(log.find(" ----------- Finished PSD Calculations ! -----------\r\n \r\n"),
            std::string::npos);
}

TEST(AnswerReader, EchoShowsOnlyGivenValuesWithTheirWidths) {
  vtest::TempDir dir;
  Answer a;
  a.method = "Auto-Correlation";
  a.npoles = "4";
  a.eps = "1.e-15";
  a.per = "0.01";
  a.mode = "0";
  const auto res = vtest::run(dir, a, vtest::realData(sine(64, 4)));
  ASSERT_EQ(res.outcome, Outcome::Spectrum) << res.stopText;
  const auto lines = vtest::readLines(dir / "~Tirelle.out");
  auto has = [&](const std::string& l) {
    return std::find(lines.begin(), lines.end(), l) != lines.end();
  };
  EXPECT_TRUE(has("     Note: Maximum # of POLES & ZEROS at this compile was (   210   200 )."));
  EXPECT_TRUE(has("         npoles =      4"));
  EXPECT_TRUE(has("         nzeros =      0"));  // zeroed for the AR methods
  EXPECT_TRUE(has("         mode =      0"));
  EXPECT_TRUE(has("         per =  0.010"));
  EXPECT_TRUE(has("         eps =    1.000E-15"));
  EXPECT_TRUE(has("         method_name = AUTO-CORRELATION"));
  EXPECT_FALSE(has("         l_pts =   -999"));
  for (const auto& l : lines) EXPECT_EQ(l.find("l_pts"), std::string::npos);
}

TEST(AnswerReader, MethodTableUsesTheFirstTwoCharacters) {
  std::string canonical;
  EXPECT_EQ(voxtrel::selectMethod("Lockheed", &canonical), 14);
  EXPECT_EQ(canonical, voxtrel::fmt::padRight("Lockheed (Auto./Burg)", 21));
  EXPECT_EQ(voxtrel::selectMethod("Mayne-Firoozan", &canonical), 9);
  EXPECT_EQ(canonical.substr(0, 8), "MAYNEFIR");
  EXPECT_EQ(voxtrel::selectMethod("Modified"), 5);
  EXPECT_EQ(voxtrel::selectMethod("MVSE"), 13);
  EXPECT_EQ(voxtrel::selectMethod("MYWE"), 6);
  EXPECT_EQ(voxtrel::selectMethod("Blackman-Tukey"), 12);
  EXPECT_EQ(voxtrel::selectMethod("Auto-Correlation"), 1);
  EXPECT_EQ(voxtrel::selectMethod("-Select-"), 0);
  EXPECT_EQ(voxtrel::selectMethod("-999"), 0);
  EXPECT_EQ(voxtrel::selectMethod("burg"), 0);  // case matters
  EXPECT_EQ(voxtrel::selectMethod("B"), 0);
}

TEST(AnswerReader, SplitCleansFileNameLines) {
  EXPECT_EQ(voxtrel::split("data.rda  \t\t! 1. File name"), "data.rda");
  EXPECT_EQ(voxtrel::split("a!b!c  \t! label"), "a!b!c");
  EXPECT_EQ(voxtrel::split("x\ty"), "x y");
  EXPECT_EQ(voxtrel::split(std::string(1500, 'p')).size(), voxtrel::kPathWidth);
}

// The manual tells the longest data path the reader keeps, and that a longer one is cut there;
// a path of that length is used whole.
TEST(AnswerReader, ManualStatesTheLengthOfPathThatIsKept) {
  const std::string manual = vtest::readFile(TESSIVAR_MANUAL);
  std::string width = std::to_string(voxtrel::kPathWidth);
  if (width.size() > 3) width.insert(width.size() - 3, ",");
  EXPECT_NE(manual.find("The data file's path may be up to " + width +
                        " characters long; a longer "
                        "path is cut at " +
                        width + "\ncharacters"),
            std::string::npos);
  EXPECT_EQ(manual.find("under 60 characters"), std::string::npos);

  vtest::TempDir dir;
  fs::path folder = dir.path();
  // Folders of 40 characters while a name of at least 20 still fits after the next one: the
  // temporary folder's own length (it differs between systems) never leaves too little room.
  const std::string step(40, 'd');
  while (folder.string().size() + 1 + step.size() + 1 + 20 <= voxtrel::kPathWidth) folder /= step;
  fs::create_directories(folder);
  const std::string name(voxtrel::kPathWidth - folder.string().size() - 1, 'n');
  Answer a;
  a.data = (folder / name).string();
  ASSERT_EQ(a.data.size(), voxtrel::kPathWidth);
  vtest::writeFile(folder / name, vtest::realData(sine(64, 4)));
  vtest::writeFile(dir / "a.1", a.text());
  voxtrel::RunOptions options;
  options.logPath = dir / "~Tirelle.out";
  EXPECT_EQ(voxtrel::run((dir / "a.1").string(), options).status, 64);
}

TEST(AnswerReader, PowerOfTwoRounding) {
  struct Case {
    const char* given;
    int nPoints;
  } cases[] = {{"1", 1}, {"2", 2}, {"3", 4}, {"1000", 1024}, {"1024", 1024}, {"1025", 2048}};
  for (const auto& c : cases) {
    vtest::TempDir dir;
    Answer a;
    a.npoints = c.given;
    const auto res = vtest::run(dir, a, vtest::realData(sine(8, 1)));
    // One or two points give fewer than two frequencies: the run stops after the reader.
    if (c.nPoints > 2) {
      EXPECT_EQ(res.nPoints, c.nPoints) << c.given;
    }
    const auto lines = vtest::readLines(dir / "~Tirelle.out");
    EXPECT_NE(std::find(lines.begin(), lines.end(), " nPoints = " + std::to_string(c.nPoints)),
              lines.end());
  }
}

TEST(AnswerReader, PointCountAllOrAtMostWhatTheFileHolds) {
  std::string data = "header one\r\nheader two\r\n" + vtest::realData(sine(300, 3, 300));
  for (const auto& [given, used] : {std::pair{"0", 300}, {"500", 300}, {"120", 120}}) {
    vtest::TempDir dir;
    Answer a;
    a.skip = "2";
    a.npts = given;
    a.npoints = "512";
    const auto res = vtest::run(dir, a, data);
    ASSERT_EQ(res.outcome, Outcome::Spectrum) << res.stopText;
    EXPECT_EQ(res.status, used) << given;
  }
}

TEST(AnswerReader, MissingAnswerFileIsStatusMinus7) {
  vtest::TempDir dir;
  voxtrel::RunOptions options;
  options.logPath = dir / "~Tirelle.out";
  const auto missing = (dir / "nope.1").string();
  const auto res = voxtrel::run(missing, options);
  EXPECT_EQ(res.status, -7);
  const auto lines = vtest::readLines(dir / "~Tirelle.out");
  ASSERT_EQ(lines.size(), 10u);
  EXPECT_EQ(lines[5], " ");
  EXPECT_EQ(lines[6], " ERROR while opening Input file: " + missing);
  EXPECT_EQ(lines[7], " **************  End of run *******************");
}

TEST(AnswerReader, MissingDataFileWarnsOnlyForRelativePaths) {
  vtest::TempDir dir;
  voxtrel::RunOptions options;
  options.logPath = dir / "~Tirelle.out";
  for (const std::string& data : {std::string("no-such.rda"), (dir / "no-such.rda").string()}) {
    Answer a;
    a.data = data;
    vtest::writeFile(dir / "a.1", a.text());
    const auto res = voxtrel::run((dir / "a.1").string(), options);
    EXPECT_EQ(res.status, -8);
    const auto lines = vtest::readLines(dir / "~Tirelle.out");
    const bool relative = data == "no-such.rda";
    EXPECT_EQ(lines.back(), relative ? " " : " dataFile = " + data + "<---");
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "            *** Warning ***"), relative);
    EXPECT_NE(std::find(lines.begin(), lines.end(), " ERROR while opening Data file: " + data),
              lines.end());
  }
}

TEST(AnswerReader, ReadErrorsNameTheLine) {
  std::string binary(200, '\0');
  for (std::size_t i = 0; i < binary.size(); ++i) binary[i] = static_cast<char>(i * 37);
  // Each case: the answer text for a given data path, and the line that cannot be read.
  struct Case {
    std::function<std::string(const std::string&)> text;
    int line;
  };
  std::vector<Case> cases{
      {[](const std::string& d) {
         Answer a;
         a.data = d;
         a.npoints = "many";
         return a.text();
       },
       9},
      {[](const std::string& d) {
         Answer a;
         a.data = d;
         a.eps = "small";
         return a.text();
       },
       12},
      {[](const std::string& d) {
         Answer a;
         a.data = d;
         a.npoints = "1099511627776";  // 2^40 does not fit the integer
         return a.text();
       },
       9},
      {[](const std::string& d) {
         Answer a;
         a.data = d;
         const std::string full = a.text();
         return full.substr(0, full.find("-999  \t\t! 17."));  // ends after line 17
       },
       18},
      {[](const std::string&) { return std::string(); }, 1},
      {[&](const std::string& d) { return "bin.1\r\n" + d + "\r\n" + binary; }, 3},
  };
  for (const auto& c : cases) {
    vtest::TempDir dir;
    vtest::writeFile(dir / "data.rda", vtest::realData(sine(64, 4)));
    vtest::writeFile(dir / "a.1", c.text((dir / "data.rda").string()));
    voxtrel::RunOptions options;
    options.logPath = dir / "~Tirelle.out";
    const auto res = voxtrel::run((dir / "a.1").string(), options);
    EXPECT_EQ(res.status, voxtrel::kStatusStopped) << c.line;
    const std::string stop =
        " Error reading line " + std::to_string(c.line) + " of the run-definition file";
    EXPECT_EQ(res.stopText, stop);
    const auto lines = vtest::readLines(dir / "~Tirelle.out");
    EXPECT_EQ(lastNonBlank(lines), stop);
    EXPECT_EQ(lines[lines.size() - 2], " \xAF Line " + voxtrel::fmt::I(c.line, 3));
  }
}

TEST(AnswerReader, NPointsOutOfRangeIsRefusedWithItsBlock) {
  for (const char* n : {"0", "-5", "16777217"}) {
    vtest::TempDir dir;
    Answer a;
    a.npoints = n;
    const auto res = vtest::run(dir, a, vtest::realData(sine(64, 4)));
    EXPECT_EQ(res.status, -9) << n;
    EXPECT_EQ(res.stopText, " nPoints parameter out of range");
    const auto lines = vtest::readLines(dir / "~Tirelle.out");
    EXPECT_NE(std::find(lines.begin(), lines.end(),
                        std::string(22, ' ') + "nPoints = " + voxtrel::fmt::I(std::stoi(n), 12)),
              lines.end());
  }
}

TEST(AnswerReader, RangeErrorBlocks) {
  struct Case {
    Answer a;
    std::string stop;
    std::vector<std::string> rows;
  };
  Answer meqs;
  meqs.method = "LSMYWE";
  meqs.npoles = "4";
  meqs.nzeros = "2";
  meqs.meqs = "5";
  Answer meqsHigh = meqs;
  meqsHigh.meqs = "65";
  Answer lpts;
  lpts.method = "Durbin";
  lpts.nzeros = "3";
  lpts.lpts = "100";  // above maxorder = nPoints = 64
  Answer lags;
  lags.method = "Blackman-Tukey";
  lags.mlag = "32";  // 2M + 2 = 66 > 64
  lags.mode = "1";
  Answer lagsZero = lags;
  lagsZero.mlag = "0";
  Answer mvse;
  mvse.method = "MVSE";
  mvse.npoles = "4";
  mvse.lpts = "128";
  const std::string i22(22, ' ');
  std::vector<Case> cases{
      {meqs,
       " M_Eqs parameter out of range",
       {i22 + "nPoles+nZeros+1 =      7", i22 + "M_Eqs =      5", i22 + "nPts =     64",
        i22 + "MaxOrder =     64", i22 + "nPoles+nZeros+1 < M_Eqs <= nPts"}},
      {meqsHigh, " M_Eqs parameter out of range", {i22 + "M_Eqs =     65"}},
      {lpts,
       " L_PTS parameter out of range",
       {i22 + "nZeros =      3", i22 + "L_pts =    100",
        i22 + "nZeros << L_pts << nPts  -and-,nZeros << L_pts << MaxOrder!"}},
      {lags,
       " M_Lags parameter out of range",
       {i22 + "m_lags =     32", i22 + "nPts =     64", i22 + "m_lags < nPts/2!"}},
      {lagsZero, " M_Lags parameter out of range", {i22 + "m_lags =      0"}},
      {mvse, " L_PTS parameter out of range", {i22 + "L_pts =    128"}},
  };
  for (const auto& c : cases) {
    vtest::TempDir dir;
    const auto res = vtest::run(dir, c.a, vtest::realData(sine(64, 4)));
    EXPECT_EQ(res.stopText, c.stop) << c.a.method;
    const auto lines = vtest::readLines(dir / "~Tirelle.out");
    for (const auto& row : c.rows)
      EXPECT_NE(std::find(lines.begin(), lines.end(), row), lines.end()) << row;
    EXPECT_NE(
        std::find(lines.begin(), lines.end(), "         Input ERROR: parameter outside of range:"),
        lines.end());
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "  " + std::string(70, '-')), 2);
  }
}

// Orders at the ends of the integer range are read as they stand and checked before any sum
// is formed: each run ends with its range stop or a clean result, the sums shown as asterisks.
TEST(AnswerReader, OrdersAtTheEndsOfTheIntegerRange) {
  const std::string max = std::to_string(std::numeric_limits<int>::max());
  const std::string min = std::to_string(std::numeric_limits<int>::min());
  const std::string i22(22, ' ');
  struct Case {
    const char* method;
    std::string npoles, nzeros, meqs, lpts;
    std::string stop;                // empty: the run is not stopped
    std::vector<std::string> lines;  // records the log must hold
  } cases[] = {
      {"LSMYWE",
       max,
       max,
       "20",
       "-999",
       " M_Eqs parameter out of range",
       {"  Minimum/Maximum range for M_Eqs = ******  to    64", i22 + "nPoles+nZeros+1 = ******"}},
      {"LSMYWE", max, "0", "20", "-999", " M_Eqs parameter out of range", {}},
      {"LSMYWE",
       min,
       min,
       "20",
       "-999",
       "",
       {"  Minimum/Maximum range for M_Eqs = ******  to    64"}},
      {"LSMYWE", min, max, min, "-999", " M_Eqs parameter out of range", {}},
      {"Akaike",
       max,
       max,
       "20",
       "-999",
       " M_Eqs parameter out of range",
       {i22 + "nPoles+nZeros+1 = ******"}},
      {"Akaike", min, min, "20", "-999", "", {}},
      {"Durbin",
       "-999",
       max,
       "-999",
       "20",
       " L_PTS parameter out of range",
       {i22 + "nZeros = ******"}},
      {"Durbin", "-999", "2", "-999", max, " L_PTS parameter out of range", {}},
      {"Durbin", "-999", min, "-999", min, "", {}},
      {"Durbin", "-999", "2", "-999", min, " L_PTS parameter out of range", {}},
  };
  for (const auto& c : cases) {
    vtest::TempDir dir;
    Answer a;
    a.method = c.method;
    a.npoles = c.npoles;
    a.nzeros = c.nzeros;
    a.meqs = c.meqs;
    a.lpts = c.lpts;
    a.eps = "1e-15";
    a.nit = "5";
    a.per = "1";
    const std::string label =
        std::string(c.method) + " " + c.npoles + " " + c.nzeros + " " + c.meqs + " " + c.lpts;
    const auto res = vtest::run(dir, a, vtest::realData(sine(64, 4)));
    EXPECT_EQ(res.stopText, c.stop) << label;
    if (c.stop.empty()) {
      EXPECT_NE(res.outcome, Outcome::Stopped) << label;
    }
    const auto lines = vtest::readLines(dir / "~Tirelle.out");
    for (const auto& l : c.lines)
      EXPECT_NE(std::find(lines.begin(), lines.end(), l), lines.end()) << label << ": " << l;
  }
}
