// Recursive maximum-likelihood AR method.
#include "estimators.h"
#include "not_built.h"

namespace voxtrel {

void rmle(Run& r, const float*, int, int, float*, float&) { notBuilt(r, "RMLE"); }

}  // namespace voxtrel
