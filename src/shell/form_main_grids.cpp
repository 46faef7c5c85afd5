#include "evaluation/grid_builds.h"
#include "shell/build_progress.h"
#include "shell/busy_cursor.h"
#include "shell/form_main.h"
#include "shell/qt_number_text.h"

namespace kalvenor {

BuildInputs FormMain::buildInputs() const {
  return {state_.model, state_.boundaryFile, state_.display, state_.Zbase};
}

bool FormMain::modelReadyForBuild() {
  if (state_.flags.modelReady == 1) return true;
  dialogs_.message(QStringLiteral("There is no logical model yet: enter one in step (1) first."),
                   Dialogs::Icon::Warning);
  return false;
}

// The whole build runs into fresh objects; only a build that completes replaces the grids. A
// build that fails throws, and the command's message says why.
void FormMain::cmdKalvenor_Click() {
  if (!modelReadyForBuild()) return;
  const DisplaySurface& d = state_.display;
  MapBuild build = steps_.run("build the 3D-map grid of " + gridSize(d.Nx, d.Ny) + " nodes", [&] {
    BusyCursor busy;
    BuildProgressDialog progress(this);
    return buildMapGrid(buildInputs(), progress.reporter());
  });
  state_.boundaryGrids = std::move(build.boundaryGrids);
  state_.mapGrid = std::move(build.grid);
  state_.wallProfiles = std::move(build.wallProfiles);
  state_.drawUnit = {};
  ProgressFlags& flags = state_.flags;
  flags.mapGridState = 1;
  if (flags.sectionGridState == 1) flags.sectionGridState = 2;
  ui_.chkSide->setChecked(true);
  updateCommandStates();
  ui_.lbl5->setVisible(false);
}

void FormMain::cmdSectionModel_Click() {
  if (!modelReadyForBuild()) return;
  SectionLine line;
  line.Xstart = leadingNumber(ui_.txtXstart->text());
  line.Ystart = leadingNumber(ui_.txtYstart->text());
  line.endPointMode = ui_.optSection2->isChecked();
  line.Xend = leadingNumber(ui_.txtXend->text());
  line.Yend = leadingNumber(ui_.txtYend->text());
  line.faiDegrees = leadingNumber(ui_.txtFai->text());
  SectionBuild build = steps_.run("build the section grid", [&] {
    BusyCursor busy;
    BuildProgressDialog progress(this);
    return buildSectionGrid(buildInputs(), line, progress.reporter());
  });
  state_.boundaryGrids = std::move(build.boundaryGrids);
  state_.mapGrid = std::move(build.grid);
  state_.section = std::move(build.section);
  state_.sectionProfile = std::move(build.sectionProfile);
  state_.drawUnit = {};

  cmdSectionView_Click();
  showSectionFigures();
  ProgressFlags& flags = state_.flags;
  flags.sectionGridState = 1;
  if (flags.mapGridState == 1) flags.mapGridState = 2;
  updateCommandStates();
  ui_.lbl5->setVisible(false);
}

void FormMain::clearSectionFigures() {
  for (QLabel* label :
       {ui_.lblNxyS, ui_.lblNzS, ui_.lblDxxS, ui_.lblDyyS, ui_.lblDzzS, ui_.lblXminS, ui_.lblYminS,
        ui_.lblZminS, ui_.lblXmaxS, ui_.lblYmaxS, ui_.lblZmaxS}) {
    label->clear();
  }
}

void FormMain::showSectionFigures() {
  const SectionGrid& s = state_.section;
  const MapGrid& g = state_.mapGrid;
  const std::pair<QLabel*, double> figures[] = {
      {ui_.lblNxyS, s.Nxy},         {ui_.lblNzS, g.Nz},           {ui_.lblDxxS, s.Dxx},
      {ui_.lblDyyS, s.Dyy},         {ui_.lblDzzS, g.Dzz},         {ui_.lblXminS, s.Xstart},
      {ui_.lblYminS, s.Ystart},     {ui_.lblZminS, state_.Zbase}, {ui_.lblXmaxS, s.Xend},
      {ui_.lblYmaxS, s.Yend},       {ui_.lblZmaxS, state_.Zbase + (g.Nz - 1) * g.Dzz}};
  for (const auto& [label, value] : figures) label->setText(numberQText(value));
}

}  // namespace kalvenor
