#pragma once

#include <string>
#include <vector>

#include "evaluation/boundary_profile.h"
#include "evaluation/grid_builds.h"
#include "evaluation/polyline_section.h"
#include "evaluation/section_grid.h"
#include "evaluation/vertical_grid.h"
#include "model/grid_surface.h"

namespace kalvenor {

// A line of a fence diagram: its name, which messages and the window show, and its vertices;
// for a line read from a file, the file and the line, which messages about it name.
struct FenceLine {
  std::string name;
  std::vector<SurveyVertex> vertices;
  std::string origin = {};

  bool operator==(const FenceLine&) const = default;
};

// The section's survey line along a fence's line.
SectionLine surveyLineOf(const FenceLine& line);

// The name of line `index` (from 0) of a fence given without names, as sections are lettered:
// A, B, ... Z, then AA, AB, ...
std::string fenceLineName(std::size_t index);

// One panel of a fence: the section along its line, as a section build makes it.
struct FencePanel {
  std::string name;
  VerticalGrid grid;  // the units of its nodes
  SectionGrid section;
  BoundaryProfile profile;
};

// Every line's section as buildSectionGrid builds it, in the order of the lines, classified with
// `grids` (read for the same inputs, as a map build leaves them) or, when null, with one reading
// of the boundary files made once every line is placed. A line that makes no section throws
// BuildError with that build's message after the panel's number and name, and then nothing is
// read or built.
std::vector<FencePanel> buildFence(const BuildInputs& inputs, const std::vector<FenceLine>& lines,
                                   const std::vector<GridSurface>* grids,
                                   const BuildProgress& progress = {});

}  // namespace kalvenor
