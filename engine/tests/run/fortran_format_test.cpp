// The run log's edit descriptors and free-form records.
#include "fortran_format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "runlog.h"

using namespace voxtrel;

TEST(FortranFormat, IntegerFieldsRightJustifyAndOverflowToAsterisks) {
  EXPECT_EQ(fmt::I(7, 3), "  7");
  EXPECT_EQ(fmt::I(-1, 2), "-1");
  EXPECT_EQ(fmt::I(210, 6), "   210");
  EXPECT_EQ(fmt::I(1234567, 6), "******");
  EXPECT_EQ(fmt::I(-10, 2), "**");
}

TEST(FortranFormat, ScientificHasOneDigitBeforeThePoint) {
  EXPECT_EQ(fmt::E(1.0e-15, 9, 3), "1.000E-15");
  EXPECT_EQ(fmt::E(1.0e-15, 12, 3), "   1.000E-15");
  EXPECT_EQ(fmt::E(0.0, 12, 5), " 0.00000E+00");
  EXPECT_EQ(fmt::E(-0.015625, 12, 5), "-1.56250E-02");
  EXPECT_EQ(fmt::E(-35.5, 15, 5), "   -3.55000E+01");
  EXPECT_EQ(fmt::E(-1.0e-15, 9, 3), "*********");  // no room for the sign
  EXPECT_EQ(fmt::E(std::numeric_limits<double>::quiet_NaN(), 9, 3), "      NaN");
}

TEST(FortranFormat, FixedKeepsTheLeadingZeroWhenThereIsRoom) {
  EXPECT_EQ(fmt::F(0.01, 6, 3), " 0.010");
  EXPECT_EQ(fmt::F(-0.5, 6, 3), "-0.500");
  EXPECT_EQ(fmt::F(-0.5, 5, 3), "-.500");
  EXPECT_EQ(fmt::F(12345.0, 6, 3), "******");
}

TEST(FortranFormat, FreeRealsAreShortestExact) {
  EXPECT_EQ(fmt::freeReal(0.015625f), "0.015625");
  EXPECT_EQ(fmt::freeReal(1.0e10f), "1e+10");
  EXPECT_EQ(fmt::freeReal(-100.0f), "-100");
}

TEST(RunLogRecords, FreeFormRecordsStartWithOneBlank) {
  RunLog log;
  log.put(" Starting Spectral Estimation calculations and Plot");
  log.put({"dataFile = ", "x.rda", "<---"});
  log.put({" nPoints = ", 1024});
  log.put({" nPoints / n_freq_pts =", 1024, 512});
  log.put(" ");
  log.blank();
  log.raw(" \xAF Line   1");
  const auto lines = log.lines();
  ASSERT_EQ(lines.size(), 7u);
  EXPECT_EQ(lines[0], " Starting Spectral Estimation calculations and Plot");
  EXPECT_EQ(lines[1], " dataFile = x.rda<---");
  EXPECT_EQ(lines[2], " nPoints = 1024");
  EXPECT_EQ(lines[3], " nPoints / n_freq_pts = 1024 512");
  EXPECT_EQ(lines[4], " ");
  EXPECT_EQ(lines[5], "");
  EXPECT_EQ(lines[6], " \xAF Line   1");
  EXPECT_NE(log.memory().find("and Plot\r\n dataFile"), std::string::npos);
}

TEST(RunLogRecords, FloatAndDoubleItemsKeepTheirOwnPrecisionAndADiscardingLogKeepsNothing) {
  RunLog log;
  const std::string name = "x.rda";
  const float third = 1.0f / 3.0f;
  log.put({" t =", third, 1.0 / 3.0, 7LL, name});
  EXPECT_EQ(log.lines().at(0),
            " t = " + fmt::freeReal(third) + " " + fmt::freeReal(1.0 / 3.0) + " 7x.rda");
  EXPECT_NE(fmt::freeReal(third), fmt::freeReal(static_cast<double>(third)));

  RunLog none(LogMode::Discard);
  EXPECT_FALSE(none.keeps());
  none.put({" nPoints = ", 1024});
  none.raw("record");
  none.prompt("Enter L: ");
  none.blank();
  EXPECT_TRUE(none.memory().empty());
}
