#include "cli/grid_export.h"

#include <algorithm>
#include <cmath>

#include "model/colour_file.h"
#include "model/number_text.h"

namespace kalvenor {
namespace {

std::string csvField(const std::string& text) {
  if (text.find_first_of(",\"\n") == std::string::npos) return text;
  std::string quoted = "\"";
  for (char c : text) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
  return quoted + "\"";
}

}  // namespace

// A grid with a negative spacing runs west or south from its origin: the lower-left corner is
// then the other end, and the rows and columns are written in the order the format wants.
std::string esriUnitsGrid(const DisplaySurface& d, const Array2D<std::int16_t>& mapUnit) {
  std::string text = "ncols " + numberText(d.Nx) + "\nnrows " + numberText(d.Ny) + "\nxllcenter " +
                     numberText(std::min(d.Xmin, d.Xmax)) + "\nyllcenter " +
                     numberText(std::min(d.Ymin, d.Ymax)) + "\n";
  if (std::abs(d.Dx) == std::abs(d.Dy)) {
    text += "cellsize " + numberText(std::abs(d.Dx)) + "\n";
  } else {
    text += "dx " + numberText(std::abs(d.Dx)) + "\ndy " + numberText(std::abs(d.Dy)) + "\n";
  }
  text += "NODATA_value 0\n";
  for (int row = 0; row < d.Ny; ++row) {
    const int j = d.Dy > 0 ? d.Ny - row : row + 1;
    for (int column = 0; column < d.Nx; ++column) {
      const int i = d.Dx > 0 ? column + 1 : d.Nx - column;
      if (column > 0) text += ' ';
      text += numberText(mapUnit.contains(i, j) ? mapUnit(i, j) : 0);
    }
    text += '\n';
  }
  return text;
}

std::string unitsLegendCsv(const LogicalModel& model, const std::vector<PackedColor>& unitColor) {
  std::string text = "unit,name,color\n";
  for (int unit = 1; unit <= model.unitCount(); ++unit) {
    const PackedColor color = unit < static_cast<int>(unitColor.size()) ? unitColor[unit] : kBlack;
    text += numberText(unit) + "," + csvField(model.unitName[unit]) + "," + colourHex(color) + "\n";
  }
  return text;
}

std::string sectionUnitsCsv(const VerticalGrid& s) {
  std::string text = "h,v,x,y,z,unit\n";
  for (int h = 1; h <= s.nH; ++h) {
    const std::string xy =
        numberText(s.x0 + (h - 1) * s.dxH) + "," + numberText(s.y0 + (h - 1) * s.dyH) + ",";
    for (int v = 1; v <= s.nV; ++v) {
      text += numberText(h) + "," + numberText(v) + "," + xy + numberText(s.z0 + (v - 1) * s.dzV) +
              "," + numberText(s.unit(h, v)) + "\n";
    }
  }
  return text;
}

}  // namespace kalvenor
