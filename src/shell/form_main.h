#pragma once

#include <QPixmap>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "evaluation/grid_builds.h"
#include "render/projection.h"
#include "shell/dialogs.h"
#include "shell/named_steps.h"
#include "shell/viewer_state.h"
#include "ui_formmain.h"

namespace kalvenor {

class FormImage;
class FormImageS;

// The main window: owns the viewer's state, walks the user through the numbered steps and
// drives the drawing window. Handlers keep the names of the controls they serve.
class FormMain : public QWidget {
  Q_OBJECT

 public:
  // `programFolder` is where default.txt is looked for.
  FormMain(Dialogs& dialogs, QString programFolder);
  ~FormMain() override;

  // Shows the drawing window beside this one, resets every control and field and enables the
  // commands.
  void Form_Load();
  void resetViewer();
  void updateCommandStates();

  ViewerState& state() { return state_; }
  Ui::formMain& ui() { return ui_; }
  FormImage& formImage() { return *formImage_; }
  // The duplicate window, or null before the first "複製".
  FormImageS* formImageS() { return formImageS_.get(); }
  // The named long steps of the commands; tests hook in here to make one fail.
  NamedSteps& steps() { return steps_; }

  // Runs the command of a control so that nothing it throws escapes: the drawing window gets
  // back the picture it had and a message names the command and the cause. False when it
  // failed. Every connected handler runs through here.
  bool runCommand(const QWidget* control, const std::function<void()>& command);

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
  void grdModel_Click();
  // Steps (5-1) and (5-2): the display grids.
  void cmdKalvenor_Click();
  void cmdSectionModel_Click();
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
  // The legend as drawn so far.
  const QPixmap& legend() const { return legend_; }

  void cmdEnd_Click();
  void cmdVersion_Click();
  void cmdImageClear_Click();
  void cmdImageCopy_Click();
  void cmdImagePaste_Click();
  void cmdImageSave_Click();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void connectHandlers();
  QString commandName(const QWidget* control) const;
  void txtNbd_Change();
  void txtZbase_Change();
  void txtZbase2_Change();
  bool eventFilter(QObject* watched, QEvent* event) override;
  void readDefaultFile();
  void showError(const std::exception& error);
  void installModel(LogicalModel model);
  std::vector<std::string> boundaryFilesStillReadable(QStringList& dropped);
  void forgetGrids();
  void showBoundaryFiles();
  void showBoundaryColours();
  void showUnitNames();
  void resetColours();
  void showModelInGrid();
  void applyColumnWidths();
  void writeCell(const QString& text);
  void readModelFromGrid();
  void checkModelCompleteness();
  void showDisplaySurface(const QString& path);
  void warnOfTrailingValues(const QString& path, const GridSurface& grid);
  void drawLegendBand(int unit, PackedColor color);
  BuildInputs buildInputs() const;
  bool modelReadyForBuild();
  void showSectionFigures();
  void writeView(const QString& alpha, const QString& gamma, const QString& sca,
                 const QString& ve);
  void contourBox_Change();
  void txtSepInt_Change();
  void refuseUndrawableView() const;
  std::array<std::int16_t, 2> lastVisibleWalls() const;
  bool contourLinesWanted();
  void drawGeoMap(const DrawOptions& options, const Array2D<std::int32_t>& units,
                  std::array<std::int16_t, 2> walls, bool contourLines);
  void drawSideMaps(const Projection& projection, const DrawOptions& options,
                    std::array<std::int16_t, 2> walls);
  Projection currentProjection() const;
  bool sectionDrawable();
  bool sectionUnitsDrawn() const;
  Array2D<std::int32_t> sectionUnits();
  void drawSection(const DrawOptions& options, const Array2D<std::int32_t>& units);
  void chkAutoRedraw_Click();
  void chkBack_Click();
  void chkboundary_Click();
  void chkWaku_Click();
  void optWaku_Click(bool checked);
  void clearResultLabels();
  void clearSectionFigures();
  void showWindowSize(int width, int height);

  Ui::formMain ui_;
  Dialogs& dialogs_;
  QString programFolder_;
  ViewerState state_;
  std::unique_ptr<FormImage> formImage_;
  std::unique_ptr<FormImageS> formImageS_;
  QPixmap legend_;
  NamedSteps steps_;
};

}  // namespace kalvenor
