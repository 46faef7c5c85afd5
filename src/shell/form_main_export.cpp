#include <QFileInfo>
#include <cmath>

#include "canvas/output_files.h"
#include "canvas/vector_pictures.h"
#include "exports/geology_map_file.h"
#include "exports/scene_files.h"
#include "model/message_text.h"
#include "session/section_atlas.h"
#include "shell/busy_cursor.h"
#include "shell/exported_output.h"
#include "shell/form_main.h"
#include "shell/qt_number_text.h"
#include "shell/typed_number.h"

namespace kalvenor {
namespace {

const QString kSceneFilter = QStringLiteral(
    "glTF バイナリ (*.glb)|*.glb|VTK PolyData (*.vtp)|*.vtp|VTK マルチブロック (*.vtm)|*.vtm|"
    "Wavefront OBJ (*.obj)|*.obj");

const QString kGeologyMapFilter = QStringLiteral(
    "GeoPackage (*.gpkg)|*.gpkg|シェープファイル (*.shp)|*.shp|GeoJSON (*.geojson)|*.geojson");

const QString kAtlasFilter = QStringLiteral("PDF (*.pdf)|*.pdf");

}  // namespace

// The block of the last map build, as kalvenor-render --export-3d writes it: every file of the
// format written, or none.
void FormMain::cmdExport3d_Click() {
  const std::optional<QString> path = askSavePath(kSceneFilter);
  if (!path) return;
  const std::string file = QFileInfo(*path).absoluteFilePath().toStdString();
  BusyCursor busy;
  checkSceneName(file);
  writeExportedFiles(sceneFiles(file, session_.blockScene(), {}), sceneFolders(file));
}

// The geological map of the last map build as vectors, as kalvenor-render --geology-map writes
// it: every file of the format written, or none.
void FormMain::cmdGeologyMap_Click() {
  const std::optional<QString> path = askSavePath(kGeologyMapFilter);
  if (!path) return;
  const std::string file = QFileInfo(*path).absoluteFilePath().toStdString();
  BusyCursor busy;
  checkGeologyMapName(file);
  writeExportedFiles(geologyMapFiles(file, session_.geologyMap()));
  session_.setGeologyMapFile(file);
}

void FormMain::connectSectionSeries() {
  for (QLineEdit* box : {ui_.txtSeriesCount, ui_.txtSeriesSpacing}) {
    setNumberCaption(*box, ui_.cmdAtlas->text() + " " +
                               (box == ui_.txtSeriesCount ? ui_.labelSeriesCountCaption->text()
                                                          : ui_.labelSeriesSpacingCaption->text()));
    connect(box, &QLineEdit::editingFinished, this, guarded(box, &FormMain::readSectionSeries));
  }
}

// The series as the boxes give it; an empty box keeps the value in use.
SectionSeries FormMain::typedSectionSeries() const {
  SectionSeries series = state().series;
  for (const QLineEdit* box : {ui_.txtSeriesCount, ui_.txtSeriesSpacing}) {
    if (const std::optional<QString> problem = refusal(*box)) {
      throw SessionError(problem->toStdString());
    }
  }
  if (const std::optional<double> count = typedNumber(*ui_.txtSeriesCount)) {
    if (*count != std::floor(*count) || *count < 1 || *count > kMaxSeriesSections) {
      throw SessionError(fill(
          translated("{1} takes a whole number of sections from 1 to {2}"),
          {numberCaption(*ui_.txtSeriesCount).toStdString(), std::to_string(kMaxSeriesSections)}));
    }
    series.count = static_cast<int>(*count);
  }
  if (const std::optional<double> spacing = typedNumber(*ui_.txtSeriesSpacing)) {
    series.spacing = *spacing;
  }
  return series;
}

// The typed series taken into the session. While a box is being filled, more sections at a
// spacing of 0 wait for the spacing; the atlas command refuses them. A series that cannot be
// made shows the one in use again before the message.
void FormMain::takeSectionSeries(bool waitForSpacing) {
  try {
    const SectionSeries series = typedSectionSeries();
    if (series == state().series) return;
    if (waitForSpacing && series.count > 1 && series.spacing == 0) return;
    ReadingControls reading(*this, Change::SectionSeries);
    session_.setSectionSeries(series);
  } catch (const SessionError&) {
    showSectionSeries();
    throw;
  }
}

void FormMain::readSectionSeries() { takeSectionSeries(true); }

void FormMain::showSectionSeries() {
  const SectionSeries& series = state().series;
  ui_.txtSeriesCount->setText(numberQText(series.count));
  ui_.txtSeriesSpacing->setText(numberQText(series.spacing));
}

// The pages are drawn at the exaggeration of the view boxes, on paper of the picture's
// background.
void FormMain::cmdAtlas_Click() {
  takeSectionSeries(false);
  const std::optional<QString> path = askSavePath(kAtlasFilter);
  if (!path) return;
  BusyCursor busy;
  SeriesSections series = session_.buildSectionSeries();
  showWarnings(series.warnings);
  const double Ve = state().view.Ve > 0 ? state().view.Ve : 1.0;
  const AtlasPaper paper;
  SectionAtlas atlas(session_, std::move(series), paper, Ve);
  const PackedColor background = state().drawOptions.LineColor == kWhite ? kBlack : kWhite;
  OutputSet outputs;
  outputs.add(
      QFileInfo(*path).absoluteFilePath().toStdString(),
      pagedPdf({QSizeF(paper.widthMm, paper.heightMm), paper.dotsPerInch, atlas.pageCount()},
               background, false, [&](Canvas& canvas, int page) { atlas.drawPage(canvas, page); }));
  outputs.write();
}

}  // namespace kalvenor
