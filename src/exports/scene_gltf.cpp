#include "exports/scene_gltf.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <limits>
#include <nlohmann/json.hpp>
#include <vector>

#include "exports/export_error.h"
#include "exports/scene_materials.h"
#include "model/message_text.h"
#include "model/number_text.h"

namespace kalvenor {
namespace {

using nlohmann::json;
using Float3 = std::array<float, 3>;

constexpr int kFloat = 5126;
constexpr int kUnsignedInt = 5125;
constexpr int kArrayBuffer = 34962;
constexpr int kElementArrayBuffer = 34963;
constexpr int kLines = 1;
constexpr int kTriangles = 4;
constexpr std::uint64_t kGlbLimit = std::uint64_t{1} << 31;
constexpr std::uint64_t kJsonPerPart = 4096;

// The glTF axes of a model vector: x east, y up, z south.
Float3 gltfAxes(double x, double y, double z) {
  return {static_cast<float>(x), static_cast<float>(z), static_cast<float>(-y)};
}

Float3 relative(const ScenePoint& p, const ScenePoint& origin) {
  return gltfAxes(p[0] - origin[0], p[1] - origin[1], p[2] - origin[2]);
}

double linear(int srgb) {
  const double c = srgb / 255.0;
  return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

// What an accessor's elements are: their component type and their shape ("VEC3").
struct AccessorType {
  int componentType = 0;
  const char* shape = "";
};
constexpr AccessorType kVec3{kFloat, "VEC3"};
constexpr AccessorType kIndex{kUnsignedInt, "SCALAR"};

// The binary chunk and the JSON that describes it, built together.
class GlbBuilder {
 public:
  explicit GlbBuilder(json& document) : document(document) {}

  json& document;
  std::string bin;

  int positions(const std::vector<Float3>& points) {
    Float3 low = points.front();
    Float3 high = points.front();
    for (const Float3& p : points) {
      for (int a = 0; a < 3; ++a) {
        low[a] = std::min(low[a], p[a]);
        high[a] = std::max(high[a], p[a]);
      }
    }
    return accessor(view(points, kArrayBuffer), kVec3, points.size(),
                    {{"min", low}, {"max", high}});
  }
  int normals(const std::vector<Float3>& vectors) {
    return accessor(view(vectors, kArrayBuffer), kVec3, vectors.size(), {});
  }
  int indices(const std::vector<std::uint32_t>& values) {
    return accessor(view(values, kElementArrayBuffer), kIndex, values.size(), {});
  }

 private:
  template <class T>
  int view(const std::vector<T>& values, int target) {
    const std::size_t bytes = values.size() * sizeof(T);
    json entry = {
        {"buffer", 0}, {"byteOffset", bin.size()}, {"byteLength", bytes}, {"target", target}};
    bin.append(reinterpret_cast<const char*>(values.data()), bytes);
    document["bufferViews"].push_back(entry);
    return static_cast<int>(document["bufferViews"].size()) - 1;
  }
  int accessor(int bufferView, const AccessorType& type, std::size_t count, json extra) {
    extra["bufferView"] = bufferView;
    extra["componentType"] = type.componentType;
    extra["count"] = count;
    extra["type"] = type.shape;
    document["accessors"].push_back(extra);
    return static_cast<int>(document["accessors"].size()) - 1;
  }
};

// Each vertex's normal: the sum of its triangles' normals weighted by their areas, made unit;
// straight up where the triangles cancel out.
std::vector<Float3> vertexNormals(const TriangleMesh& mesh) {
  std::vector<std::array<double, 3>> sums(mesh.vertices.size(), {0.0, 0.0, 0.0});
  for (const auto& t : mesh.triangles) {
    const ScenePoint& a = mesh.vertices[t[0]];
    const ScenePoint& b = mesh.vertices[t[1]];
    const ScenePoint& c = mesh.vertices[t[2]];
    const std::array<double, 3> u{b[0] - a[0], b[1] - a[1], b[2] - a[2]};
    const std::array<double, 3> v{c[0] - a[0], c[1] - a[1], c[2] - a[2]};
    const std::array<double, 3> n{u[1] * v[2] - u[2] * v[1], u[2] * v[0] - u[0] * v[2],
                                  u[0] * v[1] - u[1] * v[0]};
    for (std::uint32_t corner : t) {
      for (int k = 0; k < 3; ++k) sums[corner][k] += n[k];
    }
  }
  std::vector<Float3> normals;
  normals.reserve(sums.size());
  for (const auto& s : sums) {
    const double length = std::sqrt(s[0] * s[0] + s[1] * s[1] + s[2] * s[2]);
    if (!(length > 0.0)) {
      normals.push_back(gltfAxes(0.0, 0.0, 1.0));
    } else {
      normals.push_back(gltfAxes(s[0] / length, s[1] / length, s[2] / length));
    }
  }
  return normals;
}

std::vector<Float3> relativePositions(const std::vector<ScenePoint>& points,
                                      const ScenePoint& origin) {
  std::vector<Float3> positions;
  positions.reserve(points.size());
  for (const ScenePoint& p : points) positions.push_back(relative(p, origin));
  return positions;
}

json meshPrimitive(GlbBuilder& glb, const ScenePart& part, const Scene& scene,
                   std::size_t material) {
  std::vector<std::uint32_t> indices;
  indices.reserve(part.mesh.triangles.size() * 3);
  for (const auto& t : part.mesh.triangles) indices.insert(indices.end(), t.begin(), t.end());
  const int position = glb.positions(relativePositions(part.mesh.vertices, scene.origin));
  const int normal = glb.normals(vertexNormals(part.mesh));
  return {{"attributes", {{"POSITION", position}, {"NORMAL", normal}}},
          {"indices", glb.indices(indices)},
          {"material", material},
          {"mode", kTriangles}};
}

// One LINES primitive per run of one unit, over the borehole's vertices.
json linePrimitives(GlbBuilder& glb, const ScenePart& part, const Scene& scene,
                    const SceneMaterials& materials) {
  const int position = glb.positions(relativePositions(part.line.vertices, scene.origin));
  json primitives = json::array();
  for (const LineRun& run : unitRuns(part.line)) {
    std::vector<std::uint32_t> indices;
    for (std::size_t s = run.first; s < run.first + run.count; ++s) {
      indices.push_back(static_cast<std::uint32_t>(s));
      indices.push_back(static_cast<std::uint32_t>(s + 1));
    }
    primitives.push_back({{"attributes", {{"POSITION", position}}},
                          {"indices", glb.indices(indices)},
                          {"material", materials.ofSegmentUnit(run.unit)},
                          {"mode", kLines}});
  }
  return primitives;
}

json materialsJson(const SceneMaterials& materials) {
  json list = json::array();
  for (const SceneMaterial& m : materials.all()) {
    const json color = {linear(redOf(m.color)), linear(greenOf(m.color)), linear(blueOf(m.color)),
                        1.0};
    list.push_back(
        {{"name", m.name},
         {"pbrMetallicRoughness",
          {{"baseColorFactor", color}, {"metallicFactor", 0.0}, {"roughnessFactor", 1.0}}},
         {"doubleSided", true}});
  }
  return list;
}

json rootNode(const Scene& scene, const SceneWriting& how) {
  const ScenePoint& o = scene.origin;
  return {{"name", "model"},
          {"translation", {o[0], o[2], -o[1]}},
          {"scale", {1.0, how.verticalExaggeration, 1.0}},
          {"children", json::array()}};
}

json assetJson(const Scene& scene) {
  return {{"version", "2.0"},
          {"generator", "Kalvenor2003"},
          {"extras",
           {{"origin", scene.origin},
            {"srs", scene.srs},
            {"axes", "glTF x = east, y = elevation, z = -north, relative to the origin"}}}};
}

void addParts(GlbBuilder& glb, const Scene& scene) {
  const SceneMaterials materials(scene);
  glb.document["materials"] = materialsJson(materials);
  for (const ScenePart& part : scene.parts) {
    if (!hasGeometry(part)) continue;
    json primitives = part.kind == ScenePartKind::Borehole
                          ? linePrimitives(glb, part, scene, materials)
                          : json::array({meshPrimitive(glb, part, scene, materials.ofPart(part))});
    json& meshes = glb.document["meshes"];
    meshes.push_back({{"name", partLabel(part)}, {"primitives", primitives}});
    json& nodes = glb.document["nodes"];
    nodes.push_back({{"name", partLabel(part)}, {"mesh", meshes.size() - 1}});
    nodes[0]["children"].push_back(nodes.size() - 1);
  }
}

// glTF allows no empty lists: a scene with nothing to draw keeps only its root node.
void dropEmptyLists(json& document) {
  if (document["nodes"][0]["children"].empty()) document["nodes"][0].erase("children");
  if (document["materials"].empty()) document.erase("materials");
}

void appendWord(std::string& out, std::uint32_t value) {
  char bytes[4];
  for (int i = 0; i < 4; ++i) bytes[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
  out.append(bytes, 4);
}

void appendChunk(std::string& out, std::string data, char pad, std::uint32_t type) {
  data.append((4 - data.size() % 4) % 4, pad);
  appendWord(out, static_cast<std::uint32_t>(data.size()));
  appendWord(out, type);
  out += data;
}

}  // namespace

std::string sceneGlb(const Scene& scene, const SceneWriting& how) {
  json document;
  GlbBuilder glb(document);
  glb.document["asset"] = assetJson(scene);
  glb.document["scene"] = 0;
  glb.document["scenes"] = json::array({{{"nodes", {0}}}});
  glb.document["nodes"] = json::array({rootNode(scene, how)});
  addParts(glb, scene);
  if (!glb.bin.empty()) glb.document["buffers"] = json::array({{{"byteLength", glb.bin.size()}}});
  dropEmptyLists(glb.document);
  std::string chunks;
  // Names from the model files need not be UTF-8, which JSON must be: bytes that are not become
  // U+FFFD.
  const std::string text = glb.document.dump(-1, ' ', false, json::error_handler_t::replace);
  appendChunk(chunks, text, ' ', 0x4E4F534A);                            // "JSON"
  if (!glb.bin.empty()) appendChunk(chunks, glb.bin, '\0', 0x004E4942);  // "BIN\0"
  std::string out;
  appendWord(out, 0x46546C67);  // "glTF"
  appendWord(out, 2);
  appendWord(out, static_cast<std::uint32_t>(12 + chunks.size()));
  return out + chunks;
}

SceneCounts sceneCounts(const Scene& scene) {
  SceneCounts counts;
  for (const ScenePart& part : scene.parts) {
    ++counts.parts;
    counts.meshVertices += part.mesh.vertices.size();
    counts.triangles += part.mesh.triangles.size();
    counts.lineVertices += part.line.vertices.size();
    counts.lineSegments += part.line.segmentUnit.size();
  }
  return counts;
}

std::uint64_t glbSizeEstimate(const SceneCounts& counts) {
  const std::uint64_t bin = counts.meshVertices * 24 + counts.triangles * 12 +
                            counts.lineVertices * 12 + counts.lineSegments * 8;
  return 28 + bin + counts.parts * kJsonPerPart + counts.lineSegments * 512;
}

void checkGlbSize(const std::string& path, std::uint64_t bytes) {
  if (bytes <= kGlbLimit) return;
  const double megabytes = std::ceil(static_cast<double>(bytes) / (1024.0 * 1024.0));
  throw ExportError(
      path, fill(translated("the scene would make a glTF file of {1} MB, more than the 2048 MB "
                            "a glTF file can hold: give {2} to take fewer nodes"),
                 {numberText(megabytes), "--export-decimate"}));
}

}  // namespace kalvenor
