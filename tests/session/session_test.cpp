// The workflow without a window: the steps, what each tells its observers, and what a failed
// step leaves behind.
#include "session/session.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <new>
#include <set>

#include "../evaluation/grid_fixtures.h"
#include "../render/recording_canvas.h"
#include "model/read_error.h"
#include "temp_file.h"

namespace kalvenor {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using Op = RecordingCanvas::Op;

struct Recorder : SessionObserver {
  void sessionChanged(Change change) override { changes.push_back(change); }
  std::vector<Change> changes;
};

// A two-unit model over a flat boundary at 15 under a 5 x 5 surface rising from 30 to 40.
class SessionTest : public ::testing::Test {
 protected:
  SessionTest() { session.addObserver(recorder); }

  void loadAll() {
    session.loadModel(model.path());
    session.setBoundaryFile(1, boundary.path());
    session.setUnitColor(1, packRgb(200, 0, 0));
    session.setUnitColor(2, packRgb(0, 0, 200));
    session.loadDisplaySurface(surface.path());
    session.setZbase(0);
  }
  void view(double sca = 1) {
    TypedView typed;
    typed.Alpha = 225;
    typed.Gamma = 30;
    typed.Sca = sca;
    typed.Ve = 1;
    session.applyView(typed, canvas.width(), canvas.height());
  }

  TempFile model{"1\ns\nlow,-1\nhigh,1\n"};
  TempFile boundary{
      gridFileText(makeGrid(2, 2, 0, 0, 100, 100, [](double, double) { return 15.0; }))};
  TempFile surface{
      gridFileText(makeGrid(5, 5, 0, 0, 25, 25, [](double x, double) { return 30 + x / 10; }))};
  Session session;
  Recorder recorder;
  RecordingCanvas canvas{400, 400};
};

TEST_F(SessionTest, TheStepsInOrderOpenTheDrawingCommandsAndCloseTheIndicators) {
  EXPECT_TRUE(session.stepOpen(Step::Model));
  loadAll();
  EXPECT_FALSE(session.stepOpen(Step::Model));
  EXPECT_FALSE(session.stepOpen(Step::BoundaryFiles));
  EXPECT_FALSE(session.stepOpen(Step::Colours));
  EXPECT_FALSE(session.stepOpen(Step::DisplaySurface));
  EXPECT_TRUE(session.stepOpen(Step::Grid));
  session.buildMapGrid();
  EXPECT_FALSE(session.stepOpen(Step::Grid));
  EXPECT_EQ(session.commandStates(), CommandStates{});  // no view yet
  view();
  EXPECT_FALSE(session.stepOpen(Step::View));
  EXPECT_EQ(session.commandStates(), (CommandStates{.geoMap = true, .grid = true}));

  EXPECT_TRUE(session.drawGeoMap(canvas).empty());
  EXPECT_GT(canvas.of(Op::Polygon).size(), 16u);
  EXPECT_EQ(session.state().drawOptions.DrawMode, DrawingMode::GeologicalMap);
  EXPECT_EQ(session.state().visibleWall, (std::array<std::int16_t, 2>{kSouthWall, kWestWall}));

  const Array2D<std::int16_t> mapUnits = session.state().mapGrid->mapUnit;
  session.buildSectionGrid({0, 50, true, 100, 50, 0});
  EXPECT_EQ(session.state().progress.mapGrid(), GridState::Superseded);
  EXPECT_EQ(session.state().mapGrid->mapUnit, mapUnits);  // both grids are kept
  EXPECT_TRUE(session.commandStates().geoMap);
  EXPECT_TRUE(session.commandStates().geoSection);
}

// With both grids kept the pictures can be drawn in any order, and what goes over a picture (the
// survey line, a turn in the drawing window) goes in the view that picture was drawn in, not in
// the view the section's build turned the boxes to.
TEST_F(SessionTest, WhatGoesOverAPictureFollowsTheViewItWasDrawnIn) {
  loadAll();
  session.buildMapGrid();
  view();
  session.drawGeoMap(canvas);
  session.buildSectionGrid({0, 50, true, 100, 50, 0});
  const auto sectionView = [&] {
    const ViewValues v = session.sectionView();
    session.applyView({.Alpha = v.Alpha, .Gamma = v.Gamma, .Sca = v.Sca, .Ve = v.Ve},
                      canvas.width(), canvas.height());
  };
  sectionView();
  RecordingCanvas overMap{400, 400};
  session.drawSurveyLine(overMap);

  view();
  session.drawGeoMap(canvas);
  RecordingCanvas overMapInItsView{400, 400};
  session.drawSurveyLine(overMapInItsView);
  EXPECT_EQ(overMap.ops, overMapInItsView.ops);

  sectionView();
  session.drawSection(canvas);
  RecordingCanvas overSection{400, 400};
  session.drawSurveyLine(overSection);
  EXPECT_NE(overSection.ops, overMap.ops);
  EXPECT_EQ(session.redrawablePicture(), PictureKind::Section);
  EXPECT_TRUE(session.commandStates().geoMap);
  view();  // boxes given another view: a gesture starts from the section on screen
  session.resumePictureView();
  EXPECT_EQ(session.state().view.Gamma, 0);
}

TEST_F(SessionTest, ObserversHearEveryChangeAfterItIsMade) {
  loadAll();
  recorder.changes.clear();
  session.buildMapGrid();
  EXPECT_THAT(recorder.changes, ElementsAre(Change::Grids));
  recorder.changes.clear();
  view();
  session.drawGeoMap(canvas);
  EXPECT_THAT(recorder.changes, ElementsAre(Change::View, Change::Picture));
}

TEST_F(SessionTest, AFailedStepChangesNothingAndTellsNobody) {
  loadAll();
  session.buildMapGrid();
  const ViewerState before = session.state();
  recorder.changes.clear();

  TempFile bad("2\na,b\n");
  EXPECT_THROW(session.loadModel(bad.path()), ReadError);
  EXPECT_THROW(session.setBoundaryFile(1, bad.path()), ReadError);
  EXPECT_THROW(session.loadDisplaySurface(bad.path()), ReadError);
  EXPECT_THROW(session.resizeModel("16"), SessionError);
  session.setStepHook([](const std::string& step) {
    if (step.rfind("build the 3D-map grid", 0) == 0) throw std::bad_alloc();
  });
  EXPECT_THAT([&] { session.buildMapGrid(); },
              ::testing::ThrowsMessage<std::runtime_error>(
                  HasSubstr("not enough memory to build the 3D-map grid of 5 x 5 nodes")));
  view(0);  // a view that cannot make a picture
  recorder.changes.clear();
  EXPECT_THROW(session.drawGeoMap(canvas), SessionError);

  EXPECT_TRUE(recorder.changes.empty());
  EXPECT_EQ(session.state().model.unitName, before.model.unitName);
  EXPECT_EQ(session.state().boundaryFile, before.boundaryFile);
  EXPECT_EQ(session.state().display->dispZ, before.display->dispZ);
  EXPECT_EQ(session.state().mapGrid->mapUnit, before.mapGrid->mapUnit);
  EXPECT_TRUE(canvas.ops.empty());
}

// Progress is reported from inside the builds' parallel loops, between columns: what it throws
// there ends the build as running out of memory in a column would, with the step's message. On
// one thread every column runs on the thread that reports.
TEST_F(SessionTest, AFailureInsideOneColumnOfABuildIsTheBuildsFailure) {
  TempFile wide(gridFileText(
      makeGrid(64, 64, 0, 0, 2, 2, [](double x, double y) { return 30 + (x + y) / 50; })));
  loadAll();
  session.loadDisplaySurface(wide.path());
  session.setZbase(0);
  session.buildMapGrid();
  const Array2D<std::int16_t> before = session.state().mapGrid->mapUnit;
  const BuildProgress failing = [](double done) {
    if (done > 0.1) throw std::bad_alloc();
  };
  for (const int n : {1, 2}) {
    session.setRenderContext({n});
    EXPECT_THAT([&] { session.buildMapGrid(failing); },
                ::testing::ThrowsMessage<std::runtime_error>(
                    HasSubstr("not enough memory to build the 3D-map grid of 64 x 64 nodes")));
    EXPECT_THAT(
        [&] {
          session.buildSectionGrid({0, 60, true, 120, 60, 0}, failing);
        },
        ::testing::ThrowsMessage<std::runtime_error>(
            HasSubstr("not enough memory to build the section grid")));
  }
  EXPECT_EQ(session.state().mapGrid->mapUnit, before);
  EXPECT_EQ(session.state().progress.mapGrid(), GridState::Current);
}

// One corrupt elevation puts the view centre so far up that every point of the block projects
// beyond the canvas: the map is refused with the surface's numbers instead of drawn empty.
TEST_F(SessionTest, AMapOfWhichNothingCanBeDrawnIsRefusedAndSaysWhy) {
  TempFile corrupt(gridFileText(makeGrid(
      5, 5, 0, 0, 25, 25, [](double x, double y) { return x == 50 && y == 50 ? 1.6e36 : 30.0; })));
  loadAll();
  session.buildMapGrid();
  view();
  session.drawGeoMap(canvas);
  session.loadDisplaySurface(corrupt.path());
  session.buildMapGrid();
  view();
  canvas.ops.clear();
  EXPECT_THAT([&] { session.drawGeoMap(canvas); },
              ::testing::ThrowsMessage<SessionError>(::testing::AllOf(
                  ::testing::StartsWith(corrupt.path() + ": nothing of the block could be drawn"),
                  HasSubstr("to 1.6E+36"))));
  EXPECT_EQ(canvas.of(Op::Polygon).size(), 0u);
  EXPECT_EQ(session.state().progress.mapGrid(), GridState::Current);
  EXPECT_TRUE(session.state().drawUnit->empty());  // the units of no picture were taken
}

// The surface rises 1 in 10 to the east, all of it in the blue unit: lit from the east it is
// turned a little away from the light, and only its 16 cells darken; the walls stay flat. A
// light the shading cannot use refuses the map, which changes nothing.
TEST_F(SessionTest, TheShadingDarkensTheTerrainOnlyAndABadLightIsRefused) {
  loadAll();
  session.buildMapGrid();
  view();
  session.drawGeoMap(canvas);
  session.setShading({true, 90, 45, 0.5});
  RecordingCanvas shaded{400, 400};
  session.drawGeoMap(shaded);
  ASSERT_EQ(shaded.ops.size(), canvas.ops.size());
  int darkened = 0;
  for (std::size_t n = 0; n < canvas.ops.size(); ++n) {
    if (shaded.ops[n].fill == canvas.ops[n].fill) continue;
    EXPECT_EQ(canvas.ops[n].fill, packRgb(0, 0, 200));
    EXPECT_EQ(shaded.ops[n].fill, packRgb(0, 0, 163));
    ++darkened;
  }
  EXPECT_EQ(darkened, 16);

  session.setShading({true, 90, 120, 0.5});
  const ViewerState before = session.state();
  RecordingCanvas refused{400, 400};
  EXPECT_THAT([&] { session.drawGeoMap(refused); },
              ::testing::ThrowsMessage<SessionError>(
                  HasSubstr("0 to 90 degrees above the horizon; found 120")));
  EXPECT_TRUE(refused.ops.empty());
  EXPECT_EQ(session.state().pictureView.view, before.pictureView.view);
}

TEST_F(SessionTest, ANewModelOfTheSameSizeKeepsTheFilesAndColoursAndDropsTheGrids) {
  loadAll();
  session.buildMapGrid();
  TempFile renamed("1\nthe boundary\nbelow,-1\nabove,1\n");
  session.loadModel(renamed.path());
  EXPECT_EQ(session.state().boundaryFile[1], boundary.path());
  EXPECT_EQ(session.state().unitColor[2], packRgb(0, 0, 200));
  EXPECT_TRUE(session.state().mapGrid->mapUnit.empty());
  EXPECT_EQ(session.state().progress.mapGrid(), GridState::None);
  EXPECT_TRUE(session.stepOpen(Step::Grid));

  TempFile bigger("2\na,b\nx,-1,-1\ny,1,-1\nz,0,1\n");
  session.loadModel(bigger.path());
  EXPECT_EQ(session.state().boundaryFile, (std::vector<std::string>{"", "", ""}));
  EXPECT_EQ(session.state().unitColor[2], kBlack);
  EXPECT_TRUE(session.stepOpen(Step::BoundaryFiles));
  EXPECT_TRUE(session.stepOpen(Step::Colours));
}

TEST_F(SessionTest, ABoundaryFileThatNoLongerReadsIsDroppedOnReloadWithAWarning) {
  loadAll();
  TempFile moving(
      gridFileText(makeGrid(2, 2, 0, 0, 100, 100, [](double, double) { return 15.0; })));
  session.setBoundaryFile(1, moving.path());
  std::ofstream(moving.path()) << "garbage";
  const Warnings warnings = session.loadModel(model.path());
  ASSERT_EQ(warnings.size(), 1u);
  EXPECT_THAT(warnings[0], HasSubstr(moving.path()));
  EXPECT_EQ(session.state().boundaryFile[1], "");
}

// The surface rises from 30 to 40: under a boundary at 15 every node is in the upper unit, under
// one at 35 the western nodes are in the lower.
TEST_F(SessionTest, TheBuildReadsAPickedBoundaryFileAgainOnlyWhenItChanged) {
  const auto lowerNodes = [&] {
    const Array2D<std::int16_t>& unit = session.state().mapGrid->mapUnit;
    int count = 0;
    for (int i = 1; i <= 5; ++i) {
      for (int j = 1; j <= 5; ++j) count += unit(i, j) == 1;
    }
    return count;
  };
  const auto rewrite = [&](double z) {
    std::ofstream(boundary.path(), std::ios::binary | std::ios::trunc)
        << gridFileText(makeGrid(2, 2, 0, 0, 100, 100, [z](double, double) { return z; }));
  };
  loadAll();
  // The same length and time stamp: taken for unchanged, the grid read when it was picked is used.
  const auto picked = std::filesystem::last_write_time(boundary.path());
  rewrite(35);
  std::filesystem::last_write_time(boundary.path(), picked);
  session.buildMapGrid();
  EXPECT_EQ(lowerNodes(), 0);
  // That grid went to the build; the next build reads the file as it is now.
  session.buildMapGrid();
  EXPECT_GT(lowerNodes(), 0);

  // A file changed after it was picked is read again.
  session.setBoundaryFile(1, boundary.path());
  rewrite(15);
  std::filesystem::last_write_time(boundary.path(), picked + std::chrono::seconds(5));
  session.buildMapGrid();
  EXPECT_EQ(lowerNodes(), 0);
}

// Under the surface at 30 to 40, nodes above boundaries at 10 and 20 are in unit z, nodes between
// boundaries at 10 and 45 in unit y.
TEST_F(SessionTest, AFailedBuildKeepsTheGridsReadWhenTheFilesWerePicked) {
  TempFile two("2\na,b\nx,-1,-1\ny,1,-1\nz,0,1\n");
  const auto flat = [](double z) {
    return gridFileText(makeGrid(2, 2, 0, 0, 100, 100, [z](double, double) { return z; }));
  };
  TempFile low(flat(10)), high(flat(20));
  session.loadModel(two.path());
  session.setBoundaryFiles({low.path(), high.path()});
  session.loadDisplaySurface(surface.path());
  session.setZbase(0);
  // The file of boundary 2 now says 45, with the length and time stamp it was picked with: the
  // grid read when it was picked is the one built with.
  const auto picked = std::filesystem::last_write_time(high.path());
  std::ofstream(high.path(), std::ios::binary | std::ios::trunc) << flat(45);
  std::filesystem::last_write_time(high.path(), picked);
  const std::string lowText = flat(10);
  std::ofstream(low.path(), std::ios::binary | std::ios::trunc) << "garbage";
  EXPECT_THROW(session.buildMapGrid(), ReadError);

  std::ofstream(low.path(), std::ios::binary | std::ios::trunc) << lowText;
  session.buildMapGrid();
  EXPECT_EQ(session.state().mapGrid->mapUnit(3, 3), 3);
  // The build that completed used the grid up; the next reads the file.
  session.buildMapGrid();
  EXPECT_EQ(session.state().mapGrid->mapUnit(3, 3), 2);
}

// A picture drawn on a detached copy is taken over only while the session is as it was copied.
TEST_F(SessionTest, ADetachedCopyDrawsAloneAndIsTakenOverOnlyIfNothingChanged) {
  loadAll();
  session.buildMapGrid();
  view();
  Session copy = session.detachedCopy();
  const std::uint64_t copiedAt = session.changeCount();
  copy.drawGeoMap(canvas);
  EXPECT_EQ(session.changeCount(), copiedAt);  // the copy told nobody here
  EXPECT_TRUE(session.state().drawUnit->empty());

  session.setZbase(5);
  Session stale = session.detachedCopy();
  Session drawn = std::move(copy);
  EXPECT_FALSE(session.takeDrawnCopy(drawn, copiedAt));
  EXPECT_TRUE(session.state().drawUnit->empty());
  EXPECT_EQ(session.state().Zbase, 5);

  stale.drawGeoMap(canvas);
  recorder.changes.clear();
  EXPECT_TRUE(session.takeDrawnCopy(stale, session.changeCount()));
  EXPECT_FALSE(session.state().drawUnit->empty());
  EXPECT_THAT(recorder.changes, ElementsAre(Change::Picture));
}

// The surface, the grids and the units drawn are the session's own objects, not copies of them.
TEST_F(SessionTest, ADetachedCopySharesWhatWasBuiltAndDrawn) {
  loadAll();
  session.buildSectionGrid({0, 50, true, 100, 50, 0});
  session.buildMapGrid();
  view();
  session.drawGeoMap(canvas);
  const Session copy = session.detachedCopy();
  const ViewerState& s = session.state();
  const ViewerState& c = copy.state();
  EXPECT_EQ(c.display, s.display);
  EXPECT_EQ(c.boundaryGrids, s.boundaryGrids);
  EXPECT_EQ(c.mapGrid, s.mapGrid);
  EXPECT_EQ(c.wallProfiles, s.wallProfiles);
  EXPECT_EQ(c.sectionGrid, s.sectionGrid);
  EXPECT_EQ(c.section, s.section);
  EXPECT_EQ(c.sectionProfile, s.sectionProfile);
  EXPECT_EQ(c.drawUnit, s.drawUnit);
  EXPECT_FALSE(c.drawUnit->empty());
  // The map is drawn with its grid's units, not a copy of them.
  EXPECT_EQ(s.drawUnit.get(), &s.mapGrid->mapUnit);
}

// Whatever the session puts in place of a shared object after a copy was taken, the copy keeps
// the object as it was: nothing is changed where it stands.
TEST_F(SessionTest, WhatTheSessionReplacesStaysAsItWasInACopyTakenBefore) {
  TempFile higher(gridFileText(makeGrid(3, 3, 0, 0, 50, 50, [](double, double) { return 80.0; })));
  struct Replacement {
    const char* step;
    std::function<void(Session&)> take;
    std::function<const void*(const ViewerState&)> object;
    std::function<double(const ViewerState&)> figure;  // of the object, which must not change
  };
  const Replacement replacements[] = {
      {"a map build over another base",
       [](Session& s) {
         s.setZbase(-10);
         s.buildMapGrid();
       },
       [](const ViewerState& s) { return s.mapGrid.get(); },
       [](const ViewerState& s) { return s.mapGrid->Dzz; }},
      {"a section build along another line",
       [](Session& s) {
         s.buildSectionGrid({0, 20, true, 100, 80, 0});
       },
       [](const ViewerState& s) { return s.sectionGrid.get(); },
       [](const ViewerState& s) { return s.sectionGrid->y0; }},
      {"another display surface", [&](Session& s) { s.loadDisplaySurface(higher.path()); },
       [](const ViewerState& s) { return s.display.get(); },
       [](const ViewerState& s) { return s.display->Zmax; }},
      {"a new model", [&](Session& s) { s.loadModel(model.path()); },
       [](const ViewerState& s) { return s.mapGrid.get(); },
       [](const ViewerState& s) { return double(s.mapGrid->mapUnit.iLast()); }},
      {"a map built and drawn again",
       [&](Session& s) {
         s.buildMapGrid();
         s.drawGeoMap(canvas);
       },
       [](const ViewerState& s) { return s.drawUnit.get(); },
       [](const ViewerState& s) { return double(s.drawUnit->iLast()); }},
  };
  for (const Replacement& r : replacements) {
    Session fresh;
    session.replaceWith(fresh);
    loadAll();
    session.buildSectionGrid({0, 50, true, 100, 50, 0});
    session.buildMapGrid();
    view();
    session.drawGeoMap(canvas);
    const Session copy = session.detachedCopy();
    const double figure = r.figure(copy.state());
    r.take(session);
    EXPECT_NE(r.object(session.state()), r.object(copy.state())) << r.step;
    EXPECT_EQ(r.figure(copy.state()), figure) << r.step;
  }
}

// The grids kept for the next build stay with the session: a copy that draws goes without them,
// and taking its picture over leaves them for the build.
TEST_F(SessionTest, TheGridsKeptForTheNextBuildStayWithTheSession) {
  loadAll();
  session.buildMapGrid();
  view();
  session.setBoundaryFile(1, boundary.path());
  ASSERT_EQ(session.keptReads()[1].path, boundary.path());
  Session copy = session.detachedCopy();
  EXPECT_TRUE(copy.keptReads().empty());
  copy.drawGeoMap(canvas);
  ASSERT_TRUE(session.takeDrawnCopy(copy, session.changeCount()));
  EXPECT_EQ(session.keptReads()[1].path, boundary.path());
}

// The 3D export holds the section's panel when the section was built from the inputs the block
// was, in either order (kalvenor-render builds the section first); not without a section, nor
// when the inputs changed under a section kept from before the block's build.
TEST_F(SessionTest, TheSceneHoldsTheSectionBuiltFromTheBlocksInputs) {
  const SectionLine line{0, 50, true, 100, 50, 0};
  const struct {
    const char* name;
    std::function<void(Session&)> build;
    bool section;
  } cases[] = {
      {"the map alone", [](Session& s) { s.buildMapGrid(); }, false},
      {"the map, then the section",
       [&](Session& s) {
         s.buildMapGrid();
         s.buildSectionGrid(line);
       },
       true},
      {"the section, then the map",
       [&](Session& s) {
         s.buildSectionGrid(line);
         s.buildMapGrid();
       },
       true},
      {"the section, the surface loaded again, then the map",
       [&](Session& s) {
         s.buildSectionGrid(line);
         s.loadDisplaySurface(surface.path());
         s.setZbase(0);
         s.buildMapGrid();
       },
       false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Session s;
    s.loadModel(model.path());
    s.setBoundaryFile(1, boundary.path());
    s.loadDisplaySurface(surface.path());
    s.setZbase(0);
    c.build(s);
    std::set<int> units;
    for (const ScenePart& part : s.blockScene().parts) {
      if (part.kind == ScenePartKind::Section) units.insert(part.unit);
    }
    EXPECT_EQ(units, (c.section ? std::set<int>{1, 2} : std::set<int>{}));
  }
}

// A section built after the inputs changed does not bring the block kept from before them up to
// date: the export waits for a map build of its own rather than mix the two.
TEST_F(SessionTest, TheSceneTakesNoBlockOfInputsThatChangedSinceItsBuild) {
  const SectionLine line{0, 50, true, 100, 50, 0};
  const struct {
    const char* name;
    bool mapAgain;
  } cases[] = {{"a section alone after the change", false}, {"the map built again", true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Session s;
    s.loadModel(model.path());
    s.setBoundaryFile(1, boundary.path());
    s.loadDisplaySurface(surface.path());
    s.buildMapGrid();
    s.loadDisplaySurface(surface.path());
    s.buildSectionGrid(line);
    if (c.mapAgain) s.buildMapGrid();
    try {
      EXPECT_FALSE(s.blockScene().parts.empty());
      EXPECT_TRUE(c.mapAgain);
    } catch (const SessionError& e) {
      EXPECT_FALSE(c.mapAgain);
      EXPECT_THAT(e.what(), HasSubstr("(5-1)"));
    }
  }
}

// Read side by side, the files of a three-boundary model are set all together or not at all, and
// a failure names the lowest bad file, as reading them in turn would.
TEST_F(SessionTest, BoundaryFilesReadSideBySideAreSetAllOrNone) {
  TempFile three("3\na,b,c\nw,-1,-1,-1\nx,1,-1,-1\ny,1,1,-1\nz,1,1,1\n");
  session.loadModel(three.path());
  const auto flat = [](double z) {
    return gridFileText(makeGrid(2, 2, 0, 0, 100, 100, [z](double, double) { return z; }));
  };
  TempFile low(flat(10)), middle(flat(20)), high(flat(30)), bad("2,2,0,0,1,1\n1\n2\nthree\n4\n"),
      worse("not a grid\n");
  const auto threw = [&](const std::vector<std::string>& paths) -> std::string {
    try {
      session.setBoundaryFiles(paths);
    } catch (const ReadError& error) {
      return error.what();
    }
    return {};
  };
  EXPECT_THAT(threw({low.path(), bad.path(), worse.path()}), HasSubstr(bad.path()));
  EXPECT_THAT(threw({low.path(), worse.path(), bad.path()}), HasSubstr(worse.path()));
  EXPECT_EQ(session.state().boundaryFile, (std::vector<std::string>{"", "", "", ""}));

  EXPECT_TRUE(session.setBoundaryFiles({low.path(), middle.path(), high.path()}).empty());
  EXPECT_EQ(session.state().boundaryFile,
            (std::vector<std::string>{"", low.path(), middle.path(), high.path()}));
  EXPECT_EQ(session.keptReads()[3].grid.z(1, 1), 30);
}

TEST_F(SessionTest, TheViewPresetsAndTheArithmeticBehindTheBoxes) {
  loadAll();
  EXPECT_EQ(session.planView().Alpha, 180);
  EXPECT_EQ(session.defaultView().Alpha, DefaultValues{}.defaultAlpha);
  session.buildSectionGrid({0, 50, true, 100, 50, 0});  // due east: seen from the south
  EXPECT_DOUBLE_EQ(session.sectionView().Alpha, 180);
  EXPECT_EQ(session.sectionView().Sca, 1.4);

  // The surface runs from just below 30 to just below 40.
  EXPECT_EQ(session.autoContours(4).Cst, 29);
  EXPECT_EQ(session.autoContours(4).Cen, 40);
  EXPECT_EQ(session.autoContours(4).Cin, 3);   // 11 / 4 rounded up
  EXPECT_EQ(session.autoContours(0).Cin, 11);  // 0 divisions count as 1
  EXPECT_EQ(session.autoContours(22).Cin, 1);  // half a metre rounds up to a whole one

  TypedView perspective;
  perspective.Dist = 500;
  perspective.Ppz = 20;
  session.applyView(perspective, 400, 400);
  EXPECT_EQ(session.switchPerspective(false).Dist, kParallelDist);
  TypedView parallel;
  parallel.Dist = kParallelDist;
  parallel.Ppz = 0;
  session.applyView(parallel, 400, 400);
  const PerspectiveValues back = session.switchPerspective(true);
  EXPECT_EQ(back.Dist, 500);
  EXPECT_EQ(back.Ppz, 20);
  parallel.Ppz = 7;  // a parallel view has no perspective plane, whatever was typed
  session.applyView(parallel, 400, 400);
  EXPECT_EQ(session.state().view.Ppz, 0);
}

TEST_F(SessionTest, TooManyContourLevelsDrawTheMapWithoutThemAndSaySo) {
  loadAll();
  session.buildMapGrid();
  view();
  session.setContours({.Cst = 0, .Cen = 100, .Cin = 0.001, .wanted = true});
  const Warnings warnings = session.drawGeoMap(canvas);
  ASSERT_EQ(warnings.size(), 1u);
  EXPECT_THAT(warnings[0], HasSubstr("without contours"));
  EXPECT_TRUE(canvas.of(Op::Point).empty());
}

}  // namespace
}  // namespace kalvenor
