#include "shell/build_progress.h"
#include "shell/busy_cursor.h"
#include "shell/form_main.h"
#include "shell/qt_number_text.h"
#include "shell/typed_number.h"

namespace kalvenor {

// The whole build runs into fresh objects; only a build that completes replaces the grids. A
// build that fails throws, and the command's message says why. A new map comes with its walls.
void FormMain::cmdKalvenor_Click() {
  Warnings warnings;
  {
    BusyCursor busy;
    BuildProgressDialog progress(this);
    warnings = session_.buildMapGrid(progress.reporter());
  }
  ui_.chkSide->setChecked(true);
  showWarnings(warnings);
}

SectionLine FormMain::typedSectionLine() const {
  SectionLine line;
  line.Xstart = typedNumber(*ui_.txtXstart).value_or(0);
  line.Ystart = typedNumber(*ui_.txtYstart).value_or(0);
  line.endPointMode = ui_.optSection2->isChecked();
  line.Xend = typedNumber(*ui_.txtXend).value_or(0);
  line.Yend = typedNumber(*ui_.txtYend).value_or(0);
  line.faiDegrees = typedNumber(*ui_.txtFai).value_or(0);
  return line;
}

// After the build the view turns to the section.
void FormMain::cmdSectionModel_Click() {
  const SectionLine line = typedSectionLine();
  Warnings warnings;
  {
    BusyCursor busy;
    BuildProgressDialog progress(this);
    ReadingControls reading(*this, Change::Grids);
    warnings = session_.buildSectionGrid(line, progress.reporter());
  }
  cmdSectionView_Click();
  showWarnings(warnings);
}

// A section built elsewhere (a session opened, a command line) shows its line in the boxes of
// step (5-2), as if typed there; the boxes keep what was typed once the grids are dropped.
void FormMain::showSectionLine() {
  if (state().sectionGrid->empty()) return;
  const SectionLine& line = state().sectionLine;
  ui_.txtXstart->setText(numberQText(line.Xstart));
  ui_.txtYstart->setText(numberQText(line.Ystart));
  if (line.endPointMode) {
    ui_.txtXend->setText(numberQText(line.Xend));
    ui_.txtYend->setText(numberQText(line.Yend));
  } else {
    ui_.txtFai->setText(numberQText(line.faiDegrees));
  }
  (line.endPointMode ? ui_.optSection2 : ui_.optSection1)->setChecked(true);
}

// The figures of the last section build, gone with the grids of a model that was replaced.
void FormMain::showGridFigures() {
  const SectionGrid& s = *state().section;
  if (s.Nxy == 0 || state().sectionGrid->empty()) {
    for (QLabel* label :
         {ui_.lblNxyS, ui_.lblNzS, ui_.lblDxxS, ui_.lblDyyS, ui_.lblDzzS, ui_.lblXminS,
          ui_.lblYminS, ui_.lblZminS, ui_.lblXmaxS, ui_.lblYmaxS, ui_.lblZmaxS}) {
      label->clear();
    }
    return;
  }
  const double Zbase = s.Zbase;
  const std::pair<QLabel*, double> figures[] = {{ui_.lblNxyS, s.Nxy},
                                                {ui_.lblNzS, s.Nz},
                                                {ui_.lblDxxS, s.Dxx},
                                                {ui_.lblDyyS, s.Dyy},
                                                {ui_.lblDzzS, s.Dzz},
                                                {ui_.lblXminS, s.Xstart},
                                                {ui_.lblYminS, s.Ystart},
                                                {ui_.lblZminS, Zbase},
                                                {ui_.lblXmaxS, s.Xend},
                                                {ui_.lblYmaxS, s.Yend},
                                                {ui_.lblZmaxS, Zbase + (s.Nz - 1) * s.Dzz}};
  for (const auto& [label, value] : figures) label->setText(numberQText(value));
}

}  // namespace kalvenor
