#include "render/block_base.h"
#include "render/fit_view.h"
#include "session/session.h"

namespace kalvenor {
namespace {

LegendEntry legendEntry(const ViewerState& s, int unit) {
  const std::string& name = s.model.unitName[unit];
  return {name.empty() ? "unit " + std::to_string(unit) : name, s.unitColor[unit]};
}

}  // namespace

// Every unit of the model, the youngest on top as in a stratigraphic column; or, for a map of
// `values` (not empty), their colour bar.
MapNotes Session::mapNotes(const Array2D<double>& values) const {
  const ViewerState& s = state_;
  const DisplaySurface& d = *s.display;
  std::vector<LegendEntry> legend;
  for (int unit = s.model.unitCount(); unit >= 1; --unit) legend.push_back(legendEntry(s, unit));
  MapNotes notes{
      d.Xc, d.Yc, d.Zc, d.Ymax - d.Ymin, std::move(legend), s.annotations, s.drawOptions.LineColor};
  if (s.mapValue && !values.empty())
    notes.bar = ColourBar{valueTitle(*s.mapValue), rampOver(values)};
  return notes;
}

// Only the units the section cuts.
SectionNotes Session::sectionNotes(const Array2D<std::int16_t>& units) const {
  const ViewerState& s = state_;
  std::vector<bool> present(s.model.unitCount() + 1, false);
  for (int h = units.iFirst(); h <= units.iLast(); ++h) {
    for (int v = units.jFirst(); v <= units.jLast(); ++v) {
      const std::int32_t unit = units(h, v);
      if (unit >= 1 && unit < static_cast<int>(present.size())) present[unit] = true;
    }
  }
  std::vector<LegendEntry> legend;
  for (int unit = s.model.unitCount(); unit >= 1; --unit) {
    if (present[unit]) legend.push_back(legendEntry(s, unit));
  }
  return {*s.section,        s.Zbase,       s.display->Zmax,        s.view.Ve,
          std::move(legend), s.annotations, s.drawOptions.LineColor};
}

// The block from its base, or from the lowest ground without one, to the highest ground.
void Session::fitMapView(const Canvas& canvas) {
  requireViewDrawable();
  const DisplaySurface& d = *state_.display;
  const double low = blockBase(state_.Zbase).value_or(d.Zmin);
  std::vector<ModelPoint> corners;
  for (const double x : {d.Xmin, d.Xmax}) {
    for (const double y : {d.Ymin, d.Ymax}) {
      for (const double z : {low, d.Zmax}) corners.push_back({x, y, z});
    }
  }
  // A map of values keeps room for the colour bar of the values it will be drawn with.
  const bool values = state_.mapValue && state_.annotations.legend && mapSurfacesBuilt();
  const Array2D<double> drawn = values ? valueGrid(*state_.mapValue) : Array2D<double>{};
  placeFitted(fitView(projection(), corners, mapMargins(canvas, mapNotes(drawn)), canvas.width(),
                      canvas.height()));
}

// The section's frame: the survey line, unfolded along a polyline, from the base to the top of
// the ground.
void Session::fitSectionView(const Canvas& canvas) {
  requireSectionDrawable(currentView());
  const SectionGrid& s = *state_.section;
  const double Zmax = state_.display->Zmax;
  const std::vector<ModelPoint> corners = {{s.pictureXstart(), s.pictureYstart(), state_.Zbase},
                                           {s.pictureXend(), s.pictureYend(), state_.Zbase},
                                           {s.pictureXstart(), s.pictureYstart(), Zmax},
                                           {s.pictureXend(), s.pictureYend(), Zmax}};
  const Array2D<std::int16_t> units = sectionUnits();
  placeFitted(fitView(projection(), corners, sectionMargins(canvas, sectionNotes(units)),
                      canvas.width(), canvas.height()));
}

// The shift alone places a fitted picture; a view that cannot be fitted stays as it was.
void Session::placeFitted(const std::optional<ViewFit>& fit) {
  if (fit) {
    state_.view.Sca = fit->Sca;
    state_.view.PanX = state_.view.PanY = 0;
    state_.viewCanvas.ShiftX = fit->ShiftX;
    state_.viewCanvas.ShiftY = fit->ShiftY;
  }
  notify(Change::View);
}

}  // namespace kalvenor
