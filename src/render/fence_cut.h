#pragma once

#include <cstdint>
#include <vector>

#include "evaluation/fence_build.h"
#include "model/array2d.h"
#include "model/display_surface.h"
#include "model/render_context.h"
#include "render/projection.h"

namespace kalvenor {

// The plan lines of a fence's panels, from each panel's first column through its bends to its
// last, and which points of the block lie in front of them as the eye sees them: those whose ray
// away from the eye, in plan, meets a panel's line. In a parallel view the rays run in the view's
// horizontal direction; in perspective from the eye's place on the map through the point. The
// display grid's nodes are looked at once, on the context's threads.
class FenceCut {
 public:
  FenceCut(const Projection& projection, const std::vector<FencePanel>& panels,
           const DisplaySurface& display, const RenderContext& context = {});

  // True for a point that would hide part of a panel.
  bool hides(double x, double y) const;
  // A cell, a frame line or a pair of wall columns between display nodes is left out when all of
  // its nodes hide a panel: one that reaches behind a panel's line or past its end stays, so that
  // the block is drawn up to the panels, which are drawn over it.
  bool hidesNode(int i, int j) const { return hidden_(i, j) != 0; }
  bool hidesCell(int i, int j, int i2, int j2) const {
    return hidesNode(i, j) && hidesNode(i2, j) && hidesNode(i, j2) && hidesNode(i2, j2);
  }

 private:
  struct Segment {
    double ax, ay, ex, ey;  // from (ax, ay) along (ex, ey)
  };
  struct Ray {
    double x, y, dx, dy;  // from (x, y) along (dx, dy)
  };
  static bool meets(const Segment& s, const Ray& ray);

  std::vector<Segment> segments_;
  bool parallel_;
  double awayX_, awayY_;          // parallel: the view's horizontal direction, away from the eye
  double eyeX_, eyeY_;            // perspective: the eye's place on the map
  Array2D<std::uint8_t> hidden_;  // of the display nodes
};

}  // namespace kalvenor
