// Answer files without the form: the line format, the writer and the reader, and the small
// path and name rules the file commands share.
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QFile>
#include <QList>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

#include "AnswerState.h"
#include "SafeWrite.h"

namespace tessivar {

// The value every unanswered or unused question is written as.
inline const QString kNoValue = QStringLiteral("-999");
// What ReadAnsValue returns once the file has no more lines.
inline const QString kEndOfFile = QStringLiteral("-EOF-");

// One answer-file line: the trimmed value ("-999" when empty), two blanks, two TABs, "! " and
// the first 50 characters of the label, CR LF; single-byte (Latin-1) text.
QByteArray WriteAnsLine(const QString& value, const QString& label);

// The characters of text that a single-byte (Latin-1) answer line cannot hold, each once, in
// the order they first appear ("Omega Ω µ é 中文" gives Ω, 中, 文). WriteAnsLine would
// write each of them as "?".
QStringList unsavableCharacters(const QString& text);

// The date of line 1: "mmmm dd, yyyy @ h:mm AMPM", e.g. "December 06, 2026 @ 9:47 AM".
QString ansDateStamp(const QDateTime& when);

// The 21 lines of an answer file for the record. Questions 9..18 not in required are written
// as "-999", as is question 5.
QByteArray ansFileText(const QString& ansName, const AnswerState& state, const QList<int>& required,
                       const QDateTime& when);

// Reads an answer file value by value. A line ends at CR LF, LF or a lone CR, as the engine
// reads it, so a file saved with any of these line ends gives the same values.
class AnsFileReader {
 public:
  // No answer line is this long; a longer one ends the reading (a file that is no answer file,
  // such as a large binary file without line ends, is never read into memory).
  static constexpr qsizetype kMaxLineLength = 32768;

  // False (with error()) when the file cannot be opened.
  bool open(const QString& path);
  QString error() const { return error_; }
  // The next line's value: the text before the first "!", trimmed; a value beginning with
  // "-999" is empty; TABs removed. "-EOF-" once the file is exhausted (the file is then closed).
  QString ReadAnsValue();

  // What the lines read so far showed: how many there were, the first one holding bytes that
  // are not text (control characters other than TAB), the first one over kMaxLineLength.
  // 0 means none.
  int linesRead() const { return linesRead_; }
  int nonTextLine() const { return nonTextLine_; }
  int overlongLine() const { return overlongLine_; }

 private:
  bool readLine(QByteArray& line);

  std::unique_ptr<QFile> file_;
  QString error_;
  int linesRead_ = 0;
  int nonTextLine_ = 0;
  int overlongLine_ = 0;
};

// What an answer file holds, as ReadAnsFile loads it.
struct AnsFileContents {
  QString recordedName;  // line 1
  std::array<QString, kQuestionCount + 1> Answers;
  QString Note1, Note2;
  // How the lines looked (see AnsFileReader).
  int lines = 0;
  int nonTextLine = 0;
  int overlongLine = 0;
};
// Reads the 21 values of an answer file; nothing (with error) when it cannot be opened.
std::optional<AnsFileContents> readAnsFileContents(const QString& path, QString* error);

// Why the contents cannot be loaded into the form, in a sentence for the user; nothing when
// they can. Loading them would otherwise replace the form's answers with values the form cannot
// show: an empty or binary file, a line too long for an answer, a file that ends before its
// last question, a method that is not in the methods list, a data file name no file system
// allows. A missing note (lines 20, 21) reads "-EOF-", and an nPoints that is not usable is
// loaded and then warned about, as for a typed one.
std::optional<QString> ansFileProblem(const AnsFileContents& contents);
// The longest file name the common file systems allow.
inline constexpr int kMaxFileNameLength = 255;

// The part of path after its last separator ("/" or "\"); dir gets the part before it, or the
// current working directory when there is none.
QString SplitPath(const QString& path, QString& dir);

// The existing file's real path when path names a file, matching the file name (and the last
// folder name) without regard to case; empty otherwise.
QString findFile(const QString& path);
// True when path names an existing file (names matched without regard to case).
bool FileExists(const QString& path);
// The existing folder's real path, its last name matched without regard to case; empty if none.
QString findFolder(const QString& path);

// nPoints as stored: the smallest power of two not below the typed whole number. Empty text
// stays empty; nothing when the text is not a whole number from 1 to 16384.
std::optional<QString> roundNPoints(const QString& typed);
inline constexpr int kMaxNPoints = 16384;

// The name the Save As dialog offers: the hint itself, else the name up to its first "."
// followed by ".*" (the whole name when there is no "." or it starts the name).
QString saveAsOfferedName(const QString& ansName);

// Where the run log's copy goes: name + ".out" in the working directory when name has no ".";
// otherwise ansDir / s1 + "_" + s2 + ".out" from the first two "."-separated parts. The file
// name is in lower case.
QString runLogCopyPath(const QString& name, const QString& ansDir, const QString& workingDir);

// The engine reads at most this many characters of line 2, the data file's path.
inline constexpr int kEngineLineWidth = 1024;

// Why the engine, which opens the single-byte text of line 2 as a file name, would not find
// the data file that the line's value (as ReadAnsValue gives it) names: a path longer than it
// reads, or characters whose single byte means another character in this system's file names.
// meant, when given, is the form's data path that the line was written from: characters beyond
// single-byte text were lost on the way into the file. Nothing when the value reaches the
// engine as it stands.
std::optional<QString> engineDataPathProblem(const QString& value, const QString& meant = {});

// True when the file at path is UTF-16 text (a byte-order mark, or a NUL in every other byte
// of its start), which the engine, reading single-byte text, would find no numbers in.
bool isUtf16Text(const QString& path);

// The last line of a text file that is not blank, trimmed; empty when there is none.
QString lastNonBlankLine(const QString& path);

}  // namespace tessivar
