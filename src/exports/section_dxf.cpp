#include "exports/section_dxf.h"

#include <algorithm>

#include "exports/dxf_drawing.h"
#include "model/axis_ticks.h"
#include "model/number_text.h"

namespace kalvenor {
namespace {

class SectionDrawing {
 public:
  explicit SectionDrawing(const SectionDxfInputs& in) : in_(in) {
    d_.threeD = in.inSpace;
    d_.verticalExaggeration = in.inSpace ? 1.0 : in.verticalExaggeration;
  }

  void addPanel();
  void addContacts();
  void addAxes();
  DxfDrawing& drawing() { return d_; }

 private:
  std::size_t layer(const std::string& name, PackedColor color) {
    const auto found = std::find_if(d_.layers.begin(), d_.layers.end(),
                                    [&](const DxfDrawing::Layer& l) { return l.name == name; });
    if (found != d_.layers.end()) return static_cast<std::size_t>(found - d_.layers.begin());
    d_.layers.push_back({name, color});
    return d_.layers.size() - 1;
  }
  // A point of the panel as drawn: in space as it is, flat as distance and raised height.
  DxfPoint drawn(const ScenePoint& p) const {
    return in_.inSpace ? DxfPoint{p[0], p[1], p[2]} : DxfPoint{p[0], p[2] * ve(), 0};
  }
  double ve() const { return d_.verticalExaggeration; }
  void text(std::size_t on, double x, double z, const std::string& words) {
    d_.texts.push_back({on, {x, z, 0}, textHeight(), words});
  }
  double textHeight() const { return std::max(in_.section.length() / 80, 1e-3); }

  const SectionDxfInputs& in_;
  DxfDrawing d_;
};

void SectionDrawing::addPanel() {
  for (const ScenePart& part : in_.panel) {
    const std::size_t on = layer(part.name, part.color);
    const auto& V = part.mesh.vertices;
    for (const auto& t : part.mesh.triangles) {
      d_.faces.push_back({on, {drawn(V[t[0]]), drawn(V[t[1]]), drawn(V[t[2]])}});
    }
  }
}

void SectionDrawing::addContacts() {
  const std::size_t contacts = layer("contacts", in_.lineColor);
  const std::size_t ground = layer("ground", in_.lineColor);
  for (const ContactLine& line : in_.contacts) {
    DxfDrawing::Polyline polyline{line.boundary == 0 ? ground : contacts, {}};
    for (const ContactPoint& p : line.points) {
      polyline.points.push_back(in_.inSpace ? DxfPoint{p.x, p.y, p.z}
                                            : DxfPoint{p.distance, p.z * ve(), 0});
    }
    d_.polylines.push_back(std::move(polyline));
  }
}

// Along the base the distance, up the start the elevation, each ticked at round numbers.
void SectionDrawing::addAxes() {
  const SectionGrid& s = in_.section;
  const std::size_t axes = layer("axes", kBlack);
  const double L = s.length(), base = s.Zbase * ve(), top = in_.Zmax * ve(), h = textHeight();
  d_.polylines.push_back({axes, {{0, top, 0}, {0, base, 0}, {L, base, 0}}});
  for (const double t : roundTicks(0, L, 10)) {
    d_.polylines.push_back({axes, {{t, base, 0}, {t, base - h, 0}}});
    text(axes, t, base - 2.5 * h, numberText(t) + " m");
  }
  for (const double z : roundTicks(s.Zbase, in_.Zmax, 10)) {
    d_.polylines.push_back({axes, {{0, z * ve(), 0}, {-h, z * ve(), 0}}});
    text(axes, -6 * h, z * ve(), numberText(z) + " m");
  }
  text(axes, 0, top + 1.5 * h, in_.name);
  text(axes, L, top + 1.5 * h, in_.name + "'");
  text(axes, 0, top + 3.5 * h, "V.E. x" + numberText(ve()));
}

}  // namespace

std::string sectionDxf(const SectionDxfInputs& in) {
  SectionDrawing drawing(in);
  drawing.addPanel();
  drawing.addContacts();
  if (!in.inSpace) drawing.addAxes();
  return dxfText(drawing.drawing());
}

}  // namespace kalvenor
