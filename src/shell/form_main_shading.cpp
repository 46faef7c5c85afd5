#include "shell/form_main.h"
#include "shell/qt_number_text.h"
#include "shell/typed_number.h"

namespace kalvenor {

// "陰影をつける" shades the picture on screen at once, as it does the next one.
void FormMain::chkShade_Click() {
  readShading();
  redrawShownPicture(false);
}

// A box not yet holding a number leaves its value as it was.
void FormMain::readShading() {
  const ReliefShading& now = state().drawOptions.shading;
  const bool on = ui_.chkShade->isChecked();
  const auto typedIn = [](const QLineEdit* box, double was) {
    return numberBeingTyped(*box).value_or(was);
  };
  ReadingControls reading(*this, Change::DrawOptions);
  session_.setShading({on, typedIn(ui_.txtShadeAzimuth, now.azimuth),
                       typedIn(ui_.txtShadeAltitude, now.altitude),
                       typedIn(ui_.txtShadeStrength, now.strength)});
  for (QLineEdit* box : {ui_.txtShadeAzimuth, ui_.txtShadeAltitude, ui_.txtShadeStrength}) {
    box->setEnabled(on);
  }
}

// Shading set elsewhere (a command line, a session) shows as if chosen here.
void FormMain::showShading() {
  const ReliefShading& s = state().drawOptions.shading;
  const std::pair<QLineEdit*, double> boxes[] = {{ui_.txtShadeAzimuth, s.azimuth},
                                                 {ui_.txtShadeAltitude, s.altitude},
                                                 {ui_.txtShadeStrength, s.strength}};
  for (const auto& [box, value] : boxes) {
    const QSignalBlocker quiet(box);
    box->setText(numberQText(value));
    box->setEnabled(s.on);
  }
  const QSignalBlocker quiet(ui_.chkShade);
  ui_.chkShade->setChecked(s.on);
}

}  // namespace kalvenor
