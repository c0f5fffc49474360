// Minimum-variance spectrum.
#include "estimators.h"
#include "not_built.h"

namespace voxtrel {

void corrmat(const cplx*, int, int, FVec<cplx>&) {}

void mvse(Run& r, const cplx*, int, int, int, float, int, float*, int&) { notBuilt(r, "MVSE"); }

}  // namespace voxtrel
