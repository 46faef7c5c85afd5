#pragma once

#include <string>
#include <vector>

#include "model/display_surface.h"
#include "model/grid_surface.h"

namespace kalvenor {

// Reads the grid of every boundary 1..Nbd, each at its own size and without jitter, and puts a
// copy of the display surface into slot Nbd + 1; slot 0 is unused. `boundaryFile` holds the
// paths in slots 1..Nbd. Throws ReadError when a boundary has no file or its file is bad.
std::vector<GridSurface> readBoundaryGrids(const std::vector<std::string>& boundaryFile, int Nbd,
                                           const DisplaySurface& display);

}  // namespace kalvenor
