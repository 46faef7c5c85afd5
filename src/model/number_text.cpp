#include "model/number_text.h"

#include <array>
#include <cctype>
#include <charconv>
#include <cmath>

namespace kalvenor {
namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::size_t skipDigits(std::string_view text, std::size_t at) {
  while (at < text.size() && isDigit(text[at])) ++at;
  return at;
}

struct Scanned {
  double value = 0.0;
  std::size_t end = 0;  // one past the last character of the number; 0 when there is none
  bool outOfRange = false;
};

// Scans the number that starts at `at`. Uses from_chars so the user's locale never changes
// the decimal point.
Scanned scanNumber(std::string_view text, std::size_t at) {
  std::size_t pos = at;
  bool negative = false;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
    negative = text[pos] == '-';
    ++pos;
  }
  const std::size_t mantissaStart = pos;
  std::size_t end = skipDigits(text, pos);
  bool anyDigit = end > pos;
  if (end < text.size() && text[end] == '.') {
    const std::size_t fractionEnd = skipDigits(text, end + 1);
    anyDigit = anyDigit || fractionEnd > end + 1;
    end = fractionEnd;
  }
  if (!anyDigit) return {};
  if (end < text.size() && (text[end] == 'e' || text[end] == 'E')) {
    std::size_t exponent = end + 1;
    if (exponent < text.size() && (text[exponent] == '+' || text[exponent] == '-')) ++exponent;
    const std::size_t exponentEnd = skipDigits(text, exponent);
    if (exponentEnd > exponent) end = exponentEnd;
  }
  double magnitude = 0.0;
  const char* first = text.data() + mantissaStart;
  const auto [ptr, ec] = std::from_chars(first, text.data() + end, magnitude);
  if (ec != std::errc() || ptr != text.data() + end) return {0.0, end, true};
  return {negative ? -magnitude : magnitude, end};
}

std::size_t skipBlanks(std::string_view text, std::size_t at) {
  while (at < text.size() && isBlank(text[at])) ++at;
  return at;
}

}  // namespace

double leadingNumber(std::string_view text) { return scanNumber(text, skipBlanks(text, 0)).value; }

std::optional<double> wholeNumber(std::string_view text) {
  const std::size_t start = skipBlanks(text, 0);
  const Scanned number = scanNumber(text, start);
  if (number.end == 0 || number.outOfRange || skipBlanks(text, number.end) != text.size()) {
    return std::nullopt;
  }
  return number.value;
}

double roundHalfEven(double value) { return std::nearbyint(value); }

double Int(double value) { return std::floor(value); }

double Fix(double value) { return std::trunc(value); }

std::string numberText(double value) {
  if (std::isnan(value)) return "NaN";
  if (std::isinf(value)) return value > 0 ? "Infinity" : "-Infinity";
  if (value == 0.0) return "0";  // also -0
  std::array<char, 40> buffer{};
  const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                    std::chars_format::general, 15);
  std::string text(buffer.data(), result.ptr);
  const std::size_t e = text.find('e');
  if (e != std::string::npos) text[e] = 'E';
  return text;
}

std::string signedNumberText(double value) {
  const std::string text = numberText(value);
  return text.front() == '-' ? text : " " + text;
}

}  // namespace kalvenor
