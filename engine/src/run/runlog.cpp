#include "runlog.h"

#include <algorithm>

#include "fortran_format.h"

namespace voxtrel {

namespace {

constexpr std::size_t kFlushSize = std::size_t{1} << 16;  // bytes kept before they are written

}  // namespace

void LogItem::appendTo(std::string& line) const {
  switch (kind_) {
    case Kind::Text:
      line += text_;
      break;
    case Kind::Int:
      fmt::appendFreeInt(line, int_);
      break;
    case Kind::Float:
      fmt::appendFreeReal(line, static_cast<float>(real_));
      break;
    case Kind::Double:
      fmt::appendFreeReal(line, real_);
      break;
  }
}

RunLog::~RunLog() {
  close();
}

void RunLog::fail(const std::string& reason) {
  if (failure_.empty()) failure_ = reason;
}

bool RunLog::open(const std::string& path) {
  close();
  buffer_.clear();
  failure_.clear();
  written_ = 0;
  std::string why;
  // Written over in place and cut at its end on closing: rewriting the log of the last run
  // costs no freeing and allocating of the file's blocks.
  file_ = os::openOwnFileForRewrite(path, why, true);
  if (!file_.isOpen()) {
    fail(why);
    return false;
  }
  // Room for what is kept before a write and the record that passes the mark, taken before the
  // run's arrays: the buffer is not grown (and copied) record by record, and runs made one after
  // another find their memory where the last run left it instead of the allocator returning the
  // top of the heap to the system and faulting it in again (a dozen page faults a short run).
  buffer_.reserve(kFlushSize + 4096);
  return true;
}

bool RunLog::flush() {
  if (!file_.isOpen()) return failure_.empty();
  if (failure_.empty() && !file_.writeAll(buffer_.data(), buffer_.size(), written_))
    fail(file_.error());
  buffer_.clear();  // after a failure nothing more is kept: memory stays bounded
  return failure_.empty();
}

bool RunLog::close() {
  if (!file_.isOpen()) return failure_.empty();
  flush();
  // The log was written over the file's old contents from its start: what lies beyond the
  // last byte written is the old log's tail.
  if (!file_.truncateAt(written_)) fail(file_.error());
  if (!file_.close()) fail(file_.error());
  return failure_.empty();
}

void RunLog::writeLastRecord(std::string_view line) {
  if (!file_.isOpen()) return;
  buffer_.clear();
  const std::string record = std::string(line) + "\r\n";
  // The last record end at or before written_ - record.size(), found in the tail of the file
  // (a record is far shorter than the 64 KiB looked at).
  const std::uint64_t room = written_ > record.size() ? written_ - record.size() : 0;
  const std::uint64_t from = room > (1u << 16) ? room - (1u << 16) : 0;
  std::string tail(static_cast<std::size_t>(room - from), '\0');
  std::uint64_t cut = from;
  if (file_.readAt(from, tail.data(), tail.size())) {
    const auto end = tail.rfind('\n');
    if (end != std::string::npos) cut = from + end + 1;
  }
  if (!file_.truncateAt(cut)) return;
  written_ = cut;
  file_.writeAll(record.data(), record.size(), written_);
}
void RunLog::put(std::initializer_list<LogItem> items) {
  if (discard_) return;
  // The record is built in place at the end of the buffer.
  const std::size_t start = buffer_.size();
  for (const LogItem& item : items) {
    if (!item.isText() && buffer_.size() > start && buffer_.back() != ' ') buffer_ += ' ';
    item.appendTo(buffer_);
  }
  if (buffer_.size() == start || buffer_[start] != ' ') buffer_.insert(start, 1, ' ');
  buffer_.append("\r\n");
  flushIfLarge();
}

void RunLog::raw(std::string_view line) {
  if (discard_) return;
  buffer_.append(line);
  buffer_.append("\r\n");
  flushIfLarge();
}

void RunLog::flushIfLarge() {
  if (file_.isOpen() && buffer_.size() >= kFlushSize) flush();
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
