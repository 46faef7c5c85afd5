#include "cli/batch_render.h"

#include <filesystem>

#include "app/default_file.h"
#include "app/option_steps.h"
#include "canvas/bitmap_file.h"
#include "canvas/image_canvas.h"
#include "canvas/vector_pictures.h"
#include "cli/run_outputs.h"
#include "exports/borehole_check_files.h"
#include "exports/contacts_file.h"
#include "exports/geology_map_file.h"
#include "exports/grid_export.h"
#include "exports/scene_files.h"
#include "exports/section_contacts.h"
#include "exports/section_dxf.h"
#include "exports/units_raster.h"
#include "exports/value_raster.h"
#include "exports/volumes_csv.h"
#include "model/message_text.h"
#include "model/number_text.h"
#include "model/step_failure.h"
#include "session/section_atlas.h"
#include "session/session_restore.h"

namespace kalvenor {
namespace {

// Colours for units when no colour file is given: soft, distinct, lowest unit first.
const PackedColor kPalette[] = {
    packRgb(143, 179, 217), packRgb(232, 196, 104), packRgb(140, 154, 107), packRgb(201, 138, 94),
    packRgb(227, 163, 181), packRgb(166, 206, 160), packRgb(190, 170, 220), packRgb(240, 220, 170)};

enum class PictureFormat { Bmp, Png, Svg, Pdf };

std::string lowerExtension(const std::string& path) {
  std::string extension = std::filesystem::path(path).extension().string();
  for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return extension;
}

// The section at true scale for CAD, rather than a picture.
bool isDrawing(const std::string& path) { return lowerExtension(path) == ".dxf"; }

PictureFormat formatOf(const std::string& path) {
  const std::string extension = lowerExtension(path);
  if (extension == ".bmp") return PictureFormat::Bmp;
  if (extension == ".png") return PictureFormat::Png;
  if (extension == ".svg") return PictureFormat::Svg;
  if (extension == ".pdf") return PictureFormat::Pdf;
  throw UsageError(path + ": " +
                   translated("the picture format follows the extension, which must be .bmp, "
                              ".png, .svg or .pdf"));
}

// Draws onto a canvas of the requested size in the format of the file; the bytes join the
// run's outputs.
template <typename Draw>
void addPicture(RunOutputs& outputs, const std::string& option, const std::string& path, int width,
                int height, PackedColor background, bool antialias, const Draw& draw) {
  const PictureFormat format = formatOf(path);
  const QSize size(width, height);
  if (format == PictureFormat::Svg || format == PictureFormat::Pdf) {
    outputs.add(option, path, path,
                vectorPicture(format == PictureFormat::Svg ? VectorFormat::Svg : VectorFormat::Pdf,
                              size, background, antialias, draw));
  } else {
    ImageCanvas canvas(size);
    canvas.setAntialiasedLines(antialias && format == PictureFormat::Png);
    canvas.setBackgroundColor(background);
    canvas.clear();
    draw(canvas);
    outputs.add(option, path, path,
                encodePicture(canvas.image(), format == PictureFormat::Png ? "png" : "bmp", path));
  }
}

void addFiles(RunOutputs& outputs, const std::string& option, const std::string& given,
              const ExportedFiles& files) {
  for (const ExportedFile& file : files) {
    outputs.add(option, given, file.path, QByteArray::fromStdString(file.bytes));
  }
}

void addText(RunOutputs& outputs, const std::string& option, const std::string& path,
             const std::string& text) {
  addFiles(outputs, option, path, {{path, text}});
}

// A name no format fits, and an output that would replace an input or another output, are
// refused before any grid is built.
void checkExportNames(const RenderOptions& o) {
  if (!o.unitsGrid.empty()) checkUnitsGridName(o.unitsGrid);
  if (!o.unitsLegend.empty()) qgisColourMapPath(o.unitsLegend);
  if (!o.sectionContacts.empty()) checkContactsName(o.sectionContacts, o.layer);
  if (!o.export3d.empty()) checkSceneName(o.export3d);
  if (!o.geologyMap.empty()) checkGeologyMapName(o.geologyMap);
  for (const std::string* grid : {&o.thicknessGrid, &o.depthGrid}) {
    if (!grid->empty()) checkValueGridName(*grid);
  }
  refuseOverwrites(renderInputFiles(o), plannedOutputs(o));
}

// A build reads every boundary's file; without any --boundary the session could only ask for
// the window's step (2).
void requireBoundaryOptions(const Session& session, const RenderOptions& o) {
  const int Nbd = session.state().model.Nbd;
  if (Nbd == 0 || !o.inputs.boundaries.empty()) return;
  if (!o.wantsSection() && !o.wantsMapGrid()) return;
  throw UsageError(
      o.inputs.model + ": " +
      fill(translatedCount("the model has {1} boundary but no boundary file was given: give its "
                           "grid file with {2} FILE, one {2} each, lowest first",
                           "the model has {1} boundaries but no boundary file was given: give "
                           "their grid files with {2} FILE, one {2} each, lowest first",
                           static_cast<unsigned long>(Nbd)),
           {std::to_string(Nbd), "--boundary"}));
}

// The inputs read and the options applied, as the steps before the first build take them.
void prepareRun(Session& session, const RenderOptions& o, const WarningSink& warn) {
  checkExportNames(o);
  loadInputs(session, o.inputs, warn);
  // GeoJSON needs the coordinate system, known now, to convert the lines to longitudes and
  // latitudes.
  if (!o.sectionContacts.empty()) {
    checkContactsSystem(o.sectionContacts, session.state().display->srs);
  }
  if (!o.geologyMap.empty()) checkGeologyMapSystem(o.geologyMap, session.state().display->srs);
  if (o.inputs.colors.empty()) {
    for (int unit = 1; unit <= session.state().model.unitCount(); ++unit) {
      session.setUnitColor(unit, kPalette[(unit - 1) % 8]);
    }
  }
  requireBoundaryOptions(session, o);
  applyOptions(session, o);
  session.setContacts(o.contacts.value_or(Contacts::Smooth));
}

// What a run makes, kept until all of it is made.
struct RunMaking {
  Session& session;
  const RenderOptions& o;
  RunOutputs& outputs;
  PackedColor background;
  std::function<void(const Warnings&)> pass;
};

// The section of `section` into `path`: the drawing at true scale, or a picture placed by
// `place` after the section view is applied.
void addSectionFile(const RunMaking& run, Session& section, const std::string& path,
                    const std::function<void(Session&, Canvas&)>& place) {
  const RenderOptions& o = run.o;
  const ViewerState& s = section.state();
  if (isDrawing(path)) {
    const std::vector<ContactLine> lines =
        sectionContacts({*s.section, *s.sectionProfile, s.model});
    const std::vector<ScenePart> panel = section.sectionPanelParts(!o.sectionDxf3d);
    addText(run.outputs, "--section", path,
            sectionDxf({.panel = panel,
                        .contacts = lines,
                        .section = *s.section,
                        .Zmax = s.display->Zmax,
                        .verticalExaggeration = sectionViewOf(section, o).Ve.value_or(1.0),
                        .inSpace = o.sectionDxf3d,
                        .lineColor = s.drawOptions.LineColor,
                        .name = s.annotations.sectionName}));
    return;
  }
  addPicture(run.outputs, "--section", path, o.width, o.height, run.background, o.antialias,
             [&](Canvas& canvas) {
               section.applyView(sectionViewOf(section, o), canvas.width(), canvas.height());
               place(section, canvas);
               section.drawSection(canvas);
             });
}

// A file for each section of the series, all at one magnification: with --fit the largest at
// which every section fits its picture, each centred.
void addSeriesFiles(const RunMaking& run, const SeriesSections& series) {
  const RenderOptions& o = run.o;
  std::vector<Session> sections;
  for (std::size_t k = 0; k < series.build->members.size(); ++k) {
    sections.push_back(run.session.withSeriesSection(series, k));
  }
  std::optional<double> commonSca;
  const auto place = [&](Session& section, Canvas& canvas) {
    if (!o.fit) return;
    if (!commonSca) {
      for (Session& each : sections) {
        each.applyView(sectionViewOf(each, o), canvas.width(), canvas.height());
      }
      commonSca = commonFitScale(sections, canvas);
    }
    if (commonSca) section.applyView({.Sca = *commonSca}, canvas.width(), canvas.height());
    section.centreSectionView(canvas);
  };
  for (std::size_t k = 0; k < sections.size(); ++k) {
    addSectionFile(run, sections[k], seriesFileName(o.sectionFile, series.build->members[k].number),
                   place);
  }
}

// The atlas's pages, on paper of its background.
void addAtlas(const RunMaking& run, const SeriesSections& series) {
  const AtlasPaper& paper = run.o.atlasPaper;
  SectionAtlas atlas(run.session, series, paper,
                     sectionViewOf(run.session, run.o).Ve.value_or(1.0));
  run.outputs.add(
      "--atlas", run.o.atlasFile, run.o.atlasFile,
      pagedPdf({QSizeF(paper.widthMm, paper.heightMm), paper.dotsPerInch, atlas.pageCount()},
               run.background, run.o.antialias,
               [&](Canvas& canvas, int page) { atlas.drawPage(canvas, page); }));
}

void addSectionOutputs(const RunMaking& run) {
  Session& session = run.session;
  const RenderOptions& o = run.o;
  const ViewerState& s = session.state();
  run.pass(session.buildSectionGrid(sectionLineOf(session, o)));
  SeriesSections series;
  if (o.wantsSeries()) {
    session.setSectionSeries(o.sectionSeries);
    series = session.buildSectionSeries();
    run.pass(series.warnings);
  }
  if (!o.sectionFile.empty() && o.sectionSeries.count > 1) {
    addSeriesFiles(run, series);
  } else if (!o.sectionFile.empty()) {
    addSectionFile(run, session, o.sectionFile, [&](Session& section, Canvas& canvas) {
      if (o.fit) section.fitSectionView(canvas);
    });
  }
  if (!o.atlasFile.empty()) addAtlas(run, series);
  if (!o.sectionUnits.empty()) {
    addText(run.outputs, "--section-units", o.sectionUnits,
            sectionUnitsCsv(*s.sectionGrid, *s.section));
  }
  if (!o.sectionContacts.empty()) {
    const std::vector<ContactLine> lines =
        sectionContacts({*s.section, *s.sectionProfile, s.model});
    addFiles(run.outputs, "--section-contacts", o.sectionContacts,
             sectionContactsFiles(o.sectionContacts, o.layer, lines, s.model.boundaryName,
                                  s.display->srs));
  }
}

// A value map's automatic contours span its values, known once the map is built.
void addValueOutputs(const RunMaking& run) {
  Session& session = run.session;
  const RenderOptions& o = run.o;
  const ViewerState& s = session.state();
  const std::pair<const std::string*, MapValue> grids[] = {
      {&o.thicknessGrid, {MapValueKind::Thickness, o.unitName}},
      {&o.depthGrid, {MapValueKind::Depth, o.boundaryName}}};
  for (const auto& [path, value] : grids) {
    if (path->empty()) continue;
    const Array2D<double> values = session.valueGrid(value);
    addFiles(run.outputs,
             value.kind == MapValueKind::Thickness ? "--thickness-grid" : "--depth-grid", *path,
             valueGridFiles(*path, {*s.display, values, session.valueTitle(value)}));
  }
  if (!o.volumes.empty()) {
    addText(run.outputs, "--volumes", o.volumes,
            unitVolumesCsv(s.model, session.unitVolumes(o.clip)));
  }
}

void addMapOutputs(const RunMaking& run) {
  Session& session = run.session;
  const RenderOptions& o = run.o;
  const ViewerState& s = session.state();
  // The fence's lines first: the build of the walls builds their panels with them.
  run.pass(session.setFence(fenceLinesOf(session, o)));
  run.pass(session.buildMapGrid(
      {}, o.mapFile.empty() ? MapParts::SurfaceOnly : MapParts::SurfaceAndWalls));
  applyValueContours(session, o);
  if (!o.mapFile.empty()) {
    addPicture(run.outputs, "--map", o.mapFile, o.width, o.height, run.background, o.antialias,
               [&](Canvas& canvas) {
                 session.applyView(mapViewOf(session, o), canvas.width(), canvas.height());
                 if (o.fit) session.fitMapView(canvas);
                 run.pass(session.drawGeoMap(canvas));
                 if (o.sectionLine) session.drawSurveyLine(canvas);
               });
  }
  if (!o.unitsGrid.empty()) {
    addFiles(run.outputs, "--units-grid", o.unitsGrid,
             unitsGridFiles(o.unitsGrid,
                            {*s.display, s.mapGrid->mapUnit, unitStyles(s.model, s.unitColor)}));
  }
  if (!o.geologyMap.empty()) {
    addFiles(run.outputs, "--geology-map", o.geologyMap,
             geologyMapFiles(o.geologyMap, session.geologyMap()));
  }
  addValueOutputs(run);
}

// The check samples the grids of the build before it; without one, the surface's nodes are
// classified, which reads the boundary grids.
void addBoreholeCheck(const RunMaking& run) {
  Session& session = run.session;
  const RenderOptions& o = run.o;
  if (!o.wantsSection() && !o.wantsMapGrid()) {
    run.pass(session.buildMapGrid({}, MapParts::SurfaceOnly));
  }
  addFiles(
      run.outputs, "--borehole-check", o.boreholeCheck,
      boreholeCheckFiles(o.boreholeCheck, session.checkBoreholes(), session.state().display->srs));
}

// The block of the map build; without a map picture, the build is made for it, walls and all.
void addSceneExport(const RunMaking& run) {
  Session& session = run.session;
  const RenderOptions& o = run.o;
  if (o.mapFile.empty()) run.pass(session.buildMapGrid({}, MapParts::SurfaceAndWalls));
  for (const std::string& folder : sceneFolders(o.export3d)) run.outputs.addFolder(folder);
  addFiles(run.outputs, "--export-3d", o.export3d,
           sceneFiles(o.export3d, session.blockScene(o.exportDecimate),
                      {.verticalExaggeration = o.exportVe}));
}

// The run as a user would take the steps: the inputs, the section (drawn and exported first; its
// grid and line stay for the map), then the map; every output is made before any is written,
// and none replaces its file unless all can.
void render(Session& session, const RenderOptions& o, const WarningSink& warn) {
  prepareRun(session, o, warn);
  const ViewerState& s = session.state();
  RunOutputs outputs;
  const RunMaking run{session, o, outputs, o.black ? kBlack : kWhite,
                      [&](const Warnings& warnings) {
                        for (const std::string& warning : warnings) warn(warning);
                      }};
  if (o.wantsSection()) addSectionOutputs(run);
  if (o.wantsMapGrid()) addMapOutputs(run);
  if (!o.boreholeCheck.empty()) addBoreholeCheck(run);
  if (!o.export3d.empty()) addSceneExport(run);
  if (!o.unitsLegend.empty()) {
    addFiles(outputs, "--units-legend", o.unitsLegend,
             {{o.unitsLegend, unitsLegendCsv(s.model, s.unitColor)},
              {qgisColourMapPath(o.unitsLegend), qgisColourMap(s.model, s.unitColor)}});
  }
  outputs.write(renderInputFiles(o));
}

// The picture of a saved session, drawn as the window drew it, into --map.
void renderSession(Session& session, const RenderOptions& o, const WarningSink& warn) {
  const SessionDocument document = readSessionFile(o.session);
  const std::vector<RunFile> inputs = sessionInputFiles(o.session, document);
  // The geological map goes where the session wrote it last, unless the run names a file.
  const std::string geologyMap = o.geologyMap.empty() ? document.geologyMapFile : o.geologyMap;
  std::vector<RunFile> planned{{"--map", o.mapFile, o.mapFile}};
  if (!geologyMap.empty()) {
    for (const std::string& file : geologyMapFileNames(geologyMap)) {
      planned.push_back({"--geology-map", geologyMap, file});
    }
  }
  refuseOverwrites(inputs, planned);
  const auto pass = [&](const Warnings& warnings) {
    for (const std::string& warning : warnings) warn(warning);
  };
  const int width = o.sizeGiven ? o.width : static_cast<int>(document.canvasWidth);
  const int height = o.sizeGiven ? o.height : static_cast<int>(document.canvasHeight);
  if (width < 16 || height < 16)
    throw UsageError(o.session + ": " + translated("the saved picture size is too small"));
  pass(restoreSession(session, document, width, height));
  const PackedColor background = document.drawOptions.LineColor == kWhite ? kBlack : kWhite;
  RunOutputs outputs;
  addPicture(outputs, "--map", o.mapFile, width, height, background, o.antialias,
             [&](Canvas& canvas) { pass(drawSessionPicture(session, document, canvas)); });
  if (!geologyMap.empty()) {
    checkGeologyMapSystem(geologyMap, session.state().display->srs);
    addFiles(outputs, "--geology-map", geologyMap,
             geologyMapFiles(geologyMap, session.geologyMap()));
  }
  outputs.write(inputs);
}

}  // namespace

int runBatchRender(const RenderOptions& options, const std::string& programFolder,
                   std::ostream& errors) {
  const WarningSink warn = [&errors](const std::string& text) {
    errors << fill(translated("kalvenor-render: warning: {1}"), {text}) << "\n";
  };
  try {
    if (!options.mapFile.empty()) formatOf(options.mapFile);
    if (!options.sectionFile.empty() && !isDrawing(options.sectionFile)) {
      formatOf(options.sectionFile);
    }
    if (options.sectionDxf3d && !isDrawing(options.sectionFile)) {
      throw UsageError(fill(translated("{1} places the section of {2} in space, which must be a "
                                       ".dxf drawing"),
                            {"--section-dxf-3d", "--section FILE.dxf"}));
    }
    Session session;
    const DefaultValues builtIn;
    if (const auto problem = session.loadDefaults(defaultFilePlaces(programFolder))) {
      warn(fill(translated("{1}; the built-in view {2}, {3}, {4}, {5} is used"),
                {*problem, numberText(builtIn.defaultAlpha), numberText(builtIn.defaultGamma),
                 numberText(builtIn.defaultSca), numberText(builtIn.defaultVe)}));
    }
    if (options.session.empty()) {
      render(session, options, warn);
    } else {
      renderSession(session, options, warn);
    }
    return 0;
  } catch (const std::bad_alloc&) {
    errors << translated("kalvenor-render: not enough memory") << "\n";
  } catch (const std::exception& error) {
    errors << fill(translated("kalvenor-render: {1}"), {error.what()}) << "\n";
  }
  return 2;
}

}  // namespace kalvenor
