#pragma once

namespace kalvenor {

// Exactly this distance means parallel projection.
constexpr double kParallelDist = 1e10;

// How the model is seen, as typed in the view boxes (or set there by a preset, a gesture or a
// fit). What follows from it for a block and a canvas is its Projection.
struct ViewSettings {
  double Alpha = 0.0;  // azimuth of the eye, degrees clockwise from north
  double Gamma = 0.0;  // depression of the line of sight, degrees
  double Ve = 0.0;     // vertical exaggeration
  double Sca = 0.0;    // magnification
  double Dist = kParallelDist;
  double Ppz = 0.0;  // perspective plane, from the view centre toward the eye
  // The point of the picture plane shown in the middle of the canvas, right and up of the view
  // centre in model units: a pan of the picture that keeps its place on the model as the
  // magnification changes.
  double PanX = 0, PanY = 0;
  friend bool operator==(const ViewSettings&, const ViewSettings&) = default;
};

}  // namespace kalvenor
