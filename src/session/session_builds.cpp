#include <algorithm>

#include "evaluation/polyline_section.h"
#include "model/input_names.h"
#include "model/line_features.h"
#include "model/message_text.h"
#include "model/number_text.h"
#include "model/step_failure.h"
#include "session/session.h"

namespace kalvenor {
namespace {

std::string gridSize(int nI, int nJ) { return std::to_string(nI) + " x " + std::to_string(nJ); }

struct Extent {
  double x0, x1, y0, y1;
};

Extent extentOf(double xmin, double xmax, double ymin, double ymax) {
  return {std::min(xmin, xmax), std::max(xmin, xmax), std::min(ymin, ymax), std::max(ymin, ymax)};
}

std::string describe(const Extent& e) {
  return fill(translated("x {1} to {2}, y {3} to {4}"),
              {numberText(e.x0), numberText(e.x1), numberText(e.y0), numberText(e.y1)});
}

}  // namespace

BuildInputs Session::buildInputs() {
  return {state_.model, state_.boundaryFile, state_.display, state_.Zbase,
          state_.srs,   &boundaryRead_,      context_};
}

// A boundary grid that does not reach over the whole display grid is extrapolated beyond its
// edges: legal, and often a mistake.
Warnings Session::boundaryCoverage(const std::vector<GridSurface>& grids) const {
  Warnings warnings;
  const DisplaySurface& d = *state_.display;
  const Extent display = extentOf(d.Xmin, d.Xmax, d.Ymin, d.Ymax);
  for (int k = 1; k <= state_.model.Nbd && k < static_cast<int>(grids.size()); ++k) {
    const GridSurface& g = grids[k];
    const Extent grid = extentOf(g.Xmin, g.xMax(), g.Ymin, g.yMax());
    if (display.x0 < grid.x0 || display.x1 > grid.x1 || display.y0 < grid.y0 ||
        display.y1 > grid.y1) {
      warnings.push_back(fill(translated("{1}: the boundary grid ({2}) does not cover the display "
                                         "grid ({3}); the boundary is extrapolated beyond its "
                                         "edges"),
                              {state_.boundaryFile[k], describe(grid), describe(display)}));
    }
  }
  return warnings;
}

// The units of a picture drawn from the grid a build replaces go with that grid; a picture of the
// other kind keeps its units for what is drawn over it.
void Session::forgetUnitsDrawnFrom(PictureKind replaced) {
  if (state_.picture == replaced || state_.picture == PictureKind::None) {
    state_.drawUnit = noResult<Array2D<std::int16_t>>();
    state_.drawValue = noResult<Array2D<double>>();
  }
}

// The whole build runs into fresh objects; only a build that completes puts its grids in place of
// the ones before, and the grid of the other kind stays.
// The fence's panels are built with the walls, on the boundary grids the map build read; the
// build's progress is shared between the two.
Warnings Session::buildMapGrid(const BuildProgress& progress, MapParts parts) {
  requireModel();
  const DisplaySurface& d = *state_.display;
  const std::string what =
      fill(parts == MapParts::SurfaceOnly ? translated("classify the nodes of a {1} grid")
                                          : translated("build the 3D-map grid of {1} nodes"),
           {gridSize(d.Nx, d.Ny)});
  const bool withFence = parts == MapParts::SurfaceAndWalls && !state_.fenceLines.empty();
  const auto share = [&](double from, double to) -> BuildProgress {
    if (!progress) return {};
    return [&progress, from, to](double done) { progress(from + (to - from) * done); };
  };
  MapBuild build;
  step(what, [&] {
    build = kalvenor::buildMapGrid(buildInputs(), share(0, withFence ? 0.5 : 1), parts);
  });
  Warnings warnings = boundaryCoverage(build.boundaryGrids);
  auto fence = noResult<std::vector<FencePanel>>();
  if (withFence) {
    fence = buildFencePanels(state_.fenceLines, &build.boundaryGrids, share(0.5, 1), warnings);
  }
  // All made before any is put in place, so that running out of memory here changes nothing.
  auto grids = shared(std::move(build.boundaryGrids));
  auto grid = shared(std::move(build.grid));
  auto profiles = shared(std::move(build.wallProfiles));
  state_.boundaryGrids = std::move(grids);
  state_.mapGrid = std::move(grid);
  state_.wallProfiles = std::move(profiles);
  const bool fenceChanged =
      parts == MapParts::SurfaceAndWalls && (withFence || !state_.fence->empty());
  if (parts == MapParts::SurfaceAndWalls) state_.fence = std::move(fence);
  forgetUnitsDrawnFrom(PictureKind::Map);
  state_.progress.mapGridBuilt();
  state_.mapOutOfDate = false;
  state_.sectionOutOfDate = state_.sectionOutOfDate || state_.gridOutOfDate;
  state_.gridOutOfDate = false;
  notify(Change::Grids);
  if (fenceChanged) notify(Change::Fence);
  return warnings;
}

Warnings Session::buildSectionGrid(const SectionLine& line, const BuildProgress& progress) {
  requireModel();
  SectionBuild build;
  step(translated("build the section grid"),
       [&] { build = kalvenor::buildSectionGrid(buildInputs(), line, progress); });
  Warnings warnings = boundaryCoverage(build.boundaryGrids);
  for (const auto& [first, second] : selfCrossings(line.vertices)) {
    warnings.push_back(fill(translated("{1}: the survey line crosses itself, segments {2} and {3} "
                                       "meet; the section shows the ground there twice"),
                            {lineOrigin(line), std::to_string(first), std::to_string(second)}));
  }
  auto grids = shared(std::move(build.boundaryGrids));
  auto grid = shared(std::move(build.grid));
  auto section = shared(std::move(build.section));
  auto profile = shared(std::move(build.sectionProfile));
  state_.boundaryGrids = std::move(grids);
  state_.sectionGrid = std::move(grid);
  state_.section = std::move(section);
  state_.sectionProfile = std::move(profile);
  state_.sectionLine = line;
  forgetUnitsDrawnFrom(PictureKind::Section);
  state_.progress.sectionGridBuilt();
  state_.mapOutOfDate = state_.mapOutOfDate || state_.gridOutOfDate;
  state_.sectionOutOfDate = false;
  state_.gridOutOfDate = false;
  notify(Change::Grids);
  return warnings;
}

SectionLine Session::surveyLineFromFile(const std::string& path, const std::string& name) const {
  SectionLine line;
  runStep(translated("read the survey line"), [&] {
    const NamedLine chosen = readLineFeature(path, name, {state_.display->srs, state_.srsGiven});
    for (const PlanePoint& p : chosen.vertices) line.vertices.push_back({p.x, p.y});
    line.vertexNames = chosen.vertexNames;
    line.origin = chosen.origin;
  });
  checkVertices(line.vertices, line.origin);
  return line;
}

PlanOverview Session::planOverview(int longest) const {
  const DisplaySurface& d = *state_.display;
  if (!d.loaded()) {
    throw SessionError(fill(translated("There is no display surface yet: choose it in {1} first."),
                            {inputName("--surface")}));
  }
  const Array2D<std::int16_t>& units = state_.mapGrid->mapUnit;
  const bool unitsKnown = units.iLast() == d.Nx && units.jLast() == d.Ny && !state_.gridOutOfDate &&
                          !state_.mapOutOfDate;
  return kalvenor::planOverview(d, {unitsKnown ? &units : nullptr, &state_.unitColor}, longest);
}

}  // namespace kalvenor
