#include "evaluation/polyline_section.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <memory>

#include "evaluation/grid_builds.h"
#include "grid_fixtures.h"
#include "temp_file.h"

namespace kalvenor {
namespace {

using ::testing::HasSubstr;

// An 11 x 11 display over (0, 0)-(100, 100) rising eastward from 30 to 40, over a boundary that
// rises both east and north, so that every column cuts it at its own height.
class PolylineSectionTest : public ::testing::Test {
 protected:
  GridSurface surface =
      makeGrid(11, 11, 0, 0, 10, 10, [](double x, double) { return 30 + x / 10; });
  DisplaySurface display = exactDisplaySurface(surface);
  TempFile boundary{gridFileText(
      makeGrid(2, 2, 0, 0, 100, 100, [](double x, double y) { return 5 + x / 5 + y / 10; }))};
  LogicalModel model = twoLayers();
  std::vector<std::string> files = {"", boundary.path()};

  SectionBuild build(const SectionLine& line) {
    return buildSectionGrid({model, files, std::make_shared<const DisplaySurface>(display), 0},
                            line);
  }
  static SectionLine straight(SurveyVertex a, SurveyVertex b) {
    return {a.x, a.y, true, b.x, b.y, 0};
  }
  static SectionLine polyline(std::vector<SurveyVertex> vertices) {
    SectionLine line;
    line.vertices = std::move(vertices);
    return line;
  }
};

TEST_F(PolylineSectionTest, TwoVerticesGiveTheStraightSectionNodeForNode) {
  const std::vector<std::pair<SurveyVertex, SurveyVertex>> lines = {
      {{35, 42}, {80, 42}},    // east-west
      {{10, 20}, {70, 90}},    // diagonal, both ends inside
      {{70, 90}, {10, 20}},    // the same typed southward
      {{37, 55}, {37.5, 60}},  // within a hair of north: a step component dropped
      {{-20, -20}, {0, 0}}};   // from outside
  for (const auto& [a, b] : lines) {
    SCOPED_TRACE(std::to_string(a.x) + "," + std::to_string(a.y) + " to " + std::to_string(b.x) +
                 "," + std::to_string(b.y));
    const SectionBuild want = build(straight(a, b));
    const SectionBuild got = build(polyline({a, b}));
    const SectionGrid &w = want.section, &g = got.section;
    EXPECT_FALSE(g.unfolded());
    EXPECT_TRUE(g.bends.empty());
    EXPECT_EQ(g.Xstart, w.Xstart);
    EXPECT_EQ(g.Ystart, w.Ystart);
    EXPECT_EQ(g.Xend, w.Xend);
    EXPECT_EQ(g.Yend, w.Yend);
    EXPECT_EQ(g.Fai, w.Fai);
    ASSERT_EQ(g.Nxy, w.Nxy);
    ASSERT_EQ(g.Nz, w.Nz);
    EXPECT_EQ(g.Dxx, w.Dxx);
    EXPECT_EQ(g.Dyy, w.Dyy);
    EXPECT_EQ(g.Dzz, w.Dzz);
    EXPECT_EQ(g.sectionSurfZ, w.sectionSurfZ);
    for (int h = 1; h <= g.Nxy; ++h) {
      EXPECT_EQ(got.grid.x(h), want.grid.x(h));
      EXPECT_EQ(got.sectionProfile.bndZ(1, h), want.sectionProfile.bndZ(1, h));
      for (int v = 1; v <= g.Nz; ++v) ASSERT_EQ(got.grid.unit(h, v), want.grid.unit(h, v));
    }
  }
}

// The polyline's columns from `first` on against those of the straight section `s` from its
// first: the same places, ground and boundary, and the same unit at every elevation both have.
void expectColumnsOf(const SectionBuild& poly, int first, const SectionBuild& s, int segment) {
  const SectionGrid& p = poly.section;
  for (int h = 1; h <= s.section.Nxy; ++h) {
    const int ph = first + h - 1;
    SCOPED_TRACE("column " + std::to_string(h) + " of segment " + std::to_string(segment));
    ASSERT_LE(ph, p.Nxy);
    EXPECT_NEAR(p.x(ph), s.grid.x(h), 1e-9);
    EXPECT_NEAR(p.y(ph), s.grid.y(h), 1e-9);
    EXPECT_NEAR(poly.grid.x(ph), s.grid.x(h), 1e-9);
    EXPECT_NEAR(p.sectionSurfZ[ph], s.section.sectionSurfZ[h], 1e-9);
    EXPECT_NEAR(poly.sectionProfile.bndZ(1, ph), s.sectionProfile.bndZ(1, h), 1e-9);
    EXPECT_EQ(p.segment(ph), ph == 1 || h > 1 ? segment : segment - 1);
    for (int v = 1; v <= p.Nz; ++v) {
      const double z = poly.grid.z(v);
      const double level = (z - s.grid.z0) / s.grid.dzV + 1;
      if (std::abs(level - std::round(level)) > 1e-9 || std::round(level) > s.grid.nV) continue;
      EXPECT_EQ(poly.grid.unit(ph, v), s.grid.unit(h, static_cast<int>(std::round(level))))
          << "at z " << z;
    }
  }
}

// Both segments run from edge to edge of the display, so each is a whole straight section.
TEST_F(PolylineSectionTest, TwoSegmentsGivePerSegmentTheNodesOfTheirStraightSections) {
  const SurveyVertex a{0, 0}, bend{100, 60}, c{0, 100};
  const SectionBuild poly = build(polyline({a, bend, c}));
  const SectionBuild first = build(straight(a, bend));
  const SectionBuild second = build(straight(bend, c));
  const SectionGrid& p = poly.section;
  ASSERT_TRUE(p.unfolded());
  // The bend column is the last of the first segment and the first of the second.
  ASSERT_EQ(p.Nxy, first.section.Nxy + second.section.Nxy - 1);
  expectColumnsOf(poly, 1, first, 1);
  expectColumnsOf(poly, first.section.Nxy, second, 2);

  ASSERT_EQ(p.bends.size(), 1u);
  EXPECT_EQ(p.bends[0].vertex, 2);
  EXPECT_NEAR(p.bends[0].distance, std::hypot(100, 60), 1e-9);
  EXPECT_NEAR(p.distance(first.section.Nxy), std::hypot(100, 60), 1e-9);
  EXPECT_NEAR(p.length(), std::hypot(100, 60) + std::hypot(100, 40), 1e-9);
  EXPECT_NEAR(p.distance(p.Nxy), p.length(), 1e-6);
  for (int h = 2; h <= p.Nxy; ++h) EXPECT_GT(p.distance(h), p.distance(h - 1));
  // The picture runs from the first column towards the last: here due north.
  EXPECT_NEAR(p.Fai, 0, 1e-9);
}

TEST_F(PolylineSectionTest, TheEndSegmentsRunOnToTheEdgeAndAnOutsideStretchKeepsNoGround) {
  // Inside at both ends: the first segment runs back to y 0, the last on to x 100.
  const SectionGrid inside = build(polyline({{20, 20}, {20, 60}, {60, 60}})).section;
  EXPECT_EQ(inside.Xstart, 20);
  EXPECT_EQ(inside.Ystart, 0);
  EXPECT_EQ(inside.Xend, 100);
  EXPECT_NEAR(inside.Yend, 60, 1e-9);
  ASSERT_EQ(inside.bends.size(), 1u);
  EXPECT_EQ(inside.bends[0].distance, 60);

  // Out over x 100 and back: the columns out there have no ground; the first vertex outside is
  // cut away, so the section starts on the edge.
  const SectionGrid out =
      build(polyline({{50, -50}, {50, 20}, {150, 20}, {150, 80}, {50, 80}})).section;
  EXPECT_EQ(out.Xstart, 50);
  EXPECT_EQ(out.Ystart, 0);
  ASSERT_EQ(out.bends.size(), 3u);
  EXPECT_EQ(out.bends[0].vertex, 2);
  EXPECT_EQ(out.bends[2].vertex, 4);
  EXPECT_NEAR(out.Xend, 0, 1e-9);
  int outside = 0;
  for (int h = 1; h <= out.Nxy; ++h) {
    const bool beyond = out.x(h) > 100;
    outside += beyond;
    EXPECT_EQ(out.groundKnown[h], !beyond) << "column " << h;
  }
  EXPECT_GT(outside, 0);
  EXPECT_EQ(out.segment(out.Nxy), 4);
}

TEST_F(PolylineSectionTest, RefusesVerticesThatMakeNoLineOverTheDisplay) {
  const struct {
    std::vector<SurveyVertex> vertices;
    const char* message;
  } cases[] = {
      {{{5, 5}}, "fewer than two distinct vertices (1 given)"},
      {{{5, 5}, {5, 5}, {5, 5}}, "fewer than two distinct vertices (3 given)"},
      {{{0, 0}, {50, 50}, {50, 50}, {90, 10}},
       "segment 2 has no length: vertices 2 and 3 are both at x 50, y 50"},
      {{{200, 0}, {300, 50}, {200, 100}}, "lies entirely outside the display area (x 0 to 100"},
  };
  for (const auto& c : cases) {
    EXPECT_THAT([&] { build(polyline(c.vertices)); },
                ::testing::ThrowsMessage<BuildError>(HasSubstr(c.message)));
  }
}

// A line read from a file is named by its file and line in every refusal, also a line of two
// vertices that misses the display, which is otherwise the straight section.
TEST_F(PolylineSectionTest, RefusalsNameTheFileAndLineTheVerticesCameFrom) {
  const std::vector<std::vector<SurveyVertex>> cases = {
      {{5, 5}, {5, 5}},
      {{0, 0}, {50, 50}, {50, 50}, {90, 10}},
      {{200, 0}, {300, 50}, {200, 100}},
      {{200, 0}, {300, 50}},
  };
  for (const auto& vertices : cases) {
    SectionLine line = polyline(vertices);
    line.origin = "lines.gpkg, line \"Tunnel\"";
    EXPECT_THAT([&] { build(line); }, ::testing::ThrowsMessage<BuildError>(
                                          ::testing::StartsWith("lines.gpkg, line \"Tunnel\"")))
        << vertices.size() << " vertices";
  }
}

TEST_F(PolylineSectionTest, BendsTakeTheNamesOfTheirVertices) {
  const struct {
    std::vector<std::string> names;
    std::vector<std::string> bendNames;
  } cases[] = {
      {{}, {"", ""}},
      {{"A", "B", "C", "D"}, {"B", "C"}},
      {{"A", "", "C", "D"}, {"", "C"}},
  };
  for (const auto& c : cases) {
    SectionLine line = polyline({{10, 10}, {50, 60}, {80, 20}, {90, 90}});
    line.vertexNames = c.names;
    const SectionGrid s = build(line).section;
    ASSERT_EQ(s.bends.size(), 2u);
    EXPECT_EQ(s.bends[0].name, c.bendNames[0]);
    EXPECT_EQ(s.bends[1].name, c.bendNames[1]);
  }
}

TEST(SelfCrossings, NamesTheSegmentsThatMeet) {
  using Pairs = std::vector<std::array<int, 2>>;
  const struct {
    const char* name;
    std::vector<SurveyVertex> vertices;
    Pairs crossings;
  } cases[] = {
      {"a bent line", {{0, 0}, {50, 0}, {50, 50}, {90, 90}}, {}},
      {"a loop", {{0, 0}, {50, 0}, {50, 50}, {25, -20}}, {{1, 3}}},
      {"back to the start", {{0, 0}, {50, 0}, {50, 50}, {0, 0}}, {{1, 3}}},
      {"straight back along itself", {{0, 0}, {50, 0}, {20, 0}}, {{1, 2}}},
      {"a sharp bend that does not turn back", {{0, 0}, {50, 0}, {0, 1}}, {}},
      {"two crossings",
       {{0, 0}, {40, 0}, {40, 40}, {20, -10}, {20, 60}, {60, 20}},
       {{1, 3}, {1, 4}, {2, 5}, {3, 5}}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(selfCrossings(c.vertices), c.crossings) << c.name;
  }
}

}  // namespace
}  // namespace kalvenor
