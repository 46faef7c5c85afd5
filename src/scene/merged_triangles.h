#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

namespace kalvenor {

// What becomes of a cell of a height field being merged into larger triangles: a region number
// (0 or more: cells of one number merge), nothing, or triangles the caller makes itself.
constexpr std::int32_t kEmptyCell = -1;
constexpr std::int32_t kOwnCell = -2;

// A height field over `columns` x `rows` nodes, row by row, and the region of each of its
// (columns - 1) x (rows - 1) cells.
struct MergeGrid {
  std::size_t columns = 0, rows = 0;
  std::vector<double> z;                 // z[r * columns + c]
  std::vector<std::int32_t> cellRegion;  // cellRegion[r * (columns - 1) + c]
};

// A node of the grid by its column and row.
using GridNode = std::array<std::size_t, 2>;

// Covers every cell of a region with right triangles over the grid's nodes, as large as the
// heights allow: a triangle is halved where the middle node of its long side, or of a smaller
// triangle inside it, lies more than `tolerance` off the straight line between the side's ends.
// Tiles of at most 1024 cells are merged each on its own; their edges and the grid's keep every
// node, so that tiles and walls meet them. The triangles meet edge to edge among themselves and
// with the cells left to the caller, so that nothing cracks where sizes change.
void mergedTriangles(const MergeGrid& grid, double tolerance,
                     const std::function<void(const std::array<GridNode, 3>&, std::int32_t)>& emit);

}  // namespace kalvenor
