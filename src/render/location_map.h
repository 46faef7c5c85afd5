#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "evaluation/plan_units.h"
#include "evaluation/section_grid.h"
#include "model/packed_color.h"
#include "render/canvas.h"

namespace kalvenor {

// A rectangle of the canvas, in pixels.
struct CanvasBox {
  double left = 0;
  double top = 0;
  double width = 0;
  double height = 0;
};

// A point of the map, x east and y north.
using MapPoint = std::array<double, 2>;

// The section's line on the map as far as the section runs: from its first column through its
// bends to its last.
std::vector<MapPoint> sectionTrack(const SectionGrid& section);

// A small plan view of the whole display area, north up (an arrow says so), that shows where a
// section of a series lies: the units at the ground, the lines of the series, and the one of the
// section in hand highlighted with its ends labelled `name` and `name'`.
struct LocationMap {
  const PlanUnits& plan;
  const std::vector<PackedColor>& unitColor;  // element 0 unused
  std::vector<std::vector<MapPoint>> tracks;
  std::size_t highlighted = 0;
  std::string name;
  PackedColor lineColor = kBlack;
};

// The map as large as fits the box, in its middle, framed, with the text `size` pixels high.
void drawLocationMap(Canvas& canvas, const CanvasBox& box, const LocationMap& map, int size);

}  // namespace kalvenor
