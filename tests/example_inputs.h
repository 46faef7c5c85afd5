#pragma once

#include <string>

#include "app/command_line.h"
#include "test_paths.h"

namespace kalvenor {

// The bundled example's input files, as --model, --boundary, --surface and --colors name them.
inline InputFiles exampleInputFiles() {
  const std::string e = KALVENOR_EXAMPLES_DIR "/folded-basin/";
  return {e + "model.txt",
          {e + "limestone_top.txt", e + "sandstone_top.txt", e + "mudstone_top.txt",
           e + "unconformity.txt"},
          e + "topography.txt",
          e + "colors.txt",
          ""};
}

}  // namespace kalvenor
