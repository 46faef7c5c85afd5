#include "app/option_steps.h"

#include <future>

#include "model/grid_surface.h"
#include "model/input_names.h"
#include "model/message_text.h"

namespace kalvenor {
namespace {

void pass(const Warnings& warnings, const WarningSink& warn) {
  for (const std::string& warning : warnings) warn(warning);
}

TypedView typed(const ViewValues& v) { return {v.Alpha, v.Gamma, v.Sca, v.Ve, {}, {}, {}}; }

}  // namespace

// The display surface is read on a thread of its own while the model and the boundary files are,
// and taken after them, as if it were read then.
void loadInputs(Session& session, const InputFiles& inputs, const WarningSink& warn) {
  if (!inputs.srs.empty()) session.setSrs(inputs.srs);
  std::future<GridSurface> surface;
  if (!inputs.surface.empty()) {
    surface = std::async(std::launch::async, [path = inputs.surface, srs = session.state().srs] {
      return readGridSurface(path, {srs});
    });
  }
  if (!inputs.model.empty()) pass(session.loadModel(inputs.model), warn);
  if (!inputs.boundaries.empty()) {
    const int Nbd = session.state().model.Nbd;
    if (static_cast<int>(inputs.boundaries.size()) != Nbd) {
      throw SessionError(fill(translated("{1}: the model has {2} boundaries but {3} boundary files "
                                         "were given (one {4} each, lowest first)"),
                              {inputs.model, std::to_string(Nbd),
                               std::to_string(inputs.boundaries.size()), inputName("--boundary")}));
    }
    session.resetBoundaryFiles();
    pass(session.setBoundaryFiles(inputs.boundaries), warn);
  }
  if (!inputs.colors.empty()) session.applyColourFile(inputs.colors);
  if (surface.valid()) pass(session.loadDisplaySurface(inputs.surface, surface.get()), warn);
  if (inputs.boreholes.any()) pass(session.setBoreholeFiles(inputs.boreholes), warn);
}

void applyOptions(Session& session, const SessionOptions& o) {
  if (o.zbase) session.setZbase(*o.zbase);
  session.setMapOptions({o.side, o.frame != 0, o.frame == 4});
  session.setBoundaryLines(o.boundaryLines);
  session.setLineColor(o.black ? kWhite : kBlack);
  session.setAnnotations({o.legend, o.axes, o.title});
  if (o.contacts) session.setContacts(*o.contacts);
  session.setSurveyTrace(o.sectionTrace);
  session.setShading(o.shading);
  session.setBoreholeDrawing(o.boreholeDrawing);
  session.setFenceCut(o.fenceCut);
  session.setMapValue(o.mapValue);
  if (o.contours) {
    session.setContours({(*o.contours)[0], (*o.contours)[1], (*o.contours)[2], true});
  } else if (o.autoContours) {
    const ContourSettings c = session.autoContours(*o.autoContours);
    session.setContours({c.Cst, c.Cen, c.Cin, true});
  }
}

void applyValueContours(Session& session, const SessionOptions& o) {
  if (!o.mapValue || !o.autoContours) return;
  const ContourSettings c = session.autoContours(*o.autoContours);
  session.setContours({c.Cst, c.Cen, c.Cin, true});
}

SectionLine sectionLineOf(const Session& session, const SessionOptions& o) {
  if (!o.lineFile.empty()) return session.surveyLineFromFile(o.lineFile, o.lineFeature);
  SectionLine line;
  if (o.start) {
    line.Xstart = o.start->x;
    line.Ystart = o.start->y;
  }
  line.endPointMode = o.end.has_value();
  if (o.end) {
    line.Xend = o.end->x;
    line.Yend = o.end->y;
  }
  line.faiDegrees = o.azimuth.value_or(0);
  for (const Point2& vertex : o.vertices) line.vertices.push_back({vertex.x, vertex.y});
  return line;
}

std::vector<FenceLine> fenceLinesOf(const Session& session, const SessionOptions& o) {
  if (!o.fenceFile.empty()) return session.fenceFromFile(o.fenceFile);
  std::vector<FenceLine> lines;
  if (o.vertexGroups.size() < 2) return lines;
  for (const std::vector<Point2>& group : o.vertexGroups) {
    FenceLine line{fenceLineName(lines.size()), {}};
    for (const Point2& vertex : group) line.vertices.push_back({vertex.x, vertex.y});
    lines.push_back(std::move(line));
  }
  return lines;
}

TypedView mapViewOf(const Session& session, const SessionOptions& o) {
  TypedView view =
      o.view ? TypedView{(*o.view)[0], (*o.view)[1], (*o.view)[2], (*o.view)[3], {}, {}, {}}
             : typed(session.defaultView());
  const PerspectiveValues perspective =
      o.perspective ? PerspectiveValues{(*o.perspective)[0], (*o.perspective)[1]}
                    : PerspectiveValues{};
  view.Dist = perspective.Dist;
  view.Ppz = perspective.Ppz;
  return view;
}

TypedView sectionViewOf(const Session& session, const SessionOptions& o) {
  ViewValues values = session.sectionView();
  if (o.view) {
    values.Sca = (*o.view)[2];
    values.Ve = (*o.view)[3];
  }
  TypedView view = typed(values);
  view.Dist = kParallelDist;
  view.Ppz = 0.0;
  return view;
}

}  // namespace kalvenor
