#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kalvenor {

// A point of a table's geometry, or coordinates read from its columns.
struct PlanePoint {
  double x = 0.0;
  double y = 0.0;
};

// A feature's point geometry; z is the geometry's height where it has one.
struct TablePoint {
  double x = 0.0;
  double y = 0.0;
  std::optional<double> z;
};

// Where a row came from, for messages: its feature number as GDAL gives it and, in a CSV file,
// the line it starts on (the header is line 1); 0 where the line is not known.
struct TableRow {
  std::int64_t feature = 0;
  int line = 0;
  std::optional<TablePoint> point;
};

// A row's line geometry: each of its parts as its points in order (a curve as GDAL straightens
// it), one part for a line string.
struct TableLine {
  std::size_t row = 0;
  std::vector<std::vector<PlanePoint>> parts;
};

// Every row of a table GDAL reads as vectors (CSV, a GeoPackage layer, a shapefile), its values
// as text. `cells` holds the rows one after the other, columns.size() values each, in one vector
// so that a table of a million rows costs no vector per row.
struct VectorTable {
  std::vector<std::string> columns;
  std::vector<TableRow> rows;
  std::vector<std::string> cells;
  std::vector<TableLine> lineGeometries;  // of the rows whose geometry is a line, in order
  std::string srs;     // the layer's coordinate system (WKT), "" when it names none
  bool lines = false;  // the rows carry their lines in the file, the header on line 1 (CSV)

  const std::string& cell(std::size_t row, std::size_t column) const {
    return cells[row * columns.size() + column];
  }
};

// The most rows a table may have: a regional database holds a few hundred thousand, and each
// row costs a few hundred bytes as text.
inline constexpr std::size_t kMaxTableRows = 1'000'000;

// Reads the file's only layer with GDAL's vector drivers; of a file of several layers (a
// GeoPackage) the one "file.gpkg|layername=NAME" names, as GIS programs write it, with the
// rows' points and lines. A CSV file's first line is always its header. Throws ReadError naming the
// file, with GDAL's reason where it gave one, for a file GDAL cannot open as vectors, one without a
// layer, one of more than kMaxTableRows rows, a CSV file with a row longer than kMaxRecordBytes and
// one GDAL stops reading early, naming the line where it stopped.
VectorTable readVectorTable(const std::string& path);

// The systems points are carried between (WKT each).
struct SystemChange {
  std::string from;
  std::string to;
};

// The points in `change.to`, x east and y north in both systems whatever order their axes are
// declared in; a point GDAL cannot carry over comes back as NaN. Throws CoordinateSystemError
// when GDAL knows no way between the two systems.
std::vector<PlanePoint> reprojectedPoints(const std::vector<PlanePoint>& points,
                                          const SystemChange& change);

}  // namespace kalvenor
