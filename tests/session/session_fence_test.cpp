// The fence diagram in the session: its lines kept, its panels built with the map's walls, and
// what a line that makes no panel leaves behind.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "../evaluation/grid_fixtures.h"
#include "../render/recording_canvas.h"
#include "session/session.h"
#include "temp_file.h"

namespace kalvenor {
namespace {

using ::testing::HasSubstr;
using Op = RecordingCanvas::Op;

// Whether two operations put the same on the picture: a fill whatever invisible pen it was left
// with, a line in the same pen.
bool samePaint(const Op& a, const Op& b) {
  if (a.kind != b.kind || a.coords != b.coords) return false;
  if (a.kind == Op::Polygon) return a.fill == b.fill && a.penStyle == b.penStyle;
  return a.pen == b.pen && a.penWidth == b.penWidth && a.penStyle == b.penStyle;
}

// A two-unit model over a boundary rising east under a 5 x 5 surface over (0, 0)-(100, 100).
class SessionFenceTest : public ::testing::Test {
 protected:
  SessionFenceTest() {
    session.loadModel(model.path());
    session.setBoundaryFile(1, boundary.path());
    session.loadDisplaySurface(surface.path());
    session.setZbase(0);
  }
  std::size_t panels() const { return session.state().fence->size(); }

  TempFile model{"1\ns\nlow,-1\nhigh,1\n"};
  TempFile boundary{
      gridFileText(makeGrid(2, 2, 0, 0, 100, 100, [](double x, double) { return 10 + x / 5; }))};
  TempFile surface{
      gridFileText(makeGrid(5, 5, 0, 0, 25, 25, [](double x, double) { return 30 + x / 10; }))};
  Session session;
  const std::vector<FenceLine> lines = {{"A", {{0, 20}, {100, 30}}},
                                        {"B", {{10, 0}, {50, 50}, {60, 100}}}};
};

TEST_F(SessionFenceTest, ThePanelsAreBuiltWithTheWallsOfTheMap) {
  session.setFence(lines);
  EXPECT_EQ(session.state().fenceLines, lines);
  EXPECT_EQ(panels(), 0u);  // no map grid yet
  session.buildMapGrid({}, MapParts::SurfaceOnly);
  EXPECT_EQ(panels(), 0u);
  session.buildMapGrid();
  ASSERT_EQ(panels(), 2u);
  EXPECT_EQ((*session.state().fence)[1].name, "B");
  EXPECT_EQ((*session.state().fence)[1].section.bends.size(), 1u);

  session.setFence({lines[0]});  // with the walls there, at once
  EXPECT_EQ(panels(), 1u);
  session.setFence({});
  EXPECT_EQ(panels(), 0u);
  EXPECT_TRUE(session.state().fenceLines.empty());
}

TEST_F(SessionFenceTest, ALineThatMakesNoPanelChangesNothing) {
  session.buildMapGrid();
  session.setFence(lines);
  const auto before = session.state().fence;
  struct Case {
    const char* name;
    std::vector<SurveyVertex> vertices;
    const char* message;
  };
  const Case cases[] = {
      {"one vertex", {{10, 10}}, "fence panel 2 (C): "},
      {"outside the display", {{200, 200}, {300, 250}}, "fence panel 2 (C): "},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_THAT(
        [&] {
          session.setFence({lines[0], {"C", c.vertices}});
        },
        ::testing::ThrowsMessage<BuildError>(HasSubstr(c.message)));
    EXPECT_EQ(session.state().fenceLines, lines);
    EXPECT_EQ(session.state().fence, before);
  }
}

TEST_F(SessionFenceTest, ANewModelDropsThePanelsAndTheNextMapBuildMakesThemAgain) {
  session.setFence(lines);
  session.buildMapGrid();
  session.loadModel(model.path());
  EXPECT_EQ(panels(), 0u);
  EXPECT_EQ(session.state().fenceLines, lines);
  session.buildMapGrid();
  EXPECT_EQ(panels(), 2u);
}

// The cut leaves the block out in front of the panels and draws them whole over the rest: more
// of the panels shows, less of the block.
TEST_F(SessionFenceTest, TheMapDrawsThePanelsUnderTheBlockOrOverItsCut) {
  session.setFence(lines);
  session.buildMapGrid();
  TypedView view;
  view.Alpha = 200;
  view.Gamma = 30;
  view.Sca = 1;
  view.Ve = 2;
  const auto draw = [&](bool cut) {
    session.setFenceCut(cut);
    session.applyView(view, 400, 400);
    RecordingCanvas canvas(400, 400);
    session.drawGeoMap(canvas);
    return canvas.ops;
  };
  const std::vector<Op> under = draw(false), over = draw(true);
  session.setFence({});
  const std::vector<Op> none = draw(false);
  EXPECT_NE(over, under);
  // Without the cut the panels come after the base's far edges and before the terrain, which is
  // drawn whole after them.
  const auto firstFill =
      std::find_if(none.begin(), none.end(), [](const Op& op) { return op.kind == Op::Polygon; });
  ASSERT_GT(firstFill - none.begin(), 0);
  ASSERT_GT(under.size(), none.size());
  EXPECT_TRUE(std::equal(none.begin(), firstFill, under.begin(), samePaint));
  EXPECT_TRUE(std::equal(firstFill, none.end(), under.end() - (none.end() - firstFill), samePaint));
}

}  // namespace
}  // namespace kalvenor
