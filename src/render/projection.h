#pragma once

#include <array>
#include <optional>

#include "render/canvas.h"
#include "render/painters_order.h"
#include "render/view_canvas.h"
#include "render/view_settings.h"

namespace kalvenor {

// A point in model coordinates.
struct ModelPoint {
  double x = 0;
  double y = 0;
  double z = 0;
};

struct DisplaySurface;

// Turns model points into canvas pixels for one picture: every point goes through
// exaggerateHeight and then projectPoint. It is worked out from the view, the canvas and the
// block and holds what it works out, so a copy may go to another thread.
class Projection {
 public:
  // The view applied to the block of the display surface on the canvas: the axes, the eye, the
  // canvas scale and the painter's order. Zbase is the typed base height, where the walls and the
  // section start: lower elevations are lifted to it, also in a block drawn without a base.
  Projection(const ViewSettings& view, const ViewCanvas& canvas, const DisplaySurface& display,
             double Zbase);

  // Lifts an elevation below the base to the base, then exaggerates about Zc.
  double exaggerateHeight(double z) const;

  // The canvas position of a point whose z has passed exaggerateHeight. Nothing for a point at
  // or behind the eye in perspective, or one whose position leaves the 32-bit range: a
  // renderer skips whatever would use it.
  MaybePoint projectPoint(double x, double y, double z) const;

  // Where a point whose z has passed exaggerateHeight lies from the view centre, right and up in
  // model units before the canvas scale; nothing for a point at or behind the eye.
  std::optional<std::array<double, 2>> screenOffset(const ModelPoint& p) const;

  // A model point all the way to the canvas: exaggerateHeight, then projectPoint.
  MaybePoint project(double x, double y, double z) const {
    return projectPoint(x, y, exaggerateHeight(z));
  }

  // Where a canvas position lies right and up of the point the pan shows in the middle of the
  // canvas, in model units; only for a positive scale.
  std::array<double, 2> fromMiddle(std::array<double, 2> pixel) const;

  // The whole pixel the pan's point falls on before any shift: the middle of the canvas.
  std::array<double, 2> canvasMiddle() const { return {halfW_, halfH_}; }

  const ViewSettings& view() const { return view_; }
  bool parallel() const { return view_.Dist == kParallelDist; }
  // Canvas pixels per model unit, and what it would be at another magnification.
  double scale() const { return scale_; }
  double scaleAt(double Sca) const {
    return longerSide_ == 0 ? 0 : halfShorter_ / longerSide_ * Sca;
  }
  // The eye's place on the map.
  double Xeye() const { return Xeye_; }
  double Yeye() const { return Yeye_; }
  // The far-to-near order of the display grid's columns and rows.
  const PaintersOrder& orderX() const { return orderX_; }
  const PaintersOrder& orderY() const { return orderY_; }
  // The same projection over another grid of the same block, far to near in the given order.
  Projection withPaintersOrder(const PaintersOrder& x, const PaintersOrder& y) const;

 private:
  void chooseAxes();
  void choosePaintersOrder(const DisplaySurface& display);

  ViewSettings view_;
  ViewCanvas canvas_;
  double Xc_, Yc_, Zc_, Zbase_;
  double halfW_ = 0, halfH_ = 0;
  // At magnification 1 the longer side of the grid spans half the shorter canvas side.
  double halfShorter_ = 0, longerSide_ = 0;
  double scale_ = 0;
  // Screen-right, screen-up and toward-eye axes.
  double Rx_ = 0, Ry_ = 0, Ux_ = 0, Uy_ = 0, Uz_ = 0, Ex_ = 0, Ey_ = 0, Ez_ = 0;
  double Xeye_ = 0, Yeye_ = 0;
  PaintersOrder orderX_, orderY_;
};

}  // namespace kalvenor
