#include "render/block_base.h"
#include "render/fit_view.h"
#include "session/session.h"

namespace kalvenor {
namespace {

LegendEntry legendEntry(const ViewerState& s, int unit) {
  const std::string& name = s.model.unitName[unit];
  return {name.empty() ? "unit " + std::to_string(unit) : name, s.unitColor[unit]};
}

// Which units 1..count the array (a map's, or a section's grid's) holds anywhere.
template <typename Units>
std::vector<bool> unitsPresent(const Units& units, int count) {
  std::vector<bool> present(count + 1, false);
  for (int h = units.iFirst(); h <= units.iLast(); ++h) {
    for (int v = units.jFirst(); v <= units.jLast(); ++v) {
      const auto unit = units(h, v);  // a byte on a section's grid, air below 0
      if (unit >= 1 && unit <= count) present[static_cast<std::size_t>(unit)] = true;
    }
  }
  return present;
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

SectionNotes Session::sectionNotes(const Array2D<std::int16_t>& units) const {
  return sectionNotes(unitsPresent(units, state_.model.unitCount()));
}

// Only the units the section cuts.
SectionNotes Session::sectionNotes(const std::vector<bool>& present) const {
  const ViewerState& s = state_;
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
std::optional<ViewFit> Session::sectionFit(const Canvas& canvas, const Margins& extra,
                                           bool keepScale) {
  requireSectionDrawable(currentView());
  const SectionGrid& s = *state_.section;
  const double Zmax = state_.display->Zmax;
  const std::vector<ModelPoint> corners = {{s.pictureXstart(), s.pictureYstart(), state_.Zbase},
                                           {s.pictureXend(), s.pictureYend(), state_.Zbase},
                                           {s.pictureXstart(), s.pictureYstart(), Zmax},
                                           {s.pictureXend(), s.pictureYend(), Zmax}};
  // The units the section cuts, read from its grid: a fit needs no copy of them.
  const std::vector<bool> present =
      unitsPresent(state_.sectionGrid->unit, state_.model.unitCount());
  Margins m = sectionMargins(canvas, sectionNotes(present));
  m.left += extra.left;
  m.top += extra.top;
  m.right += extra.right;
  m.bottom += extra.bottom;
  const auto place = keepScale ? centreView : fitView;
  return place(projection(), corners, m, canvas.width(), canvas.height());
}

void Session::fitSectionView(const Canvas& canvas) { placeFitted(sectionFit(canvas, {}, false)); }

std::optional<double> Session::sectionFitScale(const Canvas& canvas, const Margins& extra) {
  const std::optional<ViewFit> fit = sectionFit(canvas, extra, false);
  if (!fit) return std::nullopt;
  return fit->Sca;
}

void Session::centreSectionView(const Canvas& canvas, const Margins& extra) {
  placeFitted(sectionFit(canvas, extra, true));
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
