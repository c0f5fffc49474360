// A text file opened for reading, read in blocks.
#pragma once

#include <cstddef>
#include <string>

namespace voxtrel {

// The file is closed when the object goes, on every path (a read or allocation failure
// included). Only a regular file is opened: a folder cannot be read, and a pipe or a device
// could block or never end. The kind is checked on the opened file itself, so nothing can be
// put in the file's place between the check and the reading.
class TextFile {
 public:
  TextFile() = default;
  explicit TextFile(const std::string& path);
  ~TextFile();
  TextFile(TextFile&& other) noexcept;
  TextFile& operator=(TextFile&& other) noexcept;
  TextFile(const TextFile&) = delete;
  TextFile& operator=(const TextFile&) = delete;

  bool isOpen() const { return fd_ >= 0; }
  // Reads up to n bytes into buf; 0 at the end of the file or on a read error.
  std::size_t read(char* buf, std::size_t n);
  // Back to the first byte; false when the file cannot be repositioned.
  bool rewind();
  void close();

 private:
  int fd_ = -1;
};

}  // namespace voxtrel
