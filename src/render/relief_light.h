#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "model/display_surface.h"
#include "model/packed_color.h"
#include "model/render_context.h"
#include "render/cell.h"
#include "render/draw_options.h"

namespace kalvenor {

// Why the shading, when on, cannot light a picture (its light below the horizon or beyond the
// zenith, a strength outside 0..1), or nothing when it can.
std::optional<std::string> shadingProblem(const ReliefShading& shading);

// The light of a shaded relief at every node of the display surface, from 0 (turned away from
// it) to 1 (facing it), and the colours of the cells it lights.
class ReliefLight {
 public:
  // The slope at each node is Horn's 3x3 gradient of the heights times zFactor (the picture's
  // vertical exaggeration), and its light the cosine between the surface's normal and the
  // direction of the light, 0 where that is negative: `gdaldem hillshade -compute_edges` on a
  // raster of the nodes gives 1 + 254 x the light. Beyond the edges the heights run on in a
  // straight line (both ways at the corners, where gdaldem repeats the corner's column), and a
  // neighbour without a height takes the node's own. A grid of a million nodes or more is lit
  // on the context's threads.
  ReliefLight(const DisplaySurface& display, const ReliefShading& shading, double zFactor,
              const RenderContext& context = {});

  float atNode(int i, int j) const { return light_[at(i, j)]; }

  // The colour of a cell, darkened by the strength times the shade of the mean light of its
  // four corners: a cell is lit as a whole, whichever corner gives it its unit, so the shading
  // does not shift with the view's direction and the parts of a cell cut along a contact share
  // one light.
  PackedColor shade(PackedColor color, const CellNodes& cell) const;

 private:
  // Node (i, j) at (i - 1) Ny + j - 1: a column of the grid after another, as the heights lie.
  std::size_t at(int i, int j) const {
    return static_cast<std::size_t>(i - 1) * Ny_ + static_cast<std::size_t>(j - 1);
  }

  std::size_t Ny_;
  std::vector<float> light_;
  float strength_;  // within 0..1, so that no colour leaves its range
};

}  // namespace kalvenor
