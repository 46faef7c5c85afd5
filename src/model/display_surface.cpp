#include "model/display_surface.h"

#include <cmath>

#include "model/message_text.h"
#include "model/number_text.h"

namespace kalvenor {

// A 24-bit linear congruential generator: cheap, exactly reproducible, uniform enough for
// offsets of a millionth.
float LoadJitter::next() {
  state_ = (state_ * 1140671485u + 12820163u) & 0xFFFFFFu;
  return static_cast<float>(state_) / 16777216.0f;
}

namespace {

// The grid's header and elevations, each elevation less `offset()` taken in file order.
template <typename Offset>
DisplaySurface displayOf(const GridSurface& grid, const Offset& offset) {
  DisplaySurface display;
  display.header() = grid.header();
  display.missing = grid.missing;
  display.srs = grid.srs;
  display.note = grid.note;
  display.dispZ = Array2D<double>(0, grid.Nx + 1, 0, grid.Ny + 1);
  for (int i = 1; i <= grid.Nx; ++i) {
    for (int j = 1; j <= grid.Ny; ++j) display.dispZ(i, j) = grid.z(i, j) - offset();
  }
  setupDisplayGrid(display);
  return display;
}

}  // namespace

DisplaySurface makeDisplaySurface(const GridSurface& grid, LoadJitter& jitter) {
  return displayOf(grid, [&jitter] { return static_cast<double>(jitter.next()) * 1e-6; });
}

DisplaySurface exactDisplaySurface(const GridSurface& grid) {
  return displayOf(grid, [] { return 0.0; });
}

void setupDisplayGrid(DisplaySurface& d) {
  d.nodeX.assign(d.Nx + 2, 0.0);
  d.nodeY.assign(d.Ny + 2, 0.0);
  for (int i = 1; i <= d.Nx; ++i) d.nodeX[i] = d.x(i);
  for (int j = 1; j <= d.Ny; ++j) d.nodeY[j] = d.y(j);
  d.Xmax = d.xMax();
  d.Ymax = d.yMax();
  bool first = true;
  for (int i = 1; i <= d.Nx; ++i) {
    for (int j = 1; j <= d.Ny; ++j) {
      if (d.missing.at(i, j)) continue;
      const double z = d.dispZ(i, j);
      if (first || z < d.Zmin) d.Zmin = z;
      if (first || z > d.Zmax) d.Zmax = z;
      first = false;
    }
  }
  for (int i = 1; i <= d.Nx && d.missing.any(); ++i) {
    for (int j = 1; j <= d.Ny; ++j) {
      if (d.missing.at(i, j)) d.dispZ(i, j) = d.Zmin;
    }
  }
  d.Xc = (d.Xmax + d.Xmin) / 2;
  d.Yc = (d.Ymin + d.Ymax) / 2;
  d.Zc = (d.Zmin + d.Zmax) / 2;
  d.zEps = (d.Zmax - d.Zmin) * 1e-6;
}

double defaultZbase(double Zmin) { return std::floor(Zmin - 0.5); }

std::optional<std::string> baseProblem(double Zbase, const DisplaySurface& d) {
  if (Zbase < d.Zmax) return std::nullopt;
  return fill(translated("The base height ({1}) must lie below the highest display elevation "
                         "({2}); lower it in step (5-1)."),
              {numberText(Zbase), numberText(d.Zmax)});
}

GridSurface asGridSurface(const std::shared_ptr<const DisplaySurface>& display) {
  GridSurface grid;
  grid.header() = display->header();
  grid.missing = display->missing;
  grid.srs = display->srs;
  grid.z = Elevations(std::shared_ptr<const Array2D<double>>(display, &display->dispZ));
  return grid;
}

}  // namespace kalvenor
