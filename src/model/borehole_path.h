#pragma once

#include <vector>

#include "model/boreholes.h"

namespace kalvenor {

// Arcs of a deviated hole are cut into pieces of at most this length along the hole, so that
// straight lines between the path's stations follow the curve.
inline constexpr double kPathStep = 10.0;

// The hole's path by the minimum-curvature method: from the collar (hole.x, y, z) through every
// survey station (depth increasing, none beyond hole.depth), each pair of stations joined by the
// circular arc that turns the one direction into the other. The collar takes the first station's
// direction, and the last station's holds to hole.depth; a hole without survey goes straight
// down. The path has a station at depth 0, at every survey depth, at every interval's from and
// to, at hole.depth and every kPathStep along each arc.
std::vector<HoleStation> holePath(const Borehole& hole, const std::vector<SurveyStation>& survey);

// The point of the path at `depth` along the hole, between its stations on the straight line;
// depths above the collar or below the last station give the path's end.
HoleStation positionAt(const Borehole& hole, double depth);

}  // namespace kalvenor
