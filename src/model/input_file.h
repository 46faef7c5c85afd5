#pragma once

#include <string>
#include <vector>

namespace kalvenor {

// The whole text of an input file, without the UTF-8 byte-order mark some editors put at its
// start. Throws ReadError naming the file when it does not exist, is a folder, or cannot be
// opened or read.
std::string readInputFile(const std::string& path);

// The lines of a text without their ends. "\r\n", "\r" and "\n" each end a line; a line end at
// the very end of the text starts no further line.
std::vector<std::string> splitLines(const std::string& text);

}  // namespace kalvenor
