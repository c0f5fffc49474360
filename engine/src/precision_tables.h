// The work tables of the AR routines in the precision a routine runs in: the routines are
// written once on the real type, and take their tables through ModelTables<Real>.
#pragma once

#include <complex>

#include "spectrum.h"

namespace voxtrel {

template <class Real>
struct ModelTables;

template <>
struct ModelTables<float> {
  static FMat<cplx>& aa(Run& r) { return r.w.aa(); }
  static FMat<cplx>& bb(Run& r) { return r.w.bb(); }
  static FVec<cplx>& bc(Run& r) { return r.w.bc(); }
  static FMat<cplx>& rinv(Run& r) { return r.w.rinv(); }
  static FVec<float>& rho(Run& r) { return r.st.rho; }
  static FVec<cplx>& hc(Run& r) { return r.w.hc(); }
  static FMat<cplx>& xl(Run& r) { return r.w.xl(); }
  static FVec<float>& d(Run& r) { return r.w.d(); }
  static FVec<cplx>& y(Run& r) { return r.w.y(); }
  static FVec<cplx>& theta(Run& r) { return r.theta(); }
  static FMat<float>& aaReal(Run& r) { return r.w.aa_real(); }
  static FMat<float>& s(Run& r) { return r.w.s(); }
  static FMat<float>& hess(Run& r) { return r.w.hess(); }
  static FVec<float>& grad(Run& r) { return r.w.grad(); }
  static FVec<float>& bv(Run& r) { return r.w.bv(); }
};

template <>
struct ModelTables<double> {
  static FMat<dcplx>& aa(Run& r) { return r.w.aaDouble(); }
  static FMat<dcplx>& bb(Run& r) { return r.w.bbDouble(); }
  static FVec<dcplx>& bc(Run& r) { return r.w.bcDouble(); }
  static FMat<dcplx>& rinv(Run& r) { return r.w.rinvDouble(); }
  static FVec<double>& rho(Run& r) { return r.w.rhoDouble(); }
  static FVec<dcplx>& hc(Run& r) { return r.w.hcDouble(); }
  static FMat<dcplx>& xl(Run& r) { return r.w.xlDouble(); }
  static FVec<double>& d(Run& r) { return r.w.dDouble(); }
  static FVec<dcplx>& y(Run& r) { return r.w.yDouble(); }
  static FVec<dcplx>& theta(Run& r) { return r.w.thetaDouble(); }
  static FMat<double>& aaReal(Run& r) { return r.w.aaRealDouble(); }
  static FMat<double>& s(Run& r) { return r.w.sDouble(); }
  static FMat<double>& hess(Run& r) { return r.w.hessDouble(); }
  static FVec<double>& grad(Run& r) { return r.w.gradDouble(); }
  static FVec<double>& bv(Run& r) { return r.w.bvDouble(); }
};

}  // namespace voxtrel
