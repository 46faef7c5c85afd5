// The session's boreholes: read with the example, kept when a table fails, checked against the
// last build, dropped with a model that no longer matches them, kept in session files.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/option_steps.h"
#include "example_inputs.h"
#include "model/read_error.h"
#include "session/session.h"
#include "session/session_file.h"
#include "session/session_restore.h"
#include "temp_file.h"

namespace kalvenor {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

BoreholeFiles exampleBoreholes() {
  const std::string e = KALVENOR_EXAMPLES_DIR "/folded-basin/";
  return {
      .collars = e + "collars.csv", .surveys = e + "surveys.csv", .intervals = e + "intervals.csv"};
}

class SessionBoreholes : public ::testing::Test {
 protected:
  SessionBoreholes() {
    loadInputs(session, exampleInputFiles(), [](const std::string&) {});
  }
  Session session;
};

TEST_F(SessionBoreholes, TheExampleReadsWithAWarningOfTheUnitTheModelLacks) {
  EXPECT_THAT(session.setBoreholeFiles(exampleBoreholes()),
              ElementsAre(HasSubstr("1 interval is logged in a unit the model does not have "
                                    "(玄武岩)")));
  EXPECT_EQ(session.state().boreholes->holes.size(), 25U);
  EXPECT_EQ(session.state().boreholeFiles, exampleBoreholes());
}

TEST_F(SessionBoreholes, ATableThatFailsChangesNothing) {
  session.setBoreholeFiles(exampleBoreholes());
  const auto before = session.state().boreholes;
  BoreholeFiles missing = exampleBoreholes();
  missing.intervals = "/nonexistent/intervals.csv";
  EXPECT_THROW(session.setBoreholeFiles(missing), ReadError);
  EXPECT_EQ(session.state().boreholes, before);
  EXPECT_EQ(session.state().boreholeFiles, exampleBoreholes());
}

TEST_F(SessionBoreholes, TheCheckSamplesTheLastBuildAndFindsTheMisfit) {
  session.setBoreholeFiles(exampleBoreholes());
  EXPECT_THROW(session.checkBoreholes(), SessionError);
  session.buildMapGrid({}, MapParts::SurfaceOnly);
  const BoreholeCheck check = session.checkBoreholes();
  const ContactCheck& worst = check.contacts.at(worstFirst(check).front());
  EXPECT_EQ(check.holes.at(worst.hole).id, "BH08");
  EXPECT_NEAR(worst.residual, -15, 0.6);
}

TEST_F(SessionBoreholes, ANewModelReadsThemAgainOrDropsThemWithTheReason) {
  TempFolder folder;
  BoreholeFiles copies = exampleBoreholes();
  for (std::string* table : {&copies.collars, &copies.surveys, &copies.intervals}) {
    const std::string copy = folder.file(std::filesystem::path(*table).filename());
    std::filesystem::copy_file(*table, copy);
    *table = copy;
  }
  session.setBoreholeFiles(copies);
  const auto before = session.state().boreholes;
  session.loadModel(exampleInputFiles().model);
  EXPECT_NE(session.state().boreholes, before);
  EXPECT_EQ(session.state().boreholes->holes.size(), 25U);

  std::ofstream(copies.intervals) << "hole_id,from,to,unit\nBH01,10,5,泥岩\n";
  EXPECT_THAT(session.loadModel(exampleInputFiles().model),
              Contains(HasSubstr("the boreholes were dropped")));
  EXPECT_TRUE(session.state().boreholes->holes.empty());
  EXPECT_FALSE(session.state().boreholeFiles.any());
}

TEST_F(SessionBoreholes, ABufferNotAbove0IsRefusedAndChangesNothing) {
  session.setBoreholeDrawing({.buffer = 120});
  for (const double buffer : {0.0, -5.0}) {
    EXPECT_THROW(session.setBoreholeDrawing({.buffer = buffer}), SessionError);
    EXPECT_EQ(session.state().boreholeDrawing, (BoreholeDrawing{.buffer = 120}));
  }
}

TEST_F(SessionBoreholes, ASessionFileKeepsTheTablesAndHowTheyAreDrawn) {
  session.setBoreholeFiles(exampleBoreholes());
  session.setBoreholeDrawing({.buffer = 120, .labels = true, .residuals = true});
  TempFolder folder;
  const std::string path = folder.file("s.json");
  const SessionDocument saved = documentOf(session.state(), 300, 200);
  const std::string text = sessionFileText(saved, path);
  EXPECT_THAT(text, HasSubstr("\"collars\": \""));
  std::ofstream(path) << text;
  Session reopened;
  restoreSession(reopened, readSessionFile(path), 300, 200);
  EXPECT_EQ(reopened.state().boreholeFiles, exampleBoreholes());
  EXPECT_EQ(reopened.state().boreholeDrawing,
            (BoreholeDrawing{.buffer = 120, .labels = true, .residuals = true}));
  EXPECT_EQ(reopened.state().boreholes->holes.size(), 25U);
}

}  // namespace
}  // namespace kalvenor
