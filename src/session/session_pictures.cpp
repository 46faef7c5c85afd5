#include "model/message_text.h"
#include "model/number_text.h"
#include "render/draw_units.h"
#include "render/drawing_tally.h"
#include "render/map_renderer.h"
#include "render/relief_light.h"
#include "render/section_renderer.h"
#include "render/survey_trace.h"
#include "render/view_limits.h"
#include "session/map_pieces.h"
#include "session/session.h"

namespace kalvenor {
namespace {

std::string gridSize(int nI, int nJ) { return std::to_string(nI) + " x " + std::to_string(nJ); }

// The units a map is drawn with: the grid's own, shared with it, where they lie on the display
// grid node for node as a build leaves them; else a copy on the display grid, 0 where they have
// none. A shared copy saves a unit for every node of the largest grids.
std::shared_ptr<const Array2D<std::int16_t>> mapUnitsToDraw(
    const std::shared_ptr<const MapGrid>& grid, int Nx, int Ny) {
  const Array2D<std::int16_t>& units = grid->mapUnit;
  if (units.iFirst() == 1 && units.iLast() == Nx && units.jFirst() == 1 && units.jLast() == Ny) {
    return {grid, &units};
  }
  return std::make_shared<const Array2D<std::int16_t>>(unitsToDraw(units, Nx, Ny));
}

}  // namespace

void Session::requireViewDrawable() const { requireDrawable(currentView()); }

void Session::requireDrawable(const PictureView& in) const {
  const auto problem = viewProblem(in.view, in.Zbase, *state_.display);
  if (problem) throw SessionError(*problem);
}

PictureView Session::currentView() const { return {state_.view, state_.viewCanvas, state_.Zbase}; }

// What is drawn over a picture goes in the view the picture was drawn in, whatever the view boxes
// were given since; with no picture yet, in the current view.
PictureView Session::overlayView() const {
  return state_.picture == PictureKind::None ? currentView() : state_.pictureView;
}

Projection Session::projection() const { return projectionOf(currentView()); }

Projection Session::projectionOf(const PictureView& in) const {
  return Projection(in.view, in.canvas, *state_.display, in.Zbase);
}

// The colours, lines and model of the session, with the drawing mode of the command drawing now.
PictureStyle Session::pictureStyle(DrawingMode mode) const {
  const ViewerState& s = state_;
  DrawOptions options = s.drawOptions;
  options.DrawMode = mode;
  return {s.model, *s.boundaryGrids, s.unitColor, s.boundaryColor, options};
}

void Session::recordPicture(PictureKind kind, std::shared_ptr<const Array2D<std::int16_t>> units) {
  state_.overlays.clear();
  state_.drawUnit = std::move(units);
  state_.picture = kind;
  state_.pictureView = currentView();
}

// The walls facing the eye in the last map, or in the current view before any map.
std::array<std::int16_t, 2> Session::lastVisibleWalls() const {
  if (state_.visibleWall[0] != 0) return state_.visibleWall;
  return facingWalls(projection(), *state_.display);
}

bool Session::contourLinesDrawable() const {
  return state_.contourLinesWanted && state_.contours.Cin != 0 && contoursDrawable(state_.contours);
}

// Too many levels would only blacken the picture: the map is drawn without them.
Warnings Session::contourWarnings() const {
  if (!state_.contourLinesWanted || state_.contours.Cin == 0 || contoursDrawable(state_.contours)) {
    return {};
  }
  return {fill(translated("The contour interval {1} gives more than {2} levels between the first "
                          "and last level; the map is drawn without contours."),
               {numberText(state_.contours.Cin), numberText(kMaxContourLevels)})};
}

// An empty `values` draws the units.
void Session::drawMapPicture(Canvas& canvas, DrawingMode mode, const Array2D<std::int16_t>& units,
                             std::array<std::int16_t, 2> walls, const PictureView& in,
                             const Array2D<double>& values) {
  const ViewerState& s = state_;
  const DisplaySurface& d = *s.display;
  DrawOptions options = s.drawOptions;
  options.DrawMode = mode;
  const MapPieces pieces{
      .display = d,
      .grid = *s.mapGrid,
      .wallProfiles = *s.wallProfiles,
      .walls = walls,
      .units = units,
      .contours = s.contours,
      .style = {s.model, *s.boundaryGrids, s.unitColor, s.boundaryColor, options},
      .mapOptions = s.mapOptions,
      .Zbase = in.Zbase,
      .contourLines = contourLinesDrawable(),
      .fence = s.fence.get(),
      .fenceCut = s.fenceCut,
      .values = values.empty() ? nullptr : &values};
  const WallStep wallStep = [&](const std::function<void()>& drawWalls) {
    step(fill(translated("draw the side walls of a {1} grid"), {gridSize(d.Nx, d.Ny)}), drawWalls);
  };
  const WallStep fenceStep = [&](const std::function<void()>& drawFence) {
    step(fill(translated("draw the {1} panels of the fence"), {std::to_string(s.fence->size())}),
         drawFence);
  };
  step(fill(translated("draw the 3D map of a {1} grid"), {gridSize(d.Nx, d.Ny)}),
       [&] { drawMapPieces(canvas, projectionOf(in), pieces, context_, wallStep, fenceStep); });
}

// The map is drawn in full before any of the state changes, so a map that fails leaves the last
// picture's units and walls and the progress as they were.
Warnings Session::drawGeoMap(Canvas& canvas) {
  requireViewDrawable();
  if (auto problem = shadingProblem(state_.drawOptions.shading)) throw SessionError(*problem);
  const DisplaySurface& d = *state_.display;
  const std::array<std::int16_t, 2> walls = facingWalls(projection(), d);
  std::shared_ptr<const Array2D<std::int16_t>> units;
  step(fill(translated("copy the units of a {1} grid"), {gridSize(d.Nx, d.Ny)}),
       [&] { units = mapUnitsToDraw(state_.mapGrid, d.Nx, d.Ny); });
  std::shared_ptr<const Array2D<double>> values = noResult<Array2D<double>>();
  if (state_.mapValue) {
    step(fill(translated("work out the values of a {1} grid"), {gridSize(d.Nx, d.Ny)}),
         [&] { values = shared(valueGrid(*state_.mapValue)); });
  }
  canvas.clear();
  DrawingTally drawn(canvas);
  drawMapPicture(drawn, DrawingMode::GeologicalMap, *units, walls, currentView(), *values);
  if (!drawn.drewAnything()) {
    throw SessionError(
        nothingDrawnMessage(translated("the block"), state_.displayFile, d, state_.view));
  }
  drawMapBoreholes(canvas, currentView());
  if (state_.annotations.any()) drawMapNotes(canvas, projection(), mapNotes(*values));
  state_.drawOptions.DrawMode = DrawingMode::GeologicalMap;
  recordPicture(PictureKind::Map, std::move(units));
  state_.drawValue = std::move(values);
  state_.visibleWall = walls;
  state_.progress.mapDrawn();
  notify(Change::Picture);
  return contourWarnings();
}

// Over the current picture in its view, with the last units; nothing without a surface.
Warnings Session::drawContourMap(Canvas& canvas) {
  if (!state_.display->loaded()) return {};
  const PictureView in = overlayView();
  requireDrawable(in);
  drawMapPicture(canvas, DrawingMode::ContourMap, *state_.drawUnit, lastVisibleWalls(), in,
                 *state_.drawValue);
  drewOver(DrawnOver::Contours);
  notify(Change::Picture);
  return contourWarnings();
}

// Grid lines over the picture on screen, in its view: over the section when the last picture was
// one, or before any picture while the section is the current kind; over the map otherwise.
Warnings Session::drawGridLines(Canvas& canvas) {
  const PictureView in = overlayView();
  const bool overSection =
      state_.picture == PictureKind::Section ||
      (state_.picture == PictureKind::None && state_.progress.sectionGrid() == GridState::Current);
  if (overSection) {
    requireSectionDrawable(in);
    drawSectionPicture(canvas, DrawingMode::GridLines,
                       sectionUnitsDrawn() ? *state_.drawUnit : sectionUnits(), in);
    drewOver(DrawnOver::GridLines);
    notify(Change::Picture);
    return {};
  }
  if (!state_.display->loaded()) return {};
  requireDrawable(in);
  drawMapPicture(canvas, DrawingMode::GridLines, *state_.drawUnit, lastVisibleWalls(), in,
                 *state_.drawValue);
  drewOver(DrawnOver::GridLines);
  notify(Change::Picture);
  return contourWarnings();
}

// True when the units drawn last are the section's, as after "断面図".
bool Session::sectionUnitsDrawn() const {
  const VerticalGrid& section = *state_.sectionGrid;
  const Array2D<std::int16_t>& drawn = *state_.drawUnit;
  return drawn.iLast() == section.nH && drawn.jLast() == levelsToDraw(section);
}

Array2D<std::int16_t> Session::sectionUnits() {
  const VerticalGrid& section = *state_.sectionGrid;
  Array2D<std::int16_t> units;
  step(fill(translated("copy the units of a {1} section"), {gridSize(section.nH, section.nV)}),
       [&] { units = unitsToDraw(section.unit, section.nH, levelsToDraw(section)); });
  return units;
}

// A section can be drawn while the model exists and a section grid has been built for it.
void Session::requireSectionDrawable(const PictureView& in) const {
  requireModel();
  if (state_.sectionGrid->empty()) {
    throw SessionError(translated("There is no section grid yet: build it in step (5-2) first."));
  }
  requireDrawable(in);
}

void Session::drawSectionPicture(Canvas& canvas, DrawingMode mode,
                                 const Array2D<std::int16_t>& units, const PictureView& in) {
  const ViewerState& s = state_;
  const VerticalGrid& grid = *s.sectionGrid;
  const SectionPicture picture{.grid = grid,
                               .drawUnit = units,
                               .section = *s.section,
                               .profile = *s.sectionProfile,
                               .Zbase = in.Zbase,
                               .Zmax = s.display->Zmax,
                               .zEps = s.display->zEps,
                               .style = pictureStyle(mode)};
  step(fill(translated("draw the section of a {1} grid"), {gridSize(grid.nH, grid.nV)}),
       [&] { kalvenor::drawSection(canvas, projectionOf(in), picture, context_); });
}

// Like the map, the section changes the state only once it is drawn.
void Session::drawSection(Canvas& canvas) {
  requireSectionDrawable(currentView());
  Array2D<std::int16_t> units = sectionUnits();
  canvas.clear();
  DrawingTally drawn(canvas);
  drawSectionPicture(drawn, DrawingMode::Section, units, currentView());
  if (!drawn.drewAnything()) {
    throw SessionError(nothingDrawnMessage(translated("the section"), state_.displayFile,
                                           *state_.display, state_.view));
  }
  drawSectionBoreholes(canvas, currentView());
  if (state_.annotations.any()) {
    drawSectionNotes(canvas, projection(), sectionNotes(units));
  }
  state_.drawOptions.DrawMode = DrawingMode::Section;
  recordPicture(PictureKind::Section, shared(std::move(units)));
  state_.progress.sectionDrawn();
  notify(Change::Picture);
}

// The last section's line on the picture there, in the view that picture was drawn in: the
// outline of its plane, or its trace along the ground when the draw options ask for that.
void Session::drawSurveyLine(Canvas& canvas) {
  if (!state_.progress.modelReady() || state_.section->Nxy == 0) return;
  const PictureView in = overlayView();
  requireDrawable(in);
  if (state_.drawOptions.surveyTrace) {
    drawSurveyTrace(canvas, projectionOf(in), *state_.section);
  } else {
    kalvenor::drawSurveyLine(canvas, projectionOf(in), *state_.section, in.Zbase,
                             state_.display->Zmax, state_.drawOptions.LineColor);
  }
  drewOver(DrawnOver::SurveyLine);
  notify(Change::Picture);
}

}  // namespace kalvenor
