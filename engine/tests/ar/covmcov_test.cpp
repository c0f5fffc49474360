#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <vector>

#include "estimators.h"
#include "reference.h"

using voxtrel::cplx;

namespace {

struct CovFit {
  std::vector<cplx> a;
  float sig2 = -1;
  int iflag = 0;
  std::vector<std::string> log;
};

CovFit fit(const std::vector<cplx>& x, int p, int mode, float eps = 1e-20f) {
  voxtrel::RunLog log;
  voxtrel::Run r(log);
  CovFit out;
  voxtrel::covmcov(r, x.data(), static_cast<int>(x.size()), p, mode, eps, out.iflag, out.sig2);
  for (int i = 1; i <= p; ++i) out.a.push_back(r.theta()(i));
  out.log = log.lines();
  return out;
}

std::vector<cplx> mixedData(int n) {
  const auto real = ref::Ar4{}.generate(n, 31);
  const auto tone = ref::complexTone(n, 0.37, 0.4, 32);
  std::vector<cplx> x(static_cast<std::size_t>(n));
  for (int t = 0; t < n; ++t) x[t] = cplx(real[t], 0) + tone[t];
  return x;
}

}  // namespace

TEST(Covmcov, BothModesAgreeWithLeastSquaresInDouble) {
  const auto x = mixedData(160);
  for (int mode : {0, 1}) {
    for (int p : {1, 4, 8}) {
      const auto got = fit(x, p, mode);
      ASSERT_EQ(got.iflag, 0) << mode << "," << p;
      double refSig2 = 0;
      const auto want = ref::leastSquaresAr(x, p, mode == 1, &refSig2);
      for (int j = 0; j < p; ++j) {
        const double tol = 5e-4 * (1 + std::abs(want[j]));
        EXPECT_NEAR(got.a[j].real(), want[j].real(), tol) << mode << "," << p << "," << j;
        EXPECT_NEAR(got.a[j].imag(), want[j].imag(), tol) << mode << "," << p << "," << j;
      }
      EXPECT_NEAR(got.sig2, refSig2, 1e-3 * refSig2) << mode << "," << p;
    }
  }
}

TEST(Covmcov, RecoverAKnownAr4AndKeepRealDataReal) {
  const ref::Ar4 model;
  const auto y = model.generate(2048, 8);
  const std::vector<cplx> x(y.begin(), y.end());
  const auto want = model.coefficients();
  for (int mode : {0, 1}) {
    const auto got = fit(x, 4, mode);
    ASSERT_EQ(got.iflag, 0);
    for (int j = 0; j < 4; ++j) {
      EXPECT_NEAR(got.a[j].real(), want[j], 0.05) << mode << "," << j;
      EXPECT_EQ(got.a[j].imag(), 0.0f);
    }
    EXPECT_NEAR(got.sig2, 1.0f, 0.1f) << mode;
  }
}

TEST(Covmcov, OrderZeroIsTheMeanPower) {
  const std::vector<cplx> x{{1, 0}, {2, 0}, {3, 0}};
  EXPECT_NEAR(fit(x, 0, 0).sig2, 14.0f / 3, 1e-6);
  EXPECT_NEAR(fit(x, 0, 1).sig2, 14.0f / 3, 1e-6);
}

TEST(Covmcov, TooFewSamplesAndZeroDataEndWithANamedCause) {
  const auto x = mixedData(10);
  const auto shortFwd = fit(std::vector<cplx>(x.begin(), x.begin() + 7), 4, 0);
  EXPECT_EQ(shortFwd.iflag, voxtrel::kIflagDegenerate);
  EXPECT_EQ(shortFwd.log.back(),
            " Covariance method: nPoles = 4 needs at least 8 samples, npts = 7; lower nPoles or "
            "use more data.");
  EXPECT_EQ(fit(std::vector<cplx>(x.begin(), x.begin() + 6), 4, 1).iflag, 0);
  const auto shortFb = fit(std::vector<cplx>(x.begin(), x.begin() + 5), 4, 1);
  EXPECT_EQ(shortFb.iflag, voxtrel::kIflagDegenerate);
  EXPECT_EQ(shortFb.log.back(),
            " Modified covariance method: nPoles = 4 needs at least 6 samples, npts = 5; lower "
            "nPoles or use more data.");
  const auto atN = fit(std::vector<cplx>(x.begin(), x.begin() + 4), 4, 1);
  EXPECT_EQ(atN.iflag, voxtrel::kIflagDegenerate);

  const auto constant = fit(std::vector<cplx>(30, cplx(2, 0)), 1, 0);
  EXPECT_EQ(constant.iflag, voxtrel::kIflagDegenerate);
  EXPECT_EQ(constant.log.back(),
            " Covariance method: the prediction error is zero (the data are perfectly "
            "predictable).");

  const auto zeros = fit(std::vector<cplx>(40), 3, 0);
  EXPECT_EQ(zeros.iflag, voxtrel::kIflagDegenerate);
  EXPECT_EQ(zeros.log.back(),
            " Covariance method: the data are zero over the fit (all-zero data?).");
}

TEST(Covmcov, IllConditionedSystemReportsTheSolverFailure) {
  // A real sinusoid is predicted exactly by two coefficients: order 3 is singular.
  std::vector<cplx> x(64);
  for (int t = 0; t < 64; ++t) x[t] = cplx(std::cos(0.7f * static_cast<float>(t)), 0);
  const auto got = fit(x, 3, 0, 1e-3f);
  EXPECT_EQ(got.iflag, -1);
  ASSERT_GE(got.log.size(), 2u);
  EXPECT_EQ(got.log[1].rfind(" Error in CHOLESKY: I =", 0), 0u);
}

// The normal-equation matrix is summed in tiles, many entries side by side in vector lanes;
// every entry must be the very same float as the sum taken one entry at a time with the complex
// multiply, in the same order, for the widest vectors and the 4-lane baseline alike. The orders
// cover a lone last row and strips that end inside and on a vector; the data hold signed zeros.
TEST(CovMCov, MatrixEntriesAreTheSameFloatsAsTheEntryByEntrySums) {
  std::mt19937 gen(2024);
  std::normal_distribution<float> g(0.0f, 3.0f);
  for (int mode : {0, 1}) {
    for (int p : {1, 3, 8, 16, 17, 33}) {
      const int n = 150;
      std::vector<voxtrel::cplx> x(n);
      for (auto& v : x) v = voxtrel::cplx(g(gen), g(gen));
      x[40] = voxtrel::cplx(-0.0f, 0.0f);
      x[41] = voxtrel::cplx(0.0f, -0.0f);
      voxtrel::RunLog log;
      voxtrel::Run r(log);
      r.st.maxorder = 411;
      int iflag = 0;
      float sig2 = 0;
      voxtrel::covmcov(r, x.data(), n, p, mode, 1.0e-30f, iflag, sig2);
      std::vector<voxtrel::cplx> baseline(static_cast<std::size_t>(p * (p + 1) / 2));
      voxtrel::covarianceMatrix(x.data(), n, p, mode == 1, baseline.data(), false);
      auto X = [&](int k) { return x[static_cast<std::size_t>(k - 1)]; };
      int l = 1;
      for (int i = 1; i <= p; ++i) {
        for (int j = 1; j <= i; ++j, ++l) {
          voxtrel::cplx s(0, 0);
          for (int k = p + 1; k <= n; ++k) s += std::conj(X(k - j)) * X(k - i);
          if (mode == 1)
            for (int k = 1; k <= n - p; ++k) s += X(k + j) * std::conj(X(k + i));
          for (const voxtrel::cplx got : {r.w.hc()(l), baseline[static_cast<std::size_t>(l - 1)]}) {
            ASSERT_EQ(std::bit_cast<std::uint64_t>(got), std::bit_cast<std::uint64_t>(s))
                << "mode " << mode << " p " << p << " l " << l << ": " << got << " " << s;
          }
        }
      }
    }
  }
}

// The double-precision matrix takes the same lane path with double lanes: every entry is the
// same double as the entry-by-entry sum, with and without the widest vectors.
TEST(CovMCov, DoubleMatrixEntriesAreTheEntryByEntrySums) {
  std::mt19937 gen(2025);
  std::normal_distribution<double> g(0.0, 3.0);
  for (const bool both : {false, true}) {
    for (const int p : {1, 4, 9, 17, 33}) {
      const int n = 150;
      std::vector<voxtrel::dcplx> x(n);
      for (auto& v : x) v = voxtrel::dcplx(g(gen), g(gen));
      auto X = [&](int k) { return x[static_cast<std::size_t>(k - 1)]; };
      for (const bool widest : {false, true}) {
        std::vector<voxtrel::dcplx> hc(static_cast<std::size_t>(p * (p + 1) / 2));
        voxtrel::covarianceMatrix(x.data(), n, p, both, hc.data(), widest);
        int l = 0;
        for (int i = 1; i <= p; ++i) {
          for (int j = 1; j <= i; ++j, ++l) {
            voxtrel::dcplx s(0, 0);
            for (int k = p + 1; k <= n; ++k) s += std::conj(X(k - j)) * X(k - i);
            if (both)
              for (int k = 1; k <= n - p; ++k) s += X(k + j) * std::conj(X(k + i));
            ASSERT_EQ(hc[static_cast<std::size_t>(l)], s)
                << "both " << both << " p " << p << " widest " << widest << " l " << l;
          }
        }
      }
    }
  }
}
