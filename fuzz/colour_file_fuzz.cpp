// Feeds arbitrary bytes to the colour file reader, from a file as the programs read it. A
// ReadError is the expected answer to bad input; anything else that escapes, and any broken
// promise checked below, stops the run.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_checks.h"
#include "model/colour_file.h"

namespace {

using kalvenor::fuzz::require;

void checkColours(const kalvenor::ColourFile& colours) {
  for (const auto* numbered : {&colours.unit, &colours.boundary}) {
    for (const auto& [n, colour] : *numbered) {
      require(n >= 1 && n <= 1000, "numbered from 1 to 1000");
      require(colour >= 0 && colour <= 0xFFFFFF, "a colour of 24 bits");
      require(kalvenor::colourHex(colour).size() == 7, "written back as #rrggbb");
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string path = kalvenor::fuzz::inputFile(data, size, "colors.txt");
  const int lines =
      kalvenor::fuzz::lineCount(std::string(reinterpret_cast<const char*>(data), size));
  try {
    checkColours(kalvenor::readColourFile(path));
  } catch (const kalvenor::ReadError& error) {
    kalvenor::fuzz::requireFileError(error, path, lines);
  }
  return 0;
}
