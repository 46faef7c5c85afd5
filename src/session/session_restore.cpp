#include "session/session_restore.h"

#include "model/display_surface.h"
#include "model/message_text.h"

namespace kalvenor {
namespace {

void pass(Warnings& into, const Warnings& warnings) {
  into.insert(into.end(), warnings.begin(), warnings.end());
}

TypedView typedView(const ViewValues& v, const PerspectiveValues& p, std::optional<double> Zbase) {
  return {v.Alpha, v.Gamma, v.Sca, v.Ve, Zbase, p.Dist, p.Ppz};
}

SavedPicture pictureOf(const ViewerState& s) {
  const PictureView& in = s.pictureView;
  const ViewSettings& v = in.view;
  return {s.picture, {v.Alpha, v.Gamma, v.Sca, v.Ve}, {v.Dist, v.Ppz}, {v.PanX, v.PanY}, in.Zbase,
          s.overlays};
}

// The grids the document kept, the one built last built last, so that the grid states end as
// they were.
Warnings buildGrids(Session& fresh, const SessionDocument& d) {
  Warnings warnings;
  const auto buildMap = [&] {
    if (d.mapGrid) pass(warnings, fresh.buildMapGrid());
  };
  const auto buildSection = [&] {
    if (d.sectionGrid) pass(warnings, fresh.buildSectionGrid(*d.sectionLine));
  };
  if (d.grid == "section") {
    buildMap();
    buildSection();
  } else {
    buildSection();
    buildMap();
  }
  return warnings;
}

// Refused while nothing has changed: a base the saved picture, or what was drawn without one,
// cannot be drawn with.
void requireDrawableBase(const Session& fresh, const SessionDocument& d) {
  const DisplaySurface& display = *fresh.state().display;
  std::optional<std::string> problem;
  if (d.picture.kind != PictureKind::None) problem = baseProblem(d.picture.Zbase, display);
  if (!problem && d.drawOptions.DrawMode != DrawingMode::None)
    problem = baseProblem(fresh.state().Zbase, display);
  if (problem) throw SessionError("baseHeight: " + *problem);
}

// The steps of restoreSession on `fresh`; a problem of the document or a step throws.
Warnings takeSteps(Session& fresh, const SessionDocument& d, double canvasWidth,
                   double canvasHeight) {
  Warnings warnings;
  if (!d.srs.empty()) fresh.setSrs(d.srs);
  if (!d.modelFile.empty()) {
    pass(warnings, fresh.loadModel(d.modelFile));
    const std::string model = fill(translated("the model {1}"), {d.modelFile});
    if (auto problem = listCountProblem(d, &fresh.state().model, model)) {
      throw SessionError(*problem);
    }
  }
  if (d.handModel) pass(warnings, fresh.enterModel(*d.handModel, d.modelReady));
  for (std::size_t k = 0; k < d.boundaryFiles.size(); ++k) {
    if (!d.boundaryFiles[k].empty()) {
      pass(warnings, fresh.setBoundaryFile(static_cast<int>(k) + 1, d.boundaryFiles[k]));
    }
  }
  for (std::size_t unit = 0; unit < d.unitColors.size(); ++unit) {
    if (d.unitColors[unit]) fresh.setUnitColor(static_cast<int>(unit) + 1, *d.unitColors[unit]);
  }
  for (std::size_t k = 0; k < d.boundaryColors.size(); ++k) {
    fresh.setBoundaryColor(static_cast<int>(k) + 1, d.boundaryColors[k]);
  }
  if (!d.surfaceFile.empty()) pass(warnings, fresh.loadDisplaySurface(d.surfaceFile));
  if (d.zbase) fresh.setZbase(*d.zbase);
  if (d.boreholeFiles.any()) pass(warnings, fresh.setBoreholeFiles(d.boreholeFiles));
  fresh.setBoreholeDrawing(d.boreholeDrawing);
  fresh.setGeologyMapFile(d.geologyMapFile);
  fresh.setMapOptions(d.mapOptions);
  fresh.setBoundaryLines(d.drawOptions.DrawBoundary);
  fresh.setLineColor(d.drawOptions.LineColor);
  fresh.setAnnotations(d.annotations);
  fresh.setContacts(d.drawOptions.contacts);
  fresh.setSurveyTrace(d.drawOptions.surveyTrace);
  fresh.setMapValue(d.mapValue);
  fresh.setShading(d.drawOptions.shading);
  fresh.setContours({d.contours.Cst, d.contours.Cen, d.contours.Cin, d.contourLinesWanted});
  fresh.setFenceCut(d.fenceCut);
  fresh.setSectionSeries(d.sectionSeries);
  pass(warnings, buildGrids(fresh, d));
  // After the grids, so that the panels are built once, with the map's walls.
  if (!d.fenceLines.empty()) pass(warnings, fresh.setFence(d.fenceLines));
  fresh.setPan(d.pan[0], d.pan[1]);
  if (d.viewApplied && fresh.state().display->loaded()) {
    fresh.applyView(typedView(d.view, d.perspective, {}), canvasWidth, canvasHeight);
    requireDrawableBase(fresh, d);
  }
  return warnings;
}

}  // namespace

SessionDocument documentOf(const ViewerState& s, double canvasWidth, double canvasHeight) {
  SessionDocument d;
  d.srs = s.srsGiven;
  d.modelFile = s.modelFile;
  if (s.modelFile.empty() && !s.unitColor.empty()) d.handModel = s.model;
  d.modelReady = s.progress.modelReady();
  if (!s.boundaryFile.empty())
    d.boundaryFiles.assign(s.boundaryFile.begin() + 1, s.boundaryFile.end());
  d.surfaceFile = s.displayFile;
  d.boreholeFiles = s.boreholeFiles;
  d.boreholeDrawing = s.boreholeDrawing;
  d.geologyMapFile = s.geologyMapFile;
  for (std::size_t unit = 1; unit < s.unitColor.size(); ++unit) {
    d.unitColors.push_back(s.unitColorChosen[unit] ? std::optional(s.unitColor[unit])
                                                   : std::nullopt);
  }
  if (!s.boundaryColor.empty()) {
    d.boundaryColors.assign(s.boundaryColor.begin() + 1, s.boundaryColor.end());
  }
  if (s.display->loaded()) d.zbase = s.Zbase;
  d.mapOptions = s.mapOptions;
  d.drawOptions = s.drawOptions;
  d.annotations = s.annotations;
  d.mapValue = s.mapValue;
  d.contours = s.contours;
  d.contourLinesWanted = s.contourLinesWanted;
  if (s.section->Nxy > 0) d.sectionLine = s.sectionLine;
  d.fenceLines = s.fenceLines;
  d.fenceCut = s.fenceCut;
  d.sectionSeries = s.series;
  d.view = {s.view.Alpha, s.view.Gamma, s.view.Sca, s.view.Ve};
  d.perspective = {s.view.Dist, s.view.Ppz};
  d.viewApplied = s.progress.viewReady();
  d.pan = {s.view.PanX, s.view.PanY};
  if (!s.gridOutOfDate) {
    d.grid = s.progress.sectionGrid() == GridState::Current ? "section" : "map";
  }
  d.mapGrid = !s.mapGrid->mapUnit.empty();
  d.sectionGrid = !s.sectionGrid->empty() && d.sectionLine;
  d.picture = pictureOf(s);
  d.canvasWidth = canvasWidth;
  d.canvasHeight = canvasHeight;
  return d;
}

Warnings restoreSession(Session& session, const SessionDocument& d, double canvasWidth,
                        double canvasHeight) {
  Session fresh;
  Warnings warnings;
  try {
    warnings = takeSteps(fresh, d, canvasWidth, canvasHeight);
  } catch (const std::bad_alloc&) {
    throw;
  } catch (const std::exception& error) {
    // The step's own message names the input at fault; the session file says where it came from.
    if (d.sessionFile.empty()) throw;
    throw SessionError(d.sessionFile + ": " + error.what());
  }
  session.replaceWith(fresh);
  return warnings;
}

Warnings drawSessionPicture(Session& session, const SessionDocument& d, Canvas& canvas) {
  Warnings warnings;
  if (!d.viewApplied || !session.state().display->loaded()) return warnings;
  const SavedPicture& p = d.picture;
  if (p.kind != PictureKind::None) {
    session.setPan(p.pan[0], p.pan[1]);
    session.applyView(typedView(p.view, p.perspective, p.Zbase), canvas.width(), canvas.height());
    if (p.kind == PictureKind::Map) {
      pass(warnings, session.drawGeoMap(canvas));
    } else {
      session.drawSection(canvas);
    }
  }
  for (const DrawnOver what : p.drawnOver) pass(warnings, session.drawOver(canvas, what));
  session.setPan(d.pan[0], d.pan[1]);
  session.applyView(typedView(d.view, d.perspective, d.zbase), canvas.width(), canvas.height());
  return warnings;
}

}  // namespace kalvenor
