// The butterfly stages of the radix-2 decimation-in-time FFT, on data already in bit-reversed
// order: stage le = 2, 4, .., N = 2^nexp pairs element k of each group of le with element
// k + le/2 through factor w = table[le/2 + k] (FftTwiddles). Each butterfly forms
// t = w b as re = wr br - wi bi, im = wr bi + wi br, then b = a - t and a = a + t, in single
// precision; every variant below does exactly these operations, so all give the same floats.
#pragma once

#include <complex>

namespace voxtrel {

// The stages, with whichever variant the processor runs fastest. y holds the N complex values
// as interleaved (re, im) reals.
template <class Real>
void fftStages(Real* y, int nexp, const std::complex<Real>* table);

// One butterfly at a time, on any processor, in either precision.
template <class Real>
void fftStagesPortable(Real* y, int nexp, const std::complex<Real>* table);

// Four butterflies (two in double precision) at a time in AVX registers. Only where
// cpuHasAvx() holds.
void fftStagesAvx(float* y, int nexp, const std::complex<float>* table);
void fftStagesAvx(double* y, int nexp, const std::complex<double>* table);

}  // namespace voxtrel
