// The engine's operating-system calls on POSIX systems (see os_file.h).
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>

#include "os_file.h"

namespace voxtrel::os {

namespace {

// O_NOFOLLOW: a symbolic link in the log's place makes the open fail instead of being
// followed. O_NONBLOCK: a pipe in its place must not wait for a reader.
int openLog(const std::string& path, int extra) {
  return ::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | extra, 0666);
}

}  // namespace

void File::failed() {
  error_ = std::strerror(errno);
}

std::size_t File::read(char* buf, std::size_t n) {
  if (!isOpen()) return 0;
  for (;;) {
    const ssize_t got = ::read(static_cast<int>(handle_), buf, n);
    if (got >= 0) return static_cast<std::size_t>(got);
    if (errno != EINTR) {
      failed();
      return 0;
    }
  }
}

bool File::readAt(std::uint64_t offset, char* buf, std::size_t n) {
  return isOpen() && ::pread(static_cast<int>(handle_), buf, n, static_cast<off_t>(offset)) ==
                         static_cast<ssize_t>(n);
}

bool File::writeAll(const char* p, std::size_t n, std::uint64_t& written) {
  while (n > 0) {
    const ssize_t w = ::write(static_cast<int>(handle_), p, n);
    if (w < 0 && errno == EINTR) continue;
    if (w <= 0) {
      if (w == 0) errno = ENOSPC;
      failed();
      return false;
    }
    p += w;
    n -= static_cast<std::size_t>(w);
    written += static_cast<std::uint64_t>(w);
  }
  return true;
}

bool File::truncateAt(std::uint64_t size) {
  const int fd = static_cast<int>(handle_);
  if (::ftruncate(fd, static_cast<off_t>(size)) != 0 ||
      ::lseek(fd, static_cast<off_t>(size), SEEK_SET) < 0) {
    failed();
    return false;
  }
  return true;
}

bool File::rewind() {
  return isOpen() && ::lseek(static_cast<int>(handle_), 0, SEEK_SET) == 0;
}

bool File::close() {
  if (!isOpen()) return true;
  const bool ok = ::close(static_cast<int>(std::exchange(handle_, kNone))) == 0;
  if (!ok) failed();
  return ok;
}

File openRegularForReading(const std::string& path) {
  if (path.empty()) return {};
  // O_NONBLOCK: opening a pipe that has no writer must not wait for one.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return {};
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return {};
  }
  return File(fd);
}

File openOwnFileForRewrite(const std::string& path, std::string& why, bool keep) {
  auto refuse = [&why](int fd, std::string reason) {
    if (fd >= 0) ::close(fd);
    why = std::move(reason);
    return File();
  };
  int fd = openLog(path, 0);
  if (fd < 0 && errno == ELOOP) {
    // A symbolic link: the link itself is replaced. O_EXCL refuses a link put back meanwhile.
    if (::unlink(path.c_str()) == 0) fd = openLog(path, O_EXCL);
  }
  if (fd < 0) return refuse(-1, std::strerror(errno));
  struct stat st {};
  if (::fstat(fd, &st) != 0) return refuse(fd, std::strerror(errno));
  if (!S_ISREG(st.st_mode)) return refuse(fd, kNotARegularFile);
  if (st.st_nlink > 1) {
    // Rewriting a file with other names would rewrite them too: the log gets a file of its own.
    ::close(fd);
    fd = ::unlink(path.c_str()) == 0 ? openLog(path, O_EXCL) : -1;
    if (fd < 0) return refuse(-1, std::strerror(errno));
  }
  if (!keep && ::ftruncate(fd, 0) != 0) return refuse(fd, std::strerror(errno));
  return File(fd);
}

std::tm localTime(std::time_t t) {
  std::tm out{};
  localtime_r(&t, &out);
  return out;
}

}  // namespace voxtrel::os
