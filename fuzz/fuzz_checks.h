#pragma once

// What every reader target checks: the promises a successful read makes are the target's own;
// a failed read must be a ReadError that names the file, a real line, an item and a problem.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
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
    require(!error.problem().empty(), "error says what went wrong");
  }
}

}  // namespace kalvenor::fuzz
