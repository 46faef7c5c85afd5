#include "session/map_pieces.h"

#include "render/block_base.h"
#include "render/map_renderer.h"
#include "render/side_maps.h"

namespace kalvenor {

void drawMapPieces(Canvas& canvas, const Projection& projection, const MapPieces& m,
                   const RenderContext& context, const WallStep& wallStep) {
  const SidePicture sides{m.display,       m.grid,      m.wallProfiles,  m.walls,  m.model,
                          m.boundaryGrids, m.unitColor, m.boundaryColor, m.options};
  const auto drawWalls = [&](const Projection& p) {
    const auto draw = [&] { drawSideMaps(canvas, p, sides, context); };
    if (wallStep) {
      wallStep(draw);
    } else {
      draw();
    }
  };
  const MapPicture picture{m.display,
                           blockBase(m.Zbase),
                           m.model,
                           m.boundaryGrids,
                           m.unitColor,
                           m.boundaryColor,
                           m.units,
                           m.contours,
                           m.options,
                           m.contourLines,
                           m.mapOptions.sideWalls,
                           m.mapOptions.frame,
                           m.mapOptions.frameFourSides,
                           drawWalls};
  drawGeoMap(canvas, projection, picture, context);
}

}  // namespace kalvenor
