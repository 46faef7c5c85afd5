// Feeds arbitrary bytes to the reader of default.txt, from a file as the programs read it. A
// ReadError is the expected answer to bad input (the programs then warn and use the built-in
// view); anything else that escapes, and any broken promise checked below, stops the run.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_checks.h"
#include "model/default_values.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using kalvenor::fuzz::require;
  const std::string path = kalvenor::fuzz::inputFile(data, size, "default.txt");
  const int lines =
      kalvenor::fuzz::lineCount(std::string(reinterpret_cast<const char*>(data), size));
  try {
    const kalvenor::DefaultValues v = kalvenor::readDefaultValues(path);
    for (const double value : {v.defaultAlpha, v.defaultGamma, v.defaultSca, v.defaultVe,
                               v.defaultValue5, v.defaultValue6}) {
      require(std::isfinite(value), "every value a finite number");
    }
    require(size >= 17, "six label and six value lines take at least 17 characters");
  } catch (const kalvenor::ReadError& error) {
    kalvenor::fuzz::requireFileError(error, path, lines);
  }
  return 0;
}
