#include "exports/scene_obj.h"

#include <cctype>
#include <filesystem>

#include "exports/scene_materials.h"
#include "exports/scene_number_text.h"

namespace kalvenor {
namespace {

// OBJ and MTL names end at white space: runs of it become "_".
std::string token(const std::string& text) {
  std::string out;
  for (char c : text) {
    const bool blank = std::isspace(static_cast<unsigned char>(c)) != 0;
    if (!blank) out += c;
    if (blank && (out.empty() || out.back() != '_')) out += '_';
  }
  return out.empty() ? "_" : out;
}

std::string materialName(const SceneMaterial& m) {
  return std::string(m.boundary ? "boundary" : "unit") + std::to_string(m.number) + "_" +
         token(m.name);
}

// One line of text, as a comment holds it.
std::string oneLine(std::string text) {
  for (char& c : text) {
    if (c == '\n' || c == '\r') c = ' ';
  }
  return text;
}

void appendVertices(std::string& out, const std::vector<ScenePoint>& vertices,
                    const ScenePoint& origin) {
  for (const ScenePoint& p : vertices) {
    out += "v";
    for (int a = 0; a < 3; ++a) {
      out += ' ';
      appendNumber(out, p[a] - origin[a]);
    }
    out += '\n';
  }
}

void appendFaces(std::string& out, const TriangleMesh& mesh, std::size_t base) {
  for (const auto& t : mesh.triangles) {
    out += "f " + std::to_string(base + t[0]) + ' ' + std::to_string(base + t[1]) + ' ' +
           std::to_string(base + t[2]) + '\n';
  }
}

void appendRuns(std::string& out, const ScenePart& part, const SceneMaterials& materials,
                std::size_t base) {
  for (const LineRun& run : unitRuns(part.line)) {
    out += "usemtl " + materialName(materials.all()[materials.ofSegmentUnit(run.unit)]) + "\nl";
    for (std::size_t v = run.first; v <= run.first + run.count; ++v) {
      out += ' ' + std::to_string(base + v);
    }
    out += '\n';
  }
}

std::string objText(const std::string& path, const Scene& scene, const SceneMaterials& materials) {
  const ScenePoint& o = scene.origin;
  std::string out = "# Kalvenor2003 3D model\n# origin";
  for (double c : o) {
    out += ' ';
    appendNumber(out, c);
  }
  out += "\n# vertices are relative to the origin: add it for model coordinates\n";
  out += "# srs " + oneLine(scene.srs) + "\n";
  out += "mtllib " + std::filesystem::path(objMaterialsName(path)).filename().string() + "\n";
  std::size_t next = 1;
  for (const ScenePart& part : scene.parts) {
    if (!hasGeometry(part)) continue;
    out += "g " + token(partKindName(part.kind)) + "_" + token(part.name) + "\n";
    if (part.kind == ScenePartKind::Borehole) {
      appendVertices(out, part.line.vertices, o);
      appendRuns(out, part, materials, next);
      next += part.line.vertices.size();
      continue;
    }
    out += "usemtl " + materialName(materials.all()[materials.ofPart(part)]) + "\n";
    appendVertices(out, part.mesh.vertices, o);
    appendFaces(out, part.mesh, next);
    next += part.mesh.vertices.size();
  }
  return out;
}

std::string mtlText(const SceneMaterials& materials) {
  std::string out = "# Kalvenor2003 3D model: one material per unit and per boundary\n";
  for (const SceneMaterial& m : materials.all()) {
    out += "newmtl " + materialName(m) + "\nKd";
    for (int channel : {redOf(m.color), greenOf(m.color), blueOf(m.color)}) {
      out += ' ';
      appendNumber(out, channel / 255.0);
    }
    out += "\nKa 0 0 0\nKs 0 0 0\nd 1\nillum 1\n";
  }
  return out;
}

}  // namespace

std::string objMaterialsName(const std::string& path) {
  return std::filesystem::path(path).replace_extension(".mtl").string();
}

ExportedFiles sceneObjFiles(const std::string& path, const Scene& scene) {
  const SceneMaterials materials(scene);
  return {{path, objText(path, scene, materials)}, {objMaterialsName(path), mtlText(materials)}};
}

}  // namespace kalvenor
