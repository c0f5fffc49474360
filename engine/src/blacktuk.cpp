// Blackman-Tukey spectrum.
#include "estimators.h"
#include "not_built.h"

namespace voxtrel {

void blacktukey(Run& r, const cplx*, int, int, const float*, int, int, float*, int) {
  notBuilt(r, "Blackman-Tukey");
}

}  // namespace voxtrel
