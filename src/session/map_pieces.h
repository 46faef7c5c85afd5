#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

#include "evaluation/boundary_profile.h"
#include "evaluation/fence_build.h"
#include "evaluation/map_grid.h"
#include "model/array2d.h"
#include "model/display_surface.h"
#include "model/render_context.h"
#include "render/canvas.h"
#include "render/contour_settings.h"
#include "render/draw_options.h"
#include "render/picture_style.h"
#include "render/projection.h"
#include "session/viewer_state.h"

namespace kalvenor {

// What a map picture is drawn from, wherever it is held: the session's state or a preview scene.
struct MapPieces {
  const DisplaySurface& display;
  const MapGrid& grid;  // the walls, slots 1..4
  const std::array<BoundaryProfile, 5>& wallProfiles;
  std::array<std::int16_t, 2> walls;   // facing the eye: x-parallel wall, y-parallel wall
  const Array2D<std::int16_t>& units;  // of every display node
  const ContourSettings& contours;
  PictureStyle style;
  MapOptions mapOptions;
  double Zbase = 0.0;
  bool contourLines = false;  // wanted and drawable
  // A fence diagram's panels, drawn on the geological map: under the terrain, or over it with
  // the block cut away in front of them.
  const std::vector<FencePanel>* fence = nullptr;
  bool fenceCut = false;
  const Array2D<double>* values = nullptr;  // a map of values (see MapPicture)
};

// Runs the drawing of the side walls or of the fence, which the session reports as steps of
// their own.
using WallStep = std::function<void(const std::function<void()>& drawWalls)>;

// The block diagram from its pieces (drawGeoMap), the side walls drawn through `wallStep` and
// the fence through `fenceStep` when they are given.
void drawMapPieces(Canvas& canvas, const Projection& projection, const MapPieces& pieces,
                   const RenderContext& context, const WallStep& wallStep = {},
                   const WallStep& fenceStep = {});

}  // namespace kalvenor
