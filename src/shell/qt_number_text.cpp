#include "shell/qt_number_text.h"

#include <cmath>
#include <cstdio>
#include <string>

namespace kalvenor {
namespace {

constexpr int kMostDigits = 15;
// Relative difference below which two values differ only by the noise of arithmetic.
constexpr double kArithmeticNoise = 1e-14;
// The most the load lowers a display elevation by.
constexpr double kLoadJitter = 1e-6;

// The value rounded to `digits` significant digits, as the nearest double to that decimal.
double roundedTo(double value, int digits) {
  char text[40];
  std::snprintf(text, sizeof text, "%.*e", digits - 1, value);
  return std::strtod(text, nullptr);
}

// One unit in the last of `digits` significant digits of `value`.
double lastDigitUnit(double value, int digits) {
  return std::pow(10.0, std::floor(std::log10(std::abs(value))) - (digits - 1));
}

QString shown(double value) { return QString::fromStdString(numberText(value)); }

}  // namespace

QString numberQText(double value) {
  if (!std::isfinite(value) || value == 0) return shown(value);
  for (int digits = 1; digits < kMostDigits; ++digits) {
    const double rounded = roundedTo(value, digits);
    if (std::abs(rounded - value) <= kArithmeticNoise * std::abs(value)) return shown(rounded);
  }
  return shown(value);
}

// Rounding to the nearest may land just below the value; the next decimal up may then be the
// one written.
QString surfaceElevationQText(double value) {
  if (!std::isfinite(value) || value == 0) return shown(value);
  const double noise = kArithmeticNoise * std::abs(value);
  const auto written = [&](double candidate) {
    return candidate >= value - noise && candidate <= value + kLoadJitter + noise;
  };
  for (int digits = 1; digits < kMostDigits; ++digits) {
    const double rounded = roundedTo(value, digits);
    if (written(rounded)) return numberQText(rounded);
    const double up = roundedTo(rounded + lastDigitUnit(rounded, digits), digits);
    if (rounded < value && written(up)) return numberQText(up);
  }
  return numberQText(value);
}

}  // namespace kalvenor
