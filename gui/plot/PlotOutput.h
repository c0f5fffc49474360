// The two output commands of a plot: Save As (the picture as a Windows bitmap or PNG image, or
// the same drawing as an SVG or PDF vector file) and Print (the picture fitted to the page with
// a footer line, drawn again at the printer's resolution when the plot can be).
#pragma once

#include <QImage>
#include <QSizeF>
#include <QString>
#include <functional>
#include <optional>

class QPaintDevice;
class QPagedPaintDevice;
class QPrinter;

namespace tessivar {

class Dialogs;

// The bitmap name offered for an answer file: its name without folder, cut before the first
// "." and given ".bmp"; the whole name when nothing stands before the first ".".
// c:\data\run.1 gives run.bmp, noext gives noext.bmp, .hidden gives .hidden.bmp.
QString proposedBitmapName(const QString& ansName);
// The PDF file offered when no printer is installed, named the same way: run.pdf.
QString proposedPdfName(const QString& ansName);
// The spectrum's CSV file offered by Export spectrum, named the same way: run.csv.
QString proposedCsvName(const QString& ansName);

// Draws the plot again on a vector device of the picture's size and logical resolution, all
// painting ended when it returns; false when there is nothing to draw.
using VectorDrawing = std::function<bool(QPaintDevice& device)>;
// True when the system has at least one printer.
bool printerInstalled();

// The drawing as an SVG file or a one-page PDF file of the picture's size, in memory; nothing
// when it could not be made. Without `vector` the file holds the picture itself.
std::optional<QByteArray> svgDrawing(const QImage& picture, const VectorDrawing& vector,
                                     const QString& title);
std::optional<QByteArray> pdfDrawing(const QImage& picture, const VectorDrawing& vector,
                                     const QString& title);

// How a picture is fitted to the printable area: landscape when it is wider than tall; the
// width filled when the picture is relatively wider than the area, else the height. The area
// keeps `footerHeight` free at its bottom for the footer line.
struct PrintFit {
  bool landscape = false;
  QSizeF size;
};
bool landscapeFor(QSize picture);
PrintFit fitPicture(QSize picture, QSizeF printable, double footerHeight);

// The footer printed below the picture.
QString printFooter(const QString& ansName, float sig2Z);

class PlotOutput {
 public:
  explicit PlotOutput(Dialogs& dialogs) : dialogs_(dialogs) {}

  // Save As: asks for the file (offering the bitmap name of ansName in initialDir, which
  // becomes programDir/user when empty), asks before replacing a file, writes the picture: a
  // PNG image for a name ending in ".png", an SVG drawing for ".svg", a PDF page for ".pdf"
  // (both drawn by `vector`, or holding the picture when there is none), else a bitmap.
  // Returns the path written, or an empty string when nothing was saved.
  QString cmdFileSaveAs_Click(const QImage& picture, const QString& ansName, QString& initialDir,
                              const QString& programDir, const VectorDrawing& vector = {});

  // Print: the printer dialog, then PrintPictureFit. False when cancelled or failed.
  bool cmdPrint_Click(QPrinter& printer, const QImage& picture, const QString& ansName, float sig2Z,
                      const VectorDrawing& vector = {});
  // Prints the picture fitted to the page with the footer; reports a printer that cannot start
  // or a file that cannot be written, by name. A printout to a PDF file is written whole. With
  // `vector` the page gets the drawing, scaled to the picture's place, instead of its pixels.
  bool PrintPictureFit(QPrinter& printer, const QImage& picture, const QString& footer,
                       const VectorDrawing& vector = {});

 private:
  // Paints the fitted picture and the footer as one page; false when the device cannot start.
  static bool paintFitted(QPagedPaintDevice& device, int resolution, const QImage& picture,
                          const QString& footer, const VectorDrawing& vector);

  Dialogs& dialogs_;
};

}  // namespace tessivar
