#pragma once

#include <string>
#include <vector>

#include "evaluation/map_grid.h"
#include "evaluation/section_grid.h"
#include "evaluation/vertical_grid.h"
#include "model/display_surface.h"
#include "model/logical_model.h"
#include "model/packed_color.h"

namespace kalvenor {

// The unit of every display node as an ESRI ASCII grid, rows from north to south, columns from
// west to east, 0 for a node without a unit.
std::string esriUnitsGrid(const DisplaySurface& display, const Array2D<std::int16_t>& mapUnit);

// The value written at a node of a value grid (thickness, depth) that has none.
inline constexpr double kValueNoData = -9999;

// A value at every display node as an ESRI ASCII grid like esriUnitsGrid's, NaN written as
// kValueNoData.
std::string esriValueGrid(const DisplaySurface& display, const Array2D<double>& values);

// "unit,name,color" for every unit of the model, to style that grid.
std::string unitsLegendCsv(const LogicalModel& model, const std::vector<PackedColor>& unitColor);

// The same legend as a QGIS colour map export ("value,red,green,blue,alpha,label" under its
// header lines), which both its paletted and its pseudocolour renderers load.
std::string qgisColourMap(const LogicalModel& model, const std::vector<PackedColor>& unitColor);

// Where the QGIS colour map goes beside the legend CSV at `csvPath`: the same name ending in
// .txt. Throws ExportError when the CSV's own name ends in .txt.
std::string qgisColourMapPath(const std::string& csvPath);

// "h,v,x,y,z,unit,distance" for every node of a section, h outer, v inner; unit -1 is air and
// distance runs along the section from its first column. A section along a polyline adds the
// column "segment", the segment of the line each node stands on (1 from the first vertex).
std::string sectionUnitsCsv(const VerticalGrid& section, const SectionGrid& line = {});

}  // namespace kalvenor
