#include "EngineLibrary.h"

#include <QFile>

namespace tessivar {

void EngineLibrary::setPath(const QString& path) {
  if (path == path_) return;
  if (library_.isLoaded()) library_.unload();
  path_ = path;
  entry_ = nullptr;
  stoppable_ = nullptr;
}

Voxtrel_for_t EngineLibrary::entry() {
  if (entry_) return entry_;
  library_.setFileName(path_);
  if (!library_.load()) {
    error_ = QStringLiteral("The engine library '%1' could not be loaded: %2")
                 .arg(path_, library_.errorString());
    return nullptr;
  }
  entry_ = reinterpret_cast<Voxtrel_for_t>(library_.resolve("Voxtrel_for"));
  if (!entry_) {
    error_ = QStringLiteral("The engine library '%1' has no entry 'Voxtrel_for': %2")
                 .arg(library_.fileName(), library_.errorString());
    library_.unload();
    return nullptr;
  }
  stoppable_ = reinterpret_cast<Voxtrel_for_stoppable_t>(library_.resolve("Voxtrel_for_stoppable"));
  return entry_;
}

RunResults callEngine(Voxtrel_for_t entry, const QString& runPath, int nPoints,
                      Voxtrel_for_stoppable_t stoppable, int* stopFlag, bool doublePrecision) {
  RunResults r;
  r.x_array.assign(static_cast<std::size_t>(std::max(nPoints, 1)), 0.0f);
  r.spectrum.assign(r.x_array.size(), 0.0f);
  r.x_array[0] = 1.0f;
  r.spectrum[0] = 1.0f;
  r.nptsZ = 1;
  r.npointsZ = static_cast<int>(r.x_array.size());
  r.zeroFillZ = 0.0f;
  // The path in the file system's own encoding, handed over with its length.
  const QByteArray name = QFile::encodeName(runPath);
  if (stoppable && (stopFlag || doublePrecision))
    stoppable(name.constData(), r.x_array.data(), r.spectrum.data(), &r.nptsZ, &r.npointsZ,
              &r.t_startZ, &r.t_finalZ, &r.zeroFillZ, &r.sig2Z, static_cast<int>(name.size()),
              stopFlag, doublePrecision ? 1 : 0);
  else
    entry(name.constData(), r.x_array.data(), r.spectrum.data(), &r.nptsZ, &r.npointsZ, &r.t_startZ,
          &r.t_finalZ, &r.zeroFillZ, &r.sig2Z, static_cast<int>(name.size()));
  // Never trust a count larger than the arrays.
  if (r.nptsZ > 0 && r.zeroFillZ != -99.0f)
    r.npointsZ = std::min<int>(r.npointsZ, static_cast<int>(r.x_array.size()));
  return r;
}

}  // namespace tessivar
