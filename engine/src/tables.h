// One-based vectors and column-major matrices, so that the estimators read like their
// formulas: aa(j, k) is coefficient j of the order-k model, x(i) is sample i.
#pragma once

#include <cassert>
#include <algorithm>
#include <cstddef>
#include <vector>

#if defined(VOXTREL_CHECK_BOUNDS)
#define VOXTREL_BOUNDS(cond) assert(cond)
#else
#define VOXTREL_BOUNDS(cond) ((void)0)
#endif

namespace voxtrel {

template <class T>
class FVec {
 public:
  FVec() = default;
  explicit FVec(std::size_t n) : v_(n) {}

  T& operator()(std::ptrdiff_t i) {
    VOXTREL_BOUNDS(i >= 1 && static_cast<std::size_t>(i) <= v_.size());
    return v_[static_cast<std::size_t>(i - 1)];
  }
  const T& operator()(std::ptrdiff_t i) const {
    VOXTREL_BOUNDS(i >= 1 && static_cast<std::size_t>(i) <= v_.size());
    return v_[static_cast<std::size_t>(i - 1)];
  }
  std::size_t size() const { return v_.size(); }
  bool empty() const { return v_.empty(); }
  T* data() { return v_.data(); }  // element 1
  const T* data() const { return v_.data(); }
  void assign(std::size_t n, const T& value) { v_.assign(n, value); }
  // Allocates (zero-filled) on first use; later calls keep the contents.
  FVec& ready(std::size_t n) {
    if (v_.size() != n) v_.assign(n, T{});
    return *this;
  }
  void fill(const T& value) { std::fill(v_.begin(), v_.end(), value); }

 private:
  std::vector<T> v_;
};

template <class T>
class FMat {
 public:
  FMat() = default;
  FMat(std::size_t rows, std::size_t cols) : rows_(rows), cols_(cols), v_(rows * cols) {}

  T& operator()(std::ptrdiff_t i, std::ptrdiff_t j) {
    VOXTREL_BOUNDS(i >= 1 && static_cast<std::size_t>(i) <= rows_);
    VOXTREL_BOUNDS(j >= 1 && static_cast<std::size_t>(j) <= cols_);
    return v_[static_cast<std::size_t>(i - 1) + static_cast<std::size_t>(j - 1) * rows_];
  }
  const T& operator()(std::ptrdiff_t i, std::ptrdiff_t j) const {
    VOXTREL_BOUNDS(i >= 1 && static_cast<std::size_t>(i) <= rows_);
    VOXTREL_BOUNDS(j >= 1 && static_cast<std::size_t>(j) <= cols_);
    return v_[static_cast<std::size_t>(i - 1) + static_cast<std::size_t>(j - 1) * rows_];
  }
  std::size_t rows() const { return rows_; }
  std::size_t cols() const { return cols_; }
  // Allocates (zero-filled) on first use; later calls keep the contents.
  FMat& ready(std::size_t rows, std::size_t cols) {
    if (rows_ != rows || cols_ != cols) {
      rows_ = rows;
      cols_ = cols;
      v_.assign(rows * cols, T{});
    }
    return *this;
  }

 private:
  std::size_t rows_ = 0, cols_ = 0;
  std::vector<T> v_;
};

}  // namespace voxtrel
