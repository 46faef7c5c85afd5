#pragma once

#include <string>
#include <vector>

#include "model/vector_table.h"

namespace kalvenor {

// The systems the points of a table are placed in: the display surface's (WKT, "" when it names
// none) and the projected system the user gave (--srs as typed, "" when none was given).
struct PlaneCoordinates {
  std::string displaySrs;
  std::string srsText;
};

// The system the viewer draws the points in (WKT): the display surface's, else the one the user
// gave; "" when neither names one.
std::string drawingSystem(const PlaneCoordinates& coordinates);

// The points of the table at `path`, given in `system` (its WKT, "" when it names none), in the
// drawing system; a table that names no system, or when none is known to draw in, is taken to
// be in it already. A point GDAL cannot carry over comes back as NaN. Throws ReadError naming
// the file for a table in degrees without --srs, and when GDAL knows no way between the systems.
std::vector<PlanePoint> pointsInDrawingSystem(const std::string& path, const std::string& system,
                                              const PlaneCoordinates& coordinates,
                                              std::vector<PlanePoint> points);

}  // namespace kalvenor
