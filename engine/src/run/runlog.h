// The run log "~Tirelle.out": single-byte text, one record per line, CR LF line ends.
//
// Two kinds of record are written (and a prompt, text that the next record continues):
//  - free-form records (put): a leading blank, then the items. Text items are written as they
//    stand; a number is separated from what precedes it by one blank. A record whose first
//    text already begins with a blank gets no second one, so " Starting ..." is written as is.
//  - formatted records (raw): written exactly as given, built with the edit descriptors of
//    fortran_format.h.
//
// Every write to the file and its close are checked: a log that could not be written
// completely (a full disk, a file size limit) says so through failure(), and the run that
// wrote it is not reported as a success.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "os_file.h"

namespace voxtrel {

class LogItem {
 public:
  // Text items are viewed where they stand (they outlive the record's put); numbers are
  // formatted into the item itself.
  LogItem(const char* s) : view_(s), isText_(true) {}
  LogItem(std::string_view s) : view_(s), isText_(true) {}
  LogItem(const std::string& s) : view_(s), isText_(true) {}
  LogItem(int v);
  LogItem(long long v);
  LogItem(float v);
  LogItem(double v);

  std::string_view text() const { return isText_ ? view_ : std::string_view(number_); }
  bool isText() const { return isText_; }

 private:
  std::string_view view_;
  std::string number_;
  bool isText_ = false;
};

class RunLog {
 public:
  // A log kept in memory only (for tests of single routines).
  RunLog() = default;
  ~RunLog();
  RunLog(const RunLog&) = delete;
  RunLog& operator=(const RunLog&) = delete;

  // Opens the log file, created or rewritten from the start. The log is written only into a
  // regular file of its own: a symbolic link in its place is replaced by a new file (its
  // target is never written), so is a file that has other names too (hard links), and
  // anything else (a folder, a pipe, a device) is refused. False when the log cannot be
  // opened; failure() says why.
  bool open(const std::string& path);
  // Writes what is buffered; false once any write has failed.
  bool flush();
  // Writes what is buffered and closes the file; false when any write or the close failed.
  bool close();
  // Why the log could not be opened or written completely; empty while all went well.
  const std::string& failure() const { return failure_; }
  // After a failed write: writes line as the log's last record where the file still takes it.
  // The file has shown how much it holds; the log is cut back to the end of a whole record
  // that leaves room for line, so that the reason stands at its end.
  void writeLastRecord(std::string_view line);

  void put(std::initializer_list<LogItem> items);  // free-form record
  void put(std::string_view text) { put({LogItem(text)}); }
  void raw(std::string_view line);  // formatted record, exactly as given
  void blank() { raw({}); }         // an empty record
  // Text written without a line end, as a prompt is: the next record continues its line.
  void prompt(std::string_view text) { buffer_.append(text); }

  // Everything written so far, when the log is kept in memory.
  const std::string& memory() const { return buffer_; }
  // The records written so far, without their line ends (memory logs only).
  std::vector<std::string> lines() const;

 private:
  void flushIfLarge();
  void fail(const std::string& reason);

  os::File file_;
  std::string buffer_;
  std::uint64_t written_ = 0;  // bytes the file holds
  std::string failure_;
};

}  // namespace voxtrel
