// The spectrum's comma-separated form: numbers that read back bit for bit, the comment lines
// and the peaks file's name. (The peak rule is the peak list's, tested with it.)
#include "voxtrel/spectrum_csv.h"

#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <random>

namespace {

using voxtrel::csv::number;

float parsed(const std::string& text) {
  float v = std::nanf("");
  const auto r = std::from_chars(text.data(), text.data() + text.size(), v);
  EXPECT_EQ(r.ptr, text.data() + text.size()) << text;
  return v;
}

TEST(SpectrumCsv, NumbersReadBackAsTheSameFloatInTheShortestText) {
  const struct {
    float v;
    const char* text;
  } cases[] = {
      {0.1f, "0.1"},
      {-3.0103f, "-3.0103"},
      {0.0f, "0"},
      {1e-30f, "1e-30"},
      {16777216.0f, "16777216"},
      {-std::numeric_limits<float>::infinity(), "-inf"},  // the decibels of a zero power
  };
  for (const auto& c : cases) {
    EXPECT_EQ(number(c.v), c.text);
    EXPECT_EQ(parsed(number(c.v)), c.v);
  }
  // Any finite float, the extremes and subnormals included, comes back bit for bit, and C's
  // strtof (what most CSV readers use) agrees.
  std::mt19937 bits(7);
  std::vector<float> values = {std::numeric_limits<float>::denorm_min(),
                               std::numeric_limits<float>::max(), std::numeric_limits<float>::min(),
                               -0.0f};
  for (int i = 0; i < 20000; ++i) {
    const float v = std::bit_cast<float>(static_cast<std::uint32_t>(bits()));
    if (std::isfinite(v)) values.push_back(v);
  }
  for (float v : values) {
    const std::string text = number(v);
    ASSERT_EQ(std::bit_cast<std::uint32_t>(parsed(text)), std::bit_cast<std::uint32_t>(v)) << text;
    ASSERT_EQ(std::bit_cast<std::uint32_t>(std::strtof(text.c_str(), nullptr)),
              std::bit_cast<std::uint32_t>(v))
        << text;
    ASSERT_LE(text.size(), 15u) << text;
  }
}

TEST(SpectrumCsv, CommentLinesNameTheRunAndTheOrdersItTakes) {
  voxtrel::csv::RunInfo info;
  info.method = "Burg";
  info.answerFile = "c:\\runs\\Ex-Burg.0";
  info.dataFile = "TwoTone.cda";
  info.nPoints = 256;
  info.date.tm_year = 126;
  info.date.tm_mon = 11;
  info.date.tm_mday = 7;
  info.date.tm_hour = 9;
  info.date.tm_min = 30;
  info.date.tm_sec = 5;
  const std::string fixed =
      "# method: Burg\n# answer file: c:\\runs\\Ex-Burg.0\n# data file: TwoTone.cda\n"
      "# nPoints: 256\n";
  const struct {
    std::optional<int> poles, zeros;
    const char* orders;
  } cases[] = {
      {8, std::nullopt, "# orders: nPoles = 8\n"},
      {2, 2, "# orders: nPoles = 2, nZeros = 2\n"},
      {std::nullopt, 5, "# orders: nZeros = 5\n"},
      {std::nullopt, std::nullopt, "# orders: none\n"},
  };
  for (const auto& c : cases) {
    info.nPoles = c.poles;
    info.nZeros = c.zeros;
    EXPECT_EQ(voxtrel::csv::comments(info), fixed + c.orders + "# date: 2026-12-07 09:30:05\n");
  }
  // A run in double precision says so last; single precision says nothing, as before.
  info.doublePrecision = true;
  EXPECT_EQ(voxtrel::csv::comments(info), fixed +
                                              "# orders: none\n# date: 2026-12-07 09:30:05\n"
                                              "# arithmetic: double precision\n");
  info.doublePrecision = false;
  // A name holding a line end stays on its comment line.
  info.method = "two\r\nlines";
  EXPECT_EQ(voxtrel::csv::comments(info).substr(0, 22), "# method: two  lines\n#");
}

TEST(SpectrumCsv, PeaksFileStandsBesideTheSpectrumFile) {
  const struct {
    const char* csv;
    const char* peaks;
  } cases[] = {
      {"run.csv", "run_peaks.csv"},
      {"/tmp/a.b/RUN.CSV", "/tmp/a.b/RUN_peaks.csv"},
      {"spectrum", "spectrum_peaks.csv"},
      {"x.txt", "x.txt_peaks.csv"},
      {".csv", "_peaks.csv"},
  };
  for (const auto& c : cases) EXPECT_EQ(voxtrel::csv::peaksPath(c.csv), c.peaks) << c.csv;
}

}  // namespace
