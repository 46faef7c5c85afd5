#pragma once

#include <vector>

#include "model/boreholes.h"
#include "model/display_surface.h"
#include "model/packed_color.h"
#include "render/canvas.h"
#include "render/projection.h"

namespace kalvenor {

// What the holes seen through the block, or on the plan map, are drawn from.
struct BlockBoreholes {
  const BoreholeSet& boreholes;
  const DisplaySurface& display;
  double Zbase;  // the block's base: nothing is drawn below it
  const std::vector<PackedColor>& unitColor;
  PackedColor lineColor;  // of the unlogged stretches and the ids
  bool labels = false;    // the holes' ids beside their collars
};

// Every hole over the finished picture, as if the block were glass: its path as a line in the
// colours of the logged units (grey for a unit the model does not have, thin in the line colour
// where nothing is logged), solid where the hole lies on or above the display surface and dashed
// where below it, with its collar marked and, when asked, its id beside the mark. Where the
// surface has no elevation nothing hides the hole, so it is drawn solid there.
void drawBlockBoreholes(Canvas& canvas, const Projection& projection, const BlockBoreholes& in);

}  // namespace kalvenor
