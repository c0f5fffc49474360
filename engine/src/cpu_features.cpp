#include "cpu_features.h"

namespace voxtrel {

bool cpuHasAvx() {
#if defined(__x86_64__) || defined(__i386__)
  static const bool avx = __builtin_cpu_supports("avx");
  return avx;
#else
  return false;
#endif
}

}  // namespace voxtrel
