#pragma once

#include <cstdint>

namespace kalvenor {

// Where a grid build stands among the pictures: none yet; current (its kind of picture is the one
// in hand); superseded (a build or drawing of the other kind came since). Both grids are kept
// side by side, so a superseded grid still draws its picture.
enum class GridState : std::int16_t { None = 0, Current = 1, Superseded = 2 };

// Which of the five drawing commands are enabled.
struct CommandStates {
  bool geoMap = false;
  bool geoSection = false;
  bool geoSectionLine = false;
  bool contour = false;
  bool grid = false;
  friend bool operator==(const CommandStates&, const CommandStates&) = default;
};

// The numbered steps whose indicators show while they are still open.
enum class Step { Model = 1, BoundaryFiles, Colours, DisplaySurface, Grid, View };

// What the user has done so far. Every change is a named event, so the rules that move the two
// grid states live here and nowhere else.
class Progress {
 public:
  bool modelReady() const { return modelReady_; }
  bool modelComplete() const { return modelComplete_; }
  bool contourReady() const { return contourReady_; }
  bool viewReady() const { return viewReady_; }
  GridState mapGrid() const { return mapGrid_; }
  GridState sectionGrid() const { return sectionGrid_; }

  // Nothing draws before a view exists; the map needs a 3D-map grid, the section commands a
  // section grid, and contours only their own settings.
  CommandStates commands() const;

  void modelEntered(bool complete) {
    modelReady_ = true;
    modelComplete_ = complete;
  }
  void modelCleared() { modelReady_ = false; }
  void gridsDropped() { mapGrid_ = sectionGrid_ = GridState::None; }
  void mapGridBuilt() {
    mapGrid_ = GridState::Current;
    if (sectionGrid_ == GridState::Current) sectionGrid_ = GridState::Superseded;
  }
  void sectionGridBuilt() {
    sectionGrid_ = GridState::Current;
    if (mapGrid_ == GridState::Current) mapGrid_ = GridState::Superseded;
  }
  void mapDrawn() {
    if (sectionGrid_ == GridState::Current) sectionGrid_ = GridState::Superseded;
  }
  void sectionDrawn() {
    if (mapGrid_ == GridState::Current) mapGrid_ = GridState::Superseded;
  }
  // Once a view with a positive magnification has been applied it stays ready.
  void viewApplied(bool positiveScale) { viewReady_ = viewReady_ || positiveScale; }
  void contoursSet(bool ready) { contourReady_ = ready; }

 private:
  bool modelReady_ = false;
  bool modelComplete_ = false;
  bool contourReady_ = false;
  bool viewReady_ = false;
  GridState mapGrid_ = GridState::None;
  GridState sectionGrid_ = GridState::None;
};

inline CommandStates Progress::commands() const {
  CommandStates states;
  if (!viewReady_) return states;
  states.grid = true;
  if (modelReady_) {
    states.geoMap = mapGrid_ != GridState::None;
    states.geoSection = sectionGrid_ != GridState::None;
    states.geoSectionLine = states.geoSection;
  }
  states.contour = contourReady_;
  return states;
}

}  // namespace kalvenor
