#include "model/display_surface.h"

#include <cmath>

#include "model/message_text.h"
#include "model/number_text.h"
#include "model/parallel_for.h"

namespace kalvenor {

// A 24-bit linear congruential generator: cheap, exactly reproducible, uniform enough for
// offsets of a millionth.
namespace {
constexpr std::uint32_t kMultiplier = 1140671485u;
constexpr std::uint32_t kIncrement = 12820163u;
constexpr std::uint32_t kStateMask = 0xFFFFFFu;
}  // namespace

float LoadJitter::next() {
  state_ = (state_ * kMultiplier + kIncrement) & kStateMask;
  return static_cast<float>(state_) / 16777216.0f;
}

// Composes the step with itself, doubling its length at each bit of `draws`; 32-bit products wrap
// modulo a multiple of the 24-bit state, so the mask at the end gives the same state.
LoadJitter LoadJitter::after(std::uint64_t draws) const {
  std::uint32_t multiplier = 1, increment = 0;
  std::uint32_t stepMultiplier = kMultiplier, stepIncrement = kIncrement;
  for (; draws != 0; draws >>= 1) {
    if (draws & 1u) {
      multiplier *= stepMultiplier;
      increment = increment * stepMultiplier + stepIncrement;
    }
    stepIncrement *= stepMultiplier + 1;
    stepMultiplier *= stepMultiplier;
  }
  LoadJitter later;
  later.state_ = (state_ * multiplier + increment) & kStateMask;
  return later;
}

namespace {

// The grid's header and elevations, column i's elevations less what lower(i, z) takes off them.
template <typename Lower>
DisplaySurface displayOf(const GridSurface& grid, int threads, const Lower& lower) {
  DisplaySurface display;
  display.header() = grid.header();
  display.missing = grid.missing;
  display.srs = grid.srs;
  display.note = grid.note;
  display.dispZ = Array2D<double>(0, grid.Nx + 1, 0, grid.Ny + 1);
  parallelFor(1, grid.Nx, [&](int i) { lower(i, display.dispZ); },
              {.threads = threads, .chunk = 16});
  setupDisplayGrid(display);
  return display;
}

}  // namespace

// The draws are taken in file order, column by column; each column starts from the generator as
// the columns before it leave it, so the columns can be lowered side by side.
DisplaySurface makeDisplaySurface(const GridSurface& grid, LoadJitter& jitter,
                                  const RenderContext& context) {
  const LoadJitter start = jitter;
  DisplaySurface display = displayOf(grid, context.threads, [&](int i, Array2D<double>& dispZ) {
    LoadJitter column = start.after(static_cast<std::uint64_t>(i - 1) * grid.Ny);
    for (int j = 1; j <= grid.Ny; ++j) {
      dispZ(i, j) = grid.z(i, j) - static_cast<double>(column.next()) * 1e-6;
    }
  });
  jitter = start.after(static_cast<std::uint64_t>(grid.Nx) * grid.Ny);
  return display;
}

DisplaySurface exactDisplaySurface(const GridSurface& grid) {
  return displayOf(grid, 1, [&](int i, Array2D<double>& dispZ) {
    for (int j = 1; j <= grid.Ny; ++j) dispZ(i, j) = grid.z(i, j);
  });
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
