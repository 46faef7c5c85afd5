#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kalvenor {

// Why what `path` names cannot be read as a file although something is there: a folder, a device
// (/dev/zero reads without end), a named pipe (opening it waits for a writer) or a socket.
// Nothing for a regular file, or where nothing is; nothing is opened to find out.
std::optional<std::string> notAFile(const std::string& path);

// The whole text of an input file, without the UTF-8 byte-order mark some editors put at its
// start. Throws ReadError naming the file when it does not exist, is not a regular file (see
// notAFile), holds more than `maxBytes` bytes, or cannot be opened or read.
std::string readInputFile(const std::string& path, std::size_t maxBytes = SIZE_MAX);

// The lines of a text without their ends. "\r\n", "\r" and "\n" each end a line; a line end at
// the very end of the text starts no further line.
std::vector<std::string> splitLines(const std::string& text);

}  // namespace kalvenor
