// Step-down recursion: the order-1 case by hand and the exact inverse of Levinson's step-up.
#include <gtest/gtest.h>

#include <vector>

#include "estimators.h"

using voxtrel::cplx;

TEST(Stepdown, OrderOneReturnsTheCoefficientAndInflatesThePower) {
  voxtrel::RunLog log;
  voxtrel::Run r(log);
  r.w.bc()(1) = cplx(0.5f, 0.2f);
  float rho0 = 0;
  voxtrel::stepdown(r, 1, 2.0f, rho0);
  EXPECT_NEAR(r.w.aa()(1, 1).real(), 0.5, 1e-7);
  EXPECT_NEAR(r.w.aa()(1, 1).imag(), 0.2, 1e-7);
  EXPECT_NEAR(r.st.rho(1), 2.0, 1e-7);
  // rho0 = sig2 / (1 - |bc(1)|^2) = 2 / 0.71.
  EXPECT_NEAR(rho0, 2.0 / 0.71, 1e-5);
}

TEST(Stepdown, UndoesTheLevinsonRecursion) {
  // Lags of a complex sequence: Levinson builds every order; stepping down from the last
  // order must give back the lower columns, the error powers and the lag-0 power.
  const std::vector<cplx> R = {{3.0f, 0}, {1.2f, 0.4f}, {0.3f, -0.5f}, {-0.2f, 0.1f}, {0.1f, 0.2f}};
  voxtrel::RunLog log;
  voxtrel::Run r(log);
  std::vector<cplx> a(4);
  voxtrel::levinson(r, R.data(), 4, a.data());
  std::vector<std::vector<cplx>> cols(5);
  std::vector<float> rho(5);
  for (int k = 1; k <= 4; ++k) {
    for (int j = 1; j <= k; ++j) cols[k].push_back(r.w.aa()(j, k));
    rho[k] = r.st.rho(k);
  }
  for (int j = 1; j <= 4; ++j) r.w.bc()(j) = a[j - 1];
  // Reallocating the table clears it: nothing of Levinson's columns survives.
  r.w.aa().ready(1, 1);
  float rho0 = 0;
  voxtrel::stepdown(r, 4, rho[4], rho0);
  for (int k = 1; k <= 3; ++k) {
    EXPECT_NEAR(r.st.rho(k), rho[k], 1e-5) << "rho(" << k << ")";
    for (int j = 1; j <= k; ++j) {
      EXPECT_NEAR(r.w.aa()(j, k).real(), cols[k][j - 1].real(), 1e-5) << j << "," << k;
      EXPECT_NEAR(r.w.aa()(j, k).imag(), cols[k][j - 1].imag(), 1e-5) << j << "," << k;
    }
  }
  EXPECT_NEAR(rho0, 3.0, 1e-5);
}
