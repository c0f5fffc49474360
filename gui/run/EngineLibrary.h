// The engine library bound by name at the first run, and one call of its entry Voxtrel_for (or,
// where the library has it, of Voxtrel_for_stoppable, which takes a stop request).
#pragma once

#include <QByteArray>
#include <QLibrary>
#include <QString>

#include "RunResults.h"
#include "voxtrel.h"

namespace tessivar {

class EngineLibrary {
 public:
  // path: the library's absolute path without suffix (".so" / ".dll" is added by QLibrary).
  explicit EngineLibrary(QString path = {}) : path_(std::move(path)) {}

  void setPath(const QString& path);
  QString path() const { return path_; }
  // Stands in for the library (tests): the entry is used without loading anything, and there is
  // no entry that takes a stop request.
  void setEntry(Voxtrel_for_t entry) {
    entry_ = entry;
    stoppable_ = nullptr;
  }

  // Loads the library and resolves Voxtrel_for at the first call; nullptr with error() filled
  // when the library or its entry cannot be found.
  Voxtrel_for_t entry();
  // The entry that takes a stop request and the arithmetic, resolved with entry(); nullptr when
  // the library has none (an older engine), whose runs then go to their end in single precision.
  Voxtrel_for_stoppable_t stoppableEntry() const { return stoppable_; }
  QString error() const { return error_; }

 private:
  QString path_;
  QLibrary library_;
  Voxtrel_for_t entry_ = nullptr;
  Voxtrel_for_stoppable_t stoppable_ = nullptr;
  QString error_;
};

// Calls the engine once on the answer file at runPath with result arrays of nPoints elements.
// nptsZ is set to 1 before the call, so a run that leaves it untouched (the estimator failed,
// zeroFillZ = -99) is not mistaken for a file error. With stoppable and stopFlag given, the call
// goes to stoppable, which ends the run when another thread sets *stopFlag (std::atomic_ref).
// doublePrecision asks stoppable for double-precision arithmetic (the caller makes sure the
// library has it: Voxtrel_for computes in single precision only).
RunResults callEngine(Voxtrel_for_t entry, const QString& runPath, int nPoints,
                      Voxtrel_for_stoppable_t stoppable = nullptr, int* stopFlag = nullptr,
                      bool doublePrecision = false);

}  // namespace tessivar
