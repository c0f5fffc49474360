// What the file handle does the same on every system: closing when its owner lets it go, and
// handing the handle on by move so that exactly one owner ever closes it.
#include "os_file.h"

#include <utility>

namespace voxtrel::os {

File::~File() {
  close();
}

File::File(File&& other) noexcept
    : handle_(std::exchange(other.handle_, kNone)), error_(std::move(other.error_)) {}

File& File::operator=(File&& other) noexcept {
  if (this != &other) {
    close();
    handle_ = std::exchange(other.handle_, kNone);
    error_ = std::move(other.error_);
  }
  return *this;
}

}  // namespace voxtrel::os
