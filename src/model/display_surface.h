#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "model/array2d.h"
#include "model/grid_surface.h"
#include "model/missing_nodes.h"
#include "model/render_context.h"

namespace kalvenor {

// The display grid: the surface on which the model is shown, with its extent, node positions,
// view centre and tolerance. Arrays run from 0 to N + 1; the nodes are 1..Nx by 1..Ny.
struct DisplaySurface : GridHeader {
  double Xmax = 0.0;  // xMax() and yMax() as setupDisplayGrid found them
  double Ymax = 0.0;
  double Zmin = 0.0;
  double Zmax = 0.0;
  Array2D<double> dispZ;
  std::vector<double> nodeX;
  std::vector<double> nodeY;
  double Xc = 0.0;
  double Yc = 0.0;
  double Zc = 0.0;
  double zEps = 0.0;
  // Nodes without an elevation: no cell that touches one is drawn, and they have no unit.
  MissingNodes missing;
  std::string srs;  // the coordinate system as WKT; empty when unknown
  // The file names no system and `srs` is the one every boundary grid names.
  bool srsFromBoundaries = false;
  std::string note;  // what was done to the file's grid on reading, as GridSurface::note

  bool loaded() const { return !dispZ.empty(); }
};

// The uniform generator behind the load jitter: values in [0, 1) in single precision, always
// starting from the same state so every run lowers the same nodes by the same amounts.
class LoadJitter {
 public:
  float next();
  // The generator as it will be after `draws` more calls of next().
  LoadJitter after(std::uint64_t draws) const;

 private:
  std::uint32_t state_ = 0x50000;
};

// A display surface from a grid file: every elevation, in file order, is lowered by its own
// draw r x 1e-6 so that a node lying exactly on a boundary ends just below it.
// The columns are lowered on the context's threads, with the draws they would have had in turn.
DisplaySurface makeDisplaySurface(const GridSurface& grid, LoadJitter& jitter,
                                  const RenderContext& context = {});

// The same without the jitter: elevations exactly as the grid holds them.
DisplaySurface exactDisplaySurface(const GridSurface& grid);

// Derives node positions, extent, elevation range, view centre and zEps from the header values
// and dispZ. The range counts only nodes with an elevation; a node without one is given the
// lowest, so that every stored value stays within the range.
void setupDisplayGrid(DisplaySurface& display);

// The default base of the model block: the largest integer not above Zmin - 0.5.
double defaultZbase(double Zmin);

// Why a block with this base cannot stand on the display surface (a base at or above its highest
// elevation has no height, or turns upside down), or nothing when it can.
std::optional<std::string> baseProblem(double Zbase, const DisplaySurface& display);

// The display surface as a grid, so it can be evaluated like any boundary. Its elevations are
// the display surface's own, shared and not copied (their array also runs over the border
// nodes 0 and N + 1), and keep it alive.
GridSurface asGridSurface(const std::shared_ptr<const DisplaySurface>& display);

}  // namespace kalvenor
