// The order scan of an answer file, through the engine and through voxtrel-run --order-scan.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "arma_synth.h"
#include "log_lines.h"
#include "test_support.h"
#include "voxtrel/order_scan.h"

namespace {

using vtest::linesOf;

const std::string kRunner = std::filesystem::absolute(VOXTREL_RUN_CLI).string();

// The runner started in dir with its output in stdout.txt and stderr.txt; its exit status.
int runner(const vtest::TempDir& dir, const std::string& args) {
#ifdef _WIN32
  const std::string cmd = "cd /d \"" + dir.path().string() + "\" && \"" + kRunner + "\" " + args +
                          " > stdout.txt 2> stderr.txt";
#else
  const std::string cmd = "cd '" + dir.path().string() + "' && '" + kRunner + "' " + args +
                          " > stdout.txt 2> stderr.txt";
#endif
  return std::system(cmd.c_str());
}

// An AR(2) series of 300 samples and a Burg answer file that uses the first 256 of them.
std::vector<float> writeBurgRun(const vtest::TempDir& dir, const std::string& method = "Burg") {
  const auto y = vtest::armaSeries(vtest::kPeakA, {}, 300, 4);
  vtest::Answer a;
  a.method = method;
  a.npoints = "256";
  a.npoles = "4";
  vtest::writeFile(dir / "data.rda", vtest::realData(y));
  a.data = (dir / "data.rda").string();
  vtest::writeFile(dir / "run.1", a.text());
  return y;
}

}  // namespace

TEST(OrderScanAnswer, ScansTheSamplesARunWouldUse) {
  vtest::TempDir dir;
  const auto y = writeBurgRun(dir);
  const auto got = voxtrel::order_scan_answer((dir / "run.1").string(), 12);
  ASSERT_EQ(got.status, voxtrel::EstimateStatus::Ok) << got.message;
  EXPECT_EQ(got.method, voxtrel::EstimateMethod::Burg);
  EXPECT_EQ(got.samplesUsed, 256);
  voxtrel::OrderScanParams p;
  p.maxOrder = 12;
  const auto want = voxtrel::order_scan(p, std::span<const float>(y.data(), 256));
  EXPECT_EQ(got.rho, want.rho);
  EXPECT_EQ(got.picks.mdl, 2);  // the AR(2) model's own order
  // In double precision the same samples' fits in double.
  const auto wide =
      voxtrel::order_scan_answer((dir / "run.1").string(), 12, voxtrel::Precision::Double);
  p.precision = voxtrel::Precision::Double;
  EXPECT_EQ(wide.rho, voxtrel::order_scan(p, std::span<const float>(y.data(), 256)).rho);
  EXPECT_NE(wide.rho, got.rho);

  const auto missing = voxtrel::order_scan_answer((dir / "none.1").string(), 4);
  EXPECT_EQ(missing.status, voxtrel::EstimateStatus::Stopped);
  EXPECT_EQ(missing.message, "The answer file " + (dir / "none.1").string() + " cannot be opened");
}

TEST(OrderScanAnswer, CommandLinePrintsTheTableAndWritesCsv) {
  vtest::TempDir dir;
  writeBurgRun(dir);
  ASSERT_EQ(runner(dir, "run.1 --order-scan 5 --csv scan.csv --precision double"), 0);
  const auto scan =
      voxtrel::order_scan_answer((dir / "run.1").string(), 5, voxtrel::Precision::Double);
  const auto out = linesOf(vtest::readFile(dir / "stdout.txt"));
  ASSERT_EQ(out.size(), 8u);
  EXPECT_EQ(out[0], "order scan: Burg method, 256 samples");
  EXPECT_EQ(out[1],
            "order            rho            FPE            AIC            MDL            CAT");
  char row[160];
  std::snprintf(row, sizeof row, "%5d %14.7g %14.7g %14.7g %14.7g %14.7g", 3, scan.rho[2],
                scan.fpe[2], scan.aic[2], scan.mdl[2], scan.cat[2]);
  EXPECT_EQ(out[4], row);
  EXPECT_EQ(out[7], "picks: FPE " + std::to_string(scan.picks.fpe) + ", AIC " +
                        std::to_string(scan.picks.aic) + ", MDL 2, CAT " +
                        std::to_string(scan.picks.cat));
  const auto csv = linesOf(vtest::readFile(dir / "scan.csv"));
  ASSERT_EQ(csv.size(), 6u);
  EXPECT_EQ(csv[0], "order,rho,FPE,AIC,MDL,CAT");
  EXPECT_EQ(csv[5].substr(0, 2), "5,");
}

TEST(OrderScanAnswer, CommandLineRefusesWhatItCannotScan) {
  vtest::TempDir dir;
  writeBurgRun(dir, "Periodogram");
  EXPECT_NE(runner(dir, "run.1 --order-scan 5"), 0);
  EXPECT_EQ(linesOf(vtest::readFile(dir / "stderr.txt"))[0],
            "voxtrel-run: order scan of run.1: method = 11 is out of range: the order scan takes 1 "
            "(autocorrelation), 2 (Burg), 4 (covariance), 5 (modified covariance) or 14 "
            "(Lockheed)");
  EXPECT_NE(runner(dir, "run.1 --order-scan 0"), 0);
  EXPECT_EQ(
      linesOf(vtest::readFile(dir / "stderr.txt")),
      std::vector<std::string>{"voxtrel-run: --order-scan 0: MAX must be a whole number >= 1"});
}
