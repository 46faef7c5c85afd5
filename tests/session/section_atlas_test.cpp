// The series of parallel sections and its atlas, drawn on recording canvases the size of an A4
// page.
#include "session/section_atlas.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>

#include "../evaluation/grid_fixtures.h"
#include "../render/recording_canvas.h"
#include "render/survey_trace.h"
#include "temp_file.h"

namespace kalvenor {
namespace {

using ::testing::Contains;
using ::testing::HasSubstr;
using Op = RecordingCanvas::Op;

constexpr double kPageWidth = 1684, kPageHeight = 1191;  // A4 landscape at 144 pixels an inch
const PackedColor kLow = packRgb(200, 0, 0), kHigh = packRgb(0, 0, 200);

std::vector<std::string> texts(const RecordingCanvas& c) {
  std::vector<std::string> found;
  for (const Op& op : c.of(Op::Text)) found.push_back(op.text);
  return found;
}

// A two-unit model over a boundary rising northward (y / 2) under a surface rising eastward
// (30 + x / 10), both over (0, 0)-(100, 100); the survey line is the diagonal from the south-west
// corner, so that the lines to its right are shorter and shorter.
class SectionAtlasTest : public ::testing::Test {
 protected:
  SectionAtlasTest() {
    session.loadModel(model.path());
    session.setBoundaryFile(1, boundary.path());
    session.setUnitColor(1, kLow);
    session.setUnitColor(2, kHigh);
    session.loadDisplaySurface(surface.path());
    session.setZbase(0);
  }
  SeriesSections series(const SectionSeries& wanted) {
    session.buildSectionGrid({0, 0, true, 100, 100, 0});
    session.setSectionSeries(wanted);
    return session.buildSectionSeries();
  }
  std::vector<RecordingCanvas> pages(SectionAtlas& atlas) {
    std::vector<RecordingCanvas> drawn(atlas.pageCount(), RecordingCanvas(kPageWidth, kPageHeight));
    for (int page = 0; page < atlas.pageCount(); ++page) atlas.drawPage(drawn[page], page);
    return drawn;
  }

  TempFile model{"1\ns\nlow,-1\nhigh,1\n"};
  TempFile boundary{
      gridFileText(makeGrid(2, 2, 0, 0, 100, 100, [](double, double y) { return y / 2; }))};
  TempFile surface{
      gridFileText(makeGrid(11, 11, 0, 0, 10, 10, [](double x, double) { return 30 + x / 10; }))};
  Session session;
};

TEST_F(SectionAtlasTest, EveryPageNamesItsSectionAndWhereItLies) {
  SectionAtlas atlas(session, series({3, 20}), AtlasPaper{}, 2);
  ASSERT_EQ(atlas.pageCount(), 3);
  const std::vector<RecordingCanvas> drawn = pages(atlas);
  const struct {
    const char* title;
    const char* name;
    const char* place;
  } want[] = {{"Section A–A'", "A", "A–A': along the survey line"},
              {"Section B–B'", "B", "B–B': 20 m to the right of A–A'"},
              {"Section C–C'", "C", "C–C': 40 m to the right of A–A'"}};
  for (int page = 0; page < 3; ++page) {
    SCOPED_TRACE(page);
    const std::vector<std::string> t = texts(drawn[page]);
    EXPECT_THAT(t, Contains(want[page].title));
    EXPECT_THAT(t, Contains(want[page].place));
    EXPECT_THAT(t, Contains("Page " + std::to_string(page + 1) + " of 3"));
    EXPECT_THAT(t, Contains("low"));  // the legend
    EXPECT_THAT(t, Contains("high"));
    EXPECT_THAT(t, Contains(HasSubstr("V.E. x2")));
    // Over the section's ends with their coordinates, and on the location map alone.
    EXPECT_THAT(t, Contains(HasSubstr(std::string(want[page].name) + " (")));
    EXPECT_THAT(t, Contains(HasSubstr(std::string(want[page].name) + "' (")));
    EXPECT_THAT(t, Contains(want[page].name));
    EXPECT_THAT(t, Contains(std::string(want[page].name) + "'"));
  }
}

// The location map draws every line of the series; the page's own is the thick one in the trace
// colour, and it is drawn thin on the other pages.
TEST_F(SectionAtlasTest, TheLocationMapHighlightsThePagesLine) {
  SectionAtlas atlas(session, series({3, 20}), AtlasPaper{}, 2);
  const std::vector<RecordingCanvas> drawn = pages(atlas);
  std::vector<std::vector<double>> highlighted;
  for (const RecordingCanvas& page : drawn) {
    std::vector<Op> thick;
    for (const Op& op : page.linesIn(kSurveyTraceColor)) {
      if (op.penWidth == 2) thick.push_back(op);
    }
    ASSERT_EQ(thick.size(), 1u);                       // a straight line, one stroke
    EXPECT_GT(thick[0].coords[1], kPageHeight * 0.7);  // below the section
    highlighted.push_back(thick[0].coords);
  }
  EXPECT_EQ(std::set(highlighted.begin(), highlighted.end()).size(), 3u);
  for (std::size_t page = 0; page < drawn.size(); ++page) {
    for (std::size_t other = 0; other < drawn.size(); ++other) {
      if (other == page) continue;
      const std::vector<Op> lines = drawn[page].of(Op::Line);
      EXPECT_TRUE(std::any_of(
          lines.begin(), lines.end(),
          [&](const Op& op) { return op.penWidth == 1 && op.coords == highlighted[other]; }))
          << "page " << page << " lacks the line of page " << other;
    }
  }
}

// The horizontal extent, in pixels, of the section's unit fills: above the location map and left
// of the legend's swatches.
double drawnWidth(const RecordingCanvas& page) {
  double legend = kPageWidth;
  for (const Op& op : page.of(Op::Text)) {
    if (op.text == "low") legend = op.coords[0] - 1.6 * op.size;
  }
  double left = kPageWidth, right = 0;
  for (const Op& op : page.of(Op::Polygon)) {
    if (op.fill != kLow && op.fill != kHigh) continue;
    bool section = true;
    for (std::size_t i = 0; i < op.coords.size(); i += 2) {
      section = section && op.coords[i] < legend - 0.5 && op.coords[i + 1] < 0.7 * kPageHeight;
    }
    if (!section) continue;
    for (std::size_t i = 0; i < op.coords.size(); i += 2) {
      left = std::min(left, op.coords[i]);
      right = std::max(right, op.coords[i]);
    }
  }
  return right - left;
}

// Every page is drawn at one scale: the pixels a metre of section takes are the same on every
// page, the longest section fits its page, and the scale is a round one.
TEST_F(SectionAtlasTest, AllPagesShareOneRoundScale) {
  const SeriesSections built = series({3, 20});
  SectionAtlas atlas(session, built, AtlasPaper{}, 2);
  const std::vector<RecordingCanvas> drawn = pages(atlas);
  const double longest = built.build->members[0].build.section.length();
  const double pixelsPerMetre = drawnWidth(drawn[0]) / longest;
  EXPECT_LT(drawnWidth(drawn[0]), kPageWidth);
  EXPECT_GT(drawnWidth(drawn[0]), kPageWidth / 4);
  for (std::size_t page = 1; page < drawn.size(); ++page) {
    const double length = built.build->members[page].build.section.length();
    EXPECT_LT(length, longest - 10);
    EXPECT_NEAR(drawnWidth(drawn[page]) / length, pixelsPerMetre, 2 / length) << page;
  }
  ASSERT_TRUE(atlas.scaleDenominator());
  const double denominator = *atlas.scaleDenominator();
  const double mantissa = denominator / std::pow(10.0, std::floor(std::log10(denominator)));
  EXPECT_THAT((std::vector<double>{1, 2, 2.5, 5}), Contains(mantissa));
  // The scale on paper is what the pixels say: 144 pixels an inch.
  EXPECT_NEAR(denominator, 144 / 0.0254 / pixelsPerMetre, denominator * 0.01);
}

TEST_F(SectionAtlasTest, ALineOffTheDisplayAreaIsLeftOutWithAWarning) {
  // The corners lie 70.7 m either side of the diagonal: 75 m and 100 m miss the area.
  const SeriesSections built = series({5, -25});
  ASSERT_EQ(built.build->members.size(), 3u);
  ASSERT_EQ(built.warnings.size(), 2u);
  EXPECT_THAT(built.warnings[0],
              HasSubstr("Section D of the series, 75 m to the left of the survey line, is left "
                        "out: "));
  SectionAtlas atlas(session, built, AtlasPaper{}, 1);
  EXPECT_EQ(atlas.pageCount(), 3);
}

TEST_F(SectionAtlasTest, ASeriesNeedsTheSectionGridOfTheInputsAsTheyAre) {
  session.setSectionSeries({3, 20});
  EXPECT_THAT([&] { session.buildSectionSeries(); },
              ::testing::ThrowsMessage<SessionError>(HasSubstr("build the section grid")));
  session.buildSectionGrid({0, 0, true, 100, 100, 0});
  session.loadDisplaySurface(surface.path());
  EXPECT_THROW(session.buildSectionSeries(), SessionError);
}

TEST_F(SectionAtlasTest, ASeriesThatCannotBeMadeChangesNothing) {
  session.setSectionSeries({3, 20});
  for (const SectionSeries& bad : {SectionSeries{0, 20}, SectionSeries{2, 0}}) {
    EXPECT_THROW(session.setSectionSeries(bad), SessionError);
    EXPECT_EQ(session.state().series, (SectionSeries{3, 20}));
  }
}

// The survey line's own section stays what it was: the series is drawn from copies.
TEST_F(SectionAtlasTest, TheAtlasLeavesTheSessionsSectionAsItWas) {
  const SeriesSections built = series({3, 20});
  const SectionGrid before = *session.state().section;
  SectionAtlas atlas(session, built, AtlasPaper{}, 2);
  pages(atlas);
  EXPECT_EQ(session.state().section->Xstart, before.Xstart);
  EXPECT_EQ(session.state().annotations.sectionName, "A");
  EXPECT_EQ(session.state().picture, PictureKind::None);
}

}  // namespace
}  // namespace kalvenor
