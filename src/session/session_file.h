#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "model/logical_model.h"
#include "session/session.h"

namespace kalvenor {

// The format version this viewer writes; it reads this one and the ones before it.
constexpr int kSessionFormatVersion = 1;

// Everything needed to take the steps of a session again and draw its last picture: the input
// files (full paths), the model when it was typed by hand, the colours, what the pictures are
// drawn with, the base height, the contours, the survey line, the view and the picture.
struct SessionDocument {
  std::string sessionFile;  // the file it was read from, named by the messages of its restore
  std::string srs;
  std::string modelFile;
  std::optional<LogicalModel> handModel;  // when there is no model file
  bool modelReady = false;
  std::vector<std::string> boundaryFiles;  // lowest first; "" for one not given yet
  std::string surfaceFile;
  std::vector<std::optional<PackedColor>> unitColors;  // units 1..Nbd+1; none where not chosen
  std::vector<PackedColor> boundaryColors;             // boundaries 1..Nbd
  std::optional<double> zbase;
  MapOptions mapOptions;
  DrawOptions drawOptions;  // line colour, boundary lines, contacts, trace and the last picture
  Annotations annotations;
  ContourSettings contours;
  bool contourLinesWanted = false;
  std::optional<SectionLine> sectionLine;
  ViewValues view;
  PerspectiveValues perspective;
  bool viewApplied = false;
  std::array<double, 2> pan{0.0, 0.0};  // ViewSettings::PanX and PanY
  std::string grid;                     // "map", "section" or "" for the grid of the last build
  double canvasWidth = 0;
  double canvasHeight = 0;
};

// The document of a session whose last picture was drawn on a canvas of the given size.
SessionDocument documentOf(const ViewerState& state, double canvasWidth, double canvasHeight);

// The document as the JSON text of a session file at `sessionPath`: paths of input files are
// written relative to the file's folder where they can be.
std::string sessionFileText(const SessionDocument& document, const std::string& sessionPath);

// Reads a session file; relative paths are taken from the file's folder. Throws SessionError
// "PATH: <problem>" for a file that cannot be read, is no JSON or no session document, has a
// newer format version, a field that is missing or does not hold what its use needs (the
// problem names it: "view.canvas must be two numbers, width and height; found three"), or names
// an input file that does not exist or is no regular file.
SessionDocument readSessionFile(const std::string& path);

// Takes the steps of the document: the inputs, the colours, the options and the grid of the
// last build, and the view for a canvas of the given size. They run on a fresh session first, which
// `session` takes over only when every step succeeded, so a session that cannot be opened changes
// nothing. A step that fails, or lists that do not fit the model file's boundaries and units,
// throw a SessionError that begins with the document's session file.
Warnings restoreSession(Session& session, const SessionDocument& document, double canvasWidth,
                        double canvasHeight);

// Applies the document's view for the canvas and draws its last picture, as the commands that
// made it did.
Warnings drawSessionPicture(Session& session, const SessionDocument& document, Canvas& canvas);

}  // namespace kalvenor
