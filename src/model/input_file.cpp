#include "model/input_file.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string_view>
#include <vector>

#include "model/message_text.h"
#include "model/read_error.h"

namespace kalvenor {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// Checks what the path names before opening it: a folder opens as a stream on some systems and
// then reads as an empty file, and a device or a pipe would be read without end or wait forever.
void requireFile(const std::string& path) {
  if (const auto problem = notAFile(path)) throw ReadError(path, 0, 0, *problem);
  std::error_code unknown;
  if (std::filesystem::status(path, unknown).type() == std::filesystem::file_type::not_found) {
    throw ReadError(path, 0, 0, translated("the file cannot be opened: there is no such file"));
  }
}

std::string sizeText(std::size_t bytes) {
  constexpr std::size_t kMiB = std::size_t{1024} * 1024;
  if (bytes % kMiB == 0) return std::to_string(bytes / kMiB) + " MiB";
  if (bytes % 1024 == 0) return std::to_string(bytes / 1024) + " KiB";
  return fill(translated("{1} bytes"), {std::to_string(bytes)});
}

// Reads in blocks: a read error then shows as a bad stream instead of a text that ends early.
// Room for the whole file is taken at once, so a grid of a few hundred megabytes is not copied
// again each time the text outgrows its room; the size is only a hint, the file is read to its end
// or until it holds more than `maxBytes`.
std::string readAll(std::ifstream& file, const std::string& path, std::size_t maxBytes) {
  std::string text;
  std::error_code unknown;
  const std::uintmax_t size = std::filesystem::file_size(path, unknown);
  if (!unknown && size <= maxBytes) text.reserve(static_cast<std::size_t>(size));
  std::vector<char> buffer(std::size_t{1} << 16);
  while (file.read(buffer.data(), static_cast<std::streamsize>(buffer.size())) ||
         file.gcount() > 0) {
    text.append(buffer.data(), static_cast<std::size_t>(file.gcount()));
    if (text.size() > maxBytes) {
      throw ReadError(path, 0, 0,
                      fill(translated("the file is larger than {1}, the most it may hold"),
                           {sizeText(maxBytes)}));
    }
  }
  if (file.bad()) throw ReadError(path, 0, 0, translated("the file cannot be read"));
  return text;
}

}  // namespace

std::optional<std::string> notAFile(const std::string& path) {
  namespace fs = std::filesystem;
  std::error_code unknown;
  switch (fs::status(path, unknown).type()) {
    case fs::file_type::directory:
      return translated("this is a folder, not a file");
    case fs::file_type::character:
    case fs::file_type::block:
      return translated("this is a device, not a file");
    case fs::file_type::fifo:
      return translated("this is a named pipe, not a file");
    case fs::file_type::socket:
      return translated("this is a socket, not a file");
    default:
      return std::nullopt;
  }
}

std::string readInputFile(const std::string& path, std::size_t maxBytes) {
  requireFile(path);
  errno = 0;  // the stream does not say why it failed to open; the system does
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    throw ReadError(path, 0, 0,
                    errno == EACCES
                        ? translated("the file cannot be opened: no permission to read it")
                        : translated("the file cannot be opened"));
  }
  std::string text = readAll(file, path, maxBytes);
  if (text.starts_with(kByteOrderMark)) text.erase(0, kByteOrderMark.size());
  return text;
}

std::vector<std::string> splitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = std::min(text.find_first_of("\r\n", start), text.size());
    lines.push_back(text.substr(start, end - start));
    start = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
  }
  return lines;
}

}  // namespace kalvenor
