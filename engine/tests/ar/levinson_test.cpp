#include <gtest/gtest.h>

#include <vector>

#include "estimators.h"
#include "reference.h"

using voxtrel::cplx;

TEST(Levinson, OrderOneWorkedExample) {
  voxtrel::RunLog log;
  voxtrel::Run r(log);
  const std::vector<cplx> lags{{1, 0}, {0.5f, 0}};
  cplx a;
  voxtrel::levinson(r, lags.data(), 1, &a);
  EXPECT_NEAR(a.real(), -0.5f, 1e-7);
  EXPECT_EQ(a.imag(), 0.0f);
  EXPECT_NEAR(r.st.rho(1), 0.75f, 1e-7);
  EXPECT_EQ(r.st.iflag, 0);
}

TEST(Autocorr, OrderZeroHasNoCoefficientsAndTheLagZeroPower) {
  voxtrel::RunLog log;
  voxtrel::Run r(log);
  const std::vector<cplx> x{{1, 0}, {2, 0}, {3, 0}};
  cplx a(7, 7);
  float sig2 = -1;
  voxtrel::autocorr(r, x.data(), 3, 0, &a, sig2, 3);
  EXPECT_NEAR(sig2, 14.0f / 3, 1e-6);
  EXPECT_EQ(a, cplx(7, 7));  // nothing written
  EXPECT_EQ(r.st.iflag, 0);
}

TEST(Autocorr, AgreesWithADirectToeplitzSolve) {
  // Complex data: an AR(4) driven by noise, mixed with a complex tone.
  const auto real = ref::Ar4{}.generate(300, 11);
  const auto tone = ref::complexTone(300, 0.31, 0.5, 12);
  std::vector<cplx> x(300);
  for (int t = 0; t < 300; ++t) x[t] = cplx(real[t], 0) + tone[t];
  for (int p : {1, 4, 9}) {
    voxtrel::RunLog log;
    voxtrel::Run r(log);
    std::vector<cplx> a(static_cast<std::size_t>(p));
    float sig2 = 0;
    voxtrel::autocorr(r, x.data(), 300, p, a.data(), sig2, 512);
    ASSERT_EQ(r.st.iflag, 0);
    double refSig2 = 0;
    const auto want = ref::yuleWalker(ref::biasedLags(x, p), p, &refSig2);
    for (int j = 0; j < p; ++j) {
      EXPECT_NEAR(a[j].real(), want[j].real(), 2e-4 * (1 + std::abs(want[j]))) << p << "," << j;
      EXPECT_NEAR(a[j].imag(), want[j].imag(), 2e-4 * (1 + std::abs(want[j]))) << p << "," << j;
    }
    EXPECT_NEAR(sig2, refSig2, 1e-4 * refSig2) << p;
  }
}

TEST(Autocorr, RealDataGiveRealCoefficientsAndFallingErrorPower) {
  const auto y = ref::Ar4{}.generate(256, 3);
  std::vector<cplx> x(y.begin(), y.end());
  voxtrel::RunLog log;
  voxtrel::Run r(log);
  std::vector<cplx> a(8);
  float sig2 = 0;
  voxtrel::autocorr(r, x.data(), 256, 8, a.data(), sig2, 256);
  ASSERT_EQ(r.st.iflag, 0);
  for (const cplx& c : a) EXPECT_EQ(c.imag(), 0.0f);
  for (int k = 2; k <= 8; ++k) EXPECT_LE(r.st.rho(k), r.st.rho(k - 1));
}

TEST(Levinson, AllZeroLagsAreDegenerateWithANamedCause) {
  voxtrel::RunLog log;
  voxtrel::Run r(log);
  const std::vector<cplx> lags(4);
  std::vector<cplx> a(3);
  voxtrel::levinson(r, lags.data(), 3, a.data());
  EXPECT_EQ(r.st.iflag, voxtrel::kIflagDegenerate);
  EXPECT_EQ(log.lines().back(),
            " Levinson recursion stopped at order 1: the lag-0 power is zero (all-zero data?).");
}

TEST(Levinson, LagOneAsLargeAsLagZeroIsDegenerate) {
  for (int p : {1, 2}) {
    voxtrel::RunLog log;
    voxtrel::Run r(log);
    const std::vector<cplx> lags{{2, 0}, {0, 2}, {-2, 0}};
    std::vector<cplx> a(2);
    voxtrel::levinson(r, lags.data(), p, a.data());
    EXPECT_EQ(r.st.iflag, voxtrel::kIflagDegenerate);
    EXPECT_EQ(log.lines().back(),
              " Levinson recursion stopped at order 1: the prediction-error power is zero (the "
              "data are perfectly predictable).");
  }
}
