// Durbin MA method.
#include "estimators.h"
#include "not_built.h"

namespace voxtrel {

void durbin(Run& r, const cplx*, int, int, int, cplx*, float&, int) { notBuilt(r, "Durbin"); }

}  // namespace voxtrel
