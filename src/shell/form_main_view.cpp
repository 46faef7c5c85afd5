#include <cmath>

#include "imagewin/form_image.h"
#include "shell/form_main.h"
#include "shell/qt_number_text.h"

namespace kalvenor {
namespace {

// An empty box leaves its value as it was.
void readBox(const QLineEdit* box, double& value) {
  if (!box->text().isEmpty()) value = leadingNumber(box->text());
}

}  // namespace

void FormMain::applyViewSettings() {
  ui_.lbl6->setVisible(true);
  ViewSettings& v = state_.view;
  readBox(ui_.txtVe, v.Ve);
  readBox(ui_.txtAlpha, v.Alpha);
  readBox(ui_.txtGamma, v.Gamma);
  readBox(ui_.txtSca, v.Sca);
  readBox(ui_.txtZbase, state_.Zbase);
  readBox(ui_.txtDist, v.Dist);
  readBox(ui_.txtPpz, v.Ppz);
  const ImageCanvas& canvas = formImage_->canvas();
  applyView(v, state_.display, canvas.width(), canvas.height());
  if (v.Sca > 0) state_.flags.viewReady = 1;
  updateCommandStates();
  if (state_.flags.viewReady == 1) ui_.lbl6->setVisible(false);
}

// Switching perspective off keeps the last perspective values for switching it on again.
void FormMain::chkPers_Click() {
  ViewSettings& v = state_.view;
  if (v.Dist != kParallelDist) state_.savedDist = v.Dist;
  if (v.Ppz != 0) state_.savedPpz = v.Ppz;
  const bool perspective = ui_.chkPers->isChecked();
  ui_.txtDist->setText(numberQText(perspective ? state_.savedDist : kParallelDist));
  ui_.txtDist->setEnabled(perspective);
  ui_.txtPpz->setText(perspective ? numberQText(state_.savedPpz) : QStringLiteral("0"));
  ui_.txtPpz->setEnabled(perspective);
  applyViewSettings();
}

void FormMain::writeView(const QString& alpha, const QString& gamma, const QString& sca,
                         const QString& ve) {
  ui_.txtAlpha->setText(alpha);
  ui_.txtGamma->setText(gamma);
  ui_.txtSca->setText(sca);
  ui_.txtVe->setText(ve);
}

// A plan view with north up.
void FormMain::cmd2D_Click() {
  writeView(QStringLiteral("180"), QStringLiteral("90"), QStringLiteral("1.8"), QStringLiteral("1"));
  ui_.txtDist->setText(numberQText(kParallelDist));
  ui_.txtPpz->setText(QStringLiteral("0"));
  ui_.chkWaku->setChecked(true);
  ui_.optWaku4->setChecked(true);
  ui_.chkSide->setChecked(false);
  applyViewSettings();
}

void FormMain::cmd3DDefault_Click() {
  const DefaultValues& d = state_.defaults;
  writeView(numberQText(d.defaultAlpha), numberQText(d.defaultGamma), numberQText(d.defaultSca),
            numberQText(d.defaultVe));
  ui_.txtDist->setText(numberQText(kParallelDist));
  ui_.txtPpz->setText(QStringLiteral("0"));
  applyViewSettings();
}

// A horizontal look at the section from the side that puts the line's eastern end on the right.
void FormMain::cmdSectionView_Click() {
  const double Fai = state_.section.Fai;
  double alpha = Fai / kDegree + 90;
  if (std::sin(Fai) <= 0) alpha = Fai / kDegree - 90;
  writeView(numberQText(alpha), QStringLiteral("0"), QStringLiteral("1.4"), QStringLiteral("1"));
  applyViewSettings();
}

}  // namespace kalvenor
