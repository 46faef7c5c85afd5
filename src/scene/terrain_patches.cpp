#include "scene/terrain_patches.h"

#include <map>
#include <memory>

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

class TerrainBuilder {
 public:
  TerrainBuilder(const BlockSceneInputs& in)
      : in_(in),
        d_(in.display),
        Nbd_(static_cast<int>(in.boundaryGrids.size()) >= in.model.Nbd + 1 ? in.model.Nbd : 0),
        boundaries_(in.boundaryGrids, in.display, Nbd_),
        classify_([&in](double x, double y, double z) {
          return classifyPoint(in.model, in.boundaryGrids, x, y, z);
        }) {}

  void addCell(int i, int j, int i2, int j2);
  std::vector<ScenePart> parts();

 private:
  int unitAt(int i, int j) const {
    return in_.mapGrid.mapUnit.contains(i, j) ? in_.mapGrid.mapUnit(i, j) : 0;
  }
  MeshBuilder& builderOf(std::int32_t unit);

  const BlockSceneInputs& in_;
  const DisplaySurface& d_;
  int Nbd_;
  BoundaryAtNodes boundaries_;
  ClassifyAt classify_;
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

void TerrainBuilder::addCell(int i, int j, int i2, int j2) {
  if (d_.missing.touches(i, j, i2, j2)) return;
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
  cell.edgeKey = {0, edgeKey(d_, i, j, false), edgeKey(d_, i2, j, true), edgeKey(d_, i, j2, false),
                  edgeKey(d_, i, j, true)};
  cell.cellKey = nodeKey(d_, i, j);
  cell.contact = !oneUnit(nodes, [this](int ni, int nj) { return unitAt(ni, nj); });
  cell.w.assign(Nbd_ + 1, {});
  for (int k = 1; k <= Nbd_; ++k) {
    cell.w[k] = cornerValues(
        nodes, [&](int ni, int nj) { return d_.dispZ(ni, nj) - boundaries_.at(k, ni, nj); });
  }
  for (const TerrainPart& part : splitTerrainCell(cell, classify_, d_.zEps)) {
    MeshBuilder& mesh = builderOf(part.unit);
    std::vector<std::uint32_t> corners;
    for (const TerrainVertex& v : part.corners) corners.push_back(mesh.vertex(v.key, v.p));
    mesh.polygon(std::move(corners), {0, 0, 1}, FlatAxis::Z);
  }
}

std::vector<ScenePart> TerrainBuilder::parts() {
  std::vector<ScenePart> result;
  for (auto& [unit, part] : parts_) {
    if (part.mesh.triangles.empty()) continue;
    styleAsUnit(part, in_, unit);
    result.push_back(std::move(part));
  }
  return result;
}

}  // namespace

std::vector<ScenePart> terrainPatches(const BlockSceneInputs& in, const std::vector<int>& columns,
                                      const std::vector<int>& rows) {
  TerrainBuilder builder(in);
  for (std::size_t r = 0; r + 1 < rows.size(); ++r) {
    for (std::size_t c = 0; c + 1 < columns.size(); ++c) {
      builder.addCell(columns[c], rows[r], columns[c + 1], rows[r + 1]);
    }
  }
  return builder.parts();
}

}  // namespace kalvenor
