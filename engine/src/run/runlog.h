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

// One item of a free-form record: a text, or a number written in free format. The number is
// formatted only when the record is written, so a log that keeps nothing formats nothing. A
// text item refers to its characters, which live as long as the record's braces.
class LogItem {
 public:
  LogItem(const char* s) : text_(s), kind_(Kind::Text) {}
  LogItem(std::string_view s) : text_(s), kind_(Kind::Text) {}
  LogItem(const std::string& s) : text_(s), kind_(Kind::Text) {}
  LogItem(int v) : int_(v), kind_(Kind::Int) {}
  LogItem(long long v) : int_(v), kind_(Kind::Int) {}
  LogItem(float v) : real_(v), kind_(Kind::Float) {}
  LogItem(double v) : real_(v), kind_(Kind::Double) {}

  bool isText() const { return kind_ == Kind::Text; }
  // Appends the item as the log writes it: a text as it stands, a number in free format.
  void appendTo(std::string& line) const;

 private:
  enum class Kind { Text, Int, Float, Double };
  std::string_view text_;
  long long int_ = 0;
  double real_ = 0;  // a float item is held exactly
  Kind kind_;
};

enum class LogMode {
  Keep,     // every record is kept (and written, once the log is opened)
  Discard,  // nothing is formatted or kept: for a caller that wants only the numbers
};

class RunLog {
 public:
  // A log kept in memory only (for tests of single routines and the array entry).
  RunLog() = default;
  explicit RunLog(LogMode mode) : discard_(mode == LogMode::Discard) {}
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

  // False for a log that discards its records: a caller may then skip building them.
  bool keeps() const { return !discard_; }

  void put(std::initializer_list<LogItem> items);  // free-form record
  void put(std::string_view text) { put({LogItem(text)}); }
  void raw(std::string_view line);  // formatted record, exactly as given
  void blank() { raw({}); }         // an empty record
  // Text written without a line end, as a prompt is: the next record continues its line.
  void prompt(std::string_view text) {
    if (!discard_) buffer_.append(text);
  }

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
  bool discard_ = false;
};

}  // namespace voxtrel
