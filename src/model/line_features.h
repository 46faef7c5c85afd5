#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/borehole_fields.h"
#include "model/table_placement.h"
#include "model/vector_table.h"

namespace kalvenor {

// One line of a line layer: its name, its vertices in order and, where the layer names them,
// the vertices' names.
struct NamedLine {
  std::string name;          // "" where the layer names no line
  std::int64_t feature = 0;  // the feature number GDAL gives it; 0 for a table of vertices
  std::vector<PlanePoint> vertices;
  std::vector<std::string> vertexNames;  // one per vertex ("" for one unnamed), or none
  // The file and the line for messages: `lines.gpkg, survey line "Tunnel"`, `lines.shp, feature 3`,
  // or the file alone for a table of one line's vertices.
  std::string origin;
};

// The fields a line's name is read from, the first found: name, line_name, line, label, title,
// id, 名称 or 測線名 (without regard to case, blanks, "_", "-" or ".").
FieldNames lineNameFields();

// Every line of the layer at `path` (any layer GDAL reads as vectors: GeoPackage, shapefile,
// GeoJSON, a file of several layers as FILE|layername=NAME), in the order of the file:
//  - each feature whose geometry is a line, a multi-line of one part or a curve (straightened as
//    GDAL does), named by the field of lineNameFields; a field vertex_names (or vertices,
//    stations) names its vertices, separated by ";";
//  - or, in a table without geometries (a CSV file), the rows' x and y (or easting and northing)
//    as the vertices of one line in order, each named by its name (vertex, station, label)
//    field where there is one; a line (line_name, line_id) field makes several lines, one a value,
//    in the order their first rows come.
// The vertices are put into the drawing system of `coordinates` (see pointsInDrawingSystem); the
// default leaves them as the file has them. Throws ReadError naming the file, and the line where
// one is at fault: a file GDAL cannot read, a layer without lines, a line of several parts, a
// vertex that is no number or cannot be carried into the drawing system, names that do not pair
// with the vertices. Whether the vertices make a line is the section's check.
std::vector<NamedLine> readLineFeatures(const std::string& path,
                                        const PlaneCoordinates& coordinates = {});

// The one line of the layer named `name` (matched exactly, then without regard to case), or its
// first for "", read as readLineFeatures reads every line; only this line is refused for what is
// wrong with it alone (several parts, names that do not pair, a vertex out of reach). Throws
// ReadError naming the file, and listing the names of its lines for a name that is not there.
NamedLine readLineFeature(const std::string& path, const std::string& name,
                          const PlaneCoordinates& coordinates = {});

}  // namespace kalvenor
