#pragma once

#include <QPixmap>
#include <QSignalBlocker>
#include <QString>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>

#include "imagewin/view_gestures.h"
#include "session/preview_picture.h"
#include "session/session.h"
#include "shell/dialogs.h"
#include "shell/missing_step.h"
#include "ui_formmain.h"

namespace kalvenor {

class FormImage;
class FormImageS;
class WindowMemory;

// A picture drawn whole on a worker thread (form_main_gestures.cpp).
struct WholePicture;

// The main window: a face of the session. Handlers keep the names of the controls they serve;
// they read their controls, call the session and show its messages. What the window shows of
// the state (labels, legend, lists, indicators, enabled commands) follows the session's
// notifications.
class FormMain : public QWidget, private SessionObserver {
  Q_OBJECT

 public:
  // default.txt is looked for in `programFolder`, then in the installed data folder.
  FormMain(Dialogs& dialogs, QString programFolder);
  ~FormMain() override;

  // Shows the drawing window beside this one, resets every control and field and enables the
  // commands.
  void Form_Load();
  void resetViewer();
  void updateCommandStates();

  Session& session() { return session_; }
  const ViewerState& state() const { return session_.state(); }
  Ui::formMain& ui() { return ui_; }
  FormImage& formImage() { return *formImage_; }
  // The duplicate window, or null before the first "複製".
  FormImageS* formImageS() { return formImageS_.get(); }
  // Position in the boundary-file and colour dialog sequences (0 when none is under way).
  int pickIndex() const { return pickIndex_; }

  // Runs the command of a control so that nothing it throws escapes: the drawing window gets
  // back the picture it had and a message names the command and the cause. False when it
  // failed. Every connected handler runs through here.
  bool runCommand(const QWidget* control, const std::function<void()>& command);
  // The same for steps that belong to no command (the preload): the message is the cause alone.
  bool runSteps(const std::function<void()>& steps);
  // Shows each warning of a step that went on.
  void showWarnings(const Warnings& warnings);
  // Asks for a file to save to and, when it exists, whether to replace it; nothing on a cancel.
  // A name typed without one of the filter's extensions gets the chosen filter's.
  std::optional<QString> askSavePath(const QString& filter);

  // Step (1): the logical model.
  void cmdOpenModel_Click();
  void cmd2Layer_Click();
  void cmdModelChange_Click();
  void cmdModelReset_Click();
  void cmdGridMinus1_Click();
  void cmdGridZero_Click();
  void cmdGridPlus1_Click();
  // Steps (2) and (4): boundary files and the display surface.
  void cmdBoundaryFile_Click();
  void cmdBoundaryReset_Click();
  void cmdOpenDisplayFile_Click();
  // Step (3): colours.
  void cmdColor_Click();
  void cmdColorReset_Click();
  void cmdColorFile_Click();
  void grdModel_Click();
  // Steps (5-1) and (5-2): the display grids.
  void cmdKalvenor_Click();
  void cmdSectionModel_Click();
  // The survey line as a polyline: the vertex list edited, read from a line file or clicked on a
  // plan of the display area.
  void cmdVertexAdd_Click();
  void cmdVertexRemove_Click();
  void cmdVerticesClear_Click();
  void cmdVerticesFile_Click();
  void cmdVerticesMap_Click();
  // The fence diagram: the survey line as typed added as a line, the lines of a line file in
  // place of those it has, the chosen line removed, and the block cut away in front of the panels.
  void cmdFenceAdd_Click();
  void cmdFenceFile_Click();
  void cmdFenceRemove_Click();
  void chkFenceCut_Click();
  // The boreholes: their three tables picked and read together, how they are drawn, and the
  // model checked against them.
  void cmdCollarsFile_Click();
  void cmdSurveysFile_Click();
  void cmdIntervalsFile_Click();
  void cmdBoreholesRead_Click();
  void cmdBoreholesClear_Click();
  void cmdBoreholeCheck_Click();
  // Step (6): the view.
  void applyViewSettings();
  void chkPers_Click();
  void cmd2D_Click();
  void cmd3DDefault_Click();
  void cmdSectionView_Click();
  // Contour settings.
  void refreshContourSettings();
  void cmdContourAuto_Click();
  // Drawing commands and their options.
  void cmdGeoMap_Click();
  void cmdContour_Click();
  void cmdGrid_Click();
  void cmdGeoSection_Click();
  void cmdGeoSectionLine_Click();
  // Fits the picture on screen to the drawing window and draws it again.
  void cmdFit_Click();
  // Gestures over the picture and the drawing area's size.
  void formImage_ViewNudged(const ViewGesture& gesture);
  void formImage_ViewSettled();
  void formImage_Resized();
  void formImage_PreviewShown();
  // True while the picture after a gesture is being drawn whole on a worker thread.
  bool drawingWholeOnWorker() const { return wholePicture_ != nullptr; }
  // The legend as drawn so far.
  const QPixmap& legend() const { return legend_; }

  void cmdEnd_Click();
  void cmdVersion_Click();
  void cmdImageClear_Click();
  void cmdImageCopy_Click();
  void cmdImagePaste_Click();
  void cmdImageSave_Click();
  void cmdExport3d_Click();
  void cmdGeologyMap_Click();
  // The atlas of the series along the last section's survey line, a PDF page per section.
  void cmdAtlas_Click();
  // The thickness and depth grids, the map coloured by one of them and the units' volumes.
  void cboValue_Change();
  void chkValueMap_Click();
  void cmdValueGrid_Click();
  void cmdVolumes_Click();
  void cmdVolumesSave_Click();
  void cmdSessionSave_Click();
  void cmdSessionOpen_Click();
  // Opens a session file and draws its picture; false, with the message shown, when it cannot
  // be opened, and then nothing has changed.
  bool openSession(const QString& path);
  // True when the window may close: no work would be lost, or the user saved it or let it go.
  bool mayDiscardWork();
  // Remembers the sessions used and where the windows stand from now on, and puts the windows
  // where they stood last time.
  void setMemory(WindowMemory& memory);

 signals:
  // A session file was saved or opened (its full path).
  void sessionUsed(const QString& path);

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool event(QEvent* event) override;

 private:
  // While a handler reads a group of controls into the session, the notification of that change
  // must not write the controls back: the user may be typing in them.
  class ReadingControls {
   public:
    ReadingControls(FormMain& window, Change change);
    ~ReadingControls();

   private:
    FormMain& window_;
    std::optional<Change> before_;
  };

  void sessionChanged(Change change) override;
  bool fromControls(Change change) const { return readingControls_ == change; }
  bool run(const QString& command, const std::function<void()>& work);
  void connectHandlers();
  void connectCommands();
  void connectChecks();
  void connectImageWindow();
  // The handler run as the command of `control`, so that a failure is shown and undone.
  std::function<void()> guarded(const QWidget* control, void (FormMain::*handler)());
  QString commandName(const QWidget* control) const;
  void txtNbd_Change();
  void txtZbase_Change();
  void txtZbase2_Change();
  void txtSrs_Finished();
  void connectInputs();
  void numberBox_Finished(QLineEdit* box);
  bool saveSession();
  std::string workText() const;
  void rememberWorkSaved();
  bool eventFilter(QObject* watched, QEvent* event) override;
  void readDefaultFile();
  void writeCell(const QString& text);
  void readModelFromGrid();
  // What the window shows of the state.
  void showModelInGrid();
  void applyColumnWidths();
  void showUnitNames();
  void showBoundaryFiles();
  void showColours();
  void showDisplaySurface();
  void showBaseHeight();
  void showSrs();
  void showGridFigures();
  void showSectionLine();
  void showFence();
  void showView();
  void showContours();
  void showDrawOptions();
  void showPictureFigures();
  void showStepIndicators();
  // What changed in the session shown in the controls: the inputs and grids, or the picture.
  void showInputChange(Change change);
  void showPictureChange(Change change);
  void writeView(const ViewValues& values);
  void writePreset(const ViewValues& values);
  void contourBox_Change();
  void showContourLevelCount();
  void txtSepInt_Change();
  void readDrawOptions();
  void chkAutoRedraw_Click();
  void chkBack_Click();
  void chkAnnotations_Click();
  void chkContour_Click();
  void drawMap();
  void drawSectionPicture();
  QString writePicture(const QString& path);
  QPushButton* pictureCommand(PictureKind kind);
  void previewPicture(PictureKind kind);
  void redrawPicture(bool fit = false);
  void redrawHere();
  bool redrawsOnWorker() const;
  // The picture on screen drawn again after a change of what it shows; nothing while the window
  // shows none.
  void redrawShownPicture(bool fit);
  // The view that makes the picture of `kind` fill the drawing window, with room for the legend
  // and axes when they are drawn.
  void fitView(PictureKind kind);
  // The status line below the drawing commands: the hint of the control under the mouse, else the
  // last note, which answers the last action and goes with the next change.
  void showCommandHints();
  const QGroupBox* stepFrame(MissingStep step) const;
  QString missingStepText(MissingStep step) const;
  QString whyNoPictureToTurn();
  void showNote(const QString& note);
  void showStatus(const QString& tip);
  bool noSurfaceToDrawOn(const QPushButton* command);
  void chkboundary_Click();
  void chkContacts_Click();
  void chkSectionTrace_Click();
  // The shaded relief: the check box redraws the picture, the boxes only set the next one.
  void chkShade_Click();
  void readShading();
  void showShading();
  void chkWaku_Click();
  void optWaku_Click(bool checked);
  void clearResultLabels();
  void showWindowSize(int width, int height);
  void showRecentSessions();
  void connectBoreholes();
  void connectSurveyLine();
  void showVertices(const SectionLine& line);
  std::vector<SurveyVertex> typedVertices(std::vector<std::string>& names) const;
  // The line the section command builds: the list's polyline when it holds two vertices or more,
  // else the start point with the end point or the azimuth.
  SectionLine typedSectionLine() const;
  void pickBoreholeTable(std::string BoreholeFiles::*table, const QLabel* caption);
  void readBoreholeDrawing();
  void showBoreholes();
  void showBoreholePicks();
  void showBoreholeDrawing();
  void clearBoreholeCheckResult();
  void connectSectionSeries();
  SectionSeries typedSectionSeries() const;
  void takeSectionSeries(bool waitForSpacing);
  void readSectionSeries();
  void showSectionSeries();
  void showValueChoices();
  void showMapValue();
  std::optional<MapValue> chosenValue() const;
  void clearVolumesResult();

  Ui::formMain ui_;
  Dialogs& dialogs_;
  QString programFolder_;
  Session session_;
  std::unique_ptr<FormImage> formImage_;
  std::unique_ptr<FormImageS> formImageS_;
  QPixmap legend_;
  int pickIndex_ = 0;
  std::optional<Change> readingControls_;
  // What previews of the picture are drawn from while a gesture lasts, made at its first nudge.
  std::shared_ptr<const PreviewScene> previewScene_;
  bool viewMoved_ = false;  // the view changed since the picture was last drawn whole
  // The picture after a gesture being drawn whole on a worker, from a copy of the session.
  std::shared_ptr<WholePicture> wholePicture_;
  WindowMemory* memory_ = nullptr;
  // What a session saved now would hold, as it stood at the last save or open.
  std::string savedWork_;
  QString note_;
  QString tip_;
  // The borehole tables as picked, read by "読み込む", and the holes the table's check was made on.
  BoreholeFiles pickedBoreholes_;
  std::shared_ptr<const BoreholeSet> checkedHoles_;
  // The line file and line the vertex list was read from, until the list is changed by hand.
  std::string vertexListOrigin_;
  // The volumes in the table, for its CSV.
  std::vector<UnitVolume> volumes_;
};

}  // namespace kalvenor
