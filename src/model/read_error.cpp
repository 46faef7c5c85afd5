#include "model/read_error.h"

#include "model/message_text.h"

namespace kalvenor {
namespace {

std::string describe(const std::string& path, int line, int item, const std::string& problem) {
  if (path.empty()) return problem;
  const std::string l = std::to_string(line), i = std::to_string(item);
  if (line > 0 && item > 0)
    return fill(translated("{1}, line {2}, item {3}: {4}"), {path, l, i, problem});
  if (line > 0) return fill(translated("{1}, line {2}: {3}"), {path, l, problem});
  if (item > 0) return fill(translated("{1}, item {2}: {3}"), {path, i, problem});
  return path + ": " + problem;
}

bool isContinuationByte(unsigned char c) { return (c & 0xC0) == 0x80; }

// The length of the well-formed UTF-8 character that starts at `at`, or 0 when the bytes there
// are not one: a stray continuation byte, a character cut short, an overlong form, a surrogate or
// a code point beyond U+10FFFF.
std::size_t characterLength(std::string_view text, std::size_t at) {
  const auto byte = [&](std::size_t n) { return static_cast<unsigned char>(text[at + n]); };
  const unsigned char lead = byte(0);
  if (lead < 0x80) return 1;
  const std::size_t length = lead >= 0xC2 && lead <= 0xDF   ? 2
                             : lead >= 0xE0 && lead <= 0xEF ? 3
                             : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                            : 0;
  if (length == 0 || at + length > text.size()) return 0;
  for (std::size_t n = 1; n < length; ++n) {
    if (!isContinuationByte(byte(n))) return 0;
  }
  const unsigned char second = byte(1);
  if ((lead == 0xE0 && second < 0xA0) || (lead == 0xED && second >= 0xA0) ||
      (lead == 0xF0 && second < 0x90) || (lead == 0xF4 && second >= 0x90)) {
    return 0;
  }
  return length;
}

// Control characters (C0, DEL and C1) would move the cursor, ring or end the message where they
// stand: they are written as escapes, like bytes that are no UTF-8.
bool isControl(std::string_view character) {
  const auto lead = static_cast<unsigned char>(character[0]);
  if (character.size() == 1) return lead < 0x20 || lead == 0x7F;
  return lead == 0xC2 && static_cast<unsigned char>(character[1]) < 0xA0;
}

std::string escaped(std::string_view bytes) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string text;
  for (const char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    text += {'\\', 'x', kHex[b >> 4], kHex[b & 15]};
  }
  return text;
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
  std::string quoted = "\"";
  std::size_t at = 0;
  for (int shown = 0; shown < kShown && at < text.size(); ++shown) {
    const std::size_t length = characterLength(text, at);
    const std::string_view character = text.substr(at, length == 0 ? 1 : length);
    if (length == 0 || isControl(character)) {
      quoted += escaped(character);
    } else if (character == "\\") {
      quoted += "\\\\";
    } else {
      quoted += character;
    }
    at += character.size();
  }
  return quoted + (at < text.size() ? "..." : "") + "\"";
}

}  // namespace kalvenor
