#include "session/session_file.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <limits>
#include <nlohmann/json.hpp>
#include <sstream>

#include "model/coordinate_system.h"
#include "model/display_surface.h"
#include "model/number_text.h"
#include "model/read_error.h"
#include "render/view_limits.h"
#include "session/command_line.h"
#include "session/document_field.h"

namespace kalvenor {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;
using Range = DocumentField::Range;

// Far beyond any name a legend shows, but short enough that no file can make its layout run for
// minutes.
constexpr std::size_t kMaxNameCharacters = 1000;
// Far beyond the longest WKT of a coordinate system.
constexpr std::size_t kMaxSystemCharacters = 65536;

// A problem of the file at `path`, in the one-line form every message of a session file has.
[[noreturn]] void fail(const std::string& path, const std::string& problem) {
  throw SessionError(path + ": " + problem);
}

std::string hexOf(PackedColor color) {
  char text[8];
  std::snprintf(text, sizeof text, "#%02x%02x%02x", redOf(color), greenOf(color), blueOf(color));
  return text;
}

// Relative when the file shares more than the root with the session's folder, so that a folder
// moved with its session keeps working while a file on another tree keeps its full path.
std::string relativePath(const std::string& file, const fs::path& folder) {
  if (file.empty()) return file;
  const fs::path path(file);
  const auto top = [](const fs::path& p) { return std::next(p.begin()); };
  if (!path.is_absolute() || std::distance(path.begin(), path.end()) < 2 ||
      std::distance(folder.begin(), folder.end()) < 2 || *top(path) != *top(folder)) {
    return file;
  }
  const fs::path relative = path.lexically_relative(folder);
  return relative.empty() ? file : relative.generic_string();
}

std::string absolutePath(const std::string& file, const fs::path& folder) {
  if (file.empty()) return file;
  return (folder / fs::path(file)).lexically_normal().string();
}

json modelJson(const SessionDocument& d, const fs::path& folder) {
  if (!d.handModel) return {{"file", relativePath(d.modelFile, folder)}};
  const LogicalModel& m = *d.handModel;
  json cells = json::array();
  for (int i = 1; i <= m.unitCount(); ++i) {
    json row = json::array();
    for (int k = 1; k <= m.Nbd; ++k) row.push_back(m.modelCell(i, k));
    cells.push_back(row);
  }
  return {{"boundaries", m.Nbd},
          {"unitNames", json(std::vector<std::string>(m.unitName.begin() + 1, m.unitName.end()))},
          {"boundaryNames",
           json(std::vector<std::string>(m.boundaryName.begin() + 1, m.boundaryName.end()))},
          {"cells", cells},
          {"ready", d.modelReady}};
}

// "a list of three names, one for each unit"
std::string listOf(int count, const std::string& singular, const std::string& plural,
                   const std::string& each) {
  return "a list of " + countInWords(static_cast<std::size_t>(count)) + " " +
         (count == 1 ? singular : plural) + ", one for each " + each;
}

LogicalModel handModelOf(const DocumentField& j) {
  LogicalModel m = allocateModel(j["boundaries"].whole(0, kMaxBoundaries));
  const int units = m.unitCount();
  const auto unitNames = j["unitNames"].items(units, listOf(units, "name", "names", "unit"));
  const auto boundaryNames =
      j["boundaryNames"].items(m.Nbd, listOf(m.Nbd, "name", "names", "boundary"));
  const auto rows = j["cells"].items(units, listOf(units, "row", "rows", "unit"));
  for (int i = 1; i <= units; ++i) {
    m.unitName[i] = unitNames[i - 1].line(kMaxNameCharacters);
    const auto cells = rows[i - 1].items(m.Nbd, listOf(m.Nbd, "cell", "cells", "boundary"));
    // Cells hold what a model file holds: -1 below, 0 either side, +1 above, and any other
    // 16-bit number, which no point satisfies.
    for (int k = 1; k <= m.Nbd; ++k) {
      m.modelCell(i, k) = static_cast<std::int16_t>(cells[k - 1].whole(
          std::numeric_limits<std::int16_t>::min(), std::numeric_limits<std::int16_t>::max()));
    }
  }
  for (int k = 1; k <= m.Nbd; ++k) {
    m.boundaryName[k] = boundaryNames[k - 1].line(kMaxNameCharacters);
  }
  return m;
}

json sectionJson(const SectionLine& line) {
  json j = {{"start", {line.Xstart, line.Ystart}}};
  if (line.endPointMode) {
    j["end"] = {line.Xend, line.Yend};
  } else {
    j["azimuth"] = line.faiDegrees;
  }
  return j;
}

std::array<double, 2> pointOf(const DocumentField& j, const std::string& what) {
  const auto xy = j.items(2, what);
  return {xy[0].number(), xy[1].number()};
}

SectionLine sectionOf(const DocumentField& j) {
  SectionLine line;
  const auto start = pointOf(j["start"], "two numbers, x and y");
  line.Xstart = start[0];
  line.Ystart = start[1];
  line.endPointMode = j.has("end");
  if (line.endPointMode == j.has("azimuth")) {
    j.fail(line.endPointMode ? "must hold an end point or an azimuth, not both"
                             : "must hold an end point or an azimuth");
  }
  if (line.endPointMode) {
    const auto end = pointOf(j["end"], "two numbers, x and y");
    line.Xend = end[0];
    line.Yend = end[1];
  } else {
    line.faiDegrees = j["azimuth"].number();
  }
  return line;
}

json drawJson(const SessionDocument& d) {
  return {{"sideWalls", d.mapOptions.sideWalls},
          {"frame", d.mapOptions.frame},
          {"frameFourSides", d.mapOptions.frameFourSides},
          {"boundaryLines", d.drawOptions.DrawBoundary != 0},
          {"lineColor", hexOf(d.drawOptions.LineColor)},
          {"contacts", d.drawOptions.contacts == Contacts::Smooth ? "smooth" : "cells"},
          {"surveyTrace", d.drawOptions.surveyTrace},
          {"legend", d.annotations.legend},
          {"axes", d.annotations.axes},
          {"title", d.annotations.title},
          {"picture", d.drawOptions.DrawMode}};
}

void readDraw(SessionDocument& d, const DocumentField& j) {
  d.mapOptions = {j["sideWalls"].flag(), j["frame"].flag(), j["frameFourSides"].flag()};
  d.drawOptions.DrawBoundary = j["boundaryLines"].flag() ? 1 : 0;
  d.drawOptions.LineColor = j["lineColor"].color();
  d.drawOptions.contacts =
      j["contacts"].choice({"smooth", "cells"}) == "smooth" ? Contacts::Smooth : Contacts::Cells;
  d.drawOptions.surveyTrace = j["surveyTrace"].flag();
  d.annotations = {j["legend"].flag(), j["axes"].flag(), j["title"].line(kMaxTitleCharacters)};
  d.drawOptions.DrawMode = static_cast<std::int16_t>(j["picture"].whole(0, kSurveyLine));
}

json viewJson(const SessionDocument& d) {
  return {{"azimuth", d.view.Alpha},
          {"depression", d.view.Gamma},
          {"magnification", d.view.Sca},
          {"exaggeration", d.view.Ve},
          {"distance", d.perspective.Dist},
          {"plane", d.perspective.Ppz},
          {"applied", d.viewApplied},
          {"canvas", {d.canvasWidth, d.canvasHeight}},
          {"pan", d.pan}};
}

// A view that was applied is applied again, so it must make a picture as it did; the values of
// one that was not are only kept.
void readView(SessionDocument& d, const DocumentField& j) {
  d.viewApplied = j["applied"].flag();
  const Range any = DocumentField::kAnyNumber;
  const Range factor = d.viewApplied ? Range{0, kMaxViewFactor, true} : any;
  const Range distance = d.viewApplied ? Range{0, any.high, true} : any;
  d.view = {j["azimuth"].number(), j["depression"].number(), j["magnification"].number(factor),
            j["exaggeration"].number(factor)};
  d.perspective = {j["distance"].number(distance), j["plane"].number()};
  const PerspectiveValues& p = d.perspective;
  if (d.viewApplied && p.Dist != kParallelDist && !(p.Ppz < p.Dist)) {
    j["plane"].fail("must lie between the view centre and the eye, below the distance " +
                    numberText(p.Dist) + "; found " + numberText(p.Ppz));
  }
  const auto canvas = j["canvas"].items(2, "two numbers, width and height");
  d.canvasWidth = canvas[0].whole(1, kMaxPictureSide);
  d.canvasHeight = canvas[1].whole(1, kMaxPictureSide);
  // Sessions saved before the picture could be panned have none.
  if (j.has("pan")) d.pan = pointOf(j["pan"], "two numbers, east and north");
}

json coloursJson(const SessionDocument& d) {
  json units = json::array();
  for (const auto& color : d.unitColors) units.push_back(color ? json(hexOf(*color)) : json());
  json boundaries = json::array();
  for (PackedColor color : d.boundaryColors) boundaries.push_back(hexOf(color));
  return {{"units", units}, {"boundaries", boundaries}};
}

void readColours(SessionDocument& d, const DocumentField& j) {
  for (const DocumentField& unit : j["units"].items()) {
    d.unitColors.push_back(unit.isNull() ? std::nullopt : std::optional(unit.color()));
  }
  for (const DocumentField& boundary : j["boundaries"].items()) {
    d.boundaryColors.push_back(boundary.color());
  }
}

// Why the lists that hold one entry for each boundary or unit do not fit `model` (`name` says
// which), or nothing when they do; without a model they must be empty.
std::optional<std::string> countProblem(const SessionDocument& d, const LogicalModel* model,
                                        const std::string& name) {
  struct List {
    const char* place;
    std::size_t found;
    int wanted;
    const char *entry, *entries, *each;
  };
  const int n = model ? model->Nbd : 0;
  const List lists[] = {
      {"boundaryFiles", d.boundaryFiles.size(), n, "file name", "file names", "boundary"},
      {"colours.units", d.unitColors.size(), n + 1, "colour", "colours", "unit"},
      {"colours.boundaries", d.boundaryColors.size(), n, "colour", "colours", "boundary"}};
  for (const List& list : lists) {
    if (list.found == (model ? static_cast<std::size_t>(list.wanted) : 0)) continue;
    const std::string wanted =
        model ? listOf(list.wanted, list.entry, list.entries, list.each) + " of " + name
              : "an empty list, as the session has no model";
    return std::string(list.place) + " must be " + wanted + "; found " + countInWords(list.found);
  }
  return std::nullopt;
}

// The coordinate system is checked as --srs is, before any file is read.
std::string systemOf(const DocumentField& j) {
  const std::string text = j.text(kMaxSystemCharacters);
  if (text.empty()) return text;
  try {
    projectedSystemWkt(text);
  } catch (const CoordinateSystemError& error) {
    j.fail(quotedFound(text) + " cannot be used: " + error.what());
  }
  return text;
}

// The content of a document whose version has been checked, every field in the range its use
// needs; the lists that follow a model file's size are checked once it is read.
SessionDocument documentFrom(const DocumentField& j, const std::string& path) {
  const fs::path folder = fs::absolute(path).parent_path();
  SessionDocument d;
  d.sessionFile = path;
  d.srs = systemOf(j["coordinateSystem"]);
  const DocumentField model = j["model"];
  if (model.has("file")) {
    d.modelFile = absolutePath(model["file"].fileName(), folder);
    d.modelReady = true;
  } else {
    d.handModel = handModelOf(model);
    d.modelReady = model["ready"].flag();
  }
  for (const DocumentField& file : j["boundaryFiles"].items()) {
    d.boundaryFiles.push_back(absolutePath(file.fileName(), folder));
  }
  d.surfaceFile = absolutePath(j["displaySurface"].fileName(), folder);
  readColours(d, j["colours"]);
  if (d.modelFile.empty()) {
    const LogicalModel* hand = d.handModel ? &*d.handModel : nullptr;
    if (auto problem = countProblem(d, hand, "the model")) fail(path, *problem);
  }
  if (!j["baseHeight"].isNull()) d.zbase = j["baseHeight"].number();
  readDraw(d, j["draw"]);
  const DocumentField contours = j["contours"];
  d.contours = {contours["first"].number(), contours["last"].number(),
                contours["interval"].number()};
  d.contourLinesWanted = contours["drawn"].flag();
  if (!j["section"].isNull()) d.sectionLine = sectionOf(j["section"]);
  readView(d, j["view"]);
  d.grid = j["grid"].choice({"map", "section", ""});
  return d;
}

// nlohmann's messages begin with "[json.exception.type_error.302] "; the rest is the reason.
std::string reasonOf(const std::exception& error) {
  const std::string text = error.what();
  const std::size_t bracket = text.find("] ");
  return text.rfind("[json.", 0) == 0 && bracket != std::string::npos ? text.substr(bracket + 2)
                                                                      : text;
}

void requireFile(const std::string& sessionPath, const std::string& file, const std::string& what) {
  std::error_code error;
  const fs::file_status status = fs::status(file, error);
  if (file.empty() || fs::is_regular_file(status)) return;
  const std::string problem = !fs::exists(status)        ? "does not exist"
                              : fs::is_directory(status) ? "is a folder, not a file"
                                                         : "is not a regular file";
  fail(sessionPath, "the " + what + " " + file + " " + problem);
}

void requireInputs(const std::string& path, const SessionDocument& d) {
  requireFile(path, d.modelFile, "model file");
  for (std::size_t k = 0; k < d.boundaryFiles.size(); ++k) {
    requireFile(path, d.boundaryFiles[k], "file of boundary " + std::to_string(k + 1));
  }
  requireFile(path, d.surfaceFile, "display surface");
}

void pass(Warnings& into, const Warnings& warnings) {
  into.insert(into.end(), warnings.begin(), warnings.end());
}

// Whether the last picture was drawn on the section grid; a map picture needs the map grid,
// whichever grid was built last.
bool sectionPicture(const SessionDocument& d) {
  const std::int16_t mode = d.drawOptions.DrawMode;
  return mode == kSectionPicture || (d.grid == "section" && (mode == kGridLines || mode == 0));
}

TypedView typedView(const SessionDocument& d) {
  return {d.view.Alpha, d.view.Gamma,       d.view.Sca,       d.view.Ve,
          {},           d.perspective.Dist, d.perspective.Ppz};
}

}  // namespace

SessionDocument documentOf(const ViewerState& s, double canvasWidth, double canvasHeight) {
  SessionDocument d;
  d.srs = s.srsGiven;
  d.modelFile = s.modelFile;
  if (s.modelFile.empty() && !s.unitColor.empty()) d.handModel = s.model;
  d.modelReady = s.progress.modelReady();
  if (!s.boundaryFile.empty())
    d.boundaryFiles.assign(s.boundaryFile.begin() + 1, s.boundaryFile.end());
  d.surfaceFile = s.displayFile;
  for (std::size_t unit = 1; unit < s.unitColor.size(); ++unit) {
    d.unitColors.push_back(s.unitColorChosen[unit] ? std::optional(s.unitColor[unit])
                                                   : std::nullopt);
  }
  if (!s.boundaryColor.empty()) {
    d.boundaryColors.assign(s.boundaryColor.begin() + 1, s.boundaryColor.end());
  }
  if (s.display.loaded()) d.zbase = s.Zbase;
  d.mapOptions = s.mapOptions;
  d.drawOptions = s.drawOptions;
  d.annotations = s.annotations;
  d.contours = s.contours;
  d.contourLinesWanted = s.contourLinesWanted;
  if (s.section.Nxy > 0) d.sectionLine = s.sectionLine;
  d.view = {s.view.Alpha, s.view.Gamma, s.view.Sca, s.view.Ve};
  d.perspective = {s.view.Dist, s.view.Ppz};
  d.viewApplied = s.progress.viewReady();
  d.pan = {s.view.PanX, s.view.PanY};
  if (!s.gridOutOfDate) {
    d.grid = s.progress.sectionGrid() == GridState::Current ? "section" : "map";
  }
  d.canvasWidth = canvasWidth;
  d.canvasHeight = canvasHeight;
  return d;
}

std::string sessionFileText(const SessionDocument& d, const std::string& sessionPath) {
  const fs::path folder = fs::absolute(sessionPath).parent_path();
  json boundaries = json::array();
  for (const std::string& file : d.boundaryFiles) boundaries.push_back(relativePath(file, folder));
  const json j = {
      {"format", "kalvenor session"},
      {"version", kSessionFormatVersion},
      {"coordinateSystem", d.srs},
      {"model", modelJson(d, folder)},
      {"boundaryFiles", boundaries},
      {"displaySurface", relativePath(d.surfaceFile, folder)},
      {"colours", coloursJson(d)},
      {"baseHeight", d.zbase ? json(*d.zbase) : json()},
      {"draw", drawJson(d)},
      {"contours",
       {{"first", d.contours.Cst},
        {"last", d.contours.Cen},
        {"interval", d.contours.Cin},
        {"drawn", d.contourLinesWanted}}},
      {"section", d.sectionLine ? sectionJson(*d.sectionLine) : json()},
      {"view", viewJson(d)},
      {"grid", d.grid},
  };
  return j.dump(2) + "\n";
}

SessionDocument readSessionFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) fail(path, "the session file cannot be opened");
  std::stringstream text;
  text << in.rdbuf();
  json j;
  try {
    j = json::parse(text.str());
  } catch (const json::parse_error& error) {
    fail(path, "not a session file: the JSON is malformed (" + reasonOf(error) + ")");
  } catch (const json::out_of_range& error) {
    fail(path, "a number is too large to be read (" + reasonOf(error) + ")");
  }
  if (!j.is_object() || j.value("format", json()) != "kalvenor session") {
    fail(path, "not a session file of this viewer (no \"format\": \"kalvenor session\")");
  }
  const json version = j.value("version", json());
  if (!version.is_number_integer() || version.get<int>() < 1) {
    fail(path, "the session's format version is missing or not a whole number from 1");
  }
  if (version.get<int>() > kSessionFormatVersion) {
    fail(path, "the session was written by a newer viewer (format version " +
                   std::to_string(version.get<int>()) + "; this one reads up to " +
                   std::to_string(kSessionFormatVersion) + ")");
  }
  const SessionDocument d = documentFrom(DocumentField(j, path), path);
  requireInputs(path, d);
  return d;
}

namespace {

// The steps of restoreSession on `fresh`; a problem of the document or a step throws.
Warnings takeSteps(Session& fresh, const SessionDocument& d, double canvasWidth,
                   double canvasHeight) {
  Warnings warnings;
  if (!d.srs.empty()) fresh.setSrs(d.srs);
  if (!d.modelFile.empty()) {
    pass(warnings, fresh.loadModel(d.modelFile));
    if (auto problem = countProblem(d, &fresh.state().model, "the model " + d.modelFile)) {
      throw SessionError(*problem);
    }
  }
  if (d.handModel) pass(warnings, fresh.enterModel(*d.handModel, d.modelReady));
  for (std::size_t k = 0; k < d.boundaryFiles.size(); ++k) {
    if (!d.boundaryFiles[k].empty()) {
      pass(warnings, fresh.setBoundaryFile(static_cast<int>(k) + 1, d.boundaryFiles[k]));
    }
  }
  for (std::size_t unit = 0; unit < d.unitColors.size(); ++unit) {
    if (d.unitColors[unit]) fresh.setUnitColor(static_cast<int>(unit) + 1, *d.unitColors[unit]);
  }
  for (std::size_t k = 0; k < d.boundaryColors.size(); ++k) {
    fresh.setBoundaryColor(static_cast<int>(k) + 1, d.boundaryColors[k]);
  }
  if (!d.surfaceFile.empty()) pass(warnings, fresh.loadDisplaySurface(d.surfaceFile));
  if (d.zbase) fresh.setZbase(*d.zbase);
  fresh.setMapOptions(d.mapOptions);
  fresh.setBoundaryLines(d.drawOptions.DrawBoundary != 0);
  fresh.setLineColor(d.drawOptions.LineColor);
  fresh.setAnnotations(d.annotations);
  fresh.setContacts(d.drawOptions.contacts);
  fresh.setSurveyTrace(d.drawOptions.surveyTrace);
  fresh.setContours({d.contours.Cst, d.contours.Cen, d.contours.Cin, d.contourLinesWanted});
  if (sectionPicture(d) && d.sectionLine) {
    pass(warnings, fresh.buildSectionGrid(*d.sectionLine));
  } else if (!d.grid.empty()) {
    pass(warnings, fresh.buildMapGrid());
  }
  fresh.setPan(d.pan[0], d.pan[1]);
  if (d.viewApplied && fresh.state().display.loaded()) {
    fresh.applyView(typedView(d), canvasWidth, canvasHeight);
    // The picture is drawn once the session has been taken over: a base it cannot be drawn with
    // is refused while nothing has changed.
    const ViewerState& s = fresh.state();
    const auto problem = baseProblem(s.Zbase, s.display);
    if (d.drawOptions.DrawMode != 0 && problem) throw SessionError("baseHeight: " + *problem);
  }
  return warnings;
}

}  // namespace

Warnings restoreSession(Session& session, const SessionDocument& d, double canvasWidth,
                        double canvasHeight) {
  Session fresh;
  Warnings warnings;
  try {
    warnings = takeSteps(fresh, d, canvasWidth, canvasHeight);
  } catch (const std::bad_alloc&) {
    throw;
  } catch (const std::exception& error) {
    // The step's own message names the input at fault; the session file says where it came from.
    if (d.sessionFile.empty()) throw;
    fail(d.sessionFile, error.what());
  }
  session.replaceWith(fresh);
  return warnings;
}

Warnings drawSessionPicture(Session& session, const SessionDocument& d, Canvas& canvas) {
  Warnings warnings;
  if (!d.viewApplied || !session.state().display.loaded()) return warnings;
  session.applyView(typedView(d), canvas.width(), canvas.height());
  const std::int16_t mode = d.drawOptions.DrawMode;
  if (mode == 0) return warnings;
  if (sectionPicture(d)) {
    session.drawSection(canvas);
    if (mode == kGridLines) pass(warnings, session.drawGridLines(canvas));
    return warnings;
  }
  pass(warnings, session.drawGeoMap(canvas));
  if (mode == kContourMap) pass(warnings, session.drawContourMap(canvas));
  if (mode == kGridLines) pass(warnings, session.drawGridLines(canvas));
  // A section built after the map was drawn: its grid and, when it was marked, its line.
  if (d.grid == "section" && d.sectionLine) {
    pass(warnings, session.buildSectionGrid(*d.sectionLine));
    if (mode == kSurveyLine) session.drawSurveyLine(canvas);
  }
  return warnings;
}

}  // namespace kalvenor
