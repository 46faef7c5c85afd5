#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "evaluation/boundary_profile.h"
#include "evaluation/map_grid.h"
#include "model/display_surface.h"
#include "model/render_context.h"
#include "render/canvas.h"
#include "render/fence_cut.h"
#include "render/picture_style.h"
#include "render/projection.h"

namespace kalvenor {

// What the two visible side walls of the block are drawn from.
struct SidePicture {
  const DisplaySurface& display;
  const MapGrid& grid;                                 // wall slots 1..4
  const std::array<BoundaryProfile, 5>& wallProfiles;  // 1..4
  std::array<std::int16_t, 2> visibleWall;             // x-parallel wall, y-parallel wall
  PictureStyle style;
  const FenceCut* fenceCut = nullptr;  // with one, the pairs of columns in front of a fence go
};

// Paints the two walls facing the eye cell by cell in their units, each cell in the unit of
// its first node; a cell whose first node is air is left out, so the top is a staircase. In the
// contour-map mode the walls are plain white. With boundary lines on, every boundary is traced
// where it separates two units. Once the context is cancelled the next operation throws
// DrawingCancelled.
void drawSideMaps(Canvas& canvas, const Projection& projection, const SidePicture& picture,
                  const RenderContext& context = {});

}  // namespace kalvenor
