#include <gtest/gtest.h>

#include <vector>

#include "estimators.h"
#include "reference.h"

using ref::dc;
using voxtrel::cplx;

namespace {

struct BurgFit {
  std::vector<cplx> a;
  float sig2 = 0;
  int iflag = 0;
  std::vector<cplx> reflections;
  std::vector<float> rho;
  std::vector<std::string> log;
};

BurgFit fit(const std::vector<cplx>& x, int p) {
  voxtrel::RunLog log;
  voxtrel::Run r(log);
  BurgFit out;
  out.a.assign(static_cast<std::size_t>(std::max(p, 1)), cplx(0, 0));
  voxtrel::burg(r, x.data(), static_cast<int>(x.size()), p, out.a.data(), out.sig2,
                static_cast<int>(x.size()));
  out.iflag = r.st.iflag;
  out.log = log.lines();
  if (out.iflag == 0) {
    for (int k = 1; k <= p; ++k) {
      out.reflections.push_back(r.w.aa()(k, k));
      out.rho.push_back(r.st.rho(k));
    }
  }
  return out;
}

}  // namespace

TEST(Burg, OrderOneFormula) {
  const std::vector<cplx> x{{1, 0}, {2, 1}, {0.5f, -1}, {-1, 0.25f}, {0.75f, 2}};
  const auto got = fit(x, 1);
  ASSERT_EQ(got.iflag, 0);
  dc num = 0;
  double den = 0, rho0 = 0;
  for (std::size_t i = 1; i < x.size(); ++i) {
    num += dc(x[i]) * std::conj(dc(x[i - 1]));
    den += std::norm(dc(x[i])) + std::norm(dc(x[i - 1]));
  }
  for (const cplx& v : x) rho0 += std::norm(dc(v)) / x.size();
  const dc a1 = -2.0 * num / den;
  EXPECT_NEAR(got.a[0].real(), a1.real(), 1e-6);
  EXPECT_NEAR(got.a[0].imag(), a1.imag(), 1e-6);
  EXPECT_NEAR(got.sig2, (1 - std::norm(a1)) * rho0, 1e-5);
}

TEST(Burg, AgreesWithAFilteringReferenceOnComplexData) {
  const auto x = ref::complexTone(200, -0.12, 0.7, 5);
  for (int p : {2, 5, 10}) {
    const auto got = fit(x, p);
    ASSERT_EQ(got.iflag, 0);
    double refSig2 = 0;
    const auto want = ref::burg(x, p, &refSig2);
    for (int j = 0; j < p; ++j) {
      EXPECT_NEAR(got.a[j].real(), want[j].real(), 1e-4 * (1 + std::abs(want[j]))) << p;
      EXPECT_NEAR(got.a[j].imag(), want[j].imag(), 1e-4 * (1 + std::abs(want[j]))) << p;
    }
    EXPECT_NEAR(got.sig2, refSig2, 1e-4 * refSig2) << p;
  }
}

TEST(Burg, ReflectionCoefficientsStayInTheUnitDiscAndPowerFalls) {
  const auto y = ref::Ar4{}.generate(400, 21);
  std::vector<cplx> x(y.begin(), y.end());
  const auto got = fit(x, 20);
  ASSERT_EQ(got.iflag, 0);
  for (const cplx& k : got.reflections) EXPECT_LE(std::abs(k), 1.0f);
  for (std::size_t k = 1; k < got.rho.size(); ++k) EXPECT_LE(got.rho[k], got.rho[k - 1]);
  EXPECT_GT(got.sig2, 0.0f);
  for (const cplx& c : got.a) EXPECT_EQ(c.imag(), 0.0f);  // real data, real coefficients
}

TEST(Burg, RecoversAKnownAr4) {
  const ref::Ar4 model;
  const auto y = model.generate(2048, 7);
  const auto got = fit(std::vector<cplx>(y.begin(), y.end()), 4);
  ASSERT_EQ(got.iflag, 0);
  const auto want = model.coefficients();
  for (int j = 0; j < 4; ++j) EXPECT_NEAR(got.a[j].real(), want[j], 0.05) << j;
  EXPECT_NEAR(got.sig2, 1.0f, 0.1f);
}

TEST(Burg, OrderZeroGivesTheDataPower) {
  const std::vector<cplx> x{{1, 0}, {2, 0}, {3, 0}};
  const auto got = fit(x, 0);
  EXPECT_EQ(got.iflag, 0);
  EXPECT_NEAR(got.sig2, 14.0f / 3, 1e-6);
}

TEST(Burg, DegenerateDataEndWithANamedCause) {
  const auto zeros = fit(std::vector<cplx>(50), 3);
  EXPECT_EQ(zeros.iflag, voxtrel::kIflagDegenerate);
  EXPECT_EQ(zeros.log.back(),
            " Burg recursion stopped at order 1: the forward and backward errors are zero.");

  const auto tooHigh = fit(std::vector<cplx>{{1, 0}, {2, 0}, {3, 0}}, 3);
  EXPECT_EQ(tooHigh.iflag, voxtrel::kIflagDegenerate);
  EXPECT_EQ(tooHigh.log.back(),
            " Burg: the order nPoles = 3 is not below the number of samples npts = 3; lower "
            "nPoles or use more data.");

  // A single complex exponential is predicted exactly by one coefficient.
  std::vector<cplx> tone(64);
  for (int t = 0; t < 64; ++t)
    tone[t] = cplx(t % 4 == 0   ? 1.f
                   : t % 4 == 2 ? -1.f
                                : 0.f,
                   t % 4 == 1   ? 1.f
                   : t % 4 == 3 ? -1.f
                                : 0.f);
  const auto exact = fit(tone, 3);
  EXPECT_EQ(exact.iflag, voxtrel::kIflagDegenerate);
  EXPECT_EQ(exact.log.back(),
            " Burg recursion stopped at order 1: the prediction-error power is zero (the data "
            "are perfectly predictable).");
}
