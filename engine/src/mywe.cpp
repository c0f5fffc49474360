// Modified Yule-Walker ARMA method.
#include "estimators.h"
#include "not_built.h"

namespace voxtrel {

void toepeqn(Run& r, const cplx*, int, int, float, cplx*, int&) { notBuilt(r, "MYWE"); }

void czerofilt(const cplx*, int, int, const cplx*, cplx*) {}

void mywe(Run& r, const cplx*, int, int, int, float, cplx*, cplx*, float&, int&, int) {
  notBuilt(r, "MYWE");
}

}  // namespace voxtrel
