#include "imagewin/form_image.h"
#include "shell/busy_cursor.h"
#include "shell/form_main.h"
#include "shell/qt_number_text.h"

namespace kalvenor {

void FormMain::cmdGeoMap_Click() {
  formImage_->showCanvas();
  BusyCursor busy;
  drawMap();
}

// With the legend and axes on, a picture is fitted to the window so that they cover none of it.
void FormMain::drawMap() {
  if (state().annotations.any()) {
    fitView(PictureKind::Map);
  } else {
    applyViewSettings();
  }
  showWarnings(session_.drawGeoMap(formImage_->canvas()));
}

// Draws over the current picture with the last view and units.
void FormMain::cmdContour_Click() {
  if (noSurfaceToDrawOn(ui_.cmdContour)) return;
  BusyCursor busy;
  showWarnings(session_.drawContourMap(formImage_->canvas()));
}

void FormMain::cmdGrid_Click() {
  if (noSurfaceToDrawOn(ui_.cmdGrid)) return;
  BusyCursor busy;
  showWarnings(session_.drawGridLines(formImage_->canvas()));
}

void FormMain::cmdGeoSection_Click() {
  formImage_->showCanvas();
  BusyCursor busy;
  drawSectionPicture();
}

void FormMain::drawSectionPicture() {
  if (state().annotations.any()) {
    fitView(PictureKind::Section);
  } else {
    applyViewSettings();
  }
  session_.drawSection(formImage_->canvas());
}

// The outline of the last section's plane on the picture there, with the current view.
void FormMain::cmdGeoSectionLine_Click() {
  BusyCursor busy;
  session_.drawSurveyLine(formImage_->canvas());
}

// The settings a map or a section was drawn with, in the output tab.
void FormMain::showPictureFigures() {
  const ViewSettings& v = state().view;
  const DrawingMode mode = state().drawOptions.DrawMode;
  if (mode == DrawingMode::GeologicalMap) {
    const std::pair<QLabel*, double> figures[] = {{ui_.lblAlpha, v.Alpha},
                                                  {ui_.lblGamma, v.Gamma},
                                                  {ui_.lblVe, v.Ve},
                                                  {ui_.lblSca, v.Sca},
                                                  {ui_.lblZbase2, state().Zbase}};
    for (const auto& [label, value] : figures) label->setText(numberQText(value));
  } else if (mode == DrawingMode::Section) {
    const std::pair<QLabel*, double> figures[] = {{ui_.lblAlphaS, v.Alpha},
                                                  {ui_.lblGammaS, v.Gamma},
                                                  {ui_.lblVeS, v.Ve},
                                                  {ui_.lblScaS, v.Sca}};
    for (const auto& [label, value] : figures) label->setText(numberQText(value));
  }
}

void FormMain::chkAutoRedraw_Click() {
  formImage_->canvas().setPersistent(ui_.chkAutoRedraw->isChecked());
}

// The check boxes below change the picture on screen at once, as they do the next one.
void FormMain::chkBack_Click() {
  const bool black = ui_.chkBack->isChecked();
  formImage_->canvas().setBackgroundColor(black ? kBlack : kWhite);
  {
    ReadingControls reading(*this, Change::DrawOptions);
    session_.setLineColor(black ? kWhite : kBlack);
  }
  redrawShownPicture(false);
}

// The legend with the north arrow, and the axes of a section; switched on, the picture is fitted
// to the window with room for them.
void FormMain::chkAnnotations_Click() {
  const bool on = ui_.chkAnnotations->isChecked();
  {
    ReadingControls reading(*this, Change::DrawOptions);
    session_.setAnnotations({on, on, {}});
  }
  redrawShownPicture(on);
}

void FormMain::chkboundary_Click() {
  {
    ReadingControls reading(*this, Change::DrawOptions);
    session_.setBoundaryLines(ui_.chkboundary->isChecked());
  }
  redrawShownPicture(false);
}

// Cells split along the contacts, lines after the fills; off, the picture keeps its classic look.
void FormMain::chkContacts_Click() {
  {
    ReadingControls reading(*this, Change::DrawOptions);
    session_.setContacts(ui_.chkContacts->isChecked() ? Contacts::Smooth : Contacts::Cells);
  }
  redrawShownPicture(false);
}

// 測線 then draws the line as a trace on the ground; off, as the dotted outline of the section.
void FormMain::chkSectionTrace_Click() {
  {
    ReadingControls reading(*this, Change::DrawOptions);
    session_.setSurveyTrace(ui_.chkSectionTrace->isChecked());
  }
  redrawShownPicture(false);
}

void FormMain::chkContour_Click() {
  refreshContourSettings();
  redrawShownPicture(false);
}

// Without a frame neither side option is selected; choosing one asks for a frame again.
void FormMain::chkWaku_Click() {
  if (!ui_.chkWaku->isChecked()) {
    for (QRadioButton* option : {ui_.optWaku2, ui_.optWaku4}) {
      const QSignalBlocker quiet(option);
      option->setAutoExclusive(false);
      option->setChecked(false);
      option->setAutoExclusive(true);
    }
  }
  readDrawOptions();
}

void FormMain::optWaku_Click(bool checked) {
  if (checked) ui_.chkWaku->setChecked(true);
  readDrawOptions();
}

// The walls and the frame as the check boxes give them.
void FormMain::readDrawOptions() {
  ReadingControls reading(*this, Change::DrawOptions);
  session_.setMapOptions(
      {ui_.chkSide->isChecked(), ui_.chkWaku->isChecked(), ui_.optWaku4->isChecked()});
}

// Options set elsewhere (a build turns the walls on, a command line) show in the check boxes.
void FormMain::showDrawOptions() {
  const ViewerState& s = state();
  const bool black = s.drawOptions.LineColor == kWhite;
  const std::pair<QAbstractButton*, bool> checks[] = {
      {ui_.chkSide, s.mapOptions.sideWalls},
      {ui_.chkWaku, s.mapOptions.frame},
      {ui_.chkboundary, s.drawOptions.DrawBoundary},
      {ui_.chkContacts, s.drawOptions.contacts == Contacts::Smooth},
      {ui_.chkSectionTrace, s.drawOptions.surveyTrace},
      {ui_.chkBack, black},
      {ui_.chkAnnotations, s.annotations.legend || s.annotations.axes}};
  for (const auto& [check, on] : checks) {
    const QSignalBlocker quiet(check);
    check->setChecked(on);
  }
  QRadioButton* side = s.mapOptions.frameFourSides ? ui_.optWaku4 : ui_.optWaku2;
  for (QRadioButton* option : {ui_.optWaku2, ui_.optWaku4}) {
    const QSignalBlocker quiet(option);
    option->setAutoExclusive(false);
    option->setChecked(s.mapOptions.frame && option == side);
    option->setAutoExclusive(true);
  }
  showShading();
  formImage_->canvas().setBackgroundColor(black ? kBlack : kWhite);
}

}  // namespace kalvenor
