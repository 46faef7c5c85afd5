#include "scene/block_base.h"

#include <map>
#include <memory>

#include "evaluation/classification.h"
#include "scene/display_nodes.h"
#include "scene/mesh_builder.h"
#include "scene/part_style.h"

namespace kalvenor {
namespace {

// The unit at the base under each kept node, a row at a time.
std::vector<std::int32_t> baseUnits(const BlockSceneInputs& in, const std::vector<int>& columns,
                                    int j) {
  std::vector<std::int32_t> units;
  for (const int i : columns) {
    double z = in.Zbase;
    const bool known = static_cast<int>(in.boundaryGrids.size()) >= in.model.Nbd + 1;
    units.push_back(known ? classifyPoint(in.model, in.boundaryGrids, in.display.nodeX[i],
                                          in.display.nodeY[j], z)
                                .unitStrict
                          : 0);
  }
  return units;
}

}  // namespace

std::vector<ScenePart> blockBase(const BlockSceneInputs& in, const std::vector<int>& columns,
                                 const std::vector<int>& rows) {
  const DisplaySurface& d = in.display;
  std::map<std::int32_t, ScenePart> parts;
  std::map<std::int32_t, std::unique_ptr<MeshBuilder>> builders;
  const auto corner = [&](MeshBuilder& mesh, int i, int j) {
    return mesh.vertex(nodeKey(d, i, j), {d.nodeX[i], d.nodeY[j], in.Zbase});
  };
  for (std::size_t r = 0; r + 1 < rows.size(); ++r) {
    const int j = rows[r], j2 = rows[r + 1];
    const std::vector<std::int32_t> units = baseUnits(in, columns, j);
    for (std::size_t c = 0; c + 1 < columns.size();) {
      if (openCell(d, {columns[c], j}, {columns[c + 1], j2})) {
        ++c;
        continue;
      }
      // The run of cells of one unit from column c.
      std::size_t end = c + 1;
      while (end + 1 < columns.size() && units[end] == units[c] &&
             !openCell(d, {columns[end], j}, {columns[end + 1], j2})) {
        ++end;
      }
      auto& builder = builders[units[c]];
      if (!builder) {
        parts[units[c]].kind = ScenePartKind::Base;
        builder = std::make_unique<MeshBuilder>(parts[units[c]].mesh);
      }
      const int i = columns[c], i2 = columns[end];
      builder->quad({corner(*builder, i, j), corner(*builder, i2, j), corner(*builder, i2, j2),
                     corner(*builder, i, j2)},
                    {0, 0, -1}, FlatAxis::Z);
      c = end;
    }
  }
  std::vector<ScenePart> result;
  for (auto& [unit, part] : parts) {
    styleAsUnit(part, in, unit);
    result.push_back(std::move(part));
  }
  return result;
}

}  // namespace kalvenor
