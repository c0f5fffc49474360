// The engine's calls of the operating system, one interface for POSIX systems (os_file_posix.cpp)
// and Windows (os_file_windows.cpp): a file that its owner closes, opening a regular file for
// reading, opening the run log's file for writing without ever writing through a link, and the
// local time. Everything above this layer is the same on both.
#pragma once

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <string>

namespace voxtrel::os {

class File {
 public:
  File() = default;
  ~File();
  File(File&& other) noexcept;
  File& operator=(File&& other) noexcept;
  File(const File&) = delete;
  File& operator=(const File&) = delete;

  bool isOpen() const { return handle_ != kNone; }
  // Reads up to n bytes at the current position; 0 at the end of the file or on a read error.
  std::size_t read(char* buf, std::size_t n);
  // Reads exactly n bytes from offset, the current position left alone; false when fewer come.
  bool readAt(std::uint64_t offset, char* buf, std::size_t n);
  // Writes all n bytes at the current position, adding what went in to written; false when the
  // file takes fewer (a full disk, a file size limit), with error() saying why.
  bool writeAll(const char* p, std::size_t n, std::uint64_t& written);
  // Cuts the file to size bytes and puts the position there.
  bool truncateAt(std::uint64_t size);
  // Back to the first byte; false when the file cannot be repositioned.
  bool rewind();
  // Closes the file; false when the system reports that the close failed.
  bool close();
  // Why the last call that failed failed, in the system's words.
  const std::string& error() const { return error_; }

 private:
  static constexpr std::intptr_t kNone = -1;  // no descriptor, INVALID_HANDLE_VALUE on Windows
  explicit File(std::intptr_t handle) : handle_(handle) {}
  void failed();  // keeps the system's reason for the last call

  std::intptr_t handle_ = kNone;  // a POSIX descriptor or a Windows HANDLE
  std::string error_;

  friend File openRegularForReading(const std::string& path);
  friend File openOwnFileForRewrite(const std::string& path, std::string& why, bool keep);
};

// Opens path for reading when it is a regular file: a folder cannot be read, and a pipe or a
// device could block or never end. The kind is checked on the opened file itself, so nothing
// can be put in its place between the check and the reading, and opening a pipe never waits
// for a writer. A closed File otherwise.
File openRegularForReading(const std::string& path);

// Opens path for writing from its start, created when missing. Only a regular file of its own is
// written: a symbolic link in its place is replaced by a new file (its target is never written),
// so is a file that has other names too (hard links), and anything else (a folder, a pipe, a
// device) is refused. A closed File otherwise, with why saying why.
//
// keep: the old contents are not cut at the opening but written over in place (no blocks freed
// and allocated again when a log of about the same length is rewritten run after run); the
// writer cuts the file at the end of what it wrote (truncateAt) when it is done.
File openOwnFileForRewrite(const std::string& path, std::string& why, bool keep = false);

// The reason given when something other than a regular file stands in the log's place.
inline constexpr const char* kNotARegularFile =
    "it is not a regular file (a folder, a pipe or a device stands in its place)";

// The calendar time t in the local time zone.
std::tm localTime(std::time_t t);

}  // namespace voxtrel::os
