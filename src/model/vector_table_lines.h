#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace kalvenor {

// The line each record of a CSV file starts on, the header's first (line 1): a record runs on
// over line ends inside double quotes, and empty lines hold no record, as GDAL reads the file.
// The file is read in pieces, so a line of any length costs no more memory than a short one;
// at most `most` records are counted. Empty when the file cannot be read.
std::vector<int> csvRecordLines(const std::string& path, std::size_t most);

}  // namespace kalvenor
