#pragma once

// What every reader target checks: the promises a successful read makes are the target's own;
// a failed read must be a ReadError that names the file, a real line, an item and a problem.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "model/item_reader.h"
#include "model/read_error.h"

namespace kalvenor::fuzz {

inline void require(bool condition, const char* promise) {
  if (!condition) {
    std::fprintf(stderr, "broken promise: %s\n", promise);
    std::abort();
  }
}

// Lines as the reader counts them: "\r\n", "\r" and "\n" each end one.
inline int lineCount(const std::string& text) {
  int lines = 1;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' || (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n'))) {
      ++lines;
    }
  }
  return lines;
}

// A message must reach the user whole: a NUL byte in it would end it there.
inline void requireWholeMessage(const std::string& message) {
  require(!message.empty(), "error says what went wrong");
  require(message.find('\0') == std::string::npos, "no NUL byte in the message");
}

// A folder of this process's own for the files the path readers are given, removed at exit.
inline const std::filesystem::path& inputFolder() {
  static const std::filesystem::path folder = [] {
    const std::filesystem::path made =
        std::filesystem::temp_directory_path() / ("kalvenor-fuzz-" + std::to_string(::getpid()));
    std::filesystem::create_directories(made);
    std::atexit([] { std::filesystem::remove_all(inputFolder()); });
    return made;
  }();
  return folder;
}

// The bytes as the file `name` in inputFolder(), for readers that take a path; rewritten for
// every input.
inline std::string inputFile(const std::uint8_t* data, std::size_t size, const std::string& name) {
  const std::string path = (inputFolder() / name).string();
  std::ofstream(path, std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  return path;
}

// What a ReadError of a file read from its path must say: the file, a line of it or 0 where no
// line applies, and what went wrong, whole.
inline void requireFileError(const ReadError& error, const std::string& path, int lines) {
  require(error.path() == path, "error names the file");
  require(error.line() >= 0 && error.line() <= lines, "error names a line of the file or none");
  require(error.item() >= 0, "no negative item");
  requireWholeMessage(error.problem());
}

// Reads the bytes with `read` and checks what comes back with `check`.
template <typename Read, typename Check>
void readAndCheck(const std::uint8_t* data, std::size_t size, const std::string& path,
                  const Read& read, const Check& check) {
  std::string text(reinterpret_cast<const char*>(data), size);
  const int lines = lineCount(text);
  ItemReader reader(path, std::move(text));
  try {
    auto result = read(reader);
    check(result);
  } catch (const ReadError& error) {
    require(error.path() == path, "error names the file");
    require(error.line() >= 1 && error.line() <= lines, "error names a line of the file");
    require(error.item() >= 1, "error names an item");
    requireWholeMessage(error.problem());
  }
}

}  // namespace kalvenor::fuzz
