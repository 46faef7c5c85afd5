#pragma once

#include <vector>

#include "evaluation/model_columns.h"
#include "model/clip_area.h"
#include "model/render_context.h"

namespace kalvenor {

// What a unit amounts to between the ground and the base of the block.
struct UnitVolume {
  int unit = 0;                   // 1..Nbd + 1
  double volume = 0.0;            // cubic metres
  double outcropArea = 0.0;       // square metres of the map where it lies at the surface
  double presentArea = 0.0;       // square metres of the map where it has thickness
  double largestThickness = 0.0;  // at a display node, metres

  double meanThickness() const { return presentArea > 0 ? volume / presentArea : 0.0; }
};

// Every unit's volume and areas over the display cells whose four nodes have elevations, or over
// their part inside `clip` (in the display surface's coordinates; null for all of them), and its
// largest thickness at a display node there; integrated as CellIntegral says, cells side by side
// on the context's threads, with the same result on any number of them.
std::vector<UnitVolume> unitVolumes(const ModelColumns& columns, const ClipArea* clip,
                                    const RenderContext& context = {});

}  // namespace kalvenor
