#pragma once

#include <array>
#include <span>
#include <vector>

#include "evaluation/plane_polygon.h"
#include "evaluation/unit_column.h"
#include "model/logical_model.h"

namespace kalvenor {

// Each unit's figures summed over cells, in the index plane's units (a cell has area 1): its
// volume, the area where it has thickness, its area at the surface, and its largest thickness at
// a node.
struct UnitSums {
  explicit UnitSums(int units)
      : volume(units + 1), present(units + 1), outcrop(units + 1), largest(units + 1) {}
  void add(const UnitSums& other);

  std::vector<double> volume, present, outcrop, largest;  // by unit, 0 for no unit
};

// A cell's corners in the order (0, 0), (1, 0), (1, 1), (0, 1) of its unit square.
template <typename T>
using CellCorners = std::array<T, 4>;

// The part of a cell to integrate over: the whole cell (no polygons), or the polygons of a clip
// area cut to it, whose signed areas times `orientation` add up to the part's area.
struct IntegratedPart {
  const std::vector<PlanePolygon>* polygons = nullptr;
  double orientation = 1.0;
};

// Integrates the units' columns over display cells. In a cell where the columns of the four
// corners lie alike (ColumnOrder), every unit's thickness is the same sum of differences of the
// surfaces, which are bilinear in the cell: so is the thickness, and its integral is taken
// exactly from the corners (their mean over a whole cell). A cell where the surfaces change their
// order is cut into four triangles about its centre, where each surface is the linear function
// through its values at the corners and at the centre (the mean of the corners, so a surface
// keeps its integral over the cell); each triangle is cut along the lines where two surfaces
// meet, and in each piece the thicknesses are linear, integrated exactly at its centroid. A
// model of planar surfaces comes out exact; for bilinear ones the error is confined to the cells
// where surfaces cross and is of the order of the surfaces' twist times a cell's area.
class CellIntegral {
 public:
  explicit CellIntegral(const LogicalModel& model);

  // A cell whose corners' columns lie alike: `thickness` holds each corner's thicknesses by unit.
  static void addAlike(const CellCorners<std::span<const double>>& thickness,
                       std::int16_t surfaceUnit, const IntegratedPart& part, UnitSums& sums);

  // Any cell, from the surfaces' levels at its corners (indexed as columnSurfaces says).
  void addCut(const CellCorners<std::span<const double>>& levels, const IntegratedPart& part,
              UnitSums& sums);

 private:
  void cutAlongCrossings(const std::array<PlanePoint, 3>& triangle,
                         const std::array<std::span<const double>, 3>& values);
  void addPiece(const PlanePolygon& piece, const IntegratedPart& part, UnitSums& sums);
  void levelsAt(const PlanePoint& p);

  const LogicalModel& model_;
  int surfaces_;
  UnitColumn column_;
  std::vector<PlaneFunction> surface_;  // in the triangle worked on, by surface index
  std::vector<double> levels_, centre_, thickness_;
  std::vector<PlanePolygon> pieces_, cut_;
  PlanePolygon kept_, scratch_;
};

}  // namespace kalvenor
