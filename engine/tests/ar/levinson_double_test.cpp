// The Levinson recursion in double precision solves the Yule-Walker equations of nearly
// singular lags (a sharp spectral line in little noise) to near double-precision accuracy; it
// uses its own tables and leaves the single-precision ones alone.
#include <gtest/gtest.h>

#include <complex>
#include <vector>

#include "estimators.h"
#include "precision_tables.h"
#include "reference.h"

namespace {

TEST(LevinsonDouble, SolvesNearlySingularYuleWalkerEquations) {
  const auto z = ref::complexTone(400, 0.11, 1e-3, 9u);
  for (int p : {2, 6, 12}) {
    const auto lags = ref::biasedLags(z, p);
    double refSig2 = 0;
    const auto want = ref::yuleWalker(lags, p, &refSig2);
    voxtrel::RunLog log;
    voxtrel::Run r(log);
    std::vector<voxtrel::dcplx> a(static_cast<std::size_t>(p));
    voxtrel::levinson(r, lags.data(), p, a.data());
    ASSERT_EQ(r.st.iflag, 0);
    for (int k = 0; k < p; ++k)
      EXPECT_LT(std::abs(a[static_cast<std::size_t>(k)] - want[static_cast<std::size_t>(k)]), 1e-7)
          << "p=" << p << " k=" << k;
    const double sig2 = voxtrel::ModelTables<double>::rho(r)(p);
    EXPECT_NEAR(sig2, refSig2, 1e-6 * refSig2) << "p=" << p;
    EXPECT_EQ(r.st.rho(p), 0.0f);  // the single-precision table is not touched
  }
}

}  // namespace
