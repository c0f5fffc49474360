// The general number format, the "#" format codes and the reading of text-box numbers.
#include "NumberFormat.h"

#include <gtest/gtest.h>

#include <cmath>

#include "TestPrinters.h"

namespace tessivar {
namespace {

struct SingleCase {
  float value;
  const char* text;
};

TEST(NumberFormat, SingleGeneralFormat) {
  const SingleCase cases[] = {
      {0.0f, " 0"},
      {1.0f, " 1"},
      {-1.0f, "-1"},
      {0.25f, " .25"},
      {-0.5f, "-.5"},
      {50.6f, " 50.6"},
      {4.6f, " 4.6"},
      {1.0E-05f, " 1E-05"},
      {0.0001f, " .0001"},
      {1234567.0f, " 1234567"},
      {12345678.0f, " 1.234568E+07"},
      {-2.0f, "-2"},
      {1.5E-07f, " 1.5E-07"},
      {0.1f, " .1"},
      {-60.0f, "-60"},
  };
  for (const auto& c : cases) EXPECT_EQ(formatSingle(c.value), QString(c.text)) << c.value;
}

TEST(NumberFormat, DoubleGeneralFormatKeepsFifteenDigits) {
  EXPECT_EQ(formatDouble(0.1f), " .100000001490116");  // a single's binary value shows
  EXPECT_EQ(formatDouble(0.05), " .05");
  EXPECT_EQ(formatDouble(0.01), " .01");
  EXPECT_EQ(formatDouble(-0.0), " 0");
  EXPECT_EQ(formatDouble(123456789012.0), " 123456789012");
  EXPECT_EQ(formatDouble(1e15), " 1E+15");
}

struct CodeCase {
  double value;
  const char* code;
  const char* text;
};

TEST(NumberFormat, FormatCodesPrintNoLeadingOrTrailingZero) {
  const CodeCase cases[] = {
      {5.06, "###.#", "5.1"},       {12, "###.#", "12."},    {0, "###.#", "."},
      {51, "###.#", "51."},         {10.2, "###.#", "10.2"}, {-60, "###.#", "-60."},
      {0.04, "###.#", "."},         {-0.04, "###.#", "."},   {0.25, "###.#", ".3"},
      {12.345, "###.##", "12.35"},  {-46, "###.##", "-46."}, {2.4000001, "###.##", "2.4"},
      {1234.56, "###.#", "1234.6"}, {5.1f, "###.#", "5.1"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(formatCode(c.value, c.code), QString(c.text)) << c.value << " " << c.code;
}

TEST(NumberFormat, LeadingNumberReadsLikeATextBox) {
  EXPECT_DOUBLE_EQ(leadingNumber("abc"), 0);
  EXPECT_DOUBLE_EQ(leadingNumber(""), 0);
  EXPECT_DOUBLE_EQ(leadingNumber("  2.5"), 2.5);
  EXPECT_DOUBLE_EQ(leadingNumber(" .0506"), 0.0506);
  EXPECT_DOUBLE_EQ(leadingNumber("-.5x"), -0.5);
  EXPECT_DOUBLE_EQ(leadingNumber("5abc"), 5);
  EXPECT_DOUBLE_EQ(leadingNumber("1E-05"), 1e-5);
  EXPECT_DOUBLE_EQ(leadingNumber("1D2"), 100);
  EXPECT_DOUBLE_EQ(leadingNumber("3E"), 3);
}

TEST(NumberFormat, WholeNumberRefusesTextThatIsNotANumber) {
  EXPECT_EQ(wholeNumber(" -60 "), std::optional<double>(-60));
  EXPECT_EQ(wholeNumber(" 4.6"), std::optional<double>(4.6));
  EXPECT_FALSE(wholeNumber("abc"));
  EXPECT_FALSE(wholeNumber(""));
  EXPECT_FALSE(wholeNumber("5abc"));
  EXPECT_FALSE(wholeNumber("-"));
  EXPECT_FALSE(wholeNumber("1e999"));
}

}  // namespace
}  // namespace tessivar
