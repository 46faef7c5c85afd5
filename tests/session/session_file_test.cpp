// Session files without a window: what a document keeps, how it names its files, and what a
// file that cannot be opened says and leaves behind.
#include "session/session_file.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

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
  EXPECT_THAT(problem(R"({"format": "kalvenor session", "version": 2})"),
              HasSubstr("written by a newer viewer (format version 2; this one reads up to 1)"));
  EXPECT_THAT(problem(R"({"format": "kalvenor session", "version": "1"})"),
              HasSubstr("format version is missing or not a whole number"));
  EXPECT_THAT(problem(R"({"format": "other", "version": 1})"), HasSubstr("not a session file"));
  EXPECT_THAT(problem(R"({"format": "kalvenor session", "version": 1, "model": {}})"),
              HasSubstr("incomplete or malformed"));
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

// A device would be read without end and a named pipe would wait for a writer for ever.
TEST_F(SessionFileTest, ADeviceOrAPipeIsRefusedBeforeItIsOpened) {
  const std::string pipe = (folder / "pipe.json").string();
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  for (const auto& [path, problem] :
       {std::pair<std::string, std::string>{"/dev/zero", "is a device, not a file"},
        {pipe, "is a named pipe, not a file"}}) {
    EXPECT_THAT([&] { readSessionFile(path); },
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
  EXPECT_THROW(restoreSession(other, d, 100, 100), std::exception);
  EXPECT_EQ(other.state().model.Nbd, 1);
  EXPECT_TRUE(other.state().boundaryFile[1].empty());
}

}  // namespace
}  // namespace kalvenor
