#include "scene/block_scene.h"

#include <algorithm>

#include "scene/block_base.h"
#include "scene/boundary_surfaces.h"
#include "scene/display_nodes.h"
#include "scene/part_style.h"
#include "scene/terrain_patches.h"
#include "scene/wall_bands.h"

namespace kalvenor {
namespace {

void append(std::vector<ScenePart>& parts, std::vector<ScenePart> more) {
  for (ScenePart& part : more) parts.push_back(std::move(part));
}

}  // namespace

Scene buildBlockScene(const BlockSceneInputs& in) {
  Scene scene;
  const DisplaySurface& d = in.display;
  scene.srs = d.srs;
  for (std::int32_t unit = 1; unit <= in.model.unitCount(); ++unit) {
    ScenePart named;
    styleAsUnit(named, in, unit);
    scene.units.push_back({unit, named.name, named.color});
  }
  if (!d.loaded()) return scene;
  scene.origin = {std::min(d.nodeX[1], d.nodeX[d.Nx]), std::min(d.nodeY[1], d.nodeY[d.Ny]),
                  in.Zbase};
  const std::vector<int> columns = keptNodes(d.Nx, in.decimate);
  const std::vector<int> rows = keptNodes(d.Ny, in.decimate);
  const NodeElevations elevations(in.boundaryGrids, d, in.model.Nbd, columns, rows);
  append(scene.parts, terrainPatches(in, columns, rows, elevations));
  append(scene.parts, wallBands(in, columns, rows));
  append(scene.parts, blockBase(in, columns, rows));
  append(scene.parts, boundarySurfaces(in, columns, rows, elevations));
  return scene;
}

}  // namespace kalvenor
