#include "free_format.h"

#include <algorithm>
#include <bit>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace voxtrel {

namespace {

bool isBlank(char c) {
  return c == ' ' || c == '\t';
}

// The first CR or LF in [begin, end), or end: both line-end bytes looked for in one pass, sixteen
// bytes at a time where the vector unit allows (a data record is a few dozen bytes: one or two
// steps), then byte by byte over the tail.
const char* recordEnd(const char* p, const char* end) {
#if defined(__SSE2__)
  const __m128i lf = _mm_set1_epi8('\n');
  const __m128i cr = _mm_set1_epi8('\r');
  while (end - p >= 16) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const auto hits = static_cast<unsigned>(
        _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(v, lf), _mm_cmpeq_epi8(v, cr))));
    if (hits != 0) return p + std::countr_zero(hits);
    p += 16;
  }
#endif
  for (; p != end; ++p)
    if (*p == '\n' || *p == '\r') return p;
  return end;
}

bool equalsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  }
  return true;
}

}  // namespace

bool parseInt(std::string_view s, int& v) {
  if (s.empty()) return false;
  if (s.front() == '+') s.remove_prefix(1);
  if (s.empty()) return false;
  int out = 0;
  auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), out);
  if (ec != std::errc() || p != s.data() + s.size()) return false;
  v = out;
  return true;
}

// A plain decimal ([-]digits[.digits][e|E[sign]digits]) whose significant digits make an integer
// W up to 2^53 and whose decimal exponent e lies in [-22, 22]: W and 10^|e| are exact doubles, so
// one multiplication or division gives the correctly rounded double of the decimal. Rounding that
// double to a float gives the correctly rounded float unless the double lies exactly halfway
// between two floats (the decimal itself may lie just off that point): those few go to the
// general conversion, as does every other text (v untouched).
namespace {

// The short plain decimal that starts at p, read as far as its form goes: the end of its text with
// its float in v, or nullptr (v untouched) when the text there is not one. The character after it
// is not looked at: the caller decides whether the value ends there. Inlined where values are
// read: a call is a good share of the cost of a value of a few digits.
[[gnu::always_inline]] inline const char* scanShortDecimal(const char* p, const char* const end,
                                                           float& v) {
  const bool negative = p != end && *p == '-';
  if (negative) ++p;
  // Up to 19 digits accumulate exactly in 64 bits; more go to the general conversion.
  std::uint64_t w = 0;
  const char* const first = p;
  while (p != end && static_cast<unsigned>(*p - '0') < 10u)
    w = w * 10 + static_cast<unsigned>(*p++ - '0');
  int exponent = 0;
  std::ptrdiff_t count = p - first;
  if (p != end && *p == '.') {
    const char* const frac = ++p;
    while (p != end && static_cast<unsigned>(*p - '0') < 10u)
      w = w * 10 + static_cast<unsigned>(*p++ - '0');
    exponent = -static_cast<int>(p - frac);
    count += p - frac;
  }
  if (count == 0 || count > 19) return nullptr;
  if (p != end && (*p == 'e' || *p == 'E')) {
    ++p;
    bool expNegative = false;
    if (p != end && (*p == '+' || *p == '-')) expNegative = *p++ == '-';
    const char* const digits = p;
    int e = 0;
    while (p != end && static_cast<unsigned>(*p - '0') < 10u) e = e * 10 + (*p++ - '0');
    if (p == digits || p - digits > 4) return nullptr;
    exponent += expNegative ? -e : e;
  }
  float r = 0.0f;
  if (w != 0) {
    constexpr std::uint64_t kExact = std::uint64_t{1} << 53;
    // Trailing zeros of long digit strings raise the exponent instead.
    while (w > kExact && w % 10 == 0) {
      w /= 10;
      ++exponent;
    }
    static constexpr double kPow10[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                        1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                        1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    if (w > kExact || exponent < -22 || exponent > 22) return nullptr;
    const double d = static_cast<double>(w);
    const double x = exponent < 0 ? d / kPow10[-exponent] : d * kPow10[exponent];
    // The 29 bits a float drops from a double's significand: exactly one half of a float's last
    // place means a tie the double may have made (every result here is a normal float).
    if ((std::bit_cast<std::uint64_t>(x) & 0x1FFFFFFFu) == 0x10000000u) return nullptr;
    r = static_cast<float>(x);
  }
  v = negative ? -r : r;
  return p;
}

// The end of the plain decimal ([-]digits[.digits][e|E[sign]digits], a digit in the mantissa)
// that starts at p, or nullptr: its form alone, nothing converted.
[[gnu::always_inline]] inline const char* scanPlainDecimalForm(const char* p,
                                                               const char* const end) {
  if (p != end && *p == '-') ++p;
  const char* const first = p;
  while (p != end && static_cast<unsigned>(*p - '0') < 10u) ++p;
  std::ptrdiff_t count = p - first;
  if (p != end && *p == '.') {
    const char* const frac = ++p;
    while (p != end && static_cast<unsigned>(*p - '0') < 10u) ++p;
    count += p - frac;
  }
  if (count == 0) return nullptr;
  if (p != end && (*p == 'e' || *p == 'E')) {
    ++p;
    if (p != end && (*p == '+' || *p == '-')) ++p;
    const char* const digits = p;
    while (p != end && static_cast<unsigned>(*p - '0') < 10u) ++p;
    if (p == digits) return nullptr;
  }
  return p;
}

}  // namespace

bool parseShortDecimal(std::string_view s, float& v) {
  const char* const end = s.data() + s.size();
  float r = 0;
  if (scanShortDecimal(s.data(), end, r) != end) return false;
  v = r;
  return true;
}

bool parseReal(std::string_view s, float& v) {
  if (s.empty()) return false;
  if (parseShortDecimal(s, v)) return true;
  // The common form (digits, a point, an E exponent) is read directly; the same correctly
  // rounded value as the general path below.
  if (s.front() != '+' && (std::isdigit(static_cast<unsigned char>(s.front())) ||
                           s.front() == '-' || s.front() == '.')) {
    float out = 0;
    const auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), out);
    if (ec == std::errc() && p == s.data() + s.size()) {
      v = out;
      return true;
    }
  }
  std::string_view body = s;
  bool negative = false;
  if (body.front() == '+' || body.front() == '-') {
    negative = body.front() == '-';
    body.remove_prefix(1);
  }
  if (equalsNoCase(body, "inf") || equalsNoCase(body, "infinity")) {
    v = negative ? -std::numeric_limits<float>::infinity() : std::numeric_limits<float>::infinity();
    return true;
  }
  if (equalsNoCase(body.substr(0, 3), "nan") &&
      (body.size() == 3 || (body[3] == '(' && body.back() == ')'))) {
    v = std::numeric_limits<float>::quiet_NaN();
    return true;
  }
  // Mantissa: digits with at most one point and at least one digit; then an optional exponent
  // introduced by E, D or Q (or by a bare sign).
  std::string buf;
  buf.reserve(s.size() + 2);
  if (negative) buf += '-';
  std::size_t i = 0;
  int digits = 0;
  bool point = false;
  for (; i < body.size(); ++i) {
    const char c = body[i];
    if (std::isdigit(static_cast<unsigned char>(c))) {
      ++digits;
    } else if (c == '.' && !point) {
      point = true;
    } else {
      break;
    }
    buf += c;
  }
  if (digits == 0) return false;
  if (i < body.size()) {
    char c = body[i];
    if (c == 'e' || c == 'E' || c == 'd' || c == 'D' || c == 'q' || c == 'Q') {
      ++i;
    } else if (c != '+' && c != '-') {
      return false;
    }
    buf += 'e';
    std::size_t expDigits = 0;
    if (i < body.size() && (body[i] == '+' || body[i] == '-')) buf += body[i++];
    for (; i < body.size(); ++i) {
      if (!std::isdigit(static_cast<unsigned char>(body[i]))) return false;
      buf += body[i];
      ++expDigits;
    }
    if (expDigits == 0) return false;
  }
  errno = 0;
  char* end = nullptr;
  const float r = std::strtof(buf.c_str(), &end);
  if (end != buf.c_str() + buf.size()) return false;
  v = r;  // an overflow gives an infinity, which callers treat as a bad value
  return true;
}

namespace {

constexpr std::size_t kBlock = std::size_t{1} << 16;  // bytes read from a file at a time

}  // namespace

void FreeReader::reset(std::string text) {
  file_.close();
  buf_ = std::move(text);
  rewind();
}

void FreeReader::reset(TextFile file) {
  file_ = std::move(file);
  buf_.clear();
  rewind();
}

void FreeReader::rewind() {
  if (file_.isOpen()) {
    buf_.clear();
    if (!file_.rewind()) file_.close();
  }
  bufPos_ = 0;
  consumed_ = 0;
  skipLf_ = false;
  ended_ = false;
  startRecord();
}

// The next block of the file into buf_; false at its end (or when the text is in memory).
bool FreeReader::refill() {
  if (!file_.isOpen()) return false;
  buf_.resize(kBlock);
  buf_.resize(file_.read(buf_.data(), kBlock));
  bufPos_ = 0;
  return !buf_.empty();
}

// Keeps the characters of a record that spans blocks, up to the record width.
void FreeReader::keep(const char* begin, std::size_t n) {
  if (recStore_.size() < kRecordWidth)
    recStore_.append(begin, std::min(n, kRecordWidth - recStore_.size()));
}

// Makes the next record the current one, its end found; false at the end of the text.
bool FreeReader::nextRecordStart() {
  return startRecord() && findRecordEnd();
}

// Makes the next record the current one without looking for its end yet (pending_): a record of
// plain values is then read straight from the block, its end learnt from the scan of its values;
// every other read finds the end first (settle). False at the end of the text.
bool FreeReader::startRecord() {
  pos_ = 0;
  rec_ = {};
  haveRecord_ = false;
  pending_ = false;
  if (ended_) return false;
  if (skipLf_) {
    skipLf_ = false;
    if (bufPos_ == buf_.size() && !refill()) {
      ended_ = true;
      return false;
    }
    if (buf_[bufPos_] == '\n') {
      ++bufPos_;
      ++consumed_;
    }
  }
  if (bufPos_ == buf_.size() && !refill()) {
    ended_ = true;
    return false;
  }
  haveRecord_ = true;
  pending_ = true;
  return true;
}

// The end of the record that starts at bufPos_ (at least one byte of it is in the block). A
// record that lies in one block is viewed where it stands; one that spans blocks is kept in
// recStore_. False when the record is longer than the longest allowed: the text ends there.
bool FreeReader::findRecordEnd() {
  pending_ = false;
  haveRecord_ = false;
  recStore_.clear();
  bool spans = false;
  std::size_t length = 0;
  for (;;) {
    if (bufPos_ == buf_.size() && !refill()) {
      // The text ends: with a last record that has no line end.
      ended_ = true;
      if (!spans) return false;
      rec_ = recStore_;
      haveRecord_ = true;
      return true;
    }
    const char* begin = buf_.data() + bufPos_;
    const char* end = buf_.data() + buf_.size();
    const char* p = recordEnd(begin, end);
    const auto n = static_cast<std::size_t>(p - begin);
    length += n;
    if (length > kMaxRecordLength) {
      ended_ = true;
      return false;
    }
    if (p == end) {
      keep(begin, n);
      spans = true;
      bufPos_ += n;
      consumed_ += n;
      continue;
    }
    if (spans) {
      keep(begin, n);
      rec_ = recStore_;
    } else {
      rec_ = std::string_view(begin, std::min(n, kRecordWidth));
    }
    // A CR LF in the block is passed over whole; a CR at its end may have its LF in the next.
    std::size_t ending = 1;
    if (*p == '\r') {
      if (p + 1 == end) {
        skipLf_ = true;
      } else if (p[1] == '\n') {
        ending = 2;
      }
    }
    bufPos_ += n + ending;
    consumed_ += n + ending;
    haveRecord_ = true;
    return true;
  }
}

// How far a pending record may be read straight from the block: to the block's end or to the
// kept width, whichever comes first. A record whose line end is not found before this limit is
// read by the general rules.
const char* FreeReader::plainRecordLimit() const {
  return buf_.data() + std::min(buf_.size(), bufPos_ + kRecordWidth);
}

// Passes the pending record, whose line end (a CR or an LF of the block) is at lineEnd, and
// starts the next. Only after a read straight from the block (the reader pending, at the
// record's start).
void FreeReader::passRecordEnd(const char* lineEnd) {
  const char* const end = buf_.data() + buf_.size();
  std::size_t ending = 1;
  if (*lineEnd == '\r') {
    if (lineEnd + 1 == end) {
      skipLf_ = true;
    } else if (lineEnd[1] == '\n') {
      ending = 2;
    }
  }
  const auto n = static_cast<std::size_t>(lineEnd - (buf_.data() + bufPos_)) + ending;
  bufPos_ += n;
  consumed_ += n;
  // A record read straight from the block left the reader as startRecord leaves it: when the
  // next record starts in the block, nothing else is to be set.
  if (skipLf_ || bufPos_ == buf_.size()) startRecord();
}

void FreeReader::skipBlanks() {
  while (pos_ < rec_.size() && isBlank(rec_[pos_])) ++pos_;
}

bool FreeReader::readRecord(std::string& line) {
  settle();
  if (!haveRecord_) return false;
  line.assign(rec_.substr(pos_));
  startRecord();
  return true;
}

bool FreeReader::skipRecords(int n) {
  for (int i = 0; i < n; ++i) {
    settle();
    if (!haveRecord_) return false;
    startRecord();
  }
  return true;
}

void FreeReader::beginRead() {
  slashSeen_ = false;
  firstItem_ = true;
  repeat_ = 0;
}

void FreeReader::endRead() {
  if (haveRecord_) startRecord();
}

// The next item of the current read. Blank records are skipped while looking for it.
FreeReader::Item FreeReader::nextItem() {
  if (repeat_ > 0) {
    --repeat_;
    return repeatItem_;
  }
  if (slashSeen_) return {Item::Slash, {}, false};
  const std::uint64_t scanStart = consumed_;
  for (;;) {
    skipBlanks();
    if (!haveRecord_) return {Item::End, {}, false};
    if (pos_ >= rec_.size()) {
      // Blank records as long as the longest record allowed end the text too.
      if (consumed_ - scanStart > kMaxRecordLength) {
        ended_ = true;
        haveRecord_ = false;
        rec_ = {};
        return {Item::End, {}, false};
      }
      if (!nextRecordStart()) return {Item::End, {}, false};
      continue;
    }
    break;
  }
  const char c = rec_[pos_];
  if (c == ',') {
    // A comma where a value should start: an empty value, unless it only closes the value
    // read before it (handled when that value ended).
    ++pos_;
    firstItem_ = false;
    return {Item::Null, {}, false};
  }
  if (c == '/') {
    ++pos_;
    slashSeen_ = true;
    return {Item::Slash, {}, false};
  }
  firstItem_ = false;
  Item item{Item::Value, {}, false};
  if (c == '\'' || c == '"') {
    const char q = c;
    ++pos_;
    quoted_.clear();
    while (pos_ < rec_.size()) {
      if (rec_[pos_] == q) {
        if (pos_ + 1 < rec_.size() && rec_[pos_ + 1] == q) {
          quoted_ += q;
          pos_ += 2;
          continue;
        }
        ++pos_;
        break;
      }
      quoted_ += rec_[pos_++];
    }
    item.text = quoted_;
    item.quoted = true;
  } else if (c == '(') {
    // A complex value: keep everything up to the closing parenthesis on this record.
    const std::size_t start = pos_;
    while (pos_ < rec_.size() && rec_[pos_] != ')') ++pos_;
    if (pos_ < rec_.size() && rec_[pos_] == ')') ++pos_;
    item.text = rec_.substr(start, pos_ - start);
  } else {
    const std::size_t start = pos_;
    while (pos_ < rec_.size() && !isBlank(rec_[pos_]) && rec_[pos_] != ',' && rec_[pos_] != '/')
      ++pos_;
    item.text = rec_.substr(start, pos_ - start);
    // A repeat count r*value or r* (r null values).
    const auto star = item.text.find('*');
    if (star != std::string_view::npos) {
      int r = 0;
      if (parseInt(item.text.substr(0, star), r) && r > 0) {
        std::string_view rest = item.text.substr(star + 1);
        repeatItem_ = rest.empty() ? Item{Item::Null, {}, false} : Item{Item::Value, rest, false};
        repeat_ = r - 1;
        item = repeatItem_;
      }
    }
  }
  // The separator that ends this value: blanks, then at most one comma.
  skipBlanks();
  if (pos_ < rec_.size() && rec_[pos_] == ',') ++pos_;
  return item;
}

// A value on the current record that needs none of the item rules beyond blanks and one comma
// (no quote, parenthesis, repeat count, empty value or slash): its text, with the position moved
// past it and its separator exactly as nextItem moves it. False, with the position unchanged in
// effect (only blanks passed), when the general rules are needed.
bool FreeReader::plainItem(std::string_view& text) {
  skipBlanks();
  const std::size_t start = pos_, size = rec_.size();
  if (start >= size) return false;
  const char* const d = rec_.data();
  const char c = d[start];
  if (c == ',' || c == '/' || c == '\'' || c == '"' || c == '(') return false;
  std::size_t p = start;
  for (; p < size; ++p) {
    const char e = d[p];
    if (e == ' ' || e == '\t' || e == ',' || e == '/') break;
    if (e == '*') return false;
  }
  text = std::string_view(d + start, p - start);
  pos_ = p;
  skipBlanks();
  if (pos_ < size && d[pos_] == ',') ++pos_;
  return true;
}

// A short plain decimal on the current record, read in the same pass that finds its end: its
// value, with the position moved past it and its separator as plainItem moves it. False when the
// value there needs plainItem and the general conversion (the position then only passed blanks).
bool FreeReader::shortValue(float& v) {
  skipBlanks();
  const char* const d = rec_.data();
  const char* const end = d + rec_.size();
  float r = 0;
  const char* const p = scanShortDecimal(d + pos_, end, r);
  if (p == nullptr || (p != end && *p != ' ' && *p != '\t' && *p != ',' && *p != '/')) return false;
  pos_ = static_cast<std::size_t>(p - d);
  skipBlanks();
  if (pos_ < rec_.size() && d[pos_] == ',') ++pos_;
  v = r;
  return true;
}

// One read of one value: parse converts the value's text into the variable, or says it cannot.
template <class Parse>
FreeReader::Status FreeReader::readOne(Parse parse) {
  settle();
  beginRead();
  const Item item = nextItem();
  if (item.kind == Item::End) return Status::End;
  Status st = Status::Ok;
  if (item.kind != Item::Value) {
    st = Status::Null;
  } else if (!parse(item.text)) {
    st = Status::Error;
  }
  endRead();
  return st;
}

FreeReader::Status FreeReader::readInt(int& v) {
  return readOne([&](std::string_view t) { return parseInt(t, v); });
}

FreeReader::Status FreeReader::readReal(float& v) {
  // The common record: a plain value where the read starts, read without the item machinery.
  settle();
  if (haveRecord_) {
    beginRead();
    const std::size_t start = pos_;
    float r = 0;
    if (shortValue(r)) {
      v = r;
      endRead();
      return Status::Ok;
    }
    pos_ = start;
    std::string_view t;
    if (plainItem(t)) {
      const Status st = parseReal(t, v) ? Status::Ok : Status::Error;
      endRead();
      return st;
    }
    pos_ = start;
  }
  return readOne([&](std::string_view t) { return parseReal(t, v); });
}

FreeReader::Status FreeReader::readText(std::string& v) {
  return readOne([&](std::string_view t) {
    v.assign(t);
    return true;
  });
}

namespace {

// [-]digits[.digits][e|E[sign]digits] with a digit in the mantissa: a text that parseReal always
// reads (to a finite value, an infinity or a zero).
bool isPlainDecimal(std::string_view s) {
  std::size_t i = 0, n = s.size();
  if (i < n && s[i] == '-') ++i;
  std::size_t digits = 0;
  while (i < n && static_cast<unsigned>(s[i] - '0') < 10u) ++i, ++digits;
  if (i < n && s[i] == '.') {
    ++i;
    while (i < n && static_cast<unsigned>(s[i] - '0') < 10u) ++i, ++digits;
  }
  if (digits == 0) return false;
  if (i == n) return true;
  if (s[i] != 'e' && s[i] != 'E') return false;
  ++i;
  if (i < n && (s[i] == '+' || s[i] == '-')) ++i;
  if (i == n) return false;
  while (i < n && static_cast<unsigned>(s[i] - '0') < 10u) ++i;
  return i == n;
}

}  // namespace

FreeReader::Status FreeReader::skipFirstReal() {
  if (pending_ && fastFirstReal()) return Status::Ok;
  settle();
  if (haveRecord_) {
    beginRead();
    const std::size_t start = pos_;
    // A plain decimal ending at a separator: found in one pass, by its form.
    skipBlanks();
    const char* const d = rec_.data();
    const char* const end = d + rec_.size();
    const char* const p = scanPlainDecimalForm(d + pos_, end);
    if (p != nullptr && (p == end || *p == ' ' || *p == '\t' || *p == ',' || *p == '/')) {
      endRead();
      return Status::Ok;
    }
    pos_ = start;
    std::string_view t;
    if (plainItem(t) && isPlainDecimal(t)) {
      endRead();
      return Status::Ok;
    }
    pos_ = start;
  }
  float v = 0;
  return readReal(v);
}

// A record of two plain values read straight from the block, before its end is known: the end
// is learnt from the scan when only blanks and a line end follow the second value, and looked
// for from there when more follows (discarded, as by every read). The same values and the same
// position after the read as the general rules give; false, nothing moved, for any record that
// needs more of them (or reaches the block's end or the kept width before its line end).
bool FreeReader::fastPair(float& x, float& y) {
  const char* p = buf_.data() + bufPos_;
  const char* const lim = plainRecordLimit();
  const auto blanks = [&] {
    while (p != lim && (*p == ' ' || *p == '\t')) ++p;
  };
  float vx = 0, vy = 0;
  blanks();
  p = scanShortDecimal(p, lim, vx);
  // The first value ends at a blank or a comma: at the line end the second is on a later record.
  if (p == nullptr || p == lim || (*p != ' ' && *p != '\t' && *p != ',')) return false;
  blanks();
  if (p != lim && *p == ',') ++p;
  blanks();
  p = scanShortDecimal(p, lim, vy);
  if (p == nullptr || p == lim) return false;
  if (*p != '\r' && *p != '\n') {
    if (*p != ' ' && *p != '\t' && *p != ',' && *p != '/') return false;
    blanks();
    if (p == lim) return false;
    if (*p != '\r' && *p != '\n') {
      p = recordEnd(p, lim);
      if (p == lim) return false;
    }
  }
  x = vx;
  y = vy;
  passRecordEnd(p);
  return true;
}

// The counting read of a record whose first value is a plain decimal, straight from the block
// as fastPair reads; false, nothing moved, when the general rules are needed.
bool FreeReader::fastFirstReal() {
  const char* p = buf_.data() + bufPos_;
  const char* const lim = plainRecordLimit();
  while (p != lim && (*p == ' ' || *p == '\t')) ++p;
  p = scanPlainDecimalForm(p, lim);
  if (p == nullptr || p == lim) return false;
  if (*p != '\r' && *p != '\n') {
    if (*p != ' ' && *p != '\t' && *p != ',' && *p != '/') return false;
    p = recordEnd(p, lim);
    if (p == lim) return false;
  }
  beginRead();
  passRecordEnd(p);
  return true;
}

FreeReader::Status FreeReader::readPair(float& x, float& y) {
  beginRead();
  if (pending_ && fastPair(x, y)) return Status::Ok;
  settle();
  // The common record: two plain values on the record where the read starts.
  if (haveRecord_) {
    const std::size_t start = pos_;
    float vx = 0, vy = 0;
    if (shortValue(vx) && shortValue(vy)) {
      x = vx;
      y = vy;
      endRead();
      return Status::Ok;
    }
    pos_ = start;
    std::string_view tx, ty;
    if (plainItem(tx) && plainItem(ty)) {
      Status st = Status::Ok;
      if (!parseReal(tx, x) || !parseReal(ty, y)) st = Status::Error;
      endRead();
      return st;
    }
    pos_ = start;
  }
  Status st = Status::Ok;
  for (float* target : {&x, &y}) {
    const Item item = nextItem();
    if (item.kind == Item::End) return Status::End;
    if (item.kind != Item::Value) continue;  // null value: unchanged
    if (!parseReal(item.text, *target)) {
      st = Status::Error;
      break;
    }
  }
  endRead();
  return st;
}

FreeReader::Status FreeReader::readComplexItem(std::complex<float>& c) {
  const Item item = nextItem();
  if (item.kind == Item::End) return Status::End;
  if (item.kind != Item::Value) return Status::Ok;
  std::string_view t = item.text;
  if (t.size() < 2 || t.front() != '(' || t.back() != ')') return Status::Error;
  t = t.substr(1, t.size() - 2);
  const auto comma = t.find(',');
  if (comma == std::string_view::npos) return Status::Error;
  auto trim = [](std::string_view s) {
    while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
    return s;
  };
  float re = 0, im = 0;
  if (!parseReal(trim(t.substr(0, comma)), re) || !parseReal(trim(t.substr(comma + 1)), im))
    return Status::Error;
  c = {re, im};
  return Status::Ok;
}

FreeReader::Status FreeReader::readComplexPoint(float& x, std::complex<float>& c) {
  settle();
  beginRead();
  Status st = Status::Ok;
  const Item item = nextItem();
  if (item.kind == Item::End) return Status::End;
  if (item.kind == Item::Value && !parseReal(item.text, x)) {
    st = Status::Error;
  } else {
    st = readComplexItem(c);
  }
  if (st == Status::End) return st;
  endRead();
  return st;
}

}  // namespace voxtrel
