#include "imagewin/form_image.h"
#include "model/step_failure.h"
#include "render/draw_units.h"
#include "render/map_renderer.h"
#include "render/section_renderer.h"
#include "render/side_maps.h"
#include "render/view_limits.h"
#include "shell/busy_cursor.h"
#include "shell/form_main.h"
#include "shell/qt_number_text.h"

namespace kalvenor {

// A view that cannot make a picture is refused before anything is drawn.
void FormMain::refuseUndrawableView() const {
  const std::optional<std::string> problem = viewProblem(state_.view, state_.Zbase, state_.display);
  if (problem) throw StepFailure(*problem);
}

// The map is drawn in full before any of the viewer's state changes, so a map that fails leaves
// the last picture, its units and walls, the labels and the flags as they were.
void FormMain::cmdGeoMap_Click() {
  formImage_->showCanvas();
  BusyCursor busy;
  applyViewSettings();
  refuseUndrawableView();
  const DisplaySurface& d = state_.display;
  const std::array<std::int16_t, 2> walls = visibleWalls(state_.view, d.Nx, d.Ny);
  Array2D<std::int32_t> units =
      steps_.run("copy the units of a " + gridSize(d.Nx, d.Ny) + " grid",
                 [&] { return unitsToDraw(state_.mapGrid.mapUnit, d.Nx, d.Ny); });
  DrawOptions options = state_.drawOptions;
  options.DrawMode = kGeologicalMap;
  const bool contourLines = contourLinesWanted();
  formImage_->canvas().clear();
  drawGeoMap(options, units, walls, contourLines);

  state_.drawOptions.DrawMode = kGeologicalMap;
  state_.drawUnit = std::move(units);
  state_.visibleWall = walls;
  const std::pair<QLabel*, double> figures[] = {{ui_.lblAlpha, state_.view.Alpha},
                                                {ui_.lblGamma, state_.view.Gamma},
                                                {ui_.lblVe, state_.view.Ve},
                                                {ui_.lblSca, state_.view.Sca},
                                                {ui_.lblZbase2, state_.Zbase}};
  for (const auto& [label, value] : figures) label->setText(numberQText(value));
  if (state_.flags.sectionGridState == 1) state_.flags.sectionGridState = 2;
  updateCommandStates();
}

// The walls facing the eye in the last map, or in the current view before any map.
std::array<std::int16_t, 2> FormMain::lastVisibleWalls() const {
  if (state_.visibleWall[0] != 0) return state_.visibleWall;
  return visibleWalls(state_.view, state_.display.Nx, state_.display.Ny);
}

// Draws over the current picture with the last view and units.
void FormMain::cmdContour_Click() {
  if (!state_.display.loaded()) return;
  refuseUndrawableView();
  BusyCursor busy;
  DrawOptions options = state_.drawOptions;
  options.DrawMode = kContourMap;
  drawGeoMap(options, state_.drawUnit, lastVisibleWalls(), contourLinesWanted());
  state_.drawOptions.DrawMode = kContourMap;
}

// Grid lines over the section while it is the current kind of picture, over the map otherwise.
void FormMain::cmdGrid_Click() {
  DrawOptions options = state_.drawOptions;
  options.DrawMode = kGridLines;
  if (state_.flags.sectionGridState == 1) {
    if (!sectionDrawable()) return;
    refuseUndrawableView();
    BusyCursor busy;
    if (sectionUnitsDrawn()) {
      drawSection(options, state_.drawUnit);
    } else {
      drawSection(options, sectionUnits());
    }
  } else {
    if (!state_.display.loaded()) return;
    refuseUndrawableView();
    BusyCursor busy;
    drawGeoMap(options, state_.drawUnit, lastVisibleWalls(), contourLinesWanted());
  }
  state_.drawOptions.DrawMode = kGridLines;
}

bool FormMain::contourLinesWanted() {
  if (!ui_.chkContour->isChecked() || state_.contours.Cin == 0) return false;
  if (contoursDrawable(state_.contours)) return true;
  dialogs_.message(QStringLiteral("The contour interval gives more than %1 levels between the "
                                  "first and last level; the map is drawn without contours.")
                       .arg(kMaxContourLevels),
                   Dialogs::Icon::Warning);
  return false;
}

void FormMain::drawGeoMap(const DrawOptions& options, const Array2D<std::int32_t>& units,
                          std::array<std::int16_t, 2> walls, bool contourLines) {
  const DisplaySurface& d = state_.display;
  const MapPicture picture{
      d,
      blockBase(state_.Zbase),
      state_.model,
      state_.boundaryGrids,
      state_.unitColor,
      state_.boundaryColor,
      units,
      state_.contours,
      options,
      contourLines,
      ui_.chkSide->isChecked(),
      ui_.chkWaku->isChecked(),
      ui_.optWaku4->isChecked(),
      [&](const Projection& projection) { drawSideMaps(projection, options, walls); }};
  steps_.run("draw the 3D map of a " + gridSize(d.Nx, d.Ny) + " grid",
             [&] { kalvenor::drawGeoMap(formImage_->canvas(), currentProjection(), picture); });
}

void FormMain::drawSideMaps(const Projection& projection, const DrawOptions& options,
                            std::array<std::int16_t, 2> walls) {
  const DisplaySurface& d = state_.display;
  const SidePicture picture{d,
                            state_.mapGrid,
                            state_.wallProfiles,
                            walls,
                            state_.model,
                            state_.boundaryGrids,
                            state_.unitColor,
                            state_.boundaryColor,
                            options};
  steps_.run("draw the side walls of a " + gridSize(d.Nx, d.Ny) + " grid",
             [&] { kalvenor::drawSideMaps(formImage_->canvas(), projection, picture); });
}

Projection FormMain::currentProjection() const {
  const DisplaySurface& d = state_.display;
  return Projection(state_.view, d.Xc, d.Yc, d.Zc, state_.Zbase);
}

// A section can be drawn while the model exists and the last grid build was a section build.
bool FormMain::sectionDrawable() {
  if (state_.flags.modelReady != 1) return false;
  if (!state_.mapGrid.verticalGrids[kSectionSlot].empty()) return true;
  dialogs_.message(QStringLiteral("The section grid was replaced by the last 3D-map grid build; "
                                  "build the section again in step (5-2)."),
                   Dialogs::Icon::Warning);
  return false;
}

// True when the units drawn last are the section's, as after "断面図".
bool FormMain::sectionUnitsDrawn() const {
  const VerticalGrid& section = state_.mapGrid.verticalGrids[kSectionSlot];
  return state_.drawUnit.iLast() == section.nH && state_.drawUnit.jLast() == section.nV;
}

Array2D<std::int32_t> FormMain::sectionUnits() {
  const VerticalGrid& section = state_.mapGrid.verticalGrids[kSectionSlot];
  return steps_.run("copy the units of a " + gridSize(section.nH, section.nV) + " section",
                    [&] { return unitsToDraw(section.unit, section.nH, section.nV); });
}

void FormMain::drawSection(const DrawOptions& options, const Array2D<std::int32_t>& units) {
  const VerticalGrid& grid = state_.mapGrid.verticalGrids[kSectionSlot];
  const SectionPicture picture{grid,
                               units,
                               state_.section,
                               state_.sectionProfile,
                               state_.Zbase,
                               state_.display.Zmax,
                               state_.display.zEps,
                               state_.model,
                               state_.boundaryGrids,
                               state_.unitColor,
                               state_.boundaryColor,
                               options};
  steps_.run("draw the section of a " + gridSize(grid.nH, grid.nV) + " grid",
             [&] { kalvenor::drawSection(formImage_->canvas(), currentProjection(), picture); });
}

// Like the map, the section changes the viewer's state only once it is drawn.
void FormMain::cmdGeoSection_Click() {
  if (!sectionDrawable()) return;
  formImage_->showCanvas();
  BusyCursor busy;
  applyViewSettings();
  refuseUndrawableView();
  Array2D<std::int32_t> units = sectionUnits();
  DrawOptions options = state_.drawOptions;
  options.DrawMode = kSectionPicture;
  formImage_->canvas().clear();
  drawSection(options, units);

  state_.drawOptions.DrawMode = kSectionPicture;
  state_.drawUnit = std::move(units);
  const std::pair<QLabel*, double> figures[] = {{ui_.lblAlphaS, state_.view.Alpha},
                                                {ui_.lblGammaS, state_.view.Gamma},
                                                {ui_.lblVeS, state_.view.Ve},
                                                {ui_.lblScaS, state_.view.Sca}};
  for (const auto& [label, value] : figures) label->setText(numberQText(value));
  state_.flags.mapGridState = 0;
  updateCommandStates();
}

// The outline of the last section's plane on the picture there, with the current view.
void FormMain::cmdGeoSectionLine_Click() {
  if (state_.flags.modelReady != 1 || state_.section.Nxy == 0) return;
  refuseUndrawableView();
  BusyCursor busy;
  drawSurveyLine(formImage_->canvas(), currentProjection(), state_.section, state_.Zbase,
                 state_.display.Zmax, state_.drawOptions.LineColor);
  state_.drawOptions.DrawMode = kSurveyLine;
}

void FormMain::chkAutoRedraw_Click() {
  formImage_->canvas().setPersistent(ui_.chkAutoRedraw->isChecked());
}

void FormMain::chkBack_Click() {
  const bool black = ui_.chkBack->isChecked();
  formImage_->canvas().setBackgroundColor(black ? kBlack : kWhite);
  state_.drawOptions.LineColor = black ? kWhite : kBlack;
}

void FormMain::chkboundary_Click() {
  state_.drawOptions.DrawBoundary = ui_.chkboundary->isChecked() ? 1 : 0;
}

// Without a frame neither side option is selected; choosing one asks for a frame again.
void FormMain::chkWaku_Click() {
  if (ui_.chkWaku->isChecked()) return;
  for (QRadioButton* option : {ui_.optWaku2, ui_.optWaku4}) {
    option->setAutoExclusive(false);
    option->setChecked(false);
    option->setAutoExclusive(true);
  }
}

void FormMain::optWaku_Click(bool checked) {
  if (checked) ui_.chkWaku->setChecked(true);
}

}  // namespace kalvenor
