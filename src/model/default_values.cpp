#include "model/default_values.h"

#include <array>
#include <fstream>

#include "model/number_text.h"
#include "model/read_error.h"

namespace kalvenor {

DefaultValues readDefaultValues(const std::string& path) {
  std::ifstream file(path);
  if (!file) throw ReadError(path, 0, 0, "the file cannot be opened");

  std::array<double, 6> values{};
  std::string line;
  int lineNumber = 0;
  for (std::size_t item = 0; item < values.size(); ++item) {
    for (int part = 0; part < 2; ++part) {
      if (!std::getline(file, line)) {
        throw ReadError(path, lineNumber, static_cast<int>(item) + 1,
                        "the file ends after " + std::to_string(item) + " of 6 values");
      }
      ++lineNumber;
    }
    const auto value = wholeNumber(line);
    if (!value) {
      throw ReadError(path, lineNumber, static_cast<int>(item) + 1,
                      "expected a line holding one number, found \"" + line + "\"");
    }
    values[item] = *value;
  }
  return {values[0], values[1], values[2], values[3], values[4], values[5]};
}

}  // namespace kalvenor
