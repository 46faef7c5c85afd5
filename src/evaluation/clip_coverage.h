#pragma once

#include <cstdint>
#include <vector>

#include "evaluation/plane_polygon.h"
#include "model/array2d.h"
#include "model/clip_area.h"
#include "model/grid_header.h"

namespace kalvenor {

// Where a display cell lies against a clip area: wholly outside, wholly inside, or crossed by
// its outline.
enum class CellCover : std::uint8_t { Outside, Inside, Edge };

// A clip area laid over the display grid. Its points are taken to the grid's index plane, where
// node (i, j) lies at (i - 1, j - 1) and cell (i, j) reaches from node (i, j) to node
// (i + 1, j + 1), so each cell is a unit square whatever the grid's spacing and direction.
class ClipCoverage {
 public:
  ClipCoverage(const ClipArea& area, const GridHeader& grid);

  CellCover cell(int i, int j) const { return static_cast<CellCover>(cells_(i, j)); }
  bool nodeInside(int i, int j) const { return nodes_(i, j) != 0; }

  // The area's part of edge cell (i, j), in the cell's own unit square (node (i, j) at 0, 0),
  // one polygon per ring, each as its ring runs in the index plane; `scratch` is work space.
  void cellPolygons(int i, int j, std::vector<PlanePolygon>& polygons, PlanePolygon& scratch) const;

  // +1 when the index plane keeps the map's sense of turning, -1 when it mirrors it (a grid
  // stored from east to west or north to south): signed areas there count the other way.
  double orientation() const { return orientation_; }

 private:
  void markEdges();
  void fillByParity();
  void cutStrips();

  GridHeader grid_;
  std::vector<PlanePolygon> rings_;                // in the index plane
  Array2D<std::uint8_t> cells_;                    // CellCover of cells (1..Nx-1, 1..Ny-1)
  Array2D<std::uint8_t> nodes_;                    // 1 for nodes inside
  std::vector<std::vector<PlanePolygon>> strips_;  // per cell column: the rings cut to it
  double orientation_ = 1.0;
};

}  // namespace kalvenor
