#include "model/vector_table.h"

#include <gdal_priv.h>
#include <ogr_spatialref.h>
#include <ogrsf_frmts.h>

#include <charconv>
#include <cmath>
#include <limits>
#include <memory>

#include "model/coordinate_system.h"
#include "model/gdal_dataset.h"
#include "model/gdal_scope.h"
#include "model/gdal_string.h"
#include "model/message_text.h"
#include "model/read_error.h"
#include "model/vector_layer.h"
#include "model/vector_table_lines.h"

namespace kalvenor {
namespace {

// A real number as the shortest text that reads back as the same double: GDAL's own text keeps
// 15 digits, which would move coordinates stored with more.
std::string fieldText(OGRFeature& feature, int field) {
  if (!feature.IsFieldSetAndNotNull(field)) return "";
  if (feature.GetFieldDefnRef(field)->GetType() != OFTReal) return feature.GetFieldAsString(field);
  char text[32];
  const auto end = std::to_chars(text, text + sizeof text, feature.GetFieldAsDouble(field)).ptr;
  return {text, end};
}

std::optional<TablePoint> pointOf(OGRFeature& feature) {
  const OGRGeometry* geometry = feature.GetGeometryRef();
  if (!geometry || geometry->IsEmpty() || wkbFlatten(geometry->getGeometryType()) != wkbPoint) {
    return std::nullopt;
  }
  const OGRPoint& point = *geometry->toPoint();
  TablePoint read{point.getX(), point.getY(), std::nullopt};
  if (point.Is3D()) read.z = point.getZ();
  return read;
}

std::vector<PlanePoint> pointsOf(const OGRLineString& line) {
  std::vector<PlanePoint> points(static_cast<std::size_t>(line.getNumPoints()));
  for (int n = 0; n < line.getNumPoints(); ++n) {
    points[static_cast<std::size_t>(n)] = {line.getX(n), line.getY(n)};
  }
  return points;
}

// The parts of a feature's line, curves straightened as GDAL does; none for a geometry that is
// no line.
std::vector<std::vector<PlanePoint>> linePartsOf(OGRFeature& feature) {
  const OGRGeometry* geometry = feature.GetGeometryRef();
  if (!geometry || geometry->IsEmpty()) return {};
  const OGRwkbGeometryType type = wkbFlatten(geometry->getGeometryType());
  if (!OGR_GT_IsSubClassOf(type, wkbCurve) && !OGR_GT_IsSubClassOf(type, wkbMultiCurve)) return {};
  const std::unique_ptr<OGRGeometry> linear(geometry->getLinearGeometry());
  if (!linear) return {};
  if (wkbFlatten(linear->getGeometryType()) == wkbLineString) {
    return {pointsOf(*linear->toLineString())};
  }
  std::vector<std::vector<PlanePoint>> parts;
  for (const OGRGeometry* part : *linear->toGeometryCollection()) {
    if (wkbFlatten(part->getGeometryType()) == wkbLineString) {
      parts.push_back(pointsOf(*part->toLineString()));
    }
  }
  return parts;
}

// Where the row after the last one read lies, for a message about it.
[[noreturn]] void refuseAtRow(const std::string& path, const TableRow& row,
                              const std::string& problem) {
  if (row.line > 0) throw ReadError(path, row.line, 0, problem);
  throw ReadError(path, 0, 0,
                  fill(translated("feature {1}: {2}"), {std::to_string(row.feature), problem}));
}

struct RowReading {
  const std::string& path;
  const std::vector<int>& lines;  // of a CSV file, the header's first; empty for other files
  const GdalScope& gdal;
};

TableRow nextRowPlace(const VectorTable& table, const RowReading& reading) {
  const std::size_t next = table.rows.size() + 1;
  TableRow row;
  row.feature = table.rows.empty() ? 1 : table.rows.back().feature + 1;
  if (next < reading.lines.size()) row.line = reading.lines[next];
  return row;
}

void readRows(OGRLayer& layer, VectorTable& table, const RowReading& reading) {
  const int fields = layer.GetLayerDefn()->GetFieldCount();
  layer.ResetReading();
  CPLErrorReset();
  while (FeaturePointer feature{layer.GetNextFeature()}) {
    if (table.rows.size() == kMaxTableRows) {
      refuseAtRow(reading.path, nextRowPlace(table, reading),
                  fill(translated("the table has more than {1} rows, the most the viewer reads"),
                       {std::to_string(kMaxTableRows)}));
    }
    TableRow row = nextRowPlace(table, reading);
    row.feature = feature->GetFID();
    row.point = pointOf(*feature);
    if (auto parts = linePartsOf(*feature); !parts.empty()) {
      table.lineGeometries.push_back({table.rows.size(), std::move(parts)});
    }
    table.rows.push_back(row);
    for (int field = 0; field < fields; ++field) table.cells.push_back(fieldText(*feature, field));
  }
  if (CPLGetLastErrorType() >= CE_Failure) {
    refuseAtRow(
        reading.path, nextRowPlace(table, reading),
        fill(translated("GDAL stopped reading the table here ({1})"), {reading.gdal.reason()}));
  }
}

}  // namespace

VectorTable readVectorTable(const std::string& path) {
  GdalScope gdal;
  const LayerName name = layerName(path);
  const GdalDataset dataset = openVectors(path, name.file, gdal);
  OGRLayer& layer = layerOf(path, name.layer, *dataset);
  VectorTable table;
  const OGRFeatureDefn& definition = *layer.GetLayerDefn();
  for (int field = 0; field < definition.GetFieldCount(); ++field) {
    table.columns.emplace_back(definition.GetFieldDefn(field)->GetNameRef());
  }
  table.srs = systemOf(layer);
  const bool csv = std::string(dataset->GetDriverName()) == "CSV";
  const CsvRecords records = csv ? csvRecordLines(name.file, kMaxTableRows + 2) : CsvRecords{};
  if (records.tooLong > 0) {
    throw ReadError(path, records.tooLong, 0,
                    fill(translated("the row is longer than {1} bytes, the most the viewer reads"),
                         {std::to_string(kMaxRecordBytes)}));
  }
  const std::vector<int>& lines = records.starts;
  readRows(layer, table, {path, lines, gdal});
  // Lines that do not pair with the rows GDAL read would name the wrong ones: features instead.
  table.lines = csv && lines.size() == table.rows.size() + 1;
  if (!table.lines) {
    for (TableRow& row : table.rows) row.line = 0;
  }
  return table;
}

std::vector<PlanePoint> reprojectedPoints(const std::vector<PlanePoint>& points,
                                          const SystemChange& change) {
  GdalScope gdal;
  OGRSpatialReference from;
  OGRSpatialReference to;
  from.importFromWkt(change.from.c_str());
  to.importFromWkt(change.to.c_str());
  from.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
  to.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
  const std::unique_ptr<OGRCoordinateTransformation> transformation(
      OGRCreateCoordinateTransformation(&from, &to));
  if (!transformation) {
    throw CoordinateSystemError(
        fill(translated("GDAL knows no way from {1} to {2} ({3})"),
             {systemName(change.from), systemName(change.to), gdal.reason()}));
  }
  std::vector<double> x(points.size());
  std::vector<double> y(points.size());
  for (std::size_t n = 0; n < points.size(); ++n) {
    x[n] = points[n].x;
    y[n] = points[n].y;
  }
  std::vector<int> done(points.size(), FALSE);
  if (!points.empty()) {
    transformation->Transform(static_cast<int>(points.size()), x.data(), y.data(), nullptr,
                              done.data());
  }
  std::vector<PlanePoint> carried(points.size());
  constexpr double kNone = std::numeric_limits<double>::quiet_NaN();
  for (std::size_t n = 0; n < points.size(); ++n) {
    const bool ok = done[n] && std::isfinite(x[n]) && std::isfinite(y[n]);
    carried[n] = ok ? PlanePoint{x[n], y[n]} : PlanePoint{kNone, kNone};
  }
  return carried;
}

}  // namespace kalvenor
