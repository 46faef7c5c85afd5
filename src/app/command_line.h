#pragma once

#include <array>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/option_spec.h"
#include "model/boreholes.h"
#include "render/draw_options.h"
#include "session/section_atlas.h"
#include "session/session_file.h"

namespace kalvenor {

// A command line that cannot be followed; the message names the option and the problem.
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The files both programs can start from, and the coordinate system they are read with.
struct InputFiles {
  std::string model;
  std::vector<std::string> boundaries;  // lowest boundary first
  std::string surface;
  std::string colors;
  std::string srs;  // --srs as given, checked by GDAL; "" for none
  BoreholeFiles boreholes{};
  bool any() const {
    return !model.empty() || !boundaries.empty() || !surface.empty() || !colors.empty() ||
           !srs.empty() || boreholes.any();
  }
};

struct Point2 {
  double x = 0;
  double y = 0;
};

// What both programs do with the files: the base, the view, the contours, what the map is
// drawn with, and the survey line of a section.
struct SessionOptions {
  InputFiles inputs;
  std::string session;  // a session file to open instead of input files and options
  std::optional<double> zbase;
  std::optional<std::array<double, 4>> view;         // Alpha, Gamma, Sca, Ve
  std::optional<std::array<double, 2>> perspective;  // Dist, Ppz
  std::optional<std::array<double, 3>> contours;     // Cst, Cen, Cin
  std::optional<int> autoContours;                   // divisions
  bool side = true;
  bool boundaryLines = true;
  int frame = 4;  // 0: none, 2 or 4 sides
  std::optional<Contacts> contacts;
  ReliefShading shading;  // --shade and --shade-strength; off unless --shade is given
  bool black = false;
  std::optional<Point2> start;
  std::optional<Point2> end;
  std::optional<double> azimuth;
  std::vector<Point2> vertices;  // a polyline survey line instead of start and end or azimuth
  std::string lineFile;          // or the polyline of a line file
  std::string lineFeature;       // the file's line of that name; "" for its first
  // Every --vertices in order: given more than once, the lines of a fence diagram in the block.
  std::vector<std::vector<Point2>> vertexGroups;
  std::string fenceFile;  // or the lines of a fence from a line layer
  bool fenceCut = false;  // the block left out in front of the fence's panels
  bool sectionLine = false;
  bool sectionDxf3d = false;  // the .dxf of --section at the line's real coordinates
  bool legend = false;
  bool axes = false;
  std::string title;
  bool sectionTrace = false;  // the line marked as a trace on the ground
  BoreholeDrawing boreholeDrawing;
  std::optional<MapValue> mapValue;  // the map coloured by a thickness or depth
  bool help = false;
  bool version = false;

  bool wantsContours() const { return contours.has_value() || autoContours.has_value(); }
};

// What kalvenor-render is asked to do besides.
struct RenderOptions : SessionOptions {
  int width = 800;
  int height = 800;
  bool sizeGiven = false;  // else a session is drawn at the size it was saved with
  bool fit = false;        // --fit, or --view without a magnification
  bool antialias = false;  // smooth lines in PNG and SVG pictures
  std::string mapFile;
  std::string sectionFile;
  std::string unitsGrid;
  std::string unitsLegend;
  std::string sectionUnits;
  std::string sectionContacts;
  std::string layer;  // of sectionContacts; "" for the file's base name
  std::string boreholeCheck;
  std::string export3d;  // .glb, .vtp, .vtm or .obj
  double exportVe = 1.0;
  int exportDecimate = 1;
  std::string geologyMap;       // .gpkg, or any vector format GDAL writes
  SectionSeries sectionSeries;  // --section draws each of them, --atlas a page each
  std::string atlasFile;        // a .pdf
  AtlasPaper atlasPaper;        // its pages
  std::string thicknessGrid;
  std::string unitName;  // of thicknessGrid
  std::string depthGrid;
  std::string boundaryName;  // of depthGrid
  std::string volumes;
  std::string clip;  // the polygons the volumes are taken inside

  // Outputs made from the 3D-map grid's surface: the picture, the units grid, the geological map,
  // the thickness and depth grids and the volumes.
  bool wantsMapGrid() const {
    return !mapFile.empty() || !unitsGrid.empty() || !geologyMap.empty() ||
           !thicknessGrid.empty() || !depthGrid.empty() || !volumes.empty();
  }
  bool wantsSection() const {
    return !sectionFile.empty() || !sectionUnits.empty() || !sectionContacts.empty() ||
           sectionLine || !atlasFile.empty();
  }
  // The section pictures and the atlas draw the series' sections.
  bool wantsSeries() const { return sectionSeries.count > 1 || !atlasFile.empty(); }
};

// The window's options: those of kalvenor-render that mean something in a window (no outputs,
// no picture size). Throws UsageError as parseRenderOptions does.
SessionOptions parseWindowOptions(const std::vector<std::string>& args);

// Every option of the batch renderer; throws UsageError for an unknown option, a missing or
// malformed value, an option of one value given twice, or a combination that cannot be rendered.
RenderOptions parseRenderOptions(const std::vector<std::string>& args);

// Every option of the two programs, in the order of kalvenor-render --help.
const std::vector<OptionSpec>& commandLineOptions();

// The help text of each program (--version: see versionLine).
std::string windowUsage();
std::string renderUsage();

}  // namespace kalvenor
