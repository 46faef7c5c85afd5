#include "exports/scene_vtk.h"

#include <filesystem>
#include <type_traits>

#include "exports/scene_materials.h"
#include "exports/scene_number_text.h"

namespace kalvenor {
namespace {

// The length of the UTF-8 character at text[at], 0 when the bytes there are not one.
std::size_t utf8Length(const std::string& text, std::size_t at) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  std::size_t length = 0;
  if (byte(at) < 0x80) return 1;
  if (byte(at) >= 0xC2 && byte(at) <= 0xDF) length = 2;
  if (byte(at) >= 0xE0 && byte(at) <= 0xEF) length = 3;
  if (byte(at) >= 0xF0 && byte(at) <= 0xF4) length = 4;
  if (length == 0 || at + length > text.size()) return 0;
  for (std::size_t i = at + 1; i < at + length; ++i) {
    if ((byte(i) & 0xC0) != 0x80) return 0;
  }
  return length;
}

std::string escapedCharacter(char c) {
  switch (c) {
    case '&':
      return "&amp;";
    case '<':
      return "&lt;";
    case '>':
      return "&gt;";
    case '"':
      return "&quot;";
    default:
      return std::string(1, static_cast<unsigned char>(c) < 0x20 ? ' ' : c);
  }
}

// Text an XML attribute can hold: names from the model files need not be UTF-8, which XML
// must be, so bytes that are not become U+FFFD, and control characters blanks.
std::string escaped(const std::string& text) {
  std::string out;
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t length = utf8Length(text, at);
    if (length == 0) {
      out += "\xEF\xBF\xBD";
      ++at;
    } else if (length == 1) {
      out += escapedCharacter(text[at++]);
    } else {
      out.append(text, at, length);
      at += length;
    }
  }
  return out;
}

// The cells of a piece, in VTK's order: lines first, then polygons, with their data.
struct Cells {
  std::vector<double> points;
  std::vector<std::size_t> lineConnectivity;
  std::vector<std::size_t> lineOffsets;
  std::vector<std::size_t> polyConnectivity;
  std::vector<std::size_t> polyOffsets;
  std::vector<long long> lineData[3];  // unit, boundary, part kind
  std::vector<long long> polyData[3];
};

void addPoints(Cells& cells, const std::vector<ScenePoint>& vertices) {
  for (const ScenePoint& p : vertices) cells.points.insert(cells.points.end(), p.begin(), p.end());
}

void addPart(Cells& cells, const ScenePart& part) {
  const std::size_t base = cells.points.size() / 3;
  const long long kind = static_cast<long long>(part.kind);
  if (part.kind == ScenePartKind::Borehole) {
    addPoints(cells, part.line.vertices);
    const std::size_t segments = part.line.vertices.size() < 2 ? 0 : part.line.vertices.size() - 1;
    for (std::size_t s = 0; s < segments && s < part.line.segmentUnit.size(); ++s) {
      cells.lineConnectivity.insert(cells.lineConnectivity.end(), {base + s, base + s + 1});
      cells.lineOffsets.push_back(cells.lineConnectivity.size());
      cells.lineData[0].push_back(part.line.segmentUnit[s]);
      cells.lineData[1].push_back(0);
      cells.lineData[2].push_back(kind);
    }
    return;
  }
  addPoints(cells, part.mesh.vertices);
  for (const auto& t : part.mesh.triangles) {
    for (std::uint32_t corner : t) cells.polyConnectivity.push_back(base + corner);
    cells.polyOffsets.push_back(cells.polyConnectivity.size());
    cells.polyData[0].push_back(part.unit);
    cells.polyData[1].push_back(part.boundary);
    cells.polyData[2].push_back(kind);
  }
}

template <class T>
void appendValues(std::string& out, const std::vector<T>& values) {
  for (std::size_t i = 0; i < values.size(); ++i) {
    out += i % 12 == 0 ? "\n" : " ";
    if constexpr (std::is_floating_point_v<T>) {
      appendNumber(out, values[i]);
    } else {
      out += std::to_string(values[i]);
    }
  }
  out += "\n";
}

template <class T>
void appendArray(std::string& out, const std::string& head, const std::vector<T>& values) {
  out += "<DataArray " + head + " format=\"ascii\">";
  appendValues(out, values);
  out += "</DataArray>\n";
}

// A string array as VTK keeps it in ASCII: each string's bytes as numbers, then a 0.
void appendNames(std::string& out, const std::string& name, const std::vector<std::string>& names) {
  out += "<Array type=\"String\" Name=\"" + name + "\" NumberOfTuples=\"" +
         std::to_string(names.size()) + "\" format=\"ascii\">\n";
  for (const std::string& text : names) {
    for (char c : text) out += std::to_string(static_cast<int>(static_cast<signed char>(c))) + " ";
    out += "0\n";
  }
  out += "</Array>\n";
}

void appendFieldData(std::string& out, const Scene& scene) {
  std::vector<long long> numbers;
  std::vector<long long> colors;
  std::vector<std::string> names;
  for (const SceneUnit& unit : scene.units) {
    numbers.push_back(unit.number);
    colors.insert(colors.end(), {redOf(unit.color), greenOf(unit.color), blueOf(unit.color)});
    names.push_back(unit.name);
  }
  const std::string tuples = "NumberOfTuples=\"" + std::to_string(numbers.size()) + "\"";
  out += "<FieldData>\n";
  appendArray(out, "type=\"Int32\" Name=\"unit_number\" " + tuples, numbers);
  appendArray(out, "type=\"UInt8\" Name=\"unit_color\" NumberOfComponents=\"3\" " + tuples, colors);
  appendNames(out, "unit_name", names);
  std::vector<std::string> kinds;
  for (int k = 0; k <= static_cast<int>(ScenePartKind::Borehole); ++k) {
    kinds.emplace_back(partKindName(static_cast<ScenePartKind>(k)));
  }
  appendNames(out, "part_kind_name", kinds);
  appendArray(out, "type=\"Float64\" Name=\"origin\" NumberOfComponents=\"3\" NumberOfTuples=\"1\"",
              std::vector<double>(scene.origin.begin(), scene.origin.end()));
  out += "</FieldData>\n";
}

void appendCellData(std::string& out, const Cells& cells) {
  static const char* const kNames[3] = {"unit", "boundary", "part"};
  out += "<CellData Scalars=\"unit\">\n";
  for (int a = 0; a < 3; ++a) {
    std::vector<long long> values = cells.lineData[a];
    values.insert(values.end(), cells.polyData[a].begin(), cells.polyData[a].end());
    appendArray(out, std::string("type=\"Int32\" Name=\"") + kNames[a] + "\"", values);
  }
  out += "</CellData>\n";
}

void appendTopology(std::string& out, const char* tag, const std::vector<std::size_t>& connectivity,
                    const std::vector<std::size_t>& offsets) {
  out += std::string("<") + tag + ">\n";
  appendArray(out, "type=\"Int64\" Name=\"connectivity\"", connectivity);
  appendArray(out, "type=\"Int64\" Name=\"offsets\"", offsets);
  out += std::string("</") + tag + ">\n";
}

std::string polyData(const Scene& scene, const std::vector<const ScenePart*>& parts) {
  Cells cells;
  for (const ScenePart* part : parts) addPart(cells, *part);
  std::string out =
      "<?xml version=\"1.0\"?>\n"
      "<VTKFile type=\"PolyData\" version=\"1.0\" byte_order=\"LittleEndian\" "
      "header_type=\"UInt64\">\n<PolyData>\n";
  appendFieldData(out, scene);
  out += "<Piece NumberOfPoints=\"" + std::to_string(cells.points.size() / 3) +
         "\" NumberOfVerts=\"0\" NumberOfLines=\"" + std::to_string(cells.lineOffsets.size()) +
         "\" NumberOfStrips=\"0\" NumberOfPolys=\"" + std::to_string(cells.polyOffsets.size()) +
         "\">\n<Points>\n";
  appendArray(out, "type=\"Float64\" Name=\"Points\" NumberOfComponents=\"3\"", cells.points);
  out += "</Points>\n";
  appendCellData(out, cells);
  appendTopology(out, "Lines", cells.lineConnectivity, cells.lineOffsets);
  appendTopology(out, "Polys", cells.polyConnectivity, cells.polyOffsets);
  out += "</Piece>\n</PolyData>\n</VTKFile>\n";
  return out;
}

}  // namespace

std::string scenePolyData(const Scene& scene) {
  std::vector<const ScenePart*> parts;
  for (const ScenePart& part : scene.parts) parts.push_back(&part);
  return polyData(scene, parts);
}

std::string multiBlockFolder(const std::string& path) {
  return std::filesystem::path(path).replace_extension().string();
}

ExportedFiles sceneMultiBlockFiles(const std::string& path, const Scene& scene) {
  const std::filesystem::path folder = multiBlockFolder(path);
  const std::filesystem::path relativeFolder = folder.filename();
  std::string index =
      "<?xml version=\"1.0\"?>\n"
      "<VTKFile type=\"vtkMultiBlockDataSet\" version=\"1.0\" byte_order=\"LittleEndian\" "
      "header_type=\"UInt64\">\n<vtkMultiBlockDataSet>\n";
  ExportedFiles files(1);
  for (std::size_t i = 0; i < scene.parts.size(); ++i) {
    const std::string name = "part_" + std::to_string(i) + ".vtp";
    index += "<DataSet index=\"";
    index += std::to_string(i);
    index += "\" name=\"";
    index += escaped(partLabel(scene.parts[i]));
    index += "\" file=\"";
    index += escaped((relativeFolder / name).generic_string());
    index += "\"/>\n";
    files.push_back({(folder / name).string(), polyData(scene, {&scene.parts[i]})});
  }
  index += "</vtkMultiBlockDataSet>\n</VTKFile>\n";
  files[0] = {path, index};
  return files;
}

}  // namespace kalvenor
