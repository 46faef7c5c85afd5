#include "session/session_file.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <limits>
#include <nlohmann/json.hpp>
#include <sstream>

#include "model/coordinate_system.h"
#include "model/display_surface.h"
#include "model/grid_surface.h"
#include "model/input_file.h"
#include "model/message_text.h"
#include "model/number_text.h"
#include "model/read_error.h"
#include "render/view_limits.h"
#include "session/document_field.h"

namespace kalvenor {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;
using Range = DocumentField::Range;

// Far beyond any name a legend shows, but short enough that no file can make its layout run for
// minutes.
constexpr std::size_t kMaxNameCharacters = 1000;
// A file name and the name of its line, as messages name where a survey line was read.
constexpr std::size_t kMaxLineFileCharacters = 8192;
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
  if (file.empty() || hasGdalPrefix(file)) return file;
  const fs::path path(file);
  const auto top = [](const fs::path& p) { return std::next(p.begin()); };
  if (!path.is_absolute() || std::distance(path.begin(), path.end()) < 2 ||
      std::distance(folder.begin(), folder.end()) < 2 || *top(path) != *top(folder)) {
    return file;
  }
  const fs::path relative = path.lexically_relative(folder);
  return relative.empty() ? file : relative.generic_string();
}

// A name only GDAL resolves is kept as it was written.
std::string absolutePath(const std::string& file, const fs::path& folder) {
  if (file.empty() || hasGdalPrefix(file)) return file;
  return (folder / fs::path(file)).lexically_normal().string();
}

json boreholesJson(const SessionDocument& d, const fs::path& folder) {
  const BoreholeFiles& f = d.boreholeFiles;
  const BoreholeDrawing& drawing = d.boreholeDrawing;
  return {{"collars", relativePath(f.collars, folder)},
          {"surveys", relativePath(f.surveys, folder)},
          {"intervals", relativePath(f.intervals, folder)},
          {"table", relativePath(f.oneTable, folder)},
          {"unitCodes", relativePath(f.unitCodes, folder)},
          {"buffer", drawing.buffer ? json(*drawing.buffer) : json()},
          {"labels", drawing.labels},
          {"residuals", drawing.residuals}};
}

// The borehole tables and how they are drawn; a document before version 3 has none.
void readBoreholes(SessionDocument& d, const DocumentField& j, const fs::path& folder) {
  const auto file = [&](const char* key) { return absolutePath(j[key].fileName(), folder); };
  d.boreholeFiles = {file("collars"), file("surveys"), file("intervals"), file("table"),
                     file("unitCodes")};
  if (!j["buffer"].isNull()) {
    d.boreholeDrawing.buffer = j["buffer"].number({0, 1e9, true});
  }
  d.boreholeDrawing.labels = j["labels"].flag();
  d.boreholeDrawing.residuals = j["residuals"].flag();
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

// The pattern translatedCount chose for `count`, with the count in words ("a list of three
// names, one for each unit") and `of`, the model the list follows, where the pattern names one.
std::string listOf(int count, const char* pattern, const std::string& of = {}) {
  return fill(pattern, {countInWords(static_cast<std::size_t>(count)), of});
}

unsigned long countOf(int count) { return static_cast<unsigned long>(count); }

LogicalModel handModelOf(const DocumentField& j) {
  LogicalModel m = allocateModel(j["boundaries"].whole(0, kMaxBoundaries));
  const int units = m.unitCount();
  const auto unitNames = j["unitNames"].items(
      units,
      listOf(units, translatedCount("a list of {1} name, one for each unit",
                                    "a list of {1} names, one for each unit", countOf(units))));
  const auto boundaryNames = j["boundaryNames"].items(
      m.Nbd,
      listOf(m.Nbd, translatedCount("a list of {1} name, one for each boundary",
                                    "a list of {1} names, one for each boundary", countOf(m.Nbd))));
  const auto rows = j["cells"].items(
      units,
      listOf(units, translatedCount("a list of {1} row, one for each unit",
                                    "a list of {1} rows, one for each unit", countOf(units))));
  for (int i = 1; i <= units; ++i) {
    m.unitName[i] = unitNames[i - 1].line(kMaxNameCharacters);
    const auto cells = rows[i - 1].items(
        m.Nbd, listOf(m.Nbd, translatedCount("a list of {1} cell, one for each boundary",
                                             "a list of {1} cells, one for each boundary",
                                             countOf(m.Nbd))));
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
  if (!line.vertices.empty()) {
    json vertices = json::array();
    for (const SurveyVertex& v : line.vertices) vertices.push_back({v.x, v.y});
    json j = {{"vertices", vertices}};
    if (!line.vertexNames.empty()) j["vertexNames"] = line.vertexNames;
    if (!line.origin.empty()) j["lineFile"] = line.origin;
    return j;
  }
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

// A polyline: its vertices, at least two, with their names and the line file they were read
// from where a file gave them. The file is named for messages only: the vertices are the line,
// so a session opens without it.
SectionLine polylineOf(const DocumentField& j) {
  if (j.has("start") || j.has("end") || j.has("azimuth")) {
    j.fail(translated("must hold vertices or a start point, not both"));
  }
  const std::vector<DocumentField> items = j["vertices"].items();
  if (items.size() < 2) j["vertices"].fail(translated("must hold at least two vertices"));
  SectionLine line;
  for (const DocumentField& item : items) {
    const auto xy = pointOf(item, translated("two numbers, x and y"));
    line.vertices.push_back({xy[0], xy[1]});
  }
  if (j.has("vertexNames")) {
    for (const DocumentField& name :
         j["vertexNames"].items(items.size(), translated("a list of names, one for each vertex"))) {
      line.vertexNames.push_back(name.line(kMaxNameCharacters));
    }
  }
  if (j.has("lineFile")) line.origin = j["lineFile"].line(kMaxLineFileCharacters);
  return line;
}

json seriesJson(const SectionSeries& series) {
  return {{"count", series.count}, {"spacing", series.spacing}};
}

SectionSeries seriesOf(const DocumentField& j) {
  const SectionSeries series{j["count"].whole(1, kMaxSeriesSections), j["spacing"].number()};
  if (seriesProblem(series))
    j["spacing"].fail(translated("cannot be 0 with more than one section"));
  return series;
}

SectionLine sectionOf(const DocumentField& j) {
  if (j.has("vertices")) return polylineOf(j);
  SectionLine line;
  const auto start = pointOf(j["start"], translated("two numbers, x and y"));
  line.Xstart = start[0];
  line.Ystart = start[1];
  line.endPointMode = j.has("end");
  if (line.endPointMode == j.has("azimuth")) {
    j.fail(line.endPointMode ? translated("must hold an end point or an azimuth, not both")
                             : translated("must hold an end point or an azimuth"));
  }
  if (line.endPointMode) {
    const auto end = pointOf(j["end"], translated("two numbers, x and y"));
    line.Xend = end[0];
    line.Yend = end[1];
  } else {
    line.faiDegrees = j["azimuth"].number();
  }
  return line;
}

json shadingJson(const ReliefShading& shading) {
  return {{"on", shading.on},
          {"azimuth", shading.azimuth},
          {"altitude", shading.altitude},
          {"strength", shading.strength}};
}

ReliefShading shadingOf(const DocumentField& j) {
  return {j["on"].flag(), j["azimuth"].number(), j["altitude"].number({0, 90}),
          j["strength"].number({0, 1})};
}

json fenceJson(const SessionDocument& d) {
  json lines = json::array();
  for (const FenceLine& line : d.fenceLines) {
    json vertices = json::array();
    for (const SurveyVertex& v : line.vertices) vertices.push_back({v.x, v.y});
    lines.push_back({{"name", line.name}, {"vertices", vertices}});
  }
  return {{"lines", lines}, {"cut", d.fenceCut}};
}

// Every line of at least two vertices; whether they make panels is up to the build.
void readFence(SessionDocument& d, const DocumentField& j) {
  for (const DocumentField& item : j["lines"].items()) {
    FenceLine line{item["name"].line(kMaxNameCharacters), {}};
    const std::vector<DocumentField> vertices = item["vertices"].items();
    if (vertices.size() < 2) item["vertices"].fail(translated("must hold at least two vertices"));
    for (const DocumentField& vertex : vertices) {
      const auto xy = pointOf(vertex, translated("two numbers, x and y"));
      line.vertices.push_back({xy[0], xy[1]});
    }
    d.fenceLines.push_back(std::move(line));
  }
  d.fenceCut = j["cut"].flag();
}

json drawJson(const SessionDocument& d) {
  json draw = {{"sideWalls", d.mapOptions.sideWalls},
               {"frame", d.mapOptions.frame},
               {"frameFourSides", d.mapOptions.frameFourSides},
               {"boundaryLines", d.drawOptions.DrawBoundary},
               {"lineColor", hexOf(d.drawOptions.LineColor)},
               {"contacts", d.drawOptions.contacts == Contacts::Smooth ? "smooth" : "cells"},
               {"surveyTrace", d.drawOptions.surveyTrace},
               {"shading", shadingJson(d.drawOptions.shading)},
               {"legend", d.annotations.legend},
               {"axes", d.annotations.axes},
               {"title", d.annotations.title},
               {"picture", static_cast<int>(d.drawOptions.DrawMode)}};
  if (d.mapValue) {
    draw["mapOf"] = {{"kind", d.mapValue->kind == MapValueKind::Thickness ? "thickness" : "depth"},
                     {"name", d.mapValue->name}};
  }
  return draw;
}

void readDraw(SessionDocument& d, const DocumentField& j) {
  d.mapOptions = {j["sideWalls"].flag(), j["frame"].flag(), j["frameFourSides"].flag()};
  d.drawOptions.DrawBoundary = j["boundaryLines"].flag();
  d.drawOptions.LineColor = j["lineColor"].color();
  d.drawOptions.contacts =
      j["contacts"].choice({"smooth", "cells"}) == "smooth" ? Contacts::Smooth : Contacts::Cells;
  d.drawOptions.surveyTrace = j["surveyTrace"].flag();
  // Sessions saved before the relief could be shaded have none.
  if (j.has("shading")) d.drawOptions.shading = shadingOf(j["shading"]);
  d.annotations = {j["legend"].flag(), j["axes"].flag(), j["title"].line(kMaxTitleCharacters)};
  constexpr int kLastMode = static_cast<int>(DrawingMode::SurveyLine);
  d.drawOptions.DrawMode = static_cast<DrawingMode>(j["picture"].whole(0, kLastMode));
  if (j.has("mapOf")) {
    const DocumentField mapOf = j["mapOf"];
    const bool thickness = mapOf["kind"].choice({"thickness", "depth"}) == "thickness";
    d.mapValue = MapValue{thickness ? MapValueKind::Thickness : MapValueKind::Depth,
                          mapOf["name"].line(kMaxNameCharacters)};
  }
}

json viewValuesJson(const ViewValues& v, const PerspectiveValues& p,
                    const std::array<double, 2>& pan) {
  return {{"azimuth", v.Alpha},
          {"depression", v.Gamma},
          {"magnification", v.Sca},
          {"exaggeration", v.Ve},
          {"distance", p.Dist},
          {"plane", p.Ppz},
          {"pan", pan}};
}

json viewJson(const SessionDocument& d) {
  json j = viewValuesJson(d.view, d.perspective, d.pan);
  j["applied"] = d.viewApplied;
  j["canvas"] = {d.canvasWidth, d.canvasHeight};
  return j;
}

// A view that is applied again must make a picture as it did; the values of one that was not
// applied are only kept.
void readViewValues(const DocumentField& j, bool applied, ViewValues& view,
                    PerspectiveValues& perspective, std::array<double, 2>& pan) {
  const Range any = DocumentField::kAnyNumber;
  const Range factor = applied ? Range{0, kMaxViewFactor, true} : any;
  const Range distance = applied ? Range{0, any.high, true} : any;
  view = {j["azimuth"].number(), j["depression"].number(), j["magnification"].number(factor),
          j["exaggeration"].number(factor)};
  perspective = {j["distance"].number(distance), j["plane"].number()};
  const PerspectiveValues& p = perspective;
  if (applied && p.Dist != kParallelDist && !(p.Ppz < p.Dist)) {
    j["plane"].fail(fill(translated("must lie between the view centre and the eye, below the "
                                    "distance {1}; found {2}"),
                         {numberText(p.Dist), numberText(p.Ppz)}));
  }
  // Sessions saved before the picture could be panned have none.
  if (j.has("pan")) pan = pointOf(j["pan"], translated("two numbers, east and north"));
}

void readView(SessionDocument& d, const DocumentField& j) {
  d.viewApplied = j["applied"].flag();
  readViewValues(j, d.viewApplied, d.view, d.perspective, d.pan);
  const auto canvas = j["canvas"].items(2, translated("two numbers, width and height"));
  d.canvasWidth = canvas[0].whole(1, kMaxPictureSide);
  d.canvasHeight = canvas[1].whole(1, kMaxPictureSide);
}

const std::vector<std::string> kPictureKinds = {"", "map", "section"};
const std::vector<std::string> kDrawnOver = {"contours", "gridLines", "surveyLine", "clear"};

json pictureJson(const SavedPicture& p) {
  json view = viewValuesJson(p.view, p.perspective, p.pan);
  view["baseHeight"] = p.Zbase;
  json over = json::array();
  for (const DrawnOver what : p.drawnOver) over.push_back(kDrawnOver[static_cast<int>(what)]);
  return {{"kind", kPictureKinds[static_cast<int>(p.kind)]}, {"view", view}, {"drawnOver", over}};
}

json gridsJson(const SessionDocument& d) {
  json grids = json::array();
  if (d.mapGrid) grids.push_back("map");
  if (d.sectionGrid) grids.push_back("section");
  return grids;
}

// A picture is drawn again in its view, which must make a picture as it did.
void readPicture(SessionDocument& d, const DocumentField& j) {
  SavedPicture& p = d.picture;
  const std::string kind = j["kind"].choice(kPictureKinds);
  p.kind = static_cast<PictureKind>(std::find(kPictureKinds.begin(), kPictureKinds.end(), kind) -
                                    kPictureKinds.begin());
  const DocumentField view = j["view"];
  readViewValues(view, p.kind != PictureKind::None, p.view, p.perspective, p.pan);
  p.Zbase = view["baseHeight"].number();
  for (const DocumentField& item : j["drawnOver"].items()) {
    const std::string what = item.choice(kDrawnOver);
    p.drawnOver.push_back(static_cast<DrawnOver>(
        std::find(kDrawnOver.begin(), kDrawnOver.end(), what) - kDrawnOver.begin()));
  }
}

void readGrids(SessionDocument& d, const DocumentField& j) {
  for (const DocumentField& grid : j.items()) {
    (grid.choice({"map", "section"}) == "map" ? d.mapGrid : d.sectionGrid) = true;
  }
  if (d.sectionGrid && !d.sectionLine) {
    j.fail(translated("holds the section, but the document no survey line"));
  }
}

// A document of the first version kept one picture mode and the grid of the last build: its
// picture, grids and what was drawn over it follow from them, as that version drew them.
void pictureOfFirstVersion(SessionDocument& d) {
  const DrawingMode mode = d.drawOptions.DrawMode;
  SavedPicture& p = d.picture;
  const bool none = mode == DrawingMode::None;
  const bool section = mode == DrawingMode::Section ||
                       (d.grid == "section" && (mode == DrawingMode::GridLines || none));
  p.kind = none ? PictureKind::None : section ? PictureKind::Section : PictureKind::Map;
  p.view = d.view;
  p.perspective = d.perspective;
  p.pan = d.pan;
  p.Zbase = d.zbase.value_or(0.0);
  if (mode == DrawingMode::ContourMap) p.drawnOver = {DrawnOver::Contours};
  if (mode == DrawingMode::GridLines) p.drawnOver = {DrawnOver::GridLines};
  if (mode == DrawingMode::SurveyLine) p.drawnOver = {DrawnOver::SurveyLine};
  const bool withLine = d.sectionLine.has_value();
  d.sectionGrid = withLine && (section || d.grid == "section");
  d.mapGrid = !section && (!none || d.grid == "map");
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

// The coordinate system is checked as --srs is, before any file is read.
std::string systemOf(const DocumentField& j) {
  std::string text = j.text(kMaxSystemCharacters);
  if (text.empty()) return text;
  try {
    projectedSystemWkt(text);
  } catch (const CoordinateSystemError& error) {
    j.fail(fill(translated("{1} cannot be used: {2}"), {quotedFound(text), error.what()}));
  }
  return text;
}

// The content of a document whose version has been checked, every field in the range its use
// needs; the lists that follow a model file's size are checked once it is read.
SessionDocument documentFrom(const DocumentField& j, const std::string& path, int version) {
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
  if (version >= 3) readBoreholes(d, j["boreholes"], folder);
  if (j.has("outputs") && j["outputs"].has("geologyMap")) {
    d.geologyMapFile = absolutePath(j["outputs"]["geologyMap"].fileName(), folder);
  }
  readColours(d, j["colours"]);
  if (d.modelFile.empty()) {
    const LogicalModel* hand = d.handModel ? &*d.handModel : nullptr;
    if (auto problem = listCountProblem(d, hand, translated("the model"))) fail(path, *problem);
  }
  if (!j["baseHeight"].isNull()) d.zbase = j["baseHeight"].number();
  readDraw(d, j["draw"]);
  const DocumentField contours = j["contours"];
  d.contours = {contours["first"].number(), contours["last"].number(),
                contours["interval"].number()};
  d.contourLinesWanted = contours["drawn"].flag();
  if (!j["section"].isNull()) d.sectionLine = sectionOf(j["section"]);
  if (version >= 4) readFence(d, j["fence"]);
  // A file written before series were kept has none: the survey line's section alone.
  if (j.has("sectionSeries")) d.sectionSeries = seriesOf(j["sectionSeries"]);
  readView(d, j["view"]);
  d.grid = j["grid"].choice({"map", "section", ""});
  if (version == 1) {
    pictureOfFirstVersion(d);
  } else {
    readGrids(d, j["grids"]);
    readPicture(d, j["picture"]);
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
  std::error_code error;
  const fs::file_status status = fs::status(file, error);
  if (file.empty() || fs::is_regular_file(status)) return;
  const char* const problem = !fs::exists(status) ? translated("the {1} {2} does not exist")
                              : fs::is_directory(status)
                                  ? translated("the {1} {2} is a folder, not a file")
                                  : translated("the {1} {2} is not a regular file");
  fail(sessionPath, fill(problem, {what, file}));
}

// A grid may also be a name GDAL opens that is no file here (a file in an archive, a subdataset).
void requireGrid(const std::string& sessionPath, const std::string& file, const std::string& what) {
  if (file.empty() || !isGdalName(file)) requireFile(sessionPath, file, what);
}

void requireInputs(const std::string& path, const SessionDocument& d) {
  requireFile(path, d.modelFile, translated("model file"));
  for (std::size_t k = 0; k < d.boundaryFiles.size(); ++k) {
    requireGrid(path, d.boundaryFiles[k],
                fill(translated("file of boundary {1}"), {std::to_string(k + 1)}));
  }
  requireGrid(path, d.surfaceFile, translated("display surface"));
}

}  // namespace

std::optional<std::string> listCountProblem(const SessionDocument& d, const LogicalModel* model,
                                            const std::string& name) {
  struct List {
    const char* place;
    std::size_t found;
    int wanted;
    const char* pattern;
  };
  const int n = model ? model->Nbd : 0;
  const List lists[] = {
      {"boundaryFiles", d.boundaryFiles.size(), n,
       translatedCount("a list of {1} file name, one for each boundary of {2}",
                       "a list of {1} file names, one for each boundary of {2}", countOf(n))},
      {"colours.units", d.unitColors.size(), n + 1,
       translatedCount("a list of {1} colour, one for each unit of {2}",
                       "a list of {1} colours, one for each unit of {2}", countOf(n + 1))},
      {"colours.boundaries", d.boundaryColors.size(), n,
       translatedCount("a list of {1} colour, one for each boundary of {2}",
                       "a list of {1} colours, one for each boundary of {2}", countOf(n))}};
  for (const List& list : lists) {
    if (list.found == (model ? static_cast<std::size_t>(list.wanted) : 0)) continue;
    const std::string wanted = model ? listOf(list.wanted, list.pattern, name)
                                     : translated("an empty list, as the session has no model");
    return fill(translated("{1} must be {2}; found {3}"),
                {list.place, wanted, countInWords(list.found)});
  }
  return std::nullopt;
}

std::string sessionFileText(const SessionDocument& d, const std::string& sessionPath) {
  const fs::path folder = fs::absolute(sessionPath).parent_path();
  json boundaries = json::array();
  for (const std::string& file : d.boundaryFiles) boundaries.push_back(relativePath(file, folder));
  json j = {
      {"format", "kalvenor session"},
      {"version", kSessionFormatVersion},
      {"coordinateSystem", d.srs},
      {"model", modelJson(d, folder)},
      {"boundaryFiles", boundaries},
      {"displaySurface", relativePath(d.surfaceFile, folder)},
      {"boreholes", boreholesJson(d, folder)},
      {"colours", coloursJson(d)},
      {"baseHeight", d.zbase ? json(*d.zbase) : json()},
      {"draw", drawJson(d)},
      {"contours",
       {{"first", d.contours.Cst},
        {"last", d.contours.Cen},
        {"interval", d.contours.Cin},
        {"drawn", d.contourLinesWanted}}},
      {"section", d.sectionLine ? sectionJson(*d.sectionLine) : json()},
      {"fence", fenceJson(d)},
      {"sectionSeries", seriesJson(d.sectionSeries)},
      {"view", viewJson(d)},
      {"grid", d.grid},
      {"grids", gridsJson(d)},
      {"picture", pictureJson(d.picture)},
  };
  if (!d.geologyMapFile.empty()) {
    j["outputs"] = {{"geologyMap", relativePath(d.geologyMapFile, folder)}};
  }
  return j.dump(2) + "\n";
}

SessionDocument readSessionFile(const std::string& path) {
  if (const auto problem = notAFile(path)) fail(path, *problem);
  std::ifstream in(path, std::ios::binary);
  if (!in) fail(path, translated("the session file cannot be opened"));
  std::stringstream text;
  text << in.rdbuf();
  json j;
  try {
    j = json::parse(text.str());
  } catch (const json::parse_error& error) {
    fail(path,
         fill(translated("not a session file: the JSON is malformed ({1})"), {reasonOf(error)}));
  } catch (const json::out_of_range& error) {
    fail(path, fill(translated("a number is too large to be read ({1})"), {reasonOf(error)}));
  }
  if (!j.is_object() || j.value("format", json()) != "kalvenor session") {
    fail(path, fill(translated("not a session file of this viewer (no {1})"),
                    {"\"format\": \"kalvenor session\""}));
  }
  const json version = j.value("version", json());
  if (!version.is_number_integer() || version.get<int>() < 1) {
    fail(path, translated("the session's format version is missing or not a whole number from 1"));
  }
  if (version.get<int>() > kSessionFormatVersion) {
    fail(path, fill(translated("the session was written by a newer viewer (format version {1}; "
                               "this one reads up to {2})"),
                    {std::to_string(version.get<int>()), std::to_string(kSessionFormatVersion)}));
  }
  SessionDocument d = documentFrom(DocumentField(j, path), path, version.get<int>());
  requireInputs(path, d);
  return d;
}

}  // namespace kalvenor
