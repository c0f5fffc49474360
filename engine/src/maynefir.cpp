// Mayne-Firoozan ARMA method.
#include "estimators.h"
#include "not_built.h"

namespace voxtrel {

void maynefir(Run& r, cplx*, int, int, int, int, float, int, cplx*, float&, int&, int) {
  notBuilt(r, "Mayne-Firoozan");
}

}  // namespace voxtrel
