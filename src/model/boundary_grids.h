#pragma once

#include <functional>
#include <string>
#include <vector>

#include "model/display_surface.h"
#include "model/file_stamp.h"
#include "model/grid_surface.h"

namespace kalvenor {

// Refuses a boundary grid with nodes that have no value (a raster's NODATA): a boundary must
// give an elevation everywhere, or the units around the gap would be decided by a made-up one.
// Throws ReadError naming the file, how many nodes have none, where the first lies (in file
// order: column by column from the west, each from the south) and how to fill them.
void requireEveryNode(const std::string& path, const GridSurface& grid);

// The grid of one boundary, read and checked as every boundary is.
GridSurface readBoundaryGrid(const std::string& path, const GridReading& reading);

// A boundary's grid as it was read when its file was picked, kept for the next grid build,
// which takes it instead of reading the file again while the file and the reading stay the same.
struct EarlierRead {
  std::string path;  // empty: nothing kept
  std::string srs;   // of the reading
  FileStamp stamp;   // of the file, taken before it was read
  GridSurface grid;
};

// Reads a boundary's grid as readBoundaryGrid does, to keep for the next build; the path stays
// empty when the file's stamp cannot be taken.
EarlierRead readBoundaryToKeep(const std::string& path, const GridReading& reading);

// Calls readSlot(k) once for every k in 1..Nbd, in any order and on any thread; readSlot does
// not throw.
using ForEachBoundary = std::function<void(int Nbd, const std::function<void(int)>& readSlot)>;

// Reads the grid of every boundary 1..Nbd, each at its own size and without jitter, and puts a
// copy of the display surface into slot Nbd + 1; slot 0 is unused. `boundaryFile` holds the
// paths in slots 1..Nbd. `forEach` may read the files side by side. A slot of `earlier` (when
// given) that holds the same path, read the same way from a file whose stamp has not changed
// since, gives its grid instead and is emptied. Throws ReadError when a boundary has no file or
// its file is bad; of several, the lowest boundary's, as reading them in turn would.
std::vector<GridSurface> readBoundaryGrids(const std::vector<std::string>& boundaryFile, int Nbd,
                                           const DisplaySurface& display,
                                           const GridReading& reading = {},
                                           const ForEachBoundary& forEach = {},
                                           std::vector<EarlierRead>* earlier = nullptr);

}  // namespace kalvenor
