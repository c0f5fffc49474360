// The run log's edit descriptors and free-form records.
#include "fortran_format.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

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

// The fields against the C library's own conversion of the same value: the same digits, the same
// rounding (carries into a new leading digit, ties), signs of zero, and exponents of two and three
// digits.
TEST(FortranFormat, FieldsMatchTheCLibraryConversion) {
  std::vector<double> values = {0.0,         -0.0,
                                1.0,         -1.0,
                                9.99995,     9.999949,
                                99999.5,     0.5,
                                1.5,         2.5,
                                0.125,       -0.0625,
                                1e-15,       9.5e-100,
                                9.99999e99,  1e100,
                                -1e-100,     1.7976931348623157e308,
                                4.9e-324,    2.2250738585072014e-308,
                                123456789.0, 0.0009765625,
                                3.4028235e38};
  // Floats as the spectra hold them, over many decades and both signs.
  std::uint32_t seed = 12345;
  for (int i = 0; i < 4000; ++i) {
    seed = seed * 1664525u + 1013904223u;
    const float mant = static_cast<float>(seed >> 8) / static_cast<float>(1u << 24);
    const int ex = static_cast<int>(seed % 90) - 45;
    const float v = (i % 2 ? -1.0f : 1.0f) * mant * std::pow(10.0f, static_cast<float>(ex));
    if (std::isfinite(v)) values.push_back(static_cast<double>(v));
  }
  char buf[600];
  for (double v : values) {
    for (int d : {0, 1, 3, 4, 5, 7, 12}) {
      std::snprintf(buf, sizeof buf, "%.*E", d, v);
      std::string want = buf;
      const auto e = want.find('E');
      const int ex = std::atoi(want.c_str() + e + 1);
      if (std::abs(ex) > 99) want.erase(e, 1);  // a three-digit exponent takes the letter's place
      EXPECT_EQ(fmt::E(v, 0, d), want) << v << " d=" << d;
      std::snprintf(buf, sizeof buf, "%.*f", d, v);
      EXPECT_EQ(fmt::F(v, 600, d), std::string(600 - std::strlen(buf), ' ') + buf)
          << v << " d=" << d;
    }
  }
  EXPECT_EQ(fmt::E(9.99995, 12, 4), "  1.0000E+01");
  EXPECT_EQ(fmt::E(1e100, 11, 3), "  1.000+100");
  EXPECT_EQ(fmt::E(-9.5e-100, 11, 3), " -9.500-100");
  EXPECT_EQ(fmt::E(-std::numeric_limits<double>::infinity(), 12, 3), "   -Infinity");
  EXPECT_EQ(fmt::F(std::numeric_limits<double>::infinity(), 6, 3), "   Inf");
}

// Single-precision values take the digits of their shortest form rounded to the field: the same
// text as the C library's exact conversion, over every decade of normal floats, the floats
// nearest to seven-digit decimals that end halfway (shortest digits that are a tie), nines that
// carry into a new leading digit, and a few hundred thousand random bit patterns.
TEST(FortranFormat, SinglePrecisionFieldsMatchTheCLibraryConversion) {
  std::vector<float> values = {9.999995f,
                               9.9999949f,
                               1.234565f,
                               0.5f,
                               1.0f,
                               3.4028235e38f,
                               std::numeric_limits<float>::min()};
  std::uint32_t seed = 2024;
  auto next = [&] { return seed = seed * 1664525u + 1013904223u; };
  for (int i = 0; i < 200000; ++i) {
    const std::uint32_t bits = next();
    const float v = std::bit_cast<float>(bits);
    if (std::isfinite(v)) values.push_back(v);
  }
  char text[32];
  for (int i = 0; i < 20000; ++i) {
    // d.dddddd5 and d.ddddd5 times a power of ten, read as the nearest float.
    std::snprintf(text, sizeof text, "%u.%06u5e%d", 1 + next() % 9, next() % 1000000,
                  static_cast<int>(next() % 70) - 35);
    values.push_back(std::strtof(text, nullptr));
    std::snprintf(text, sizeof text, "%u.%05u5e%d", 1 + next() % 9, next() % 100000,
                  static_cast<int>(next() % 70) - 35);
    values.push_back(std::strtof(text, nullptr));
  }
  char buf[64];
  for (float f : values) {
    const double v = static_cast<double>(f);
    for (int d = 0; d <= 6; ++d) {
      std::snprintf(buf, sizeof buf, "%.*E", d, v);
      ASSERT_EQ(fmt::E(v, 0, d), buf) << std::bit_cast<std::uint32_t>(f) << " d=" << d;
    }
  }
}
