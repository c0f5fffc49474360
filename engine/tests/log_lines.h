// Looking up run-log records in the estimator tests.
#pragma once

#include <sstream>
#include <string>
#include <vector>

namespace vtest {

// The lines of a text, a carriage return before each line end dropped: what a program writes on
// its standard streams in text mode ends its lines with CR LF on Windows.
inline std::vector<std::string> linesOf(const std::string& text) {
  std::vector<std::string> out;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    out.push_back(line);
  }
  return out;
}

// True when some record contains text.
inline bool logHas(const std::vector<std::string>& lines, const std::string& text) {
  for (const auto& l : lines)
    if (l.find(text) != std::string::npos) return true;
  return false;
}

// Index of the first record equal to text, or -1.
inline int lineIndex(const std::vector<std::string>& lines, const std::string& text) {
  for (std::size_t i = 0; i < lines.size(); ++i)
    if (lines[i] == text) return static_cast<int>(i);
  return -1;
}

// True when run[at] occurs among the records and every occurrence stands at position at of a
// run of consecutive records equal to run (a driver message block, say).
inline bool everyOccurrenceInRun(const std::vector<std::string>& lines,
                                 const std::vector<std::string>& run, std::size_t at) {
  bool found = false;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (lines[i] != run[at]) continue;
    found = true;
    if (i < at || i - at + run.size() > lines.size()) return false;
    for (std::size_t k = 0; k < run.size(); ++k)
      if (lines[i - at + k] != run[k]) return false;
  }
  return found;
}

}  // namespace vtest
