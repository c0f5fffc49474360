// The engine library bound by name at the first run, and one call of its entry Voxtrel_for.
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
  // Stands in for the library (tests): the entry is used without loading anything.
  void setEntry(Voxtrel_for_t entry) { entry_ = entry; }

  // Loads the library and resolves Voxtrel_for at the first call; nullptr with error() filled
  // when the library or its entry cannot be found.
  Voxtrel_for_t entry();
  QString error() const { return error_; }

 private:
  QString path_;
  QLibrary library_;
  Voxtrel_for_t entry_ = nullptr;
  QString error_;
};

// Calls the engine once on the answer file at runPath with result arrays of nPoints elements.
// nptsZ is set to 1 before the call, so a run that leaves it untouched (the estimator failed,
// zeroFillZ = -99) is not mistaken for a file error.
RunResults callEngine(Voxtrel_for_t entry, const QString& runPath, int nPoints);

}  // namespace tessivar
