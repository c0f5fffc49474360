#include "mdlCommonFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <cmath>

namespace tessivar {

QByteArray WriteAnsLine(const QString& value, const QString& label) {
  QString v = value.trimmed();
  if (v.isEmpty()) v = kNoValue;
  const QString line = v + QStringLiteral("  \t\t! ") + label.left(50) + QStringLiteral("\r\n");
  // The engine reads single-byte text: "»" must be the one byte 0xBB.
  return line.toLatin1();
}

QStringList unsavableCharacters(const QString& text) {
  QStringList out;
  for (const char32_t u : text.toUcs4()) {
    if (u <= 0xFF) continue;
    const QString c = QString::fromUcs4(&u, 1);
    if (!out.contains(c)) out << c;
  }
  return out;
}

QString ansDateStamp(const QDateTime& when) {
  // Month names and AM/PM in English whatever the desktop's language, as the files always had.
  return QLocale(QLocale::English, QLocale::UnitedStates)
      .toString(when, QStringLiteral("MMMM dd, yyyy @ h:mm AP"));
}

QByteArray ansFileText(const QString& ansName, const AnswerState& state, const QList<int>& required,
                       const QDateTime& when) {
  QByteArray out = WriteAnsLine(ansName, QStringLiteral("18; ") + ansDateStamp(when));
  for (int i = 1; i <= 8; ++i) {
    const QString value = (i == 5) ? kNoValue : state.Answers[i];
    out += WriteAnsLine(value, questionCaption(i));
  }
  for (int i = 9; i <= kQuestionCount; ++i) {
    const QString value = required.contains(i) ? state.Answers[i] : kNoValue;
    out += WriteAnsLine(value, questionCaption(i));
  }
  out += WriteAnsLine(state.Note1, QStringLiteral("20. \u00BB Note1"));
  out += WriteAnsLine(state.Note2, QStringLiteral("    \u00BB Note2"));
  return out;
}

bool AnsFileReader::open(const QString& path) {
  file_ = std::make_unique<QFile>(path);
  linesRead_ = nonTextLine_ = overlongLine_ = 0;
  if (!file_->open(QIODevice::ReadOnly)) {
    error_ = file_->errorString();
    file_.reset();
    return false;
  }
  return true;
}

bool AnsFileReader::readLine(QByteArray& line) {
  line.clear();
  if (!file_ || file_->atEnd()) return false;
  char c = 0;
  while (file_->getChar(&c)) {
    if (c == '\n') break;
    if (c == '\r') {
      // CR LF is one line end; a lone CR ends the line by itself.
      char next = 0;
      if (file_->peek(&next, 1) == 1 && next == '\n') file_->getChar(&next);
      break;
    }
    if (line.size() >= kMaxLineLength) {
      overlongLine_ = linesRead_ + 1;
      return false;
    }
    line += c;
  }
  ++linesRead_;
  if (nonTextLine_ == 0) {
    for (const char b : line) {
      const auto u = static_cast<unsigned char>(b);
      if ((u < 0x20 && u != '\t') || u == 0x7F) {
        nonTextLine_ = linesRead_;
        break;
      }
    }
  }
  return true;
}

QString AnsFileReader::ReadAnsValue() {
  QByteArray bytes;
  if (!readLine(bytes)) {
    file_.reset();
    return kEndOfFile;
  }
  const QString line = QString::fromLatin1(bytes);
  const qsizetype bang = line.indexOf('!');
  QString value = (bang >= 0 ? line.left(bang) : line).trimmed();
  if (value.startsWith(kNoValue)) value.clear();
  value.remove('\t');
  return value.trimmed();
}

std::optional<AnsFileContents> readAnsFileContents(const QString& path, QString* error) {
  AnsFileReader reader;
  if (!reader.open(path)) {
    if (error) *error = reader.error();
    return std::nullopt;
  }
  AnsFileContents c;
  c.recordedName = reader.ReadAnsValue();
  for (int i = 1; i <= kQuestionCount; ++i) c.Answers[i] = reader.ReadAnsValue();
  c.Note1 = reader.ReadAnsValue();
  c.Note2 = reader.ReadAnsValue();
  c.lines = reader.linesRead();
  c.nonTextLine = reader.nonTextLine();
  c.overlongLine = reader.overlongLine();
  return c;
}

std::optional<QString> ansFileProblem(const AnsFileContents& c) {
  // Checked in the order of the lines, so the message names the first line at fault.
  if (c.lines == 0 && c.overlongLine == 0) return QStringLiteral("The file is empty.");
  // Reading stops at an overlong line, so a line with other bytes comes before it.
  if (c.nonTextLine != 0)
    return QStringLiteral("Line %1 holds characters that are not text.").arg(c.nonTextLine);
  if (c.overlongLine != 0)
    return QStringLiteral("Line %1 is longer than %2 characters.")
        .arg(c.overlongLine)
        .arg(AnsFileReader::kMaxLineLength);
  const int lastQuestionLine = kQuestionCount + 1;
  if (c.lines < lastQuestionLine)
    return QStringLiteral("It ends after line %1; an answer file has 21 lines.").arg(c.lines);
  const QString& method = c.Answers[6];
  if (method.isEmpty()) return QStringLiteral("Line 7 names no method.");
  if (!methodEntries().contains(method)) {
    // Garbage can be long; a few words of it are enough to recognise it.
    const QString shown = method.size() > 40 ? method.left(40) + QStringLiteral("...") : method;
    return QStringLiteral("Line 7 names the method \"%1\", which is not in the methods list.")
        .arg(shown);
  }
  QString dir;
  const QString dataName = SplitPath(c.Answers[1], dir);
  if (dataName.size() > kMaxFileNameLength)
    return QStringLiteral(
               "Line 2 names a data file whose name is %1 characters long; a file name has at "
               "most %2.")
        .arg(dataName.size())
        .arg(kMaxFileNameLength);
  return std::nullopt;
}

QString SplitPath(const QString& path, QString& dir) {
  const qsizetype cut = std::max(path.lastIndexOf('/'), path.lastIndexOf('\\'));
  if (cut < 0) {
    dir = QDir::currentPath();
    return path;
  }
  dir = path.left(cut);
  return path.mid(cut + 1);
}

namespace {

// The entry of folder whose name equals name without regard to case, or empty.
QString matchEntry(const QString& folder, const QString& name, QDir::Filters kind) {
  const QDir dir(folder);
  const QStringList entries = dir.entryList(kind | QDir::Hidden | QDir::System);
  for (const QString& entry : entries) {
    if (entry.compare(name, Qt::CaseInsensitive) == 0) return dir.filePath(entry);
  }
  return {};
}

}  // namespace

QString findFolder(const QString& path) {
  if (path.isEmpty()) return {};
  const QFileInfo info(path);
  if (info.isDir()) return info.absoluteFilePath();
  const QFileInfo parent(info.absolutePath());
  if (!parent.isDir() || info.fileName().isEmpty()) return {};
  return matchEntry(parent.absoluteFilePath(), info.fileName(), QDir::Dirs | QDir::NoDotAndDotDot);
}

QString findFile(const QString& path) {
  if (path.isEmpty()) return {};
  const QFileInfo info(path);
  if (info.isFile()) return info.absoluteFilePath();
  const QString folder = findFolder(info.absolutePath());
  if (folder.isEmpty() || info.fileName().isEmpty()) return {};
  return matchEntry(folder, info.fileName(), QDir::Files);
}

bool FileExists(const QString& path) {
  return !findFile(path).isEmpty();
}

std::optional<QString> roundNPoints(const QString& typed) {
  const QString text = typed.trimmed();
  if (text.isEmpty()) return QString();
  bool ok = false;
  const int n = text.toInt(&ok);
  if (!ok || n < 1 || n > kMaxNPoints) return std::nullopt;
  int k = static_cast<int>(std::lround(std::log2(static_cast<double>(n))));
  if ((1 << k) < n) ++k;
  return QString::number(1 << k);
}

QString saveAsOfferedName(const QString& ansName) {
  if (ansName == kAnsNameHint) return kAnsNameHint;
  const qsizetype dot = ansName.indexOf('.');
  const QString stem = dot > 0 ? ansName.left(dot) : ansName;
  return stem + QStringLiteral(".*");
}

QString runLogCopyPath(const QString& name, const QString& ansDir, const QString& workingDir) {
  if (!name.contains('.')) return workingDir + '/' + (name + QStringLiteral(".out")).toLower();
  const QStringList parts = name.split('.');
  return ansDir + '/' + (parts[0] + '_' + parts[1] + QStringLiteral(".out")).toLower();
}

std::optional<QString> engineDataPathProblem(const QString& value, const QString& meant) {
  if (value.size() > kEngineLineWidth)
    return QStringLiteral("Its path is %1 characters long; the engine reads at most %2.")
        .arg(value.size())
        .arg(kEngineLineWidth);
  const QString kept = QString::fromLatin1(meant.toLatin1());
  const bool lost = kept != meant && value == kept;
  if (lost || QFile::decodeName(value.toLatin1()) != value)
    return QStringLiteral(
        "Its path holds characters that the single-byte answer file cannot hand to this "
        "system's file names.");
  return std::nullopt;
}

bool isUtf16Text(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return false;
  const QByteArray start = file.read(512);
  if (start.startsWith("\xFF\xFE") || start.startsWith("\xFE\xFF")) return true;
  if (start.size() < 4) return false;
  // Without a mark: ASCII characters in UTF-16 have a NUL as their high byte, while the other
  // bytes are text (a file of NULs is no text at all).
  auto allNul = [&](int parity) {
    for (qsizetype i = parity; i + 1 < start.size(); i += 2) {
      if (start[i] != '\0') return false;
    }
    return true;
  };
  return allNul(0) != allNul(1);
}

QString lastNonBlankLine(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  const QStringList lines = QString::fromLatin1(file.readAll()).split('\n');
  for (auto it = lines.crbegin(); it != lines.crend(); ++it) {
    const QString line = it->trimmed();
    if (!line.isEmpty()) return line;
  }
  return {};
}

}  // namespace tessivar
