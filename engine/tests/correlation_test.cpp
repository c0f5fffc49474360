#include <gtest/gtest.h>

#include <vector>

#include "estimators.h"

using voxtrel::cplx;

TEST(Correlation, BiasedAndUnbiasedLagsOfOneTwoThree) {
  const std::vector<cplx> x{{1, 0}, {2, 0}, {3, 0}};
  std::vector<cplx> biased(3), unbiased(3);
  voxtrel::correlation(3, 3, 1, x.data(), x.data(), biased.data());
  voxtrel::correlation(3, 3, 0, x.data(), x.data(), unbiased.data());
  const float wantBiased[] = {14.0f / 3, 8.0f / 3, 3.0f / 3};
  const float wantUnbiased[] = {14.0f / 3, 8.0f / 2, 3.0f / 1};
  for (int k = 0; k < 3; ++k) {
    EXPECT_NEAR(biased[k].real(), wantBiased[k], 1e-6) << "lag " << k;
    EXPECT_NEAR(unbiased[k].real(), wantUnbiased[k], 1e-6) << "lag " << k;
    EXPECT_EQ(biased[k].imag(), 0.0f);
  }
}

TEST(Correlation, PureImaginaryDataHaveRealUnitPower) {
  const std::vector<cplx> x{{0, 1}, {0, 1}};
  cplx r0;
  voxtrel::correlation(2, 1, 1, x.data(), x.data(), &r0);
  EXPECT_NEAR(r0.real(), 1.0f, 1e-7);
  EXPECT_NEAR(r0.imag(), 0.0f, 1e-7);
}

TEST(Correlation, LagsBeyondTheDataAreZeroInBothModes) {
  const std::vector<cplx> x{{1, 0}, {2, 0}};
  std::vector<cplx> b(4), u(4);
  voxtrel::correlation(2, 4, 1, x.data(), x.data(), b.data());
  voxtrel::correlation(2, 4, 0, x.data(), x.data(), u.data());
  for (int k = 2; k < 4; ++k) {
    EXPECT_EQ(b[k], cplx(0, 0));
    EXPECT_EQ(u[k], cplx(0, 0));
  }
}

TEST(Correlation, ConjugatesTheFirstSequence) {
  // x = (1, j): lag 1 = conj(x(1)) x(2) / 2 = j / 2 (biased).
  const std::vector<cplx> x{{1, 0}, {0, 1}};
  std::vector<cplx> r(2);
  voxtrel::correlation(2, 2, 1, x.data(), x.data(), r.data());
  EXPECT_NEAR(r[1].real(), 0.0f, 1e-7);
  EXPECT_NEAR(r[1].imag(), 0.5f, 1e-7);
}
