#include "session/session_file.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "model/input_file.h"

namespace kalvenor {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;

// A problem of the file at `path`, in the one-line form every message of a session file has.
[[noreturn]] void fail(const std::string& path, const std::string& problem) {
  throw SessionError(path + ": " + problem);
}

std::string hexOf(PackedColor color) {
  char text[8];
  std::snprintf(text, sizeof text, "#%02x%02x%02x", redOf(color), greenOf(color), blueOf(color));
  return text;
}

PackedColor colorOf(const std::string& text) {
  unsigned red = 0, green = 0, blue = 0;
  char end = 0;
  if (text.size() != 7 ||
      std::sscanf(text.c_str(), "#%2x%2x%2x%c", &red, &green, &blue, &end) != 3) {
    throw std::invalid_argument("\"" + text + "\" is not a colour #rrggbb");
  }
  return packRgb(static_cast<int>(red), static_cast<int>(green), static_cast<int>(blue));
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

LogicalModel handModelOf(const json& j) {
  LogicalModel m = allocateModel(j.at("boundaries").get<int>());
  const auto units = j.at("unitNames").get<std::vector<std::string>>();
  const auto boundaries = j.at("boundaryNames").get<std::vector<std::string>>();
  const json& cells = j.at("cells");
  if (units.size() != static_cast<std::size_t>(m.unitCount()) ||
      boundaries.size() != static_cast<std::size_t>(m.Nbd) ||
      cells.size() != static_cast<std::size_t>(m.unitCount())) {
    throw std::invalid_argument("the model's names and cells do not fit its number of boundaries");
  }
  for (int i = 1; i <= m.unitCount(); ++i) {
    m.unitName[i] = units[i - 1];
    const auto row = cells.at(i - 1).get<std::vector<std::int16_t>>();
    if (row.size() != static_cast<std::size_t>(m.Nbd)) {
      throw std::invalid_argument("a row of the model's cells does not have one cell a boundary");
    }
    for (int k = 1; k <= m.Nbd; ++k) m.modelCell(i, k) = row[k - 1];
  }
  for (int k = 1; k <= m.Nbd; ++k) m.boundaryName[k] = boundaries[k - 1];
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

SectionLine sectionOf(const json& j) {
  SectionLine line;
  const auto start = j.at("start").get<std::array<double, 2>>();
  line.Xstart = start[0];
  line.Ystart = start[1];
  line.endPointMode = j.contains("end");
  if (line.endPointMode) {
    const auto end = j.at("end").get<std::array<double, 2>>();
    line.Xend = end[0];
    line.Yend = end[1];
  } else {
    line.faiDegrees = j.at("azimuth").get<double>();
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

void readDraw(SessionDocument& d, const json& j) {
  d.mapOptions = {j.at("sideWalls").get<bool>(), j.at("frame").get<bool>(),
                  j.at("frameFourSides").get<bool>()};
  d.drawOptions.DrawBoundary = j.at("boundaryLines").get<bool>() ? 1 : 0;
  d.drawOptions.LineColor = colorOf(j.at("lineColor").get<std::string>());
  const std::string contacts = j.at("contacts").get<std::string>();
  if (contacts != "smooth" && contacts != "cells") {
    throw std::invalid_argument("contacts must be \"smooth\" or \"cells\"");
  }
  d.drawOptions.contacts = contacts == "smooth" ? Contacts::Smooth : Contacts::Cells;
  d.drawOptions.surveyTrace = j.at("surveyTrace").get<bool>();
  d.annotations = {j.at("legend").get<bool>(), j.at("axes").get<bool>(),
                   j.at("title").get<std::string>()};
  const int picture = j.at("picture").get<int>();
  if (picture < 0 || picture > kSurveyLine) throw std::invalid_argument("unknown picture");
  d.drawOptions.DrawMode = static_cast<std::int16_t>(picture);
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

void readView(SessionDocument& d, const json& j) {
  d.view = {j.at("azimuth").get<double>(), j.at("depression").get<double>(),
            j.at("magnification").get<double>(), j.at("exaggeration").get<double>()};
  d.perspective = {j.at("distance").get<double>(), j.at("plane").get<double>()};
  d.viewApplied = j.at("applied").get<bool>();
  const auto canvas = j.at("canvas").get<std::array<double, 2>>();
  d.canvasWidth = canvas[0];
  d.canvasHeight = canvas[1];
  // Sessions saved before the picture could be panned have none.
  if (j.contains("pan")) d.pan = j.at("pan").get<std::array<double, 2>>();
}

json coloursJson(const SessionDocument& d) {
  json units = json::array();
  for (const auto& color : d.unitColors) units.push_back(color ? json(hexOf(*color)) : json());
  json boundaries = json::array();
  for (PackedColor color : d.boundaryColors) boundaries.push_back(hexOf(color));
  return {{"units", units}, {"boundaries", boundaries}};
}

void readColours(SessionDocument& d, const json& j) {
  for (const json& unit : j.at("units")) {
    d.unitColors.push_back(unit.is_null() ? std::nullopt
                                          : std::optional(colorOf(unit.get<std::string>())));
  }
  for (const json& boundary : j.at("boundaries")) {
    d.boundaryColors.push_back(colorOf(boundary.get<std::string>()));
  }
}

// The content of a document whose version has been checked; paths still as written.
SessionDocument documentFrom(const json& j, const fs::path& folder) {
  SessionDocument d;
  d.srs = j.at("coordinateSystem").get<std::string>();
  const json& model = j.at("model");
  if (model.contains("file")) {
    d.modelFile = absolutePath(model.at("file").get<std::string>(), folder);
    d.modelReady = true;
  } else {
    d.handModel = handModelOf(model);
    d.modelReady = model.at("ready").get<bool>();
  }
  for (const json& file : j.at("boundaryFiles")) {
    d.boundaryFiles.push_back(absolutePath(file.get<std::string>(), folder));
  }
  d.surfaceFile = absolutePath(j.at("displaySurface").get<std::string>(), folder);
  readColours(d, j.at("colours"));
  if (!j.at("baseHeight").is_null()) d.zbase = j.at("baseHeight").get<double>();
  readDraw(d, j.at("draw"));
  const json& contours = j.at("contours");
  d.contours = {contours.at("first").get<double>(), contours.at("last").get<double>(),
                contours.at("interval").get<double>()};
  d.contourLinesWanted = contours.at("drawn").get<bool>();
  if (!j.at("section").is_null()) d.sectionLine = sectionOf(j.at("section"));
  readView(d, j.at("view"));
  d.grid = j.at("grid").get<std::string>();
  if (d.grid != "map" && d.grid != "section" && !d.grid.empty()) {
    throw std::invalid_argument("grid must be \"map\", \"section\" or \"\"");
  }
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
  if (!file.empty() && !fs::is_regular_file(file)) {
    fail(sessionPath, "the " + what + " " + file + " does not exist");
  }
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
  if (const auto problem = notAFile(path)) fail(path, *problem);
  std::ifstream in(path, std::ios::binary);
  if (!in) fail(path, "the session file cannot be opened");
  std::stringstream text;
  text << in.rdbuf();
  json j;
  try {
    j = json::parse(text.str());
  } catch (const json::parse_error& error) {
    fail(path, "not a session file: the JSON is malformed (" + reasonOf(error) + ")");
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
  SessionDocument d;
  try {
    d = documentFrom(j, fs::absolute(path).parent_path());
  } catch (const std::exception& error) {
    fail(path, "the session document is incomplete or malformed: " + reasonOf(error));
  }
  requireInputs(path, d);
  return d;
}

Warnings restoreSession(Session& session, const SessionDocument& d, double canvasWidth,
                        double canvasHeight) {
  Session fresh;
  Warnings warnings;
  if (!d.srs.empty()) fresh.setSrs(d.srs);
  if (!d.modelFile.empty()) pass(warnings, fresh.loadModel(d.modelFile));
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
