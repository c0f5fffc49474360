// Save As and Print of the plot picture: proposals, prompts, the bitmap on disk, the PDF page.
#include "PlotOutput.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QImageReader>
#include <QPrinter>
#include <QProcess>
#include <QTemporaryDir>

#include "Dialogs.h"
#include "TestPrinters.h"

namespace tessivar {
namespace {

TEST(SaveAs, ProposedBitmapNames) {
  const struct {
    const char* ans;
    const char* bmp;
  } cases[] = {
      {"c:\\data\\run.1", "run.bmp"},       {"noext", "noext.bmp"},     {"sf.49", "sf.bmp"},
      {"/home/u/ex-auto.0", "ex-auto.bmp"}, {".hidden", ".hidden.bmp"}, {"a.b.c", "a.bmp"},
  };
  for (const auto& c : cases) EXPECT_EQ(proposedBitmapName(c.ans), QString(c.bmp)) << c.ans;
}

QImage picture(QSize size = QSize(64, 48)) {
  QImage img(size, QImage::Format_RGB32);
  img.fill(QColor(0, 0, 255));
  return img;
}

class SaveAsTest : public ::testing::Test {
 protected:
  QTemporaryDir dir;
  ScriptedDialogs dialogs;
  PlotOutput output{dialogs};
};

TEST_F(SaveAsTest, DialogRequestAndBitmapWritten) {
  const QString path = dir.filePath("run.bmp");
  dialogs.file(path);
  QString initialDir;
  EXPECT_EQ(output.cmdFileSaveAs_Click(picture(), "c:\\data\\run.1", initialDir, "/opt/tessivar"),
            path);
  ASSERT_EQ(dialogs.calls().size(), 1u);
  const auto& request = dialogs.calls()[0].request;
  EXPECT_EQ(request.title, "Save Plot File As ...");
  EXPECT_EQ(request.filter,
            "All Files (*.*)|*.*|Bitmap (*.bmp)|*.bmp|PNG image (*.png)|*.png|"
            "SVG drawing (*.svg)|*.svg|PDF document (*.pdf)|*.pdf");
  EXPECT_EQ(request.filterIndex, 2);
  EXPECT_EQ(request.fileName, "run.bmp");
  EXPECT_EQ(request.initialDir, "/opt/tessivar/user");
  EXPECT_EQ(initialDir, "/opt/tessivar/user");
  QImageReader reader(path);
  EXPECT_EQ(reader.format(), "bmp");
  const QImage back = reader.read();
  EXPECT_EQ(back.size(), QSize(64, 48));
  EXPECT_EQ(back.pixelColor(10, 10), QColor(0, 0, 255));
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_EQ(f.read(2), "BM");
}

TEST_F(SaveAsTest, PngNameGivesAPngThatStandardToolsRead) {
  const QString path = dir.filePath("run.PNG");
  dialogs.file(path);
  QString initialDir = dir.path();
  ASSERT_EQ(output.cmdFileSaveAs_Click(picture(), "run.1", initialDir, "/x"), path);
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_EQ(f.read(8), QByteArray("\x89PNG\r\n\x1a\n", 8));
  f.close();
  const QImage back(path);
  EXPECT_EQ(back.size(), QSize(64, 48));
  EXPECT_EQ(back.pixelColor(10, 10), QColor(0, 0, 255));
  // The system's file-type tool, where installed, names it a PNG image of that size.
  QProcess file;
  file.start(QStringLiteral("file"), {QStringLiteral("-b"), path});
  if (file.waitForStarted() && file.waitForFinished()) {
    EXPECT_TRUE(file.readAllStandardOutput().startsWith("PNG image data, 64 x 48"));
  }
}

TEST_F(SaveAsTest, CancelOrTheProposedNameUnchangedSavesNothing) {
  QString initialDir = dir.path();
  dialogs.file("");  // Cancel
  EXPECT_TRUE(output.cmdFileSaveAs_Click(picture(), "noext", initialDir, "/x").isEmpty());
  dialogs.file("noext.bmp");
  EXPECT_TRUE(output.cmdFileSaveAs_Click(picture(), "noext", initialDir, "/x").isEmpty());
  EXPECT_EQ(initialDir, dir.path()) << "a set folder is kept";
  EXPECT_TRUE(dialogs.messages().empty());
}

TEST_F(SaveAsTest, ReplacePrompt) {
  const QString path = dir.filePath("Old.BMP");
  {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("keep");
  }
  QString initialDir = dir.path();
  dialogs.file(path);
  dialogs.answer(Dialogs::Answer::No);
  EXPECT_TRUE(output.cmdFileSaveAs_Click(picture(), "run.1", initialDir, "/x").isEmpty());
  ASSERT_EQ(dialogs.messages().size(), 1u);
  EXPECT_EQ(dialogs.messages()[0].text, "File exists, want to replace it?");
  EXPECT_EQ(dialogs.messages()[0].title, "Replace " + path + " file?");
  EXPECT_EQ(dialogs.messages()[0].buttons, Dialogs::Buttons::YesNo);
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_EQ(f.readAll(), "keep");
  f.close();

  dialogs.file(path);
  dialogs.answer(Dialogs::Answer::Yes);
  EXPECT_EQ(output.cmdFileSaveAs_Click(picture(), "run.1", initialDir, "/x"), path);
  EXPECT_FALSE(QImage(path, "BMP").isNull());
}

TEST_F(SaveAsTest, MissingFolderIsReportedByName) {
  QString initialDir = dir.path();
  const QString missing = dir.filePath("no/such");
  dialogs.file(missing + "/p.bmp");
  EXPECT_TRUE(output.cmdFileSaveAs_Click(picture(), "run.1", initialDir, "/x").isEmpty());
  ASSERT_EQ(dialogs.messages().size(), 1u);
  EXPECT_EQ(dialogs.messages()[0].text, "This drive or path does not exist: " + missing);
  EXPECT_EQ(dialogs.messages()[0].title, "In 'cmdFileSaveAs' routine ...");
  EXPECT_EQ(dialogs.messages()[0].icon, Dialogs::Icon::Warning);
}

TEST(PrintFit, WidthOrHeightFilled) {
  const struct {
    QSize picture;
    QSizeF printable;
    bool landscape;
    QSizeF size;
  } cases[] = {
      {{800, 400}, {1000, 700}, true, {1000, 500}},  // wider than the page: width filled
      {{400, 400}, {1000, 500}, false, {500, 500}},  // relatively taller: height filled
      {{300, 600}, {600, 1000}, false, {500, 1000}},
  };
  for (const auto& c : cases) {
    const PrintFit fit = fitPicture(c.picture, c.printable, 0);
    EXPECT_EQ(fit.landscape, c.landscape);
    EXPECT_NEAR(fit.size.width(), c.size.width(), 1e-9);
    EXPECT_NEAR(fit.size.height(), c.size.height(), 1e-9);
  }
  // The footer's line stays free below a picture that fills the height.
  const PrintFit withFooter = fitPicture({400, 400}, {1000, 500}, 20);
  EXPECT_NEAR(withFooter.size.height(), 480, 1e-9);
}

TEST(PrintFooter, Text) {
  EXPECT_EQ(printFooter("sf.49", 0.25f), "Input file name = sf.49\t\tNoise Variance =  .25");
  EXPECT_EQ(printFooter("a", 1.5E-07f), "Input file name = a\t\tNoise Variance =  1.5E-07");
}

// PDF pages: the media box gives the page's width and height in points.
QString pdfText(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return {};
  return QString::fromLatin1(f.readAll());
}

TEST(Print, WidePictureOnALandscapePdfPage) {
  QTemporaryDir dir;
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setPageSize(QPageSize(QPageSize::A4));
  printer.setOutputFileName(dir.filePath("plot.pdf"));
  ScriptedDialogs dialogs;
  dialogs.printer(true);
  PlotOutput output(dialogs);
  ASSERT_TRUE(output.cmdPrint_Click(printer, picture(QSize(640, 480)), "sf.49", 0.25f));
  EXPECT_EQ(printer.pageLayout().orientation(), QPageLayout::Landscape);
  const QString pdf = pdfText(dir.filePath("plot.pdf"));
  EXPECT_TRUE(pdf.startsWith("%PDF"));
  EXPECT_TRUE(pdf.contains("/MediaBox [0 0 842.000000 595.000000]")) << "A4 turned";
  EXPECT_TRUE(dialogs.messages().empty());
}

TEST(Print, TallPictureOnAPortraitPage) {
  QTemporaryDir dir;
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setPageSize(QPageSize(QPageSize::A4));
  printer.setOutputFileName(dir.filePath("tall.pdf"));
  ScriptedDialogs dialogs;
  dialogs.printer(true);
  PlotOutput output(dialogs);
  ASSERT_TRUE(output.cmdPrint_Click(printer, picture(QSize(300, 600)), "sf.49", 0.25f));
  EXPECT_EQ(printer.pageLayout().orientation(), QPageLayout::Portrait);
  EXPECT_TRUE(pdfText(dir.filePath("tall.pdf")).contains("/MediaBox [0 0 595.000000 842.000000]"));
}

TEST(Print, CancelPrintsNothing) {
  QTemporaryDir dir;
  QPrinter printer;
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(dir.filePath("none.pdf"));
  ScriptedDialogs dialogs;  // no answer: Cancel
  PlotOutput output(dialogs);
  EXPECT_FALSE(output.cmdPrint_Click(printer, picture(), "x", 0));
  EXPECT_FALSE(QFile::exists(dir.filePath("none.pdf")));
  EXPECT_TRUE(dialogs.messages().empty());
}

TEST(Print, PrinterThatCannotStartIsReported) {
  QPrinter printer;
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName("/nonexistent-folder/x/plot.pdf");
  ScriptedDialogs dialogs;
  dialogs.printer(true);
  PlotOutput output(dialogs);
  EXPECT_FALSE(output.cmdPrint_Click(printer, picture(), "x", 0));
  ASSERT_EQ(dialogs.messages().size(), 1u);
  EXPECT_EQ(dialogs.messages()[0].title, "In 'cmdPrint' routine ...");
  EXPECT_TRUE(dialogs.messages()[0].text.startsWith(
      "The plot could not be printed on /nonexistent-folder/x/plot.pdf."));
}

}  // namespace
}  // namespace tessivar
