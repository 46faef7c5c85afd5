#pragma once

#include <cstdint>

namespace kalvenor {

// What the user has done so far; the drawing commands are enabled from these.
struct ProgressFlags {
  std::int16_t modelReady = 0;        // a logical model exists
  std::int16_t modelComplete = 0;     // every above/below pattern maps to a unit
  std::int16_t contourReady = 0;      // contour levels and interval usable, contours wanted
  std::int16_t viewReady = 0;         // a projection has been applied with Sca > 0
  std::int16_t mapGridState = 0;      // 0 none, 1 current, 2 a section grid was built since
  std::int16_t sectionGridState = 0;  // 0 none, 1 current picture kind, 2 a map came since
};

// Which of the five drawing commands are enabled.
struct CommandStates {
  bool geoMap = false;
  bool geoSection = false;
  bool geoSectionLine = false;
  bool contour = false;
  bool grid = false;
  friend bool operator==(const CommandStates&, const CommandStates&) = default;
};

// Nothing draws before a view exists; the map needs the 3D-map grid to be the current one,
// the section commands any section grid, and contours only their own settings.
inline CommandStates commandStates(const ProgressFlags& flags) {
  CommandStates states;
  if (flags.viewReady != 1) return states;
  states.grid = true;
  if (flags.modelReady == 1) {
    states.geoMap = flags.mapGridState == 1;
    states.geoSection = flags.sectionGridState >= 1;
    states.geoSectionLine = states.geoSection;
  }
  states.contour = flags.contourReady == 1;
  return states;
}

}  // namespace kalvenor
