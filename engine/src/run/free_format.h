// Free-format ("list-directed") input, the reading rules shared by the run-definition file and
// the data file:
//  - a read takes as many values as it asks for, from as many records as needed; blank records
//    are skipped; what is left of the last record used is discarded;
//  - values are separated by blanks (or TABs), a comma, or the end of the record; a slash ends
//    the read and leaves the remaining items unchanged, as does an empty value between commas;
//  - text may be quoted with apostrophes or double quotes (a doubled quote stands for one);
//    unquoted text ends at its first blank, comma or slash;
//  - a complex value is written "(re, im)"; a repeat count "r*value" stands for r values.
// Records end at CR LF, LF or a lone CR.
//
// The text is read as a stream, one record at a time, whether it is held in memory or read
// from a file: memory stays bounded by one record and one block of the file, whatever the
// file's size, and a reader that stops early never touches the rest. Of each record the first
// kRecordWidth characters are kept (the rest is passed over). A record longer than
// kMaxRecordLength, or a run of blank records as long, ends the text: no line of an answer or
// data file is that long, and a file without line ends that never ends must end.
#pragma once

#include <complex>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

#include "file_text.h"

namespace voxtrel {

inline constexpr std::size_t kRecordWidth = 1024;
inline constexpr std::size_t kMaxRecordLength = std::size_t{1} << 20;

class FreeReader {
 public:
  enum class Status {
    Ok,     // the value was read
    Null,   // no value given (empty value or slash): the variable keeps its value
    End,    // end of file before the value
    Error,  // the value cannot be read as the type asked for
  };

  FreeReader() = default;  // no text: at its end
  explicit FreeReader(std::string text) { reset(std::move(text)); }
  explicit FreeReader(TextFile file) { reset(std::move(file)); }
  // The current record is a view into the reader's own storage: not copied, not moved.
  FreeReader(const FreeReader&) = delete;
  FreeReader& operator=(const FreeReader&) = delete;

  // Starts over on a text held in memory, or on an open file (closed when the reader is reset
  // again or goes).
  void reset(std::string text);
  void reset(TextFile file);

  // Reads one whole record as text (a formatted read); false at end of file.
  bool readRecord(std::string& line);

  // Single-value reads: one list-directed read of one item.
  Status readInt(int& v);
  Status readReal(float& v);
  Status readText(std::string& v);
  // The first value of the next record read as a real; used to count data points.
  Status readFirstReal(float& v) { return readReal(v); }
  // The status readFirstReal would give, without keeping the value: a plain decimal is known to
  // read as a real from its form alone, without being converted.
  Status skipFirstReal();
  // One data record: x and y (real data) or x and (re, im) (complex data).
  Status readPair(float& x, float& y);
  Status readComplexPoint(float& x, std::complex<float>& c);

  // Skips n records; false when the end of the file came first.
  bool skipRecords(int n);
  // Back to the first record.
  void rewind();
  bool atEnd() {
    settle();
    return !haveRecord_;
  }

 private:
  struct Item {
    enum Kind { Value, Null, Slash, End } kind = End;
    std::string_view text;
    bool quoted = false;
  };

  void beginRead();
  Item nextItem();
  void endRead();          // discard the rest of the current record
  bool nextRecordStart();  // the next record, its end found
  bool startRecord();      // the next record, its end left to find (pending_)
  // Every read but the plain-record ones below finds the current record's end first.
  void settle() {
    if (pending_) findRecordEnd();
  }
  bool findRecordEnd();
  const char* plainRecordLimit() const;
  void passRecordEnd(const char* lineEnd);
  // Plain data records read straight from the block while their end is not yet known.
  bool fastPair(float& x, float& y);
  bool fastFirstReal();
  bool refill();
  void keep(const char* begin, std::size_t n);
  void skipBlanks();
  bool plainItem(std::string_view& text);
  bool shortValue(float& v);
  Status readComplexItem(std::complex<float>& c);
  template <class Parse>
  Status readOne(Parse parse);

  TextFile file_;               // the file read; closed when the text is held in memory
  std::string buf_;             // the whole text, or the block of the file read last
  std::size_t bufPos_ = 0;      // the next byte of buf_ not yet taken
  std::uint64_t consumed_ = 0;  // bytes taken from the text so far
  bool skipLf_ = false;         // the last record ended at a CR: an LF next belongs to it
  bool ended_ = true;           // no record follows the current one
  std::string recStore_;        // a record that spans two blocks of the file
  std::string_view rec_;        // the current record (its kept characters)
  bool haveRecord_ = false;     // false at the end of the text
  bool pending_ = false;        // the current record starts at bufPos_, its end not yet found
  std::size_t pos_ = 0;         // position in rec_
  bool slashSeen_ = false;
  bool firstItem_ = true;
  int repeat_ = 0;
  Item repeatItem_;
  std::string quoted_;  // storage for the current quoted text with doubled quotes resolved
};

// Number parsing by the rules of free-format input (exponent letters E, D or Q; NaN and
// Infinity words). False when the text is not a number of the type asked for.
bool parseInt(std::string_view s, int& v);
bool parseReal(std::string_view s, float& v);
// The short plain decimals parseReal converts without the general conversion (the same float);
// false, v untouched, for any other text. Exposed for tests.
bool parseShortDecimal(std::string_view s, float& v);

}  // namespace voxtrel
