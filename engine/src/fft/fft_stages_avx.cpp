// The FFT's butterfly stages four butterflies at a time in AVX registers, chosen at run time
// on processors that have AVX (compiled for AVX only here, without FMA, so that no product is
// fused with a sum).
//
// Complex values stay interleaved, four to a register. With b = (br, bi) pairs and the factors
// w = (wr, wi) pairs, wr and wi are spread over both halves of each pair, b's halves are
// swapped, and addsub subtracts in the real and adds in the imaginary positions:
//   (wr br, wr bi) -+ (wi bi, wi br) = (wr br - wi bi, wr bi + wi br),
// the butterfly's own products, difference and sum. Stages 2, 4 and 8 are done together on
// each block of 8 values, rearranged between stages in registers; from stage 16 on, the four
// butterflies of a register are k .. k + 3 of one group. In double precision a register holds
// two complex values: stage 2 runs one butterfly at a time, from stage 4 on the two
// butterflies of a register are k, k + 1 of one group.
#include "fft_stages.h"

#if defined(__x86_64__) || defined(__i386__)

#include <immintrin.h>

#define VOXTREL_AVX __attribute__((target("avx")))

namespace voxtrel {

namespace {

// Four butterflies: a and b hold elements k .. k + 3 of the two halves, w their factors.
VOXTREL_AVX inline void butterflies(__m256& a, __m256& b, __m256 w) {
  const __m256 wr = _mm256_moveldup_ps(w), wi = _mm256_movehdup_ps(w);
  const __m256 swapped = _mm256_permute_ps(b, 0xB1);  // (bi, br) pairs
  const __m256 t = _mm256_addsub_ps(_mm256_mul_ps(wr, b), _mm256_mul_ps(wi, swapped));
  b = _mm256_sub_ps(a, t);
  a = _mm256_add_ps(a, t);
}

// Stages 2, 4 and 8 on blocks of 8 values x0 .. x7 (N >= 8).
VOXTREL_AVX void firstThreeStages(float* y, int n, const std::complex<float>* table) {
  const float* w = reinterpret_cast<const float*>(table);
  // Stage 2: one factor, table[1]. Stage 4: table[2], table[3], for both halves of the
  // register. Stage 8: table[4 .. 7].
  const __m256 w2 = _mm256_setr_ps(w[2], w[3], w[2], w[3], w[2], w[3], w[2], w[3]);
  const __m128 w4half = _mm_loadu_ps(w + 4);
  const __m256 w4 = _mm256_set_m128(w4half, w4half);
  const __m256 w8 = _mm256_loadu_ps(w + 8);
  for (int i = 0; i < n; i += 8) {
    float* p = y + 2 * i;
    __m256 lo = _mm256_loadu_ps(p), hi = _mm256_loadu_ps(p + 8);
    // Stage 2 pairs (x0, x1), (x4, x5) | (x2, x3), (x6, x7).
    __m256 a = _mm256_shuffle_ps(lo, hi, 0x44);  // x0 x4 | x2 x6
    __m256 b = _mm256_shuffle_ps(lo, hi, 0xEE);  // x1 x5 | x3 x7
    butterflies(a, b, w2);
    // Stage 4 pairs (x0, x2), (x1, x3) | (x4, x6), (x5, x7).
    const __m256 p0123 = _mm256_shuffle_ps(a, b, 0x44);  // x0 x1 | x2 x3
    const __m256 p4567 = _mm256_shuffle_ps(a, b, 0xEE);  // x4 x5 | x6 x7
    a = _mm256_permute2f128_ps(p0123, p4567, 0x20);      // x0 x1 | x4 x5
    b = _mm256_permute2f128_ps(p0123, p4567, 0x31);      // x2 x3 | x6 x7
    butterflies(a, b, w4);
    // Stage 8 pairs (xk, xk+4), k = 0 .. 3.
    lo = _mm256_permute2f128_ps(a, b, 0x20);  // x0 x1 | x2 x3
    hi = _mm256_permute2f128_ps(a, b, 0x31);  // x4 x5 | x6 x7
    butterflies(lo, hi, w8);
    _mm256_storeu_ps(p, lo);
    _mm256_storeu_ps(p + 8, hi);
  }
}

// Stage le >= 16: in each group, butterflies k .. k + 3 at a time.
VOXTREL_AVX void stage(float* y, int n, int le, const std::complex<float>* table) {
  const int half = le / 2;
  const float* w = reinterpret_cast<const float*>(table + half);
  for (int start = 0; start < n; start += le) {
    float* a = y + 2 * start;
    float* b = a + 2 * half;
    for (int k = 0; k < 2 * half; k += 8) {
      __m256 va = _mm256_loadu_ps(a + k), vb = _mm256_loadu_ps(b + k);
      butterflies(va, vb, _mm256_loadu_ps(w + k));
      _mm256_storeu_ps(a + k, va);
      _mm256_storeu_ps(b + k, vb);
    }
  }
}

// Two double-precision butterflies, as butterflies() does four in single precision.
VOXTREL_AVX inline void butterflies(__m256d& a, __m256d& b, __m256d w) {
  const __m256d wr = _mm256_movedup_pd(w), wi = _mm256_permute_pd(w, 0xF);
  const __m256d swapped = _mm256_permute_pd(b, 0x5);  // (bi, br) pairs
  const __m256d t = _mm256_addsub_pd(_mm256_mul_pd(wr, b), _mm256_mul_pd(wi, swapped));
  b = _mm256_sub_pd(a, t);
  a = _mm256_add_pd(a, t);
}

// Stage le >= 4 in double precision: in each group, butterflies k, k + 1 at a time.
VOXTREL_AVX void stage(double* y, int n, int le, const std::complex<double>* table) {
  const int half = le / 2;
  const double* w = reinterpret_cast<const double*>(table + half);
  for (int start = 0; start < n; start += le) {
    double* a = y + 2 * start;
    double* b = a + 2 * half;
    for (int k = 0; k < 2 * half; k += 4) {
      __m256d va = _mm256_loadu_pd(a + k), vb = _mm256_loadu_pd(b + k);
      butterflies(va, vb, _mm256_loadu_pd(w + k));
      _mm256_storeu_pd(a + k, va);
      _mm256_storeu_pd(b + k, vb);
    }
  }
}

}  // namespace

VOXTREL_AVX void fftStagesAvx(double* y, int nexp, const std::complex<double>* table) {
  if (nexp < 2) {
    fftStagesPortable(y, nexp, table);
    return;
  }
  const int n = 1 << nexp;
  // Stage 2: the pairs (x0, x1), (x2, x3), .. through the one factor table[1].
  const double wr = table[1].real(), wi = table[1].imag();
  for (int i = 0; i < 2 * n; i += 4) {
    const double br = y[i + 2], bi = y[i + 3];
    const double tr = wr * br - wi * bi, ti = wr * bi + wi * br;
    const double ar = y[i], ai = y[i + 1];
    y[i + 2] = ar - tr;
    y[i + 3] = ai - ti;
    y[i] = ar + tr;
    y[i + 1] = ai + ti;
  }
  for (int le = 4; le <= n; le *= 2) stage(y, n, le, table);
}

VOXTREL_AVX void fftStagesAvx(float* y, int nexp, const std::complex<float>* table) {
  if (nexp < 3) {
    fftStagesPortable(y, nexp, table);
    return;
  }
  const int n = 1 << nexp;
  firstThreeStages(y, n, table);
  for (int le = 16; le <= n; le *= 2) stage(y, n, le, table);
}

}  // namespace voxtrel

#else

namespace voxtrel {

void fftStagesAvx(float* y, int nexp, const std::complex<float>* table) {
  fftStagesPortable(y, nexp, table);
}

void fftStagesAvx(double* y, int nexp, const std::complex<double>* table) {
  fftStagesPortable(y, nexp, table);
}

}  // namespace voxtrel

#endif
