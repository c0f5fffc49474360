#include "SpectrumExport.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <span>

#include "Dialogs.h"
#include "PlotOutput.h"
#include "ReadOut.h"
#include "SafeWrite.h"

namespace tessivar {

namespace {

const QString kExportTitle = QStringLiteral("Export spectrum...");

// The points the run's arrays hold of the npointsZ it reported.
std::size_t pointsOf(const RunResults& run) {
  const std::size_t held = std::min(run.x_array.size(), run.spectrum.size());
  return run.npointsZ > 0 ? std::min(held, static_cast<std::size_t>(run.npointsZ)) : 0;
}

std::tm localTm(const QDateTime& t) {
  std::tm tm{};
  const QDate d = t.date();
  const QTime c = t.time();
  tm.tm_year = d.year() - 1900;
  tm.tm_mon = d.month() - 1;
  tm.tm_mday = d.day();
  tm.tm_hour = c.hour();
  tm.tm_min = c.minute();
  tm.tm_sec = c.second();
  tm.tm_isdst = -1;
  return tm;
}

}  // namespace

voxtrel::csv::RunInfo csvRunInfo(const RunResults& run) {
  voxtrel::csv::RunInfo info;
  info.method = run.RunMethod.toStdString();
  info.answerFile = run.AnsName.toStdString();
  info.dataFile = run.DataFile.toStdString();
  info.nPoints = run.nPoints;
  info.nPoles = run.nPoles;
  info.nZeros = run.nZeros;
  info.date = localTm(run.RunTime.isValid() ? run.RunTime : QDateTime::currentDateTime());
  info.doublePrecision = run.doublePrecision;
  return info;
}

QByteArray spectrumCsv(const RunResults& run, const HeldCurves& held) {
  const std::size_t n = pointsOf(run);
  std::vector<voxtrel::csv::Column> columns;
  for (const HeldCurve& c : held.curves()) {
    auto& column = columns.emplace_back();
    column.name = c.label.toStdString();
    for (std::size_t i = 0; i < n; ++i) column.values.push_back(valueAt(c, run.x_array[i]));
  }
  return QByteArray::fromStdString(voxtrel::csv::table(csvRunInfo(run),
                                                       std::span(run.x_array.data(), n),
                                                       std::span(run.spectrum.data(), n), columns));
}

QByteArray peaksCsv(const RunResults& run) {
  const std::size_t n = pointsOf(run);
  return QByteArray::fromStdString(voxtrel::csv::peakTable(
      csvRunInfo(run), std::span(run.x_array.data(), n), std::span(run.spectrum.data(), n)));
}

QString peaksCsvPath(const QString& csvPath) {
  return QString::fromStdString(voxtrel::csv::peaksPath(csvPath.toStdString()));
}

QString SpectrumExport::exportSpectrum(const RunResults& run, QString& initialDir,
                                       const QString& programDir, const HeldCurves& held) {
  Dialogs::FileRequest request;
  request.title = QStringLiteral("Export Spectrum As ...");
  request.filter = QStringLiteral("All Files (*.*)|*.*|CSV file (*.csv)|*.csv");
  request.filterIndex = 2;
  request.fileName = proposedCsvName(run.AnsName);
  if (initialDir.isEmpty()) initialDir = QDir(programDir).filePath(QStringLiteral("user"));
  request.initialDir = initialDir;

  const auto chosen = dialogs_.saveFile(request);
  if (!chosen || chosen->isEmpty()) return {};
  // A bare name is taken in the offered folder.
  const QString path = QDir(initialDir).absoluteFilePath(*chosen);
  const QString peaks = peaksCsvPath(path);

  for (const QString& file : {path, peaks}) {
    if (!QFileInfo::exists(file)) continue;
    const auto answer =
        dialogs_.message(QStringLiteral("File exists, want to replace it?"),
                         QStringLiteral("Replace ") + file + QStringLiteral(" file?"),
                         Dialogs::Buttons::YesNo, Dialogs::Icon::None);
    if (answer != Dialogs::Answer::Yes) return {};
  }
  if (!writeReported(path, spectrumCsv(run, held)) || !writeReported(peaks, peaksCsv(run)))
    return {};
  return path;
}

bool SpectrumExport::writeReported(const QString& path, const QByteArray& bytes) {
  const std::optional<QString> failure = writeFileSafely(path, bytes);
  if (!failure) return true;
  dialogs_.message(QStringLiteral("The spectrum could not be written to ") + path +
                       QStringLiteral(".\r\n") + *failure +
                       QStringLiteral("\r\nChoose another folder or name, or check that the "
                                      "file is not read-only and that the disk has room, then "
                                      "try Export spectrum again."),
                   kExportTitle, Dialogs::Buttons::Ok, Dialogs::Icon::Warning);
  return false;
}

}  // namespace tessivar
