#pragma once

#include <string>
#include <vector>

#include "exports/unit_styles.h"

namespace kalvenor {

// A QGIS layer style (.qml) for a units grid: its paletted renderer with a class for every unit,
// each with the unit's colour and name (or "unit N" for a unit without one). Value 0 has no class:
// it is NODATA and stays out of the legend.
std::string qgisRasterStyle(const std::vector<UnitStyle>& styles);

// One class of a categorized vector style: the features whose field holds `value`.
struct StyleCategory {
  std::string value;
  std::string label;
  PackedColor color = kBlack;
};

enum class StyleSymbol { Fill, Line };

// A QGIS layer style (.qml) for a vector layer: its categorized renderer on `field` with a class
// for every category, drawn in its colour and shown under its label in the legend; fills have no
// outline, lines are 0.5 mm wide.
std::string qgisCategorizedStyle(const std::string& field,
                                 const std::vector<StyleCategory>& categories, StyleSymbol symbol);

// Where QGIS looks for the style of the raster at `rasterPath` when it adds it: the same name
// with its extension replaced by .qml.
std::string qgisStylePath(const std::string& rasterPath);

}  // namespace kalvenor
