#include "exports/dxf_drawing.h"

#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace kalvenor {
namespace {

using Pairs = std::vector<std::pair<int, std::string>>;

Pairs pairsOf(const std::string& text) {
  Pairs pairs;
  std::istringstream in(text);
  std::string code, value;
  while (std::getline(in, code) && std::getline(in, value))
    pairs.emplace_back(std::stoi(code), value);
  return pairs;
}

// The value after group code `code` that follows `from`, or "" when another entity starts first.
std::string valueAfter(const Pairs& pairs, std::size_t from, int code) {
  for (std::size_t n = from + 1; n < pairs.size() && pairs[n].first != 0; ++n) {
    if (pairs[n].first == code) return pairs[n].second;
  }
  return "";
}

DxfDrawing twoUnits(bool threeD) {
  DxfDrawing d;
  d.layers = {{"玄武岩", packRgb(204, 0, 0)}, {"mud/stone", packRgb(10, 200, 30)}};
  d.faces = {{0, {{{0, 0, 0}, {10, 0, 0}, {10, 5, 0}}}}, {1, {{{0, 0, 0}, {10, 5, 0}, {0, 5, 0}}}}};
  d.polylines = {{1, {{0, 5, 0}, {10, 5, 0}}}};
  d.texts = {{0, {1, 1, 0}, 2.5, "A"}};
  d.threeD = threeD;
  d.verticalExaggeration = 2;
  return d;
}

TEST(DxfDrawing, LayersCarryTheirNamesIndexAndTrueColour) {
  const Pairs pairs = pairsOf(dxfText(twoUnits(false)));
  std::map<std::string, std::pair<std::string, std::string>> layers;  // name: ACI, true colour
  for (std::size_t n = 0; n < pairs.size(); ++n) {
    if (pairs[n] == std::pair<int, std::string>{0, "LAYER"}) {
      layers[valueAfter(pairs, n, 2)] = {valueAfter(pairs, n, 62), valueAfter(pairs, n, 420)};
    }
  }
  EXPECT_EQ(layers["玄武岩"], (std::pair<std::string, std::string>{"12", "13369344"}));
  EXPECT_EQ(layers["mud_stone"].second, std::to_string((10 << 16) | (200 << 8) | 30));
  EXPECT_TRUE(layers.contains("0"));
}

TEST(DxfDrawing, EntitiesLieOnTheirLayersInTheirForm) {
  struct Case {
    bool threeD;
    std::map<std::string, int> entities;
  };
  for (const Case& c : {Case{false, {{"SOLID", 2}, {"LWPOLYLINE", 1}, {"TEXT", 1}}},
                        Case{true, {{"3DFACE", 2}, {"POLYLINE", 1}, {"VERTEX", 2}, {"TEXT", 1}}}}) {
    SCOPED_TRACE(c.threeD ? "in space" : "flat");
    const Pairs pairs = pairsOf(dxfText(twoUnits(c.threeD)));
    std::map<std::string, int> entities;
    std::map<std::string, int> onLayer;
    bool inEntities = false;
    for (std::size_t n = 0; n < pairs.size(); ++n) {
      if (pairs[n].first == 2 && n > 0 && pairs[n - 1].second == "SECTION") {
        inEntities = pairs[n].second == "ENTITIES";
      }
      if (pairs[n].second == "ENDSEC") inEntities = false;
      if (!inEntities || pairs[n].first != 0 || pairs[n].second == "SEQEND") continue;
      ++entities[pairs[n].second];
      ++onLayer[valueAfter(pairs, n, 8)];
    }
    EXPECT_EQ(entities, c.entities);
    EXPECT_EQ(onLayer["玄武岩"], 2);
    EXPECT_EQ(pairs.back(), (std::pair<int, std::string>{0, "EOF"}));
  }
}

TEST(DxfDrawing, HeaderGivesMetresAndTheExaggeration) {
  const Pairs pairs = pairsOf(dxfText(twoUnits(false)));
  std::map<std::string, std::string> header;
  for (std::size_t n = 0; n + 1 < pairs.size() && pairs[n].second != "ENDSEC"; ++n) {
    if (pairs[n].first == 9) header[pairs[n].second] = pairs[n + 1].second;
  }
  EXPECT_EQ(header["$ACADVER"], "AC1021");
  EXPECT_EQ(header["$INSUNITS"], "6");
  EXPECT_EQ(header["$USERR1"], "2");
}

TEST(DxfDrawing, NearestColourIndex) {
  const std::vector<std::pair<PackedColor, int>> cases{
      {packRgb(255, 0, 0), 1},     {packRgb(255, 127, 127), 11},  {packRgb(204, 0, 0), 12},
      {packRgb(128, 128, 128), 8}, {packRgb(255, 255, 255), 255}, {packRgb(250, 5, 3), 1},
      {packRgb(0, 0, 0), 7},
  };
  for (const auto& [color, index] : cases) {
    EXPECT_EQ(nearestAci(color), index)
        << redOf(color) << "," << greenOf(color) << "," << blueOf(color);
  }
}

}  // namespace
}  // namespace kalvenor
