#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "evaluation/angles.h"
#include "evaluation/boundary_profile.h"
#include "evaluation/map_grid.h"
#include "evaluation/polyline_section.h"
#include "evaluation/section_grid.h"
#include "evaluation/vertical_grid.h"
#include "model/boundary_grids.h"
#include "model/display_surface.h"
#include "model/grid_surface.h"
#include "model/logical_model.h"
#include "model/render_context.h"

namespace kalvenor {

// A grid build that cannot be done with the inputs it was given.
class BuildError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// What a build reads: the model with its pattern table, the boundary files (slots 1..Nbd), the
// display surface (never null; the build's boundary grids share it), the base height, and the
// projected system (WKT) the boundary files are read with (GridReading); and the threads it may
// use, which the caller decides.
struct BuildInputs {
  const LogicalModel& model;
  const std::vector<std::string>& boundaryFile;
  std::shared_ptr<const DisplaySurface> display;
  double Zbase;
  std::string srs = {};
  // Boundary grids read when their files were picked, taken instead of reading the files again
  // where they have not changed (see readBoundaryGrids): used up by a build that completes, kept
  // by one that fails; may be null.
  std::vector<EarlierRead>* earlier = nullptr;
  RenderContext context = {};
};

// Called now and then with the share of the work done, from 0 to 1, always on the thread that
// started the build, at times while other threads are classifying. What it throws ends the build
// as a failure of the build would: the build throws it once the other threads have stopped.
using BuildProgress = std::function<void(double)>;

struct MapBuild {
  std::vector<GridSurface> boundaryGrids;
  MapGrid grid;
  std::array<BoundaryProfile, 5> wallProfiles;  // 1 south, 2 west, 3 north, 4 east
};

// What a map build classifies: the top surface alone is all a units export needs.
enum class MapParts { SurfaceAndWalls, SurfaceOnly };

// The number of levels of the side walls: one per node of the longer side, but at most three per
// node of the shorter side, so a long, narrow grid costs in proportion to its nodes and not to the
// square of its length. Every grid up to 3:1 in shape keeps one level per node of its longer side.
std::int32_t wallLevels(std::int32_t Nx, std::int32_t Ny);

// The number of levels a section of Nxy columns is given when its vertical step gives fewer
// than Nxy: one per column as long as Nxy x Nz stays within kMaxGridNodes, and beyond that as
// many as keep it there (at least 2), so a long section costs in proportion to the nodes of the
// cap and not to the square of its length.
std::int32_t sectionLevels(std::int32_t Nxy);

// Classifies every display node at its own elevation and every node of the four side walls;
// wall nodes above the display surface of their edge are air. Reads the boundary files anew.
// Throws BuildError or ReadError and then has changed nothing.
MapBuild buildMapGrid(const BuildInputs& inputs, const BuildProgress& progress = {},
                      MapParts parts = MapParts::SurfaceAndWalls);

// How the survey line is given: a start point and either an end point or an azimuth; or, when
// there are vertices, the polyline through them in their order (start and end then unused).
struct SectionLine {
  double Xstart = 0.0;
  double Ystart = 0.0;
  bool endPointMode = true;
  double Xend = 0.0;
  double Yend = 0.0;
  double faiDegrees = 0.0;  // clockwise from north; kDegree turns it into radians
  std::vector<SurveyVertex> vertices = {};
};

struct SectionBuild {
  std::vector<GridSurface> boundaryGrids;
  VerticalGrid grid;  // the units of the section's nodes
  SectionGrid section;
  BoundaryProfile sectionProfile;
};

// The vertical section through the survey line clipped to the display rectangle, from Zbase to
// about the highest display elevation. Rejects a line that misses the display rectangle or
// gives fewer than two columns or no vertical step, and vertices that make no line (see
// checkVertices). Two vertices give the straight section through them.
SectionBuild buildSectionGrid(const BuildInputs& inputs, const SectionLine& line,
                              const BuildProgress& progress = {});

// The same section classified against boundary grids read already (slots 1..Nbd as
// readBoundaryGrids gives them, the display surface in slot Nbd + 1), which a series of sections
// reads once for all; the build's own boundaryGrids stay empty. The files are not read.
SectionBuild buildSectionWith(const BuildInputs& inputs, const std::vector<GridSurface>& grids,
                              const SectionLine& line, const BuildProgress& progress = {});

}  // namespace kalvenor
