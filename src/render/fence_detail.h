#pragma once

#include <optional>
#include <vector>

#include "evaluation/fence_build.h"
#include "model/grid_surface.h"
#include "render/projection.h"

namespace kalvenor {

// How many of a panel's columns and levels make one cell of its picture: every `columns`-th
// column (and its last) and every `levels`-th level are drawn.
struct PanelStride {
  int columns = 1;
  int levels = 1;
  bool operator==(const PanelStride&) const = default;
};

// The strides that keep a panel's cells no smaller than a pixel across and high where it shows
// largest: a block of the picture seen from afar holds panels of thousands of columns and levels
// on a few hundred pixels, and cells finer than a pixel add nothing to it.
PanelStride panelStride(const FencePanel& panel, const Projection& projection);

// The panel with only the columns and levels of `stride`: the units of the nodes kept, the
// ground under them, and the boundaries' profile along them from `grids` (Nbd of them, none when
// the grids do not match the model). Nothing when the stride keeps every node.
std::optional<FencePanel> panelInDetail(const FencePanel& panel, PanelStride stride,
                                        const std::vector<GridSurface>& grids, int Nbd);

}  // namespace kalvenor
