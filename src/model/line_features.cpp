#include "model/line_features.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <map>

#include "model/coordinate_system.h"
#include "model/message_text.h"
#include "model/read_error.h"
#include "model/trimmed_text.h"

namespace kalvenor {
namespace {

FieldNames vertexNameListFields() { return {"", {"vertex names", "vertices", "stations"}}; }
FieldNames vertexNameFields() { return {"", {"name", "vertex", "station", "label"}}; }
FieldNames tableLineFields() { return {"", {"line name", "line id", "line"}}; }
FieldNames xFields() { return {translated("the vertices' x (easting)"), {"x", "easting", "east"}}; }
FieldNames yFields() {
  return {translated("the vertices' y (northing)"), {"y", "northing", "north"}};
}

// A line as read, with what makes it unfit for a survey line ("" when nothing does): a line of
// a layer is refused only where it is used, so that one line of several parts does not keep
// the user from taking another.
struct ReadLine {
  NamedLine line;
  std::string problem;
};

// How a message names the line: by its name, else by its feature number.
std::string lineWords(const std::string& name, std::int64_t feature) {
  if (!name.empty()) return fill(translated("survey line {1}"), {quotedFound(name)});
  return fill(translated("feature {1}"), {std::to_string(feature)});
}

void refuseUnfit(const std::string& path, const ReadLine& read) {
  if (read.problem.empty()) return;
  const NamedLine& line = read.line;
  const bool named = line.feature != 0 || !line.name.empty();
  throw ReadError(path, 0, 0,
                  named ? lineWords(line.name, line.feature) + ": " + read.problem : read.problem);
}

// The names of a feature's vertices from its field, "A;B;C", one for every vertex; the problem
// when they do not pair with the vertices.
void nameVertices(ReadLine& read, const std::string& list) {
  if (trimmed(list).empty()) return;
  std::vector<std::string> names;
  std::size_t from = 0;
  for (std::size_t at = list.find(';');; at = list.find(';', from)) {
    names.push_back(trimmed(list.substr(from, at - from)));
    if (at == std::string::npos) break;
    from = at + 1;
  }
  const std::size_t vertices = read.line.vertices.size();
  if (names.size() == vertices) {
    read.line.vertexNames = std::move(names);
  } else if (read.problem.empty()) {
    read.problem =
        fill(translated("its vertex names {1} name {2} vertices, but the line has {3}"),
             {quotedFound(list), std::to_string(names.size()), std::to_string(vertices)});
  }
}

std::string cellOf(const VectorTable& table, std::size_t row, const std::optional<Field>& field) {
  return field ? trimmed(table.cell(row, field->column)) : "";
}

std::vector<ReadLine> featureLines(const NamedTable& named) {
  const VectorTable& table = named.table;
  const std::optional<Field> nameField = findField(table, lineNameFields());
  const std::optional<Field> listField = findField(table, vertexNameListFields());
  std::vector<ReadLine> lines;
  for (const TableLine& geometry : table.lineGeometries) {
    ReadLine read;
    read.line.name = cellOf(table, geometry.row, nameField);
    read.line.feature = table.rows[geometry.row].feature;
    read.line.vertices = geometry.parts.front();
    if (geometry.parts.size() > 1) {
      read.problem = fill(translated("the line has {1} parts, and a survey line is one: split it "
                                     "into lines of one part (ogr2ogr -explodecollections) and "
                                     "name the one to take"),
                          {std::to_string(geometry.parts.size())});
    }
    nameVertices(read, cellOf(table, geometry.row, listField));
    lines.push_back(std::move(read));
  }
  return lines;
}

// A table of vertices: one line, or one per value of its line field.
std::vector<ReadLine> tableLines(const NamedTable& named) {
  const VectorTable& table = named.table;
  const Field x = requireField(named, xFields());
  const Field y = requireField(named, yFields());
  const std::optional<Field> vertexName = findField(table, vertexNameFields());
  const std::optional<Field> lineField = findField(table, tableLineFields());
  std::vector<ReadLine> lines;
  std::map<std::string, std::size_t> byName;
  for (std::size_t row = 0; row < table.rows.size(); ++row) {
    const std::string name = cellOf(table, row, lineField);
    const auto [at, added] = byName.try_emplace(name, lines.size());
    if (added) lines.emplace_back().line.name = name;
    NamedLine& line = lines[at->second].line;
    line.vertices.push_back({requiredNumber(named, row, x), requiredNumber(named, row, y)});
    if (vertexName) line.vertexNames.push_back(cellOf(table, row, vertexName));
  }
  // A file of one line without rows is still that line, which has no vertices.
  if (lines.empty()) lines.emplace_back();
  return lines;
}

bool anyPoint(const VectorTable& table) {
  return std::any_of(table.rows.begin(), table.rows.end(),
                     [](const TableRow& row) { return row.point.has_value(); });
}

std::vector<ReadLine> linesOf(const NamedTable& named) {
  const VectorTable& table = named.table;
  if (!table.lineGeometries.empty()) return featureLines(named);
  const bool points = anyPoint(table);
  if (!points && findField(table, xFields()) && findField(table, yFields())) {
    return tableLines(named);
  }
  throw ReadError(named.path, 0, 0,
                  points ? translated("the layer holds points and no lines: a survey line is a "
                                      "line feature, or a table of x and y in the vertices' order")
                         : translated("the layer holds no lines: a survey line is a line feature, "
                                      "or a table of x and y in the vertices' order"));
}

void placeLines(const std::string& path, const std::string& system,
                const PlaneCoordinates& coordinates, std::vector<ReadLine>& lines) {
  std::vector<PlanePoint> points;
  for (const ReadLine& read : lines) {
    points.insert(points.end(), read.line.vertices.begin(), read.line.vertices.end());
  }
  points = pointsInDrawingSystem(path, system, coordinates, std::move(points));
  std::size_t next = 0;
  for (ReadLine& read : lines) {
    for (std::size_t n = 0; n < read.line.vertices.size(); ++n, ++next) {
      if (!std::isfinite(points[next].x) && read.problem.empty()) {
        read.problem = fill(translated("GDAL cannot carry vertex {1} into {2}"),
                            {std::to_string(n + 1), systemName(drawingSystem(coordinates))});
      }
      read.line.vertices[n] = points[next];
    }
  }
}

std::vector<ReadLine> readLines(const std::string& path, const PlaneCoordinates& coordinates) {
  const NamedTable named{path, readVectorTable(path)};
  std::vector<ReadLine> lines = linesOf(named);
  placeLines(path, named.table.srs, coordinates, lines);
  for (ReadLine& read : lines) {
    NamedLine& line = read.line;
    line.origin = line.feature == 0 && line.name.empty()
                      ? path
                      : path + ", " + lineWords(line.name, line.feature);
  }
  return lines;
}

std::string lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

const ReadLine& chosen(const std::string& path, const std::vector<ReadLine>& lines,
                       const std::string& name) {
  if (name.empty()) return lines.front();
  for (const ReadLine& read : lines) {
    if (read.line.name == name) return read;
  }
  for (const ReadLine& read : lines) {
    if (lower(read.line.name) == lower(name)) return read;
  }
  std::string names;
  for (const ReadLine& read : lines) {
    if (!read.line.name.empty()) names += (names.empty() ? "" : ", ") + quotedFound(read.line.name);
  }
  throw ReadError(path, 0, 0,
                  names.empty()
                      ? fill(translated("the file holds no line named {1}: its lines have no "
                                        "names (a field name, line_name, label, title or id)"),
                             {quotedFound(name)})
                      : fill(translated("the file holds no line named {1}; its lines are {2}"),
                             {quotedFound(name), names}));
}

}  // namespace

FieldNames lineNameFields() {
  return {"", {"name", "line name", "line", "label", "title", "id", "名称", "測線名"}};
}

std::vector<NamedLine> readLineFeatures(const std::string& path,
                                        const PlaneCoordinates& coordinates) {
  std::vector<NamedLine> lines;
  for (ReadLine& read : readLines(path, coordinates)) {
    refuseUnfit(path, read);
    lines.push_back(std::move(read.line));
  }
  return lines;
}

NamedLine readLineFeature(const std::string& path, const std::string& name,
                          const PlaneCoordinates& coordinates) {
  const std::vector<ReadLine> lines = readLines(path, coordinates);
  const ReadLine& read = chosen(path, lines, name);
  refuseUnfit(path, read);
  return read.line;
}

}  // namespace kalvenor
