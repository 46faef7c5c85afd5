#pragma once

#include <vector>

#include "model/vector_table.h"

namespace kalvenor {

// A polygon as its corners in order, the last joined to the first. Clipping may leave parts
// joined by edges that run out and back along a clipping line: they enclose nothing, so every
// integral over the polygon stays right.
using PlanePolygon = std::vector<PlanePoint>;

// An affine function of the plane, a + b x + c y.
struct PlaneFunction {
  double a = 0.0;
  double b = 0.0;
  double c = 0.0;
  double at(const PlanePoint& p) const { return a + b * p.x + c * p.y; }
};

// The part of `polygon` where f >= 0, into `kept` (Sutherland and Hodgman's step).
void clipToHalfPlane(const PlanePolygon& polygon, const PlaneFunction& f, PlanePolygon& kept);

// The part of `polygon` inside `convex` (counterclockwise), into `kept`; `scratch` is work space.
void clipToConvex(const PlanePolygon& polygon, const PlanePolygon& convex, PlanePolygon& kept,
                  PlanePolygon& scratch);

// The integrals of 1, x, y and x y over the polygon, signed: positive for a counterclockwise one.
struct PolygonMoments {
  double area = 0.0;
  double x = 0.0;
  double y = 0.0;
  double xy = 0.0;

  PlanePoint centroid() const { return {x / area, y / area}; }
};
PolygonMoments momentsOf(const PlanePolygon& polygon);

}  // namespace kalvenor
