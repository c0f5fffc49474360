// Covariance and modified covariance AR methods.
#include "estimators.h"
#include "not_built.h"

namespace voxtrel {

void covmcov(Run& r, const cplx*, int, int, int, float, int&, float&) {
  notBuilt(r, "Covariance");
}

}  // namespace voxtrel
