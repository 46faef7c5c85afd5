#pragma once

#include <vector>

#include "render/annotation_layout.h"
#include "render/projection.h"
#include "render/view_settings.h"

namespace kalvenor {

struct ModelPoint {
  double x = 0;
  double y = 0;
  double z = 0;
};

// Sets the magnification and the shift of `view`, which `projection` reads, so that the model
// points span the canvas less the margins as far as its shape allows and sit in the middle of
// it. The view stays as it was when no point can be projected or the points cover no area.
void fitView(ViewSettings& view, const Projection& projection,
             const std::vector<ModelPoint>& points, const Margins& margins, double width,
             double height);

}  // namespace kalvenor
