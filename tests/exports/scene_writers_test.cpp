#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <limits>
#include <nlohmann/json.hpp>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "exports/export_error.h"
#include "exports/scene_files.h"
#include "exports/scene_gltf.h"
#include "exports/scene_vtk.h"

namespace kalvenor {
namespace {

using nlohmann::json;
using Box = std::array<double, 6>;  // x, y, z low, then x, y, z high

constexpr PackedColor kRed = packRgb(255, 0, 0);
constexpr PackedColor kBlue = packRgb(0, 128, 255);

// Two units' terrain patches meeting along x = 1010, a wall under the first, and a borehole
// logged in unit 1 then unit 2. Its extent: x 1000..1020, y 2000..2010, z -100..55.
Scene smallScene() {
  Scene scene;
  scene.origin = {1000.0, 2000.0, -100.0};
  scene.srs = "LOCAL_CS[\"test\"]";
  scene.units = {{1, "Sand stone", kRed}, {2, "Clay", kBlue}};
  ScenePart first{ScenePartKind::Terrain, 1, 0, "Sand stone", kRed, {}, {}};
  first.mesh.vertices = {{1000, 2000, 50}, {1010, 2000, 52}, {1010, 2010, 55}, {1000, 2010, 51}};
  first.mesh.triangles = {{0, 1, 2}, {0, 2, 3}};
  ScenePart second{ScenePartKind::Terrain, 2, 0, "Clay", kBlue, {}, {}};
  second.mesh.vertices = {{1010, 2000, 52}, {1020, 2000, 53}, {1020, 2010, 54}, {1010, 2010, 55}};
  second.mesh.triangles = {{0, 1, 2}, {0, 2, 3}};
  ScenePart wall{ScenePartKind::Wall, 1, 0, "Sand stone", kRed, {}, {}};
  wall.mesh.vertices = {{1000, 2000, -100}, {1010, 2000, -100}, {1010, 2000, 52}, {1000, 2000, 50}};
  wall.mesh.triangles = {{0, 1, 2}, {0, 2, 3}};
  ScenePart hole{ScenePartKind::Borehole, 0, 0, "BH-1", kBlack, {}, {}};
  hole.line.vertices = {{1005, 2005, 51}, {1005, 2005, 20}, {1005, 2005, 0}, {1005, 2005, -50}};
  hole.line.segmentUnit = {1, 1, 2};
  scene.parts = {first, second, wall, hole};
  return scene;
}

constexpr Box kExtentFromOrigin = {0, 0, 0, 20, 10, 155};

void widen(Box& box, double x, double y, double z) {
  const double p[3] = {x, y, z};
  for (int a = 0; a < 3; ++a) {
    box[a] = std::min(box[a], p[a]);
    box[a + 3] = std::max(box[a + 3], p[a]);
  }
}

Box emptyBox() {
  const double big = std::numeric_limits<double>::infinity();
  return {big, big, big, -big, -big, -big};
}

std::vector<double> arrayValues(const std::string& xml, const std::string& name,
                                std::size_t from = 0);

// ---- A small .glb reader: the header, the JSON chunk and the binary chunk.

std::uint32_t wordAt(const std::string& bytes, std::size_t at) {
  std::uint32_t value = 0;
  std::memcpy(&value, bytes.data() + at, 4);
  return value;
}

struct Glb {
  json document;
  std::string bin;

  std::vector<float> floats(int accessor) const {
    const json& a = document["accessors"][accessor];
    const json& view = document["bufferViews"][a["bufferView"].get<int>()];
    std::vector<float> values(a["count"].get<std::size_t>() * 3);
    std::memcpy(values.data(), bin.data() + view["byteOffset"].get<std::size_t>(),
                values.size() * 4);
    return values;
  }
};

Glb readGlb(const std::string& bytes) {
  EXPECT_EQ(wordAt(bytes, 0), 0x46546C67u);
  EXPECT_EQ(wordAt(bytes, 4), 2u);
  EXPECT_EQ(wordAt(bytes, 8), bytes.size());
  const std::uint32_t jsonLength = wordAt(bytes, 12);
  EXPECT_EQ(wordAt(bytes, 16), 0x4E4F534Au);
  EXPECT_EQ(jsonLength % 4, 0u);
  Glb glb{json::parse(bytes.substr(20, jsonLength)), {}};
  const std::size_t binAt = 20 + jsonLength;
  EXPECT_EQ(wordAt(bytes, binAt + 4), 0x004E4942u);
  glb.bin = bytes.substr(binAt + 8, wordAt(bytes, binAt));
  EXPECT_EQ(glb.bin.size() % 4, 0u);
  return glb;
}

std::string onlyFile(const ExportedFiles& files) {
  EXPECT_EQ(files.size(), 1u);
  return files.at(0).bytes;
}

TEST(SceneGlb, OneMaterialPerUnitNamedAndColouredInLinearLight) {
  const Glb glb = readGlb(onlyFile(sceneFiles("model.glb", smallScene(), {})));
  const json& materials = glb.document["materials"];
  ASSERT_EQ(materials.size(), 2u);
  EXPECT_EQ(materials[0]["name"], "Sand stone");
  EXPECT_EQ(materials[1]["name"], "Clay");
  const json& blue = materials[1]["pbrMetallicRoughness"]["baseColorFactor"];
  EXPECT_DOUBLE_EQ(blue[0].get<double>(), 0.0);
  EXPECT_NEAR(blue[1].get<double>(), 0.2158605, 1e-6);  // sRGB 128
  EXPECT_DOUBLE_EQ(blue[2].get<double>(), 1.0);
  EXPECT_EQ(materials[0]["pbrMetallicRoughness"]["metallicFactor"], 0.0);
  EXPECT_EQ(materials[0]["pbrMetallicRoughness"]["roughnessFactor"], 1.0);
  EXPECT_EQ(materials[0]["doubleSided"], true);
}

TEST(SceneGlb, PositionsSpanTheExtentFromTheOriginWithExactMinMax) {
  const Glb glb = readGlb(onlyFile(sceneFiles("model.glb", smallScene(), {})));
  Box box = emptyBox();
  std::size_t triangles = 0;
  std::size_t lineRuns = 0;
  for (const json& mesh : glb.document["meshes"]) {
    for (const json& primitive : mesh["primitives"]) {
      const int position = primitive["attributes"]["POSITION"];
      const std::vector<float> p = glb.floats(position);
      Box own = emptyBox();
      for (std::size_t i = 0; i < p.size(); i += 3) widen(own, p[i], p[i + 1], p[i + 2]);
      const json& accessor = glb.document["accessors"][position];
      for (int a = 0; a < 3; ++a) {
        EXPECT_EQ(accessor["min"][a].get<double>(), own[a]);
        EXPECT_EQ(accessor["max"][a].get<double>(), own[a + 3]);
      }
      // Back from glTF's (x, z, -y) to the model's axes.
      widen(box, own[0], -own[5], own[1]);
      widen(box, own[3], -own[2], own[4]);
      const std::size_t indices =
          glb.document["accessors"][primitive["indices"].get<int>()]["count"];
      if (primitive["mode"] == 4) triangles += indices / 3;
      if (primitive["mode"] == 1) ++lineRuns;
    }
  }
  EXPECT_EQ(box, kExtentFromOrigin);
  EXPECT_EQ(triangles, 6u);
  EXPECT_EQ(lineRuns, 2u);
  EXPECT_EQ(glb.document["meshes"].size(), 4u);
  EXPECT_EQ(glb.document["meshes"][2]["name"], "Sand stone (wall)");
}

TEST(SceneGlb, RootNodeCarriesTheOriginAndTheExaggerationAndTheAssetTheSystem) {
  const Glb glb = readGlb(onlyFile(sceneFiles("model.glb", smallScene(), {2.5})));
  const json& root = glb.document["nodes"][glb.document["scenes"][0]["nodes"][0].get<int>()];
  EXPECT_EQ(root["translation"], json({1000.0, -100.0, -2000.0}));
  EXPECT_EQ(root["scale"], json({1.0, 2.5, 1.0}));
  EXPECT_EQ(root["children"].size(), 4u);
  const json& asset = glb.document["asset"];
  EXPECT_EQ(asset["version"], "2.0");
  EXPECT_EQ(asset["generator"], "Kalvenor2003");
  EXPECT_EQ(asset["extras"]["origin"], json({1000.0, 2000.0, -100.0}));
  EXPECT_EQ(asset["extras"]["srs"], "LOCAL_CS[\"test\"]");
}

TEST(SceneGlb, NormalsAreUnitAndPointUpOnTheTerrain) {
  const Glb glb = readGlb(onlyFile(sceneFiles("model.glb", smallScene(), {})));
  const json& primitive = glb.document["meshes"][0]["primitives"][0];
  const std::vector<float> n = glb.floats(primitive["attributes"]["NORMAL"]);
  ASSERT_EQ(n.size(), 12u);
  for (std::size_t i = 0; i < n.size(); i += 3) {
    EXPECT_NEAR(n[i] * n[i] + n[i + 1] * n[i + 1] + n[i + 2] * n[i + 2], 1.0, 1e-6);
    EXPECT_GT(n[i + 1], 0.9);  // glTF's y is up
  }
}

TEST(SceneGlb, FloatPositionsKeepMillimetresAtMapScale) {
  Scene scene;
  scene.origin = {499000.0, 3999000.0, -200.0};
  scene.units = {{1, "A", kRed}};
  ScenePart part{ScenePartKind::Terrain, 1, 0, "A", kRed, {}, {}};
  const ScenePoint far{500000.123, 4000000.456, 123.789};
  part.mesh.vertices = {far, {499000, 3999000, -200}, {500000.123, 3999000, 0}};
  part.mesh.triangles = {{0, 1, 2}};
  scene.parts = {part};
  const Glb glb = readGlb(sceneGlb(scene, {}));
  const std::vector<float> p = glb.floats(0);
  const double x = scene.origin[0] + p[0];
  const double y = scene.origin[1] - p[2];
  const double z = scene.origin[2] + p[1];
  EXPECT_LT(std::abs(x - far[0]), 1e-3);
  EXPECT_LT(std::abs(y - far[1]), 1e-3);
  EXPECT_LT(std::abs(z - far[2]), 1e-3);
}

TEST(SceneGlb, TooLargeASceneIsRefusedWithItsSizeAndTheDecimateHint) {
  SceneCounts counts;
  counts.parts = 10;
  counts.meshVertices = 60'000'000;  // 1.44 GB of positions and normals
  counts.triangles = 120'000'000;    // and 1.44 GB of indices
  const std::uint64_t bytes = glbSizeEstimate(counts);
  EXPECT_GT(bytes, std::uint64_t{1} << 31);
  try {
    checkGlbSize("big.glb", bytes);
    FAIL() << "no error";
  } catch (const ExportError& error) {
    const std::string message = error.what();
    EXPECT_EQ(message.rfind("big.glb: ", 0), 0u) << message;
    EXPECT_NE(message.find("2747 MB"), std::string::npos) << message;
    EXPECT_NE(message.find("--export-decimate"), std::string::npos) << message;
  }
  counts.triangles = 10'000'000;
  EXPECT_NO_THROW(checkGlbSize("big.glb", glbSizeEstimate(counts)));
}

TEST(SceneGlb, EstimateIsNoSmallerThanTheFile) {
  const Scene scene = smallScene();
  EXPECT_GE(glbSizeEstimate(sceneCounts(scene)), sceneGlb(scene, {}).size());
}

TEST(SceneGlb, BoundariesAndUnknownUnitsHaveMaterialsOfTheirOwn) {
  Scene scene = smallScene();
  ScenePart surface{
      ScenePartKind::BoundarySurface, 0, 1, "Top of clay", packRgb(0, 255, 0), {}, {}};
  surface.mesh = scene.parts[0].mesh;
  scene.parts.push_back(surface);
  scene.parts[3].line.segmentUnit = {1, 9, 2};  // 9: logged in a unit the model lacks
  const Glb glb = readGlb(sceneGlb(scene, {}));
  std::vector<std::string> names;
  for (const json& m : glb.document["materials"]) names.push_back(m["name"]);
  EXPECT_EQ(names, (std::vector<std::string>{"Sand stone", "Clay", "no unit", "Top of clay"}));
  const json& hole = glb.document["meshes"][3]["primitives"];
  ASSERT_EQ(hole.size(), 3u);
  EXPECT_EQ(hole[1]["material"], 2);
  const std::string xml = scenePolyData(scene);
  const std::vector<double> boundary = arrayValues(xml, "boundary");
  EXPECT_EQ(std::vector<double>(boundary.end() - 2, boundary.end()), (std::vector<double>{1, 1}));
}

TEST(SceneGlb, NamesThatAreNotUtf8StillMakeValidJson) {
  Scene scene = smallScene();
  scene.units[1].name = scene.parts[1].name = "Cl\xE9y";  // Latin-1
  const Glb glb = readGlb(sceneGlb(scene, {}));
  EXPECT_EQ(glb.document["materials"][1]["name"], "Cl\uFFFDy");
}

// ---- VTK XML read as text.

std::string attribute(const std::string& xml, const std::string& name) {
  std::smatch match;
  EXPECT_TRUE(std::regex_search(xml, match, std::regex(name + "=\"([^\"]*)\""))) << name;
  return match[1];
}

// The numbers of the first array named `name` (after `from`).
std::vector<double> arrayValues(const std::string& xml, const std::string& name, std::size_t from) {
  const std::size_t at = xml.find("Name=\"" + name + "\"", from);
  EXPECT_NE(at, std::string::npos) << name;
  const std::size_t start = xml.find('>', at) + 1;
  std::istringstream numbers(xml.substr(start, xml.find('<', start) - start));
  std::vector<double> values;
  for (double v = 0; numbers >> v;) values.push_back(v);
  return values;
}

std::vector<std::string> stringValues(const std::string& xml, const std::string& name) {
  std::vector<std::string> names(1);
  for (double code : arrayValues(xml, name)) {
    if (code == 0) {
      names.emplace_back();
    } else {
      names.back() += static_cast<char>(static_cast<int>(code));
    }
  }
  names.pop_back();
  return names;
}

TEST(SceneVtp, CellsCarryUnitBoundaryAndKindLinesFirst) {
  const std::string xml = onlyFile(sceneFiles("model.VTP", smallScene(), {}));
  EXPECT_EQ(attribute(xml, "NumberOfPoints"), "16");
  EXPECT_EQ(attribute(xml, "NumberOfPolys"), "6");
  EXPECT_EQ(attribute(xml, "NumberOfLines"), "3");
  EXPECT_EQ(arrayValues(xml, "unit"), (std::vector<double>{1, 1, 2, 1, 1, 2, 2, 1, 1}));
  EXPECT_EQ(arrayValues(xml, "part"), (std::vector<double>{5, 5, 5, 0, 0, 0, 0, 1, 1}));
  EXPECT_EQ(arrayValues(xml, "boundary"), std::vector<double>(9, 0));
  // Each part's points follow the earlier parts': the second patch's after the first's four,
  // the borehole's after the wall's.
  const std::vector<double> polys = arrayValues(xml, "connectivity", xml.find("<Polys>"));
  EXPECT_EQ(std::vector<double>(polys.begin() + 6, polys.begin() + 9),
            (std::vector<double>{4, 5, 6}));
  const std::vector<double> lines = arrayValues(xml, "connectivity", xml.find("<Lines>"));
  EXPECT_EQ(lines, (std::vector<double>{12, 13, 13, 14, 14, 15}));
}

TEST(SceneVtp, PointsAreModelCoordinatesSpanningTheExtent) {
  const Scene scene = smallScene();
  const std::string xml = onlyFile(sceneFiles("model.vtp", scene, {}));
  EXPECT_NE(xml.find("type=\"Float64\" Name=\"Points\""), std::string::npos);
  const std::vector<double> points = arrayValues(xml, "Points");
  ASSERT_EQ(points.size(), 48u);
  Box box = emptyBox();
  for (std::size_t i = 0; i < points.size(); i += 3) {
    widen(box, points[i] - scene.origin[0], points[i + 1] - scene.origin[1],
          points[i + 2] - scene.origin[2]);
  }
  EXPECT_EQ(box, kExtentFromOrigin);
}

TEST(SceneVtp, FieldDataListsTheUnitsNumbersColoursAndNames) {
  const std::string xml = onlyFile(sceneFiles("model.vtp", smallScene(), {}));
  EXPECT_EQ(arrayValues(xml, "unit_number"), (std::vector<double>{1, 2}));
  EXPECT_EQ(arrayValues(xml, "unit_color"), (std::vector<double>{255, 0, 0, 0, 128, 255}));
  EXPECT_EQ(stringValues(xml, "unit_name"), (std::vector<std::string>{"Sand stone", "Clay"}));
  EXPECT_EQ(arrayValues(xml, "origin"), (std::vector<double>{1000, 2000, -100}));
}

TEST(SceneVtm, OnePolyDataPerPartInTheFolderNamedLikeTheFile) {
  const ExportedFiles files = sceneFiles("out/model.vtm", smallScene(), {});
  ASSERT_EQ(files.size(), 5u);
  EXPECT_EQ(files[0].path, "out/model.vtm");
  EXPECT_EQ(files[2].path, "out/model/part_1.vtp");
  EXPECT_NE(files[0].bytes.find("name=\"Clay (terrain)\" file=\"model/part_1.vtp\""),
            std::string::npos);
  EXPECT_EQ(attribute(files[2].bytes, "NumberOfPolys"), "2");
  EXPECT_EQ(arrayValues(files[2].bytes, "unit"), (std::vector<double>{2, 2}));
  EXPECT_EQ(attribute(files[4].bytes, "NumberOfLines"), "3");
}

TEST(SceneVtm, BlockNamesAreEscapedUtf8) {
  Scene scene = smallScene();
  scene.parts[0].name = "\xE7\xA0\x82 & \"<x>\" \xE9\x01";  // 砂, then Latin-1 and a control
  const ExportedFiles files = sceneFiles("model.vtm", scene, {});
  EXPECT_NE(files[0].bytes.find("name=\"\xE7\xA0\x82 &amp; &quot;&lt;x&gt;&quot; \xEF\xBF\xBD  "
                                "(terrain)\""),
            std::string::npos)
      << files[0].bytes;
}

// ---- OBJ lines.

std::vector<std::vector<std::string>> linesStarting(const std::string& text,
                                                    const std::string& keyword) {
  std::vector<std::vector<std::string>> found;
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) {
    std::istringstream words(line);
    std::vector<std::string> fields;
    for (std::string w; words >> w;) fields.push_back(w);
    if (!fields.empty() && fields[0] == keyword) found.push_back(fields);
  }
  return found;
}

TEST(SceneObj, VerticesFromTheOriginFacesAndLinesWithinThem) {
  const ExportedFiles files = sceneFiles("model.obj", smallScene(), {});
  ASSERT_EQ(files.size(), 2u);
  const std::string& obj = files[0].bytes;
  EXPECT_EQ(obj.find("# origin 1000 2000 -100\n"), obj.find("# origin"));
  EXPECT_NE(obj.find("# srs LOCAL_CS[\"test\"]\n"), std::string::npos);
  EXPECT_NE(obj.find("mtllib model.mtl\n"), std::string::npos);
  Box box = emptyBox();
  const auto vertices = linesStarting(obj, "v");
  for (const auto& v : vertices) widen(box, std::stod(v[1]), std::stod(v[2]), std::stod(v[3]));
  EXPECT_EQ(box, kExtentFromOrigin);
  const auto faces = linesStarting(obj, "f");
  EXPECT_EQ(faces.size(), 6u);
  EXPECT_EQ(faces[2], (std::vector<std::string>{"f", "5", "6", "7"}));
  const auto lines = linesStarting(obj, "l");
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], (std::vector<std::string>{"l", "13", "14", "15"}));
  EXPECT_EQ(lines[1], (std::vector<std::string>{"l", "15", "16"}));
  const auto groups = linesStarting(obj, "g");
  ASSERT_EQ(groups.size(), 4u);
  EXPECT_EQ(groups[2][1], "wall_Sand_stone");
  EXPECT_EQ(linesStarting(obj, "usemtl").size(), 5u);
}

TEST(SceneObj, MaterialsOnePerUnitWithTheUnitsColour) {
  const ExportedFiles files = sceneFiles("model.obj", smallScene(), {});
  EXPECT_EQ(files[1].path, "model.mtl");
  const auto materials = linesStarting(files[1].bytes, "newmtl");
  ASSERT_EQ(materials.size(), 2u);
  EXPECT_EQ(materials[0][1], "unit1_Sand_stone");
  const auto colours = linesStarting(files[1].bytes, "Kd");
  ASSERT_EQ(colours.size(), 2u);
  EXPECT_EQ(colours[0], (std::vector<std::string>{"Kd", "1", "0", "0"}));
  EXPECT_EQ(colours[1][1], "0");
  EXPECT_NEAR(std::stod(colours[1][2]), 128 / 255.0, 1e-12);
  const auto used = linesStarting(files[0].bytes, "usemtl");
  EXPECT_EQ(used[1][1], "unit2_Clay");
}

// ---- The choice of format by name.

TEST(SceneFiles, NamesAreCheckedByExtensionInAnyCase) {
  struct Case {
    const char* path;
    const char* error;  // "" when accepted
  };
  const Case cases[] = {
      {"model.glb", ""},
      {"MODEL.GLB", ""},
      {"a/model.Vtm", ""},
      {"model.obj", ""},
      {"model.stl",
       "model.stl: a 3D model is written as .glb, .vtp, .vtm or .obj as its name ends, and .stl "
       "is none of them"},
      {"model",
       "model: a 3D model is written as .glb, .vtp, .vtm or .obj as its name ends, and this name "
       "has no extension"},
  };
  for (const Case& c : cases) {
    std::string message;
    try {
      checkSceneName(c.path);
    } catch (const ExportError& error) {
      message = error.what();
    }
    EXPECT_EQ(message, c.error) << c.path;
  }
  EXPECT_THROW(sceneFiles("model.stl", smallScene(), {}), ExportError);
}

TEST(SceneFiles, ExaggerationMustBeAboveZero) {
  for (double ve : {0.0, -2.0, std::nan("")}) {
    try {
      sceneFiles("model.glb", smallScene(), {ve});
      ADD_FAILURE() << ve;
    } catch (const ExportError& error) {
      EXPECT_EQ(std::string(error.what()).rfind("model.glb: the vertical exaggeration must be", 0),
                0u)
          << error.what();
    }
  }
}

TEST(SceneFiles, FileNamesKnownBeforeBuilding) {
  EXPECT_EQ(sceneFileNames("m.glb"), (std::vector<std::string>{"m.glb"}));
  EXPECT_EQ(sceneFileNames("d/m.OBJ"), (std::vector<std::string>{"d/m.OBJ", "d/m.mtl"}));
  EXPECT_EQ(sceneFileNames("d/m.vtm"), (std::vector<std::string>{"d/m.vtm", "d/m"}));
}

}  // namespace
}  // namespace kalvenor
