#include <QFileInfo>
#include <QSignalBlocker>

#include "canvas/output_files.h"
#include "exports/value_raster.h"
#include "exports/volumes_csv.h"
#include "shell/busy_cursor.h"
#include "shell/exported_output.h"
#include "shell/form_main.h"
#include "shell/volumes_table.h"

namespace kalvenor {
namespace {

const QString kValueGridFilter =
    QStringLiteral("GeoTIFF (*.tif)|*.tif|ESRI ASCII グリッド (*.asc)|*.asc");
const QString kCsvFilter = QStringLiteral("CSV (*.csv)|*.csv");

// The list's entries: a unit by its number, a boundary by its number negated.
int entryOfUnit(int unit) { return unit; }
int entryOfBoundary(int k) { return -k; }

// A name as the session finds it: the model's, or the number of one that has none.
std::string nameOrNumber(const std::vector<std::string>& names, int n) {
  return names[n].empty() ? std::to_string(n) : names[n];
}

}  // namespace

// Every unit's thickness and every boundary's depth, the units youngest first.
void FormMain::showValueChoices() {
  const LogicalModel& m = state().model;
  const QSignalBlocker quiet(ui_.cboValue);
  ui_.cboValue->clear();
  if (!session_.hasModel()) return;
  for (int unit = m.unitCount(); unit >= 1; --unit) {
    ui_.cboValue->addItem(
        QStringLiteral("層厚: %1").arg(QString::fromStdString(nameOrNumber(m.unitName, unit))),
        entryOfUnit(unit));
  }
  for (int k = m.Nbd; k >= 1; --k) {
    ui_.cboValue->addItem(
        QStringLiteral("深度: %1").arg(QString::fromStdString(nameOrNumber(m.boundaryName, k))),
        entryOfBoundary(k));
  }
  showMapValue();
}

// The value the map is coloured by, set here or by a session or a command line.
void FormMain::showMapValue() {
  const std::optional<MapValue>& value = state().mapValue;
  {
    const QSignalBlocker quiet(ui_.chkValueMap);
    ui_.chkValueMap->setChecked(value.has_value());
  }
  if (!value || !session_.hasModel()) return;
  const bool thickness = value->kind == MapValueKind::Thickness;
  try {
    const int entry = thickness ? entryOfUnit(session_.unitNamed(value->name))
                                : entryOfBoundary(session_.boundaryNamed(value->name));
    const QSignalBlocker quiet(ui_.cboValue);
    ui_.cboValue->setCurrentIndex(ui_.cboValue->findData(entry));
  } catch (const SessionError&) {
    // A name the model no longer has: the map says so when it is drawn.
  }
}

std::optional<MapValue> FormMain::chosenValue() const {
  if (ui_.cboValue->currentIndex() < 0) return std::nullopt;
  const LogicalModel& m = state().model;
  const int entry = ui_.cboValue->currentData().toInt();
  if (entry > 0) return MapValue{MapValueKind::Thickness, nameOrNumber(m.unitName, entry)};
  return MapValue{MapValueKind::Depth, nameOrNumber(m.boundaryName, -entry)};
}

// A map coloured by the value follows the choice.
void FormMain::cboValue_Change() {
  if (!ui_.chkValueMap->isChecked()) return;
  {
    ReadingControls reading(*this, Change::DrawOptions);
    session_.setMapValue(chosenValue());
  }
  redrawShownPicture(false);
}

void FormMain::chkValueMap_Click() {
  {
    ReadingControls reading(*this, Change::DrawOptions);
    session_.setMapValue(ui_.chkValueMap->isChecked() ? chosenValue() : std::nullopt);
  }
  redrawShownPicture(false);
}

// The chosen thickness or depth at every display node, as kalvenor-render --thickness-grid and
// --depth-grid write it.
void FormMain::cmdValueGrid_Click() {
  const std::optional<MapValue> value = chosenValue();
  if (!value) return;
  const std::optional<QString> path = askSavePath(kValueGridFilter);
  if (!path) return;
  const std::string file = QFileInfo(*path).absoluteFilePath().toStdString();
  BusyCursor busy;
  checkValueGridName(file);
  const Array2D<double> values = session_.valueGrid(*value);
  writeExportedFiles(valueGridFiles(file, {*state().display, values, session_.valueTitle(*value)}));
}

void FormMain::cmdVolumes_Click() {
  {
    BusyCursor busy;
    volumes_ = session_.unitVolumes();
  }
  showVolumes(*ui_.grdVolumes, state().model, volumes_);
  ui_.cmdVolumesSave->setEnabled(true);
}

// The table as kalvenor-render --volumes writes it.
void FormMain::cmdVolumesSave_Click() {
  const std::optional<QString> path = askSavePath(kCsvFilter);
  if (!path) return;
  const std::string file = QFileInfo(*path).absoluteFilePath().toStdString();
  writeOutputFile(file, QByteArray::fromStdString(unitVolumesCsv(state().model, volumes_)));
}

// Volumes worked out from grids or a base that have changed since are gone with them.
void FormMain::clearVolumesResult() {
  volumes_.clear();
  clearVolumes(*ui_.grdVolumes);
  ui_.cmdVolumesSave->setEnabled(false);
}

}  // namespace kalvenor
