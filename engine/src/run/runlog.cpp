#include "runlog.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "fortran_format.h"

namespace voxtrel {

namespace {

// O_NOFOLLOW: a symbolic link in the log's place makes the open fail instead of being
// followed. O_NONBLOCK: a pipe in its place must not wait for a reader.
int openLog(const std::string& path, int extra) {
  return ::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | extra, 0666);
}

// Writes all n bytes at the file's offset; false (errno set) when the file takes fewer.
bool writeAll(int fd, const char* p, std::size_t n, std::uint64_t& written) {
  while (n > 0) {
    const ssize_t w = ::write(fd, p, n);
    if (w < 0 && errno == EINTR) continue;
    if (w <= 0) {
      if (w == 0) errno = ENOSPC;
      return false;
    }
    p += w;
    n -= static_cast<std::size_t>(w);
    written += static_cast<std::uint64_t>(w);
  }
  return true;
}

}  // namespace

LogItem::LogItem(int v) : text_(fmt::freeInt(v)) {}
LogItem::LogItem(long long v) : text_(fmt::freeInt(v)) {}
LogItem::LogItem(float v) : text_(fmt::freeReal(v)) {}
LogItem::LogItem(double v) : text_(fmt::freeReal(v)) {}

RunLog::~RunLog() {
  close();
}

void RunLog::fail(int error) {
  if (failure_.empty()) failure_ = std::strerror(error);
}

bool RunLog::open(const std::string& path) {
  close();
  buffer_.clear();
  failure_.clear();
  written_ = 0;
  int fd = openLog(path, 0);
  if (fd < 0 && errno == ELOOP) {
    // A symbolic link: the link itself is replaced. O_EXCL refuses a link put back meanwhile.
    if (::unlink(path.c_str()) == 0) fd = openLog(path, O_EXCL);
  }
  if (fd < 0) {
    fail(errno);
    return false;
  }
  struct stat st {};
  if (::fstat(fd, &st) != 0) {
    fail(errno);
    ::close(fd);
    return false;
  }
  if (!S_ISREG(st.st_mode)) {
    ::close(fd);
    failure_ = "it is not a regular file (a folder, a pipe or a device stands in its place)";
    return false;
  }
  if (st.st_nlink > 1) {
    // Rewriting a file with other names would rewrite them too: the log gets a file of its own.
    ::close(fd);
    fd = ::unlink(path.c_str()) == 0 ? openLog(path, O_EXCL) : -1;
    if (fd < 0) {
      fail(errno);
      return false;
    }
  }
  if (::ftruncate(fd, 0) != 0) {
    fail(errno);
    ::close(fd);
    return false;
  }
  fd_ = fd;
  return true;
}

bool RunLog::flush() {
  if (fd_ < 0) return failure_.empty();
  if (failure_.empty() && !writeAll(fd_, buffer_.data(), buffer_.size(), written_)) fail(errno);
  buffer_.clear();  // after a failure nothing more is kept: memory stays bounded
  return failure_.empty();
}

bool RunLog::close() {
  if (fd_ < 0) return failure_.empty();
  flush();
  if (::close(fd_) != 0) fail(errno);
  fd_ = -1;
  return failure_.empty();
}

void RunLog::writeLastRecord(std::string_view line) {
  if (fd_ < 0) return;
  buffer_.clear();
  const std::string record = std::string(line) + "\r\n";
  // The last record end at or before written_ - record.size(), found in the tail of the file
  // (a record is far shorter than the 64 KiB looked at).
  const std::uint64_t room = written_ > record.size() ? written_ - record.size() : 0;
  const std::uint64_t from = room > (1u << 16) ? room - (1u << 16) : 0;
  std::string tail(static_cast<std::size_t>(room - from), '\0');
  std::uint64_t cut = from;
  if (::pread(fd_, tail.data(), tail.size(), static_cast<off_t>(from)) ==
      static_cast<ssize_t>(tail.size())) {
    const auto end = tail.rfind('\n');
    if (end != std::string::npos) cut = from + end + 1;
  }
  if (::ftruncate(fd_, static_cast<off_t>(cut)) != 0 ||
      ::lseek(fd_, static_cast<off_t>(cut), SEEK_SET) < 0)
    return;
  written_ = cut;
  writeAll(fd_, record.data(), record.size(), written_);
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
  if (fd_ >= 0 && buffer_.size() >= (1u << 16)) flush();
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
