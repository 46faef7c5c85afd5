#include <gtest/gtest.h>

#include <cmath>

#include "../evaluation/grid_fixtures.h"
#include "model/axis_ticks.h"
#include "recording_canvas.h"
#include "render/fit_view.h"
#include "render/map_annotations.h"
#include "render/section_annotations.h"

namespace kalvenor {
namespace {

using Op = RecordingCanvas::Op;

TEST(RoundTicks, FallOnOneTwoOrFiveTimesAPowerOfTen) {
  EXPECT_EQ(roundTicks(0, 5700, 6), (std::vector<double>{0, 1000, 2000, 3000, 4000, 5000}));
  EXPECT_EQ(roundTicks(0, 452, 10),
            (std::vector<double>{0, 50, 100, 150, 200, 250, 300, 350, 400, 450}));
  EXPECT_EQ(roundTicks(-30, 30, 3), (std::vector<double>{-20, 0, 20}));
  const std::vector<double> small = roundTicks(0.1, 0.35, 5);
  ASSERT_EQ(small.size(), 6u);
  for (std::size_t i = 0; i < small.size(); ++i) EXPECT_NEAR(small[i], 0.1 + 0.05 * i, 1e-12);
  EXPECT_TRUE(roundTicks(5, 5, 4).empty());
  EXPECT_TRUE(roundTicks(0, INFINITY, 4).empty());
}

// A section 5700 m long, east-west, from 0 to 450 m, seen from the south with 4x exaggeration
// on a wide picture, as kalvenor-render fits it.
class SectionNotesTest : public ::testing::Test {
 protected:
  void fitAndDraw(RecordingCanvas& c, double Ve = 4) {
    view.Alpha = 180;
    view.Gamma = 0;
    view.Sca = 1;
    view.Ve = Ve;
    const SectionNotes notes{section, 0, 450, Ve, legend, options, kBlack};
    const auto fit = fitView(Projection(view, {c.width(), c.height()}, display, 0),
                             {{0, 500, 0}, {5700, 500, 0}, {0, 500, 450}, {5700, 500, 450}},
                             sectionMargins(c, notes), c.width(), c.height());
    ASSERT_TRUE(fit);
    view.Sca = fit->Sca;
    const Projection p(view, {c.width(), c.height(), fit->ShiftX, fit->ShiftY}, display, 0);
    corners = {p.project(0, 500, 0), p.project(5700, 500, 450)};
    drawSectionNotes(c, p, notes);
  }
  std::vector<std::string> texts(const RecordingCanvas& c) const {
    std::vector<std::string> found;
    for (const Op& op : c.of(Op::Text)) found.push_back(op.text);
    return found;
  }
  // Every text lies on the picture and no two overlap.
  void expectReadable(const RecordingCanvas& c) const {
    const std::vector<Op> t = c.of(Op::Text);
    for (std::size_t i = 0; i < t.size(); ++i) {
      const double w = c.textWidth(t[i].text, t[i].size);
      EXPECT_GE(t[i].coords[0], 0) << t[i].text;
      EXPECT_LE(t[i].coords[0] + w, c.width()) << t[i].text;
      EXPECT_GE(t[i].coords[1] - t[i].size, -0.5) << t[i].text;
      EXPECT_LE(t[i].coords[1], c.height()) << t[i].text;
      for (std::size_t j = 0; j < i; ++j) {
        const double wj = c.textWidth(t[j].text, t[j].size);
        const bool apart = t[i].coords[0] + w <= t[j].coords[0] ||
                           t[j].coords[0] + wj <= t[i].coords[0] ||
                           t[i].coords[1] <= t[j].coords[1] - t[j].size ||
                           t[j].coords[1] <= t[i].coords[1] - t[i].size;
        EXPECT_TRUE(apart) << t[i].text << " overlaps " << t[j].text;
      }
    }
  }

  DisplaySurface display =
      exactDisplaySurface(makeGrid(58, 11, 0, 0, 100, 100, [](double, double) { return 450.0; }));
  ViewSettings view;
  SectionGrid section = [] {
    SectionGrid s;
    s.Ystart = s.Yend = 500;
    s.Xend = 5700;
    return s;
  }();
  std::vector<LegendEntry> legend = {{"火山砕屑岩", packRgb(230, 160, 180)},
                                     {"石灰岩", packRgb(140, 180, 220)}};
  Annotations options{.legend = true, .axes = true, .title = "Section A-A'"};
  std::array<MaybePoint, 2> corners;
};

TEST_F(SectionNotesTest, AWideSectionFillsTheWidthWithItsAxesEndsAndLegend) {
  RecordingCanvas canvas(1600, 500);
  fitAndDraw(canvas);
  ASSERT_TRUE(corners[0] && corners[1]);
  const double across = corners[1]->x - corners[0]->x;
  EXPECT_GT(across, 1600 * 0.75);  // not 400 x 128 pixels in the middle
  EXPECT_LT(corners[1]->y, 100);
  const std::vector<std::string> t = texts(canvas);
  for (const std::string wanted :
       {"Section A-A'", "A (0, 500)", "A' (5700, 500)", "V.E. x4", "0", "火山砕屑岩"}) {
    EXPECT_NE(std::find(t.begin(), t.end(), wanted), t.end()) << wanted;
  }
  // The distance and the elevation axes each name their unit once.
  EXPECT_EQ(
      std::count_if(t.begin(), t.end(), [](const std::string& s) { return s.ends_with(" m"); }), 2);
  expectReadable(canvas);
}

TEST_F(SectionNotesTest, NoExaggerationNoteWithoutExaggeration) {
  RecordingCanvas canvas(800, 600);
  fitAndDraw(canvas, 1);
  const std::vector<std::string> t = texts(canvas);
  EXPECT_EQ(std::find(t.begin(), t.end(), "V.E. x1"), t.end());
  expectReadable(canvas);
}

// Too small for the annotations: the section keeps half the picture and what does not fit is
// left out, never drawn off the picture.
TEST_F(SectionNotesTest, ATinyPictureDrawsWhatFits) {
  RecordingCanvas canvas(40, 30);
  fitAndDraw(canvas);
  ASSERT_TRUE(corners[0] && corners[1]);
  EXPECT_GE(corners[1]->x - corners[0]->x, 15);
  expectReadable(canvas);
}

TEST_F(SectionNotesTest, AnOverlongTitleIsCutToThePicture) {
  options.title = std::string(150, 'W') + "終";
  RecordingCanvas canvas(400, 300);
  fitAndDraw(canvas);
  const std::vector<Op> t = canvas.of(Op::Text);
  ASSERT_FALSE(t.empty());
  EXPECT_EQ(t.front().text.rfind("WWW", 0), 0u);
  EXPECT_EQ(t.front().text.substr(t.front().text.size() - 3), "\xE2\x80\xA6");
  expectReadable(canvas);
}

TEST(MapNotes, ANorthArrowUnlessNorthPointsAtTheEye) {
  const DisplaySurface display =
      exactDisplaySurface(makeGrid(11, 11, 0, 0, 10, 10, [](double, double) { return 5.0; }));
  const Annotations options{.legend = true};
  for (const auto& [gamma, arrow] : {std::pair{90.0, true}, std::pair{0.0, false}}) {
    ViewSettings view;
    view.Alpha = 180;
    view.Gamma = gamma;
    view.Sca = 1;
    view.Ve = 1;
    const Projection p(view, {400, 300}, display, 0);
    RecordingCanvas canvas(400, 300);
    drawMapNotes(canvas, p,
                 {display.Xc, display.Yc, display.Zc, 100, {{"a", kBlack}}, options, kBlack});
    const std::vector<Op> t = canvas.of(Op::Text);
    const bool north = std::any_of(t.begin(), t.end(), [](const Op& op) { return op.text == "N"; });
    EXPECT_EQ(north, arrow) << "depression " << gamma;
    if (gamma == 90) {
      // Looking down with north up: the arrow's tip is above its tail.
      const std::vector<Op> shaft = canvas.of(Op::Line);
      ASSERT_FALSE(shaft.empty());
      EXPECT_LT(shaft.front().coords[3], shaft.front().coords[1]);
    }
  }
}

}  // namespace
}  // namespace kalvenor
