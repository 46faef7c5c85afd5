// What every reader does with a path that names something other than a regular file: a device
// would be read without end and opening a named pipe would wait for a writer for ever.
#include "model/input_file.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <functional>

#include "model/colour_file.h"
#include "model/default_values.h"
#include "model/grid_surface.h"
#include "model/logical_model.h"
#include "model/read_error.h"
#include "temp_file.h"

namespace kalvenor {
namespace {

using ::testing::HasSubstr;

const struct {
  const char* name;
  std::function<void(const std::string&)> read;
} kReaders[] = {
    {"logical model", [](const std::string& path) { readLogicalModel(path); }},
    {"grid", [](const std::string& path) { readGridSurface(path); }},
    {"colour file", [](const std::string& path) { readColourFile(path); }},
    {"default.txt", [](const std::string& path) { readDefaultValues(path); }},
    {"input file", [](const std::string& path) { readInputFile(path); }},
};

std::string problemOf(const std::function<void(const std::string&)>& read,
                      const std::string& path) {
  try {
    read(path);
  } catch (const ReadError& error) {
    EXPECT_EQ(error.path(), path);
    return error.problem();
  }
  return "read";
}

TEST(InputFile, EveryReaderRefusesDevicesPipesAndFoldersBeforeOpeningThem) {
  TempFolder folder;
  const std::string pipe = folder.file("pipe");
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  for (const auto& reader : kReaders) {
    EXPECT_THAT(problemOf(reader.read, "/dev/zero"), HasSubstr("is a device, not a file"))
        << reader.name;
    EXPECT_THAT(problemOf(reader.read, pipe), HasSubstr("is a named pipe, not a file"))
        << reader.name;
    EXPECT_THAT(problemOf(reader.read, folder.file("")), HasSubstr("is a folder, not a file"))
        << reader.name;
  }
  EXPECT_EQ(notAFile(folder.file("nothing here")), std::nullopt);
  TempFile file("1\n");
  EXPECT_EQ(notAFile(file.path()), std::nullopt);
}

}  // namespace
}  // namespace kalvenor
