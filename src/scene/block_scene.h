#pragma once

#include <vector>

#include "evaluation/map_grid.h"
#include "model/display_surface.h"
#include "model/grid_surface.h"
#include "model/logical_model.h"
#include "model/packed_color.h"
#include "scene/scene.h"

namespace kalvenor {

// What the block's scene is made from: the results of the last map build and the colours.
struct BlockSceneInputs {
  const LogicalModel& model;
  const DisplaySurface& display;
  const MapGrid& mapGrid;                         // built with its walls
  const std::vector<GridSurface>& boundaryGrids;  // slots 1..Nbd, as the build left them
  const std::vector<PackedColor>& unitColor;      // element 0: no unit
  const std::vector<PackedColor>& boundaryColor;  // element 0 unused
  double Zbase = 0.0;
  int decimate = 1;  // every N-th display node, the edges kept
  int threads = 1;   // as the caller's RenderContext gives
};

// How far, in metres, the terrain and the boundary surfaces may stray from a node that merging
// cells into larger triangles leaves out: far below what a picture or a model can show.
constexpr double kMergeTolerance = 0.01;

// The block as triangles in model coordinates: the terrain split along the contacts into one
// part per unit (NODATA left open), the walls as unit bands from the surface edge down to the
// base, the base, and each boundary surface where it is a contact inside the block. `origin` is
// the block's south-west corner at the base.
Scene buildBlockScene(const BlockSceneInputs& in);

}  // namespace kalvenor
