#include <algorithm>

#include "shell/form_main.h"
#include "shell/qt_number_text.h"

namespace kalvenor {

// How many levels the three boxes give, shown beside the second "分割数".
void FormMain::showContourLevelCount() {
  const double cin = leadingNumber(ui_.txtCin->text());
  if (cin == 0) return;
  const double cst = leadingNumber(ui_.txtCst->text());
  const double cen = leadingNumber(ui_.txtCen->text());
  ui_.lblContourColor->setText(numberQText(Int((cen - cst) / cin + 0.99999)));
}

void FormMain::contourBox_Change() {
  showContourLevelCount();
  refreshContourSettings();
}

void FormMain::refreshContourSettings() {
  ReadingControls reading(*this, Change::Contours);
  const auto typedIn = [](const QLineEdit* box) -> std::optional<double> {
    if (box->text().isEmpty()) return std::nullopt;
    return leadingNumber(box->text());
  };
  session_.setContours(
      {typedIn(ui_.txtCst), typedIn(ui_.txtCen), typedIn(ui_.txtCin), ui_.chkContour->isChecked()});
}

// Contours set elsewhere (a command line) show in the boxes as if typed there.
void FormMain::showContours() {
  const ContourSettings& c = state().contours;
  for (const auto& [box, value] :
       {std::pair{ui_.txtCst, c.Cst}, std::pair{ui_.txtCen, c.Cen}, std::pair{ui_.txtCin, c.Cin}}) {
    const QSignalBlocker quiet(box);
    box->setText(numberQText(value));
  }
  const QSignalBlocker quiet(ui_.chkContour);
  ui_.chkContour->setChecked(state().contourLinesWanted);
  showContourLevelCount();
}

// A division count of 0 disables "自動" for good.
void FormMain::txtSepInt_Change() {
  if (leadingNumber(ui_.txtSepInt->text()) == 0) ui_.cmdContourAuto->setEnabled(false);
}

// Levels from the display surface's range in the number of divisions typed.
void FormMain::cmdContourAuto_Click() {
  const double divisions = std::clamp(Int(leadingNumber(ui_.txtSepInt->text())), -32768.0, 32767.0);
  if (divisions == 0) ui_.txtSepInt->setText(QStringLiteral("1"));
  const ContourSettings c = session_.autoContours(divisions);
  ui_.txtCst->setText(numberQText(c.Cst));
  ui_.txtCen->setText(numberQText(c.Cen));
  ui_.txtCin->setText(numberQText(c.Cin));
  ui_.chkContour->setChecked(true);
  refreshContourSettings();
}

}  // namespace kalvenor
