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
#pragma once

#include <complex>
#include <cstddef>
#include <string>
#include <string_view>

namespace voxtrel {

class FreeReader {
 public:
  enum class Status {
    Ok,     // the value was read
    Null,   // no value given (empty value or slash): the variable keeps its value
    End,    // end of file before the value
    Error,  // the value cannot be read as the type asked for
  };

  FreeReader() = default;
  explicit FreeReader(std::string text);

  // Reads one whole record as text (a formatted read); false at end of file.
  bool readRecord(std::string& line);

  // Single-value reads: one list-directed read of one item.
  Status readInt(int& v);
  Status readReal(float& v);
  Status readText(std::string& v);
  // The first value of the next record read as a real; used to count data points.
  Status readFirstReal(float& v) { return readReal(v); }
  // One data record: x and y (real data) or x and (re, im) (complex data).
  Status readPair(float& x, float& y);
  Status readComplexPoint(float& x, std::complex<float>& c);

  // Skips n records; false when the end of the file came first.
  bool skipRecords(int n);
  void rewind() { pos_ = 0; }
  bool atEnd() const { return pos_ >= text_.size(); }

 private:
  struct Item {
    enum Kind { Value, Null, Slash, End } kind = End;
    std::string_view text;
    bool quoted = false;
  };

  void beginRead();
  Item nextItem();
  void endRead();  // discard the rest of the current record
  bool nextRecordStart();
  void skipBlanks();
  bool atRecordEnd() const;
  Status readComplexItem(std::complex<float>& c);
  template <class Parse>
  Status readOne(Parse parse);

  std::string text_;
  std::size_t pos_ = 0;
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

}  // namespace voxtrel
