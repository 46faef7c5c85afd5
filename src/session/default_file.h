#pragma once

#include <string>
#include <vector>

#include "model/default_values.h"

namespace kalvenor {

// Where default.txt is looked for, in order: beside the program, so that a build folder runs as
// it is, then in the data folder of the installed tree the program belongs to.
std::vector<std::string> defaultFilePlaces(const std::string& programFolder);

// Reads the first of `places` (not empty) where anything exists: a broken file there is reported
// rather than passed over for one further on. Throws ReadError; when nothing is at any place, the
// error names the first and says where else it was looked for.
DefaultValues readDefaultFile(const std::vector<std::string>& places);

}  // namespace kalvenor
