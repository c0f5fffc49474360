// Least-squares modified Yule-Walker ARMA method.
#include "estimators.h"
#include "not_built.h"

namespace voxtrel {

void lsmywe(Run& r, const cplx*, int, int, int, int, float, cplx*, float&, int&, int) {
  notBuilt(r, "LSMYWE");
}

}  // namespace voxtrel
