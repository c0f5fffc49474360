// The run-summary header and the refusal of overrides that give no usable axis.
#include <gtest/gtest.h>

#include <QStringList>

#include "PlotOverride.h"
#include "RunSummary.h"
#include "TestPrinters.h"

namespace tessivar {
namespace {

TEST(RunSummary, HeaderLines) {
  const QString text = runSummaryText("sf_49.ans", "12/7/26", "9:08:24 AM");
  const QStringList lines = text.split("\r\n");
  ASSERT_EQ(lines.size(), 8);
  EXPECT_EQ(lines[0], "        ----" + QString(53, ' '));
  EXPECT_EQ(lines[1], "Tessivar (tm) Results\t\t     12/7/26 9:08:24 AM");
  EXPECT_EQ(lines[2], "      --------\t\t==========================");
  EXPECT_EQ(lines[3], "        ----File: sf_49.ans" + QString(53 - 15, ' '));
  EXPECT_EQ(lines[4], " ");
  EXPECT_EQ(lines[5], " ");
  EXPECT_EQ(lines[6], " ================ Summary of Run =================");
  EXPECT_EQ(lines[7], " =================================================");
  EXPECT_FALSE(text.startsWith("\r\n"));
}

TEST(RunSummary, LongNameIsNotCut) {
  const QString name(60, 'a');
  EXPECT_EQ(runSummaryText(name, "d", "t").split("\r\n")[3], "        ----File: " + name);
}

TEST(Override, UsableEntriesGiveMinAndMinPlusSteps) {
  const OverrideCheck x = checkOverride({true, " 0", " 4.6"}, "X", 10);
  ASSERT_TRUE(x.limits);
  EXPECT_FLOAT_EQ(x.limits->min, 0);
  EXPECT_FLOAT_EQ(x.limits->max, 46);
  const OverrideCheck y = checkOverride({true, "-60", "16"}, "Y", 5);
  ASSERT_TRUE(y.limits);
  EXPECT_FLOAT_EQ(y.limits->max, 20);
}

TEST(Override, EntriesThatGiveNoAxisAreRefusedWithTheBoxNamed) {
  const struct {
    const char* min;
    const char* step;
    const char* message;
  } cases[] = {
      {"abc", "5", "No plot drawn: 'Enter Y-min value:' holds \"abc\", which is not a number."},
      {"", "5", "No plot drawn: 'Enter Y-min value:' holds \"\", which is not a number."},
      {"-60", "-5",
       "No plot drawn: 'Y-step for 5 steps:' holds \"-5\"; the step must be a number above "
       "zero."},
      {"-60", "0", "No plot drawn: 'Y-step for 5 steps:' holds \"0\"; the step must be"},
      {"-60", "x", "No plot drawn: 'Y-step for 5 steps:' holds \"x\"; the step must be"},
      {"1e38", "1e38", "give no usable range in single precision."},
  };
  for (const auto& c : cases) {
    const OverrideCheck r = checkOverride({true, c.min, c.step}, "Y", 5);
    EXPECT_FALSE(r.limits) << c.min << " " << c.step;
    EXPECT_TRUE(r.error.contains(c.message)) << r.error.toStdString();
    EXPECT_TRUE(r.error.endsWith(
        "\r\nPlease correct it on the 'Setup' tab, or clear 'Use following Y values for "
        "plots:', and plot again."));
  }
}

}  // namespace
}  // namespace tessivar
