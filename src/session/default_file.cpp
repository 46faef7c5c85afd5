#include "session/default_file.h"

#include <algorithm>
#include <filesystem>

#include "build_config.h"
#include "model/message_text.h"
#include "model/read_error.h"

namespace kalvenor {
namespace {

constexpr const char* kFileName = "default.txt";

// A folder or a file that cannot be read counts as there: reading it says what is wrong.
bool somethingAt(const std::string& path) {
  std::error_code unknown;
  return std::filesystem::status(path, unknown).type() != std::filesystem::file_type::not_found;
}

}  // namespace

std::vector<std::string> defaultFilePlaces(const std::string& programFolder) {
  const std::filesystem::path folder(programFolder);
  const std::filesystem::path installed = folder / build::kDataFolderFromPrograms / kFileName;
  return {(folder / kFileName).string(), installed.lexically_normal().string()};
}

DefaultValues readDefaultFile(const std::vector<std::string>& places) {
  const auto found = std::find_if(places.begin(), places.end(), somethingAt);
  if (found != places.end()) return readDefaultValues(*found);
  try {
    return readDefaultValues(places.front());
  } catch (const ReadError& error) {
    std::string elsewhere;
    for (auto place = places.begin() + 1; place != places.end(); ++place) {
      elsewhere = elsewhere.empty() ? *place : fill(translated("{1} or {2}"), {elsewhere, *place});
    }
    const std::string problem =
        elsewhere.empty() ? error.problem()
                          : fill(translated("{1}, nor is there {2}"), {error.problem(), elsewhere});
    throw ReadError(error.path(), error.line(), error.item(), problem);
  }
}

}  // namespace kalvenor
