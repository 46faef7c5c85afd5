#include <algorithm>
#include <cmath>

#include "model/number_text.h"
#include "session/session.h"

namespace kalvenor {

// The typed values in the order the boxes are read, for the canvas given; a parallel view has no
// perspective plane.
void Session::applyView(const TypedView& typed, double canvasWidth, double canvasHeight) {
  ViewSettings& v = state_.view;
  for (const auto& [value, field] :
       {std::pair{typed.Ve, &v.Ve}, std::pair{typed.Alpha, &v.Alpha},
        std::pair{typed.Gamma, &v.Gamma}, std::pair{typed.Sca, &v.Sca},
        std::pair{typed.Zbase, &state_.Zbase}, std::pair{typed.Dist, &v.Dist},
        std::pair{typed.Ppz, &v.Ppz}}) {
    if (value) *field = *value;
  }
  if (v.Dist == kParallelDist) v.Ppz = 0;
  state_.viewCanvas = {canvasWidth, canvasHeight};
  state_.progress.viewApplied(v.Sca > 0);
  notify(Change::View);
}

// A plan view with north up.
ViewValues Session::planView() const { return {180, 90, 1.8, 1}; }

ViewValues Session::defaultView() const {
  const DefaultValues& d = state_.defaults;
  return {d.defaultAlpha, d.defaultGamma, d.defaultSca, d.defaultVe};
}

// A horizontal look at the section from the side that puts the line's eastern end on the right.
ViewValues Session::sectionView() const {
  const double Fai = state_.section->Fai;
  const double alpha = std::sin(Fai) <= 0 ? Fai / kDegree - 90 : Fai / kDegree + 90;
  return {alpha, 0, 1.4, 1};
}

// Switching perspective off keeps the last perspective values for switching it on again.
PerspectiveValues Session::switchPerspective(bool on) {
  const ViewSettings& v = state_.view;
  if (v.Dist != kParallelDist) state_.savedDist = v.Dist;
  if (v.Ppz != 0) state_.savedPpz = v.Ppz;
  if (!on) return {};
  return {state_.savedDist, state_.savedPpz};
}

// The kind of the last whole picture; before any, what the commands drawn over the canvas went
// over. Either needs its grid still there.
PictureKind Session::redrawablePicture() const {
  const DrawingMode mode = state_.drawOptions.DrawMode;
  if (mode == DrawingMode::None) return PictureKind::None;
  PictureKind kind = state_.picture;
  if (kind == PictureKind::None) {
    const bool overSection =
        mode == DrawingMode::GridLines && state_.progress.sectionGrid() == GridState::Current;
    kind = overSection ? PictureKind::Section : PictureKind::Map;
  }
  const CommandStates commands = commandStates();
  if (kind == PictureKind::Section) {
    return commands.geoSection && !state_.sectionGrid->empty() ? kind : PictureKind::None;
  }
  return commands.geoMap ? kind : PictureKind::None;
}

namespace {

constexpr double kDegreesPerPixel = 0.5;

// The pan that keeps the picture-plane point under canvas pixel `at` in place while the scale
// grows by `factor`; the projection rounds to whole pixels, so the point may move by one.
std::array<double, 2> panKeeping(const Projection& p, std::array<double, 2> at, double factor) {
  const ViewSettings& v = p.view();
  if (!(p.scale() > 0) || !(factor > 0)) return {v.PanX, v.PanY};
  const auto [right, up] = p.fromMiddle(at);
  return {v.PanX + right * (1 - 1 / factor), v.PanY + up * (1 - 1 / factor)};
}

}  // namespace

// The azimuth wraps into [0, 360); the depression stays between horizontal and straight down,
// or where it was typed beyond them, so a tilt never flips the block over.
NudgedView Session::nudgedView(const ViewNudge& nudge, PictureKind kind) const {
  const ViewSettings& v = state_.view;
  const Projection p = projection();
  NudgedView after{{v.Alpha, v.Gamma, v.Sca * nudge.scaleFactor, v.Ve}, v.PanX, v.PanY};
  if (nudge.zoomAt) {
    const auto [x, y] = panKeeping(p, *nudge.zoomAt, nudge.scaleFactor);
    after.PanX = x;
    after.PanY = y;
  }
  if (kind != PictureKind::Map) {
    if (p.scale() > 0) {
      after.PanX -= nudge.dragX / (p.scale() * nudge.scaleFactor);
      after.PanY += nudge.dragY / (p.scale() * nudge.scaleFactor);
    }
    return after;
  }
  ViewValues& values = after.values;
  values.Alpha = std::fmod(v.Alpha + nudge.dragX * kDegreesPerPixel, 360.0);
  if (values.Alpha < 0) values.Alpha += 360.0;
  values.Gamma = std::clamp(v.Gamma + nudge.dragY * kDegreesPerPixel, std::min(v.Gamma, 0.0),
                            std::max(v.Gamma, 90.0));
  values.Ve = v.Ve * nudge.veFactor;
  return after;
}

void Session::resumePictureView() {
  const PictureView& in = state_.pictureView;
  if (state_.picture == PictureKind::None ||
      (state_.view == in.view && state_.viewCanvas == in.canvas)) {
    return;
  }
  state_.view = in.view;
  state_.viewCanvas = in.canvas;
  notify(Change::View);
}

void Session::setPan(double PanX, double PanY) {
  state_.view.PanX = PanX;
  state_.view.PanY = PanY;
  notify(Change::View);
}

void Session::setContours(const TypedContours& typed) {
  ContourSettings& c = state_.contours;
  for (const auto& [value, field] :
       {std::pair{typed.Cst, &c.Cst}, std::pair{typed.Cen, &c.Cen}, std::pair{typed.Cin, &c.Cin}}) {
    if (value) *field = *value;
  }
  state_.contourLinesWanted = typed.wanted;
  state_.progress.contoursSet(c.Cst != c.Cen && c.Cin != 0 && typed.wanted);
  notify(Change::Contours);
}

// The first level is the whole metre at or below the lowest elevation, the last the one at or
// above the highest, and the interval the whole number of metres that fills the span in the
// divisions asked for (or the exact fraction when that is below a metre).
ContourSettings Session::autoContours(double divisions) const {
  const double n = divisions == 0 ? 1 : divisions;
  const auto values = valueRange();
  const double first = Int(values ? values->first : state_.display->Zmin);
  const double last = Int((values ? values->second : state_.display->Zmax) + 0.99999);
  double interval = Int((last - first) / n + 0.99999);
  if (interval == 0) interval = (last - first) / n;
  return {first, last, interval};
}

void Session::setMapOptions(const MapOptions& options) {
  state_.mapOptions = options;
  notify(Change::DrawOptions);
}

void Session::setBoundaryLines(bool on) {
  state_.drawOptions.DrawBoundary = on;
  notify(Change::DrawOptions);
}

void Session::setAnnotations(const Annotations& annotations) {
  state_.annotations = annotations;
  notify(Change::DrawOptions);
}

void Session::setContacts(Contacts contacts) {
  state_.drawOptions.contacts = contacts;
  notify(Change::DrawOptions);
}

void Session::setSurveyTrace(bool on) {
  state_.drawOptions.surveyTrace = on;
  notify(Change::DrawOptions);
}

void Session::setShading(const ReliefShading& shading) {
  state_.drawOptions.shading = shading;
  notify(Change::DrawOptions);
}

void Session::setLineColor(PackedColor color) {
  state_.drawOptions.LineColor = color;
  notify(Change::DrawOptions);
}

}  // namespace kalvenor
