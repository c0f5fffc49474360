// The run log "~Tirelle.out": single-byte text, one record per line, CR LF line ends.
//
// Two kinds of record are written (and a prompt, text that the next record continues):
//  - free-form records (put): a leading blank, then the items. Text items are written as they
//    stand; a number is separated from what precedes it by one blank. A record whose first
//    text already begins with a blank gets no second one, so " Starting ..." is written as is.
//  - formatted records (raw): written exactly as given, built with the edit descriptors of
//    fortran_format.h.
#pragma once

#include <cstdio>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace voxtrel {

class LogItem {
 public:
  LogItem(const char* s) : text_(s), isText_(true) {}
  LogItem(std::string_view s) : text_(s), isText_(true) {}
  LogItem(const std::string& s) : text_(s), isText_(true) {}
  LogItem(int v);
  LogItem(long long v);
  LogItem(float v);
  LogItem(double v);

  const std::string& text() const { return text_; }
  bool isText() const { return isText_; }

 private:
  std::string text_;
  bool isText_ = false;
};

class RunLog {
 public:
  // A log kept in memory only (for tests of single routines).
  RunLog() = default;
  ~RunLog();
  RunLog(const RunLog&) = delete;
  RunLog& operator=(const RunLog&) = delete;

  // Opens (creates or rewrites) the log file; false when it cannot be written.
  bool open(const std::string& path);
  void close();

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

  std::FILE* file_ = nullptr;
  std::string buffer_;
};

}  // namespace voxtrel
