#include "scene/terrain_cells.h"

#include "evaluation/classification.h"
#include "scene/merged_triangles.h"

namespace kalvenor {
namespace {

// Edge keys: twice the key of the edge's lower node, plus one for an edge along y.
std::uint64_t edgeKey(const DisplaySurface& d, int i, int j, bool alongY) {
  return 2 * nodeKey(d, i, j) + (alongY ? 1 : 0);
}

}  // namespace

TerrainCells::TerrainCells(const BlockSceneInputs& in, const NodeElevations& e)
    : in_(in),
      d_(in.display),
      Nbd_(e.boundaries()),
      elevations_(e),
      classify_([&in](double x, double y, double z) {
        return classifyPoint(in.model, in.boundaryGrids, x, y, z);
      }) {}

RowGaps TerrainCells::gapsOfRow(const std::vector<int>& columns, const std::vector<int>& rows,
                                std::size_t r) const {
  RowGaps gaps(Nbd_ + 1);
  for (int k = 1; k <= Nbd_; ++k) {
    for (std::size_t c = 0; c < columns.size(); ++c) {
      gaps[k].push_back(d_.dispZ(columns[c], rows[r]) - elevations_.at(c, r, k));
    }
  }
  return gaps;
}

// True when some boundary changes sign along an edge of the cell, so it has crossings.
bool TerrainCells::crossed(const TerrainCell& cell) const {
  for (int k = 1; k <= Nbd_; ++k) {
    const auto& w = cell.w[k];
    for (int e = 1; e <= 4; ++e) {
      const double a = w[e] == 0 ? d_.zEps : w[e], b = w[e + 1] == 0 ? d_.zEps : w[e + 1];
      if (a * b <= 0) return true;
    }
  }
  return false;
}

CutCell TerrainCells::cell(const CellPlace& at, const RowGaps& low, const RowGaps& high) const {
  const auto [i, j, i2, j2, c] = at;
  if (openCell(d_, {i, j}, {i2, j2})) return {kEmptyCell, {}};
  const CellNodes nodes = cellNodes(i, j, i2, j2);
  TerrainCell cell;
  for (int n = 1; n <= 4; ++n) {
    cell.corner[n] = surfaceNode(d_, nodes.i[n], nodes.j[n]);
    cell.cornerKey[n] = nodeKey(d_, nodes.i[n], nodes.j[n]);
    cell.unit[n] = unitAt(nodes.i[n], nodes.j[n]);
  }
  closeCorners(cell.corner);
  closeCorners(cell.cornerKey);
  closeCorners(cell.unit);
  cell.contact = !oneUnit(nodes, [this](int ni, int nj) { return unitAt(ni, nj); });
  cell.w.assign(Nbd_ + 1, {});
  for (int k = 1; k <= Nbd_; ++k) {
    cell.w[k] = {0, low[k][c], low[k][c + 1], high[k][c + 1], high[k][c], low[k][c]};
  }
  if (!cell.contact && !crossed(cell)) return {cell.unit[1], {}};
  cell.edgeKey = {0, edgeKey(d_, i, j, false), edgeKey(d_, i2, j, true), edgeKey(d_, i, j2, false),
                  edgeKey(d_, i, j, true)};
  cell.cellKey = nodeKey(d_, i, j);
  return {kOwnCell, splitTerrainCell(cell, classify_, d_.zEps)};
}

}  // namespace kalvenor
