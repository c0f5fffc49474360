// What one engine run hands to the rest of the program: the arrays the engine filled and its
// scalars, with the run's method and file names for the plot's titles and its exported data.
#pragma once

#include <QDateTime>
#include <QString>
#include <optional>
#include <vector>

namespace tessivar {

struct RunResults {
  std::vector<float> x_array;   // frequencies, x_array[i - 1] for point i
  std::vector<float> spectrum;  // PSD in dB relative to its maximum
  int nptsZ = 0;                // data points used (> 0), or the engine's file-error status
  int npointsZ = 0;             // number of points to plot
  float t_startZ = 0, t_finalZ = 0;
  float zeroFillZ = 0;  // -99: the estimator failed, no spectrum
  float sig2Z = 0;
  QString RunMethod;  // line 7 of the answer file, trimmed
  QString AnsName;    // the answer file's name (no folder)
  QString RunFile;    // the run's copy of the answer-file name, as the plot's title block shows it
  // What names the run in an exported spectrum: the data file as line 2 of the answer file
  // gives it, the transform size, the model orders the method asks for and when it ran.
  QString DataFile;
  int nPoints = 0;
  std::optional<int> nPoles, nZeros;
  QDateTime RunTime;
  bool doublePrecision = false;  // computed in double precision (View > Double-precision ...)
};

}  // namespace tessivar
