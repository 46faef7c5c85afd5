#pragma once

#include <array>
#include <cstdint>

namespace kalvenor {

struct DisplaySurface;

// Exactly this distance means parallel projection.
constexpr double kParallelDist = 1e10;

// First, last and step (+1 or -1) of a far-to-near traversal along one axis.
struct PaintersOrder {
  std::int32_t first = 1;
  std::int32_t last = 0;
  std::int32_t step = 1;
  friend bool operator==(const PaintersOrder&, const PaintersOrder&) = default;
};

// How the model is seen: the typed values and what applyView derives from them.
struct ViewSettings {
  double Alpha = 0.0;  // azimuth of the eye, degrees clockwise from north
  double Gamma = 0.0;  // depression of the line of sight, degrees
  double Ve = 0.0;     // vertical exaggeration
  double Sca = 0.0;    // magnification
  double Dist = kParallelDist;
  double Ppz = 0.0;  // perspective plane, from the view centre toward the eye

  // Screen-right, screen-up and toward-eye axes.
  double Rx = 0, Ry = 0, Rz = 0, Ux = 0, Uy = 0, Uz = 0, Ex = 0, Ey = 0, Ez = 0;
  double Xeye = 0, Yeye = 0, Zeye = 0;
  double Wx = 0, Wy = 0;
  double Scale = 0;  // canvas pixels per model unit
  double HalfW = 0, HalfH = 0;
  // Whole pixels the picture is moved by after projection: 0 but in a view fitted to the canvas.
  double ShiftX = 0, ShiftY = 0;
  // The point of the picture plane shown in the middle of the canvas, right and up of the view
  // centre in model units: a pan of the picture that keeps its place on the model as the
  // magnification changes and that applyView leaves as it is.
  double PanX = 0, PanY = 0;
  PaintersOrder orderX;
  PaintersOrder orderY;
  friend bool operator==(const ViewSettings&, const ViewSettings&) = default;
};

// Recomputes the canvas scale, the axes, the eye and the painter's order for the display
// surface and a canvas of the given size. Dist exactly kParallelDist forces Ppz to 0.
void applyView(ViewSettings& view, const DisplaySurface& display, double canvasWidth,
               double canvasHeight);

}  // namespace kalvenor
