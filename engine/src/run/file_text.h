// A text file opened for reading, read in blocks.
#pragma once

#include <cstddef>
#include <string>

#include "os_file.h"

namespace voxtrel {

// The file is closed when the object goes, on every path (a read or allocation failure
// included). Only a regular file is opened: a folder cannot be read, and a pipe or a device
// could block or never end. The kind is checked on the opened file itself, so nothing can be
// put in the file's place between the check and the reading.
class TextFile {
 public:
  TextFile() = default;
  explicit TextFile(const std::string& path);
  ~TextFile() = default;
  TextFile(TextFile&& other) noexcept = default;
  TextFile& operator=(TextFile&& other) noexcept = default;
  TextFile(const TextFile&) = delete;
  TextFile& operator=(const TextFile&) = delete;

  bool isOpen() const { return file_.isOpen(); }
  // Reads up to n bytes into buf; 0 at the end of the file or on a read error.
  std::size_t read(char* buf, std::size_t n);
  // Back to the first byte; false when the file cannot be repositioned.
  bool rewind();
  void close();

 private:
  os::File file_;
};

}  // namespace voxtrel
