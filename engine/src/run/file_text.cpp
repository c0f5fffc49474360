#include "file_text.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

namespace voxtrel {

TextFile::TextFile(const std::string& path) {
  if (path.empty()) return;
  // O_NONBLOCK: opening a pipe that has no writer must not wait for one.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return;
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return;
  }
  fd_ = fd;
}

TextFile::~TextFile() {
  close();
}

TextFile::TextFile(TextFile&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}

TextFile& TextFile::operator=(TextFile&& other) noexcept {
  if (this != &other) {
    close();
    fd_ = std::exchange(other.fd_, -1);
  }
  return *this;
}

void TextFile::close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

std::size_t TextFile::read(char* buf, std::size_t n) {
  if (fd_ < 0) return 0;
  for (;;) {
    const ssize_t got = ::read(fd_, buf, n);
    if (got >= 0) return static_cast<std::size_t>(got);
    if (errno != EINTR) return 0;
  }
}

bool TextFile::rewind() {
  return fd_ >= 0 && ::lseek(fd_, 0, SEEK_SET) == 0;
}

}  // namespace voxtrel
