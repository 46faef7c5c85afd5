#include "scene/plan_outlines.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "scene/contact_chains.h"

namespace kalvenor {
namespace {

// Unit squares, one a letter of `rows` (the first row the southmost), each the region of its
// letter, their corners keyed by node so that neighbours share them.
RegionOutlines squares(const std::vector<std::string>& rows) {
  RegionOutlines outlines;
  const auto key = [](int x, int y) { return static_cast<std::uint64_t>(y * 100 + x); };
  for (int y = 0; y < static_cast<int>(rows.size()); ++y) {
    for (int x = 0; x < static_cast<int>(rows[y].size()); ++x) {
      if (rows[y][x] == '.') continue;
      outlines.addPolygon(rows[y][x], {key(x, y), key(x + 1, y), key(x + 1, y + 1), key(x, y + 1)},
                          {{{double(x), double(y)},
                            {double(x + 1), double(y)},
                            {double(x + 1), double(y + 1)},
                            {double(x), double(y + 1)}}});
    }
  }
  return outlines;
}

struct OutlineCase {
  const char* what;
  std::vector<std::string> rows;
  char region;
  std::vector<std::size_t> cornersOfEachOuter;  // in the order the polygons come
  std::vector<std::size_t> holesOfEach;
  double area;
};

const OutlineCase kOutlineCases[] = {
    {"two squares side by side make one rectangle", {"AA"}, 'A', {4}, {0}, 2},
    {"an L keeps its six corners only", {"AA", "A.", "A."}, 'A', {6}, {0}, 4},
    {"a ring around another region has a hole", {"AAA", "ABA", "AAA"}, 'A', {4}, {1}, 8},
    {"the region in the hole is a polygon of its own", {"AAA", "ABA", "AAA"}, 'B', {4}, {0}, 1},
    {"squares that touch at a corner are two polygons", {"A.", ".A"}, 'A', {4, 4}, {0, 0}, 2},
    {"an island in a hole is a polygon beside the one with the hole",
     {"AAAAA", "ABBBA", "ABABA", "ABBBA", "AAAAA"},
     'A',
     {4, 4},
     {1, 0},
     17},
    {"a notch at a corner is part of the outline", {"AAA", "AAA", "AAB"}, 'A', {6}, {0}, 8},
    {"a hole touching its outer ring at a point",
     {"AAAA", "ABBA", "ABBA", "AAA."},
     'A',
     {6},
     {1},
     11},
};

class Outlines : public ::testing::TestWithParam<OutlineCase> {};

TEST_P(Outlines, AreChainedIntoRingsWithTheirHoles) {
  const OutlineCase& c = GetParam();
  const std::vector<PlanPolygon> polygons = squares(c.rows).polygons().at(c.region);
  std::vector<std::size_t> corners, holes;
  double area = 0;
  for (const PlanPolygon& polygon : polygons) {
    corners.push_back(polygon.outer.size());
    holes.push_back(polygon.holes.size());
    EXPECT_GT(ringArea(polygon.outer), 0);
    for (const PlanRing& hole : polygon.holes) EXPECT_LT(ringArea(hole), 0);
    area += polygonArea(polygon);
  }
  EXPECT_EQ(corners, c.cornersOfEachOuter);
  EXPECT_EQ(holes, c.holesOfEach);
  EXPECT_DOUBLE_EQ(area, c.area);
}

INSTANTIATE_TEST_SUITE_P(Squares, Outlines, ::testing::ValuesIn(kOutlineCases),
                         [](const auto& info) { return "case" + std::to_string(info.index); });

// Where a polygon of another region meets a side in the middle, the shared corner on the
// straight side is dropped from the outline of the region that passes straight through it.
TEST(Outlines, DropCornersOnStraightRunsOnly) {
  const auto rings = squares({"AB", "AA"}).polygons();
  ASSERT_EQ(rings.at('A').size(), 1u);
  EXPECT_EQ(rings.at('A')[0].outer.size(), 6u);
  EXPECT_EQ(rings.at('B')[0].outer.size(), 4u);
}

struct ChainCase {
  const char* what;
  std::vector<std::array<std::uint64_t, 2>> pieces;
  std::vector<std::vector<double>> lines;  // the x of each point; y is 0
};

const ChainCase kChainCases[] = {
    {"pieces in any order and direction make one line", {{2, 3}, {1, 2}, {4, 3}}, {{1, 2, 3, 4}}},
    {"a loop repeats its first point", {{1, 2}, {2, 3}, {3, 1}}, {{1, 2, 3, 1}}},
    {"a piece given twice counts once", {{1, 2}, {2, 1}, {2, 3}}, {{1, 2, 3}}},
    {"three lines meet where three pieces do", {{1, 2}, {2, 3}, {2, 4}}, {{1, 2}, {2, 3}, {2, 4}}},
    {"lines apart stay apart", {{1, 2}, {5, 6}}, {{1, 2}, {5, 6}}},
};

class Chains : public ::testing::TestWithParam<ChainCase> {};

TEST_P(Chains, JoinPiecesAtSharedPoints) {
  const ChainCase& c = GetParam();
  std::vector<KeyedSegment> pieces;
  for (const auto& [a, b] : c.pieces) {
    pieces.push_back({a, b, {double(a), 0}, {double(b), 0}});
  }
  std::vector<std::vector<double>> xs;
  for (const std::vector<PlanPoint>& line : chainedLines(pieces)) {
    xs.emplace_back();
    for (const PlanPoint& p : line) xs.back().push_back(p[0]);
  }
  EXPECT_EQ(xs, c.lines) << c.what;
}

INSTANTIATE_TEST_SUITE_P(Pieces, Chains, ::testing::ValuesIn(kChainCases),
                         [](const auto& info) { return "case" + std::to_string(info.index); });

}  // namespace
}  // namespace kalvenor
