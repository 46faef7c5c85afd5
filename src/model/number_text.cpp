#include "model/number_text.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <optional>

namespace kalvenor {
namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

struct Scanned {
  double value = 0.0;
  std::size_t end = 0;  // one past the last character of the number; 0 when there is none
  bool outOfRange = false;
};

// The digits of a number without sign, point and exponent, as far as they fit exactly.
struct Mantissa {
  std::uint64_t digits = 0;
  std::int64_t count = 0;
  std::int64_t fractionDigits = 0;
};

constexpr int kMaxMantissaDigits = 19;  // any 19 digits fit in 64 bits
constexpr std::uint64_t kMaxExactMantissa = std::uint64_t{1} << 53;
constexpr std::array<double, 23> kExactPowersOfTen = {
    1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
    1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
constexpr int kMaxExactPower = static_cast<int>(kExactPowersOfTen.size()) - 1;
// An exponent is only added up to here: beyond it only from_chars, which reads it itself, matters.
constexpr std::int64_t kExponentCap = 100000;

std::size_t scanDigits(std::string_view text, std::size_t at, Mantissa& mantissa) {
  for (; at < text.size() && isDigit(text[at]); ++at) {
    if (++mantissa.count <= kMaxMantissaDigits) {
      mantissa.digits = mantissa.digits * 10 + static_cast<std::uint64_t>(text[at] - '0');
    }
  }
  return at;
}

// A mantissa of at most 2^53 and a power of ten of at most 1e22 are both exact doubles, so one
// multiplication or division rounds correctly and gives the value from_chars gives; grids are
// nearly all such numbers, and this is several times quicker.
std::optional<double> exactValue(const Mantissa& mantissa, std::int64_t exponent) {
  if (mantissa.count > kMaxMantissaDigits || mantissa.digits > kMaxExactMantissa) return {};
  const std::int64_t power = exponent - mantissa.fractionDigits;
  if (power < -kMaxExactPower || power > kMaxExactPower) return {};
  const auto digits = static_cast<double>(mantissa.digits);
  const double scale = kExactPowersOfTen[static_cast<std::size_t>(power < 0 ? -power : power)];
  return power < 0 ? digits / scale : digits * scale;
}

// Scans the number that starts at `at`. Uses from_chars where the exact quick way does not apply,
// so the user's locale never changes the decimal point.
Scanned scanNumber(std::string_view text, std::size_t at) {
  std::size_t pos = at;
  bool negative = false;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
    negative = text[pos] == '-';
    ++pos;
  }
  const std::size_t mantissaStart = pos;
  Mantissa mantissa;
  std::size_t end = scanDigits(text, pos, mantissa);
  if (end < text.size() && text[end] == '.') {
    const std::int64_t integerDigits = mantissa.count;
    end = scanDigits(text, end + 1, mantissa);
    mantissa.fractionDigits = mantissa.count - integerDigits;
  }
  if (mantissa.count == 0) return {};
  std::int64_t exponent = 0;
  if (end < text.size() && (text[end] == 'e' || text[end] == 'E')) {
    std::size_t digit = end + 1;
    const bool negativeExponent = digit < text.size() && text[digit] == '-';
    if (digit < text.size() && (text[digit] == '+' || text[digit] == '-')) ++digit;
    const std::size_t exponentStart = digit;
    for (; digit < text.size() && isDigit(text[digit]); ++digit) {
      exponent = std::min(exponent * 10 + (text[digit] - '0'), kExponentCap);
    }
    if (digit > exponentStart) {
      end = digit;
      if (negativeExponent) exponent = -exponent;
    } else {
      exponent = 0;
    }
  }
  double magnitude = 0.0;
  if (const auto exact = exactValue(mantissa, exponent)) {
    magnitude = *exact;
  } else {
    const char* first = text.data() + mantissaStart;
    const auto [ptr, ec] = std::from_chars(first, text.data() + end, magnitude);
    if (ec != std::errc() || ptr != text.data() + end) return {0.0, end, true};
  }
  return {negative ? -magnitude : magnitude, end};
}

std::size_t skipBlanks(std::string_view text, std::size_t at) {
  while (at < text.size() && isBlank(text[at])) ++at;
  return at;
}

}  // namespace

double leadingNumber(std::string_view text) { return scanNumber(text, skipBlanks(text, 0)).value; }

NumberAt numberAt(std::string_view text, std::size_t at) {
  const Scanned number = scanNumber(text, at);
  if (number.end == 0) return {std::nullopt, at};
  if (number.outOfRange) return {std::nullopt, number.end};
  return {number.value, number.end};
}

std::optional<double> wholeNumber(std::string_view text) {
  const std::size_t start = skipBlanks(text, 0);
  const Scanned number = scanNumber(text, start);
  if (number.end == 0 || number.outOfRange || skipBlanks(text, number.end) != text.size()) {
    return std::nullopt;
  }
  return number.value;
}

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
