// One engine run on a saved answer file, without a window. prepare() reads what the program needs
// from the file (the method, nPoints, the data file) and refuses, with a message naming the file
// and a way on, what the engine could not run; execute() calls the engine's entry with result
// arrays of the right size and returns what it filled; outcomeOf() tells what the status means.
// The form shows the messages and hands a spectrum to the plot; execute() touches no widget and
// no state of the form, so it may run away from the window's thread.
#pragma once

#include <QString>
#include <optional>
#include <variant>

#include "Dialogs.h"
#include "EngineLibrary.h"
#include "RunResults.h"

namespace tessivar {

// A message box the form shows when a run cannot start.
struct RunRefusal {
  QString text;
  QString title;
  Dialogs::Icon icon = Dialogs::Icon::Warning;
};

// Everything execute() needs, read and checked by prepare().
struct PreparedRun {
  QString answerPath;                 // the answer file as found on disk
  QString method;                     // line 7, trimmed
  int arrayPoints = 0;                // nPoints raised to a power of two, as the engine raises it
  QString dataFile;                   // line 2, as written
  std::optional<int> nPoles, nZeros;  // lines 10 and 11 where the method asks for them
  Voxtrel_for_t entry = nullptr;
  Voxtrel_for_stoppable_t stoppableEntry = nullptr;  // nullptr: the run cannot be stopped
  bool doublePrecision = false;                      // the engine computes in double precision
};

enum class RunOutcome {
  Spectrum,   // a spectrum to plot
  NoPlot,     // the estimator failed (zeroFill -99); its reason is in the run log
  FileError,  // the answer or data file could not be used (status 0 or below)
  Stopped,    // the engine stopped the run (status -9); the log's last line says why
};

class RunExecution {
 public:
  explicit RunExecution(EngineLibrary& engine) : engine_(engine) {}

  // wanted: the answer file's path; meantData: the data file the form names (line 2 as the user
  // chose it), empty for a demo. The run log's place is cleared, so that a log left by an
  // earlier run is never taken for this one's. doublePrecision: the run is to compute in double
  // precision (refused when the library offers single precision only).
  std::variant<PreparedRun, RunRefusal> prepare(const QString& wanted, const QString& meantData,
                                                bool doublePrecision = false);

  // Calls the engine; the run's method, data file, nPoints, orders and time are filled in, the
  // names are the caller's. stopFlag: an int another thread may set (through std::atomic_ref) to
  // end the run, where the engine can.
  static RunResults execute(const PreparedRun& run, int* stopFlag = nullptr);

  static RunOutcome outcomeOf(const RunResults& r);

 private:
  EngineLibrary& engine_;
};

}  // namespace tessivar
