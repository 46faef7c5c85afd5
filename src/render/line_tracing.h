#pragma once

#include <array>
#include <functional>
#include <optional>
#include <vector>

#include "evaluation/classification.h"
#include "render/canvas.h"
#include "render/cell.h"
#include "render/contour_settings.h"

namespace kalvenor {

// Where a traced value changes sign along the edges of a cell, interpolated along the
// projected edges.
struct EdgeCrossing {
  double X = 0;  // canvas position, whole numbers
  double Y = 0;
  int edge = 0;  // from corner edge to corner edge + 1
  double t = 0;  // fraction along that edge
};

struct CellCrossings {
  int count = 0;
  bool degenerate = false;         // an edge with both ends exactly 0: nothing can be traced
  std::array<EdgeCrossing, 5> at;  // 1..count
};

// Finds the crossings of the values w (corners 1..5) on the canvas corners P. A value exactly 0
// first becomes zEps, so a corner on a level counts as just above it.
CellCrossings edgeCrossings(Corners<double> w, const Corners<CanvasPoint>& P, double zEps);

// Draws the segments joining the crossings: two give one segment; four are paired so that
// crossing 1 joins the nearer of crossings 2 and 4 on the canvas (ties join 1-4). A degenerate
// cell or an odd count draws nothing.
void drawCrossingSegments(Canvas& canvas, const CellCrossings& crossings);

// The pairs of crossings those segments join, in drawing order; none for a degenerate cell or an
// odd count.
std::vector<std::array<int, 2>> crossingSegments(const CellCrossings& crossings);

// The units on both sides of the surface at a model point.
using ClassifyAt = std::function<Classification(double x, double y, double z)>;

// Traces one boundary through a cell: w is the height of the surface above the boundary at the
// corners and `cell` their model positions. No line where the same unit lies on both sides at
// crossings 1 and 2: there the boundary is no contact between units.
// The crossings drawBoundaryInCell draws, or nothing where it draws none.
std::optional<CellCrossings> boundaryTrace(const Corners<CanvasPoint>& P, const Corners<double>& w,
                                           const ModelCorners& cell, double zEps,
                                           const ClassifyAt& classify);
void drawBoundaryInCell(Canvas& canvas, const Corners<CanvasPoint>& P, const Corners<double>& w,
                        const ModelCorners& cell, double zEps, const ClassifyAt& classify);

// Traces the zero line of the corner values w through a cell of a wall or section, with the
// corners' model positions for the unit test at the crossings. Without `classify` every
// segment is drawn. An edge with both ends exactly 0 counts as not crossed.
// The crossings drawCellTrace draws, or nothing where it draws none.
std::optional<CellCrossings> cellTrace(const Corners<CanvasPoint>& P, const Corners<double>& w,
                                       const ModelCorners& cell, double zEps,
                                       const ClassifyAt* classify);
void drawCellTrace(Canvas& canvas, const Corners<CanvasPoint>& P, const Corners<double>& w,
                   const ModelCorners& cell, double zEps, const ClassifyAt* classify);

// Contours of the elevations w at the levels Cst, Cst + Cin, ... up to Cen within the cell's
// range; each crossing is also marked with a point. Cin must not be 0.
void drawContoursInCell(Canvas& canvas, const Corners<CanvasPoint>& P, const Corners<double>& w,
                        const ContourSettings& contours, double zEps);

}  // namespace kalvenor
