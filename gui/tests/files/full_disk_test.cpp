// Every file the program writes, when the disk will not take it: a file size limit
// (RLIMIT_FSIZE, with SIGXFSZ ignored so that the write fails instead of ending the process)
// makes each write fail part way, as a full disk does. The file that was to be replaced must be
// left exactly as it was, no temporary may be left behind, and the user is told which file
// failed and why.
#include <sys/resource.h>

#include <QBuffer>
#include <QPrinter>
#include <csignal>
#include <cstring>
#include <functional>

#include "FormFixture.h"
#include "PlotOutput.h"
#include "SafeWrite.h"
#include "TessivarIni.h"
#include "TestPrinters.h"

using namespace tessivar;
using namespace tessivar::testing;

namespace {

// Limits the size of files this process writes while it exists; the old limit and the old
// SIGXFSZ handling come back afterwards. Nothing but the write under test may run meanwhile
// (a test log going to a large file would lose its lines).
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    getrlimit(RLIMIT_FSIZE, &old_);
    rlimit limit = old_;
    limit.rlim_cur = std::min(bytes, old_.rlim_max);
    active_ = setrlimit(RLIMIT_FSIZE, &limit) == 0;
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &old_);
    std::signal(SIGXFSZ, oldHandler_);
  }
  bool active() const { return active_; }

 private:
  rlimit old_{};
  void (*oldHandler_)(int) = SIG_DFL;
  bool active_ = false;
};

QString tooLarge() {
  return QString::fromLocal8Bit(std::strerror(EFBIG));
}

QImage bluePicture() {
  QImage img(QSize(64, 48), QImage::Format_RGB32);
  img.fill(QColor(0, 0, 255));
  return img;
}

using FullDisk = FormFixture;

// One writer of the program: make the file it replaces (or not, for a first write), then write
// under the limit and return what the user was told.
struct Writer {
  const char* what;
  QByteArray old;  // the file's content before; empty: there is none
  std::function<QString()> target;
  std::function<QString(const QString& path)> write;
};

}  // namespace

TEST_F(FullDisk, EveryWriteKeepsTheOldFileAndSaysWhichFileFailedAndWhy) {
  // The answer file opened in the form, saved after an edit.
  saveRunForm();
  dialogs.file(user("run.1"));
  form->FileOld();
  dialogs.clear();
  const QByteArray answerFile = readBytes(user("run.1"));
  ASSERT_GT(answerFile.size(), 1000);

  const Writer writers[] = {
      {"answer file (File > Save)", answerFile, [this] { return user("run.1"); },
       [this](const QString&) {
         box("windowName")->setText("Hamming");
         FileSizeLimit limit(1000);
         form->FileSave();
         return dialogs.messages().empty() ? QString() : dialogs.messages().back().text;
       }},
      {"Tessivar.ini (first start)",
       {},
       [this] { return base.filePath("Tessivar.ini"); },
       [this](const QString&) {
         TessivarIni ini(base.path());
         IniValues values;
         IniError error;
         bool ok = false;
         {
           FileSizeLimit limit(40);
           ok = ini.startIni(values, error, QDate(2026, 12, 6));
         }
         return ok ? QString() : error.description;
       }},
      {"plot bitmap (Save As over an old one)", "old bitmap", [this] { return user("Plot.bmp"); },
       [this](const QString& path) {
         PlotOutput output(dialogs);
         QString dir = form->userDir();
         dialogs.file(path);
         dialogs.answer(Dialogs::Answer::Yes);  // replace it
         {
           FileSizeLimit limit(1000);
           output.cmdFileSaveAs_Click(bluePicture(), "run.1", dir, base.path());
         }
         return dialogs.messages().empty() ? QString() : dialogs.messages().back().text;
       }},
      {"plot printed to a PDF file", "old printout", [this] { return user("plot.pdf"); },
       [this](const QString& path) {
         PlotOutput output(dialogs);
         QPrinter printer(QPrinter::HighResolution);
         printer.setOutputFormat(QPrinter::PdfFormat);
         printer.setOutputFileName(path);
         {
           FileSizeLimit limit(1000);
           output.PrintPictureFit(printer, bluePicture(), printFooter("run.1", 1));
         }
         return dialogs.messages().empty() ? QString() : dialogs.messages().back().text;
       }},
      {"copy of the run log", "an earlier run's log\r\n",
       [this] {
         QByteArray log;
         for (int i = 0; i < 200; ++i) log += " Peak " + QByteArray::number(i) + " at 0.25\r\n";
         writeBytes(user("~Tirelle.out"), log);
         return user("run_1.out");
       },
       [this](const QString& path) {
         {
           FileSizeLimit limit(1000);
           form->ShellCopy(user("~Tirelle.out"), path);
         }
         return dialogs.messages().empty() ? QString() : dialogs.messages().back().text;
       }},
  };

  for (const Writer& writer : writers) {
    SCOPED_TRACE(writer.what);
    dialogs.clear();
    const QString path = writer.target();
    if (!writer.old.isEmpty()) writeBytes(path, writer.old);
    const QStringList before = QDir(QFileInfo(path).path()).entryList(QDir::Files | QDir::Hidden);

    const QString told = writer.write(path);

    if (writer.old.isEmpty())
      EXPECT_FALSE(QFileInfo::exists(path)) << "no half-written file";
    else
      EXPECT_EQ(readBytes(path), writer.old) << "the old file is intact";
    EXPECT_EQ(QDir(QFileInfo(path).path()).entryList(QDir::Files | QDir::Hidden), before)
        << "no temporary is left behind";
    EXPECT_TRUE(told.contains(QDir::toNativeSeparators(path))) << told.toStdString();
    EXPECT_TRUE(told.contains(tooLarge(), Qt::CaseInsensitive)) << told.toStdString();
  }
  // The form still holds the unsaved edit.
  EXPECT_TRUE(form->state().DataChanged);
}

// The helper itself: a write that fails part way, then the same write with room enough.
TEST(SafeWrite, FailsWholeUnderALimitAndWritesWholeWithoutOne) {
  QTemporaryDir dir;
  const QString path = dir.filePath("data.txt");
  writeBytes(path, "old\r\n");
  const QByteArray big(5000, 'x');
  std::optional<QString> failure;
  {
    FileSizeLimit limit(2000);
    ASSERT_TRUE(limit.active());
    failure = writeFileSafely(path, big);
  }
  ASSERT_TRUE(failure.has_value());
  EXPECT_TRUE(failure->contains(tooLarge(), Qt::CaseInsensitive)) << failure->toStdString();
  EXPECT_EQ(readBytes(path), "old\r\n");
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"data.txt"});

  EXPECT_EQ(writeFileSafely(path, big), std::nullopt);
  EXPECT_EQ(readBytes(path), big);
  EXPECT_EQ(copyFileSafely(path, dir.filePath("copy.txt")), std::nullopt);
  EXPECT_EQ(readBytes(dir.filePath("copy.txt")), big);
  const std::optional<QString> missing = copyFileSafely(dir.filePath("none.txt"), path);
  ASSERT_TRUE(missing.has_value());
  EXPECT_TRUE(missing->contains(QDir::toNativeSeparators(dir.filePath("none.txt"))));
  EXPECT_EQ(readBytes(path), big);
}
