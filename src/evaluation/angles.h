#pragma once

namespace kalvenor {

// Degrees to radians with the factor the angles are typed with (pi / 180, pi to 14 decimals).
constexpr double kDegree = 0.017453292519943278;

}  // namespace kalvenor
