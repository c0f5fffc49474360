// Vectors for sums taken side by side: each lane holds one entry's own running sum, so a vector
// instruction does for several entries exactly what the scalar code does for one. The same
// templates are compiled for the baseline (16-byte vectors) and, in functions built for AVX,
// for 32-byte vectors; no product is fused with a sum in either.
#pragma once

#include <cstring>
#include <type_traits>
#include <utility>

namespace voxtrel {

typedef float Lanes4 __attribute__((vector_size(16)));
typedef float Lanes8 __attribute__((vector_size(32)));
typedef double DoubleLanes2 __attribute__((vector_size(16)));
typedef double DoubleLanes4 __attribute__((vector_size(32)));

template <class V>
using LaneType = std::remove_cv_t<std::remove_reference_t<decltype(std::declval<V&>()[0])>>;

template <class V>
inline constexpr int kLaneCount = static_cast<int>(sizeof(V) / sizeof(LaneType<V>));

// Vectors are passed by reference: one passed by value would tie the code to one ABI.
template <class V>
[[gnu::always_inline]] inline void splat(V& v, LaneType<V> x) {
  LaneType<V> lanes[kLaneCount<V>];
  for (auto& lane : lanes) lane = x;
  std::memcpy(&v, lanes, sizeof(V));
}

template <class V>
[[gnu::always_inline]] inline void loadLanes(V& v, const LaneType<V>* p) {
  std::memcpy(&v, p, sizeof(V));
}

// s += l b for complex l (lanes) and b (the same in every lane), with the complex multiply's
// own products: re = lr br - li bi, im = lr bi + li br.
template <class V>
[[gnu::always_inline]] inline void addProduct(V& sr, V& si, const V& lr, const V& li, const V& br,
                                              const V& bi) {
  sr += lr * br - li * bi;
  si += lr * bi + li * br;
}

}  // namespace voxtrel
