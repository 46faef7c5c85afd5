#pragma once

#include <optional>
#include <string>
#include <vector>

#include "evaluation/grid_builds.h"

namespace kalvenor {

// The most sections one series holds: a report's worth, and a bound on the time it takes.
constexpr int kMaxSeriesSections = 100;

// Parallel sections at a fixed spacing: `count` lines, the survey line the first, each next one
// `spacing` metres further to the right of it looking from its start towards its end (a negative
// spacing goes to the left). One section is the survey line alone.
struct SectionSeries {
  int count = 1;
  double spacing = 0.0;
  friend bool operator==(const SectionSeries&, const SectionSeries&) = default;
};

// Why a series cannot be made, or nothing: a count outside 1..kMaxSeriesSections, or a spacing
// that is not a number or, with more than one section, is 0.
std::optional<std::string> seriesProblem(const SectionSeries& series);

// A bend of a polyline is moved at most this many times the offset along its bisector: sharper
// bends than about 150 degrees would throw their vertex far off.
constexpr double kMaxMiter = 4.0;

// The survey line moved `offset` metres to its right (to its left when negative). A straight line
// keeps its direction (and its azimuth, when given so); a polyline becomes its parallel curve:
// its ends move along their segment's normal and each bend along the bisector of its two
// segments' normals, as far as keeps both segments at the offset (at most kMaxMiter times it).
SectionLine offsetLine(const SectionLine& line, double offset);

// The lines of the series, the survey line first.
std::vector<SectionLine> seriesLines(const SectionLine& line, const SectionSeries& series);

// The name of the series' section `number` (from 1), which labels its ends ("B" and "B'"): the
// letters A to Z, then A2 to Z2, and so on.
std::string seriesSectionName(int number);

// A section of a series: its number in the series (1 is the survey line), its line and its build
// (without boundary grids: the series shares the ones it was built from).
struct SeriesMember {
  int number = 0;
  SectionLine line;
  SectionBuild build;
};

// A line of the series that gives no section, and why.
struct SeriesLeftOut {
  int number = 0;
  std::string reason;
};

struct SeriesBuild {
  std::vector<SeriesMember> members;
  std::vector<SeriesLeftOut> leftOut;
};

// The section along every line with the boundary grids read already (see placeSection and
// classifySection). The first line's failure is thrown; a later line that gives no section (one
// that misses the display area, or crosses only a corner of it) is left out with the reason.
SeriesBuild buildSectionSeries(const BuildInputs& inputs, const std::vector<GridSurface>& grids,
                               const std::vector<SectionLine>& lines,
                               const BuildProgress& progress = {});

}  // namespace kalvenor
