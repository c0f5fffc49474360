// The Qt side of the prompts, shown for real (offscreen): what the save dialog's name box
// offers, and printing where no printer is installed.
#include "Dialogs.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTimer>

#include "PlotOutput.h"
#include "TestPrinters.h"

namespace tessivar {
namespace {

TEST(SaveDialog, NameBoxOffersTheStemForAnyExtension) {
  QTemporaryDir dir;
  const struct {
    const char* offered;
    const char* shown;
  } cases[] = {
      {"sf.*", "sf."}, {"abc.*", "abc."}, {"AK.*", "AK."}, {"*.*", ""}, {"run.bmp", "run.bmp"},
  };
  QtDialogs dialogs;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.offered);
    EXPECT_EQ(nameBoxText(c.offered), QString(c.shown));
    // The dialog itself: what its name box holds when it opens.
    QString box = QStringLiteral("(no dialog)");
    QTimer::singleShot(0, [&box] {
      auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
      if (!dialog) return;
      if (auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
        box = edit->text();
      dialog->reject();
    });
    Dialogs::FileRequest request;
    request.title = QStringLiteral("Save Input File As ... (No spaces in name!)");
    request.filter = QStringLiteral("All Files (*.*)|*.*|Text Files (*.txt)|*.txt");
    request.initialDir = dir.path();
    request.fileName = c.offered;
    EXPECT_EQ(dialogs.saveFile(request), std::nullopt);
    EXPECT_EQ(box, QString(c.shown));
  }
}

// The Qt dialogs, with message boxes recorded instead of shown (a shown one would wait).
class QtDialogsQuietBoxes : public QtDialogs {
 public:
  Answer message(const QString& text, const QString&, Buttons, Icon) override {
    messages << text;
    return Answer::Ok;
  }
  QStringList messages;
};

// Without a printer the print dialog offers a PDF file, named after the answer file in the
// working folder; accepting it prints the plot there.
TEST(PrintDialog, WithoutAPrinterThePlotGoesToAPdfFile) {
  if (printerInstalled()) GTEST_SKIP() << "a printer is installed";
  QTemporaryDir dir;
  const QString previous = QDir::currentPath();
  ASSERT_TRUE(QDir::setCurrent(dir.path()));
  QImage picture(QSize(64, 48), QImage::Format_RGB32);
  picture.fill(Qt::blue);

  QtDialogsQuietBoxes dialogs;
  PlotOutput output(dialogs);
  QPrinter printer(QPrinter::HighResolution);
  bool sawDialog = false;
  QTimer::singleShot(0, [&sawDialog] {
    if (auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget())) {
      sawDialog = true;
      dialog->accept();
    }
  });
  const bool printed = output.cmdPrint_Click(printer, picture, "sf.49", 0.5f);
  QDir::setCurrent(previous);
  EXPECT_TRUE(sawDialog);
  EXPECT_EQ(dialogs.messages, QStringList());
  ASSERT_TRUE(printed);
  EXPECT_EQ(printer.outputFormat(), QPrinter::PdfFormat);
  QFile pdf(dir.filePath("sf.pdf"));
  ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
  EXPECT_TRUE(pdf.read(4) == "%PDF");
}

// Printing to a PDF file is offered whether or not a printer is installed.
TEST(PrintDialog, OffersAPdfFileBesideThePrinters) {
  QtDialogs dialogs;
  QPrinter printer(QPrinter::HighResolution);
  std::optional<bool> toFile;
  QTimer::singleShot(0, [&toFile] {
    if (auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget())) {
      toFile = dialog->testOption(QAbstractPrintDialog::PrintToFile);
      dialog->reject();
    }
  });
  EXPECT_FALSE(dialogs.choosePrinter(printer));
  EXPECT_EQ(toFile, std::optional<bool>(true));
}

// A printer that cannot start is named; with no printer at all the message says so.
TEST(PrintDialog, FailuresNameThePrinterOrTheFile) {
  if (printerInstalled()) GTEST_SKIP() << "a printer is installed";
  QImage picture(QSize(64, 48), QImage::Format_RGB32);
  picture.fill(Qt::blue);
  ScriptedDialogs dialogs;
  PlotOutput output(dialogs);
  QPrinter none;  // the system's default printer: there is none
  EXPECT_FALSE(output.PrintPictureFit(none, picture, "footer"));
  ASSERT_EQ(dialogs.messages().size(), 1u);
  EXPECT_EQ(dialogs.messages()[0].title, "In 'cmdPrint' routine ...");
  EXPECT_TRUE(dialogs.messages()[0].text.startsWith(
      "The plot could not be printed: no printer is installed."));
  EXPECT_FALSE(dialogs.messages()[0].text.contains(" on ."));
}

}  // namespace
}  // namespace tessivar
