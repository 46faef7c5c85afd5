#include "scene/terrain_patches.h"

#include <map>
#include <memory>
#include <utility>

#include "evaluation/classification.h"
#include "scene/display_nodes.h"
#include "scene/merged_triangles.h"
#include "scene/mesh_builder.h"
#include "scene/part_style.h"
#include "scene/terrain_cell.h"

namespace kalvenor {
namespace {

// Edge keys: twice the key of the edge's lower node, plus one for an edge along y.
std::uint64_t edgeKey(const DisplaySurface& d, int i, int j, bool alongY) {
  return 2 * nodeKey(d, i, j) + (alongY ? 1 : 0);
}

// The height of the ground above each boundary at the kept nodes of one row: [k][c].
using RowGaps = std::vector<std::vector<double>>;

// A cell by its corner nodes and its kept column c.
struct CellPlace {
  int i = 0, j = 0, i2 = 0, j2 = 0;
  std::size_t c = 0;
};

class TerrainBuilder {
 public:
  TerrainBuilder(const BlockSceneInputs& in, const NodeElevations& e)
      : in_(in),
        d_(in.display),
        Nbd_(e.boundaries()),
        elevations_(e),
        classify_([&in](double x, double y, double z) {
          return classifyPoint(in.model, in.boundaryGrids, x, y, z);
        }) {}

  RowGaps gapsOfRow(const std::vector<int>& columns, const std::vector<int>& rows,
                    std::size_t r) const;
  std::int32_t addCell(const CellPlace& at, const RowGaps& low, const RowGaps& high);
  void addMerged(const std::vector<int>& columns, const std::vector<int>& rows,
                 const MergeGrid& grid);
  std::vector<ScenePart> parts();

 private:
  int unitAt(int i, int j) const {
    return in_.mapGrid.mapUnit.contains(i, j) ? in_.mapGrid.mapUnit(i, j) : 0;
  }
  MeshBuilder& builderOf(std::int32_t unit);
  bool crossed(const TerrainCell& cell) const;

  const BlockSceneInputs& in_;
  const DisplaySurface& d_;
  int Nbd_;
  const NodeElevations& elevations_;
  ClassifyAt classify_;
  std::map<std::int32_t, ScenePart> parts_;
  std::map<std::int32_t, std::unique_ptr<MeshBuilder>> builders_;
};

RowGaps TerrainBuilder::gapsOfRow(const std::vector<int>& columns, const std::vector<int>& rows,
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
bool TerrainBuilder::crossed(const TerrainCell& cell) const {
  for (int k = 1; k <= Nbd_; ++k) {
    const auto& w = cell.w[k];
    for (int e = 1; e <= 4; ++e) {
      const double a = w[e] == 0 ? d_.zEps : w[e], b = w[e + 1] == 0 ? d_.zEps : w[e + 1];
      if (a * b <= 0) return true;
    }
  }
  return false;
}

MeshBuilder& TerrainBuilder::builderOf(std::int32_t unit) {
  auto& builder = builders_[unit];
  if (!builder) {
    ScenePart& part = parts_[unit];
    part.kind = ScenePartKind::Terrain;
    part.unit = unit;
    builder = std::make_unique<MeshBuilder>(part.mesh);
  }
  return *builder;
}

// A cell that no boundary crosses is left to be merged with its neighbours of the same unit
// (the unit is returned); any other is cut here.
std::int32_t TerrainBuilder::addCell(const CellPlace& at, const RowGaps& low, const RowGaps& high) {
  const auto [i, j, i2, j2, c] = at;
  if (openCell(d_, {i, j}, {i2, j2})) return kEmptyCell;
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
  if (!cell.contact && !crossed(cell)) return cell.unit[1];
  cell.edgeKey = {0, edgeKey(d_, i, j, false), edgeKey(d_, i2, j, true), edgeKey(d_, i, j2, false),
                  edgeKey(d_, i, j, true)};
  cell.cellKey = nodeKey(d_, i, j);
  for (const TerrainPart& part : splitTerrainCell(cell, classify_, d_.zEps)) {
    MeshBuilder& mesh = builderOf(part.unit);
    std::vector<std::uint32_t> corners;
    for (const TerrainVertex& v : part.corners) corners.push_back(mesh.vertex(v.key, v.p));
    mesh.polygon(std::move(corners), {0, 0, 1}, FlatAxis::Z);
  }
  return kOwnCell;
}

// The uncut cells, merged into larger triangles unit by unit.
void TerrainBuilder::addMerged(const std::vector<int>& columns, const std::vector<int>& rows,
                               const MergeGrid& grid) {
  mergedTriangles(grid, kMergeTolerance, [&](const std::array<GridNode, 3>& t, std::int32_t unit) {
    MeshBuilder& mesh = builderOf(unit);
    std::array<std::uint32_t, 3> v{};
    for (std::size_t n = 0; n < 3; ++n) {
      const int i = columns[t[n][0]], j = rows[t[n][1]];
      v[n] = mesh.vertex(nodeKey(d_, i, j), surfaceNode(d_, i, j));
    }
    mesh.triangle(v[0], v[1], v[2], {0, 0, 1});
  });
}

std::vector<ScenePart> TerrainBuilder::parts() { return styledUnitParts(parts_, in_); }

}  // namespace

std::vector<ScenePart> terrainPatches(const BlockSceneInputs& in, const std::vector<int>& columns,
                                      const std::vector<int>& rows, const NodeElevations& e) {
  TerrainBuilder builder(in, e);
  if (rows.empty() || columns.empty()) return {};
  MergeGrid grid{columns.size(), rows.size(), {}, {}};
  for (const int j : rows) {
    for (const int i : columns) grid.z.push_back(in.display.dispZ(i, j));
  }
  RowGaps low = builder.gapsOfRow(columns, rows, 0);
  for (std::size_t r = 0; r + 1 < rows.size(); ++r) {
    RowGaps high = builder.gapsOfRow(columns, rows, r + 1);
    for (std::size_t c = 0; c + 1 < columns.size(); ++c) {
      grid.cellRegion.push_back(
          builder.addCell({columns[c], rows[r], columns[c + 1], rows[r + 1], c}, low, high));
    }
    low = std::move(high);
  }
  builder.addMerged(columns, rows, grid);
  return builder.parts();
}

}  // namespace kalvenor
