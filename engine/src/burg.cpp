// Burg AR method.
#include "estimators.h"
#include "not_built.h"

namespace voxtrel {

void burg(Run& r, const cplx*, int, int, cplx*, float&, int) { notBuilt(r, "Burg"); }

}  // namespace voxtrel
