#pragma once

#include <cstdint>
#include <vector>

#include "render/cell.h"
#include "render/line_tracing.h"
#include "scene/scene.h"

namespace kalvenor {

// Keys of the vertices a terrain cell makes, apart by kind: display nodes, crossings of a
// boundary on a cell edge (the same in both cells beside the edge), points inside one cell.
constexpr std::uint64_t kCrossingKeys = std::uint64_t{1} << 61;
constexpr std::uint64_t kInsideKeys = std::uint64_t{2} << 61;

// One cell of the display grid, corners 1..4 walked from node (i, j) as the renderers walk them.
struct TerrainCell {
  Corners<ScenePoint> corner;
  Corners<std::uint64_t> cornerKey;
  std::array<std::uint64_t, 5> edgeKey{};  // edge e runs from corner e to corner e + 1
  Corners<std::int32_t> unit{};
  std::vector<Corners<double>> w;  // 1..Nbd: the height of the ground above boundary k
  std::uint64_t cellKey = 0;
  bool contact = false;  // not all four corners in one unit: the cell is cut along its contacts
};

struct TerrainVertex {
  std::uint64_t key = 0;
  ScenePoint p{};
};

// A convex part of a cell in one unit, its corners in the cell's walking order.
struct TerrainPart {
  std::vector<TerrainVertex> corners;
  std::int32_t unit = 0;
};

// A piece of contact line the pictures trace through a cell: boundary k from a to b, both
// crossings of k on the cell's edges, which the neighbouring cells key alike.
struct TerrainContact {
  int boundary = 0;
  TerrainVertex a, b;
};

// A cell cut along its contacts: the parts, and the contact lines they were cut along.
struct TerrainSplit {
  std::vector<TerrainPart> parts;
  std::vector<TerrainContact> contacts;
};

// Cuts the cell along the straight segments the smooth map pictures cut it along, each part in
// the unit the pictures fill it with. Every crossing of a boundary on the cell's edges is a
// corner of the parts beside it, whether this cell is cut there or not, so that the parts of
// neighbouring cells share their vertices along the edge.
TerrainSplit splitTerrainCell(const TerrainCell& cell, const ClassifyAt& classify, double zEps);

}  // namespace kalvenor
