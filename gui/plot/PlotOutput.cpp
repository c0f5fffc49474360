#include "PlotOutput.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QSvgGenerator>
#include <QSvgRenderer>

#include "Dialogs.h"
#include "NumberFormat.h"
#include "SafeWrite.h"

namespace tessivar {

namespace {

const QString kSaveTitle = QStringLiteral("In 'cmdFileSaveAs' routine ...");
const QString kPrintTitle = QStringLiteral("In 'cmdPrint' routine ...");

QFont footerFont() {
  QFont f(QStringLiteral("Arial"));
  f.setPointSizeF(11);
  return f;
}

// The picture's logical resolution, which the vector devices take so that the drawing's pixels
// and font sizes are the picture's.
int pictureDpi(const QImage& picture) {
  return std::max(1, qRound(picture.dotsPerMeterX() * 0.0254));
}

// Draws on the device: the plot again when it can be drawn, else the picture itself.
bool drawOn(QPaintDevice& device, const QImage& picture, const VectorDrawing& vector) {
  if (vector) return vector(device);
  QPainter painter;
  if (!painter.begin(&device)) return false;
  painter.drawImage(0, 0, picture);
  return painter.end();
}

}  // namespace

std::optional<QByteArray> svgDrawing(const QImage& picture, const VectorDrawing& vector,
                                     const QString& title) {
  QByteArray svg;
  QBuffer buffer(&svg);
  buffer.open(QIODevice::WriteOnly);
  QSvgGenerator generator;
  generator.setOutputDevice(&buffer);
  generator.setSize(picture.size());
  generator.setViewBox(QRect(QPoint(0, 0), picture.size()));
  generator.setResolution(pictureDpi(picture));
  generator.setTitle(title);
  generator.setDescription(QStringLiteral("Power-Spectral Density plot by Tessivar"));
  if (!drawOn(generator, picture, vector) || svg.isEmpty()) return std::nullopt;
  return svg;
}

std::optional<QByteArray> pdfDrawing(const QImage& picture, const VectorDrawing& vector,
                                     const QString& title) {
  QByteArray pdf;
  QBuffer buffer(&pdf);
  buffer.open(QIODevice::WriteOnly);
  bool drawn = false;
  {
    // One page of the picture's size at its resolution, without margins.
    QPdfWriter writer(&buffer);
    const int dpi = pictureDpi(picture);
    writer.setResolution(dpi);
    writer.setPageSize(
        QPageSize(QSizeF(picture.width() * 72.0 / dpi, picture.height() * 72.0 / dpi),
                  QPageSize::Point, QString(), QPageSize::ExactMatch));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    writer.setCreator(QStringLiteral("Tessivar"));
    writer.setTitle(title);
    drawn = drawOn(writer, picture, vector);
  }
  if (!drawn || pdf.isEmpty()) return std::nullopt;
  return pdf;
}

namespace {

// The answer file's name without folder, cut before the first "." (whole when nothing stands
// before it), with the given extension.
QString nameFor(const QString& ansName, const QString& extension) {
  // Answer-file names may carry either separator, whatever the platform.
  const qsizetype slash = std::max(ansName.lastIndexOf('\\'), ansName.lastIndexOf('/'));
  const QString name = ansName.mid(slash + 1);
  const QString stem = name.section('.', 0, 0);
  return (stem.isEmpty() ? name : stem) + extension;
}

}  // namespace

QString proposedBitmapName(const QString& ansName) {
  return nameFor(ansName, QStringLiteral(".bmp"));
}

QString proposedPdfName(const QString& ansName) {
  return nameFor(ansName, QStringLiteral(".pdf"));
}

QString proposedCsvName(const QString& ansName) {
  return nameFor(ansName, QStringLiteral(".csv"));
}

bool printerInstalled() {
  return !QPrinterInfo::availablePrinterNames().isEmpty();
}

bool landscapeFor(QSize picture) {
  return picture.width() > picture.height();
}

PrintFit fitPicture(QSize picture, QSizeF printable, double footerHeight) {
  PrintFit fit;
  fit.landscape = landscapeFor(picture);
  const double height = std::max(1.0, printable.height() - footerHeight);
  const double a = static_cast<double>(picture.width()) / std::max(1, picture.height());
  const double A = printable.width() / height;
  if (a >= A) {
    fit.size = QSizeF(printable.width(), printable.width() / a);
  } else {
    fit.size = QSizeF(height * a, height);
  }
  return fit;
}

QString printFooter(const QString& ansName, float sig2Z) {
  return QStringLiteral("Input file name = ") + ansName + QStringLiteral("\t\tNoise Variance = ") +
         formatSingle(sig2Z);
}

QString PlotOutput::cmdFileSaveAs_Click(const QImage& picture, const QString& ansName,
                                        QString& initialDir, const QString& programDir,
                                        const VectorDrawing& vector) {
  Dialogs::FileRequest request;
  request.title = QStringLiteral("Save Plot File As ...");
  request.filter = QStringLiteral(
      "All Files (*.*)|*.*|Bitmap (*.bmp)|*.bmp|PNG image (*.png)|*.png|"
      "SVG drawing (*.svg)|*.svg|PDF document (*.pdf)|*.pdf");
  request.filterIndex = 2;
  request.fileName = proposedBitmapName(ansName);
  if (initialDir.isEmpty()) initialDir = QDir(programDir).filePath(QStringLiteral("user"));
  request.initialDir = initialDir;

  const auto chosen = dialogs_.saveFile(request);
  if (!chosen || chosen->isEmpty() || *chosen == request.fileName) return {};
  const QString path = *chosen;

  if (QFileInfo::exists(path)) {
    // The path as chosen: on a file system that tells case apart, another case names another
    // file.
    const auto answer =
        dialogs_.message(QStringLiteral("File exists, want to replace it?"),
                         QStringLiteral("Replace ") + path + QStringLiteral(" file?"),
                         Dialogs::Buttons::YesNo, Dialogs::Icon::None);
    if (answer != Dialogs::Answer::Yes) return {};
  }

  const QString folder = QFileInfo(path).absolutePath();
  if (!QFileInfo(folder).isDir()) {
    dialogs_.message(QStringLiteral("This drive or path does not exist: ") + folder, kSaveTitle,
                     Dialogs::Buttons::Ok, Dialogs::Icon::Warning);
    return {};
  }
  // The file is made in memory and written whole, so that a failed save leaves a file it was
  // to replace as it was. A name ending in ".png" gets a PNG image (smaller, lossless), ".svg"
  // and ".pdf" the drawing in lines and text that stay sharp at any size; every other name the
  // Windows bitmap.
  const QString suffix = QFileInfo(path).suffix().toLower();
  std::optional<QString> failure;
  QByteArray bytes;
  if (suffix == QStringLiteral("svg") || suffix == QStringLiteral("pdf")) {
    const auto made = suffix == QStringLiteral("svg") ? svgDrawing(picture, vector, ansName)
                                                      : pdfDrawing(picture, vector, ansName);
    if (made)
      bytes = *made;
    else
      failure = QStringLiteral("The drawing could not be made as ") + suffix.toUpper() +
                QStringLiteral(".");
  } else {
    const bool png = suffix == QStringLiteral("png");
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!picture.save(&buffer, png ? "PNG" : "BMP"))
      failure = png ? QStringLiteral("The picture could not be turned into a PNG image.")
                    : QStringLiteral("The picture could not be turned into a bitmap.");
  }
  if (!failure) failure = writeFileSafely(path, bytes);
  if (failure) {
    dialogs_.message(QStringLiteral("The plot could not be written to ") + path +
                         QStringLiteral(".\r\n") + *failure +
                         QStringLiteral("\r\nCheck that the file is not read-only and that "
                                        "the disk has room, then try Save As again."),
                     kSaveTitle, Dialogs::Buttons::Ok, Dialogs::Icon::Warning);
    return {};
  }
  return path;
}

bool PlotOutput::cmdPrint_Click(QPrinter& printer, const QImage& picture, const QString& ansName,
                                float sig2Z, const VectorDrawing& vector) {
  // The orientation is chosen before the dialog, so that the dialog shows the page as it will
  // be printed; PrintPictureFit sets it again in case the dialog changed it.
  printer.setPageOrientation(landscapeFor(picture.size()) ? QPageLayout::Landscape
                                                          : QPageLayout::Portrait);
  // Without any printer the dialog can only print to a file: it is offered a PDF file named
  // after the answer file, in the working (user) folder.
  if (!printerInstalled() && printer.outputFileName().isEmpty()) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QDir::current().filePath(proposedPdfName(ansName)));
  }
  if (!dialogs_.choosePrinter(printer)) return false;
  return PrintPictureFit(printer, picture, printFooter(ansName, sig2Z), vector);
}

bool PlotOutput::PrintPictureFit(QPrinter& printer, const QImage& picture, const QString& footer,
                                 const VectorDrawing& vector) {
  printer.setPageOrientation(landscapeFor(picture.size()) ? QPageLayout::Landscape
                                                          : QPageLayout::Portrait);
  const QString file =
      printer.outputFormat() == QPrinter::PdfFormat ? printer.outputFileName() : QString();
  if (!file.isEmpty()) {
    // Printing to a file writes the page in memory first and the file whole, as every file of
    // the program is written.
    QByteArray pdf;
    QBuffer buffer(&pdf);
    buffer.open(QIODevice::WriteOnly);
    bool painted = false;
    {
      QPdfWriter writer(&buffer);
      writer.setResolution(printer.resolution());
      writer.setPageLayout(printer.pageLayout());
      writer.setCreator(printer.creator());
      writer.setTitle(printer.docName());
      painted = paintFitted(writer, writer.resolution(), picture, footer, vector);
    }
    std::optional<QString> failure =
        painted ? writeFileSafely(file, pdf)
                : std::optional<QString>(QStringLiteral("The page could not be made."));
    if (failure) {
      dialogs_.message(QStringLiteral("The plot could not be printed on ") + file +
                           QStringLiteral(".\r\n") + *failure +
                           QStringLiteral("\r\nChoose another file, or free some room on the "
                                          "disk, then try Print again."),
                       kPrintTitle, Dialogs::Buttons::Ok, Dialogs::Icon::Warning);
      return false;
    }
    return true;
  }
  if (!paintFitted(printer, printer.resolution(), picture, footer, vector)) {
    const QString text =
        printer.printerName().isEmpty()
            ? QStringLiteral(
                  "The plot could not be printed: no printer is installed.\r\n"
                  "Install a printer, or choose to print to a PDF file in the print "
                  "dialog, then try Print again.")
            : QStringLiteral("The plot could not be printed on ") + printer.printerName() +
                  QStringLiteral(
                      ".\r\nCheck that the printer is ready, then try Print "
                      "again.");
    dialogs_.message(text, kPrintTitle, Dialogs::Buttons::Ok, Dialogs::Icon::Warning);
    return false;
  }
  return true;
}

bool PlotOutput::paintFitted(QPagedPaintDevice& device, int resolution, const QImage& picture,
                             const QString& footer, const VectorDrawing& vector) {
  device.setPageOrientation(landscapeFor(picture.size()) ? QPageLayout::Landscape
                                                         : QPageLayout::Portrait);
  const QRectF printable = device.pageLayout().paintRectPixels(resolution);
  const QFontMetricsF fm(footerFont(), &device);
  const PrintFit fit = fitPicture(picture.size(), printable.size(), fm.height());

  // The drawing is made at the picture's size as an SVG drawing and rendered scaled into its
  // place, so that lines and letters are as sharp as the printer makes them.
  const std::optional<QByteArray> svg =
      vector ? svgDrawing(picture, vector, QString()) : std::nullopt;
  QSvgRenderer drawing;
  const bool recorded = svg && drawing.load(*svg);

  QCoreApplication::processEvents();
  QPainter painter;
  if (!painter.begin(&device)) return false;
  if (recorded) {
    drawing.render(&painter, QRectF(QPointF(0, 0), fit.size));
  } else {
    painter.drawImage(QRectF(QPointF(0, 0), fit.size), picture);
  }
  painter.setFont(footerFont());
  painter.setPen(Qt::black);
  painter.drawText(QRectF(0, fit.size.height(), printable.width(), fm.height()),
                   Qt::AlignLeft | Qt::AlignTop | Qt::TextExpandTabs, footer);
  return painter.end();
}

}  // namespace tessivar
