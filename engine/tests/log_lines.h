// Looking up run-log records in the estimator tests.
#pragma once

#include <string>
#include <vector>

namespace vtest {

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

}  // namespace vtest
