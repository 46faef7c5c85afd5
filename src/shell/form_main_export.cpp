#include <QFileInfo>

#include "canvas/output_files.h"
#include "exports/geology_map_file.h"
#include "exports/scene_files.h"
#include "shell/busy_cursor.h"
#include "shell/form_main.h"

namespace kalvenor {
namespace {

const QString kSceneFilter = QStringLiteral(
    "glTF バイナリ (*.glb)|*.glb|VTK PolyData (*.vtp)|*.vtp|VTK マルチブロック (*.vtm)|*.vtm|"
    "Wavefront OBJ (*.obj)|*.obj");

const QString kGeologyMapFilter = QStringLiteral(
    "GeoPackage (*.gpkg)|*.gpkg|シェープファイル (*.shp)|*.shp|GeoJSON (*.geojson)|*.geojson");

}  // namespace

// The block of the last map build, as kalvenor-render --export-3d writes it: every file of the
// format written, or none.
void FormMain::cmdExport3d_Click() {
  const std::optional<QString> path = askSavePath(kSceneFilter);
  if (!path) return;
  const std::string file = QFileInfo(*path).absoluteFilePath().toStdString();
  BusyCursor busy;
  checkSceneName(file);
  OutputSet outputs;
  for (const std::string& folder : sceneFolders(file)) outputs.addFolder(folder);
  for (const ExportedFile& exported : sceneFiles(file, session_.blockScene(), {})) {
    outputs.add(exported.path, QByteArray::fromStdString(exported.bytes));
  }
  outputs.write();
}

// The geological map of the last map build as vectors, as kalvenor-render --geology-map writes
// it: every file of the format written, or none.
void FormMain::cmdGeologyMap_Click() {
  const std::optional<QString> path = askSavePath(kGeologyMapFilter);
  if (!path) return;
  const std::string file = QFileInfo(*path).absoluteFilePath().toStdString();
  BusyCursor busy;
  checkGeologyMapName(file);
  OutputSet outputs;
  for (const ExportedFile& exported : geologyMapFiles(file, session_.geologyMap())) {
    outputs.add(exported.path, QByteArray::fromStdString(exported.bytes));
  }
  outputs.write();
  session_.setGeologyMapFile(file);
}

}  // namespace kalvenor
