#include "model/default_values.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <vector>

#include "model/input_file.h"
#include "model/message_text.h"
#include "model/number_text.h"
#include "model/read_error.h"

namespace kalvenor {
namespace {

// A folder or a file that cannot be read counts as there: reading it says what is wrong.
bool somethingAt(const std::string& path) {
  std::error_code unknown;
  return std::filesystem::status(path, unknown).type() != std::filesystem::file_type::not_found;
}

}  // namespace

// Six short pairs of lines; anything much longer is not a default.txt, and reading all of it
// would only delay the warning.
constexpr std::size_t kMaxDefaultFileBytes = std::size_t{1024} * 1024;

DefaultValues readDefaultValues(const std::string& path) {
  const std::string text = readInputFile(path, kMaxDefaultFileBytes);
  if (text.empty()) throw ReadError(path, 0, 0, translated("the file is empty"));
  const std::vector<std::string> lines = splitLines(text);

  std::array<double, 6> values{};
  for (std::size_t item = 0; item < values.size(); ++item) {
    const std::size_t valueLine = 2 * item + 1;  // after its label line, counted from 0
    if (valueLine >= lines.size()) {
      throw ReadError(
          path, static_cast<int>(lines.size()), static_cast<int>(item) + 1,
          fill(translated("the file ends after {1} of 6 values"), {std::to_string(item)}));
    }
    const auto value = wholeNumber(lines[valueLine]);
    if (!value) {
      throw ReadError(path, static_cast<int>(valueLine) + 1, static_cast<int>(item) + 1,
                      fill(translated("expected a line holding one number, found {1}"),
                           {quotedFound(lines[valueLine])}));
    }
    values[item] = *value;
  }
  return {values[0], values[1], values[2], values[3], values[4], values[5]};
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
