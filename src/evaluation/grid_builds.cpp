#include "evaluation/grid_builds.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <limits>
#include <utility>

#include "evaluation/boundary_interpolation.h"
#include "evaluation/classification.h"
#include "evaluation/polyline_section.h"
#include "evaluation/section_line_sampling.h"
#include "model/boundary_grids.h"
#include "model/input_names.h"
#include "model/message_text.h"
#include "model/number_text.h"
#include "model/parallel_for.h"

namespace kalvenor {
namespace {

void checkInputs(const BuildInputs& in) {
  if (in.model.unitOfPattern.empty()) {
    throw BuildError(fill(translated("There is no logical model yet: enter one in {1} first."),
                          {inputName("--model")}));
  }
  if (!in.display || !in.display->loaded()) {
    throw BuildError(fill(translated("There is no display surface yet: choose it in {1} first."),
                          {inputName("--surface")}));
  }
  if (in.display->Nx < 2 || in.display->Ny < 2) {
    throw BuildError(translated("The display surface needs at least 2 nodes in each direction."));
  }
  if (const auto problem = baseProblem(in.Zbase, *in.display)) throw BuildError(*problem);
}

// No ground: a column whose surface is not known is air from the base up.
constexpr double kNoGround = -std::numeric_limits<double>::infinity();

void report(const BuildProgress& progress, double done) {
  if (progress) progress(done);
}

// Runs column(i) for i = 1..n on the build's threads in one parallel loop (every barrier costs a
// waiting thread's spinning on a busy machine); every column writes only its own nodes. The
// caller's thread is the only one that may report progress: it reports the share done as it goes.
template <typename Column>
void forEachColumn(const BuildInputs& in, int n, const Column& column,
                   const BuildProgress& progress, double from, double to) {
  std::atomic<int> done = 0;
  parallelFor(1, n,
              [&](int i) {
                column(i);
                const int count = ++done;
                if (onCallingThread()) report(progress, from + (to - from) * count / n);
              },
              {.threads = in.context.threads, .chunk = 4});
  report(progress, to);
}

// The boundary files, one per thread.
std::vector<GridSurface> readBoundaries(const BuildInputs& in) {
  const auto readSideBySide = [threads = in.context.threads](
                                  int Nbd, const std::function<void(int)>& readSlot) {
    parallelFor(1, Nbd, readSlot, {.threads = threads});
  };
  return readBoundaryGrids(in.boundaryFile, in.model.Nbd, in.display, {in.srs}, readSideBySide,
                           in.earlier);
}

// Classifies column h of a vertical grid whose units are allocated: a node above `ground` (the
// display elevation of the column) is air, every other node gets its strict unit.
void classifyColumn(const LogicalModel& model, const std::vector<GridSurface>& grids,
                    VerticalGrid& grid, int h, double ground) {
  ColumnClassifier classifier(model, grids);
  classifier.moveTo(grid.x(h), grid.y(h));
  const auto fill = [&](int first, int last, std::int16_t unit) {
    for (int v = first; v <= last; ++v) grid.unit(h, v) = static_cast<LevelUnit>(unit);
  };
  const int top = classifier.classifyLevels(grid, ground, fill);
  fill(top + 1, grid.nV, kAir);
}

// The wall of `slot` from the base up, with the levels of `grid`.
VerticalGrid wallGrid(int slot, const DisplaySurface& d, double Zbase, const MapGrid& grid) {
  VerticalGrid wall;
  const bool alongX = slot == kSouthWall || slot == kNorthWall;
  wall.nH = alongX ? d.Nx : d.Ny;
  wall.nV = grid.Nz;
  wall.x0 = slot == kEastWall ? d.Xmax : d.Xmin;
  wall.y0 = slot == kNorthWall ? d.Ymax : d.Ymin;
  wall.z0 = Zbase;
  wall.dxH = alongX ? d.Dx : 0.0;
  wall.dyH = alongX ? 0.0 : d.Dy;
  wall.dzV = grid.Dzz;
  return wall;
}

// The display node at the wall's edge node h.
std::pair<int, int> edgeNode(int slot, const DisplaySurface& d, int h) {
  switch (slot) {
    case kSouthWall:
      return {h, 1};
    case kWestWall:
      return {1, h};
    case kNorthWall:
      return {h, d.Ny};
    default:
      return {d.Nx, h};
  }
}

// The stored display elevation at the wall's edge node h; where the edge has no elevation the
// wall stands on no ground and is all air.
double edgeElevation(int slot, const DisplaySurface& d, int h) {
  const auto [i, j] = edgeNode(slot, d, h);
  return d.missing.at(i, j) ? kNoGround : d.dispZ(i, j);
}

// Column t of the four walls taken in turn, south first: the wall's slot and its column.
std::pair<int, int> wallColumn(const MapGrid& grid, int t) {
  int slot = kSouthWall;
  while (t > grid.verticalGrids[slot].nH) t -= grid.verticalGrids[slot++].nH;
  return {slot, t};
}

}  // namespace

std::int32_t wallLevels(std::int32_t Nx, std::int32_t Ny) {
  return std::min(std::max(Nx, Ny), 3 * std::min(Nx, Ny));
}

std::int32_t sectionLevels(std::int32_t Nxy) {
  if (std::int64_t{Nxy} * Nxy <= kMaxGridNodes) return Nxy;
  return static_cast<std::int32_t>(std::max<std::int64_t>(2, kMaxGridNodes / Nxy));
}

MapBuild buildMapGrid(const BuildInputs& in, const BuildProgress& progress, MapParts parts) {
  checkInputs(in);
  const DisplaySurface& d = *in.display;
  MapBuild build;
  build.boundaryGrids = readBoundaries(in);
  KeptUntilBuilt kept(build.boundaryGrids, in.earlier);

  MapGrid& grid = build.grid;
  grid.mapUnit = Array2D<std::int16_t>(1, d.Nx, 1, d.Ny, 0);
  std::vector<LatticeElevations> boundaries;
  for (int k = 1; k <= in.model.Nbd; ++k) boundaries.emplace_back(build.boundaryGrids[k], d);
  forEachColumn(
      in, d.Nx,
      [&](int i) {
        for (int j = 1; j <= d.Ny; ++j) {
          if (d.missing.at(i, j)) continue;  // no elevation, no unit
          double z = d.dispZ(i, j);
          grid.mapUnit(i, j) = classifyWith(
                                   in.model, [&](int k) { return boundaries[k - 1].at(i, j); }, z)
                                   .unitStrict;
        }
      },
      progress, 0, 0.5);
  if (parts == MapParts::SurfaceOnly) {
    kept.built();
    return build;
  }

  grid.Nz = wallLevels(d.Nx, d.Ny);
  grid.Dzz = (d.Zmax - in.Zbase) / (grid.Nz - 1);
  std::array<std::vector<double>, 5> ground;
  for (int slot = kSouthWall; slot <= kEastWall; ++slot) {
    VerticalGrid& wall = grid.verticalGrids[slot];
    wall = wallGrid(slot, d, in.Zbase, grid);
    wall.unit = Array2D<LevelUnit>(1, wall.nH, 1, wall.nV, 0);
    build.wallProfiles[slot] = buildBoundaryProfile(wall, build.boundaryGrids, in.model.Nbd);
    ground[slot].resize(wall.nH + 1);
    for (int h = 1; h <= wall.nH; ++h) ground[slot][h] = edgeElevation(slot, d, h);
  }
  forEachColumn(
      in, 2 * (d.Nx + d.Ny),
      [&](int t) {
        const auto [slot, h] = wallColumn(grid, t);
        classifyColumn(in.model, build.boundaryGrids, grid.verticalGrids[slot], h, ground[slot][h]);
      },
      progress, 0.5, 1);
  kept.built();
  return build;
}

namespace {

struct ClippedLine {
  double Xstart, Ystart, Xend, Yend;
};

// Clips the infinite line through the line's start point with direction (sin Fai, cos Fai) to
// the display rectangle.
ClippedLine clipToDisplay(const DisplaySurface& d, const SectionLine& line, double Fai) {
  const double Xstart = line.Xstart, Ystart = line.Ystart;
  const auto span = displaySpan(d, Xstart, Ystart, Fai);
  if (!span) {
    throw BuildError(
        translated("The survey line does not cross the display area; choose a start point "
                   "and direction that pass over it."));
  }
  const double s = std::sin(Fai);
  const double c = std::cos(Fai);
  return {s * span->tmin + Xstart, c * span->tmin + Ystart, s * span->tmax + Xstart,
          c * span->tmax + Ystart};
}

double sectionAzimuth(const SectionLine& line) {
  if (!line.endPointMode) return line.faiDegrees * kDegree;
  // The same point twice gives no direction (the azimuth below would be east).
  if (line.Xend == line.Xstart && line.Yend == line.Ystart) {
    throw BuildError(fill(translated("The survey line starts and ends at the same point (x {1}, y "
                                     "{2}); a section needs a direction: give an end point "
                                     "elsewhere or an azimuth."),
                          {numberText(line.Xstart), numberText(line.Ystart)}));
  }
  if (line.Yend != line.Ystart) {
    return std::atan((line.Xend - line.Xstart) / (line.Yend - line.Ystart));
  }
  return 1.570796326794895;
}

// The columns along the clipped line: sets Nxy, Dxx and Dyy and gives the vertical step the
// columns ask for.
double placeSectionColumns(const DisplaySurface& d, SectionGrid& sec) {
  const double L = std::sqrt((sec.Xend - sec.Xstart) * (sec.Xend - sec.Xstart) +
                             (sec.Yend - sec.Ystart) * (sec.Yend - sec.Ystart));
  const ColumnSteps c = columnSteps(d, L, sec.Fai);
  if (c.columns < 2) {
    throw BuildError(fill(translated("The survey line crosses the display area over less than one "
                                     "column spacing ({1}); a section needs at least two columns."),
                          {numberText(columnSpacing(d))}));
  }
  if (c.columns > kMaxGridNodes) {
    throw BuildError(translated("The section would have too many columns."));
  }
  sec.Nxy = static_cast<std::int32_t>(c.columns);
  sec.Dxx = c.Dxx;
  sec.Dyy = c.Dyy;
  if (c.Dzz == 0) {
    throw BuildError(fill(translated("The section's column step ({1}) is too small: both of its "
                                     "components are below 0.1."),
                          {numberText(c.step)}));
  }
  return c.Dzz;
}

// The straight section: the line through the start point across the whole display area.
double placeStraightLine(const DisplaySurface& d, const SectionLine& line, SectionGrid& sec) {
  sec.Fai = sectionAzimuth(line);
  if (!std::isfinite(sec.Fai)) throw BuildError(translated("The survey line has no direction."));
  const ClippedLine clipped = clipToDisplay(d, line, sec.Fai);
  sec.Xstart = clipped.Xstart;
  sec.Ystart = clipped.Ystart;
  sec.Xend = clipped.Xend;
  sec.Yend = clipped.Yend;
  return placeSectionColumns(d, sec);
}

// A line of two vertices is the straight section through them; one of more is a polyline.
double placeLine(const DisplaySurface& d, const SectionLine& line, SectionGrid& sec) {
  if (line.vertices.empty()) return placeStraightLine(d, line, sec);
  checkVertices(line.vertices);
  if (line.vertices.size() > 2) return placePolylineColumns(d, line.vertices, sec);
  SectionLine straight;
  straight.Xstart = line.vertices[0].x;
  straight.Ystart = line.vertices[0].y;
  straight.Xend = line.vertices[1].x;
  straight.Yend = line.vertices[1].y;
  return placeStraightLine(d, straight, sec);
}

// The levels from the base to the top of the display surface: sets Nz and Dzz.
void placeSectionLevels(const DisplaySurface& d, double Zbase, double Dzz, SectionGrid& sec) {
  const double levels = std::floor((d.Zmax - Zbase) / Dzz) + 1;
  if (levels < sec.Nxy) {
    sec.Nz = sectionLevels(sec.Nxy);
    Dzz = (d.Zmax - Zbase) / (sec.Nz - 1);
  } else if (levels * sec.Nxy > static_cast<double>(kMaxGridNodes)) {
    throw BuildError(translated("The section would have too many levels; raise the base height."));
  } else {
    sec.Nz = static_cast<std::int32_t>(levels);
  }
  sec.Dzz = Dzz;
  sec.Zbase = Zbase;
  sec.Nmax = std::max({sec.Nxy, d.Nx, d.Ny, sec.Nz});
}

// Whether (x, y) lies over the display rectangle, give or take rounding: a polyline that leaves
// it and comes back has no ground out there, as a straight section is cut at its edge.
bool overDisplay(const DisplaySurface& d, double x, double y) {
  const double slack = 1e-7 * std::max(std::abs(d.Dx), std::abs(d.Dy));
  const auto within = [slack](double value, double a, double b) {
    return value >= std::min(a, b) - slack && value <= std::max(a, b) + slack;
  };
  return within(x, d.nodeX[1], d.nodeX[d.Nx]) && within(y, d.nodeY[1], d.nodeY[d.Ny]);
}

// The ground under every column, and every column's units against `grids`.
void classifySectionColumns(const BuildInputs& in, const std::vector<GridSurface>& grids,
                            SectionBuild& build, const BuildProgress& progress) {
  const DisplaySurface& d = *in.display;
  SectionGrid& sec = build.section;
  VerticalGrid& nodes = build.grid;
  sec.sectionSurfZ.assign(sec.Nxy + 1, 0.0);
  sec.groundKnown.assign(sec.Nxy + 1, true);
  std::vector<double> ground(sec.Nxy + 1);
  for (int h = 1; h <= sec.Nxy; ++h) {
    sec.sectionSurfZ[h] = surfaceElevationAt(d, nodes.x(h), nodes.y(h));
    sec.groundKnown[h] = surfaceDefinedAt(d, nodes.x(h), nodes.y(h)) &&
                         (!sec.unfolded() || overDisplay(d, nodes.x(h), nodes.y(h)));
    ground[h] = sec.groundKnown[h] ? sec.sectionSurfZ[h] : kNoGround;
  }
  nodes.unit = Array2D<LevelUnit>(1, nodes.nH, 1, nodes.nV, 0);
  forEachColumn(
      in, sec.Nxy, [&](int h) { classifyColumn(in.model, grids, nodes, h, ground[h]); }, progress,
      0.1, 1);
}

// The section's line and levels placed, and its nodes at their positions, not yet classified.
SectionBuild placedSection(const BuildInputs& in, const SectionLine& line) {
  checkInputs(in);
  const DisplaySurface& d = *in.display;
  SectionBuild build;
  SectionGrid& sec = build.section;
  placeSectionLevels(d, in.Zbase, placeLine(d, line, sec), sec);
  build.grid = VerticalGrid{
      {sec.Nxy, sec.Nz, sec.Xstart, sec.Ystart, in.Zbase, sec.Dxx, sec.Dyy, sec.Dzz}, {}};
  build.grid.columnX = sec.columnX;
  build.grid.columnY = sec.columnY;
  return build;
}

}  // namespace

SectionBuild buildSectionGrid(const BuildInputs& in, const SectionLine& line,
                              const BuildProgress& progress) {
  SectionBuild build = placedSection(in, line);
  build.boundaryGrids = readBoundaries(in);
  KeptUntilBuilt kept(build.boundaryGrids, in.earlier);
  build.sectionProfile = buildBoundaryProfile(build.grid, build.boundaryGrids, in.model.Nbd);
  report(progress, 0.1);
  classifySectionColumns(in, build.boundaryGrids, build, progress);
  kept.built();
  return build;
}

SectionBuild buildSectionWith(const BuildInputs& in, const std::vector<GridSurface>& grids,
                              const SectionLine& line, const BuildProgress& progress) {
  SectionBuild build = placedSection(in, line);
  build.sectionProfile = buildBoundaryProfile(build.grid, grids, in.model.Nbd);
  report(progress, 0.1);
  classifySectionColumns(in, grids, build, progress);
  return build;
}

}  // namespace kalvenor
