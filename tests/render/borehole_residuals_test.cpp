#include "render/borehole_residuals.h"

#include <gtest/gtest.h>

#include "../evaluation/grid_fixtures.h"
#include "borehole_fixtures.h"

namespace kalvenor {
namespace {

using Op = RecordingCanvas::Op;

TEST(ResidualClass, FollowsTheLargestResidualAndPutsAMissingContactWorst) {
  struct Case {
    double largest;
    int notInModel;
    ResidualClass expected;
  };
  const Case cases[] = {
      {0.0, 0, ResidualClass::Below2},          {-1.99, 0, ResidualClass::Below2},
      {2.0, 0, ResidualClass::Below5},          {-4.9, 0, ResidualClass::Below5},
      {5.0, 0, ResidualClass::Below10},         {9.99, 0, ResidualClass::Below10},
      {10.0, 0, ResidualClass::From10},         {-15.0, 0, ResidualClass::From10},
      {kNoValue, 0, ResidualClass::NoResidual}, {0.5, 1, ResidualClass::NotInModel},
      {kNoValue, 2, ResidualClass::NotInModel},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.largest << ", " << c.notInModel);
    AgreementSummary summary;
    summary.largestResidual = c.largest;
    summary.notInModel = c.notInModel;
    EXPECT_EQ(residualClass(summary), c.expected);
  }
}

// Holes side by side on a flat surface at 50, seen from above.
class ResidualMapTest : public ::testing::Test {
 protected:
  ResidualMapTest() {
    view.Alpha = 180;
    view.Gamma = 90;
    view.Sca = 1;
    view.Ve = 1;
  }
  void addHole(double x, double largest) {
    set.holes.push_back(makeHole("H" + std::to_string(set.holes.size()), x, 100, 50, 10, {}));
    check.holes.push_back({set.holes.back().id, x, 100, {}});
    check.holes.back().summary.largestResidual = largest;
  }
  void draw(bool labels = false) {
    const Projection projection(view, {400, 400}, display, 0.0);
    drawResidualMap(canvas, projection, {set, check, kBlack, labels});
  }

  DisplaySurface display =
      exactDisplaySurface(makeGrid(3, 3, 0, 0, 100, 100, [](double, double) { return 50.0; }));
  ViewSettings view;
  BoreholeSet set;
  BoreholeCheck check;
  RecordingCanvas canvas{400, 400};
};

TEST_F(ResidualMapTest, CollarsAreFilledByClassWithTheWorstDrawnLast) {
  addHole(10, 12.0);
  addHole(20, kNoValue);
  addHole(30, 0.5);
  addHole(40, -6.0);
  draw();
  std::vector<std::pair<double, PackedColor>> marks;  // the centre's x, the fill, in drawn order
  for (const Op& op : canvas.of(Op::Polygon)) {
    if (op.coords.size() != 16) continue;
    marks.emplace_back((boxOf({op}).left + boxOf({op}).right) / 2, op.fill);
  }
  const Projection projection(view, {400, 400}, display, 0.0);
  const auto xOf = [&](double x) { return double(projection.project(x, 100, 50)->x); };
  const std::vector<std::pair<double, PackedColor>> expected{
      {xOf(20), residualClassColor(ResidualClass::NoResidual)},
      {xOf(30), residualClassColor(ResidualClass::Below2)},
      {xOf(40), residualClassColor(ResidualClass::Below10)},
      {xOf(10), residualClassColor(ResidualClass::From10)},
  };
  EXPECT_EQ(marks, expected);
}

TEST_F(ResidualMapTest, TheLegendNamesEveryClassInTheBottomLeftCorner) {
  addHole(100, 1.0);
  draw();
  std::vector<std::string> texts;
  for (const Op& text : canvas.of(Op::Text)) {
    texts.push_back(text.text);
    EXPECT_LT(text.coords[0], canvas.width() / 2);
    EXPECT_GT(text.coords[1], canvas.height() / 2);
  }
  const std::vector<std::string> expected{"Largest residual", "< 2 m",   "2 - 5 m",
                                          "5 - 10 m",         ">= 10 m", "contact not in model",
                                          "no residual"};
  EXPECT_EQ(texts, expected);
  std::vector<PackedColor> swatches;
  for (const Op& op : canvas.of(Op::Polygon)) {
    if (op.coords.size() == 8) swatches.push_back(op.fill);
  }
  // First the backing in the background of black lines, so nothing under the corner shows.
  ASSERT_EQ(swatches.size(), 7u);
  EXPECT_EQ(swatches.front(), kWhite);
  swatches.erase(swatches.begin());
  for (std::size_t c = 0; c < swatches.size(); ++c) {
    EXPECT_EQ(swatches[c], residualClassColor(static_cast<ResidualClass>(c)));
    for (std::size_t d = 0; d < c; ++d) EXPECT_NE(swatches[c], swatches[d]);
  }
}

TEST_F(ResidualMapTest, IdsAreWrittenOnlyWhenAsked) {
  addHole(100, 1.0);
  for (const bool labels : {false, true}) {
    canvas.ops.clear();
    draw(labels);
    int ids = 0;
    for (const Op& text : canvas.of(Op::Text)) ids += text.text == "H0";
    EXPECT_EQ(ids, labels ? 1 : 0);
  }
}

}  // namespace
}  // namespace kalvenor
