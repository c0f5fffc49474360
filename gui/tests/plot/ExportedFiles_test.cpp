// The plot's files as other programs see them: Save As as PNG, SVG and PDF, and Export spectrum
// as CSV, each opened by a standard tool (file, identify, pdfinfo, pdftotext, Python's csv
// reader); a test whose tool is not installed is skipped with its name.
#include <gtest/gtest.h>

#include <QDateTime>
#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>

#include "Dialogs.h"
#include "OutputBox.h"
#include "PlotController.h"
#include "SetupPage.h"
#include "SpectrumExport.h"
#include "TestPrinters.h"

namespace tessivar {
namespace {

// A tool's standard output, or nothing when the tool is not installed.
std::optional<QByteArray> runTool(const QString& tool, const QStringList& args,
                                  const QByteArray& input = {}) {
  if (QStandardPaths::findExecutable(tool).isEmpty()) return std::nullopt;
  QProcess p;
  p.start(tool, args);
  if (!p.waitForStarted()) return std::nullopt;
  p.write(input);
  p.closeWriteChannel();
  p.waitForFinished(60000);
  return p.readAllStandardOutput();
}

#define TOOL_OUTPUT(var, tool, ...)                                                 \
  const std::optional<QByteArray> var = runTool(QStringLiteral(tool), __VA_ARGS__); \
  if (!var) GTEST_SKIP() << tool " is not installed";

QByteArray readAll(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

RunResults run() {
  RunResults r;
  for (int i = 0; i <= 64; ++i) {
    r.x_array.push_back(static_cast<float>(i / 128.0));
    r.spectrum.push_back(i == 20 ? 0.0f : -30.0f - i / 7.0f);
  }
  // Values whose shortest text is long, and the decibels of a zero power.
  r.spectrum[3] = 1.0f / 3.0f;
  r.spectrum[4] = -std::numeric_limits<float>::infinity();
  r.spectrum[5] = std::numeric_limits<float>::denorm_min();
  r.npointsZ = 65;
  r.sig2Z = 0.5f;
  r.RunMethod = "Mayne-Firoozan";
  r.AnsName = "arma.1";
  r.RunFile = "ARMA.1";
  r.DataFile = "ARMA.rda";
  r.nPoints = 128;
  r.nPoles = 2;
  r.nZeros = 2;
  r.RunTime = QDateTime(QDate(2026, 12, 7), QTime(9, 30, 5));
  return r;
}

class SavedPlot : public ::testing::Test {
 protected:
  void SetUp() override {
    QSettings().clear();
    plots.surface().resize(QSize(640, 480));
    ASSERT_TRUE(plots.startPlot(run()));
  }
  void TearDown() override { QSettings().clear(); }

  // Save As to name in the temporary folder; the path written.
  QString save(const QString& name) {
    dialogs.file(dir.filePath(name));
    QString initialDir = dir.path();
    return plots.cmdFileSaveAs_Click("arma.1", initialDir, "/x");
  }

  QTemporaryDir dir;
  ScriptedDialogs dialogs;
  StringOutputBox out;
  PlotController plots{dialogs, out};
};

TEST_F(SavedPlot, PngSvgAndPdfAreWhatFileAndIdentifySay) {
  const struct {
    const char* name;
    const char* type;
  } cases[] = {
      {"plot.png", "PNG image data, 640 x 480"},
      {"plot.svg", "SVG Scalable Vector Graphics image"},
      {"plot.pdf", "PDF document"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const QString path = save(c.name);
    ASSERT_EQ(path, dir.filePath(c.name));
    EXPECT_TRUE(dialogs.messages().empty());
    TOOL_OUTPUT(type, "file", {QStringLiteral("-b"), path});
    EXPECT_TRUE(type->startsWith(c.type)) << type->toStdString();
    // ImageMagick reads the pictures at their size (the SVG through its SVG renderer).
    if (QByteArray(c.name).endsWith("pdf")) continue;
    TOOL_OUTPUT(seen, "identify", {QStringLiteral("-format"), QStringLiteral("%w %h"), path});
    EXPECT_EQ(*seen, "640 480");
  }
}

// The vector files hold the plot's texts as text, one element per text the picture shows,
// and leave the picture on the screen as it was.
TEST_F(SavedPlot, SvgAndPdfHoldTheDrawingNotAPicture) {
  const QImage shown = plots.surface().image();
  const std::size_t texts = plots.surface().textRects().size();
  const QByteArray svg = readAll(save("plot.svg"));
  EXPECT_EQ(static_cast<std::size_t>(svg.count("<text")), texts);
  EXPECT_FALSE(svg.contains("<image"));
  EXPECT_TRUE(svg.contains(">Power-Spectral Density</text>"));
  EXPECT_TRUE(svg.contains("viewBox=\"0 0 640 480\""));
  EXPECT_EQ(plots.surface().image(), shown);

  const QString pdf = save("plot.pdf");
  EXPECT_EQ(plots.surface().image(), shown);
  TOOL_OUTPUT(info, "pdfinfo", {pdf});
  const QByteArray fields = info->simplified();
  EXPECT_TRUE(fields.contains("Pages: 1 ")) << info->toStdString();
  // 640 by 480 pixels at the picture's 96 pixels per inch.
  EXPECT_TRUE(fields.contains("Page size: 480 x 360 pts")) << info->toStdString();
  TOOL_OUTPUT(text, "pdftotext", {pdf, QStringLiteral("-")});
  EXPECT_TRUE(text->contains("Mayne-Firoozan Estimate by Tessivar (tm)")) << text->toStdString();
  EXPECT_TRUE(text->contains("Power-Spectral Density (dB)"));
  EXPECT_TRUE(text->contains("Noise Variance ="));
}

// The vector files are drawn again through the same plot: held curves and the legend included.
TEST_F(SavedPlot, SvgAndPdfShowTheHeldCurvesAndTheLegend) {
  ASSERT_TRUE(plots.holdCurve());
  RunResults burg = run();
  burg.RunMethod = "Burg";
  for (float& db : burg.spectrum) db -= 6;
  ASSERT_TRUE(plots.startPlot(burg));
  const QByteArray svg = readAll(save("plot.svg"));
  EXPECT_TRUE(svg.contains(">Burg</text>"));
  EXPECT_TRUE(svg.contains(">Mayne-Firoozan</text>"));
  const QString curve2 = heldCurvePen(0, plots.setupPage()->settings()).color.name();
  EXPECT_TRUE(svg.contains(("stroke=\"" + curve2 + "\"").toLatin1())) << curve2.toStdString();
  TOOL_OUTPUT(text, "pdftotext", {save("plot.pdf"), QStringLiteral("-")});
  EXPECT_TRUE(text->contains("Mayne-Firoozan")) << text->toStdString();

  // Print draws the same again on the page, in lines and outlines, not as a picture; the
  // footer below it.
  plots.printer().setOutputFormat(QPrinter::PdfFormat);
  plots.printer().setOutputFileName(dir.filePath("printed.pdf"));
  dialogs.printer(true);
  ASSERT_TRUE(plots.cmdPrint_Click("arma.1"));
  TOOL_OUTPUT(images, "pdfimages", {QStringLiteral("-list"), dir.filePath("printed.pdf")});
  EXPECT_EQ(images->trimmed().count('\n'), 1) << "only the list's two header lines\n"
                                              << images->toStdString();
  TOOL_OUTPUT(printed, "pdftotext", {dir.filePath("printed.pdf"), QStringLiteral("-")});
  EXPECT_TRUE(printed->contains("Input file name = arma.1")) << printed->toStdString();
}

// A CSV reader reads back the exported values as exactly the run's floats.
class ExportedCsv : public ::testing::Test {
 protected:
  QTemporaryDir dir;
  ScriptedDialogs dialogs;
  SpectrumExport exporter{dialogs};
  QString initialDir = dir.path();
};

TEST_F(ExportedCsv, CommentLinesHeaderAndRowsThatReadBackExactly) {
  const RunResults r = run();
  dialogs.file("arma.csv");  // a bare name: in the offered folder
  const QString path = exporter.exportSpectrum(r, initialDir, "/x");
  ASSERT_EQ(path, dir.filePath("arma.csv"));
  ASSERT_EQ(dialogs.calls().size(), 1u);
  EXPECT_EQ(dialogs.calls()[0].request.fileName, "arma.csv");
  EXPECT_EQ(dialogs.calls()[0].request.filter, "All Files (*.*)|*.*|CSV file (*.csv)|*.csv");
  const QList<QByteArray> lines = readAll(path).split('\n');
  ASSERT_EQ(lines.size(), 6 + 1 + 65 + 1);
  const char* head[] = {"# method: Mayne-Firoozan",
                        "# answer file: arma.1",
                        "# data file: ARMA.rda",
                        "# nPoints: 128",
                        "# orders: nPoles = 2, nZeros = 2",
                        "# date: 2026-12-07 09:30:05",
                        "frequency,dB"};
  for (int i = 0; i < 7; ++i) EXPECT_EQ(lines[i], head[i]);
  EXPECT_EQ(lines[7 + 3], "0.0234375,0.33333334");
  EXPECT_EQ(lines[7 + 4], "0.03125,-inf");
  EXPECT_EQ(lines[7 + 5], "0.0390625,1e-45");
  EXPECT_EQ(lines.last(), "");

  // Python's csv module reads the rows; each value, rounded to single precision, is the run's.
  const QByteArray script =
      "import csv, struct, sys\n"
      "rows = [r for r in csv.reader(open(sys.argv[1])) if r and not r[0].startswith('#')]\n"
      "assert rows[0] == ['frequency', 'dB'], rows[0]\n"
      "for f, d in rows[1:]:\n"
      "    print('%08x %08x' % tuple(struct.unpack('<I', struct.pack('<f', float(v)))[0]"
      " for v in (f, d)))\n";
  TOOL_OUTPUT(bits, "python3", {QStringLiteral("-c"), QString::fromLatin1(script), path});
  const QList<QByteArray> rows = bits->trimmed().split('\n');
  ASSERT_EQ(rows.size(), 65);
  for (int i = 0; i < 65; ++i) {
    const QByteArray expected =
        QByteArray::number(std::bit_cast<std::uint32_t>(r.x_array[i]), 16).rightJustified(8, '0') +
        ' ' +
        QByteArray::number(std::bit_cast<std::uint32_t>(r.spectrum[i]), 16).rightJustified(8, '0');
    EXPECT_EQ(rows[i], expected) << i;
  }
}

// Each held curve is a column named by its legend label, its decibels read off its own grid
// at the run's frequencies, and empty beyond its ends; the peaks stay the run's own.
TEST_F(ExportedCsv, HeldCurvesAreNamedColumnsOnTheRunsFrequencies) {
  HeldCurves held;
  // A coarse curve over part of the run's range, and one over all of it that falls by
  // 64 dB per unit of frequency.
  ASSERT_TRUE(held.hold({{0.1f, 0.2f, 0.3f}, {-10, -20, -40}, "Burg, p=8, \"Two\".cda"}));
  HeldCurve periodogram{{}, {}, "Periodogram"};
  for (int i = 0; i <= 32; ++i) {
    periodogram.freq.push_back(i / 64.0f);
    periodogram.db.push_back(-static_cast<float>(i));
  }
  ASSERT_TRUE(held.hold(periodogram));
  dialogs.file("arma.csv");
  const QString path = exporter.exportSpectrum(run(), initialDir, "/x", held);
  ASSERT_FALSE(path.isEmpty());
  EXPECT_TRUE(
      readAll(path).contains("\nfrequency,dB,\"Burg, p=8, \"\"Two\"\".cda\",Periodogram\n"));
  EXPECT_FALSE(readAll(peaksCsvPath(path)).contains("Periodogram"));

  const QByteArray script =
      "import csv, sys\n"
      "for r in csv.reader(open(sys.argv[1])):\n"
      "    if r and not r[0].startswith('#'): print('|'.join(r))\n";
  TOOL_OUTPUT(rows, "python3", {QStringLiteral("-c"), QString::fromLatin1(script), path});
  const QList<QByteArray> lines = rows->trimmed().split('\n');
  ASSERT_EQ(lines.size(), 1 + 65);
  EXPECT_EQ(lines[0], "frequency|dB|Burg, p=8, \"Two\".cda|Periodogram");
  for (int k = 0; k <= 64; ++k) {
    SCOPED_TRACE(k);
    const QList<QByteArray> cells = lines[k + 1].split('|');
    ASSERT_EQ(cells.size(), 4);
    const double f = k / 128.0;
    EXPECT_EQ(cells[0].toDouble(), f);
    if (f < 0.1 || f > 0.3) {
      EXPECT_TRUE(cells[2].isEmpty());
    } else {
      const double burg = f <= 0.2 ? -10 - (f - 0.1) * 100 : -20 - (f - 0.2) * 200;
      EXPECT_NEAR(cells[2].toDouble(), burg, 1e-4);
    }
    EXPECT_NEAR(cells[3].toDouble(), -64 * f, 1e-5);
  }
}

TEST_F(ExportedCsv, PeaksBesideItAndReplacingAsked) {
  const RunResults r = run();
  const QString peaks = dir.filePath("arma_peaks.csv");
  QFile old(peaks);
  ASSERT_TRUE(old.open(QIODevice::WriteOnly));
  old.write("keep");
  old.close();
  dialogs.file(dir.filePath("arma.csv"));
  dialogs.answer(Dialogs::Answer::No);
  EXPECT_TRUE(exporter.exportSpectrum(r, initialDir, "/x").isEmpty());
  ASSERT_EQ(dialogs.messages().size(), 1u);
  EXPECT_EQ(dialogs.messages()[0].title, "Replace " + peaks + " file?");
  EXPECT_EQ(readAll(peaks), "keep");
  EXPECT_FALSE(QFile::exists(dir.filePath("arma.csv")));

  dialogs.file(dir.filePath("arma.csv"));
  dialogs.answer(Dialogs::Answer::Yes);
  EXPECT_EQ(exporter.exportSpectrum(r, initialDir, "/x"), dir.filePath("arma.csv"));
  // The local maxima at positive frequencies, in frequency order: the two odd values standing
  // above the falling spectrum and the 0 dB top.
  const QByteArray text = readAll(peaks);
  EXPECT_TRUE(text.startsWith("# method: Mayne-Firoozan\n"));
  EXPECT_TRUE(text.endsWith("frequency,dB\n0.0234375,0.33333334\n0.0390625,1e-45\n0.15625,0\n"))
      << text.data();
}

TEST_F(ExportedCsv, AFileThatCannotBeWrittenIsNamedWithAWayOn) {
  const QString path = dir.filePath("no/such/folder/arma.csv");
  dialogs.file(path);
  EXPECT_TRUE(exporter.exportSpectrum(run(), initialDir, "/x").isEmpty());
  ASSERT_EQ(dialogs.messages().size(), 1u);
  const auto& m = dialogs.messages()[0];
  EXPECT_EQ(m.title, "Export spectrum...");
  EXPECT_EQ(m.icon, Dialogs::Icon::Warning);
  EXPECT_TRUE(m.text.startsWith("The spectrum could not be written to " + path + ".\r\n"))
      << m.text.toStdString();
  EXPECT_TRUE(m.text.endsWith("then try Export spectrum again."));
}

}  // namespace
}  // namespace tessivar
