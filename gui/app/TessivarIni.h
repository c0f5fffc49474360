// The settings file "Tessivar.ini" in the base folder. It is written once, at the first start,
// and its existence tells every later start that the first start is over (the intro is then
// skipped). Three CR LF lines of single-byte text:
//
//   Tessivar™ Program                 <short date>
//   1             ! Increase if COMMAND still active and stops your run
//   no name             ! User name
//
// Later starts skip line 1 and read lines 2 and 3 by the answer-file value rule: the text before
// the first "!", trimmed; a value beginning with "-999" is empty; TABs removed.
#pragma once

#include <QDate>
#include <QString>

namespace tessivar {

struct IniValues {
  float timeFactor = 1.0f;  // kept and reported; nothing else in the program uses it
  QString userName;
};

// What went wrong with the settings file: the error number and description shown in the
// Start_INI box.
struct IniError {
  int number = 0;
  QString description;
};

class TessivarIni {
 public:
  static constexpr const char* kFileName = "Tessivar.ini";

  explicit TessivarIni(QString baseDir) : baseDir_(std::move(baseDir)) {}

  QString path() const;
  bool exists() const;

  // Start_INI: reads the file when it exists, else writes it (first start) with the user name
  // "no name" and the factor 1. False and `error` set when the file cannot be read or written.
  bool startIni(IniValues& values, IniError& error, const QDate& today = QDate::currentDate());

  // The three lines of a new file, CR LF included, as single-byte text.
  static QByteArray firstStartText(const QDate& today);

  // The Start_INI box for an error, with the folder it concerns.
  QString errorTitle() const { return QStringLiteral("In 'Start_INI' routine ..."); }
  QString errorText(const IniError& error) const;

 private:
  QString baseDir_;
};

}  // namespace tessivar
