#include <QStatusTipEvent>

#include "imagewin/form_image.h"
#include "model/message_text.h"
#include "shell/form_main.h"

namespace kalvenor {

namespace {

QString qText(const std::string& text) { return QString::fromStdString(text); }

std::string text(const QString& caption) { return caption.toStdString(); }

}  // namespace

// A disabled command tells, as its tooltip and in the status line while the mouse is over it,
// which step is still open.
void FormMain::showCommandHints() {
  const std::pair<QPushButton*, DrawingCommand> commands[] = {
      {ui_.cmdGeoMap, DrawingCommand::GeoMap},
      {ui_.cmdGeoSection, DrawingCommand::GeoSection},
      {ui_.cmdGeoSectionLine, DrawingCommand::GeoSectionLine},
      {ui_.cmdContour, DrawingCommand::Contour},
      {ui_.cmdGrid, DrawingCommand::Grid}};
  for (const auto& [button, command] : commands) {
    const QString hint =
        button->isEnabled() ? QString() : missingStepText(missingStep(command, session_));
    button->setToolTip(hint);
    button->setStatusTip(hint);
  }
}

const QGroupBox* FormMain::stepFrame(MissingStep step) const {
  switch (step) {
    case MissingStep::Model:
      return ui_.groupStep1Model;
    case MissingStep::BoundaryFiles:
      return ui_.groupStep2Boundaries;
    case MissingStep::DisplaySurface:
      return ui_.groupStep4DisplaySurface;
    case MissingStep::MapGrid:
      return ui_.groupStep51Map;
    case MissingStep::SectionGrid:
      return ui_.groupStep52Section;
    case MissingStep::View:
      return ui_.groupStep6Projection;
    default:
      return nullptr;
  }
}

// The step's caption stays as the window shows it, in every language.
QString FormMain::missingStepText(MissingStep step) const {
  if (const QGroupBox* frame = stepFrame(step)) {
    return qText(fill(translated("Do step {1} first"), {text(frame->title())}));
  }
  const std::string contours = text(ui_.groupContour->title());
  if (step == MissingStep::ContourCheck) {
    return qText(
        fill(translated("Check {1} in {2} first"), {text(ui_.chkContour->text()), contours}));
  }
  if (step == MissingStep::ContourLevels) {
    return qText(
        fill(translated("Give the levels in {1} first: {2} and {3} must differ and {4} "
                        "must not be 0 ({5} proposes them)"),
             {contours, text(ui_.labelCstCaption->text()), text(ui_.labelCenCaption->text()),
              text(ui_.labelCinCaption->text()), text(ui_.cmdContourAuto->text())}));
  }
  return {};
}

// Nothing drawn, the picture cleared, or a step reopened since it was drawn.
QString FormMain::whyNoPictureToTurn() {
  const PictureKind drawn = state().picture;
  if (drawn == PictureKind::None) {
    return qText(fill(translated("There is no picture in the drawing window: draw one with {1} or "
                                 "{2} first"),
                      {text(ui_.cmdGeoMap->text()), text(ui_.cmdGeoSection->text())}));
  }
  const bool section = drawn == PictureKind::Section;
  if (formImage_->canvas().blank()) {
    const QPushButton* command = section ? ui_.cmdGeoSection : ui_.cmdGeoMap;
    return qText(fill(translated("The picture was cleared: draw it again with {1} first"),
                      {text(command->text())}));
  }
  const MissingStep open =
      missingStep(section ? DrawingCommand::GeoSection : DrawingCommand::GeoMap, session_);
  const QGroupBox* frame = stepFrame(open);
  return qText(
      fill(translated("The picture on screen cannot be drawn again until step {1} is done"),
           {text(frame ? frame->title() : ui_.groupStep6Projection->title())}));
}

void FormMain::showNote(const QString& note) {
  note_ = note;
  ui_.lblStatus->setText(tip_.isEmpty() ? note_ : tip_);
}

void FormMain::showStatus(const QString& tip) {
  tip_ = tip;
  ui_.lblStatus->setText(tip_.isEmpty() ? note_ : tip_);
}

// The grid lines and the contours are drawn on the display surface, so without one they say so.
bool FormMain::noSurfaceToDrawOn(const QPushButton* command) {
  if (!session_.stepOpen(Step::DisplaySurface)) return false;
  showNote(qText(fill(translated("{1} draws nothing without a display surface: do step {2} first"),
                      {text(command->text()), text(ui_.groupStep4DisplaySurface->title())})));
  return true;
}

// The status tips of the controls under the mouse come up to the window, which shows them.
bool FormMain::event(QEvent* event) {
  if (event->type() == QEvent::StatusTip) {
    showStatus(static_cast<QStatusTipEvent*>(event)->tip());
    return true;
  }
  return QWidget::event(event);
}

}  // namespace kalvenor
