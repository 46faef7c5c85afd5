#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "model/display_surface.h"
#include "model/file_stamp.h"
#include "model/grid_surface.h"

namespace kalvenor {

// Refuses a boundary grid without a value (a raster's NODATA) at a node that evaluating it over
// the display area reads: every point the builds and the renderers evaluate lies within the
// display rectangle, and each is interpolated from the corners of the grid cell around it
// (clamped at the grid's edges). Nodes without a value elsewhere are never read and do no harm;
// where one is read, the units around it would be decided by a made-up elevation. Throws
// ReadError naming the file, how many of the nodes read have none, where the first lies (in file
// order: column by column from the west, each from the south) and what to do, which for a grid
// warped from degrees is to cover the display area.
void requireValuesUnder(const std::string& path, const GridSurface& grid,
                        const GridHeader& display);

// The grid of one boundary, read and checked as every boundary is: against the display surface
// (requireValuesUnder) when one is loaded.
GridSurface readBoundaryGrid(const std::string& path, const GridReading& reading,
                             const DisplaySurface& display = {});

// A boundary's grid as it was read when its file was picked, kept for the next grid build,
// which takes it instead of reading the file again while the file and the reading stay the same.
struct EarlierRead {
  std::string path;  // empty: nothing kept
  std::string srs;   // of the reading
  FileStamp stamp;   // of the file, taken before it was read
  GridSurface grid;
  // The grid is lent to a build that has not ended yet (see KeptUntilBuilt).
  bool lent = false;
};

// Reads a boundary's grid as readBoundaryGrid does, to keep for the next build; the path stays
// empty when the file's stamp cannot be taken.
EarlierRead readBoundaryToKeep(const std::string& path, const GridReading& reading,
                               const DisplaySurface& display = {});

// Calls readSlot(k) once for every k in 1..Nbd, in any order and on any thread; readSlot does
// not throw.
using ForEachBoundary = std::function<void(int Nbd, const std::function<void(int)>& readSlot)>;

// Reads the grid of every boundary 1..Nbd, each at its own size and without jitter, checks each
// against the display surface (requireValuesUnder) and puts the display surface into slot
// Nbd + 1 (asGridSurface: its elevations shared, not copied); slot 0 is unused. `boundaryFile`
// holds the paths in slots 1..Nbd. `forEach` may read the files side by side. A slot of `earlier`
// (when given) that holds the same path, read the same way from a file whose stamp has not changed
// since, lends its grid instead: the build holds it until a KeptUntilBuilt settles the loan. Throws
// ReadError when a boundary has no file or its file is bad, and then has lent nothing; of several,
// the lowest boundary's, as reading them in turn would.
std::vector<GridSurface> readBoundaryGrids(const std::vector<std::string>& boundaryFile, int Nbd,
                                           const std::shared_ptr<const DisplaySurface>& display,
                                           const GridReading& reading = {},
                                           const ForEachBoundary& forEach = {},
                                           std::vector<EarlierRead>* earlier = nullptr);

// Settles the grids a build borrowed from the reads kept for it (readBoundaryGrids): a build
// that fails changes nothing, so unless built() is called the lent grids go back to `earlier`
// from `grids` when this goes, kept for the next build; after built() the kept reads are used
// up. Moves only, so no grid is copied either way.
class KeptUntilBuilt {
 public:
  KeptUntilBuilt(std::vector<GridSurface>& grids, std::vector<EarlierRead>* earlier)
      : grids_(grids), earlier_(earlier) {}
  ~KeptUntilBuilt();
  KeptUntilBuilt(const KeptUntilBuilt&) = delete;
  KeptUntilBuilt& operator=(const KeptUntilBuilt&) = delete;

  void built() { built_ = true; }

 private:
  std::vector<GridSurface>& grids_;
  std::vector<EarlierRead>* earlier_;
  bool built_ = false;
};

}  // namespace kalvenor
