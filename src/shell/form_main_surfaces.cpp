#include <QDir>
#include <QFileInfo>

#include "shell/busy_cursor.h"
#include "shell/file_paths.h"
#include "shell/form_main.h"
#include "shell/qt_number_text.h"
#include "shell/sequence_title.h"

namespace kalvenor {
namespace {

QString signedQText(double value) { return QString::fromStdString(signedNumberText(value)); }

QString pointCaption(double x, double y) {
  return "(" + signedQText(x) + ", " + signedQText(y) + " )";
}

QString shownPath(const std::string& path) {
  return QDir::toNativeSeparators(QFile::decodeName(path.c_str()));
}

QString fileName(const std::string& path) {
  return QFileInfo(QFile::decodeName(path.c_str())).fileName();
}

// A grid file shown as `shown`, marked when its grid was warped on reading; the tip holds its
// whole path and says how.
std::pair<QString, QString> gridCaption(const QString& shown, const std::string& path,
                                        const std::string& note) {
  const QString whole = shownPath(path);
  if (note.empty()) return {shown, whole};
  return {shown + QStringLiteral("（投影変換）"), whole + "\n" + QString::fromStdString(note)};
}

}  // namespace

// A system GDAL does not know, or one in degrees, is refused, and the box shows the one in use.
void FormMain::txtSrs_Finished() {
  const std::string text = ui_.txtSrs->text().trimmed().toStdString();
  if (text == state().srsGiven) return;
  ReadingControls reading(*this, Change::CoordinateSystem);
  const bool taken = runCommand(ui_.txtSrs, [this, &text] { session_.setSrs(text); });
  if (!taken) showSrs();
}

void FormMain::showSrs() { ui_.txtSrs->setText(QString::fromStdString(state().srsGiven)); }

// The files are asked for lowest boundary first, each dialog titled with its boundary. A new
// sequence starts from an empty list. Each file is read once on the spot so a wrong file is
// reported now rather than at the grid build; a cancel or a bad file ends the sequence with the
// files picked so far kept.
void FormMain::cmdBoundaryFile_Click() {
  const LogicalModel& m = state().model;
  session_.resetBoundaryFiles();
  for (pickIndex_ = 1; pickIndex_ <= m.Nbd; ++pickIndex_) {
    const int k = pickIndex_;
    const std::optional<QString> path = dialogs_.openFile(
        kGridFilesFilter, sequenceTitle(QStringLiteral("境界面"), k, m.Nbd, m.boundaryName[k]));
    if (!path) return;
    BusyCursor busy;
    showWarnings(session_.setBoundaryFile(k, localPath(*path)));
  }
  pickIndex_ = 0;
}

void FormMain::cmdBoundaryReset_Click() { session_.resetBoundaryFiles(); }

// The list holds the files picked, lowest boundary first, by name; the tip holds the whole path.
// The command stays open until every boundary has one.
void FormMain::showBoundaryFiles() {
  ui_.lstBoundaryFile->clear();
  const std::vector<std::string>& files = state().boundaryFile;
  for (std::size_t k = 1; k < files.size(); ++k) {
    if (files[k].empty()) continue;
    const auto note = state().boundaryNote.find(files[k]);
    const auto [text, tip] =
        gridCaption(fileName(files[k]), files[k],
                    note == state().boundaryNote.end() ? std::string() : note->second);
    auto* item = new QListWidgetItem(text, ui_.lstBoundaryFile);
    item->setToolTip(tip);
  }
  ui_.cmdBoundaryFile->setEnabled(session_.stepOpen(Step::BoundaryFiles));
}

// The surface is read completely before it replaces the one loaded before; a cancel or a bad
// file leaves that one as it was.
void FormMain::cmdOpenDisplayFile_Click() {
  const std::optional<QString> path = dialogs_.openFile(kGridFilesFilter, {});
  if (!path) return;
  BusyCursor busy;
  showWarnings(session_.loadDisplaySurface(localPath(*path)));
}

void FormMain::showDisplaySurface() {
  const DisplaySurface& d = *state().display;
  const std::pair<QLabel*, double> figures[] = {
      {ui_.lblNx, d.Nx},     {ui_.lblNy, d.Ny},     {ui_.lblDx, d.Dx},     {ui_.lblDy, d.Dy},
      {ui_.lblXmin, d.Xmin}, {ui_.lblXmax, d.Xmax}, {ui_.lblYmin, d.Ymin}, {ui_.lblYmax, d.Ymax}};
  for (const auto& [label, value] : figures) label->setText(numberQText(value));
  // The elevations as the file wrote them, without the load's jitter.
  for (QLabel* label : {ui_.lblZmin, ui_.lblZminGeo, ui_.lblZminContour}) {
    label->setText(surfaceElevationQText(d.Zmin));
  }
  for (QLabel* label : {ui_.lblZmax, ui_.lblZmaxGeo, ui_.lblZmaxContour}) {
    label->setText(surfaceElevationQText(d.Zmax));
  }
  const auto [text, tip] = gridCaption(shownPath(state().displayFile), state().displayFile, d.note);
  ui_.lblDisplayFile->setText(text);
  ui_.lblDisplayFile->setToolTip(tip);
  ui_.lblMin->setText(pointCaption(d.Xmin, d.Ymin));
  ui_.lblMax->setText(pointCaption(d.Xmax, d.Ymax));
}

}  // namespace kalvenor
