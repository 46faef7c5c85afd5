#pragma once

#include <vector>

#include "model/grid_surface.h"
#include "model/logical_model.h"
#include "model/packed_color.h"
#include "render/draw_options.h"

namespace kalvenor {

// What the map, its walls and the section are drawn with besides their own grids: the colours,
// the draw options, and the model and boundary grids the boundary lines are traced from.
struct PictureStyle {
  const LogicalModel& model;
  const std::vector<GridSurface>& boundaryGrids;  // of the last grid build
  const std::vector<PackedColor>& unitColor;
  const std::vector<PackedColor>& boundaryColor;
  DrawOptions options;
};

}  // namespace kalvenor
