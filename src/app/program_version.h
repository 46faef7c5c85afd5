#pragma once

#include <string>

namespace kalvenor {

// What --version prints: the program's name and the project's version, "kalvenor-render 0.9.0".
std::string versionLine(const std::string& program);

}  // namespace kalvenor
