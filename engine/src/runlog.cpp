#include "runlog.h"

#include "fortran_format.h"

namespace voxtrel {

LogItem::LogItem(int v) : text_(fmt::freeInt(v)) {}
LogItem::LogItem(long long v) : text_(fmt::freeInt(v)) {}
LogItem::LogItem(float v) : text_(fmt::freeReal(v)) {}
LogItem::LogItem(double v) : text_(fmt::freeReal(v)) {}

RunLog::~RunLog() {
  close();
}

bool RunLog::open(const std::string& path) {
  close();
  buffer_.clear();
  file_ = std::fopen(path.c_str(), "wb");
  return file_ != nullptr;
}

void RunLog::close() {
  if (!file_) return;
  if (!buffer_.empty()) std::fwrite(buffer_.data(), 1, buffer_.size(), file_);
  buffer_.clear();
  std::fclose(file_);
  file_ = nullptr;
}

void RunLog::put(std::initializer_list<LogItem> items) {
  std::string line;
  for (const LogItem& item : items) {
    if (!item.isText() && !line.empty() && line.back() != ' ') line += ' ';
    line += item.text();
  }
  if (line.empty() || line.front() != ' ') line.insert(line.begin(), ' ');
  raw(line);
}

void RunLog::raw(std::string_view line) {
  buffer_.append(line);
  buffer_.append("\r\n");
  flushIfLarge();
}

void RunLog::flushIfLarge() {
  if (file_ && buffer_.size() >= (1u << 16)) {
    std::fwrite(buffer_.data(), 1, buffer_.size(), file_);
    buffer_.clear();
  }
}

std::vector<std::string> RunLog::lines() const {
  std::vector<std::string> out;
  std::size_t start = 0;
  while (start < buffer_.size()) {
    auto end = buffer_.find("\r\n", start);
    if (end == std::string::npos) end = buffer_.size();
    out.emplace_back(buffer_.substr(start, end - start));
    start = end + 2;
  }
  return out;
}

}  // namespace voxtrel
