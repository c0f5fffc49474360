// One run's spectrum as comma-separated values, written alike by the program's Export spectrum
// and by voxtrel-run --csv: '#' comment lines that name the run (method, answer file, data file,
// nPoints, model orders, date), a header row "frequency,dB" and one row per frequency point.
// The peaks go to a second file of the same form beside it. Every number is written as the
// shortest text that reads back as the same float, so a reader recovers each value bit for bit
// ("-inf" stands for the decibels of a zero power). Header-only and standard C++ only: the
// program and the runner both include it, and the program does not link the engine.
#pragma once

#include <algorithm>
#include <charconv>
#include <cstddef>
#include <ctime>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace voxtrel::csv {

// What the comment lines say about the run.
struct RunInfo {
  std::string method;      // the estimator's name
  std::string answerFile;  // the answer file as the run was given it
  std::string dataFile;    // the data file as the answer file names it
  int nPoints = 0;         // the transform size (raised to a power of two)
  // The model orders the method takes: none for the non-parametric methods, nZeros alone for
  // an MA model, nPoles for an AR model, both for an ARMA model.
  std::optional<int> nPoles, nZeros;
  std::tm date{};                // the run's local date and time
  bool doublePrecision = false;  // said in a last comment line; single precision says nothing
};

// The shortest decimal text that reads back (std::from_chars, strtof) as exactly v.
inline std::string number(float v) {
  char text[32];
  const auto r = std::to_chars(text, text + sizeof text, v);
  return std::string(text, r.ptr);
}

// A comment line's value on one line: line ends become blanks.
inline std::string oneLine(std::string_view text) {
  std::string s(text);
  std::replace_if(
      s.begin(), s.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
  return s;
}

// The comment lines, each starting with "# " and ending with a line feed.
inline std::string comments(const RunInfo& info) {
  std::string orders;
  if (info.nPoles) orders = "nPoles = " + std::to_string(*info.nPoles);
  if (info.nZeros)
    orders += (orders.empty() ? "" : ", ") + ("nZeros = " + std::to_string(*info.nZeros));
  char date[32] = "";
  std::strftime(date, sizeof date, "%Y-%m-%d %H:%M:%S", &info.date);
  return "# method: " + oneLine(info.method) + "\n# answer file: " + oneLine(info.answerFile) +
         "\n# data file: " + oneLine(info.dataFile) +
         "\n# nPoints: " + std::to_string(info.nPoints) +
         "\n# orders: " + (orders.empty() ? "none" : orders) + "\n# date: " + date + "\n" +
         (info.doublePrecision ? "# arithmetic: double precision\n" : "");
}

// A column beside the decibels (another curve's): its name in the header row and a value for
// each row, the cell left empty where it has none.
struct Column {
  std::string name;
  std::vector<std::optional<float>> values;
};

// A header cell as RFC 4180 has it: in double quotes, its own quotes doubled, when it holds a
// comma, a double quote or a line end; as it is otherwise.
inline std::string field(std::string_view text) {
  if (text.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(text);
  std::string out = "\"";
  for (char c : text) out += c == '"' ? std::string("\"\"") : std::string(1, c);
  return out + '"';
}

// The comment lines, the header row and a row "frequency,dB" for each of the first
// min(freq, dB) points. Each further column adds its name to the header row and its value (or
// an empty cell) to every row.
inline std::string table(const RunInfo& info, std::span<const float> freq,
                         std::span<const float> db, std::span<const Column> more = {}) {
  std::string out = comments(info) + "frequency,dB";
  for (const Column& c : more) out += ',' + field(c.name);
  out += '\n';
  const std::size_t n = std::min(freq.size(), db.size());
  out.reserve(out.size() + n * 24 * (1 + more.size()));
  for (std::size_t i = 0; i < n; ++i) {
    out += number(freq[i]) + ',' + number(db[i]);
    for (const Column& c : more) {
      out += ',';
      if (i < c.values.size() && c.values[i]) out += number(*c.values[i]);
    }
    out += '\n';
  }
  return out;
}

// The peaks of the plot's peak list: local maxima of the dB spectrum at positive frequencies,
// in frequency order, at most maxCount. The first point counts when the spectrum falls away
// from it; the last never does, having no right-hand neighbour; a plateau is no peak.
inline std::vector<std::size_t> peakIndices(std::span<const float> freq, std::span<const float> db,
                                            std::size_t maxCount) {
  const std::size_t n = std::min(freq.size(), db.size());
  std::vector<std::size_t> peaks;
  if (n >= 2 && maxCount > 0 && freq[0] > 0 && db[0] > db[1]) peaks.push_back(0);
  for (std::size_t i = 1; i + 1 < n && peaks.size() < maxCount; ++i) {
    if (freq[i] > 0 && db[i - 1] < db[i] && db[i] > db[i + 1]) peaks.push_back(i);
  }
  return peaks;
}

// How many peaks the peak list holds at most.
inline constexpr std::size_t kListedPeaks = 50;

// The peaks file's text: the same comment lines and header row, a row for each listed peak.
inline std::string peakTable(const RunInfo& info, std::span<const float> freq,
                             std::span<const float> db) {
  std::string out = comments(info) + "frequency,dB\n";
  for (std::size_t i : peakIndices(freq, db, kListedPeaks))
    out += number(freq[i]) + ',' + number(db[i]) + '\n';
  return out;
}

// The peaks file beside a spectrum file: "run.csv" gives "run_peaks.csv", a name without the
// ".csv" ending (in any case) gets "_peaks.csv" appended.
inline std::string peaksPath(std::string_view csvPath) {
  std::string stem(csvPath);
  if (stem.size() >= 4) {
    std::string end = stem.substr(stem.size() - 4);
    std::transform(end.begin(), end.end(), end.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; });
    if (end == ".csv") stem.resize(stem.size() - 4);
  }
  return stem + "_peaks.csv";
}

}  // namespace voxtrel::csv
