#pragma once

#include <cassert>
#include <cstddef>
#include <vector>

namespace kalvenor {

// A 2-D array with explicit inclusive index ranges, so code can index from 1 (or 0) as the
// algorithms do. The first index varies slowest.
template <typename T>
class Array2D {
 public:
  Array2D() = default;
  Array2D(int iFirst, int iLast, int jFirst, int jLast, T initial = T())
      : iFirst_(iFirst),
        iLast_(iLast),
        jFirst_(jFirst),
        jLast_(jLast),
        data_(count(iFirst, iLast) * count(jFirst, jLast), initial) {}

  T& operator()(int i, int j) { return data_[offset(i, j)]; }
  const T& operator()(int i, int j) const { return data_[offset(i, j)]; }

  int iFirst() const { return iFirst_; }
  int iLast() const { return iLast_; }
  int jFirst() const { return jFirst_; }
  int jLast() const { return jLast_; }
  bool empty() const { return data_.empty(); }
  bool contains(int i, int j) const {
    return i >= iFirst_ && i <= iLast_ && j >= jFirst_ && j <= jLast_;
  }

  friend bool operator==(const Array2D&, const Array2D&) = default;

 private:
  static std::size_t count(int first, int last) {
    return last >= first ? static_cast<std::size_t>(last - first + 1) : 0;
  }
  std::size_t offset(int i, int j) const {
    assert(contains(i, j));
    return static_cast<std::size_t>(i - iFirst_) * count(jFirst_, jLast_) +
           static_cast<std::size_t>(j - jFirst_);
  }

  int iFirst_ = 0;
  int iLast_ = -1;
  int jFirst_ = 0;
  int jLast_ = -1;
  std::vector<T> data_;
};

}  // namespace kalvenor
