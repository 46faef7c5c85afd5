#pragma once

#include <vector>

#include "render/annotation_layout.h"
#include "render/draw_options.h"
#include "render/projection.h"

namespace kalvenor {

// What is written around a map.
struct MapNotes {
  double Xc;  // the view centre, where north is taken
  double Yc;
  double Zc;
  double depth;                     // north-south extent of the map, for the arrow's direction
  std::vector<LegendEntry> legend;  // every unit of the model, highest first
  const Annotations& options;
  PackedColor lineColor;
};

Margins mapMargins(const Canvas& canvas, const MapNotes& notes);

// With the legend: the units down the right side and a north arrow in the top-left corner (none
// when north points along the line of sight); and the title. A map has no axes.
void drawMapNotes(Canvas& canvas, const Projection& projection, const MapNotes& notes);

}  // namespace kalvenor
