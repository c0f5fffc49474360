// Free-format input: the rules shared by the answer file and the data file.
#include "free_format.h"

#include <gtest/gtest.h>

#include <bit>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "test_support.h"

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

// A file is read in blocks of 64 KiB: records that span blocks, and a CR LF split between two
// blocks, read as they do from the same text in memory. Of a record the first 1,024
// characters are kept; a record longer than 1 MiB, or blank records as long, end the text.
TEST(FreeFormat, FileReadInBlocksGivesTheRecordsOfTheText) {
  const std::size_t block = 1 << 16;
  std::string text;
  std::vector<std::string> records;  // as they must be read back
  auto add = [&](const std::string& rec, const char* end) {
    text += rec;
    text += end;
    records.push_back(rec.substr(0, voxtrel::kRecordWidth));
  };
  for (int i = 0; text.size() < 5 * block; ++i) {
    // Line lengths that walk the ends across the block boundaries, some beyond the kept width.
    const std::size_t len = (i * 7919) % 3000;
    const char* ends[] = {"\r\n", "\n", "\r"};
    add(std::string(len, static_cast<char>('a' + i % 26)), ends[i % 3]);
  }
  // A CR LF whose LF starts the next block, and an empty record after it.
  add(std::string(6 * block - 1 - text.size(), 'z'), "\r\n");
  add("", "\n");
  add("last without a line end", "");

  vtest::TempDir dir;
  vtest::writeFile(dir / "records.txt", text);
  FreeReader file{voxtrel::TextFile((dir / "records.txt").string())};
  FreeReader memory{text};
  for (FreeReader* in : {&file, &memory}) {
    std::vector<std::string> got;
    std::string rec;
    while (in->readRecord(rec)) got.push_back(rec);
    ASSERT_EQ(got.size(), records.size());
    for (std::size_t i = 0; i < got.size(); ++i) EXPECT_EQ(got[i], records[i]) << "record " << i;
    in->rewind();
    ASSERT_TRUE(in->readRecord(rec));
    EXPECT_EQ(rec, records[0]);
  }

  struct Case {
    const char* what;
    std::string text;
    int values;  // integers read before the end
  } ends[] = {
      {"record of 1 MiB + 1", "1\r\n2\r\n" + std::string((1 << 20) + 1, '\0') + "\r\n3\r\n", 2},
      {"record of 1 MiB", "1\r\n" + std::string(1 << 20, ' ') + "\r\n3\r\n", 2},
      {"1 MiB of blank records", "1\r\n" + std::string(1 << 20, '\n') + "\n\n3\r\n", 1},
  };
  for (const auto& c : ends) {
    vtest::writeFile(dir / "end.txt", c.text);
    FreeReader in{voxtrel::TextFile((dir / "end.txt").string())};
    int n = 0, v = 0;
    while (in.readInt(v) == Status::Ok) ++n;
    EXPECT_EQ(n, c.values) << c.what;
    EXPECT_TRUE(in.atEnd()) << c.what;
  }
}

namespace {

// The correctly rounded float of a decimal text by the C library, after the Fortran exponent
// letters and a bare exponent sign are put in C's form.
float cFloat(std::string t) {
  for (char& c : t)
    if (c == 'd' || c == 'D' || c == 'q' || c == 'Q') c = 'e';
  for (std::size_t i = 1; i < t.size(); ++i)
    if ((t[i] == '+' || t[i] == '-') && std::isdigit(static_cast<unsigned char>(t[i - 1])))
      t.insert(i++, "e");
  return std::strtof(t.c_str(), nullptr);
}

}  // namespace

// Plain decimals of every shape (leading and trailing zeros, a point anywhere, exponents, signs,
// up to nine digits) read to the very float of a correctly rounded conversion, whether the
// short path takes them or not; the short path takes only what it converts exactly.
TEST(FreeFormat, PlainDecimalsGiveTheCorrectlyRoundedFloat) {
  std::uint32_t seed = 7;
  auto next = [&] { return seed = seed * 1664525u + 1013904223u; };
  int shortTaken = 0;
  for (int i = 0; i < 200000; ++i) {
    const int digits = 1 + static_cast<int>(next() % 9);
    std::string t = next() % 3 == 0 ? "-" : "";
    std::string body;
    for (int k = 0; k < digits; ++k) body += static_cast<char>('0' + next() % 10);
    const std::size_t point = next() % (body.size() + 2);
    if (point <= body.size()) body.insert(point, ".");
    t += body;
    if (next() % 4 == 0) t += (next() % 2 ? "e" : "E") + std::to_string(int(next() % 25) - 12);
    if (t == "." || t == "-.") continue;
    float got = -1, shortOne = -1;
    ASSERT_TRUE(voxtrel::parseReal(t, got)) << t;
    EXPECT_EQ(std::bit_cast<std::uint32_t>(got), std::bit_cast<std::uint32_t>(cFloat(t))) << t;
    if (voxtrel::parseShortDecimal(t, shortOne)) {
      ++shortTaken;
      EXPECT_EQ(std::bit_cast<std::uint32_t>(shortOne), std::bit_cast<std::uint32_t>(got)) << t;
    }
  }
  EXPECT_GT(shortTaken, 100000);
  // Sixteen-digit decimals whose nearest double lies exactly halfway between two floats although
  // they do not (rounding that double again would give the wrong float), exact halfway points
  // (ties to even), and a tie too long for the short path.
  for (const char* nearTie :
       {"4.470522299016011e-06", "1.467447887648632e-07", "2.293409824371338e+01",
        "-7.607621848583221e-01", "0.00004465397614694666", "1250121509656310e-17", "16777217",
        "-16777219", "1.00000005960464478"}) {
    float got = -1;
    ASSERT_TRUE(voxtrel::parseReal(nearTie, got)) << nearTie;
    EXPECT_EQ(std::bit_cast<std::uint32_t>(got), std::bit_cast<std::uint32_t>(cFloat(nearTie)))
        << nearTie;
  }
  float v = 3;
  for (const char* other : {"+1", "1d0", "1.5+3", "0x10", "1e", "1e+", "--1", "1.2.3", "inf"})
    EXPECT_FALSE(voxtrel::parseShortDecimal(other, v)) << other;
  EXPECT_EQ(v, 3.0f);
}

// Data records in the forms the reader accepts read the same values and statuses along the
// short path for plain records and the item rules for the rest.
TEST(FreeFormat, DataRecordFormsKeepTheirValues) {
  struct Case {
    const char* record;
    Status status;
    float x, y;  // expected after the read, from x = y = -7
  };
  const float inf = std::numeric_limits<float>::infinity();
  const std::vector<Case> cases = {
      {"0.001000 -0.4615", Status::Ok, cFloat("0.001"), cFloat("-0.4615")},
      {"  12.5\t, 3.25e-3   ! comment", Status::Ok, 12.5f, cFloat("3.25e-3")},
      {"1.5D2 2.5q-1", Status::Ok, 150.0f, 0.25f},
      {"1.0+3 +4.5", Status::Ok, 1000.0f, 4.5f},
      {"-.5 7.", Status::Ok, -0.5f, 7.0f},
      {"1e40 -Infinity", Status::Ok, inf, -inf},
      {"2*3.5", Status::Ok, 3.5f, 3.5f},
      {"1,,", Status::Ok, 1.0f, -7.0f},
      {"4 /", Status::Ok, 4.0f, -7.0f},
      {"5 x", Status::Error, 5.0f, -7.0f},
      {"abc 1", Status::Error, -7.0f, -7.0f},
      {"'6' 8", Status::Ok, 6.0f, 8.0f},
      {"123456789 0.1234567891", Status::Ok, cFloat("123456789"), cFloat("0.1234567891")},
  };
  for (const Case& c : cases) {
    FreeReader in(std::string(c.record) + "\r\n9 9\r\n");
    float x = -7, y = -7;
    EXPECT_EQ(in.readPair(x, y), c.status) << c.record;
    EXPECT_EQ(x, c.x) << c.record;
    EXPECT_EQ(y, c.y) << c.record;
    EXPECT_EQ(in.readPair(x, y), Status::Ok) << c.record;  // the rest of the record is passed
    EXPECT_EQ(y, 9.0f) << c.record;
  }
  // A value alone on its record is followed onto the next one for the second value.
  FreeReader split("1.25\n\n2.5 3\n");
  float x = 0, y = 0;
  EXPECT_EQ(split.readPair(x, y), Status::Ok);
  EXPECT_EQ(y, 2.5f);
  EXPECT_EQ(split.readFirstReal(x), Status::End);
}

// Counting data records without converting their first values gives the statuses of reading
// them, over plain decimals and the forms that need the general rules.
TEST(FreeFormat, CountingGivesTheStatusesOfReading) {
  const std::string text =
      "1.5 2\n-.5e3\n7.\n1e\n1e+\n.\n-\n+4\n1.5D2\n2*3\n,\n/\n'6'\nabc\n1e99999\n"
      "0.001000 -0.4615\n1.0+3 x\n\n   \n  9 , 1\n(1,2)\n-0\n12345678901234567890\n";
  FreeReader counted(text), read(text);
  for (;;) {
    float v = 0;
    const Status want = read.readFirstReal(v);
    ASSERT_EQ(counted.skipFirstReal(), want);
    if (want == Status::End) break;
  }
}

// Data records of random plain decimals, separators and tails, with blank records, pairs split
// over two records, records wider than the kept width (values past it not read) and a CR LF split
// between two blocks of the file: every pair read, from a file and from memory, is the correctly
// rounded pair of its texts, the record after a split CR LF is the next one, and counting finds
// every record that starts with a value.
TEST(FreeFormat, RandomDataRecordsReadAsTheirTexts) {
  const std::size_t block = 1 << 16;
  std::mt19937 rng(20);
  const auto pick = [&](auto& options) {
    return options[rng() % (sizeof options / sizeof options[0])];
  };
  const auto digits = [&](unsigned n) {
    std::string s;
    for (unsigned i = 0; i < n; ++i) s += static_cast<char>('0' + rng() % 10);
    return s;
  };
  const auto decimal = [&] {
    std::string s = rng() % 3 == 0 ? "-" : "";
    const std::string whole = digits(rng() % 5), fraction = digits(rng() % 9);
    s += whole.empty() && fraction.empty() ? "0" : whole;
    if (!fraction.empty() || rng() % 2 == 0) s += "." + fraction;
    if (rng() % 6 == 0) s += (rng() % 2 ? "e-" : "E") + std::to_string(rng() % 30);
    return s;
  };
  const char* seps[] = {" ", "\t", ",", " , ", "   ", "\t,"};
  const char* tails[] = {"", " ", "\t ", " extra", ",", " / 7", ", 5 6"};
  const char* ends[] = {"\r\n", "\n", "\r"};
  const char* leads[] = {"", " ", "\t"};
  std::string text;
  struct Want {
    float x = 0, y = 0;
    const char* record = nullptr;  // read as a whole record
  };
  std::vector<Want> want;
  int records = 0;  // records that start with a value
  while (text.size() < 4 * block) {
    const std::size_t toBlock = block - text.size() % block;
    if (toBlock > 3 && toBlock < 40) {
      // A record whose CR ends a block, its LF the first byte of the next.
      text += "1 2" + std::string(toBlock - 4, ' ') + "\r\n3 4\r\n";
      want.push_back({1.0f, 2.0f});
      want.push_back({0, 0, "3 4"});
      records += 2;
      continue;
    }
    const std::string a = decimal(), b = decimal();
    want.push_back({std::strtof(a.c_str(), nullptr), std::strtof(b.c_str(), nullptr)});
    switch (rng() % 12) {
      case 0:  // the second value on a later record, after a blank one
        text += a + pick(ends) + "  " + pick(ends) + b + pick(tails) + pick(ends);
        records += 2;
        break;
      case 1:  // wider than the kept width: the values are in the kept part
        text += a + pick(seps) + b + std::string(1100 + rng() % 200, ' ') + "x" + pick(ends);
        ++records;
        break;
      case 2:  // values past the kept width are not read: a blank record first
        text += std::string(voxtrel::kRecordWidth + rng() % 8, ' ') + "8 9" + pick(ends);
        text += a + pick(seps) + b + pick(ends);
        ++records;
        break;
      default:
        text += pick(leads) + a + pick(seps) + b + pick(tails) + pick(ends);
        ++records;
    }
  }
  vtest::TempDir dir;
  vtest::writeFile(dir / "data.txt", text);
  FreeReader file{voxtrel::TextFile((dir / "data.txt").string())};
  FreeReader memory{text};
  for (FreeReader* in : {&file, &memory}) {
    int counted = 0;
    while (in->skipFirstReal() == Status::Ok) ++counted;
    EXPECT_EQ(counted, records);
    in->rewind();
    for (std::size_t i = 0; i < want.size(); ++i) {
      if (want[i].record != nullptr) {
        std::string rec;
        ASSERT_TRUE(in->readRecord(rec)) << "record " << i;
        EXPECT_EQ(rec, want[i].record) << "record " << i;
        continue;
      }
      float x = 0, y = 0;
      ASSERT_EQ(in->readPair(x, y), Status::Ok) << "pair " << i;
      EXPECT_EQ(std::bit_cast<std::uint32_t>(x), std::bit_cast<std::uint32_t>(want[i].x))
          << "pair " << i;
      EXPECT_EQ(std::bit_cast<std::uint32_t>(y), std::bit_cast<std::uint32_t>(want[i].y))
          << "pair " << i;
    }
    float x = 0, y = 0;
    EXPECT_EQ(in->readPair(x, y), Status::End);
  }
}
