#include <gdal_priv.h>
#include <ogrsf_frmts.h>

#include <algorithm>
#include <memory>

#include "model/clip_area.h"
#include "model/gdal_scope.h"
#include "model/message_text.h"
#include "model/read_error.h"
#include "model/vector_layer.h"

namespace kalvenor {
namespace {

using GeometryPointer = std::unique_ptr<OGRGeometry>;

// The polygons of a geometry, however deep in collections; lines and points add nothing.
void addPolygons(const OGRGeometry& geometry, OGRMultiPolygon& polygons) {
  const OGRwkbGeometryType type = wkbFlatten(geometry.getGeometryType());
  if (type == wkbPolygon) {
    polygons.addGeometry(&geometry);
  } else if (OGR_GT_IsSubClassOf(type, wkbGeometryCollection)) {
    for (const OGRGeometry* part : *geometry.toGeometryCollection()) addPolygons(*part, polygons);
  }
}

// Every polygon of the layer, curves made straight, heights dropped.
OGRMultiPolygon layerPolygons(OGRLayer& layer) {
  OGRMultiPolygon polygons;
  layer.ResetReading();
  while (FeaturePointer feature{layer.GetNextFeature()}) {
    const OGRGeometry* geometry = feature->GetGeometryRef();
    if (!geometry || geometry->IsEmpty()) continue;
    const GeometryPointer linear(geometry->getLinearGeometry());
    if (!linear) continue;
    linear->flattenTo2D();
    addPolygons(*linear, polygons);
  }
  return polygons;
}

// The polygons as one area without overlaps; GEOS mends self-crossing rings first.
GeometryPointer mergedArea(const OGRMultiPolygon& polygons) {
  GeometryPointer valid(polygons.MakeValid());
  const OGRGeometry& source = valid ? *valid : static_cast<const OGRGeometry&>(polygons);
  GeometryPointer merged(source.UnionCascaded());
  if (!merged) merged.reset(source.clone());
  return merged;
}

Ring ringPoints(const OGRLinearRing& ring, bool counterclockwise) {
  Ring points;
  const int count = ring.getNumPoints();
  const bool closed =
      count > 1 && ring.getX(0) == ring.getX(count - 1) && ring.getY(0) == ring.getY(count - 1);
  for (int n = 0; n < count - (closed ? 1 : 0); ++n) points.push_back({ring.getX(n), ring.getY(n)});
  if ((ring.isClockwise() != 0) == counterclockwise) std::reverse(points.begin(), points.end());
  return points;
}

void addRings(const OGRGeometry& geometry, std::vector<Ring>& rings) {
  const OGRwkbGeometryType type = wkbFlatten(geometry.getGeometryType());
  if (type == wkbPolygon) {
    const OGRPolygon& polygon = *geometry.toPolygon();
    if (polygon.IsEmpty()) return;
    rings.push_back(ringPoints(*polygon.getExteriorRing(), true));
    for (int n = 0; n < polygon.getNumInteriorRings(); ++n) {
      rings.push_back(ringPoints(*polygon.getInteriorRing(n), false));
    }
  } else if (OGR_GT_IsSubClassOf(type, wkbGeometryCollection)) {
    for (const OGRGeometry* part : *geometry.toGeometryCollection()) addRings(*part, rings);
  }
}

}  // namespace

ClipArea readPolygonLayer(const std::string& path) {
  GdalScope gdal;
  const LayerName name = layerName(path);
  const GdalDataset dataset = openVectors(path, name.file, gdal);
  OGRLayer& layer = layerOf(path, name.layer, *dataset);
  ClipArea area;
  area.srs = systemOf(layer);
  const OGRMultiPolygon polygons = layerPolygons(layer);
  if (!polygons.IsEmpty()) addRings(*mergedArea(polygons), area.rings);
  if (area.rings.empty()) {
    throw ReadError(path, 0, 0,
                    translated("the layer holds no polygon; an area is clipped by a layer of "
                               "polygons or multipolygons"));
  }
  return area;
}

}  // namespace kalvenor
