#pragma once

#include <cstdint>
#include <vector>

#include "scene/block_scene.h"
#include "scene/display_nodes.h"
#include "scene/terrain_cell.h"

namespace kalvenor {

// The height of the ground above each boundary at the kept nodes of one row: [k][c].
using RowGaps = std::vector<std::vector<double>>;

// A cell by its corner nodes and its kept column c.
struct CellPlace {
  int i = 0, j = 0, i2 = 0, j2 = 0;
  std::size_t c = 0;
};

// What becomes of one terrain cell: `unit` is the unit of a cell that no boundary crosses (its
// parts are then empty), kEmptyCell for a cell with a node without elevation, or kOwnCell for a
// cell cut into `parts` along the contacts traced through it.
struct CutCell {
  std::int32_t unit = 0;
  TerrainSplit split;
};

// The terrain's cells over the kept display nodes, each cut along the contacts as the smooth
// pictures cut it. Safe to ask from several threads at once.
class TerrainCells {
 public:
  TerrainCells(const BlockSceneInputs& in, const NodeElevations& e);

  RowGaps gapsOfRow(const std::vector<int>& columns, const std::vector<int>& rows,
                    std::size_t r) const;
  // The cell at `at`, between the gaps of its lower row and of its upper row.
  CutCell cell(const CellPlace& at, const RowGaps& low, const RowGaps& high) const;

 private:
  int unitAt(int i, int j) const {
    return in_.mapGrid.mapUnit.contains(i, j) ? in_.mapGrid.mapUnit(i, j) : 0;
  }
  bool crossed(const TerrainCell& cell) const;

  const BlockSceneInputs& in_;
  const DisplaySurface& d_;
  int Nbd_;
  const NodeElevations& elevations_;
  ClassifyAt classify_;
};

}  // namespace kalvenor
