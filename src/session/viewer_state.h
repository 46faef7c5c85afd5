#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "evaluation/boundary_profile.h"
#include "evaluation/fence_build.h"
#include "evaluation/grid_builds.h"
#include "evaluation/map_grid.h"
#include "evaluation/section_grid.h"
#include "evaluation/section_series.h"
#include "evaluation/vertical_grid.h"
#include "model/boreholes.h"
#include "model/default_values.h"
#include "model/display_surface.h"
#include "model/grid_surface.h"
#include "model/logical_model.h"
#include "model/packed_color.h"
#include "render/contour_settings.h"
#include "render/draw_options.h"
#include "render/view_canvas.h"
#include "render/view_settings.h"
#include "session/progress.h"

namespace kalvenor {

// A result the state holds read-only and shares, made from a value moved in.
template <typename T>
std::shared_ptr<const T> shared(T value) {
  return std::make_shared<const T>(std::move(value));
}

// The empty result of a kind, one for every state that has none: putting it in place throws
// nothing.
template <typename T>
const std::shared_ptr<const T>& noResult() {
  static const std::shared_ptr<const T> none = std::make_shared<const T>();
  return none;
}

// How the map is drawn beyond the view: the side walls and the grid frame.
struct MapOptions {
  bool sideWalls = true;
  bool frame = true;
  bool frameFourSides = true;
};

// How the boreholes are drawn: the distance from the section line within which a hole is shown
// on a section (none: five times the larger grid spacing), the collars' ids, and the collars of
// the map coloured by the largest residual of the model check.
struct BoreholeDrawing {
  std::optional<double> buffer{};
  bool labels = false;
  bool residuals = false;
  friend bool operator==(const BoreholeDrawing&, const BoreholeDrawing&) = default;
};

// What a map can show in place of the units: a unit's thickness or a boundary's depth below the
// ground, the unit or boundary named as the model names it (or by its number).
enum class MapValueKind : std::int8_t { Thickness, Depth };
struct MapValue {
  MapValueKind kind = MapValueKind::Thickness;
  std::string name;
  friend bool operator==(const MapValue&, const MapValue&) = default;
};

// The kind of picture a command drew whole: the map or the section, or none yet.
enum class PictureKind { None, Map, Section };

// The view a whole picture was drawn in, so that what is drawn over it later, and a turn of it in
// the drawing window, fit the picture on screen whatever the view boxes hold since.
struct PictureView {
  ViewSettings view;
  ViewCanvas canvas;
  double Zbase = 0.0;
};

// What a command drew over a picture, or the canvas cleared under it, in the order done, so that
// the picture can be drawn again as it stands.
enum class DrawnOver : std::int8_t { Contours, GridLines, SurveyLine, Clear };

// Everything a session knows: the documents, the results of the last builds, the view, what the
// last picture was drawn with, and the progress of the steps. The display surface and what the
// builds and the last picture made are held read-only and shared, never null: the session puts
// a new object in place of one it changes, so copies of the state share them safely, on any
// thread.
struct ViewerState {
  LogicalModel model;
  std::string modelFile;  // the file the model was read from; empty for one made by hand

  // Colours: element 0 of unitColor is the colour of "no unit". `unitColorChosen` marks the
  // units given a colour since the colours were last reset.
  std::vector<PackedColor> unitColor;
  std::vector<PackedColor> boundaryColor;
  std::vector<bool> unitColorChosen;

  // Boundary files, lowest boundary first, and the grids the last build read from them (slot
  // Nbd + 1 the display surface); empty until a grid has been built.
  std::vector<std::string> boundaryFile;
  std::shared_ptr<const std::vector<GridSurface>> boundaryGrids =
      noResult<std::vector<GridSurface>>();
  // What was done to a boundary file's grid on reading (a warp), by path; files taken as they
  // are have no entry.
  std::map<std::string, std::string> boundaryNote;

  // The borehole tables and the holes read from them, in the display surface's system, their
  // units matched to the model's; read again when the model or the display surface changes.
  BoreholeFiles boreholeFiles;
  std::shared_ptr<const BoreholeSet> boreholes = noResult<BoreholeSet>();
  BoreholeDrawing boreholeDrawing;
  // Where the geological map was last written as vectors, "" before it was; session files keep
  // it so that kalvenor-render --session writes it again.
  std::string geologyMapFile;

  std::shared_ptr<const DisplaySurface> display = noResult<DisplaySurface>();
  std::string displayFile;
  // The projected system (WKT) named for the inputs, "" for none: grids read from now on that
  // name no system are given it, and rasters in degrees are warped into it.
  std::string srs;
  std::string srsGiven;  // the system as the user named it
  LoadJitter jitter;     // continues from one display-surface load to the next
  double Zbase = 0.0;    // base of the model block; -99999 or less means no base

  // The two display grids, kept side by side: the units of the last map build (top surface and
  // walls) with its wall profiles (slots 1..4: south, west, north, east), and the units of the
  // last section build with its line and profile. Each build replaces only its own.
  std::shared_ptr<const MapGrid> mapGrid = noResult<MapGrid>();
  std::shared_ptr<const std::array<BoundaryProfile, 5>> wallProfiles =
      noResult<std::array<BoundaryProfile, 5>>();
  std::shared_ptr<const VerticalGrid> sectionGrid = noResult<VerticalGrid>();
  std::shared_ptr<const BoundaryProfile> sectionProfile = noResult<BoundaryProfile>();
  std::shared_ptr<const SectionGrid> section = noResult<SectionGrid>();
  SectionLine sectionLine;  // the survey line as given to the last section build
  // The lines of the fence diagram drawn in the block, kept when the grids go, and their panels,
  // built from the inputs of the map with each build of its walls (none while there is none);
  // with the cut, the block is left out in front of them.
  std::vector<FenceLine> fenceLines;
  std::shared_ptr<const std::vector<FencePanel>> fence = noResult<std::vector<FencePanel>>();
  bool fenceCut = false;
  SectionSeries series;  // the parallel sections drawn from that line
  // Set when a build of the other kind comes after the inputs changed, so the grid kept beside
  // it is of the inputs before; a build of its own kind clears it.
  bool mapOutOfDate = true;
  bool sectionOutOfDate = true;

  ViewSettings view;
  ViewCanvas viewCanvas;   // the canvas the view was last applied to, with the shift of a fit
  double savedDist = 0.0;  // the last perspective values while perspective is off
  double savedPpz = 0.0;
  DrawOptions drawOptions;
  Annotations annotations;  // written around the next map or section
  MapOptions mapOptions;
  ContourSettings contours;
  bool contourLinesWanted = false;
  // Units the renderers draw with: filled by the map and section commands, kept for the
  // contour and grid-line commands that draw over the last picture.
  std::shared_ptr<const Array2D<std::int16_t>> drawUnit = noResult<Array2D<std::int16_t>>();
  // The value the map shows in place of the units, none for the units; and the values the last
  // map was drawn with, kept like drawUnit for what is drawn over it (empty after a map of units).
  std::optional<MapValue> mapValue;
  std::shared_ptr<const Array2D<double>> drawValue = noResult<Array2D<double>>();
  // The two side walls facing the eye in the last geological map (0 before any).
  std::array<std::int16_t, 2> visibleWall{0, 0};
  // The last whole picture and the view it was drawn in.
  PictureKind picture = PictureKind::None;
  PictureView pictureView;
  // What was drawn over the last map or section since, in order, so that a redraw with another
  // view can draw it again.
  std::vector<DrawnOver> overlays;

  DefaultValues defaults;
  Progress progress;
  // Set when the model or the surface changed after the last grid build.
  bool gridOutOfDate = true;
};

}  // namespace kalvenor
