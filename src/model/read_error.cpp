#include "model/read_error.h"

namespace kalvenor {
namespace {

std::string describe(const std::string& path, int line, int item, const std::string& problem) {
  if (path.empty()) return problem;
  std::string text = path;
  if (line > 0) text += ", line " + std::to_string(line);
  if (item > 0) text += ", item " + std::to_string(item);
  return text + ": " + problem;
}

bool isContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// One past the character that starts at `at`: its byte and up to three UTF-8 continuation bytes.
std::size_t nextCharacter(std::string_view text, std::size_t at) {
  std::size_t end = at + 1;
  while (end < text.size() && end - at < 4 && isContinuationByte(text[end])) ++end;
  return end;
}

}  // namespace

ReadError::ReadError(std::string path, int line, int item, std::string problem)
    : std::runtime_error(describe(path, line, item, problem)),
      path_(std::move(path)),
      line_(line),
      item_(item),
      problem_(std::move(problem)) {}

std::string quotedFound(std::string_view text) {
  constexpr int kShown = 40;
  std::size_t end = 0;
  for (int shown = 0; shown < kShown && end < text.size(); ++shown) end = nextCharacter(text, end);
  return "\"" + std::string(text.substr(0, end)) + (end < text.size() ? "..." : "") + "\"";
}

}  // namespace kalvenor
