#include "imagewin/form_image.h"
#include "render/draw_units.h"
#include "render/map_renderer.h"
#include "render/section_renderer.h"
#include "render/side_maps.h"
#include "shell/busy_cursor.h"
#include "shell/form_main.h"
#include "shell/qt_number_text.h"

namespace kalvenor {

void FormMain::cmdGeoMap_Click() {
  state_.drawOptions.DrawMode = kGeologicalMap;
  formImage_->showCanvas();
  formImage_->canvas().clear();
  BusyCursor busy;
  applyViewSettings();
  const DisplaySurface& d = state_.display;
  state_.visibleWall = visibleWalls(state_.view, d.Nx, d.Ny);
  copyMapUnits();
  drawGeoMap();
  const std::pair<QLabel*, double> figures[] = {{ui_.lblAlpha, state_.view.Alpha},
                                                {ui_.lblGamma, state_.view.Gamma},
                                                {ui_.lblVe, state_.view.Ve},
                                                {ui_.lblSca, state_.view.Sca},
                                                {ui_.lblZbase2, state_.Zbase}};
  for (const auto& [label, value] : figures) label->setText(numberQText(value));
  if (state_.flags.sectionGridState == 1) state_.flags.sectionGridState = 2;
  updateCommandStates();
}

// Draws over the current picture with the last view and units.
void FormMain::cmdContour_Click() {
  state_.drawOptions.DrawMode = kContourMap;
  BusyCursor busy;
  drawGeoMap();
}

void FormMain::cmdGrid_Click() {
  state_.drawOptions.DrawMode = kGridLines;
  BusyCursor busy;
  if (state_.flags.sectionGridState == 1) {
    drawSection();
  } else {
    drawGeoMap();
  }
}

// The units of the map grid for every node of the current display surface; a node the grid
// does not cover (a surface loaded after the build) has none.
void FormMain::copyMapUnits() {
  state_.drawUnit = unitsToDraw(state_.mapGrid.mapUnit, state_.display.Nx, state_.display.Ny);
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

void FormMain::drawGeoMap() {
  const DisplaySurface& d = state_.display;
  if (!d.loaded()) return;
  if (state_.visibleWall[0] == 0) state_.visibleWall = visibleWalls(state_.view, d.Nx, d.Ny);
  MapPicture picture{d,
                     state_.Zbase,
                     state_.model,
                     state_.boundaryGrids,
                     state_.unitColor,
                     state_.boundaryColor,
                     state_.drawUnit,
                     state_.view,
                     state_.contours,
                     state_.drawOptions,
                     contourLinesWanted(),
                     ui_.chkSide->isChecked(),
                     ui_.chkWaku->isChecked(),
                     ui_.optWaku4->isChecked(),
                     [this](const Projection& projection) { drawSideMaps(projection); }};
  kalvenor::drawGeoMap(formImage_->canvas(), picture);
}

void FormMain::drawSideMaps(const Projection& projection) {
  const SidePicture picture{state_.display,       state_.mapGrid,      state_.wallProfiles,
                            state_.visibleWall,   state_.model,        state_.boundaryGrids,
                            state_.unitColor,     state_.boundaryColor, state_.drawOptions};
  kalvenor::drawSideMaps(formImage_->canvas(), projection, picture);
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

void FormMain::drawSection() {
  if (!sectionDrawable()) return;
  copySectionUnitsIfMissing();
  const SectionPicture picture{state_.mapGrid.verticalGrids[kSectionSlot],
                               state_.drawUnit,
                               state_.section,
                               state_.sectionProfile,
                               state_.Zbase,
                               state_.display.Zmax,
                               state_.display.zEps,
                               state_.model,
                               state_.boundaryGrids,
                               state_.unitColor,
                               state_.boundaryColor,
                               state_.drawOptions};
  kalvenor::drawSection(formImage_->canvas(), currentProjection(), picture);
}

void FormMain::copySectionUnits() {
  const VerticalGrid& section = state_.mapGrid.verticalGrids[kSectionSlot];
  state_.drawUnit = unitsToDraw(section.unit, section.nH, section.nV);
}

// Grid lines over a section not drawn yet take the section's units.
void FormMain::copySectionUnitsIfMissing() {
  const VerticalGrid& section = state_.mapGrid.verticalGrids[kSectionSlot];
  const Array2D<std::int32_t>& units = state_.drawUnit;
  if (units.iLast() != section.nH || units.jLast() != section.nV) copySectionUnits();
}

void FormMain::cmdGeoSection_Click() {
  if (!sectionDrawable()) return;
  state_.drawOptions.DrawMode = kSectionPicture;
  formImage_->showCanvas();
  formImage_->canvas().clear();
  BusyCursor busy;
  applyViewSettings();
  copySectionUnits();
  drawSection();
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
  state_.drawOptions.DrawMode = kSurveyLine;
  BusyCursor busy;
  drawSurveyLine(formImage_->canvas(), currentProjection(), state_.section, state_.Zbase,
                 state_.display.Zmax, state_.drawOptions.LineColor);
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
