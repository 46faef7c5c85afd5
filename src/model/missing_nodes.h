#pragma once

#include <cstdint>

#include "model/array2d.h"

namespace kalvenor {

// The nodes of a grid that have no value, such as the NODATA nodes of a raster clipped to an
// outline; nodes are 1-based. Empty, the usual case, when every node has a value.
class MissingNodes {
 public:
  MissingNodes() = default;
  MissingNodes(int Nx, int Ny) : flags_(1, Nx, 1, Ny, 0) {}

  bool any() const { return count_ > 0; }
  std::int64_t count() const { return count_; }
  bool at(int i, int j) const { return count_ > 0 && flags_.contains(i, j) && flags_(i, j) != 0; }
  void set(int i, int j) {
    if (flags_(i, j) == 0) ++count_;
    flags_(i, j) = 1;
  }
  // True when any corner of the cell from node (i, j) to node (i2, j2) has no value.
  bool touches(int i, int j, int i2, int j2) const {
    return count_ > 0 && (at(i, j) || at(i2, j) || at(i2, j2) || at(i, j2));
  }

 private:
  Array2D<std::uint8_t> flags_;
  std::int64_t count_ = 0;
};

}  // namespace kalvenor
