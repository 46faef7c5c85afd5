#include "cli/run_files.h"

#include <filesystem>

#include "exports/borehole_check_files.h"
#include "exports/contacts_file.h"
#include "exports/geology_map_file.h"
#include "exports/grid_export.h"
#include "exports/scene_files.h"
#include "exports/units_raster.h"
#include "exports/value_raster.h"
#include "model/message_text.h"

namespace kalvenor {
namespace {

namespace fs = std::filesystem;

// What does not exist yet is taken as far as it does: a file in a missing folder is still
// compared by its name.
fs::path canonicalPath(const std::string& path) {
  std::error_code error;
  fs::path canonical = fs::weakly_canonical(path, error);
  if (error) canonical = fs::absolute(path, error).lexically_normal();
  return canonical;
}

bool sameFile(const std::string& a, const std::string& b) {
  if (canonicalPath(a) == canonicalPath(b)) return true;
  std::error_code error;
  return fs::equivalent(a, b, error) && !error;
}

void addGrid(std::vector<RunFile>& files, const std::string& option, const std::string& given,
             const std::string& grid) {
  if (grid.empty()) return;
  files.push_back({option, given, grid});
  const fs::path path(grid);
  for (const fs::path& beside :
       {fs::path(path).replace_extension(".prj"), fs::path(grid + ".aux.xml"),
        fs::path(path).replace_extension(".qml")}) {
    std::error_code error;
    if (fs::exists(beside, error)) files.push_back({option, given, beside.string()});
  }
}

std::string described(const RunFile& f) {
  if (f.file == f.given) return f.option + " " + f.given;
  return fill(translated("{1} {2} (its {3})"), {f.option, f.given, f.file});
}

}  // namespace

void refuseOverwrites(const std::vector<RunFile>& inputs, const std::vector<RunFile>& outputs) {
  for (std::size_t n = 0; n < outputs.size(); ++n) {
    for (const RunFile& input : inputs) {
      if (sameFile(outputs[n].file, input.file)) {
        throw UsageError(fill(translated("{1} would overwrite the input {2}"),
                              {described(outputs[n]), described(input)}));
      }
    }
    for (std::size_t m = 0; m < n; ++m) {
      if (sameFile(outputs[n].file, outputs[m].file)) {
        throw UsageError(fill(translated("{1} and {2} would write the same file"),
                              {described(outputs[m]), described(outputs[n])}));
      }
    }
  }
}

std::vector<RunFile> inputFiles(const InputFiles& inputs) {
  std::vector<RunFile> files;
  if (!inputs.model.empty()) files.push_back({"--model", inputs.model, inputs.model});
  for (const std::string& boundary : inputs.boundaries) {
    addGrid(files, "--boundary", boundary, boundary);
  }
  addGrid(files, "--surface", inputs.surface, inputs.surface);
  if (!inputs.colors.empty()) files.push_back({"--colors", inputs.colors, inputs.colors});
  const BoreholeFiles& b = inputs.boreholes;
  const std::pair<const char*, const std::string*> tables[] = {{"--collars", &b.collars},
                                                               {"--surveys", &b.surveys},
                                                               {"--intervals", &b.intervals},
                                                               {"--boreholes", &b.oneTable},
                                                               {"--unit-codes", &b.unitCodes}};
  for (const auto& [option, table] : tables) {
    if (!table->empty()) files.push_back({option, *table, *table});
  }
  return files;
}

std::vector<RunFile> renderInputFiles(const RenderOptions& options) {
  std::vector<RunFile> files = inputFiles(options.inputs);
  if (!options.clip.empty()) files.push_back({"--clip", options.clip, options.clip});
  if (!options.lineFile.empty()) {
    files.push_back({"--section-line-file", options.lineFile, options.lineFile});
  }
  if (!options.fenceFile.empty())
    files.push_back({"--fence", options.fenceFile, options.fenceFile});
  return files;
}

std::vector<RunFile> sessionInputFiles(const std::string& sessionPath,
                                       const SessionDocument& document) {
  std::vector<RunFile> files{{"--session", sessionPath, sessionPath}};
  if (!document.modelFile.empty()) {
    files.push_back({"--session", sessionPath, document.modelFile});
  }
  for (const std::string& boundary : document.boundaryFiles) {
    addGrid(files, "--session", sessionPath, boundary);
  }
  addGrid(files, "--session", sessionPath, document.surfaceFile);
  return files;
}

std::string seriesFileName(const std::string& path, int number) {
  fs::path file(path);
  const fs::path extension = file.extension();
  file.replace_extension();
  file += "-" + std::to_string(number);
  file += extension;
  return file.string();
}

std::vector<RunFile> plannedOutputs(const RenderOptions& o) {
  std::vector<RunFile> files;
  const auto add = [&](const char* option, const std::string& given,
                       const std::vector<std::string>& names) {
    for (const std::string& name : names) files.push_back({option, given, name});
  };
  if (!o.mapFile.empty()) add("--map", o.mapFile, {o.mapFile});
  if (!o.sectionFile.empty() && o.sectionSeries.count > 1) {
    for (int number = 1; number <= o.sectionSeries.count; ++number) {
      add("--section", o.sectionFile, {seriesFileName(o.sectionFile, number)});
    }
  } else if (!o.sectionFile.empty()) {
    add("--section", o.sectionFile, {o.sectionFile});
  }
  if (!o.atlasFile.empty()) add("--atlas", o.atlasFile, {o.atlasFile});
  if (!o.unitsGrid.empty()) add("--units-grid", o.unitsGrid, unitsGridFileNames(o.unitsGrid));
  if (!o.unitsLegend.empty()) {
    add("--units-legend", o.unitsLegend, {o.unitsLegend, qgisColourMapPath(o.unitsLegend)});
  }
  if (!o.sectionUnits.empty()) add("--section-units", o.sectionUnits, {o.sectionUnits});
  if (!o.sectionContacts.empty()) {
    add("--section-contacts", o.sectionContacts, contactsFileNames(o.sectionContacts, o.layer));
  }
  if (!o.boreholeCheck.empty()) {
    add("--borehole-check", o.boreholeCheck, boreholeCheckFileNames(o.boreholeCheck));
  }
  if (!o.export3d.empty()) add("--export-3d", o.export3d, sceneFileNames(o.export3d));
  if (!o.geologyMap.empty()) {
    add("--geology-map", o.geologyMap, geologyMapFileNames(o.geologyMap));
  }
  if (!o.thicknessGrid.empty()) {
    add("--thickness-grid", o.thicknessGrid, valueGridFileNames(o.thicknessGrid));
  }
  if (!o.depthGrid.empty()) add("--depth-grid", o.depthGrid, valueGridFileNames(o.depthGrid));
  if (!o.volumes.empty()) add("--volumes", o.volumes, {o.volumes});
  return files;
}

}  // namespace kalvenor
