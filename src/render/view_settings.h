#pragma once

namespace kalvenor {

// Exactly this distance means parallel projection.
constexpr double kParallelDist = 1e10;

// The values typed in the projection step; the derived axes and scale join them with the
// projection.
struct ViewSettings {
  double Alpha = 0.0;
  double Gamma = 0.0;
  double Ve = 0.0;
  double Sca = 0.0;
  double Dist = kParallelDist;
  double Ppz = 0.0;
};

}  // namespace kalvenor
