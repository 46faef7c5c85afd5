#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "evaluation/polyline_section.h"
#include "model/array2d.h"
#include "model/display_surface.h"
#include "model/packed_color.h"

namespace kalvenor {

// A small north-up picture of the display area to pick points on: each pixel in the colour of
// the unit at the ground under it where the units are known, else grey by elevation, lighter
// higher; white where the surface has no elevation.
struct PlanOverview {
  int width = 0;
  int height = 0;
  std::vector<PackedColor> pixels;  // row by row from the north-western corner
  // The area the picture covers, from the western to the eastern node, southern to northern.
  double Xwest = 0.0;
  double Xeast = 0.0;
  double Ysouth = 0.0;
  double Ynorth = 0.0;

  // The map point at (u, v), the fractions of the picture's width from its western edge and of
  // its height from its northern edge, and back.
  SurveyVertex at(double u, double v) const;
  std::array<double, 2> fractionsOf(const SurveyVertex& point) const;
  // The point picked at (u, v), rounded to the power of ten at or below what a pixel covers,
  // so that it reads as the user meant it (31250, not 31249.87).
  SurveyVertex picked(double u, double v) const;
};

// The colours of the units and their nodes on the ground, where a map build has them.
struct OverviewUnits {
  const Array2D<std::int16_t>* mapUnit = nullptr;  // (1..Nx, 1..Ny); none before a map build
  const std::vector<PackedColor>* unitColor = nullptr;
};

// The overview of the display surface at most `longest` pixels along its longer side, each pixel
// taking the node nearest its middle.
PlanOverview planOverview(const DisplaySurface& d, const OverviewUnits& units, int longest);

}  // namespace kalvenor
