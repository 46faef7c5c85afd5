#include "imagewin/form_image.h"
#include "shell/eye_distance.h"
#include "shell/form_main.h"
#include "shell/qt_number_text.h"
#include "shell/typed_number.h"

namespace kalvenor {
namespace {

// An empty box leaves its value as it was, and so does one not yet holding a number.
std::optional<double> typedIn(const QLineEdit* box) { return numberBeingTyped(*box); }

}  // namespace

void FormMain::applyViewSettings() {
  ReadingControls reading(*this, Change::View);
  const TypedView typed{typedIn(ui_.txtAlpha), typedIn(ui_.txtGamma), typedIn(ui_.txtSca),
                        typedIn(ui_.txtVe),    typedIn(ui_.txtZbase), typedIn(ui_.txtDist),
                        typedIn(ui_.txtPpz)};
  const ImageCanvas& canvas = formImage_->canvas();
  session_.applyView(typed, canvas.width(), canvas.height());
}

// The fit places the picture by a shift of whole pixels, which the next view applied drops; the
// same place as a pan stays through the gestures and redraws that follow. The magnification
// chosen shows in its box.
void FormMain::fitView(PictureKind kind) {
  applyViewSettings();
  const ImageCanvas& canvas = formImage_->canvas();
  kind == PictureKind::Section ? session_.fitSectionView(canvas) : session_.fitMapView(canvas);
  const double scale = session_.projection().scale();
  const ViewCanvas& fitted = state().viewCanvas;
  if (scale > 0) session_.setPan(-fitted.ShiftX / scale, fitted.ShiftY / scale);
  applyViewSettings();
}

// "画面に合わせる": the picture on screen, in the view it stands in, with or without the legend.
void FormMain::cmdFit_Click() {
  const PictureKind kind = session_.redrawablePicture();
  if (kind == PictureKind::None || formImage_->canvas().blank()) {
    return showNote(whyNoPictureToTurn());
  }
  redrawShownPicture(true);
}

// A view applied elsewhere (a command line) shows in the boxes as if typed there.
void FormMain::showView() {
  const ViewSettings& v = state().view;
  const bool perspective = v.Dist != kParallelDist;
  const std::pair<QLineEdit*, double> boxes[] = {{ui_.txtAlpha, v.Alpha}, {ui_.txtGamma, v.Gamma},
                                                 {ui_.txtSca, v.Sca},     {ui_.txtVe, v.Ve},
                                                 {ui_.txtDist, v.Dist},   {ui_.txtPpz, v.Ppz}};
  for (const auto& [box, value] : boxes) {
    const QSignalBlocker quiet(box);
    box->setText(numberQText(value));
  }
  const QSignalBlocker quiet(ui_.chkPers);
  ui_.chkPers->setChecked(perspective);
  ui_.txtDist->setEnabled(perspective);
  ui_.txtPpz->setEnabled(perspective);
}

// Switching perspective off keeps the last perspective values for switching it on again.
void FormMain::chkPers_Click() {
  const bool perspective = ui_.chkPers->isChecked();
  const PerspectiveValues values =
      withEyeDistance(session_.switchPerspective(perspective), state());
  ui_.txtDist->setText(numberQText(values.Dist));
  ui_.txtDist->setEnabled(perspective);
  ui_.txtPpz->setText(numberQText(values.Ppz));
  ui_.txtPpz->setEnabled(perspective);
  applyViewSettings();
}

void FormMain::writeView(const ViewValues& values) {
  ui_.txtAlpha->setText(numberQText(values.Alpha));
  ui_.txtGamma->setText(numberQText(values.Gamma));
  ui_.txtSca->setText(numberQText(values.Sca));
  ui_.txtVe->setText(numberQText(values.Ve));
}

// A preset view shows the picture in the middle again, as it was before any pan.
void FormMain::writePreset(const ViewValues& values) {
  writeView(values);
  ReadingControls reading(*this, Change::View);
  session_.setPan(0, 0);
}

// A plan view with north up, framed on four sides and without walls.
void FormMain::cmd2D_Click() {
  writePreset(session_.planView());
  ui_.txtDist->setText(numberQText(kParallelDist));
  ui_.txtPpz->setText(QStringLiteral("0"));
  ui_.chkWaku->setChecked(true);
  ui_.optWaku4->setChecked(true);
  ui_.chkSide->setChecked(false);
  applyViewSettings();
}

void FormMain::cmd3DDefault_Click() {
  writePreset(session_.defaultView());
  ui_.txtDist->setText(numberQText(kParallelDist));
  ui_.txtPpz->setText(QStringLiteral("0"));
  applyViewSettings();
}

void FormMain::cmdSectionView_Click() {
  writePreset(session_.sectionView());
  applyViewSettings();
}

}  // namespace kalvenor
