#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "model/logical_model.h"
#include "session/session.h"

namespace kalvenor {

// The format version this viewer writes; it reads this one and the ones before it. Version 2
// added both grids, the picture's own view and what was drawn over it; version 3 the boreholes;
// version 4 the fence diagram and the map coloured by a thickness or depth. The outputs a
// session names ("outputs") may be left out, so they came without a version of their own.
constexpr int kSessionFormatVersion = 4;

// The last whole picture as it was drawn: its kind, the view and base it was drawn in, and what
// was drawn over it since (or the canvas cleared), in order.
struct SavedPicture {
  PictureKind kind = PictureKind::None;
  ViewValues view;
  PerspectiveValues perspective;
  std::array<double, 2> pan{0.0, 0.0};
  double Zbase = 0.0;
  std::vector<DrawnOver> drawnOver;
};

// Everything needed to take the steps of a session again and draw its last picture: the input
// files (full paths), the model when it was typed by hand, the colours, what the pictures are
// drawn with, the base height, the contours, the survey line and its series, the grids, the view
// and the picture.
struct SessionDocument {
  std::string sessionFile;  // the file it was read from, named by the messages of its restore
  std::string srs;
  std::string modelFile;
  std::optional<LogicalModel> handModel;  // when there is no model file
  bool modelReady = false;
  std::vector<std::string> boundaryFiles;  // lowest first; "" for one not given yet
  std::string surfaceFile;
  BoreholeFiles boreholeFiles;  // full paths
  BoreholeDrawing boreholeDrawing;
  std::string geologyMapFile;                          // full path; "" for none
  std::vector<std::optional<PackedColor>> unitColors;  // units 1..Nbd+1; none where not chosen
  std::vector<PackedColor> boundaryColors;             // boundaries 1..Nbd
  std::optional<double> zbase;
  MapOptions mapOptions;
  DrawOptions drawOptions;  // line colour, boundary lines, contacts, trace and the last picture
  Annotations annotations;
  std::optional<MapValue> mapValue;  // the map coloured by a value instead of the units
  ContourSettings contours;
  bool contourLinesWanted = false;
  std::optional<SectionLine> sectionLine;
  std::vector<FenceLine> fenceLines;  // the fence diagram's lines, built with the map's walls
  bool fenceCut = false;
  SectionSeries sectionSeries;  // a file may leave it out: the survey line's section alone
  ViewValues view;
  PerspectiveValues perspective;
  bool viewApplied = false;
  std::array<double, 2> pan{0.0, 0.0};  // ViewSettings::PanX and PanY
  std::string grid;                     // "map", "section" or "" for the grid of the last build
  bool mapGrid = false;                 // the grids kept
  bool sectionGrid = false;             // (the survey line is the section's)
  SavedPicture picture;
  double canvasWidth = 0;
  double canvasHeight = 0;
};

// The sides of a picture kalvenor-render draws, and of a saved picture's canvas, in pixels.
constexpr int kMinPictureSide = 16;
constexpr int kMaxPictureSide = 16384;

// Why the lists that hold one entry for each boundary or unit (the boundary files, the colours)
// do not fit `model` (`name` says which), or nothing when they do; without a model they must be
// empty.
std::optional<std::string> listCountProblem(const SessionDocument& document,
                                            const LogicalModel* model, const std::string& name);

// The document as the JSON text of a session file at `sessionPath`: paths of input files are
// written relative to the file's folder where they can be.
std::string sessionFileText(const SessionDocument& document, const std::string& sessionPath);

// Reads a session file, of this format version or an earlier one; relative paths are taken from
// the file's folder. Throws SessionError
// "PATH: <problem>" for a file that cannot be read, is no JSON or no session document, has a
// newer format version, a field that is missing or does not hold what its use needs (the
// problem names it: "view.canvas must be two numbers, width and height; found three"), or names
// an input file that does not exist or is no regular file.
SessionDocument readSessionFile(const std::string& path);

}  // namespace kalvenor
