// Export spectrum: the plotted run's frequencies and decibels as a CSV file, with its peaks in
// a second file beside it, in the form voxtrel-run --csv writes (voxtrel/spectrum_csv.h).
#pragma once

#include <QString>

#include "HeldCurves.h"
#include "RunResults.h"
#include "voxtrel/spectrum_csv.h"

namespace tessivar {

class Dialogs;

// What the comment lines say about the run: its method, answer file, data file, nPoints,
// orders and time.
voxtrel::csv::RunInfo csvRunInfo(const RunResults& run);

// The two files' texts for the run's first npointsZ points (as far as its arrays reach). Each
// held curve adds a column named by its legend label: its decibels at the run's frequencies,
// on the straight line between its own points as the read-out takes them, empty outside its
// range. With none held the spectrum file is the runner's single-curve file.
QByteArray spectrumCsv(const RunResults& run, const HeldCurves& held = {});
QByteArray peaksCsv(const RunResults& run);
// The peaks file beside a spectrum file: run.csv gives run_peaks.csv.
QString peaksCsvPath(const QString& csvPath);

class SpectrumExport {
 public:
  explicit SpectrumExport(Dialogs& dialogs) : dialogs_(dialogs) {}

  // Asks for the file (offering the CSV name of the answer file in initialDir, which becomes
  // programDir/user when empty), asks before replacing either file, writes the spectrum and
  // then its peaks. Returns the spectrum file's path, or an empty string when nothing was
  // written; a file that cannot be written is reported by name with a way on. The held curves
  // join the spectrum file as further columns.
  QString exportSpectrum(const RunResults& run, QString& initialDir, const QString& programDir,
                         const HeldCurves& held = {});

 private:
  bool writeReported(const QString& path, const QByteArray& bytes);
  Dialogs& dialogs_;
};

}  // namespace tessivar
