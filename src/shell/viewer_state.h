#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "evaluation/boundary_profile.h"
#include "evaluation/map_grid.h"
#include "evaluation/section_grid.h"
#include "model/default_values.h"
#include "model/display_surface.h"
#include "model/grid_surface.h"
#include "model/logical_model.h"
#include "model/packed_color.h"
#include "render/contour_settings.h"
#include "render/draw_options.h"
#include "render/view_settings.h"
#include "shell/progress_flags.h"

namespace kalvenor {

// Everything the viewer knows during one run, owned by the main window.
struct ViewerState {
  LogicalModel model;

  // Colours: element 0 of unitColor is the colour of "no unit".
  std::vector<PackedColor> unitColor;
  std::vector<PackedColor> boundaryColor;
  std::int16_t pickIndex = 0;  // position in the boundary-file and colour dialog sequences

  // Boundary files, lowest boundary first, and the grids the last build read from them (slot
  // Nbd + 1 the display surface); empty until a grid has been built.
  std::vector<std::string> boundaryFile;
  std::vector<GridSurface> boundaryGrids;

  DisplaySurface display;
  LoadJitter jitter;  // continues from one display-surface load to the next
  double Zbase = 0.0;  // base of the model block; -99999 or less means no base

  // The last grid build's units (top surface and walls, or the section), the wall profiles of
  // the last map build (slots 1..4: south, west, north, east) and the section of the last
  // section build.
  MapGrid mapGrid;
  std::array<BoundaryProfile, 5> wallProfiles;
  BoundaryProfile sectionProfile;
  SectionGrid section;

  ViewSettings view;
  double savedDist = 0.0;  // the last perspective values while perspective is off
  double savedPpz = 0.0;
  DrawOptions drawOptions;
  ContourSettings contours;
  // Units the renderers draw with: filled by the map and section commands, kept for the
  // contour and grid-line commands that draw over the last picture.
  Array2D<std::int32_t> drawUnit;
  // The two side walls facing the eye in the last geological map (0 before any).
  std::array<std::int16_t, 2> visibleWall{0, 0};

  DefaultValues defaults;
  ProgressFlags flags;
};

}  // namespace kalvenor
