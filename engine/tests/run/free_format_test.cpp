// Free-format input: the rules shared by the answer file and the data file.
#include <gtest/gtest.h>

#include <cmath>

#include "free_format.h"

using voxtrel::FreeReader;
using Status = FreeReader::Status;

TEST(FreeFormat, FirstTokenOfTheLineIsTheValue) {
  FreeReader in("10  \t\t! 9. nPoles\r\n1.e-15\t! EPS\r\nModified Covariance  ! 6.\r\n");
  int i = 0;
  float f = 0;
  std::string s;
  EXPECT_EQ(in.readInt(i), Status::Ok);
  EXPECT_EQ(i, 10);
  EXPECT_EQ(in.readReal(f), Status::Ok);
  EXPECT_FLOAT_EQ(f, 1.0e-15f);
  EXPECT_EQ(in.readText(s), Status::Ok);
  EXPECT_EQ(s, "Modified");
  EXPECT_EQ(in.readInt(i), Status::End);
}

TEST(FreeFormat, BlankRecordsAreSkippedAndQuotesKeepBlanks) {
  FreeReader in("\r\n   \r\n'Lockheed (Autocorr/Burg)' ! x\n\"it\"\"s\"\n");
  std::string s;
  EXPECT_EQ(in.readText(s), Status::Ok);
  EXPECT_EQ(s, "Lockheed (Autocorr/Burg)");
  EXPECT_EQ(in.readText(s), Status::Ok);
  EXPECT_EQ(s, "it\"s");
}

TEST(FreeFormat, UnquotedTextEndsAtBlankCommaOrSlash) {
  FreeReader in("Lockheed (Autocorr/Burg)\nAuto-Correlation,Burg\nPer/iodogram\n");
  std::string s;
  in.readText(s);
  EXPECT_EQ(s, "Lockheed");
  in.readText(s);
  EXPECT_EQ(s, "Auto-Correlation");
  in.readText(s);
  EXPECT_EQ(s, "Per");
}

TEST(FreeFormat, EmptyValueAndSlashLeaveTheVariable) {
  FreeReader in(",5\n/\n7\n");
  int i = 42;
  EXPECT_EQ(in.readInt(i), Status::Null);
  EXPECT_EQ(i, 42);
  EXPECT_EQ(in.readInt(i), Status::Null);
  EXPECT_EQ(i, 42);
  EXPECT_EQ(in.readInt(i), Status::Ok);
  EXPECT_EQ(i, 7);
}

TEST(FreeFormat, NumbersFollowTheInputRules) {
  int i = 0;
  float f = 0;
  EXPECT_TRUE(voxtrel::parseInt("-999", i));
  EXPECT_EQ(i, -999);
  EXPECT_FALSE(voxtrel::parseInt("1.5", i));
  EXPECT_FALSE(voxtrel::parseInt("1099511627776", i));  // 2^40 does not fit
  EXPECT_FALSE(voxtrel::parseInt("abc", i));
  EXPECT_TRUE(voxtrel::parseReal("1.d-3", f));
  EXPECT_FLOAT_EQ(f, 1.0e-3f);
  EXPECT_TRUE(voxtrel::parseReal(".5", f));
  EXPECT_FLOAT_EQ(f, 0.5f);
  EXPECT_TRUE(voxtrel::parseReal("1E40", f));
  EXPECT_TRUE(std::isinf(f));
  EXPECT_TRUE(voxtrel::parseReal("NaN", f));
  EXPECT_TRUE(std::isnan(f));
  EXPECT_TRUE(voxtrel::parseReal("-Infinity", f));
  EXPECT_TRUE(std::isinf(f) && f < 0);
  EXPECT_FALSE(voxtrel::parseReal("1e", f));
  EXPECT_FALSE(voxtrel::parseReal("x1", f));
  EXPECT_FALSE(voxtrel::parseReal(".", f));
}

TEST(FreeFormat, DataRecordsRealAndComplex) {
  FreeReader in("0 1.5\r\n1,2.5\r\n2 3 extra\r\n");
  float x = 0, y = 0;
  EXPECT_EQ(in.readPair(x, y), Status::Ok);
  EXPECT_FLOAT_EQ(y, 1.5f);
  EXPECT_EQ(in.readPair(x, y), Status::Ok);
  EXPECT_FLOAT_EQ(x, 1.0f);
  EXPECT_FLOAT_EQ(y, 2.5f);
  EXPECT_EQ(in.readPair(x, y), Status::Ok);
  EXPECT_FLOAT_EQ(y, 3.0f);
  EXPECT_EQ(in.readPair(x, y), Status::End);

  FreeReader c("0.5 (1.0, -2.0)\n1.5 ( 3 ,4 )\n2.5 text\n");
  std::complex<float> z;
  EXPECT_EQ(c.readComplexPoint(x, z), Status::Ok);
  EXPECT_EQ(z, std::complex<float>(1.0f, -2.0f));
  EXPECT_EQ(c.readComplexPoint(x, z), Status::Ok);
  EXPECT_FLOAT_EQ(x, 1.5f);
  EXPECT_EQ(z, std::complex<float>(3.0f, 4.0f));
  EXPECT_EQ(c.readComplexPoint(x, z), Status::Error);
}

TEST(FreeFormat, CrOnlyLineEndsSeparateRecords) {
  FreeReader in("0 1\r1 2\r2 3\r");
  float x = 0, y = 0;
  int n = 0;
  while (in.readPair(x, y) == Status::Ok) ++n;
  EXPECT_EQ(n, 3);
}

TEST(FreeFormat, RepeatCountsAndWholeRecords) {
  FreeReader in("2*7\nline two! comment\n");
  int i = 0;
  EXPECT_EQ(in.readInt(i), Status::Ok);
  EXPECT_EQ(i, 7);
  std::string rec;
  EXPECT_TRUE(in.readRecord(rec));
  EXPECT_EQ(rec, "line two! comment");
  EXPECT_FALSE(in.readRecord(rec));
}
