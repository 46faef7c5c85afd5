#include "scene/terrain_patches.h"

#include <map>
#include <memory>
#include <utility>

#include "scene/display_nodes.h"
#include "scene/merged_triangles.h"
#include "scene/mesh_builder.h"
#include "scene/part_style.h"
#include "scene/terrain_cells.h"

namespace kalvenor {
namespace {

class TerrainBuilder {
 public:
  TerrainBuilder(const BlockSceneInputs& in, const NodeElevations& e)
      : in_(in), d_(in.display), cells_(in, e) {}

  const TerrainCells& cells() const { return cells_; }
  std::int32_t addCell(const CellPlace& at, const RowGaps& low, const RowGaps& high);
  void addMerged(const std::vector<int>& columns, const std::vector<int>& rows,
                 const MergeGrid& grid);
  std::vector<ScenePart> parts();

 private:
  MeshBuilder& builderOf(std::int32_t unit);

  const BlockSceneInputs& in_;
  const DisplaySurface& d_;
  TerrainCells cells_;
  std::map<std::int32_t, ScenePart> parts_;
  std::map<std::int32_t, std::unique_ptr<MeshBuilder>> builders_;
};

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
  CutCell cell = cells_.cell(at, low, high);
  for (TerrainPart& part : cell.split.parts) {
    MeshBuilder& mesh = builderOf(part.unit);
    std::vector<std::uint32_t> corners;
    for (const TerrainVertex& v : part.corners) corners.push_back(mesh.vertex(v.key, v.p));
    mesh.polygon(std::move(corners), {0, 0, 1}, FlatAxis::Z);
  }
  return cell.unit;
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
  RowGaps low = builder.cells().gapsOfRow(columns, rows, 0);
  for (std::size_t r = 0; r + 1 < rows.size(); ++r) {
    RowGaps high = builder.cells().gapsOfRow(columns, rows, r + 1);
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
