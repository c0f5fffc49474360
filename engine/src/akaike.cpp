// Akaike maximum-likelihood ARMA method.
#include "estimators.h"
#include "not_built.h"

namespace voxtrel {

void akaike(Run& r, const float*, int, float*, float*, int, int, int, float, float, float&, int&,
            int) {
  notBuilt(r, "Akaike");
}

}  // namespace voxtrel
