#pragma once

#include <optional>

#include "model/display_surface.h"

namespace kalvenor {

// The stretch of the infinite line through (x, y) with direction (sin Fai, cos Fai) that lies
// over the display rectangle, as distances from (x, y) along the line.
struct LineSpan {
  double tmin = 0.0;
  double tmax = 0.0;
};

// Nothing when the line misses the rectangle; a line within a hair of an axis is not limited
// across that axis and must then start within its range.
std::optional<LineSpan> displaySpan(const DisplaySurface& d, double x, double y, double Fai);

// How a straight stretch of a survey line is sampled: its columns half a display cell apart (the
// smaller half on a rectangular grid), the step between them, its components (each dropped below
// 0.1) and the vertical step they ask for (0 when both components were dropped).
struct ColumnSteps {
  double columns = 0.0;  // a double: it may be too large for an integer
  double step = 0.0;
  double Dxx = 0.0;
  double Dyy = 0.0;
  double Dzz = 0.0;
};

double columnSpacing(const DisplaySurface& d);

// The steps of a stretch of length L and azimuth Fai; the step and its components only when it
// has two columns or more.
ColumnSteps columnSteps(const DisplaySurface& d, double L, double Fai);

}  // namespace kalvenor
