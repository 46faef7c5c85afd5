#pragma once

#include <array>
#include <optional>

#include "render/canvas.h"
#include "render/view_settings.h"

namespace kalvenor {

// Turns model points into canvas pixels for one picture: every point goes through
// exaggerateHeight and then projectPoint.
class Projection {
 public:
  // (Xc, Yc, Zc) is the view centre. Zbase is the typed base height, where the walls and the
  // section start: lower elevations are lifted to it, also in a block drawn without a base.
  Projection(const ViewSettings& view, double Xc, double Yc, double Zc, double Zbase);

  // Lifts an elevation below the base to the base, then exaggerates about Zc.
  double exaggerateHeight(double z) const;

  // The canvas position of a point whose z has passed exaggerateHeight. Nothing for a point at
  // or behind the eye in perspective, or one whose position leaves the 32-bit range: a
  // renderer skips whatever would use it.
  MaybePoint projectPoint(double x, double y, double z) const;

  // Where a point whose z has passed exaggerateHeight lies from the view centre, right and up in
  // model units before the canvas scale; nothing for a point at or behind the eye.
  std::optional<std::array<double, 2>> screenOffset(double x, double y, double z) const;

  // A model point all the way to the canvas: exaggerateHeight, then projectPoint.
  MaybePoint project(double x, double y, double z) const {
    return projectPoint(x, y, exaggerateHeight(z));
  }

  const ViewSettings& view() const { return view_; }

 private:
  const ViewSettings& view_;
  double Xc_, Yc_, Zc_, Zbase_;
};

}  // namespace kalvenor
