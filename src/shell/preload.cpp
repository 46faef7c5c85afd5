#include "shell/preload.h"

#include <QFileInfo>

#include "app/option_steps.h"
#include "imagewin/form_image.h"
#include "shell/form_main.h"

namespace kalvenor {
namespace {

// The full path, as a file dialog would return it.
std::string fullPath(const std::string& path) {
  return QFileInfo(QString::fromStdString(path)).absoluteFilePath().toStdString();
}

InputFiles withFullPaths(InputFiles files) {
  for (std::string* path : {&files.model, &files.surface, &files.colors}) {
    if (!path->empty()) *path = fullPath(*path);
  }
  for (std::string& boundary : files.boundaries) boundary = fullPath(boundary);
  BoreholeFiles& holes = files.boreholes;
  for (std::string* path :
       {&holes.collars, &holes.surveys, &holes.intervals, &holes.oneTable, &holes.unitCodes}) {
    if (!path->empty()) *path = fullPath(*path);
  }
  return files;
}

}  // namespace

void preload(FormMain& window, const SessionOptions& options) {
  Session& session = window.session();
  const WarningSink warn = [&window](const std::string& text) { window.showWarnings({text}); };
  const bool complete = !options.inputs.model.empty() && !options.inputs.surface.empty();
  window.runSteps([&] {
    loadInputs(session, withFullPaths(options.inputs), warn);
    if (!complete) return;
    applyOptions(session, options);
    window.showWarnings(session.buildMapGrid());
    ImageCanvas& canvas = window.formImage().canvas();
    session.applyView(mapViewOf(session, options), canvas.width(), canvas.height());
    window.showWarnings(session.drawGeoMap(canvas));
    if (!options.start) return;
    window.showWarnings(session.buildSectionGrid(sectionLineOf(session, options)));
    if (options.sectionLine) session.drawSurveyLine(canvas);
  });
}

}  // namespace kalvenor
