// A caller's stop request: every method gives way to it wherever it comes, with the stop's text
// as the run log's last line; a request that never comes leaves the run as it was. (A request
// from another thread: Entry.StopRequestCutsThePauseShort and the program's RunOnWorker tests.)
#include <gtest/gtest.h>

#include <functional>
#include <new>
#include <stdexcept>

#include "arma_synth.h"
#include "fatal.h"
#include "test_support.h"

namespace {

struct MethodCase {
  const char* method;
  const char *npoles, *nzeros, *eps, *meqs, *lpts, *mlag, *nit, *per;
};

// Every method, with parameters it accepts on 512 samples of an ARMA(2,2) series.
const MethodCase kCases[] = {
    {"Auto-correlation", "8", "-999", "-999", "-999", "-999", "-999", "-999", "-999"},
    {"Burg", "8", "-999", "-999", "-999", "-999", "-999", "-999", "-999"},
    {"RMLE", "6", "-999", "-999", "-999", "-999", "-999", "-999", "-999"},
    {"Covariance", "8", "-999", "1e-6", "-999", "-999", "-999", "-999", "-999"},
    {"Modified Covariance", "8", "-999", "1e-6", "-999", "-999", "-999", "-999", "-999"},
    {"MYWE", "4", "2", "1e-6", "-999", "-999", "-999", "-999", "-999"},
    {"LSMYWE", "4", "2", "1e-6", "200", "-999", "-999", "-999", "-999"},
    {"Akaike", "2", "2", "1e-9", "200", "-999", "-999", "20", "0.01"},
    {"MayneFir", "4", "2", "1e-6", "-999", "60", "-999", "-999", "-999"},
    {"Durbin", "-999", "2", "-999", "-999", "60", "-999", "-999", "-999"},
    {"Periodogram", "-999", "-999", "-999", "-999", "-999", "-999", "-999", "-999"},
    {"Blackman-Tukey", "-999", "-999", "-999", "-999", "-999", "40", "-999", "-999"},
    {"MVSE", "12", "-999", "1e-6", "-999", "128", "-999", "-999", "-999"},
    {"Lockheed (Auto./Burg)", "8", "2", "-999", "-999", "-999", "-999", "-999", "-999"},
};

vtest::Answer answerFor(const MethodCase& c, const std::string& npoints) {
  vtest::Answer a;
  a.method = c.method;
  a.npoints = npoints;
  a.npoles = c.npoles;
  a.nzeros = c.nzeros;
  a.eps = c.eps;
  a.mode = "0";
  a.meqs = c.meqs;
  a.lpts = c.lpts;
  a.mlag = c.mlag;
  a.nit = c.nit;
  a.per = c.per;
  a.window = "Hamming";
  return a;
}

// Runs answer a on samples y in dir, asking stopRequested (when given) as the engine does.
voxtrel::RunResult runWith(const vtest::TempDir& dir, vtest::Answer a, const std::vector<float>& y,
                           std::function<bool()> stopRequested) {
  vtest::writeFile(dir / "data.rda", vtest::realData(y));
  a.data = (dir / "data.rda").string();
  vtest::writeFile(dir / a.name, a.text());
  voxtrel::RunOptions options;
  options.logPath = dir / "~Tirelle.out";
  options.now = vtest::fixedTime();
  options.stopRequested = std::move(stopRequested);
  return voxtrel::run((dir / a.name).string(), options);
}

void expectStoppedByUser(const vtest::TempDir& dir, const voxtrel::RunResult& res) {
  EXPECT_EQ(res.outcome, voxtrel::Outcome::Stopped);
  EXPECT_EQ(res.status, voxtrel::kStatusStopped);
  EXPECT_EQ(res.stopText, "Stopped by the user.");
  const auto lines = vtest::readLines(dir / "~Tirelle.out");
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.back(), "Stopped by the user.");
}

}  // namespace

// The request is asked at many places of every method's run; a run stopped at the first, the
// middle or the last of them ends as a stop. One never made gives the run's very bytes.
TEST(StopRequest, EveryMethodGivesWayWhereverTheRequestComes) {
  const auto y = vtest::armaSeries(vtest::kPeakA, vtest::kNotchB, 512, 3);
  for (const MethodCase& c : kCases) {
    SCOPED_TRACE(c.method);
    const vtest::Answer a = answerFor(c, "512");
    vtest::TempDir dir;
    const voxtrel::RunResult reference = runWith(dir, a, y, {});
    const std::string referenceLog = vtest::readFile(dir / "~Tirelle.out");
    int asks = 0;
    const voxtrel::RunResult res = runWith(dir, a, y, [&asks] {
      ++asks;
      return false;
    });
    EXPECT_EQ(res.outcome, reference.outcome);
    EXPECT_EQ(res.spectrum, reference.spectrum);
    EXPECT_EQ(vtest::readFile(dir / "~Tirelle.out"), referenceLog);
    // Beyond reading the data: the estimator and the decibel table ask too.
    EXPECT_GT(asks, 2);

    for (const int at : {1, asks / 2, asks}) {
      int n = 0;
      const voxtrel::RunResult stopped = runWith(dir, a, y, [&n, at] { return ++n >= at; });
      EXPECT_EQ(n, at);
      expectStoppedByUser(dir, stopped);
    }
  }
}

// An entry that returns its outcome says why it ended by an exception: the stop's own text,
// the memory running out during its job, or an internal error by its description.
TEST(StopReason, NamesTheStopTheMemoryOrTheInternalError) {
  const struct {
    std::function<void()> fail;
    std::string reason;
  } cases[] = {
      {[] { voxtrel::fatalStop(" Too few data points"); }, " Too few data points"},
      {[] { throw std::bad_alloc(); }, "Allocate error: not enough memory for this scan"},
      {[] { throw std::length_error("vector"); }, "Internal error: vector"},
      {[] { throw 7; }, "Internal error: an exception of unknown type"},
  };
  for (const auto& c : cases) {
    std::string got;
    try {
      c.fail();
    } catch (...) {
      got = voxtrel::stopReason("scan");
    }
    EXPECT_EQ(got, c.reason);
  }
}
