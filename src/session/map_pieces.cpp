#include "session/map_pieces.h"

#include "render/block_base.h"
#include "render/map_renderer.h"
#include "render/side_walls.h"

namespace kalvenor {

void drawMapPieces(Canvas& canvas, const Projection& projection, const MapPieces& m,
                   const RenderContext& context, const WallStep& wallStep) {
  const SidePicture sides{m.display, m.grid, m.wallProfiles, m.walls, m.style};
  const auto drawWalls = [&](const Projection& p) {
    const auto draw = [&] { drawSideMaps(canvas, p, sides, context); };
    if (wallStep) {
      wallStep(draw);
    } else {
      draw();
    }
  };
  const MapPicture picture{.display = m.display,
                           .base = blockBase(m.Zbase),
                           .drawUnit = m.units,
                           .contours = m.contours,
                           .style = m.style,
                           .contourLines = m.contourLines,
                           .sideWalls = m.mapOptions.sideWalls,
                           .frame = m.mapOptions.frame,
                           .frameFourSides = m.mapOptions.frameFourSides,
                           .drawSideMaps = drawWalls,
                           .values = m.values,
                           .ramp = m.values ? rampOver(*m.values) : ValueRamp{}};
  drawGeoMap(canvas, projection, picture, context);
}

}  // namespace kalvenor
