#include <algorithm>

#include "shell/form_main.h"
#include "shell/qt_number_text.h"

namespace kalvenor {

// How many levels the three boxes give, shown beside the second "分割数".
void FormMain::contourBox_Change() {
  const double cin = leadingNumber(ui_.txtCin->text());
  if (cin != 0) {
    const double cst = leadingNumber(ui_.txtCst->text());
    const double cen = leadingNumber(ui_.txtCen->text());
    ui_.lblContourColor->setText(numberQText(Int((cen - cst) / cin + 0.99999)));
  }
  refreshContourSettings();
}

void FormMain::refreshContourSettings() {
  ContourSettings& c = state_.contours;
  for (const auto& [box, value] : {std::pair{ui_.txtCst, &c.Cst}, std::pair{ui_.txtCen, &c.Cen},
                                   std::pair{ui_.txtCin, &c.Cin}}) {
    if (!box->text().isEmpty()) *value = leadingNumber(box->text());
  }
  state_.flags.contourReady = c.Cst != c.Cen && c.Cin != 0 && ui_.chkContour->isChecked() ? 1 : 0;
  updateCommandStates();
}

// A division count of 0 disables "自動" for good.
void FormMain::txtSepInt_Change() {
  if (leadingNumber(ui_.txtSepInt->text()) == 0) ui_.cmdContourAuto->setEnabled(false);
}

// Levels from the display surface's range in the number of divisions typed.
void FormMain::cmdContourAuto_Click() {
  double divisions = std::clamp(Int(leadingNumber(ui_.txtSepInt->text())), -32768.0, 32767.0);
  if (divisions == 0) {
    divisions = 1;
    ui_.txtSepInt->setText(QStringLiteral("1"));
  }
  ui_.txtCst->setText(numberQText(Int(state_.display.Zmin)));
  ui_.txtCen->setText(numberQText(Int(state_.display.Zmax + 0.99999)));
  const double span = leadingNumber(ui_.txtCen->text()) - leadingNumber(ui_.txtCst->text());
  double cin = Int(span / divisions + 0.99999);
  if (cin == 0) cin = span / divisions;
  ui_.txtCin->setText(numberQText(cin));
  ui_.chkContour->setChecked(true);
  refreshContourSettings();
}

}  // namespace kalvenor
