#include "shell/missing_step.h"

namespace kalvenor {

namespace {

// Before a grid exists, its build waits for the files and the display surface.
MissingStep missingGrid(const Session& session, GridState grid, MissingStep build) {
  if (grid != GridState::None) return MissingStep::None;
  if (session.stepOpen(Step::BoundaryFiles)) return MissingStep::BoundaryFiles;
  if (session.stepOpen(Step::DisplaySurface)) return MissingStep::DisplaySurface;
  return build;
}

MissingStep missingContours(const ViewerState& state) {
  if (!state.contourLinesWanted) return MissingStep::ContourCheck;
  const ContourSettings& c = state.contours;
  return c.Cst != c.Cen && c.Cin != 0 ? MissingStep::None : MissingStep::ContourLevels;
}

}  // namespace

MissingStep missingStep(DrawingCommand command, const Session& session) {
  const Progress& progress = session.state().progress;
  const bool needsModel = command != DrawingCommand::Contour && command != DrawingCommand::Grid;
  if (needsModel && !progress.modelReady()) return MissingStep::Model;
  MissingStep open = MissingStep::None;
  if (command == DrawingCommand::GeoMap) {
    open = missingGrid(session, progress.mapGrid(), MissingStep::MapGrid);
  } else if (needsModel) {
    open = missingGrid(session, progress.sectionGrid(), MissingStep::SectionGrid);
  }
  if (open != MissingStep::None) return open;
  if (!progress.viewReady()) return MissingStep::View;
  return command == DrawingCommand::Contour ? missingContours(session.state()) : MissingStep::None;
}

}  // namespace kalvenor
