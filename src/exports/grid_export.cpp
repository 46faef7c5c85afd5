#include "exports/grid_export.h"

#include <cmath>
#include <filesystem>

#include "exports/csv_field.h"
#include "exports/export_error.h"
#include "exports/file_extension.h"
#include "exports/north_up_grid.h"
#include "exports/unit_styles.h"
#include "model/colour_file.h"
#include "model/message_text.h"
#include "model/number_text.h"

namespace kalvenor {
namespace {

// The header of an ESRI ASCII grid of the display nodes, north up.
std::string esriHeader(const NorthUpGrid& raster, const std::string& noData) {
  std::string text = "ncols " + numberText(raster.columns()) + "\nnrows " +
                     numberText(raster.rows()) + "\nxllcenter " + numberText(raster.westX()) +
                     "\nyllcenter " + numberText(raster.southY()) + "\n";
  if (raster.cellWidth() == raster.cellHeight()) {
    text += "cellsize " + numberText(raster.cellWidth()) + "\n";
  } else {
    text +=
        "dx " + numberText(raster.cellWidth()) + "\ndy " + numberText(raster.cellHeight()) + "\n";
  }
  return text + "NODATA_value " + noData + "\n";
}

// The rows from north to south, each node's value as text(i, j).
template <typename Text>
std::string esriGrid(const GridHeader& grid, const std::string& noData, const Text& text) {
  const NorthUpGrid raster(grid);
  std::string body = esriHeader(raster, noData);
  for (int row = 0; row < raster.rows(); ++row) {
    for (int column = 0; column < raster.columns(); ++column) {
      if (column > 0) body += ' ';
      body += text(raster.i(column), raster.j(row));
    }
    body += '\n';
  }
  return body;
}

}  // namespace

std::string esriUnitsGrid(const DisplaySurface& d, const Array2D<std::int16_t>& mapUnit) {
  return esriGrid(d.header(), "0", [&](int i, int j) {
    return numberText(mapUnit.contains(i, j) ? mapUnit(i, j) : 0);
  });
}

std::string esriValueGrid(const DisplaySurface& d, const Array2D<double>& values) {
  return esriGrid(d.header(), numberText(kValueNoData), [&](int i, int j) {
    const double value = values.contains(i, j) ? values(i, j) : kValueNoData;
    return numberText(std::isnan(value) ? kValueNoData : value);
  });
}

std::string unitsLegendCsv(const LogicalModel& model, const std::vector<PackedColor>& unitColor) {
  const std::vector<UnitStyle> styles = unitStyles(model, unitColor);
  std::string text = "unit,name,color\n";
  for (int unit = 1; unit < static_cast<int>(styles.size()); ++unit) {
    text += numberText(unit) + "," + csvField(styles[unit].name) + "," +
            colourHex(styles[unit].color) + "\n";
  }
  return text;
}

// The pseudocolour loader wants a label on every line, so a unit without a name is labelled by
// its number. Value 0 stays out: it is NODATA.
std::string qgisColourMap(const LogicalModel& model, const std::vector<PackedColor>& unitColor) {
  const std::vector<UnitStyle> styles = unitStyles(model, unitColor);
  std::string text = "# QGIS Generated Color Map Export File\nINTERPOLATION:EXACT\n";
  for (int unit = 1; unit < static_cast<int>(styles.size()); ++unit) {
    const UnitStyle& s = styles[unit];
    text += numberText(unit) + "," + numberText(redOf(s.color)) + "," +
            numberText(greenOf(s.color)) + "," + numberText(blueOf(s.color)) + "," +
            numberText(s.alpha) + "," + (s.name.empty() ? "unit " + numberText(unit) : s.name) +
            "\n";
  }
  return text;
}

std::string qgisColourMapPath(const std::string& csvPath) {
  if (lowerExtension(csvPath) == ".txt") {
    throw ExportError(csvPath, translated("the legend CSV must not end in .txt, the name of the "
                                          "QGIS colour map written beside it"));
  }
  return std::filesystem::path(csvPath).replace_extension(".txt").string();
}

std::string sectionUnitsCsv(const VerticalGrid& s, const SectionGrid& line) {
  const double step = std::hypot(s.dxH, s.dyH);
  const bool segments = line.unfolded();
  std::string text = segments ? "h,v,x,y,z,unit,distance,segment\n" : "h,v,x,y,z,unit,distance\n";
  for (int h = 1; h <= s.nH; ++h) {
    const std::string xy = numberText(s.x(h)) + "," + numberText(s.y(h)) + ",";
    std::string distance = numberText(segments ? line.distance(h) : (h - 1) * step);
    if (segments) distance.append(",").append(numberText(line.segment(h)));
    for (int v = 1; v <= s.nV; ++v) {
      text.append(numberText(h)).append(",").append(numberText(v)).append(",").append(xy);
      text.append(numberText(s.z(v))).append(",").append(numberText(s.unit(h, v))).append(",");
      text.append(distance).append("\n");
    }
  }
  return text;
}

}  // namespace kalvenor
