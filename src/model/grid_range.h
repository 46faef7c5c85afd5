#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "model/grid_surface.h"

namespace kalvenor {

// The largest coordinate or elevation a grid may hold. Within it, the differences, sums and
// centres of any two of them, an elevation rounded to seven decimals and exaggerated a thousand
// times all stay numbers; beyond it the viewer's arithmetic would overflow.
constexpr double kLargestGridNumber = 1e300;

// Why the nodes along one axis of a grid cannot be used: a coordinate beyond
// kLargestGridNumber, or two neighbouring nodes that the spacing is too small to tell apart in
// double precision. `axis` is "x" or "y", `spacing` named as "Dx" or "Dy". Nothing when they can.
std::optional<std::string> axisProblem(const std::string& axis, const std::string& spacingName,
                                       double origin, double spacing, std::int32_t nodes);

// Why an elevation cannot be used (beyond kLargestGridNumber); nothing when it can.
std::optional<std::string> elevationProblem(double z);

// Refuses a grid the arithmetic cannot draw: throws ReadError naming the file and the value
// when an axis or an elevation of a node with a value has a problem (see above).
void requireUsableRange(const std::string& path, const GridSurface& grid);

}  // namespace kalvenor
