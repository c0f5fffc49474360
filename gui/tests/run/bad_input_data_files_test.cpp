// Calculate with the real engine on data files that are not what the engine expects: each run
// ends in a plot of the points that could be read or in a message that says why there is none,
// and the program goes on with the form's answers unchanged.
#include <sys/stat.h>

#include <QPlainTextEdit>
#include <QTabWidget>

#include "FormFixture.h"

using namespace tessivar;
using namespace tessivar::testing;

namespace {

using Answer = Dialogs::Answer;
using Icon = Dialogs::Icon;

class BadDataFiles : public FormFixture {
 protected:
  QTabWidget* tabs() { return w<QTabWidget>("Plot_Tabs"); }

  // The real-data lines of n points (x = index, y = a sine), each ending in end.
  static QByteArray points(int from, int to, const QByteArray& end = "\r\n") {
    QByteArray text;
    for (int i = from; i < to; ++i)
      text += QByteArray::number(i) + " " + QByteArray::number(std::sin(0.7 * i), 'g', 7) + end;
    return text;
  }

  // A saved periodogram form over the data file name holding bytes, then Calculate.
  void calculate(const QString& name, const QByteArray& bytes) {
    if (!FileExists(user("run.1"))) saveRunForm();
    writeBytes(user(name), bytes);
    chooseData(user(name));
    form->FileSave();
    ASSERT_FALSE(form->state().DataChanged);
    answersBefore = formAnswers();
    dialogs.clear();
    dialogs.answer(Answer::Cancel);  // a box that offers the run log: not now
    form->cmdSubmit_Click();
  }

  QStringList formAnswers() {
    QStringList out;
    for (const char* name : {"timeData", "nSkip", "TotalLines", "nPoints", "windowName"})
      out << box(name)->text();
    out << w<QComboBox>("Methods")->currentText() << form->state().AnsName;
    return out;
  }

  // A plot of `read` points, drawn without any box.
  void expectPlotOf(int read) {
    EXPECT_TRUE(dialogs.messages().empty()) << dialogs.messages()[0].text.toStdString();
    EXPECT_EQ(form->results().nptsZ, read);
    EXPECT_EQ(tabs()->currentIndex(), 4);
    form->cmdExitPlotting_Click();
    EXPECT_EQ(formAnswers(), answersBefore);
  }

  // No plot: the box that gives the engine's reason, the form as it was, Calculate usable.
  void expectStopped() {
    ASSERT_EQ(dialogs.messages().size(), 1u);
    const auto stop = dialogs.messages()[0];
    EXPECT_EQ(stop.title, "Calculation stopped.");
    EXPECT_EQ(stop.icon, Icon::Warning);
    const QString reason = lastNonBlankLine(user("~Tirelle.out"));
    EXPECT_FALSE(reason.isEmpty());
    EXPECT_EQ(stop.text, reason + "\r\nView bottom of '~tirelle.out' file for more details.");
    EXPECT_EQ(form->results().nptsZ, -9);
    EXPECT_EQ(tabs()->currentIndex(), 0);
    EXPECT_TRUE(w<QPushButton>("cmdSubmit")->isEnabled());
    EXPECT_EQ(formAnswers(), answersBefore);
  }

  QStringList answersBefore;
};

}  // namespace

TEST_F(BadDataFiles, TextInTheMiddleEndsTheDataThere) {
  calculate("middle.rda", "t y\r\n" + points(0, 40) + "  oops, a remark\r\n" + points(40, 64));
  expectPlotOf(40);
}

TEST_F(BadDataFiles, CarriageReturnLineEndsAreRead) {
  calculate("mac.rda", "t y\r" + points(0, 64, "\r"));
  expectPlotOf(64);
}

TEST_F(BadDataFiles, NulByteEndsTheDataThere) {
  calculate("nul.rda", "t y\r\n" + points(0, 50) + QByteArray("\0", 1) + "\r\n" + points(50, 64));
  expectPlotOf(50);
}

TEST_F(BadDataFiles, DataWithoutNumbersStopWithTheEnginesReason) {
  calculate("words.rda", "t y\r\nno numbers here\r\nnor here\r\n");
  expectStopped();
  EXPECT_EQ(lastNonBlankLine(user("~Tirelle.out")), "Too few data points: at least 2 are needed");
}

TEST_F(BadDataFiles, Utf16DataAreNamedBeforeTheRun) {
  const QString text = QString::fromLatin1("t y\r\n" + points(0, 64));
  const QByteArray little(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
  QByteArray big = little;
  for (qsizetype i = 0; i + 1 < big.size(); i += 2) std::swap(big[i], big[i + 1]);
  // With a byte-order mark, and big-endian without one.
  for (const QByteArray& bytes : {QByteArray("\xFF\xFE", 2) + little, big}) {
    SCOPED_TRACE(bytes.left(4).toHex().toStdString());
    QFile::remove(user("~Tirelle.out"));
    calculate("wide.rda", bytes);
    ASSERT_EQ(dialogs.messages().size(), 1u);
    const auto box0 = dialogs.messages()[0];
    EXPECT_EQ(box0.title, "In 'CalcSpectrum' routine ...");
    EXPECT_EQ(box0.text, "The data file\r\n    " + user("wide.rda") +
                             "\r\nis UTF-16 text; the engine reads single-byte text only.\r\n"
                             "Save the file as plain (ANSI) text, then Calculate again.");
    EXPECT_EQ(box0.icon, Icon::Warning);
    EXPECT_FALSE(QFile::exists(user("~Tirelle.out"))) << "the engine did not run";
    EXPECT_EQ(tabs()->currentIndex(), 0);
    EXPECT_TRUE(w<QPushButton>("cmdSubmit")->isEnabled());
    EXPECT_EQ(formAnswers(), answersBefore);
  }
}

TEST(DataFileEncoding, Utf16IsToldFromSingleByteText) {
  QTemporaryDir dir;
  const std::pair<QByteArray, bool> cases[] = {
      {"1 2\r\n3 4\r\n", false},
      {QByteArray("\xFF\xFE"
                  "1\0",
                  4),
       true},
      {QByteArray("\xFE\xFF\0"
                  "1",
                  4),
       true},
      {QByteArray("1\0 \0"
                  "2\0",
                  6),
       true},
      {QByteArray("\0"
                  "1\0 \0"
                  "2",
                  6),
       true},
      {QByteArray(64, '\0'), false},  // no text at all
      {QByteArray("1 2\0\r\n", 6), false},
      {"", false},
  };
  for (const auto& [bytes, utf16] : cases) {
    writeBytes(dir.filePath("d"), bytes);
    EXPECT_EQ(isUtf16Text(dir.filePath("d")), utf16) << bytes.toHex().toStdString();
  }
  EXPECT_FALSE(isUtf16Text(dir.filePath("missing")));
}

TEST_F(BadDataFiles, PathsTheEngineCannotOpenAreNamedBeforeTheRun) {
  saveRunForm();
  // Longer than the engine reads of line 2.
  QString deep = form->userDir();
  while (deep.size() < 1100) deep += "/folder_" + QString::number(deep.size());
  ASSERT_TRUE(QDir().mkpath(deep));
  const QString far = deep + "/far.rda";
  writeBytes(far, "t y\r\n" + points(0, 64));
  chooseData(far);
  form->FileSave();
  answersBefore = formAnswers();
  dialogs.clear();
  form->cmdSubmit_Click();
  ASSERT_EQ(dialogs.messages().size(), 1u);
  EXPECT_EQ(dialogs.messages()[0].title, "In 'CalcSpectrum' routine ...");
  EXPECT_EQ(dialogs.messages()[0].text,
            QStringLiteral("The engine cannot open the data file\r\n    %1\r\nIts path is %2 "
                           "characters long; the engine reads at most 1024.\r\nMove the data "
                           "file to a shorter path, choose it again and Calculate.")
                .arg(far)
                .arg(far.size()));
  EXPECT_EQ(formAnswers(), answersBefore);
  EXPECT_TRUE(w<QPushButton>("cmdSubmit")->isEnabled());

  // A name beyond single-byte text: its characters are lost in the answer file.
  const QString cyrillic = user(QStringLiteral("\u0434\u0430\u043D\u043D\u044B\u0435.rda"));
  writeBytes(cyrillic, "t y\r\n" + points(0, 64));
  chooseData(cyrillic);
  dialogs.answer(Answer::Ok);  // the save names them first; saved as "?" all the same
  form->FileSave();
  dialogs.clear();
  form->cmdSubmit_Click();
  ASSERT_EQ(dialogs.messages().size(), 1u);
  EXPECT_EQ(dialogs.messages()[0].text,
            "The engine cannot open the data file\r\n    " + user("??????.rda") +
                "\r\nIts path holds characters that the single-byte answer file cannot hand "
                "to this system's file names.\r\nRename the data file or its folders with "
                "plain letters and digits, choose it again and Calculate.");

  // A name the single-byte answer file cannot carry to this file system as it is spelt.
  const QString accented = user(QStringLiteral("donn\u00E9es.rda"));
  writeBytes(accented, "t y\r\n" + points(0, 64));
  if (QFile::encodeName(accented) == accented.toLatin1())
    GTEST_SKIP() << "the file system takes single-byte names";
  chooseData(accented);
  form->FileSave();
  dialogs.clear();
  form->cmdSubmit_Click();
  ASSERT_EQ(dialogs.messages().size(), 1u);
  EXPECT_EQ(dialogs.messages()[0].text,
            "The engine cannot open the data file\r\n    " + accented +
                "\r\nIts path holds characters that the single-byte answer file cannot hand "
                "to this system's file names.\r\nRename the data file or its folders with "
                "plain letters and digits, choose it again and Calculate.");
}

TEST_F(BadDataFiles, PipesAndDevicesAreNotHandedToTheEngine) {
  saveRunForm();
  const QString pipe = user("pipe.rda");
  ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0644), 0);
  for (const QString& data : {pipe, QStringLiteral("/dev/zero")}) {
    SCOPED_TRACE(data.toStdString());
    chooseData(data);
    form->FileSave();
    answersBefore = formAnswers();
    dialogs.clear();
    form->cmdSubmit_Click();
    ASSERT_EQ(dialogs.messages().size(), 1u);
    EXPECT_EQ(dialogs.messages()[0].title, "In 'CalcSpectrum' routine ...");
    EXPECT_EQ(dialogs.messages()[0].text,
              "The data file\r\n    " + data +
                  "\r\nis no file on disk but a pipe or a device, which the engine cannot read to "
                  "its end.\r\nChoose a data file saved on disk, then Calculate again.");
    EXPECT_EQ(formAnswers(), answersBefore);
    EXPECT_TRUE(w<QPushButton>("cmdSubmit")->isEnabled());
  }
}
