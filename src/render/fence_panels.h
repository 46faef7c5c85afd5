#pragma once

#include <vector>

#include "evaluation/fence_build.h"
#include "model/render_context.h"
#include "render/canvas.h"
#include "render/picture_style.h"
#include "render/projection.h"

namespace kalvenor {

// What a fence diagram is drawn from besides the projection: its panels, the display surface's
// zEps and the map's style (its colours, lines and the grids the contacts are traced from).
struct FencePicture {
  const std::vector<FencePanel>& panels;
  double zEps = 0.0;
  PictureStyle style;
};

// A strip of a panel: the cells between its columns h and h + 1.
struct FenceStrip {
  int panel = 0;  // index into the panels
  int h = 0;
  bool operator==(const FenceStrip&) const = default;
};

// Every strip over known ground, the farthest from the eye first: in a parallel view by its
// middle's distance along the view's horizontal direction, in perspective by its middle's
// distance from the eye's place on the map. Strips as far as each other keep the order of their
// panels and columns.
std::vector<FenceStrip> stripsFarToNear(const Projection& projection,
                                        const std::vector<FencePanel>& panels);
std::vector<FenceStrip> stripsFarToNear(const Projection& projection,
                                        const std::vector<const FencePanel*>& panels);

// Draws every panel as a vertical grid standing on its line, strip by strip far to near, so that
// near panels cover far ones and crossing panels cross: each strip's cells in their units as a
// section's are, with its contacts and ground line drawn right after its fills. A panel whose
// cells would be finer than a pixel is drawn with fewer columns and levels (panelStride). Once
// the context is cancelled the next operation throws DrawingCancelled.
void drawFence(Canvas& canvas, const Projection& projection, const FencePicture& picture,
               const RenderContext& context = {});

}  // namespace kalvenor
