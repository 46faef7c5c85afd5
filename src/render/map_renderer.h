#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "model/array2d.h"
#include "model/display_surface.h"
#include "model/render_context.h"
#include "render/block_base.h"
#include "render/canvas.h"
#include "render/contour_settings.h"
#include "render/fence_cut.h"
#include "render/picture_style.h"
#include "render/projection.h"
#include "render/value_ramp.h"

namespace kalvenor {

// Everything one block-diagram picture is drawn from, besides its projection.
struct MapPicture {
  const DisplaySurface& display;
  std::optional<double> base;  // from blockBase; without one no base rectangle or corner edges
  const Array2D<std::int16_t>& drawUnit;  // unit of every display node
  const ContourSettings& contours;
  PictureStyle style;
  bool contourLines = false;    // contour lines wanted and drawable
  bool sideWalls = false;       // side walls wanted with the geological map
  bool frame = false;           // grid frame lines
  bool frameFourSides = false;  // also on the two far sides
  // The side walls, drawn after the surface with the picture's projection.
  std::function<void(const Projection&)> drawSideMaps = {};
  // A fence's panels: drawn before the surface, which covers them, or with a cut after the walls.
  std::function<void(const Projection&)> drawFence = {};
  // With one, the surface's cells in front of the fence are left out (see FenceCut).
  const FenceCut* fenceCut = nullptr;
  // A map of values instead of units: every cell of the surface in the ramp's colour of its
  // corners' mean value (those that have one), the contours traced through the values, and no
  // side walls. None for a map of units.
  const Array2D<double>* values = nullptr;
  ValueRamp ramp = {};
};

// The walls facing the eye for a painter's order: the x-parallel wall first, then the
// y-parallel one (1 south, 2 west, 3 north, 4 east).
std::array<std::int16_t, 2> visibleWalls(const Projection& projection, int Nx, int Ny);

// The walls whose outer face the eye sees, as visibleWalls gives them; in perspective a wall is
// seen only from outside its plane, so an eye above the block's extent along one axis sees no
// wall parallel to that axis (0 in its slot).
std::array<std::int16_t, 2> facingWalls(const Projection& projection,
                                        const DisplaySurface& display);

// Draws the block diagram in the picture's DrawMode: geological map, contour map or grid lines.
// Cells are painted far to near in the painter's order of the projection's view, each in the
// colour of its corner first in that order; anything with a point that cannot be projected is
// skipped. With the style's shading on, the geological map's cells are lit by the slope of the
// surface, exaggerated as the view exaggerates it (ReliefLight), the light worked out once for
// the picture. The surface's rows are drawn on the context's threads, painted in order on the
// calling thread; once the context is cancelled the next operation throws DrawingCancelled.
void drawGeoMap(Canvas& canvas, const Projection& projection, const MapPicture& picture,
                const RenderContext& context = {});

// The colour of a unit, black for a unit the colour table does not hold.
PackedColor colorOf(const std::vector<PackedColor>& colors, int index);

}  // namespace kalvenor
