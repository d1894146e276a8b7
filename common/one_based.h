#pragma once
// Arrays whose indices are data (unit numbers, layer IDs, vertex positions,
// field numbers) are indexed from 1, as the stored files and messages count.
// Bounds are checked in the sanitizer build.
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <type_traits>

namespace quenzel {

namespace detail {
[[noreturn]] inline void oneBasedOutOfRange(long long i, std::size_t n) {
  std::fprintf(stderr, "one-based index %lld outside 1..%zu\n", i, n);
  std::abort();
}
}  // namespace detail

template <class T>
class OneBasedView {
 public:
  OneBasedView() = default;
  OneBasedView(T* data, std::size_t n) : data_(data), n_(n) {}
  // A view of T is also a read-only view of const T.
  template <class U>
    requires std::is_same_v<const U, T> && (!std::is_same_v<U, T>)
  OneBasedView(const OneBasedView<U>& o) : data_(o.data()), n_(o.size()) {}
  T& operator()(long long i) const {
#ifdef QUENZEL_BOUNDS_CHECK
    if (i < 1 || static_cast<std::size_t>(i) > n_) detail::oneBasedOutOfRange(i, n_);
#endif
    return data_[i - 1];
  }
  T& operator[](long long i) const { return (*this)(i); }
  std::size_t size() const { return n_; }
  T* data() const { return data_; }

 private:
  T* data_ = nullptr;
  std::size_t n_ = 0;
};

// A caller's two-dimensional array of rows x cols, stored column after column
// (the row index runs fastest), seen as (j, i) with both indices from 1. An
// extent below 1 gives an empty view.
template <class T>
class OneBasedView2D {
 public:
  OneBasedView2D() = default;
  OneBasedView2D(T* data, long long rows, long long cols)
      : data_(data), rows_(rows > 0 ? static_cast<std::size_t>(rows) : 0),
        cols_(cols > 0 ? static_cast<std::size_t>(cols) : 0) {}
  template <class U>
    requires std::is_same_v<const U, T> && (!std::is_same_v<U, T>)
  OneBasedView2D(const OneBasedView2D<U>& o) : data_(o.data()), rows_(o.rows()), cols_(o.cols()) {}
  T& operator()(long long j, long long i) const {
#ifdef QUENZEL_BOUNDS_CHECK
    if (j < 1 || static_cast<std::size_t>(j) > rows_) detail::oneBasedOutOfRange(j, rows_);
    if (i < 1 || static_cast<std::size_t>(i) > cols_) detail::oneBasedOutOfRange(i, cols_);
#endif
    return data_[static_cast<std::size_t>(j - 1) + static_cast<std::size_t>(i - 1) * rows_];
  }
  std::size_t rows() const { return rows_; }
  std::size_t cols() const { return cols_; }
  T* data() const { return data_; }

 private:
  T* data_ = nullptr;
  std::size_t rows_ = 0;
  std::size_t cols_ = 0;
};

// Owns its elements (no std::vector<bool> proxy: a flag table hands out
// real references like any other table).
template <class T>
class OneBased {
 public:
  OneBased() = default;
  explicit OneBased(std::size_t n, const T& v = T()) { assign(n, v); }
  OneBased(const OneBased& o) { copyFrom(o); }
  OneBased& operator=(const OneBased& o) {
    if (this != &o) copyFrom(o);
    return *this;
  }
  OneBased(OneBased&&) noexcept = default;
  OneBased& operator=(OneBased&&) noexcept = default;

  T& operator()(long long i) { return data_[check(i)]; }
  const T& operator()(long long i) const { return data_[check(i)]; }
  T& operator[](long long i) { return (*this)(i); }
  const T& operator[](long long i) const { return (*this)(i); }
  std::size_t size() const { return n_; }
  void assign(std::size_t n, const T& v) {
    data_ = std::make_unique<T[]>(n);
    n_ = n;
    for (std::size_t k = 0; k < n; ++k) data_[k] = v;
  }
  void fill(const T& v) {
    for (std::size_t k = 0; k < n_; ++k) data_[k] = v;
  }
  T* data() { return data_.get(); }
  const T* data() const { return data_.get(); }
  OneBasedView<T> view() { return OneBasedView<T>(data_.get(), n_); }
  OneBasedView<const T> view() const { return OneBasedView<const T>(data_.get(), n_); }
  T* begin() { return data_.get(); }
  T* end() { return data_.get() + n_; }
  const T* begin() const { return data_.get(); }
  const T* end() const { return data_.get() + n_; }

 private:
  void copyFrom(const OneBased& o) {
    data_ = std::make_unique<T[]>(o.n_);
    n_ = o.n_;
    for (std::size_t k = 0; k < n_; ++k) data_[k] = o.data_[k];
  }
  std::size_t check(long long i) const {
#ifdef QUENZEL_BOUNDS_CHECK
    if (i < 1 || static_cast<std::size_t>(i) > n_) detail::oneBasedOutOfRange(i, n_);
#endif
    return static_cast<std::size_t>(i - 1);
  }
  std::unique_ptr<T[]> data_;
  std::size_t n_ = 0;
};

}  // namespace quenzel
