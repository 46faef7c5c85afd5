#pragma once

namespace kalvenor {

// What a session operation changed.
enum class Change {
  Model,             // the logical model: its size, names or cells
  BoundaryFiles,     // the files picked for the boundaries
  Colours,           // unit or boundary-line colours
  DisplaySurface,    // the display surface, its extent and the base height proposed from it
  BaseHeight,        // the base height of the block
  CoordinateSystem,  // the projected system named for the grids read from now on
  Grids,             // a grid built, or the grids dropped
  View,              // a view applied or its values changed
  Contours,          // the contour settings
  DrawOptions,       // what a map is drawn with (walls, frame, boundary lines, background)
  Picture,           // a picture drawn
  Boreholes,         // the borehole tables, the holes read from them or how they are drawn
  Fence,             // the lines of the fence diagram, its panels or its cut
  SectionSeries,     // how many parallel sections a series has and how far apart
};

// Told of every change a session makes, after the change is complete. A window refreshes its
// labels, legend, commands and indicators from here instead of after each command.
class SessionObserver {
 public:
  virtual ~SessionObserver() = default;
  virtual void sessionChanged(Change change) = 0;
};

}  // namespace kalvenor
