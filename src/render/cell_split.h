#pragma once

#include <cstdint>
#include <vector>

#include "render/canvas.h"
#include "render/cell.h"
#include "render/line_tracing.h"

namespace kalvenor {

// One traced line a cell is cut along: its crossings as the tracer joins them, and the traced
// value at the corners, whose sign says on which side of the line each corner lies.
struct CellCut {
  CellCrossings crossings;
  Corners<double> w;
  bool dropAbove = false;  // the ground of a wall or section: nothing is filled above it
};

// A part of a cut cell with the side of every cut it lies on.
struct CellPart {
  std::vector<CanvasPoint> corners;
  std::vector<bool> above;  // one per cut
};

// Cuts the cell with the canvas corners P along the straight segments the tracer draws, so that
// the parts meet the lines on their crossings. Parts above a cut that drops them are left out.
std::vector<CellPart> splitCell(const Corners<CanvasPoint>& P, const std::vector<CellCut>& cuts,
                                double zEps);

// Marks a corner in the air in the corner units of partUnit.
constexpr std::int32_t kAirUnit = -1;

// The unit of a part: the most frequent unit among the corners on its side of the most cuts
// (ties: the first corner); corners in the air (kAirUnit) give none while another can.
std::int32_t partUnit(const CellPart& part, const std::vector<CellCut>& cuts,
                      const Corners<std::int32_t>& cornerUnit, double zEps);

}  // namespace kalvenor
