#include <gtest/gtest.h>

#include <cmath>

#include "test_support.h"

TEST(Smoke, PeriodogramRunsEndToEnd) {
  vtest::TempDir dir;
  std::vector<float> y(64);
  for (int i = 0; i < 64; ++i) y[i] = std::cos(2.0f * 3.14159265f * 8.0f * i / 64.0f);
  const auto res = vtest::run(dir, vtest::Answer{}, vtest::realData(y));
  ASSERT_EQ(res.outcome, voxtrel::Outcome::Spectrum) << res.stopText;
  EXPECT_EQ(res.status, 64);
  EXPECT_EQ(res.nFreqPts, 32);
}
