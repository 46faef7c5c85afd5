// Session files without a window: what a document keeps, how it names its files, and what a
// file that cannot be opened says and leaves behind.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>

#include "../render/recording_canvas.h"
#include "session/session_restore.h"
#include "test_paths.h"

namespace kalvenor {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;
using ::testing::StartsWith;

const std::string kExample = KALVENOR_EXAMPLES_DIR "/folded-basin/";
const char* const kBoundaries[] = {"limestone_top.txt", "sandstone_top.txt", "mudstone_top.txt",
                                   "unconformity.txt"};

// A folder beside the example whose session files name the example's files relatively.
class SessionFileTest : public ::testing::Test {
 protected:
  SessionFileTest() {
    folder = std::filesystem::temp_directory_path() /
             ("kalvenor_session_" + std::to_string(::getpid()) + "_" +
              ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(folder);
  }
  ~SessionFileTest() override { std::filesystem::remove_all(folder); }

  std::string write(const std::string& name, const std::string& text) {
    const std::string path = (folder / name).string();
    std::ofstream(path, std::ios::binary) << text;
    return path;
  }
  // The example's files, from `from` (the example's folder or a copy of it).
  void loadExample(const std::string& from = kExample) {
    session.loadModel(from + "model.txt");
    int k = 1;
    for (const char* file : kBoundaries) session.setBoundaryFile(k++, from + file);
    session.applyColourFile(from + "colors.txt");
    session.loadDisplaySurface(from + "topography.txt");
    session.setZbase(-20);
  }
  // A copy of the example's input files in the folder `name` of the test's folder.
  std::string copyExample(const std::string& name) {
    std::filesystem::create_directories(folder / name);
    for (const char* file : {"model.txt", "colors.txt", "topography.txt"}) {
      std::filesystem::copy_file(kExample + file, folder / name / file);
    }
    for (const char* file : kBoundaries) {
      std::filesystem::copy_file(kExample + file, folder / name / file);
    }
    return (folder / name).string() + "/";
  }
  std::string saved(const std::string& name) {
    const std::string path = (folder / name).string();
    return write(name, sessionFileText(documentOf(session.state(), 300, 200), path));
  }

  std::filesystem::path folder;
  Session session;
};

// A folder moved with its session and inputs keeps working.
TEST_F(SessionFileTest, InputFilesAreNamedRelativeToTheSessionAndReadBackInFull) {
  loadExample(copyExample("inputs"));
  saved("work.json");
  std::filesystem::rename(folder / "inputs", folder / "moved-inputs");
  std::filesystem::create_directories(folder / "moved");
  std::filesystem::rename(folder / "work.json", folder / "moved" / "work.json");
  std::filesystem::rename(folder / "moved-inputs", folder / "moved" / "inputs");
  const std::string path = (folder / "moved" / "work.json").string();
  std::ifstream in(path);
  const std::string text((std::istreambuf_iterator<char>(in)), {});
  EXPECT_THAT(text, HasSubstr("\"inputs/model.txt\""));
  EXPECT_THAT(text, Not(HasSubstr(folder.string())));

  const std::string moved = (folder / "moved" / "inputs").string() + "/";
  const SessionDocument d = readSessionFile(path);
  EXPECT_EQ(d.modelFile, moved + "model.txt");
  ASSERT_EQ(d.boundaryFiles.size(), 4u);
  EXPECT_EQ(d.boundaryFiles[3], moved + "unconformity.txt");
  EXPECT_EQ(d.surfaceFile, moved + "topography.txt");
  EXPECT_EQ(d.zbase, -20);
  EXPECT_EQ(d.canvasWidth, 300);
  EXPECT_EQ(d.canvasHeight, 200);

  Session reopened;
  restoreSession(reopened, d, 300, 200);
  EXPECT_EQ(reopened.state().unitColor, session.state().unitColor);
  EXPECT_EQ(reopened.state().boundaryColor, session.state().boundaryColor);
  EXPECT_EQ(reopened.state().Zbase, -20);
  EXPECT_EQ(reopened.state().boundaryFile.size(), 5u);
}

// The file the geological map was written to is kept relative to the session, and a session
// without one writes no outputs at all.
TEST_F(SessionFileTest, TheGeologyMapsFileIsKeptWithTheSession) {
  loadExample();
  EXPECT_EQ(documentOf(session.state(), 0, 0).geologyMapFile, "");
  EXPECT_THAT(sessionFileText(documentOf(session.state(), 0, 0), (folder / "a.json").string()),
              Not(HasSubstr("outputs")));
  session.setGeologyMapFile((folder / "maps" / "map.gpkg").string());
  const std::string path = saved("work.json");
  std::ifstream in(path);
  const std::string text((std::istreambuf_iterator<char>(in)), {});
  EXPECT_THAT(text, HasSubstr("\"geologyMap\": \"maps/map.gpkg\""));
  const SessionDocument d = readSessionFile(path);
  EXPECT_EQ(d.geologyMapFile, (folder / "maps" / "map.gpkg").string());
  Session reopened;
  restoreSession(reopened, d, 300, 200);
  EXPECT_EQ(reopened.state().geologyMapFile, d.geologyMapFile);
}

TEST_F(SessionFileTest, AModelTypedByHandIsKeptWithItsNamesAndCells) {
  session.useTwoUnitModel();
  Array2D<std::int16_t> cells(1, 2, 1, 1, 0);
  cells(1, 1) = -1;
  cells(2, 1) = 1;
  session.setModelCells(cells);
  session.setUnitColor(2, packRgb(10, 20, 30));
  const SessionDocument d = readSessionFile(saved("hand.json"));
  ASSERT_TRUE(d.handModel.has_value());
  EXPECT_TRUE(d.modelFile.empty());
  EXPECT_FALSE(d.unitColors[0].has_value());
  EXPECT_EQ(d.unitColors[1], packRgb(10, 20, 30));

  Session reopened;
  restoreSession(reopened, d, 100, 100);
  EXPECT_EQ(reopened.state().model.unitName, session.state().model.unitName);
  EXPECT_EQ(reopened.state().model.boundaryName, session.state().model.boundaryName);
  EXPECT_EQ(reopened.state().model.modelCell, session.state().model.modelCell);
  EXPECT_EQ(reopened.state().unitColorChosen, session.state().unitColorChosen);
}

TEST_F(SessionFileTest, AMissingInputFileIsNamedWithTheSession) {
  loadExample();
  std::filesystem::copy_file(kExample + "topography.txt", folder / "ground.txt");
  session.loadDisplaySurface((folder / "ground.txt").string());
  const std::string path = saved("moved.json");
  std::filesystem::remove(folder / "ground.txt");
  try {
    readSessionFile(path);
    FAIL() << "a missing display surface was not reported";
  } catch (const SessionError& error) {
    EXPECT_THAT(error.what(), StartsWith(path + ": the display surface "));
    EXPECT_THAT(error.what(), HasSubstr("ground.txt does not exist"));
  }

  // A folder or a device in its place is not called missing.
  std::filesystem::create_directory(folder / "ground.txt");
  std::filesystem::create_symlink("/dev/zero", folder / "zero.txt");
  const std::pair<std::string, std::string> others[] = {
      {"ground.txt", "ground.txt is a folder, not a file"},
      {"zero.txt", "zero.txt is not a regular file"}};
  for (const auto& [name, problem] : others) {
    session.loadDisplaySurface(kExample + "topography.txt");
    std::string text = sessionFileText(documentOf(session.state(), 300, 200), path);
    // The surface's path as written, absolute or relative to the session file.
    const std::size_t end = text.find("topography.txt\"") + std::string("topography.txt").size();
    const std::size_t start = text.rfind('"', end - 1) + 1;
    text.replace(start, end - start, (folder / name).string());
    write("moved.json", text);
    try {
      readSessionFile(path);
      ADD_FAILURE() << name << " was taken for a display surface";
    } catch (const SessionError& error) {
      EXPECT_THAT(error.what(), StartsWith(path + ": the display surface "));
      EXPECT_THAT(error.what(), HasSubstr(problem));
    }
  }
}

TEST_F(SessionFileTest, AFileThatIsNoSessionSaysWhy) {
  const auto problem = [&](const std::string& text) {
    const std::string path = write("bad.json", text);
    try {
      readSessionFile(path);
    } catch (const SessionError& error) {
      EXPECT_THAT(error.what(), StartsWith(path + ": "));
      return std::string(error.what());
    }
    return std::string("no error");
  };
  EXPECT_THAT(problem("[1, 2"), HasSubstr("the JSON is malformed"));
  EXPECT_THAT(problem(R"({"format": "kalvenor session", "version": 5})"),
              HasSubstr("written by a newer viewer (format version 5; this one reads up to 4)"));
  EXPECT_THAT(problem(R"({"format": "kalvenor session", "version": "1"})"),
              HasSubstr("format version is missing or not a whole number"));
  EXPECT_THAT(problem(R"({"format": "other", "version": 1})"), HasSubstr("not a session file"));
  EXPECT_THAT(problem(R"({"format": "kalvenor session", "version": 1, "model": {}})"),
              HasSubstr("bad.json: coordinateSystem is missing"));
  EXPECT_THAT(problem(R"({"format": "kalvenor session", "version": 1, "baseHeight": 1e400})"),
              HasSubstr("a number is too large to be read"));
  EXPECT_THROW(
      {
        try {
          readSessionFile((folder / "none.json").string());
        } catch (const SessionError& error) {
          EXPECT_THAT(error.what(), HasSubstr("none.json: the session file cannot be opened"));
          throw;
        }
      },
      SessionError);
}

// A file of the first format version kept one drawing mode and the grid built last; it opens
// with the picture that version drew from them: here the map with the line of a section built
// after it.
TEST_F(SessionFileTest, AFileOfTheFirstVersionOpensWithItsPicture) {
  loadExample();
  session.buildMapGrid();
  session.applyView({.Alpha = 225, .Gamma = 30, .Sca = 1.2, .Ve = 2}, 300, 200);
  RecordingCanvas first(300, 200);
  session.drawGeoMap(first);
  session.buildSectionGrid({30200, 41000, true, 34800, 43500, 0});
  session.drawSurveyLine(first);
  nlohmann::json j = nlohmann::json::parse(std::ifstream(saved("now.json")));
  j["version"] = 1;
  j.erase("grids");
  j.erase("picture");
  const std::string old = write("old.json", j.dump());

  Session reopened;
  const SessionDocument d = readSessionFile(old);
  restoreSession(reopened, d, 300, 200);
  RecordingCanvas again(300, 200);
  drawSessionPicture(reopened, d, again);
  EXPECT_EQ(again.ops, first.ops);
  EXPECT_THAT(reopened.state().overlays, ::testing::ElementsAre(DrawnOver::SurveyLine));
  EXPECT_FALSE(reopened.state().mapGrid->mapUnit.empty());
}

// A device would be read without end and a named pipe would wait for a writer for ever.
TEST_F(SessionFileTest, ADeviceOrAPipeIsRefusedBeforeItIsOpened) {
  const std::string pipe = (folder / "pipe.json").string();
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  for (const auto& [path, problem] :
       {std::pair<std::string, std::string>{"/dev/zero", "is a device, not a file"},
        {pipe, "is a named pipe, not a file"}}) {
    EXPECT_THAT([&path = path] { readSessionFile(path); },
                ::testing::ThrowsMessage<SessionError>(StartsWith(path + ": this " + problem)));
  }
}

// A boundary file that was fine when saved but no longer reads stops the opening before the
// session changes.
TEST_F(SessionFileTest, AStepThatFailsLeavesTheSessionAsItWas) {
  std::filesystem::copy_file(kExample + "unconformity.txt", folder / "top.txt");
  loadExample();
  session.setBoundaryFile(4, (folder / "top.txt").string());
  const SessionDocument d = readSessionFile(saved("broken.json"));
  write("top.txt", "not a grid");

  Session other;
  other.useTwoUnitModel();
  try {
    restoreSession(other, d, 100, 100);
    ADD_FAILURE() << "a boundary file that does not read was taken";
  } catch (const SessionError& error) {
    EXPECT_THAT(error.what(), StartsWith((folder / "broken.json").string() + ": "));
    EXPECT_THAT(error.what(), HasSubstr("top.txt"));
  }
  EXPECT_EQ(other.state().model.Nbd, 1);
  EXPECT_TRUE(other.state().boundaryFile[1].empty());
}

// The document as a window with the two-unit model saves it, with `changes` made to it: each a
// JSON pointer into it and the JSON text to put there.
std::string changedDocument(const std::string& saved,
                            const std::vector<std::pair<std::string, std::string>>& changes) {
  nlohmann::json document = nlohmann::json::parse(saved);
  for (const auto& [pointer, value] : changes) {
    document[nlohmann::json::json_pointer(pointer)] = nlohmann::json::parse(value);
  }
  return document.dump(2);
}

// Every field is checked for what its use needs before anything is read, and the message names
// the session file, the field and what was wrong in words, never the JSON library's.
TEST_F(SessionFileTest, AFieldThatDoesNotFitIsNamedWithWhatWasWrong) {
  session.useTwoUnitModel();
  const std::string saved =
      sessionFileText(documentOf(session.state(), 300, 200), (folder / "s.json").string());
  const std::string longTitle = "\"" + std::string(5'000'000, 'x') + "\"";
  const std::pair<std::vector<std::pair<std::string, std::string>>, std::string> cases[] = {
      {{{"/view/canvas", "[300, 200, 1]"}},
       "view.canvas must be two numbers, width and height; found three"},
      {{{"/view/canvas", "\"300x200\""}},
       "view.canvas must be two numbers, width and height; found \"300x200\""},
      {{{"/view/canvas/1", "0"}}, "view.canvas[1] must be a whole number from 1 to 16384; found 0"},
      {{{"/view/canvas/0", "1e6"}},
       "view.canvas[0] must be a whole number from 1 to 16384; found 1000000"},
      {{{"/model/cells/1/0", "70000"}},
       "model.cells[1][0] must be a whole number from -32768 to 32767; found 70000"},
      {{{"/model/cells/0/0", "-1.67e53"}},
       "model.cells[0][0] must be a whole number from -32768 to 32767; found -1.67E+53"},
      {{{"/model/cells/0/0", "0.5"}}, "; found 0.5"},
      {{{"/model/cells", "[[1]]"}},
       "model.cells must be a list of two rows, one for each unit; found one"},
      {{{"/model/cells/1", "[1, 1]"}},
       "model.cells[1] must be a list of one cell, one for each boundary; found two"},
      {{{"/model/boundaries", "16"}},
       "model.boundaries must be a whole number from 0 to 15; found 16"},
      {{{"/model/unitNames/1", "5"}}, "model.unitNames[1] must be one line of text"},
      {{{"/model/ready", "\"yes\""}}, "model.ready must be true or false; found \"yes\""},
      {{{"/model", "{}"}}, "model.boundaries is missing"},
      {{{"/boundaryFiles", "[\"a.txt\", \"b.txt\"]"}},
       "boundaryFiles must be a list of one file name, one for each boundary of the model; "
       "found two"},
      {{{"/boundaryFiles/0", "3"}}, "boundaryFiles[0] must be a file name; found 3"},
      {{{"/colours/units", "[null]"}},
       "colours.units must be a list of two colours, one for each unit of the model; found one"},
      {{{"/colours/boundaries/0", "\"#12345g\""}},
       "colours.boundaries[0] must be a colour #rrggbb; found \"#12345g\""},
      {{{"/draw/lineColor", "\"#-1ffff\""}}, "draw.lineColor must be a colour #rrggbb"},
      {{{"/draw/title", longTitle}},
       "draw.title must be one line of text of at most 200 characters; found 5000000 characters"},
      {{{"/draw/title", "\"two\\nlines\""}},
       "draw.title must be one line of text; found a line break"},
      {{{"/draw/picture", "6"}}, "draw.picture must be a whole number from 0 to 5; found 6"},
      {{{"/draw/contacts", "\"soft\""}},
       "draw.contacts must be \"smooth\" or \"cells\"; found \"soft\""},
      {{{"/draw/sideWalls", "1"}}, "draw.sideWalls must be true or false; found 1"},
      {{{"/draw/shading/altitude", "95"}},
       "draw.shading.altitude must be a number from 0 to 90; found 95"},
      {{{"/draw/shading/strength", "-0.5"}},
       "draw.shading.strength must be a number from 0 to 1; found -0.5"},
      {{{"/draw/shading/on", "\"yes\""}}, "draw.shading.on must be true or false; found \"yes\""},
      {{{"/contours/interval", "\"5\""}}, "contours.interval must be a number; found \"5\""},
      {{{"/baseHeight", "true"}}, "baseHeight must be a number; found true"},
      {{{"/section", "{\"start\": [0, 0]}"}}, "section must hold an end point or an azimuth"},
      {{{"/section", "{\"start\": [0, 0], \"end\": [1, 1], \"azimuth\": 3}"}}, "not both"},
      {{{"/section", "{\"start\": [0], \"azimuth\": 30}"}},
       "section.start must be two numbers, x and y; found one"},
      {{{"/view/applied", "true"}, {"/view/magnification", "0"}},
       "view.magnification must be a number above 0 and at most 1000; found 0"},
      {{{"/view/applied", "true"},
        {"/view/magnification", "1"},
        {"/view/exaggeration", "1"},
        {"/view/distance", "5000"},
        {"/view/plane", "6000"}},
       "view.plane must lie between the view centre and the eye, below the distance 5000; "
       "found 6000"},
      {{{"/view", "[]"}}, "view must be an object; found an empty list"},
      {{{"/view/pan", "[1]"}}, "view.pan must be two numbers, east and north; found one"},
      {{{"/grid", "\"both\""}}, "grid must be \"map\", \"section\" or \"\"; found \"both\""},
      {{{"/coordinateSystem", "\"EPSG:4326\""}}, "coordinateSystem \"EPSG:4326\" cannot be used: "},
      {{{"/coordinateSystem", "6677"}}, "coordinateSystem must be text"},
  };
  for (const auto& [changes, message] : cases) {
    const std::string path = write("bad.json", changedDocument(saved, changes));
    try {
      readSessionFile(path);
      ADD_FAILURE() << "accepted: " << message;
    } catch (const SessionError& error) {
      EXPECT_THAT(error.what(), StartsWith(path + ": "));
      EXPECT_THAT(error.what(), HasSubstr(message));
      EXPECT_THAT(error.what(), Not(HasSubstr("json.exception")));
    }
  }
  EXPECT_NO_THROW(readSessionFile(write("good.json", saved)));
}

// The shaded relief goes with the session; one saved before there was shading opens flat.
TEST_F(SessionFileTest, TheShadingIsKeptAndAnOlderSessionOpensWithoutIt) {
  loadExample();
  const ReliefShading shading{true, 120, 30, 0.7};
  session.setShading(shading);
  const std::string path = saved("shaded.json");
  const SessionDocument d = readSessionFile(path);
  EXPECT_EQ(d.drawOptions.shading, shading);
  Session reopened;
  restoreSession(reopened, d, 300, 200);
  EXPECT_EQ(reopened.state().drawOptions.shading, shading);

  std::ifstream in(path);
  nlohmann::json older = nlohmann::json::parse(in);
  older["draw"].erase("shading");
  EXPECT_EQ(readSessionFile(write("older.json", older.dump(2))).drawOptions.shading,
            ReliefShading{});
}

// The vertices alone stand for the line, and reopening builds the same bent section.
TEST_F(SessionFileTest, APolylineSectionIsKeptByItsVertices) {
  loadExample();
  SectionLine line;
  line.vertices = {{30200, 40500}, {32500, 43000}, {34800, 40500}};
  session.buildSectionGrid(line);
  const std::string path = saved("bent.json");
  std::ifstream in(path);
  const nlohmann::json document = nlohmann::json::parse(in);
  EXPECT_EQ(document["section"].dump(),
            "{\"vertices\":[[30200.0,40500.0],[32500.0,43000.0],[34800.0,40500.0]]}");

  const SessionDocument d = readSessionFile(path);
  ASSERT_TRUE(d.sectionLine);
  EXPECT_EQ(d.sectionLine->vertices, line.vertices);
  Session reopened;
  restoreSession(reopened, d, 300, 200);
  const SectionGrid& s = *reopened.state().section;
  EXPECT_EQ(s.Nxy, session.state().section->Nxy);
  ASSERT_EQ(s.bends.size(), 1u);
  EXPECT_EQ(s.bends[0].vertex, 2);
}

// A line read from a file keeps its vertices, their names and where they came from; the session
// opens with the same named bends after the file is gone.
TEST_F(SessionFileTest, ALineFromAFileIsKeptWithItsNamesAndOpensWithoutTheFile) {
  loadExample();
  const std::string file =
      write("line.csv", "x,y,name\n30200,40500,A\n32500,43000,Pass\n34800,40500,C\n");
  const SectionLine line = session.surveyLineFromFile(file);
  session.buildSectionGrid(line);
  const std::string path = saved("from-file.json");
  std::filesystem::remove(file);

  const SessionDocument d = readSessionFile(path);
  ASSERT_TRUE(d.sectionLine);
  EXPECT_EQ(d.sectionLine->vertices, line.vertices);
  EXPECT_EQ(d.sectionLine->vertexNames, (std::vector<std::string>{"A", "Pass", "C"}));
  EXPECT_EQ(d.sectionLine->origin, file);
  Session reopened;
  restoreSession(reopened, d, 300, 200);
  const SectionGrid& s = *reopened.state().section;
  EXPECT_EQ(s.Nxy, session.state().section->Nxy);
  ASSERT_EQ(s.bends.size(), 1u);
  EXPECT_EQ(s.bends[0].name, "Pass");
}

// The fence is kept by its lines and its cut, and reopening builds its panels with the map's
// walls: the same picture again.
TEST_F(SessionFileTest, AFenceIsKeptByItsLinesAndItsCut) {
  loadExample();
  session.buildMapGrid();
  const std::vector<FenceLine> lines = {{"A", {{30200, 41000}, {34800, 43500}}},
                                        {"road", {{30500, 43800}, {32000, 42000}, {34500, 41200}}}};
  session.setFence(lines);
  session.setFenceCut(true);
  session.applyView({.Alpha = 200, .Gamma = 35, .Sca = 1.2, .Ve = 3}, 300, 200);
  RecordingCanvas drawn(300, 200);
  session.drawGeoMap(drawn);
  const std::string path = saved("fence.json");
  std::ifstream in(path);
  const nlohmann::json document = nlohmann::json::parse(in);
  EXPECT_EQ(document["fence"].dump(),
            "{\"cut\":true,\"lines\":[{\"name\":\"A\",\"vertices\":[[30200.0,41000.0],"
            "[34800.0,43500.0]]},{\"name\":\"road\",\"vertices\":[[30500.0,43800.0],[32000.0,"
            "42000.0],[34500.0,41200.0]]}]}");

  const SessionDocument d = readSessionFile(path);
  EXPECT_EQ(d.fenceLines, lines);
  EXPECT_TRUE(d.fenceCut);
  Session reopened;
  restoreSession(reopened, d, 300, 200);
  EXPECT_EQ(reopened.state().fenceLines, lines);
  ASSERT_EQ(reopened.state().fence->size(), 2u);
  EXPECT_EQ((*reopened.state().fence)[1].grid.unit, (*session.state().fence)[1].grid.unit);
  RecordingCanvas again(300, 200);
  drawSessionPicture(reopened, d, again);
  EXPECT_EQ(again.ops, drawn.ops);
}

TEST_F(SessionFileTest, FenceLinesThatMakeNoLineAreNamedWithWhatWasWrong) {
  session.useTwoUnitModel();
  const std::string saved =
      sessionFileText(documentOf(session.state(), 300, 200), (folder / "s.json").string());
  const std::pair<std::vector<std::pair<std::string, std::string>>, std::string> cases[] = {
      {{{"/fence/lines", R"([{"name": "A", "vertices": [[0, 0]]}])"}},
       "fence.lines[0].vertices must hold at least two vertices"},
      {{{"/fence/lines", R"([{"name": "A", "vertices": [[0, 0], [1, "1"]]}])"}},
       "fence.lines[0].vertices[1][1] must be a number"},
      {{{"/fence/lines", R"([{"vertices": [[0, 0], [1, 1]]}])"}}, "fence.lines[0].name is missing"},
      {{{"/fence/cut", "1"}}, "fence.cut must be true or false; found 1"},
  };
  for (const auto& [changes, message] : cases) {
    const std::string path = write("bad.json", changedDocument(saved, changes));
    EXPECT_THAT([&] { readSessionFile(path); },
                ::testing::ThrowsMessage<SessionError>(HasSubstr(message)));
  }
}

TEST_F(SessionFileTest, VerticesThatMakeNoLineAreNamedWithWhatWasWrong) {
  session.useTwoUnitModel();
  const std::string saved =
      sessionFileText(documentOf(session.state(), 300, 200), (folder / "s.json").string());
  const std::pair<std::string, std::string> cases[] = {
      {"{\"vertices\": [[0, 0]]}", "section.vertices must hold at least two vertices"},
      {"{\"vertices\": [[0, 0], [1]]}", "section.vertices[1] must be two numbers, x and y"},
      {"{\"vertices\": [[0, 0], [1, 1]], \"start\": [0, 0], \"azimuth\": 3}",
       "section must hold vertices or a start point, not both"},
      {"{\"vertices\": [[0, 0], [1, 1]], \"vertexNames\": [\"A\"]}",
       "section.vertexNames must be a list of names, one for each vertex"},
  };
  for (const auto& [section, message] : cases) {
    const std::string path = write("bad.json", changedDocument(saved, {{"/section", section}}));
    EXPECT_THAT([&] { readSessionFile(path); },
                ::testing::ThrowsMessage<SessionError>(HasSubstr(message)));
  }
}

// The series is kept with its survey line and reopens as it was; a file written before series
// were kept opens with the survey line's section alone.
TEST_F(SessionFileTest, ASectionSeriesIsKeptWithItsLine) {
  loadExample();
  session.buildSectionGrid({30200, 41000, false, 0, 0, 61});
  session.setSectionSeries({4, -350});
  const std::string path = saved("series.json");
  std::ifstream in(path);
  const nlohmann::json document = nlohmann::json::parse(in);
  EXPECT_EQ(document["sectionSeries"].dump(), "{\"count\":4,\"spacing\":-350.0}");
  Session reopened;
  restoreSession(reopened, readSessionFile(path), 300, 200);
  EXPECT_EQ(reopened.state().series, (SectionSeries{4, -350}));

  nlohmann::json older = document;
  older.erase("sectionSeries");
  Session fromOlder;
  restoreSession(fromOlder, readSessionFile(write("older.json", older.dump())), 300, 200);
  EXPECT_EQ(fromOlder.state().series, SectionSeries{});
}

TEST_F(SessionFileTest, ASeriesThatCannotBeMadeIsNamedWithWhatWasWrong) {
  session.useTwoUnitModel();
  const std::string saved =
      sessionFileText(documentOf(session.state(), 300, 200), (folder / "s.json").string());
  const std::pair<std::string, std::string> cases[] = {
      {"{\"count\": 0, \"spacing\": 100}", "sectionSeries.count"},
      {"{\"count\": 3, \"spacing\": 0}",
       "sectionSeries.spacing cannot be 0 with more than one section"},
      {"{\"count\": 3}", "sectionSeries.spacing"},
  };
  for (const auto& [series, message] : cases) {
    const std::string path =
        write("bad.json", changedDocument(saved, {{"/sectionSeries", series}}));
    EXPECT_THAT([&] { readSessionFile(path); },
                ::testing::ThrowsMessage<SessionError>(HasSubstr(message)));
  }
}

// What only the inputs can tell is checked once they are read, before the session changes: the
// lists that follow the size of a model file, and a base the picture cannot be drawn with. The
// message names the session, the field and the input.
TEST_F(SessionFileTest, FieldsThatDoNotFitTheInputsAreNamedBeforeTheSessionChanges) {
  loadExample();
  const std::string saved =
      sessionFileText(documentOf(session.state(), 300, 200), (folder / "s.json").string());
  const std::pair<std::vector<std::pair<std::string, std::string>>, std::string> cases[] = {
      {{{"/boundaryFiles/3", "\"\""}, {"/boundaryFiles/4", "\"\""}},
       "boundaryFiles must be a list of four file names, one for each boundary of the model " +
           kExample + "model.txt; found five"},
      {{{"/colours/units/5", "null"}},
       "colours.units must be a list of five colours, one for each unit of the model " + kExample +
           "model.txt; found six"},
      {{{"/colours/boundaries", "[]"}}, "colours.boundaries must be a list of four colours"},
      {{{"/view/applied", "true"},
        {"/view/magnification", "1"},
        {"/view/exaggeration", "1"},
        {"/draw/picture", "1"},
        {"/baseHeight", "1e6"}},
       "baseHeight: The base height (1000000) must lie below the highest display elevation"},
  };
  for (const auto& [changes, message] : cases) {
    const std::string path = write("bad.json", changedDocument(saved, changes));
    const SessionDocument d = readSessionFile(path);
    Session other;
    other.useTwoUnitModel();
    try {
      restoreSession(other, d, 300, 200);
      ADD_FAILURE() << "restored: " << message;
    } catch (const SessionError& error) {
      EXPECT_THAT(error.what(), StartsWith(path + ": " + message));
    }
    EXPECT_EQ(other.state().model.Nbd, 1);
  }
}

}  // namespace
}  // namespace kalvenor
