// The cursor read-out against the arrays: the nearest point, held values between points, and
// the status-bar text.
#include "ReadOut.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace tessivar {
namespace {

TEST(ReadOut, NearestFinitePointOfTheCurrentCurve) {
  const std::vector<float> f = {0, 0.1f, 0.2f, 0.3f, 0.4f};
  const float inf = std::numeric_limits<float>::infinity();
  const std::vector<float> db = {-10, -3, -inf, -7, -1};
  const HeldCurves none;
  const struct {
    double at;
    int index;
  } cases[] = {{-1, 0}, {0.04, 0}, {0.06, 1}, {0.19, 1}, {0.26, 3}, {0.36, 4}, {9, 4}};
  for (const auto& c : cases) {
    const auto r = readOutAt(f, db, none, c.at);
    ASSERT_TRUE(r) << c.at;
    EXPECT_EQ(r->index, c.index) << c.at;
    EXPECT_EQ(r->freq, f[c.index]);
    EXPECT_EQ(r->db, db[c.index]);
  }
  EXPECT_FALSE(readOutAt({}, {}, none, 0.1));
  EXPECT_FALSE(readOutAt({0.1f}, {-inf}, none, 0.1));
}

TEST(ReadOut, HeldValuesOnTheLineBetweenTheirPoints) {
  HeldCurve c;
  c.freq = {0, 0.25f, 0.5f};
  c.db = {-20, 0, -std::numeric_limits<float>::infinity()};
  const struct {
    double at;
    std::optional<float> value;
  } cases[] = {{0, -20.0f}, {0.125, -10.0f}, {0.2, -4.0f}, {0.25, 0.0f},
               {0.3, 0.0f}, {-0.1, {}},      {0.6, {}}};
  for (const auto& k : cases) {
    const auto v = valueAt(c, k.at);
    ASSERT_EQ(v.has_value(), k.value.has_value()) << k.at;
    if (v) {
      EXPECT_NEAR(*v, *k.value, 1e-5) << k.at;
    }
  }
  // Negative frequencies first and the points in descending order read alike.
  HeldCurve down;
  down.freq = {0.5f, 0, -0.5f};
  down.db = {0, -10, -30};
  EXPECT_NEAR(*valueAt(down, -0.25), -20, 1e-5);
  EXPECT_NEAR(*valueAt(down, 0.1), -8, 1e-5);
}

TEST(ReadOut, TextUsesThePlotNumberFormat) {
  HeldCurves held;
  HeldCurve a;
  a.freq = {0, 0.5f};
  a.db = {-10, -20};
  a.label = "Periodogram, sine.dat";
  held.hold(a);
  HeldCurve b;
  b.freq = {0, 0.1f};
  b.db = {-3, -3};
  b.label = "Burg, p=4, sine.dat";
  held.hold(b);
  const auto r = readOutAt({0.125f, 0.25f}, {-1.5f, 0.0f}, held, 0.3);
  ASSERT_TRUE(r);
  EXPECT_EQ(readOutText(*r, held),
            "Frequency = .25   PSD = 0 dB   |   Periodogram, sine.dat: -15 dB   |   "
            "Burg, p=4, sine.dat: -");
}

}  // namespace
}  // namespace tessivar
