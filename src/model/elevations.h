#pragma once

#include <memory>
#include <utility>

#include "model/array2d.h"

namespace kalvenor {

// The elevations of a grid's nodes, held as doubles or, where every one of them is a float (as
// the values of a 32-bit raster are), as floats in half the memory. Either way each reads back
// as the same double, so nothing computed from them changes. They may also be another object's
// doubles, shared instead of copied: the first write then makes them a copy of their own.
class Elevations {
 public:
  // One node's elevation, to read or to write: a value a float cannot hold turns the floats
  // into doubles first.
  class Node {
   public:
    Node(Elevations& owner, int i, int j) : owner_(owner), i_(i), j_(j) {}
    operator double() const { return std::as_const(owner_)(i_, j_); }
    Node& operator=(double value) {
      owner_.set(i_, j_, value);
      return *this;
    }
    Node& operator=(const Node& other) { return *this = static_cast<double>(other); }

   private:
    Elevations& owner_;
    int i_, j_;
  };

  Elevations() = default;
  Elevations(Array2D<double> values) : doubles_(std::move(values)) {}
  Elevations(Array2D<float> values) : floats_(std::move(values)), single_(true) {}
  // Reads `shared`, which stays as it is and alive as long as these do.
  explicit Elevations(std::shared_ptr<const Array2D<double>> shared) : shared_(std::move(shared)) {}

  double operator()(int i, int j) const { return single_ ? floats_(i, j) : doubles()(i, j); }
  Node operator()(int i, int j) { return Node(*this, i, j); }

  // Calls `use` with the array the values are held in, so that a loop over many of them reads
  // the array directly.
  template <typename Use>
  decltype(auto) visit(const Use& use) const {
    return single_ ? use(floats_) : use(doubles());
  }
  bool heldAsFloats() const { return single_; }
  // The index ranges, as the array's.
  int iFirst() const {
    return visit([](const auto& z) { return z.iFirst(); });
  }
  int iLast() const {
    return visit([](const auto& z) { return z.iLast(); });
  }
  int jFirst() const {
    return visit([](const auto& z) { return z.jFirst(); });
  }
  int jLast() const {
    return visit([](const auto& z) { return z.jLast(); });
  }

  friend bool operator==(const Elevations& a, const Elevations& b);

 private:
  void set(int i, int j, double value);
  const Array2D<double>& doubles() const { return shared_ ? *shared_ : doubles_; }

  Array2D<double> doubles_;
  std::shared_ptr<const Array2D<double>> shared_;
  Array2D<float> floats_;
  bool single_ = false;
};

}  // namespace kalvenor
