// The answer-file format and the name rules, without a window.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "mdlCommonFiles.h"

using namespace tessivar;

namespace {

QByteArray readAll(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeAll(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
  f.write(bytes);
}

AnswerState filledState(const QString& method) {
  AnswerState s;
  s.Answers[1] = "/data/sig.rda";
  s.Answers[2] = "2";
  s.Answers[3] = "0";
  s.Answers[4] = "Real";
  s.Answers[5] = "ignored";
  s.Answers[6] = method;
  s.Answers[7] = "No";
  s.Answers[8] = "128";
  for (int i = 9; i <= kQuestionCount; ++i) s.Answers[i] = QString::number(100 + i);
  s.Note1 = "first note";
  s.Note2 = "second note";
  return s;
}

}  // namespace

TEST(AnswerFileLine, ValueBlanksTabsBangAndLabelWithCrLf) {
  struct Case {
    QString value, label;
    QByteArray expected;
  };
  const Case cases[] = {
      {"64", "8. x", "64  \t\t! 8. x\r\n"},
      {"  Real ", "4.", "Real  \t\t! 4.\r\n"},
      {"", "empty", "-999  \t\t! empty\r\n"},
      {"   ", "blank", "-999  \t\t! blank\r\n"},
      {"v", QString(60, 'L'), "v  \t\t! " + QByteArray(50, 'L') + "\r\n"},
      {"1", QStringLiteral("1. \u00BB  File"), "1  \t\t! 1. \xBB  File\r\n"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(WriteAnsLine(c.value, c.label), c.expected) << c.label.toStdString();
}

TEST(AnswerFileLine, DateStampIsEnglishTwelveHour) {
  const QDate day(2026, 12, 6);
  EXPECT_EQ(ansDateStamp(QDateTime(day, QTime(9, 47))), "December 06, 2026 @ 9:47 AM");
  EXPECT_EQ(ansDateStamp(QDateTime(day, QTime(13, 5))), "December 06, 2026 @ 1:05 PM");
  EXPECT_EQ(ansDateStamp(QDateTime(QDate(2027, 3, 1), QTime(0, 0))), "March 01, 2027 @ 12:00 AM");
  EXPECT_EQ(ansDateStamp(QDateTime(day, QTime(12, 30))), "December 06, 2026 @ 12:30 PM");
}

TEST(AnswerFileText, EveryMethodWritesItsQuestionsAndReadsBack) {
  QTemporaryDir dir;
  const QDateTime when(QDate(2026, 12, 6), QTime(9, 47));
  for (const QString& method : methodEntries()) {
    SCOPED_TRACE(method.toStdString());
    const AnswerState s = filledState(method);
    const QList<int> required = requiredList(method);
    const QByteArray text = ansFileText("run.1", s, required, when);

    // 21 lines, every one ending in CR LF, no bare LF.
    EXPECT_EQ(text.count("\r\n"), 21);
    EXPECT_EQ(text.count('\n'), 21);
    const QList<QByteArray> lines = text.split('\n');
    EXPECT_EQ(lines[0], "run.1  \t\t! 18; December 06, 2026 @ 9:47 AM\r");
    EXPECT_EQ(lines[1],
              "/data/sig.rda  \t\t! 1. \xBB  File name containing data points for analysi\r");
    EXPECT_TRUE(lines[5].startsWith("-999  \t\t! 5. \xBB")) << lines[5].constData();
    EXPECT_TRUE(lines[6].startsWith(method.toLatin1() + "  \t\t! 6. \xBB"));
    for (int q = 9; q <= kQuestionCount; ++q) {
      const QByteArray value = required.contains(q) ? QByteArray::number(100 + q) : "-999";
      EXPECT_TRUE(lines[q].startsWith(value + "  \t\t! " + QByteArray::number(q) + ". \xBB"))
          << "question " << q << ": " << lines[q].constData();
    }
    EXPECT_EQ(lines[19], "first note  \t\t! 20. \xBB Note1\r");
    EXPECT_EQ(lines[20], "second note  \t\t!     \xBB Note2\r");

    const QString path = dir.filePath("run.1");
    writeAll(path, text);
    QString error;
    const auto back = readAnsFileContents(path, &error);
    ASSERT_TRUE(back) << error.toStdString();
    EXPECT_EQ(back->recordedName, "run.1");
    for (int q = 1; q <= kQuestionCount; ++q) {
      const bool written = q <= 8 ? q != 5 : required.contains(q);
      EXPECT_EQ(back->Answers[q], written ? s.Answers[q] : QString()) << "question " << q;
    }
    EXPECT_EQ(back->Note1, "first note");
    EXPECT_EQ(back->Note2, "second note");
  }
}

TEST(AnswerFileText, PeriodogramKeepsOnlyTheWindowAmongQuestionsNineToEighteen) {
  AnswerState s = filledState("Periodogram");
  s.Answers[18] = "Hanning";
  const QList<QByteArray> lines =
      ansFileText("p.1", s, requiredList("Periodogram"), QDateTime::currentDateTime()).split('\n');
  for (int line = 10; line <= 18; ++line) EXPECT_TRUE(lines[line - 1].startsWith("-999  "));
  EXPECT_TRUE(lines[18].startsWith("Hanning  "));
  EXPECT_TRUE(lines[5].startsWith("-999  "));
}

TEST(AnswerFileReader, ValuesAreCutAtBangTrimmedAndNoValueIsEmpty) {
  QTemporaryDir dir;
  const QString path = dir.filePath("short.0");
  writeAll(path,
           "name.0  \t\t! 18; date\r\n"
           "-999.5  \t\t! label\r\n"
           "  a\tb  ! x ! y\r\n"
           "no bang at all\r\n"
           "-9990\r\n"
           "\r\n"
           "Modified Covariance  \t\t! 6.\n");
  AnsFileReader reader;
  ASSERT_TRUE(reader.open(path));
  EXPECT_EQ(reader.ReadAnsValue(), "name.0");
  EXPECT_EQ(reader.ReadAnsValue(), "");
  EXPECT_EQ(reader.ReadAnsValue(), "ab");
  EXPECT_EQ(reader.ReadAnsValue(), "no bang at all");
  EXPECT_EQ(reader.ReadAnsValue(), "");
  EXPECT_EQ(reader.ReadAnsValue(), "");
  EXPECT_EQ(reader.ReadAnsValue(), "Modified Covariance");
  EXPECT_EQ(reader.ReadAnsValue(), "-EOF-");
  EXPECT_EQ(reader.ReadAnsValue(), "-EOF-");

  // A file shorter than 21 lines reads "-EOF-" for everything missing, the notes included.
  QString error;
  const auto contents = readAnsFileContents(path, &error);
  ASSERT_TRUE(contents);
  EXPECT_EQ(contents->Answers[6], "Modified Covariance");
  EXPECT_EQ(contents->Answers[7], "-EOF-");
  EXPECT_EQ(contents->Note2, "-EOF-");

  EXPECT_FALSE(readAnsFileContents(dir.filePath("missing.0"), &error));
  EXPECT_FALSE(error.isEmpty());
}

TEST(AnswerFileRules, NPointsRoundsUpToAPowerOfTwoWithinRange) {
  const std::pair<QString, std::optional<QString>> cases[] = {
      {"100", "128"},
      {"64", "64"},
      {"1", "1"},
      {"2", "2"},
      {"3", "4"},
      {"5", "8"},
      {"6", "8"},
      {"1000", "1024"},
      {"1025", "2048"},
      {" 96 ", "128"},
      {"16384", "16384"},
      {"12000", "16384"},
      {"", ""},
      {"  ", ""},
      {"0", std::nullopt},
      {"-4", std::nullopt},
      {"16385", std::nullopt},
      {"99999", std::nullopt},
      {"abc", std::nullopt},
      {"3.5", std::nullopt},
      {"64k", std::nullopt},
  };
  for (const auto& [typed, expected] : cases)
    EXPECT_EQ(roundNPoints(typed), expected) << typed.toStdString();
}

TEST(AnswerFileRules, SplitPathAtTheLastSeparator) {
  QString dir;
  EXPECT_EQ(SplitPath("/work/user/sf.49", dir), "sf.49");
  EXPECT_EQ(dir, "/work/user");
  EXPECT_EQ(SplitPath("c:\\data\\x.rda", dir), "x.rda");
  EXPECT_EQ(dir, "c:\\data");
  EXPECT_EQ(SplitPath("/top", dir), "top");
  EXPECT_EQ(dir, "");
  EXPECT_EQ(SplitPath("/work/", dir), "");
  EXPECT_EQ(dir, "/work");
  EXPECT_EQ(SplitPath("plain.rda", dir), "plain.rda");
  EXPECT_EQ(dir, QDir::currentPath());
}

TEST(AnswerFileRules, SaveAsOffersTheStemWithAnyExtension) {
  const std::pair<QString, QString> cases[] = {
      {"sf.49", "sf.*"},
      {"abc", "abc.*"},
      {"a.b.c", "a.*"},
      {".hidden", ".hidden.*"},
      {"*.*", "*.*"},
      {"New data", "New data.*"},
      {kAnsNameHint, kAnsNameHint},
  };
  for (const auto& [name, offered] : cases) EXPECT_EQ(saveAsOfferedName(name), offered);
}

TEST(AnswerFileRules, RunLogCopyIsNamedAfterTheAnswerFile) {
  const std::tuple<QString, QString> cases[] = {
      {"sf.49", "/ans/sf_49.out"},
      {"Ex-Auto.0", "/ans/ex-auto_0.out"},
      {"Ex-0-pad.8k", "/ans/ex-0-pad_8k.out"},
      {"a.b.c", "/ans/a_b.out"},
      {"NoDot", "/cwd/nodot.out"},
  };
  for (const auto& [name, copy] : cases) EXPECT_EQ(runLogCopyPath(name, "/ans", "/cwd"), copy);
}

TEST(AnswerFileRules, NamesInAFolderMatchWithoutRegardToCase) {
  QTemporaryDir base;
  ASSERT_TRUE(QDir(base.path()).mkpath("user"));
  writeAll(base.filePath("user/~Tirelle.out"), "log\r\n");
  writeAll(base.filePath("user/Ex-Auto.0"), "x\r\n");
  EXPECT_EQ(findFile(base.filePath("user/~tirelle.out")), base.filePath("user/~Tirelle.out"));
  EXPECT_EQ(findFile(base.filePath("User/ex-auto.0")), base.filePath("user/Ex-Auto.0"));
  EXPECT_EQ(findFolder(base.filePath("USER")), base.filePath("user"));
  EXPECT_TRUE(FileExists(base.filePath("user/EX-AUTO.0")));
  EXPECT_FALSE(FileExists(base.filePath("user/ex-burg.0")));
  EXPECT_FALSE(FileExists(base.filePath("user")));  // a folder is not a file
  EXPECT_FALSE(FileExists(""));
}

TEST(AnswerFileWrite, ReplacesWholeFilesAndRefusesReadOnlyOnes) {
  QTemporaryDir dir;
  const QString path = dir.filePath("run.1");
  EXPECT_FALSE(writeFileSafely(path, "first\r\n"));
  EXPECT_FALSE(writeFileSafely(path, "second\r\n"));
  EXPECT_EQ(readAll(path), "second\r\n");

  const QString example = dir.filePath("Ex-Auto.0");
  writeAll(example, "example\r\n");
  QFile::setPermissions(example, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
  EXPECT_TRUE(writeFileSafely(example, "changed\r\n"));
  EXPECT_EQ(readAll(example), "example\r\n");

  EXPECT_TRUE(writeFileSafely(dir.filePath("no/such/folder/x.1"), "x"));
  EXPECT_FALSE(QFile::exists(dir.filePath("no/such/folder/x.1")));
}

TEST(AnswerFileRules, LastNonBlankLineOfALog) {
  QTemporaryDir dir;
  writeAll(dir.filePath("a.out"), " one\r\n  Stop: too few points  \r\n \r\n\r\n");
  EXPECT_EQ(lastNonBlankLine(dir.filePath("a.out")), "Stop: too few points");
  writeAll(dir.filePath("b.out"), "\r\n  \r\n");
  EXPECT_EQ(lastNonBlankLine(dir.filePath("b.out")), "");
  EXPECT_EQ(lastNonBlankLine(dir.filePath("missing.out")), "");
}
