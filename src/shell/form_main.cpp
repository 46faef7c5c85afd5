#include "shell/form_main.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGroupBox>
#include <QHeaderView>
#include <QSignalBlocker>
#include <algorithm>
#include <map>
#include <new>

#include "imagewin/duplicate_window.h"
#include "imagewin/form_image.h"
#include "model/input_names.h"
#include "model/message_text.h"
#include "shell/app_title.h"
#include "shell/qt_number_text.h"
#include "shell/typed_number.h"
#include "shell/window_memory.h"

namespace kalvenor {

namespace {

// A message that names where an input is set names the window's control, not the option that
// sets it in kalvenor-render.
const std::map<std::string, std::string> kControlNames = {
    {"--model", "「( １ ) 論理モデルの入力」"},
    {"--boundary", "「( ２ ) 境界面の指定」"},
    {"--colors", "「( ３ ) 色の指定」"},
    {"--surface", "「( ４ ) 地質表示面の指定」"},
    {"--srs", "「投影座標系」"},
    {"--zbase", "「ベースの高さ」"},
    {"--start", "「基点の入力」"},
    {"--end", "「終点指定」"},
    {"--azimuth", "「方角指定」"},
    {"--vertices", "「折線の測線」"},
    {"--collars", "「ボーリング」"},
    {"--surveys", "「ボーリング」"},
    {"--intervals", "「ボーリング」"},
    {"--boreholes", "「ボーリング」"},
    {"--unit-codes", "「ボーリング」"},
    {"--borehole-buffer", "「ボーリング 表示幅 (m)」"}};

}  // namespace

FormMain::FormMain(Dialogs& dialogs, QString programFolder)
    : dialogs_(dialogs),
      programFolder_(std::move(programFolder)),
      formImage_(std::make_unique<FormImage>()) {
  setInputNames(kControlNames);
  ui_.setupUi(this);
  setWindowTitle(kAppTitle);
  connectHandlers();
  connectInputs();
  session_.addObserver(*this);
}

FormMain::~FormMain() { session_.removeObserver(*this); }

FormMain::ReadingControls::ReadingControls(FormMain& window, Change change)
    : window_(window), before_(window.readingControls_) {
  window_.readingControls_ = change;
}

FormMain::ReadingControls::~ReadingControls() { window_.readingControls_ = before_; }

std::function<void()> FormMain::guarded(const QWidget* control, void (FormMain::*handler)()) {
  const auto command = [this, handler] { (this->*handler)(); };
  return [this, control, command] { runCommand(control, command); };
}

void FormMain::connectHandlers() {
  connect(ui_.txtNbd, &QLineEdit::textChanged, this, guarded(ui_.txtNbd, &FormMain::txtNbd_Change));
  connect(ui_.txtZbase, &QLineEdit::textChanged, this,
          guarded(ui_.txtZbase, &FormMain::txtZbase_Change));
  connect(ui_.txtZbase2, &QLineEdit::textChanged, this,
          guarded(ui_.txtZbase2, &FormMain::txtZbase2_Change));
  connect(ui_.txtSrs, &QLineEdit::editingFinished, this, &FormMain::txtSrs_Finished);
  // Every change of a view box applies the view at once.
  for (QLineEdit* box :
       {ui_.txtDist, ui_.txtPpz, ui_.txtVe, ui_.txtAlpha, ui_.txtGamma, ui_.txtSca}) {
    connect(box, &QLineEdit::textChanged, this, guarded(box, &FormMain::applyViewSettings));
  }
  for (QLineEdit* box : {ui_.txtCst, ui_.txtCen, ui_.txtCin}) {
    connect(box, &QLineEdit::textChanged, this, guarded(box, &FormMain::contourBox_Change));
  }
  connect(ui_.txtSepInt, &QLineEdit::textChanged, this,
          guarded(ui_.txtSepInt, &FormMain::txtSepInt_Change));
  for (QLineEdit* box : {ui_.txtShadeAzimuth, ui_.txtShadeAltitude, ui_.txtShadeStrength}) {
    connect(box, &QLineEdit::textChanged, this, guarded(box, &FormMain::readShading));
  }
  connectCommands();
  connectChecks();
  connectImageWindow();
  connectBoreholes();
  connectSurveyLine();
  connectSectionSeries();
}

void FormMain::connectCommands() {
  const std::pair<QPushButton*, void (FormMain::*)()> commands[] = {
      {ui_.cmdOpenModel, &FormMain::cmdOpenModel_Click},
      {ui_.cmd2Layer, &FormMain::cmd2Layer_Click},
      {ui_.cmdModelChange, &FormMain::cmdModelChange_Click},
      {ui_.cmdModelReset, &FormMain::cmdModelReset_Click},
      {ui_.cmdGridMinus1, &FormMain::cmdGridMinus1_Click},
      {ui_.cmdGridZero, &FormMain::cmdGridZero_Click},
      {ui_.cmdGridPlus1, &FormMain::cmdGridPlus1_Click},
      {ui_.cmdBoundaryFile, &FormMain::cmdBoundaryFile_Click},
      {ui_.cmdBoundaryReset, &FormMain::cmdBoundaryReset_Click},
      {ui_.cmdOpenDisplayFile, &FormMain::cmdOpenDisplayFile_Click},
      {ui_.cmdColor, &FormMain::cmdColor_Click},
      {ui_.cmdColorReset, &FormMain::cmdColorReset_Click},
      {ui_.cmdKalvenor, &FormMain::cmdKalvenor_Click},
      {ui_.cmdSectionModel, &FormMain::cmdSectionModel_Click},
      {ui_.cmdFenceAdd, &FormMain::cmdFenceAdd_Click},
      {ui_.cmdFenceFile, &FormMain::cmdFenceFile_Click},
      {ui_.cmdFenceRemove, &FormMain::cmdFenceRemove_Click},
      {ui_.cmdSectionView, &FormMain::cmdSectionView_Click},
      {ui_.cmd2D, &FormMain::cmd2D_Click},
      {ui_.cmd3DDefault, &FormMain::cmd3DDefault_Click},
      {ui_.cmdContourAuto, &FormMain::cmdContourAuto_Click},
      {ui_.cmdGeoMap, &FormMain::cmdGeoMap_Click},
      {ui_.cmdContour, &FormMain::cmdContour_Click},
      {ui_.cmdGrid, &FormMain::cmdGrid_Click},
      {ui_.cmdGeoSection, &FormMain::cmdGeoSection_Click},
      {ui_.cmdGeoSectionLine, &FormMain::cmdGeoSectionLine_Click},
      {ui_.cmdFit, &FormMain::cmdFit_Click},
      {ui_.cmdEnd, &FormMain::cmdEnd_Click},
      {ui_.cmdVersion, &FormMain::cmdVersion_Click},
      {ui_.cmdImageClear, &FormMain::cmdImageClear_Click},
      {ui_.cmdImageCopy, &FormMain::cmdImageCopy_Click},
      {ui_.cmdImagePaste, &FormMain::cmdImagePaste_Click},
      {ui_.cmdImageSave, &FormMain::cmdImageSave_Click},
      {ui_.cmdExport3d, &FormMain::cmdExport3d_Click},
      {ui_.cmdGeologyMap, &FormMain::cmdGeologyMap_Click},
      {ui_.cmdAtlas, &FormMain::cmdAtlas_Click},
      {ui_.cmdValueGrid, &FormMain::cmdValueGrid_Click},
      {ui_.cmdVolumes, &FormMain::cmdVolumes_Click},
      {ui_.cmdVolumesSave, &FormMain::cmdVolumesSave_Click},
      {ui_.cmdSessionSave, &FormMain::cmdSessionSave_Click},
      {ui_.cmdSessionOpen, &FormMain::cmdSessionOpen_Click},
  };
  for (const auto& [button, handler] : commands) {
    connect(button, &QPushButton::clicked, this, guarded(button, handler));
  }
}

void FormMain::connectChecks() {
  const std::pair<QAbstractButton*, void (FormMain::*)()> checks[] = {
      {ui_.chkPers, &FormMain::chkPers_Click},
      {ui_.chkContour, &FormMain::chkContour_Click},
      {ui_.chkAutoRedraw, &FormMain::chkAutoRedraw_Click},
      {ui_.chkBack, &FormMain::chkBack_Click},
      {ui_.chkAnnotations, &FormMain::chkAnnotations_Click},
      {ui_.chkboundary, &FormMain::chkboundary_Click},
      {ui_.chkContacts, &FormMain::chkContacts_Click},
      {ui_.chkSectionTrace, &FormMain::chkSectionTrace_Click},
      {ui_.chkShade, &FormMain::chkShade_Click},
      {ui_.chkWaku, &FormMain::chkWaku_Click},
      {ui_.chkSide, &FormMain::readDrawOptions},
      {ui_.chkFenceCut, &FormMain::chkFenceCut_Click},
      {ui_.chkValueMap, &FormMain::chkValueMap_Click},
  };
  for (const auto& [check, handler] : checks) {
    connect(check, &QAbstractButton::toggled, this, guarded(check, handler));
  }
  for (QRadioButton* option : {ui_.optWaku2, ui_.optWaku4}) {
    connect(option, &QAbstractButton::toggled, this, [this, option](bool checked) {
      runCommand(option, [this, checked] { optWaku_Click(checked); });
    });
  }
  connect(ui_.cboValue, &QComboBox::currentIndexChanged, this,
          guarded(ui_.cboValue, &FormMain::cboValue_Change));
}

void FormMain::connectImageWindow() {
  // The grid's click is a header click or a mouse release over its cells.
  connect(ui_.grdModel->horizontalHeader(), &QHeaderView::sectionClicked, this,
          guarded(ui_.grdModel, &FormMain::grdModel_Click));
  ui_.grdModel->viewport()->installEventFilter(this);
  connect(formImage_.get(), &FormImage::outerSizeChanged, this, [this](int width, int height) {
    runCommand(ui_.lblWinX, [this, width, height] { showWindowSize(width, height); });
  });
  connect(formImage_.get(), &FormImage::viewNudged, this, &FormMain::formImage_ViewNudged);
  connect(formImage_.get(), &FormImage::viewSettled, this, &FormMain::formImage_ViewSettled);
  connect(formImage_.get(), &FormImage::viewRefused, this,
          [this] { showNote(whyNoPictureToTurn()); });
  connect(formImage_.get(), &FormImage::drawingAreaResized, this, &FormMain::formImage_Resized);
  connect(formImage_.get(), &FormImage::previewShown, this, &FormMain::formImage_PreviewShown);
  connect(formImage_.get(), &FormImage::previewEnded, this, [this] { wholePicture_.reset(); });
}

bool FormMain::eventFilter(QObject* watched, QEvent* event) {
  if (watched == ui_.grdModel->viewport() && event->type() == QEvent::MouseButtonRelease) {
    runCommand(ui_.grdModel, [this] { grdModel_Click(); });
  }
  return QWidget::eventFilter(watched, event);
}

bool FormMain::runCommand(const QWidget* control, const std::function<void()>& command) {
  return run(commandName(control), command);
}

bool FormMain::runSteps(const std::function<void()>& steps) { return run({}, steps); }

// Handlers and the session change the viewer's state only once their work has succeeded, so
// after a failure only the picture, which a drawing changes as it goes, has to be put back.
bool FormMain::run(const QString& command, const std::function<void()>& work) {
  const ImageCanvas::Snapshot picture = formImage_->canvas().snapshot();
  std::string cause;
  try {
    work();
    return true;
  } catch (const std::bad_alloc&) {
    cause = translated("not enough memory");
  } catch (const std::exception& error) {
    cause = error.what();
  } catch (...) {
    cause = translated("an unexpected error stopped it");
  }
  formImage_->canvas().restore(picture);
  const std::string text =
      command.isEmpty() ? cause : fill(translated("\"{1}\": {2}"), {command.toStdString(), cause});
  dialogs_.message(QString::fromStdString(text), Dialogs::Icon::Warning);
  return false;
}

// A button goes by its caption, with its step in front where another button reads the same;
// any other control by the step it belongs to.
QString FormMain::commandName(const QWidget* control) const {
  QString step;
  for (const QWidget* w = control->parentWidget(); w && step.isEmpty(); w = w->parentWidget()) {
    if (const auto* group = qobject_cast<const QGroupBox*>(w)) step = group->title();
  }
  const auto* button = qobject_cast<const QAbstractButton*>(control);
  if (!button || button->text().isEmpty()) return step.isEmpty() ? control->objectName() : step;
  const QList<QAbstractButton*> buttons = findChildren<QAbstractButton*>();
  const auto sameCaption = std::count_if(buttons.begin(), buttons.end(), [&](const auto* other) {
    return other->text() == button->text();
  });
  return sameCaption > 1 && !step.isEmpty() ? step + " " + button->text() : button->text();
}

void FormMain::showWarnings(const Warnings& warnings) {
  for (const std::string& warning : warnings) {
    dialogs_.message(QString::fromStdString(warning), Dialogs::Icon::Warning);
  }
}

void FormMain::updateCommandStates() {
  const CommandStates states = session_.commandStates();
  ui_.cmdGeoMap->setEnabled(states.geoMap);
  ui_.cmdGeoSection->setEnabled(states.geoSection);
  ui_.cmdGeoSectionLine->setEnabled(states.geoSectionLine);
  ui_.cmdContour->setEnabled(states.contour);
  ui_.cmdGrid->setEnabled(states.grid);
  showCommandHints();
}

void FormMain::showStepIndicators() {
  const std::pair<QLabel*, Step> indicators[] = {
      {ui_.lbl1, Step::Model},          {ui_.lbl2, Step::BoundaryFiles}, {ui_.lbl3, Step::Colours},
      {ui_.lbl4, Step::DisplaySurface}, {ui_.lbl5, Step::Grid},          {ui_.lbl6, Step::View}};
  for (const auto& [label, step] : indicators) label->setVisible(session_.stepOpen(step));
}

// Whatever changed, the commands and indicators follow; the rest only for its own change.
void FormMain::sessionChanged(Change change) {
  // A preview shows the picture as drawn with another view, so only a view keeps its scene.
  if (change != Change::View && change != Change::Picture) previewScene_.reset();
  showNote({});
  showInputChange(change);
  updateCommandStates();
  showStepIndicators();
}

// The inputs' and grids' controls of `change`, unless they made it; else the picture's.
void FormMain::showInputChange(Change change) {
  switch (change) {
    case Change::Model:
      if (!fromControls(Change::Model)) showModelInGrid();
      showUnitNames();
      showColours();
      showValueChoices();
      clearVolumesResult();
      break;
    case Change::BoundaryFiles:
      showBoundaryFiles();
      break;
    case Change::Colours:
      showColours();
      break;
    case Change::DisplaySurface:
      showDisplaySurface();
      break;
    case Change::BaseHeight:
      if (!fromControls(Change::BaseHeight)) showBaseHeight();
      clearVolumesResult();
      break;
    case Change::CoordinateSystem:
      if (!fromControls(Change::CoordinateSystem)) showSrs();
      break;
    case Change::Grids:
      clearBoreholeCheckResult();  // the check was made on the grids built before
      clearVolumesResult();
      showGridFigures();
      if (!fromControls(Change::Grids)) showSectionLine();
      break;
    default:
      showPictureChange(change);
      break;
  }
}

void FormMain::showPictureChange(Change change) {
  switch (change) {
    case Change::View:
      if (!fromControls(Change::View)) showView();
      break;
    case Change::Contours:
      if (!fromControls(Change::Contours)) showContours();
      break;
    case Change::DrawOptions:
      if (!fromControls(Change::DrawOptions)) {
        showDrawOptions();
        showMapValue();
      }
      break;
    case Change::Picture:
      showPictureFigures();
      break;
    case Change::Boreholes:
      showBoreholes();
      break;
    case Change::Fence:
      showFence();
      break;
    case Change::SectionSeries:
      if (!fromControls(Change::SectionSeries)) showSectionSeries();
      break;
    default:
      break;
  }
}

void FormMain::txtNbd_Change() {
  ui_.txtNbd1->setText(numberQText(leadingNumber(ui_.txtNbd->text()) + 1));
}

// The two Zbase boxes mirror each other; an assignment that leaves a box's text as it was raises
// no change, which ends the exchange.
void FormMain::txtZbase_Change() {
  ReadingControls reading(*this, Change::BaseHeight);
  const auto Zbase = numberBeingTyped(*ui_.txtZbase, 0.0);
  if (!Zbase) return;  // not yet a number: the other box keeps the base in use
  session_.setZbase(*Zbase);
  ui_.txtZbase2->setText(numberQText(state().Zbase));
  ui_.lblZbase->setText(numberQText(state().Zbase));
}

void FormMain::txtZbase2_Change() {
  ReadingControls reading(*this, Change::BaseHeight);
  const auto Zbase = numberBeingTyped(*ui_.txtZbase2, 0.0);
  if (!Zbase) return;  // not yet a number: the other box keeps the base in use
  session_.setZbase(*Zbase);
  ui_.txtZbase->setText(numberQText(state().Zbase));
  ui_.lblZbase->setText(numberQText(state().Zbase));
}

// A base height set elsewhere (the surface's proposal, a command line) shows in both boxes.
void FormMain::showBaseHeight() {
  const QString text = numberQText(state().Zbase);
  for (QLineEdit* box : {ui_.txtZbase, ui_.txtZbase2}) {
    const QSignalBlocker quiet(box);
    box->setText(text);
  }
  ui_.lblZbase->setText(text);
}

void FormMain::cmdEnd_Click() { close(); }

// Closing the main window by any means ends the program with every window.
void FormMain::closeEvent(QCloseEvent* event) {
  if (!mayDiscardWork()) {
    event->ignore();
    return;
  }
  if (memory_) {
    memory_->rememberWindow(*this, QStringLiteral("main"));
    memory_->rememberWindow(*formImage_, QStringLiteral("image"));
  }
  formImage_->close();
  if (formImageS_) formImageS_->close();
  event->accept();
  QCoreApplication::quit();
}

void FormMain::cmdVersion_Click() {
  dialogs_.message(QStringLiteral("Kalvenor 2003 Viewer Edition (2004/12/25)"),
                   Dialogs::Icon::None);
}

void FormMain::showWindowSize(int width, int height) {
  ui_.lblWinX->setText(numberQText(width));
  ui_.lblWinY->setText(numberQText(height));
}

}  // namespace kalvenor
