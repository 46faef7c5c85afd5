#include "canvas/output_files.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include <QImage>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include "canvas/bitmap_file.h"

namespace kalvenor {
namespace {

namespace fs = std::filesystem;

// While it lives, writing a file beyond `bytes` fails with EFBIG as on a full disk; SIGXFSZ,
// which would end the test, is ignored meanwhile. Works without administrator rights.
class FullDisk {
 public:
  explicit FullDisk(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &saved_);
    const rlimit small{bytes, saved_.rlim_max};
    setrlimit(RLIMIT_FSIZE, &small);
    savedSignal_ = signal(SIGXFSZ, SIG_IGN);
  }
  ~FullDisk() {
    setrlimit(RLIMIT_FSIZE, &saved_);
    signal(SIGXFSZ, savedSignal_);
  }
  FullDisk(const FullDisk&) = delete;
  FullDisk& operator=(const FullDisk&) = delete;

 private:
  rlimit saved_{};
  sighandler_t savedSignal_;
};

const QByteArray kLarge(64 * 1024, 'x');

// The message of the OutputError a write throws, empty when it throws none.
std::string failureOf(const std::function<void()>& write) {
  try {
    write();
  } catch (const OutputError& error) {
    return error.what();
  }
  return {};
}

class OutputFiles : public ::testing::Test {
 protected:
  OutputFiles()
      : folder_(fs::temp_directory_path() /
                ("kalvenor_output_files_" + std::to_string(::getpid()) + "_" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name())) {
    fs::remove_all(folder_);
    fs::create_directories(folder_);
  }
  ~OutputFiles() override { fs::remove_all(folder_); }

  std::string path(const std::string& name) const { return (folder_ / name).string(); }
  void put(const std::string& name, const std::string& content) const {
    std::ofstream(folder_ / name, std::ios::binary) << content;
  }
  std::string contents(const std::string& name) const {
    std::ostringstream text;
    text << std::ifstream(folder_ / name, std::ios::binary).rdbuf();
    return text.str();
  }
  fs::perms mode(const std::string& name) const {
    return fs::status(folder_ / name).permissions() & fs::perms::mask;
  }
  // Every name in the folder, sorted: a temporary file left behind shows here.
  std::vector<std::string> names() const {
    std::vector<std::string> found;
    for (const auto& entry : fs::directory_iterator(folder_)) {
      found.push_back(entry.path().filename().string());
    }
    std::sort(found.begin(), found.end());
    return found;
  }

  fs::path folder_;
};

using Names = std::vector<std::string>;

TEST_F(OutputFiles, ReplaceTheTargetWholeOrNotAtAll) {
  writeOutputFile(path("out.csv"), "first\n");
  writeOutputFile(path("out.csv"), "second\n");
  EXPECT_EQ(contents("out.csv"), "second\n");
  const std::string missing = path("missing/out.csv");
  EXPECT_EQ(failureOf([&] { writeOutputFile(missing, "x"); }),
            missing + ": cannot create the file: No such file or directory");
  EXPECT_EQ(names(), Names{"out.csv"});
}

// Large outputs go to the disk in several writes, small ones in one.
TEST_F(OutputFiles, AFullDiskIsReportedWithItsReasonAndTheOldFileKept) {
  put("map.svg", "old picture");
  for (const auto& [room, bytes] : {std::pair{4096, kLarge}, std::pair{16, QByteArray(100, 'x')}}) {
    std::string failure;
    {
      const FullDisk disk(room);
      failure = failureOf([&, &bytes = bytes] { writeOutputFile(path("map.svg"), bytes); });
    }
    EXPECT_EQ(failure, path("map.svg") + ": cannot write: File too large");
    EXPECT_EQ(contents("map.svg"), "old picture");
    EXPECT_EQ(names(), Names{"map.svg"});
  }
}

TEST_F(OutputFiles, AReadOnlyTargetIsRefusedAndKeptEvenThroughALink) {
  put("units.asc", "old units");
  fs::permissions(path("units.asc"), fs::perms::owner_read | fs::perms::group_read);
  fs::create_symlink("units.asc", folder_ / "link.asc");
  for (const char* name : {"units.asc", "link.asc"}) {
    EXPECT_EQ(failureOf([&] { writeOutputFile(path(name), "new units"); }),
              path(name) + ": cannot replace a read-only file: Permission denied");
  }
  EXPECT_EQ(contents("units.asc"), "old units");
  EXPECT_EQ(mode("units.asc"), fs::perms::owner_read | fs::perms::group_read);
  EXPECT_EQ(names(), (Names{"link.asc", "units.asc"}));
}

// NAME.part is the user's own file, whether the write succeeds or fails.
TEST_F(OutputFiles, AFileNamedLikeATemporaryIsNeverTouched) {
  put("units.asc.part", "mine");
  writeOutputFile(path("units.asc"), "new units");
  {
    const FullDisk disk(4096);
    EXPECT_NE(failureOf([&] { writeOutputFile(path("units.asc"), kLarge); }), "");
  }
  EXPECT_EQ(contents("units.asc.part"), "mine");
  EXPECT_EQ(contents("units.asc"), "new units");
  EXPECT_EQ(names(), (Names{"units.asc", "units.asc.part"}));
}

TEST_F(OutputFiles, AReplacedFileKeepsItsPermissions) {
  using enum fs::perms;
  for (const fs::perms kept : {owner_read | owner_write, owner_read | owner_write | group_read,
                               owner_all | group_read | group_exec | others_exec | set_gid}) {
    put("out.csv", "old");
    fs::permissions(path("out.csv"), kept);
    writeOutputFile(path("out.csv"), "new");
    EXPECT_EQ(contents("out.csv"), "new");
    EXPECT_EQ(mode("out.csv"), kept);
  }
}

TEST_F(OutputFiles, ASymbolicLinkStaysALinkAndItsTargetGetsTheContent) {
  put("real.csv", "old");
  fs::create_symlink("real.csv", folder_ / "link.csv");
  writeOutputFile(path("link.csv"), "new");
  EXPECT_TRUE(fs::is_symlink(folder_ / "link.csv"));
  EXPECT_EQ(fs::read_symlink(folder_ / "link.csv"), "real.csv");
  EXPECT_EQ(contents("real.csv"), "new");
  EXPECT_EQ(names(), (Names{"link.csv", "real.csv"}));
}

TEST_F(OutputFiles, NoTargetOfASetIsReplacedUnlessEveryOutputIsWritten) {
  put("map.png", "old map");
  put("legend.csv", "old legend");
  OutputSet missingFolder;
  missingFolder.add(path("map.png"), "new map");
  missingFolder.add(path("legend.csv"), "new legend");
  missingFolder.add(path("missing/units.asc"), "units");
  EXPECT_NE(failureOf([&] { missingFolder.write(); }), "");

  OutputSet fullDisk;
  fullDisk.add(path("map.png"), "new map");
  fullDisk.add(path("legend.csv"), kLarge);
  {
    const FullDisk disk(4096);
    EXPECT_EQ(failureOf([&] { fullDisk.write(); }),
              path("legend.csv") + ": cannot write: File too large");
  }
  EXPECT_EQ(contents("map.png"), "old map");
  EXPECT_EQ(contents("legend.csv"), "old legend");
  EXPECT_EQ(names(), (Names{"legend.csv", "map.png"}));

  OutputSet both;
  both.add(path("map.png"), "new map");
  both.add(path("legend.csv"), "new legend");
  both.write();
  EXPECT_EQ(contents("map.png"), "new map");
  EXPECT_EQ(contents("legend.csv"), "new legend");
}

// A folder the set is told of is made for its files, and goes again with them when the set fails.
TEST_F(OutputFiles, AFolderOfTheSetIsMadeAndRemovedAgainOnAFailure) {
  OutputSet failing;
  failing.addFolder(path("model"));
  failing.add(path("model/part_0.vtp"), "part");
  failing.add(path("missing/model.vtm"), "blocks");
  EXPECT_NE(failureOf([&] { failing.write(); }), "");
  EXPECT_EQ(names(), Names{});

  OutputSet written;
  written.addFolder(path("model"));
  written.add(path("model/part_0.vtp"), "part");
  written.add(path("model.vtm"), "blocks");
  written.write();
  EXPECT_EQ(contents("model/part_0.vtp"), "part");
  EXPECT_EQ(names(), (Names{"model", "model.vtm"}));
}

// The window names the file in its own message, so the bitmap save reports only the problem.
TEST_F(OutputFiles, TheWindowsBitmapSaveFollowsTheSameRules) {
  put("picture.bmp", "old picture");
  QImage picture(200, 200, QImage::Format_RGB32);
  picture.fill(Qt::red);
  QString problem;
  {
    const FullDisk disk(4096);
    problem = writeBitmapFile(picture, QString::fromStdString(path("picture.bmp")));
  }
  EXPECT_EQ(problem.toStdString(), "cannot write: File too large");
  EXPECT_EQ(contents("picture.bmp"), "old picture");
  EXPECT_TRUE(writeBitmapFile(picture, QString::fromStdString(path("picture.bmp"))).isEmpty());
  EXPECT_EQ(QImage(QString::fromStdString(path("picture.bmp")), "bmp").pixelColor(9, 9),
            QColor(Qt::red));
  EXPECT_EQ(names(), Names{"picture.bmp"});
}

}  // namespace
}  // namespace kalvenor
