#include "memory_counter.h"

#include <atomic>
#include <cstdlib>
#include <malloc.h>
#include <new>

namespace {

std::atomic<std::size_t> current{0};
std::atomic<std::size_t> peak{0};

void* counted(std::size_t n) {
  void* p = std::malloc(n ? n : 1);
  if (!p) throw std::bad_alloc();
  const std::size_t now = current += malloc_usable_size(p);
  std::size_t old = peak.load();
  while (now > old && !peak.compare_exchange_weak(old, now)) {
  }
  return p;
}

void release(void* p) {
  if (!p) return;
  current -= malloc_usable_size(p);
  std::free(p);
}

}  // namespace

void* operator new(std::size_t n) { return counted(n); }
void* operator new[](std::size_t n) { return counted(n); }
void operator delete(void* p) noexcept { release(p); }
void operator delete[](void* p) noexcept { release(p); }
void operator delete(void* p, std::size_t) noexcept { release(p); }
void operator delete[](void* p, std::size_t) noexcept { release(p); }

namespace bench {

void resetPeak() { peak = current.load(); }
std::size_t peakBytes() { return peak.load() - 0; }

}  // namespace bench
