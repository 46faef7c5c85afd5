#include <QDir>
#include <QGuiApplication>
#include <QScreen>

#include "app/default_file.h"
#include "imagewin/form_image.h"
#include "model/message_text.h"
#include "shell/form_main.h"
#include "shell/screen_fit.h"

namespace kalvenor {

// The drawing window takes the right half of the screen, this one the top-left corner, as large
// as its pages need; both stay on the screen, this one's pages scrolling where it is too small.
void FormMain::Form_Load() {
  letPagesScroll(*ui_.tabParameter);
  formImage_->show();
  const QScreen* screen = QGuiApplication::primaryScreen();
  placeOnScreen(*formImage_, {screen ? screen->availableGeometry().width() / 2 : 0, 0});
  placeOnScreen(*this, {0, 0}, WindowSize::AsItsPagesNeed);
  resetViewer();
  updateCommandStates();
  rememberWorkSaved();
}

// Every assignment below that changes a control raises its change handling as a user edit
// would. txtZbase comes from the form holding "0", so clearing it runs the Zbase mirror, which
// leaves the pair at "0" / "" and lblZbase at "0".
void FormMain::resetViewer() {
  for (QLineEdit* box : {ui_.txtNbd, ui_.txtNbd1, ui_.txtAlpha, ui_.txtGamma, ui_.txtDist,
                         ui_.txtPpz, ui_.txtSca, ui_.txtVe, ui_.txtCst, ui_.txtCen, ui_.txtCin}) {
    box->setText(QString());
  }
  ui_.txtSepInt->setText(QStringLiteral("20"));
  ui_.txtDist->setEnabled(false);
  ui_.txtPpz->setEnabled(false);
  for (QLineEdit* box : {ui_.txtZbase, ui_.txtZbase2, ui_.txtXstart, ui_.txtYstart, ui_.txtXend,
                         ui_.txtYend, ui_.txtFai}) {
    box->setText(QString());
  }

  clearResultLabels();
  showStepIndicators();
  updateCommandStates();
  ui_.lstBoundaryFile->clear();
  cmdVerticesClear_Click();
  showFence();

  ui_.optSection2->setChecked(true);
  ui_.chkContour->setChecked(false);
  ui_.chkSide->setChecked(true);
  ui_.chkPers->setChecked(false);
  ui_.chkboundary->setChecked(true);
  ui_.chkAutoRedraw->setChecked(true);
  formImage_->canvas().setPersistent(true);
  ui_.chkBack->setChecked(false);
  ui_.chkAnnotations->setChecked(false);
  ui_.chkWaku->setChecked(true);
  ui_.optWaku4->setChecked(true);

  pickIndex_ = 0;
  formImage_->canvas().setBackgroundColor(kWhite);
  session_.setLineColor(kBlack);
  readDefaultFile();
}

void FormMain::clearResultLabels() {
  for (QLabel* label : {ui_.lblModelFileName, ui_.lblZminContour, ui_.lblZmaxContour,
                        ui_.lblZminGeo,       ui_.lblZmaxGeo,     ui_.lblMin,
                        ui_.lblMax,           ui_.lblNx,          ui_.lblNy,
                        ui_.lblXmin,          ui_.lblYmin,        ui_.lblXmax,
                        ui_.lblYmax,          ui_.lblDx,          ui_.lblDy,
                        ui_.lblZmin,          ui_.lblZmax,        ui_.lblAlpha,
                        ui_.lblGamma,         ui_.lblVe,          ui_.lblSca,
                        ui_.lblZbase2,        ui_.lblNxyS,        ui_.lblNzS,
                        ui_.lblXminS,         ui_.lblYminS,       ui_.lblXmaxS,
                        ui_.lblYmaxS,         ui_.lblDxxS,        ui_.lblDyyS,
                        ui_.lblDzzS,          ui_.lblZminS,       ui_.lblZmaxS,
                        ui_.lblAlphaS,        ui_.lblGammaS,      ui_.lblVeS,
                        ui_.lblScaS}) {
    label->clear();
  }
}

// A missing or broken default.txt must not stop the viewer: say what is wrong and go on with
// the view the shipped file holds.
void FormMain::readDefaultFile() {
  const std::string folder = QDir::toNativeSeparators(programFolder_).toStdString();
  if (const auto problem = session_.loadDefaults(defaultFilePlaces(folder))) {
    dialogs_.message(
        QString::fromStdString(
            fill(translated("{1}\nThe built-in default view is used instead."), {*problem})),
        Dialogs::Icon::Warning);
  }
}

}  // namespace kalvenor
