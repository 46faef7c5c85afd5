#pragma once

#include <array>
#include <string>
#include <vector>

#include "evaluation/section_grid.h"
#include "model/display_surface.h"

namespace kalvenor {

// A vertex of a survey line given as a polyline.
struct SurveyVertex {
  double x = 0.0;
  double y = 0.0;

  bool operator==(const SurveyVertex&) const = default;
};

// Throws BuildError when the vertices make no line: fewer than two distinct ones, or two in a row
// at the same point (a segment of no length). The message starts with `origin`, where the
// vertices come from.
void checkVertices(const std::vector<SurveyVertex>& vertices, const std::string& origin);

// Throws BuildError, naming `origin`, when the line through the checked vertices misses the
// display rectangle, its first and last segments run on as a section's are.
void checkOverDisplay(const DisplaySurface& d, const std::vector<SurveyVertex>& vertices,
                      const std::string& origin);

// The pairs of segments (numbered from 1, the first from vertex 1 to vertex 2) that cross or
// touch each other, neighbours apart from at the vertex they share: a section along such a line
// shows the ground where they meet twice.
std::vector<std::array<int, 2>> selfCrossings(const std::vector<SurveyVertex>& vertices);

// The columns of a section along the polyline through three or more checked vertices: its first
// and last segments run on to the edge of the display area as a straight line does, the line is
// cut where it first enters the display rectangle and where it last leaves it, and each stretch
// between is sampled as a straight section is, the bend column shared by its two segments. Sets
// the columns' positions, distances and segments, the bends, the ends, Nxy, Fai (from the first
// column towards the last) and Dxx, Dyy (of the first stretch), and gives the vertical step: the
// finest any stretch asks for. Throws BuildError, naming `origin`, when the line misses the
// display rectangle.
double placePolylineColumns(const DisplaySurface& d, const std::vector<SurveyVertex>& vertices,
                            const std::string& origin, SectionGrid& sec);

}  // namespace kalvenor
