#include "scene/terrain_patches.h"

#include <map>
#include <memory>
#include <utility>

#include "evaluation/classification.h"
#include "scene/display_nodes.h"
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
  explicit TerrainBuilder(const BlockSceneInputs& in)
      : in_(in),
        d_(in.display),
        Nbd_(static_cast<int>(in.boundaryGrids.size()) >= in.model.Nbd + 1 ? in.model.Nbd : 0),
        boundaries_(in.boundaryGrids, in.display, Nbd_),
        classify_([&in](double x, double y, double z) {
          return classifyPoint(in.model, in.boundaryGrids, x, y, z);
        }) {}

  RowGaps gapsOfRow(const std::vector<int>& columns, int j) const;
  void addCell(const CellPlace& at, const RowGaps& low, const RowGaps& high);
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
  BoundaryAtNodes boundaries_;
  ClassifyAt classify_;
  std::map<std::int32_t, ScenePart> parts_;
  std::map<std::int32_t, std::unique_ptr<MeshBuilder>> builders_;
};

RowGaps TerrainBuilder::gapsOfRow(const std::vector<int>& columns, int j) const {
  RowGaps gaps(Nbd_ + 1);
  for (int k = 1; k <= Nbd_; ++k) {
    for (const int i : columns) gaps[k].push_back(d_.dispZ(i, j) - boundaries_.at(k, i, j));
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

// A cell that no boundary crosses is one quad; any other is cut.
void TerrainBuilder::addCell(const CellPlace& at, const RowGaps& low, const RowGaps& high) {
  const auto [i, j, i2, j2, c] = at;
  if (openCell(d_, {i, j}, {i2, j2})) return;
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
  if (!cell.contact && !crossed(cell)) {
    MeshBuilder& mesh = builderOf(cell.unit[1]);
    std::array<std::uint32_t, 4> corners{};
    for (int n = 1; n <= 4; ++n) corners[n - 1] = mesh.vertex(cell.cornerKey[n], cell.corner[n]);
    mesh.quad(corners, {0, 0, 1}, FlatAxis::Z);
    return;
  }
  cell.edgeKey = {0, edgeKey(d_, i, j, false), edgeKey(d_, i2, j, true), edgeKey(d_, i, j2, false),
                  edgeKey(d_, i, j, true)};
  cell.cellKey = nodeKey(d_, i, j);
  for (const TerrainPart& part : splitTerrainCell(cell, classify_, d_.zEps)) {
    MeshBuilder& mesh = builderOf(part.unit);
    std::vector<std::uint32_t> corners;
    for (const TerrainVertex& v : part.corners) corners.push_back(mesh.vertex(v.key, v.p));
    mesh.polygon(std::move(corners), {0, 0, 1}, FlatAxis::Z);
  }
}

std::vector<ScenePart> TerrainBuilder::parts() { return styledUnitParts(parts_, in_); }

}  // namespace

std::vector<ScenePart> terrainPatches(const BlockSceneInputs& in, const std::vector<int>& columns,
                                      const std::vector<int>& rows) {
  TerrainBuilder builder(in);
  if (rows.empty()) return {};
  RowGaps low = builder.gapsOfRow(columns, rows[0]);
  for (std::size_t r = 0; r + 1 < rows.size(); ++r) {
    RowGaps high = builder.gapsOfRow(columns, rows[r + 1]);
    for (std::size_t c = 0; c + 1 < columns.size(); ++c) {
      builder.addCell({columns[c], rows[r], columns[c + 1], rows[r + 1], c}, low, high);
    }
    low = std::move(high);
  }
  return builder.parts();
}

}  // namespace kalvenor
