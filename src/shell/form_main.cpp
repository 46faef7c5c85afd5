#include "shell/form_main.h"

#include <QApplication>
#include <QCloseEvent>

#include "imagewin/form_image.h"
#include "imagewin/form_image_s.h"
#include "shell/qt_number_text.h"
#include "shell/app_title.h"

namespace kalvenor {

FormMain::FormMain(Dialogs& dialogs, QString programFolder)
    : dialogs_(dialogs),
      programFolder_(std::move(programFolder)),
      formImage_(std::make_unique<FormImage>()) {
  ui_.setupUi(this);
  setWindowTitle(kAppTitle);
  connectHandlers();
}

FormMain::~FormMain() = default;

void FormMain::connectHandlers() {
  connect(ui_.txtNbd, &QLineEdit::textChanged, this, &FormMain::txtNbd_Change);
  connect(ui_.txtZbase, &QLineEdit::textChanged, this, &FormMain::txtZbase_Change);
  connect(ui_.txtZbase2, &QLineEdit::textChanged, this, &FormMain::txtZbase2_Change);
  connect(ui_.cmdEnd, &QPushButton::clicked, this, &FormMain::cmdEnd_Click);
  connect(ui_.cmdVersion, &QPushButton::clicked, this, &FormMain::cmdVersion_Click);
  connect(ui_.cmdImageClear, &QPushButton::clicked, this, &FormMain::cmdImageClear_Click);
  connect(ui_.cmdImageCopy, &QPushButton::clicked, this, &FormMain::cmdImageCopy_Click);
  connect(ui_.cmdImagePaste, &QPushButton::clicked, this, &FormMain::cmdImagePaste_Click);
  connect(ui_.cmdImageSave, &QPushButton::clicked, this, &FormMain::cmdImageSave_Click);
  connect(formImage_.get(), &FormImage::outerSizeChanged, this, &FormMain::showWindowSize);
}

void FormMain::updateCommandStates() {
  const CommandStates states = commandStates(state_.flags);
  ui_.cmdGeoMap->setEnabled(states.geoMap);
  ui_.cmdGeoSection->setEnabled(states.geoSection);
  ui_.cmdGeoSectionLine->setEnabled(states.geoSectionLine);
  ui_.cmdContour->setEnabled(states.contour);
  ui_.cmdGrid->setEnabled(states.grid);
}

void FormMain::txtNbd_Change() {
  ui_.txtNbd1->setText(numberQText(leadingNumber(ui_.txtNbd->text()) + 1));
}

// The two Zbase boxes mirror each other; an assignment that leaves a box's text as it was raises
// no change, which ends the exchange.
void FormMain::txtZbase_Change() {
  state_.Zbase = leadingNumber(ui_.txtZbase->text());
  ui_.txtZbase2->setText(numberQText(state_.Zbase));
  ui_.lblZbase->setText(numberQText(state_.Zbase));
}

void FormMain::txtZbase2_Change() {
  state_.Zbase = leadingNumber(ui_.txtZbase2->text());
  ui_.txtZbase->setText(numberQText(state_.Zbase));
  ui_.lblZbase->setText(numberQText(state_.Zbase));
}

void FormMain::cmdEnd_Click() { close(); }

// Closing the main window by any means ends the program with every window.
void FormMain::closeEvent(QCloseEvent* event) {
  formImage_->close();
  if (formImageS_) formImageS_->close();
  event->accept();
  QCoreApplication::quit();
}

void FormMain::cmdVersion_Click() {
  dialogs_.message(QStringLiteral("Kalvenor 2003 Viewer Edition (2004/12/25)"), Dialogs::Icon::None);
}

void FormMain::showWindowSize(int width, int height) {
  ui_.lblWinX->setText(numberQText(width));
  ui_.lblWinY->setText(numberQText(height));
}

}  // namespace kalvenor
