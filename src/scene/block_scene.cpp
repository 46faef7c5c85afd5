#include "scene/block_scene.h"

#include <algorithm>

#include "model/parallel_for.h"
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
  const NodeElevations elevations(in.boundaryGrids, d, in.model.Nbd, {columns, rows, in.threads});
  // The terrain, the walls with the base, and each boundary surface are built apart, on as many
  // threads as the caller gives, and joined in that order whatever the threads.
  std::vector<std::vector<ScenePart>> pieces(2 + static_cast<std::size_t>(elevations.boundaries()));
  parallelFor(0, static_cast<int>(pieces.size()) - 1,
              [&](int piece) {
                auto& parts = pieces[static_cast<std::size_t>(piece)];
                if (piece == 0) {
                  parts = terrainPatches(in, columns, rows, elevations);
                } else if (piece == 1) {
                  parts = wallBands(in, columns, rows);
                  append(parts, blockBase(in, columns, rows));
                } else {
                  parts = boundarySurface(in, columns, rows, elevations, piece - 1);
                }
              },
              {.threads = in.threads, .chunk = 1, .dynamic = true});
  for (std::vector<ScenePart>& parts : pieces) append(scene.parts, std::move(parts));
  return scene;
}

}  // namespace kalvenor
