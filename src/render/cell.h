#pragma once

#include <array>
#include <optional>

#include "model/array2d.h"
#include "render/canvas.h"

namespace kalvenor {

// Values at the corners of one cell, indexed 1..5 as the cell is walked: 1 = node (i, j),
// 2 = (i2, j), 3 = (i2, j2), 4 = (i, j2), 5 = 1 again. Element 0 is unused.
template <typename T>
using Corners = std::array<T, 6>;

// Closes the walk: corner 5 repeats corner 1.
template <typename T>
void closeCorners(Corners<T>& corners) {
  corners[5] = corners[1];
}

// The grid nodes at the corners 1..4 of the cell from node (i, j) to node (i2, j2).
struct CellNodes {
  std::array<int, 5> i;
  std::array<int, 5> j;
};

inline CellNodes cellNodes(int i, int j, int i2, int j2) {
  return {{0, i, i2, i2, i}, {0, j, j, j2, j2}};
}

// The model positions of a cell's corners, where a trace looks up the units on either side.
struct ModelCorners {
  Corners<double> x;
  Corners<double> y;
  Corners<double> z;
};

// The canvas corners of a cell from the nodes' points, nodes(i, j) a MaybePoint; nothing when a
// corner could not be projected.
template <typename Nodes>
std::optional<Corners<CanvasPoint>> canvasCorners(Nodes&& nodes, const CellNodes& cell) {
  Corners<CanvasPoint> P;
  for (int n = 1; n <= 4; ++n) {
    const MaybePoint& point = nodes(cell.i[n], cell.j[n]);
    if (!point) return std::nullopt;
    P[n] = *point;
  }
  closeCorners(P);
  return P;
}

// True when the four corners of a cell carry the same unit, so no contact between two units
// crosses it.
template <typename UnitAt>
bool oneUnit(const CellNodes& cell, const UnitAt& unitAt) {
  const auto unit = unitAt(cell.i[1], cell.j[1]);
  for (int n = 2; n <= 4; ++n) {
    if (unitAt(cell.i[n], cell.j[n]) != unit) return false;
  }
  return true;
}

// Any per-node value at the corners of a cell.
template <typename ValueAt>
Corners<double> cornerValues(const CellNodes& cell, const ValueAt& valueAt) {
  Corners<double> values{};
  for (int n = 1; n <= 4; ++n) values[n] = valueAt(cell.i[n], cell.j[n]);
  closeCorners(values);
  return values;
}

}  // namespace kalvenor
