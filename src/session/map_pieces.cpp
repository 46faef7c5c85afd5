#include "session/map_pieces.h"

#include <optional>

#include "render/block_base.h"
#include "render/fence_panels.h"
#include "render/map_renderer.h"
#include "render/side_walls.h"

namespace kalvenor {
namespace {

void runAsStep(const WallStep& step, const std::function<void()>& draw) {
  if (step) {
    step(draw);
  } else {
    draw();
  }
}

}  // namespace

void drawMapPieces(Canvas& canvas, const Projection& projection, const MapPieces& m,
                   const RenderContext& context, const WallStep& wallStep,
                   const WallStep& fenceStep) {
  // Panels go on the geological map only: the contour map and the grid lines drawn over it keep
  // them, and keep the cut so as not to cover them.
  const bool fence = m.fence && !m.fence->empty();
  const bool panels = fence && m.style.options.DrawMode == DrawingMode::GeologicalMap;
  std::optional<FenceCut> cut;
  if (fence && m.fenceCut) cut.emplace(projection, *m.fence, m.display, context);
  const SidePicture sides{m.display, m.grid,  m.wallProfiles,
                          m.walls,   m.style, cut ? &*cut : nullptr};
  const auto drawWalls = [&](const Projection& p) {
    runAsStep(wallStep, [&] { drawSideMaps(canvas, p, sides, context); });
  };
  const auto drawPanels = [&](const Projection& p) {
    const FencePicture picture{*m.fence, m.display.zEps, m.style};
    runAsStep(fenceStep, [&] { drawFence(canvas, p, picture, context); });
  };
  const MapPicture picture{
      .display = m.display,
      .base = blockBase(m.Zbase),
      .drawUnit = m.units,
      .contours = m.contours,
      .style = m.style,
      .contourLines = m.contourLines,
      .sideWalls = m.mapOptions.sideWalls,
      .frame = m.mapOptions.frame,
      .frameFourSides = m.mapOptions.frameFourSides,
      .drawSideMaps = drawWalls,
      .drawFence = panels ? drawPanels : std::function<void(const Projection&)>{},
      .fenceCut = cut ? &*cut : nullptr,
      .values = m.values,
      .ramp = m.values ? rampOver(*m.values) : ValueRamp{}};
  drawGeoMap(canvas, projection, picture, context);
}

}  // namespace kalvenor
