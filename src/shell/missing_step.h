#pragma once

#include "session/session.h"

namespace kalvenor {

// The five drawing commands of the window.
enum class DrawingCommand { GeoMap, GeoSection, GeoSectionLine, Contour, Grid };

// What still has to be done before a drawing command can be used: a numbered step (its frame
// names it), or the contour settings.
enum class MissingStep {
  None,
  Model,
  BoundaryFiles,
  DisplaySurface,
  MapGrid,
  SectionGrid,
  View,
  ContourCheck,
  ContourLevels
};

// The first step, in the order of their numbers, that keeps `command` disabled; None when the
// command can be used.
MissingStep missingStep(DrawingCommand command, const Session& session);

}  // namespace kalvenor
