#pragma once

#include <optional>
#include <vector>

#include "render/annotation_layout.h"
#include "render/projection.h"

namespace kalvenor {

// A view fitted to its canvas: the magnification, and the whole pixels the picture is moved by
// in place of a pan.
struct ViewFit {
  double Sca = 0;
  double ShiftX = 0;
  double ShiftY = 0;
};

// The fit of the projection's view that makes the model points span the canvas less the margins
// as far as its shape allows and sit in the middle of it; nothing when no point can be projected
// or the points cover no area.
std::optional<ViewFit> fitView(const Projection& projection, const std::vector<ModelPoint>& points,
                               const Margins& margins, double width, double height);

// The shift that puts the model points in the middle of the canvas less the margins at the
// projection's own magnification, which stays; nothing when no point can be projected.
std::optional<ViewFit> centreView(const Projection& projection,
                                  const std::vector<ModelPoint>& points, const Margins& margins,
                                  double width, double height);

}  // namespace kalvenor
