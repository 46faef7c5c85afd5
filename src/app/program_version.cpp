#include "app/program_version.h"

#include "build_config.h"

namespace kalvenor {

std::string versionLine(const std::string& program) {
  return program + " " + build::kVersion + "\n";
}

}  // namespace kalvenor
