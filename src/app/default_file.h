#pragma once

#include <string>
#include <vector>

namespace kalvenor {

// Where default.txt is looked for, in order: beside the program, so that a build folder runs as
// it is, then in the data folder of the installed tree the program belongs to.
std::vector<std::string> defaultFilePlaces(const std::string& programFolder);

}  // namespace kalvenor
