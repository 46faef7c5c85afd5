#include <QLineEdit>

#include "shell/form_main.h"
#include "shell/qt_number_text.h"
#include "shell/typed_number.h"

namespace kalvenor {

// Every numeric box is named by its caption; X and Y by their frame too. Boxes that take effect
// as they are typed ignore text that is not yet a number and refuse it once they are left,
// showing the value in use again.
void FormMain::connectInputs() {
  const QString start = ui_.groupSectionStart->title() + " ";
  const QString end = ui_.optSection2->text() + " ";
  const std::pair<QLineEdit*, QString> captions[] = {
      {ui_.txtNbd, ui_.labelNbdCaption->text()},
      {ui_.txtZbase, ui_.labelZbaseCaption->text()},
      {ui_.txtZbase2, ui_.labelZbase2Caption->text()},
      {ui_.txtXstart, start + ui_.labelXstartCaption->text()},
      {ui_.txtYstart, start + ui_.labelYstartCaption->text()},
      {ui_.txtXend, end + ui_.labelXendCaption->text()},
      {ui_.txtYend, end + ui_.labelYendCaption->text()},
      {ui_.txtFai, ui_.labelFaiCaption->text()},
      {ui_.txtAlpha, ui_.labelAlphaCaption->text()},
      {ui_.txtGamma, ui_.labelGammaCaption->text()},
      {ui_.txtDist, ui_.labelDistCaption->text()},
      {ui_.txtPpz, ui_.labelPpzCaption->text()},
      {ui_.txtSca, ui_.labelScaCaption->text()},
      {ui_.txtVe, ui_.labelVeCaption->text()},
      {ui_.txtCst, ui_.labelCstCaption->text()},
      {ui_.txtCen, ui_.labelCenCaption->text()},
      {ui_.txtCin, ui_.labelCinCaption->text()},
      {ui_.txtSepInt, ui_.labelSepIntCaption->text()},
      {ui_.txtShadeAzimuth, ui_.labelShadeAzimuthCaption->text()},
      {ui_.txtShadeAltitude, ui_.labelShadeAltitudeCaption->text()},
      {ui_.txtShadeStrength, ui_.labelShadeStrengthCaption->text()}};
  for (const auto& [box, caption] : captions) setNumberCaption(*box, caption);
  for (QLineEdit* box :
       {ui_.txtZbase, ui_.txtZbase2, ui_.txtAlpha, ui_.txtGamma, ui_.txtDist, ui_.txtPpz,
        ui_.txtSca, ui_.txtVe, ui_.txtShadeAzimuth, ui_.txtShadeAltitude, ui_.txtShadeStrength}) {
    connect(box, &QLineEdit::editingFinished, this, [this, box] { numberBox_Finished(box); });
  }
  connect(ui_.cmdColorFile, &QPushButton::clicked, this,
          [this] { runCommand(ui_.cmdColorFile, [this] { cmdColorFile_Click(); }); });
}

// The box shows the value in use again before the message, so that leaving it for the message
// box finds a number there.
void FormMain::numberBox_Finished(QLineEdit* box) {
  const std::optional<QString> problem = refusal(*box);
  if (!problem) return;
  if (box == ui_.txtZbase || box == ui_.txtZbase2) {
    showBaseHeight();
  } else {
    const ViewSettings& v = state().view;
    const ReliefShading& shading = state().drawOptions.shading;
    const std::pair<QLineEdit*, double> values[] = {{ui_.txtAlpha, v.Alpha},
                                                    {ui_.txtGamma, v.Gamma},
                                                    {ui_.txtDist, v.Dist},
                                                    {ui_.txtPpz, v.Ppz},
                                                    {ui_.txtSca, v.Sca},
                                                    {ui_.txtVe, v.Ve},
                                                    {ui_.txtShadeAzimuth, shading.azimuth},
                                                    {ui_.txtShadeAltitude, shading.altitude},
                                                    {ui_.txtShadeStrength, shading.strength}};
    for (const auto& [shown, value] : values) {
      if (shown != box) continue;
      const QSignalBlocker quiet(box);
      box->setText(numberQText(value));
    }
  }
  dialogs_.message(*problem, Dialogs::Icon::Warning);
}

}  // namespace kalvenor
