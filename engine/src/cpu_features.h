// What the processor offers beyond the build's baseline, asked once at run time, so that a
// routine can run a wider-vector variant of the very same arithmetic.
#pragma once

namespace voxtrel {

// True when the processor and the operating system support AVX (256-bit vectors).
bool cpuHasAvx();

}  // namespace voxtrel
