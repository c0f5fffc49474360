// File > Open with files that are no usable answer file: each is refused with a message that
// names the file and the line at fault, and the form keeps every answer it had; files that can
// be read load with defined values.
#include <QRandomGenerator>

#include "FormFixture.h"

using namespace tessivar;
using namespace tessivar::testing;

namespace {

using Answer = Dialogs::Answer;
using Buttons = Dialogs::Buttons;
using Icon = Dialogs::Icon;

class BadAnswerFiles : public FormFixture {
 protected:
  // Everything the form shows and the file it belongs to.
  QStringList snapshot() {
    QStringList out;
    for (const char* name :
         {"timeData", "nSkip", "TotalLines", "nPoints", "nPoles", "nZeros", "EPS", "Mode", "Meqn",
          "Lpts", "mLag", "NIT", "PER", "windowName", "Note1", "Note2"})
      out << QStringLiteral("%1=%2").arg(name, box(name)->text());
    out << "method=" + w<QComboBox>("Methods")->currentText();
    out << QStringLiteral("real=%1").arg(w<QRadioButton>("optReal")->isChecked());
    out << QStringLiteral("yes=%1").arg(w<QRadioButton>("optYes")->isChecked());
    out << "file=" + form->state().AnsDir + '/' + form->state().AnsName;
    out << "data=" + form->state().DataDir + '/' + form->state().DataName;
    out << "title=" + form->windowTitle();
    out << QStringLiteral("changed=%1").arg(form->state().DataChanged);
    return out;
  }

  // A saved Burg form, so that the refused files differ from it in every answer; the second
  // time it is opened again from its file.
  void goodForm() {
    if (FileExists(user("run.1"))) {
      dialogs.file(user("run.1"));
      form->FileOld();
    } else {
      saveRunForm("Burg");
      box("nPoles")->setText("12");
      box("Note1")->setText("kept note");
      w<QRadioButton>("optYes")->setChecked(true);
      form->FileSave();
    }
    ASSERT_FALSE(form->state().DataChanged);
    ASSERT_EQ(form->state().AnsName, "run.1");
    ASSERT_EQ(box("nPoles")->text(), "12");
    dialogs.clear();
  }

  // Opens path and expects the refusal naming problem, with the form untouched.
  void expectRefused(const QString& path, const QString& problem) {
    SCOPED_TRACE(path.toStdString());
    const QStringList before = snapshot();
    const QString lastPath =
        QSettings("Harnwell Labs", "Tessivar").value("LastFilePath").toString();
    dialogs.clear();
    dialogs.file(path);
    form->FileOld();
    ASSERT_EQ(dialogs.messages().size(), 1u);
    const auto box0 = dialogs.messages()[0];
    EXPECT_EQ(box0.title, "In 'ReadAnsFile' routine ...");
    EXPECT_EQ(box0.text, "'" + path + "' cannot be used as an answer file:\r\n" + problem +
                             "\r\nThe form keeps its answers. Open another file, or correct "
                             "this one in a text editor.");
    EXPECT_EQ(box0.icon, Icon::Warning);
    EXPECT_EQ(box0.buttons, Buttons::Ok);
    EXPECT_EQ(snapshot(), before);
    EXPECT_EQ(QSettings("Harnwell Labs", "Tessivar").value("LastFilePath").toString(), lastPath);
  }

  // The lines of a good answer file for method, without line ends.
  QList<QByteArray> answerLines(const QString& method = "Periodogram") {
    QList<QByteArray> lines = {
        "good.1  \t\t! 18; December 06, 2026 @ 9:47 AM",
        "sig.rda  \t\t! 1.",
        "1  \t\t! 2.",
        "0  \t\t! 3.",
        "Real  \t\t! 4.",
        "-999  \t\t! 5.",
        method.toLatin1() + "  \t\t! 6.",
        "No  \t\t! 7.",
        "64  \t\t! 8.",
    };
    for (int q = 9; q <= 17; ++q) lines << "-999  \t\t! " + QByteArray::number(q) + ".";
    lines << "Hanning  \t\t! 18.";
    lines << "note one  \t\t! 20. \xBB Note1";
    lines << "note two  \t\t!     \xBB Note2";
    return lines;
  }
  static QByteArray joined(const QList<QByteArray>& lines, const QByteArray& end = "\r\n") {
    QByteArray out;
    for (const QByteArray& line : lines) out += line + end;
    return out;
  }
  QString bad(const QString& name, const QByteArray& bytes) {
    const QString path = user(name);
    writeBytes(path, bytes);
    return path;
  }
};

}  // namespace

TEST_F(BadAnswerFiles, EmptyBinaryAndForeignEncodingsAreRefused) {
  goodForm();
  expectRefused(bad("empty.1", ""), "The file is empty.");

  // A picture: its signature holds a control character on line 2.
  expectRefused(bad("picture.1", QByteArray("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16)),
                "Line 2 holds characters that are not text.");

  // Random bytes, seeded: a NUL or another control character comes early.
  QRandomGenerator random(1234);
  QByteArray noise(4096, '\0');
  for (char& c : noise) c = static_cast<char>(random.bounded(256));
  const QString noisePath = bad("noise.1", noise);
  dialogs.clear();
  dialogs.file(noisePath);
  form->FileOld();
  ASSERT_EQ(dialogs.messages().size(), 1u);
  EXPECT_TRUE(dialogs.messages()[0].text.contains("holds characters that are not text."));

  // A good answer file saved as UTF-16: every other byte is a NUL.
  const QString text = QString::fromLatin1(joined(answerLines()));
  QByteArray utf16("\xFF\xFE", 2);
  utf16 += QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
  expectRefused(bad("utf16.1", utf16), "Line 1 holds characters that are not text.");

  // One NUL byte in the method line is enough.
  QList<QByteArray> lines = answerLines();
  lines[6] = QByteArray("Burg\0", 5) + "  \t\t! 6.";
  expectRefused(bad("nul.1", joined(lines)), "Line 7 holds characters that are not text.");
}

TEST_F(BadAnswerFiles, GarbageShortAndOverlongFilesAreRefused) {
  goodForm();
  QList<QByteArray> garbage;
  for (int i = 1; i <= 21; ++i) garbage << "garbage " + QByteArray::number(i) + " ~~ qwerty";
  expectRefused(bad("garbage.1", joined(garbage)),
                "Line 7 names the method \"garbage 7 ~~ qwerty\", which is not in the methods "
                "list.");

  // The method is compared exactly, as the methods list shows it.
  expectRefused(bad("lower.1", joined(answerLines("burg"))),
                "Line 7 names the method \"burg\", which is not in the methods list.");
  expectRefused(bad("nomethod.1", joined(answerLines("-999"))), "Line 7 names no method.");

  // A long method line is quoted only in part.
  expectRefused(
      bad("longmethod.1", joined(answerLines(QString(300, 'M')))),
      "Line 7 names the method \"" + QString(40, 'M') + "...\", which is not in the methods list.");

  expectRefused(bad("short.1", joined(answerLines().mid(0, 5))),
                "It ends after line 5; an answer file has 21 lines.");
  expectRefused(bad("blank.1", "\r\n"), "It ends after line 1; an answer file has 21 lines.");

  // A line far longer than any answer (a large file without line ends) is not read on.
  QList<QByteArray> lines = answerLines();
  lines[2] = QByteArray(200000, '7');
  expectRefused(
      bad("overlong.1", joined(lines)),
      QStringLiteral("Line 3 is longer than %1 characters.").arg(AnsFileReader::kMaxLineLength));
}

TEST_F(BadAnswerFiles, TenThousandLinesNeitherHangNorHalfLoad) {
  goodForm();
  // A data file opened by mistake: numbers on every line, no method on line 7.
  QByteArray data;
  for (int i = 0; i < 10000; ++i) data += QByteArray::number(i) + " 0.5\r\n";
  expectRefused(bad("data.1", data),
                "Line 7 names the method \"6 0.5\", which is not in the methods list.");

  QList<QByteArray> garbage;
  for (int i = 0; i < 10000; ++i) garbage << "~ " + QByteArray::number(i * 7919 % 10007);
  expectRefused(bad("garbage.2", joined(garbage)),
                "Line 7 names the method \"~ 7486\", which is not in the methods list.");

  // A good file with 9,979 lines after its 21: the lines after line 21 are not read.
  QList<QByteArray> lines = answerLines();
  for (int i = 0; i < 9979; ++i) lines << "trailing line " + QByteArray::number(i);
  dialogs.clear();
  dialogs.file(bad("long.1", joined(lines)));
  form->FileOld();
  EXPECT_TRUE(dialogs.messages().empty());
  EXPECT_EQ(form->state().AnsName, "long.1");
  EXPECT_EQ(w<QComboBox>("Methods")->currentText(), "Periodogram");
  EXPECT_EQ(box("windowName")->text(), "Hanning");
  EXPECT_EQ(box("Note2")->text(), "note two");
  EXPECT_FALSE(form->state().DataChanged);
}

TEST_F(BadAnswerFiles, LongDataPaths) {
  goodForm();
  // 5,000 characters of folders: kept as they stand, as for every loaded file; the form shows
  // the name.
  QList<QByteArray> lines = answerLines();
  QByteArray path;
  while (path.size() < 4990) path += "/folder" + QByteArray::number(path.size());
  path += "/sig.rda";
  lines[1] = path + "  \t\t! 1.";
  ASSERT_GE(path.size(), 5000);
  dialogs.clear();
  dialogs.file(bad("deep.1", joined(lines)));
  form->FileOld();
  EXPECT_TRUE(dialogs.messages().empty());
  EXPECT_EQ(box("timeData")->text(), "sig.rda");
  EXPECT_EQ(form->state().DataDir, QString::fromLatin1(path.chopped(8)));
  EXPECT_EQ(form->state().AnsName, "deep.1");

  // One name of 5,000 characters can be no file's name.
  goodForm();
  lines[1] = QByteArray(5000, 'd') + "  \t\t! 1.";
  expectRefused(bad("longname.1", joined(lines)),
                "Line 2 names a data file whose name is 5000 characters long; a file name has "
                "at most 255.");
}

TEST_F(BadAnswerFiles, EditedAnswersSurviveARefusedFileAndStayUnsaved) {
  goodForm();
  box("nSkip")->setText("7");
  box("Note2")->setText("typed, not saved");
  ASSERT_TRUE(form->state().DataChanged);
  const QStringList before = snapshot();
  dialogs.answer(Answer::No);  // "Save current data?"
  dialogs.file(bad("empty.2", ""));
  form->FileOld();
  EXPECT_EQ(titles(), (QStringList{"Data in form has changed!", "In 'ReadAnsFile' routine ..."}));
  EXPECT_EQ(snapshot(), before);
  EXPECT_TRUE(form->state().DataChanged);
  // Save still writes the form to its own file.
  dialogs.clear();
  form->FileSave();
  EXPECT_TRUE(dialogs.calls().empty());
  EXPECT_TRUE(fileLines(user("run.1"))[2].startsWith("7  "));
  EXPECT_TRUE(fileLines(user("run.1"))[20].startsWith("typed, not saved  "));
}

TEST_F(BadAnswerFiles, LineEndsOfEveryKindLoadTheSameAnswers) {
  for (const QByteArray& end : {QByteArray("\r\n"), QByteArray("\n"), QByteArray("\r")}) {
    SCOPED_TRACE(end.toHex().toStdString());
    goodForm();
    dialogs.file(bad("ends.1", joined(answerLines(), end)));
    form->FileOld();
    EXPECT_TRUE(dialogs.messages().empty());
    EXPECT_EQ(w<QComboBox>("Methods")->currentText(), "Periodogram");
    EXPECT_EQ(box("nSkip")->text(), "1");
    EXPECT_EQ(box("nPoints")->text(), "64");
    EXPECT_EQ(box("windowName")->text(), "Hanning");
    EXPECT_EQ(box("Note1")->text(), "note one");
    EXPECT_EQ(box("Note2")->text(), "note two");
    EXPECT_FALSE(w<QRadioButton>("optYes")->isChecked());
  }
}

TEST_F(BadAnswerFiles, AnUnusableKeyExampleLeavesTheDesignAnswersAtStart) {
  writeBytes(user("ex-auto.0"), QByteArray("\0\1\2 not an answer file", 24));
  dialogs.clear();
  form = std::make_unique<frmMain>(dialogs, base.path());
  form->engine().setPath(QStringLiteral(VOXTREL_SHARED_LIBRARY));
  ASSERT_EQ(dialogs.messages().size(), 1u);
  EXPECT_EQ(dialogs.messages()[0].title, "In 'ReadAnsFile' routine ...");
  EXPECT_TRUE(dialogs.messages()[0].text.startsWith("'" + user("ex-auto.0") + "' cannot be used"));
  EXPECT_EQ(box("timeData")->text(), "Real.Rda");
  EXPECT_EQ(w<QComboBox>("Methods")->currentText(), "-Select-");

  // The design's data file name stands for a file in the user folder, and a run finds it.
  writeData("Real.Rda", 64);
  chooseMethod("Periodogram");
  box("nSkip")->setText("1");
  box("windowName")->setText("Rectangular");
  form->state().DataChanged = false;
  dialogs.clear();
  dialogs.answer(Answer::Ok);  // "Input -not- saved!"
  dialogs.file(user("first.1"));
  form->cmdSubmit_Click();
  EXPECT_EQ(titles(), QStringList{"Input -not- saved!"});
  EXPECT_EQ(form->results().nptsZ, 64);
  EXPECT_TRUE(fileLines(user("first.1"))[1].startsWith("Real.Rda  "));
}
