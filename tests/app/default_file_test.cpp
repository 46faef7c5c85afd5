#include "app/default_file.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "model/read_error.h"
#include "session/session.h"
#include "temp_file.h"

namespace kalvenor {
namespace {

using ::testing::AllOf;
using ::testing::HasSubstr;
using ::testing::StartsWith;

// A tree laid out as cmake --install lays it out: the programs' folder and the data folder.
class InstalledTree : public ::testing::Test {
 protected:
  std::string programs() const { return tree_.file(KALVENOR_INSTALL_BINDIR); }
  std::string beside() const { return tree_.file(KALVENOR_INSTALL_BINDIR "/default.txt"); }
  std::string installed() const { return tree_.file(KALVENOR_INSTALL_DATADIR "/default.txt"); }

  static void write(const std::string& path, const std::string& text) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << text;
  }
  static std::string withAlpha(int alpha) {
    return "Alpha\n" + std::to_string(alpha) + "\nGamma\n30\nSca\n1.2\nVe\n2\n5\n10000\n6\n0\n";
  }
  std::string problemReading() const {
    try {
      readDefaultFile(defaultFilePlaces(programs()));
    } catch (const ReadError& error) {
      return error.what();
    }
    ADD_FAILURE() << "a default file was read";
    return {};
  }

  TempFolder tree_;
};

TEST_F(InstalledTree, LooksBesideTheProgramThenInTheInstalledDataFolder) {
  EXPECT_EQ(defaultFilePlaces(programs()), (std::vector<std::string>{beside(), installed()}));
}

TEST_F(InstalledTree, TheFileBesideTheProgramWinsOverTheInstalledOne) {
  write(installed(), withAlpha(100));
  EXPECT_EQ(readDefaultFile(defaultFilePlaces(programs())).defaultAlpha, 100);
  write(beside(), withAlpha(200));
  EXPECT_EQ(readDefaultFile(defaultFilePlaces(programs())).defaultAlpha, 200);
}

// A broken file the user put beside the program must be heard of, not hidden by the installed one.
TEST_F(InstalledTree, ABrokenFileIsReportedRatherThanPassedOver) {
  write(installed(), withAlpha(100));
  write(beside(), "Alpha\n100\nGamma\n");
  EXPECT_THAT(problemReading(), AllOf(StartsWith(beside()), HasSubstr("ends after 1 of 6")));
  std::filesystem::remove(beside());
  std::filesystem::create_directories(beside());
  EXPECT_THAT(problemReading(), AllOf(StartsWith(beside()), HasSubstr("is a folder")));
}

TEST_F(InstalledTree, NothingAnywhereNamesEveryPlaceLookedIn) {
  EXPECT_THAT(problemReading(),
              AllOf(StartsWith(beside() + ": the file cannot be opened: there is no such file"),
                    HasSubstr(", nor is there " + installed())));
}

TEST_F(InstalledTree, TheSessionFallsBackToTheBuiltInViewAndSaysWhy) {
  Session session;
  write(installed(), withAlpha(100));
  EXPECT_EQ(session.loadDefaults(defaultFilePlaces(programs())), std::nullopt);
  EXPECT_EQ(session.state().defaults.defaultAlpha, 100);

  std::filesystem::remove(installed());
  const auto problem = session.loadDefaults(defaultFilePlaces(programs()));
  ASSERT_TRUE(problem.has_value());
  EXPECT_THAT(*problem, AllOf(HasSubstr(beside()), HasSubstr(installed())));
  EXPECT_EQ(session.state().defaults.defaultAlpha, DefaultValues{}.defaultAlpha);
}

}  // namespace
}  // namespace kalvenor
