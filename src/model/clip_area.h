#pragma once

#include <string>
#include <vector>

#include "model/vector_table.h"

namespace kalvenor {

// A closed ring of a polygon; its first point is not repeated at its end.
using Ring = std::vector<PlanePoint>;

// An area of the map made of polygons that do not overlap: their outer rings run counterclockwise
// and their holes clockwise, so that the signed areas of all the rings add up to the area.
struct ClipArea {
  std::vector<Ring> rings;
  std::string srs;  // the coordinate system (WKT) the points are in, "" when unknown
};

// The polygons of the file's only layer (or of "FILE|layername=NAME"), any OGR vector format,
// merged into one area (GEOS through GDAL), curves made straight; features of other geometries
// are left out. Throws ReadError naming the file when GDAL cannot read it or it holds no polygon.
ClipArea readPolygonLayer(const std::string& path);

// The polygons of `path` in the system `target` (WKT; "" keeps them as they are): a layer that
// names another system is reprojected into it, one that names none is taken to be in it already.
// Throws ReadError naming the file for a layer GDAL cannot read, one without polygons, one in
// degrees with no projected system to carry it into, and a point GDAL cannot carry over.
ClipArea readClipArea(const std::string& path, const std::string& target);

}  // namespace kalvenor
