// The eighteen demonstration examples: each one runs through the engine from its installed
// answer file and data file, and its spectrum shows what the example's notes promise (the
// generator's tone frequencies, a notch, a smooth hump). Each data design is also checked with
// the double-precision reference estimators, so that a design fault is told apart from an
// engine fault; an example whose estimator the engine does not have yet is checked against the
// reference only and then skipped.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "reference_spectra.h"
#include "test_support.h"

#ifndef TESSIVAR_EXAMPLES_DIR
#error "TESSIVAR_EXAMPLES_DIR (the user folder holding the examples) must be defined by the build"
#endif

namespace {

namespace fs = std::filesystem;
using vref::Spectrum;

const fs::path kUserDir = TESSIVAR_EXAMPLES_DIR;

// The value of an answer-file line: the text before "!", trimmed of blanks and TABs.
std::string answerValue(const std::string& line) {
  std::string v = line.substr(0, line.find('!'));
  const auto first = v.find_first_not_of(" \t");
  const auto last = v.find_last_not_of(" \t");
  return first == std::string::npos ? std::string() : v.substr(first, last - first + 1);
}

struct ExampleFile {
  std::vector<std::string> values;  // the 21 values, index 0 = line 1
  std::string data() const { return values.at(1); }
  int skip() const { return std::stoi(values.at(2)); }
  bool complex() const { return values.at(4) != "Real"; }
  bool twoSided() const { return values.at(7) == "Yes"; }
  int nPoints() const { return std::stoi(values.at(8)); }
  int value(int question) const { return std::stoi(values.at(question)); }  // lines 10..19
};

ExampleFile readExample(const std::string& name) {
  ExampleFile ex;
  for (const auto& line : vtest::readLines(kUserDir / name)) ex.values.push_back(answerValue(line));
  return ex;
}

// Runs a copy of the example in a temporary folder, as the program runs it from the user folder:
// the data file is named without a folder and found in the working directory.
class ExampleRun {
 public:
  explicit ExampleRun(const std::string& name, const std::vector<std::string>& replace = {}) {
    auto lines = vtest::readLines(kUserDir / name);
    for (std::size_t i = 0; i < replace.size() && i < lines.size(); ++i) {
      if (!replace[i].empty()) lines[i] = replace[i] + "  \t\t! changed by the test";
    }
    std::string text;
    for (const auto& l : lines) text += l + "\r\n";
    vtest::writeFile(dir_ / name, text);
    const ExampleFile ex = readExample(name);
    fs::copy_file(kUserDir / ex.data(), dir_ / ex.data());
    const fs::path old = fs::current_path();
    fs::current_path(dir_.path());
    voxtrel::RunOptions options;
    options.logPath = dir_ / "~Tirelle.out";
    options.now = vtest::fixedTime();
    result_ = voxtrel::run((dir_ / name).string(), options);
    fs::current_path(old);
  }
  const voxtrel::RunResult& result() const { return result_; }
  bool notAvailable() const {
    return result_.outcome == voxtrel::Outcome::Stopped &&
           result_.stopText.find("not available") != std::string::npos;
  }
  Spectrum spectrum() const {
    Spectrum s;
    s.hz.assign(result_.x.begin(), result_.x.end());
    s.db.assign(result_.spectrum.begin(), result_.spectrum.end());
    return s;
  }

 private:
  vtest::TempDir dir_;
  voxtrel::RunResult result_;
};

struct Extremum {
  double hz, db;
};

std::vector<Extremum> peaks(const Spectrum& s) {
  std::vector<Extremum> out;
  for (std::size_t i = 1; i + 1 < s.db.size(); ++i) {
    if (s.db[i] > s.db[i - 1] && s.db[i] > s.db[i + 1]) out.push_back({s.hz[i], s.db[i]});
  }
  return out;
}

std::vector<Extremum> valleys(const Spectrum& s) {
  std::vector<Extremum> out;
  for (std::size_t i = 1; i + 1 < s.db.size(); ++i) {
    if (s.db[i] < s.db[i - 1] && s.db[i] < s.db[i + 1]) out.push_back({s.hz[i], s.db[i]});
  }
  return out;
}

std::optional<Extremum> nearest(const std::vector<Extremum>& list, double hz, double tol) {
  std::optional<Extremum> best;
  for (const auto& e : list) {
    if (std::abs(e.hz - hz) <= tol && (!best || std::abs(e.hz - hz) < std::abs(best->hz - hz)))
      best = e;
  }
  return best;
}

double levelAt(const Spectrum& s, double hz) {
  std::size_t best = 0;
  for (std::size_t i = 0; i < s.hz.size(); ++i) {
    if (std::abs(s.hz[i] - hz) < std::abs(s.hz[best] - hz)) best = i;
  }
  return s.db.at(best);
}

Extremum highest(const Spectrum& s) {
  const auto it = std::max_element(s.db.begin(), s.db.end());
  return {s.hz[it - s.db.begin()], *it};
}

double lowestBetween(const Spectrum& s, double lo, double hi) {
  double m = 1e9;
  for (std::size_t i = 0; i < s.hz.size(); ++i) {
    if (s.hz[i] > lo && s.hz[i] < hi) m = std::min(m, s.db[i]);
  }
  return m;
}

// ---- The features the examples promise -------------------------------------------------

// Two tones resolved: a peak near each, a dip between them, nothing else strong.
void twoResolvedPeaks(const Spectrum& s, double f1, double f2, double tol) {
  const auto p1 = nearest(peaks(s), f1, tol);
  const auto p2 = nearest(peaks(s), f2, tol);
  ASSERT_TRUE(p1) << "no peak within " << tol << " Hz of " << f1 << " Hz";
  ASSERT_TRUE(p2) << "no peak within " << tol << " Hz of " << f2 << " Hz";
  EXPECT_GT(std::min(p1->db, p2->db), -25.0) << "one tone is far below the other";
  EXPECT_LT(lowestBetween(s, p1->hz, p2->hz), std::min(p1->db, p2->db) - 3.0)
      << "no dip of 3 dB between the two peaks: not resolved";
  for (const auto& p : peaks(s)) {
    if (std::abs(p.hz - f1) > tol && std::abs(p.hz - f2) > tol) {
      EXPECT_LT(p.db, -40.0) << "spurious peak at " << p.hz << " Hz";
    }
  }
}

// ARMA(2,2) data: the peak of the poles at 100 Hz and the notch of the zeros at 300 Hz.
void peakAndNotch(const Spectrum& s) {
  EXPECT_NEAR(highest(s).hz, 100.0, 8.0);
  const auto notch = nearest(valleys(s), 300.0, 15.0);
  ASSERT_TRUE(notch) << "no notch within 15 Hz of 300 Hz";
  EXPECT_LT(notch->db, -40.0);
}

// One smooth hump at the 100 Hz resonance: a single peak within `within` dB of the top.
void oneSmoothHump(const Spectrum& s, double within) {
  EXPECT_NEAR(highest(s).hz, 100.0, 6.0);
  int strong = 0;
  for (const auto& p : peaks(s)) strong += p.db > -within;
  EXPECT_EQ(strong, 1) << "more than one peak within " << within << " dB of the top";
}

// ---- The table of examples ----------------------------------------------------------------

struct Example {
  std::string file;
  // The reference spectrum of the example's data and parameters; empty when there is none.
  std::function<Spectrum(const vref::Vec& x, double dt, const ExampleFile& ex)> reference;
  std::function<void(const Spectrum&, const ExampleFile&)> feature;
};

void zeroPadding(const Spectrum& s, const ExampleFile& ex) {
  const int n = ex.nPoints();
  EXPECT_EQ(static_cast<int>(s.hz.size()), n / 2) << "one plot point per bin up to 500 Hz";
  const double bin = 1000.0 / n;
  EXPECT_NEAR(highest(s).hz, 110.0, std::max(bin, 4.0) + 2.0);
  EXPECT_TRUE(nearest(peaks(s), 290.0, std::max(bin, 4.0) + 2.0)) << "no peak near 290 Hz";
}

void closeTones(const Spectrum& s, const ExampleFile&) {
  twoResolvedPeaks(s, 200, 225, 5);
}

std::vector<Example> examples() {
  using vref::Vec;
  auto ar = [](double (*fit)(const Vec&, int, Vec&)) {
    return [fit](const Vec& x, double dt, const ExampleFile& ex) {
      Vec a;
      fit(x, ex.value(9), a);
      return vref::arma(a, {}, ex.nPoints(), dt, ex.twoSided());
    };
  };
  auto cov = [](bool fb) {
    return [fb](const Vec& x, double dt, const ExampleFile& ex) {
      Vec a;
      vref::covariance(x, ex.value(9), fb, a);
      return vref::arma(a, {}, ex.nPoints(), dt, ex.twoSided());
    };
  };
  auto ywe = [](bool leastSquares) {
    return [leastSquares](const Vec& x, double dt, const ExampleFile& ex) {
      Vec a, b;
      const int p = ex.value(9), q = ex.value(10);
      vref::modifiedYuleWalker(x, p, q, leastSquares ? ex.value(13) - q : p, a, b);
      return vref::arma(a, b, ex.nPoints(), dt, false);
    };
  };
  return {
      {"Ex-0-pad.32", {}, zeroPadding},
      {"Ex-0-pad.64", {}, zeroPadding},
      {"Ex-0-pad.128", {}, zeroPadding},
      {"Ex-0-pad.256", {}, zeroPadding},
      {"Ex-0-pad.8k", {}, zeroPadding},
      {"Ex-Auto.0", ar(vref::yuleWalker), closeTones},
      {"Ex-Burg.0", ar(vref::burg),
       [](const Spectrum& s, const ExampleFile&) {
         twoResolvedPeaks(s, 150, 170, 5);
         double strongestNegative = -100;
         for (std::size_t i = 0; i < s.hz.size(); ++i) {
           if (s.hz[i] < -60) strongestNegative = std::max(strongestNegative, s.db[i]);
         }
         EXPECT_LT(strongestNegative, -30.0) << "complex tones at positive Hz only";
       }},
      {"Ex-Cov.0", cov(false), closeTones},
      {"Ex-mCov.0", cov(true), closeTones},
      {"Ex-RMLE.0", {}, closeTones},
      {"Ex-Lock.0",
       [](const Vec& x, double dt, const ExampleFile& ex) {
         Vec a, b;
         vref::yuleWalker(x, ex.value(9), a);
         vref::burg(x, ex.value(10), b);
         return vref::arma(a, b, ex.nPoints(), dt, false);
       },
       [](const Spectrum& s, const ExampleFile&) {
         const auto merged = nearest(peaks(s), 212.5, 8.0);
         ASSERT_TRUE(merged) << "no merged peak of the poles between the tones";
         for (double tone : {200.0, 225.0}) {
           const auto notch = nearest(valleys(s), tone, 6.0);
           ASSERT_TRUE(notch) << "no notch of the zeros near " << tone << " Hz";
           EXPECT_LT(notch->db, merged->db - 15.0);
         }
       }},
      {"Ex-Durbi.0",
       [](const Vec& x, double dt, const ExampleFile& ex) {
         Vec b;
         vref::durbin(x, ex.value(10), ex.value(14), b);
         return vref::arma({}, b, ex.nPoints(), dt, false);
       },
       [](const Spectrum& s, const ExampleFile&) {
         const auto valley = nearest(valleys(s), 300.0, 12.0);
         ASSERT_TRUE(valley) << "no valley near 300 Hz";
         EXPECT_LT(valley->db, -25.0);
         EXPECT_TRUE(peaks(s).empty()) << "moving-average data have no peaks";
       }},
      {"Ex-MYWE.0", ywe(false), [](const Spectrum& s, const ExampleFile&) { peakAndNotch(s); }},
      {"Ex-LSMYW.0", ywe(true), [](const Spectrum& s, const ExampleFile&) { peakAndNotch(s); }},
      {"Ex-Mayne.0", {}, [](const Spectrum& s, const ExampleFile&) { peakAndNotch(s); }},
      {"Ex-Perio.0",
       {},
       [](const Spectrum& s, const ExampleFile&) {
         EXPECT_NEAR(highest(s).hz, 150.0, 4.0);
         const auto weak = nearest(peaks(s), 190.0, 4.0);
         ASSERT_TRUE(weak) << "the weak tone at 190 Hz does not show";
         EXPECT_GT(weak->db, -95.0);
         EXPECT_LT(weak->db, -60.0);
         EXPECT_GT(weak->db, levelAt(s, 170.0) + 10.0) << "the weak tone drowns in leakage";
         double strongestNegative = -100;
         for (std::size_t i = 0; i < s.hz.size(); ++i) {
           if (s.hz[i] < 0) strongestNegative = std::max(strongestNegative, s.db[i]);
         }
         EXPECT_LT(strongestNegative, -60.0) << "complex tones at positive Hz only";
       }},
      {"Ex-Black.0",
       [](const Vec& x, double dt, const ExampleFile& ex) {
         return vref::blackmanTukey(x, ex.value(15), ex.value(12) != 0, ex.nPoints(), dt);
       },
       [](const Spectrum& s, const ExampleFile&) { oneSmoothHump(s, 20.0); }},
      {"Ex-MVSE.0",
       [](const Vec& x, double dt, const ExampleFile& ex) {
         return vref::minimumVariance(x, ex.value(9), ex.value(14), dt);
       },
       [](const Spectrum& s, const ExampleFile& ex) {
         EXPECT_EQ(static_cast<int>(s.hz.size()), ex.value(14) / 2);
         oneSmoothHump(s, 30.0);
       }},
  };
}

// Test names and messages show the example's file name.
void PrintTo(const Example& e, std::ostream* os) {
  *os << e.file;
}

class Examples : public ::testing::TestWithParam<Example> {};

TEST_P(Examples, RunsAndShowsItsFeature) {
  const Example& e = GetParam();
  const ExampleFile ex = readExample(e.file);
  ASSERT_EQ(ex.values.size(), 21u) << e.file << " must have 21 lines";

  bool referenceChecked = false;
  if (e.reference) {
    SCOPED_TRACE("reference estimate of " + e.file);
    double dt = 0;
    const auto x = vref::readData((kUserDir / ex.data()).string(), ex.skip(), ex.complex(), dt);
    e.feature(e.reference(x, dt, ex), ex);
    referenceChecked = true;
  }

  ExampleRun run(e.file);
  if (run.notAvailable()) {
    GTEST_SKIP() << e.file << ": " << run.result().stopText
                 << (referenceChecked ? " (the data design was checked with the reference)"
                                      : " (no reference for this method)");
  }
  SCOPED_TRACE("engine run of " + e.file);
  ASSERT_EQ(run.result().outcome, voxtrel::Outcome::Spectrum)
      << e.file << " stopped: " << run.result().stopText;
  EXPECT_GT(run.result().status, 0);
  e.feature(run.spectrum(), ex);
}

INSTANTIATE_TEST_SUITE_P(AllEighteen, Examples, ::testing::ValuesIn(examples()),
                         [](const auto& info) {
                           std::string n = info.param.file;
                           for (char& c : n) {
                             if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                           }
                           return n;
                         });

// ---- What the examples share --------------------------------------------------------------

TEST(ExampleFiles, LayoutOfEveryLine) {
  for (const auto& e : examples()) {
    const std::string text = vtest::readFile(kUserDir / e.file);
    const auto lines = vtest::readLines(kUserDir / e.file);
    ASSERT_EQ(lines.size(), 21u) << e.file;
    EXPECT_EQ(text.substr(text.size() - 2), "\r\n") << e.file;
    for (std::size_t i = 0; i < lines.size(); ++i) {
      const auto& l = lines[i];
      EXPECT_EQ(l.find('\n'), std::string::npos) << e.file << " line " << i + 1 << ": bare LF";
      const auto mark = l.find("  \t\t! ");
      ASSERT_NE(mark, std::string::npos) << e.file << " line " << i + 1;
      EXPECT_FALSE(l.substr(0, mark).empty()) << e.file << " line " << i + 1 << ": no value";
      EXPECT_LE(l.size() - mark - 6, 50u) << e.file << " line " << i + 1 << ": label too long";
    }
    EXPECT_EQ(answerValue(lines[0]), e.file) << "line 1 names the file itself";
    // "»" is one Latin-1 byte, never a UTF-8 pair.
    EXPECT_NE(lines[1].find('\xBB'), std::string::npos) << e.file;
    EXPECT_EQ(lines[1].find("\xC2\xBB"), std::string::npos) << e.file;
    const std::string data = answerValue(lines[1]);
    EXPECT_EQ(data.find_first_of("/\\:"), std::string::npos)
        << e.file << ": the data file is named without a folder";
    EXPECT_TRUE(fs::exists(kUserDir / data)) << e.file << ": " << data << " not installed";
  }
}

// Each example names the method of its description, in the program's own spelling, and answers
// exactly the questions that method asks ("-999" for the others).
TEST(ExampleFiles, MethodAndItsQuestions) {
  struct Row {
    const char* file;
    const char* method;
    std::vector<int> questions;
  };
  const std::vector<Row> rows{
      {"Ex-0-pad.32", "Periodogram", {18}},
      {"Ex-0-pad.64", "Periodogram", {18}},
      {"Ex-0-pad.128", "Periodogram", {18}},
      {"Ex-0-pad.256", "Periodogram", {18}},
      {"Ex-0-pad.8k", "Periodogram", {18}},
      {"Ex-Auto.0", "Auto-Correlation", {9}},
      {"Ex-Burg.0", "Burg", {9}},
      {"Ex-Cov.0", "Covariance", {9, 11}},
      {"Ex-mCov.0", "Modified Covariance", {9, 11}},
      {"Ex-RMLE.0", "RMLE", {9}},
      {"Ex-Lock.0", "Lockheed (Autocorr/Burg)", {9, 10}},
      {"Ex-Durbi.0", "Durbin", {10, 14}},
      {"Ex-MYWE.0", "MYWE", {9, 10, 11}},
      {"Ex-LSMYW.0", "LSMYWE", {9, 10, 11, 13}},
      {"Ex-Mayne.0", "Mayne-Firoozan", {9, 10, 11, 14}},
      {"Ex-Perio.0", "Periodogram", {18}},
      {"Ex-Black.0", "Blackman-Tukey", {12, 15}},
      {"Ex-MVSE.0", "MVSE", {9, 11, 12, 14}},
  };
  ASSERT_EQ(rows.size(), examples().size());
  for (const auto& row : rows) {
    const ExampleFile ex = readExample(row.file);
    EXPECT_EQ(ex.values.at(6), row.method) << row.file;
    EXPECT_EQ(ex.values.at(5), "-999") << row.file << ": question 5 is never answered";
    for (int q = 9; q <= 18; ++q) {
      const bool asked =
          std::find(row.questions.begin(), row.questions.end(), q) != row.questions.end();
      const std::string& v = ex.values.at(q);
      if (asked) {
        EXPECT_NE(v, "-999") << row.file << " question " << q;
      } else {
        EXPECT_EQ(v, "-999") << row.file << " question " << q;
      }
    }
    const std::string type = ex.values.at(4);
    EXPECT_TRUE(type == "Real" || type == "Complex") << row.file;
    const std::string ext = fs::path(ex.data()).extension().string();
    std::string lower;
    for (char c : ext) lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    EXPECT_EQ(lower, type == "Real" ? ".rda" : ".cda") << row.file;
  }
}

// Saving the form over an example must fail: no write permission for anyone.
TEST(ExampleFiles, InstalledReadOnly) {
  for (const auto& e : examples()) {
    const auto perms = fs::status(kUserDir / e.file).permissions();
    EXPECT_EQ(perms & (fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write),
              fs::perms::none)
        << e.file;
  }
}

// Zero padding refines where the peak is drawn, not how wide it is: the 8k run finds the
// 110 Hz tone within 3 Hz, where the unpadded run can only say "within a 31 Hz bin".
TEST(ExampleFiles, ZeroPaddingConvergesOnTheTone) {
  ExampleRun coarse("Ex-0-pad.32"), fine("Ex-0-pad.8k");
  ASSERT_EQ(coarse.result().outcome, voxtrel::Outcome::Spectrum);
  ASSERT_EQ(fine.result().outcome, voxtrel::Outcome::Spectrum);
  EXPECT_NEAR(highest(fine.spectrum()).hz, 110.0, 3.0);
  EXPECT_GT(std::abs(highest(coarse.spectrum()).hz - 110.0), 3.0);
}

// The periodogram example's window is what shows the weak tone: the same data without a
// window hide it in the strong tone's leakage.
TEST(ExampleFiles, PeriodogramWindowShowsTheWeakTone) {
  std::vector<std::string> replace(21);
  replace[18] = "Rectangular";
  ExampleRun plain("Ex-Perio.0", replace);
  ASSERT_EQ(plain.result().outcome, voxtrel::Outcome::Spectrum);
  const Spectrum s = plain.spectrum();
  EXPECT_LT(levelAt(s, 190.0), levelAt(s, 170.0)) << "without a window the leakage dominates";
}

// The smoothing of the Blackman-Tukey and minimum-variance examples is real: the periodogram of
// the same data is ragged, with many peaks within 20 dB of its top.
TEST(ExampleFiles, HumpDataHaveARaggedPeriodogram) {
  std::vector<std::string> replace(21);
  replace[6] = "Periodogram";
  replace[12] = "-999";
  replace[15] = "-999";
  replace[18] = "Rectangular";
  ExampleRun raw("Ex-Black.0", replace);
  ASSERT_EQ(raw.result().outcome, voxtrel::Outcome::Spectrum) << raw.result().stopText;
  int strong = 0;
  for (const auto& p : peaks(raw.spectrum())) strong += p.db > -20.0;
  EXPECT_GE(strong, 5);
}

}  // namespace
