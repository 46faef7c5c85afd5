#pragma once

#include <optional>
#include <vector>

#include "render/annotation_layout.h"
#include "render/draw_options.h"
#include "render/projection.h"
#include "render/value_ramp.h"

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
  std::optional<ColourBar> bar = std::nullopt;  // a map of values shows it in place of the units
};

Margins mapMargins(const Canvas& canvas, const MapNotes& notes);

// With the legend: the units (or the colour bar of a map of values) down the right side and a north
// arrow in the top-left corner (none when north points along the line of sight); and the title. A
// map has no axes.
void drawMapNotes(Canvas& canvas, const Projection& projection, const MapNotes& notes);

}  // namespace kalvenor
