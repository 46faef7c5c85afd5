#include <algorithm>
#include <cmath>

#include "evaluation/thickness_maps.h"
#include "model/clip_area.h"
#include "model/message_text.h"
#include "model/number_text.h"
#include "model/read_error.h"
#include "session/session.h"

namespace kalvenor {
namespace {

// The names first..last of `names`, each in quotes, for a message; a blank name by its number.
std::string nameList(const std::vector<std::string>& names, int first, int last) {
  std::string list;
  for (int n = first; n <= last; ++n) {
    if (!list.empty()) list += ", ";
    list += names[n].empty() ? numberText(n) : quotedFound(names[n]);
  }
  return list;
}

// The entry of `names` (first..last) equal to `name`, or numbered by it.
std::optional<int> namedEntry(const std::vector<std::string>& names, int first, int last,
                              const std::string& name) {
  for (int n = first; n <= last; ++n) {
    if (names[n] == name) return n;
  }
  const std::optional<double> number = wholeNumber(name);
  if (number && *number == std::floor(*number) && *number >= first && *number <= last) {
    return static_cast<int>(*number);
  }
  return std::nullopt;
}

}  // namespace

bool Session::mapSurfacesBuilt() const {
  return state_.progress.modelReady() && !state_.gridOutOfDate && !state_.mapOutOfDate &&
         !state_.mapGrid->mapUnit.empty();
}

void Session::requireMapSurfaces() const {
  requireModel();
  if (!mapSurfacesBuilt()) {
    throw SessionError(
        translated("The thickness and depth maps and the volumes take the surfaces "
                   "of the 3D-map grid: build it in step (5-1) first."));
  }
}

int Session::unitNamed(const std::string& name) const {
  requireModel();
  const LogicalModel& m = state_.model;
  if (const auto unit = namedEntry(m.unitName, 1, m.unitCount(), name)) return *unit;
  throw SessionError(fill(translated("The model has no unit {1}; its units are {2}."),
                          {quotedFound(name), nameList(m.unitName, 1, m.unitCount())}));
}

int Session::boundaryNamed(const std::string& name) const {
  requireModel();
  const LogicalModel& m = state_.model;
  if (const auto k = namedEntry(m.boundaryName, 1, m.Nbd, name)) return *k;
  throw SessionError(fill(translated("The model has no boundary {1}; its boundaries are {2}."),
                          {quotedFound(name), nameList(m.boundaryName, 1, m.Nbd)}));
}

Array2D<double> Session::valueGrid(const MapValue& value) const {
  const bool thickness = value.kind == MapValueKind::Thickness;
  const int which = thickness ? unitNamed(value.name) : boundaryNamed(value.name);
  requireMapSurfaces();
  const ModelColumns columns{state_.model, *state_.boundaryGrids, *state_.display, state_.Zbase};
  return thickness ? unitThicknessGrid(columns, which, context_)
                   : boundaryDepthGrid(columns, which, context_);
}

std::string Session::valueTitle(const MapValue& value) const {
  const LogicalModel& m = state_.model;
  if (value.kind == MapValueKind::Thickness) {
    const int unit = unitNamed(value.name);
    const std::string& name = m.unitName[unit];
    return fill(translated("Thickness of {1} (m)"),
                {name.empty() ? fill(translated("unit {1}"), {numberText(unit)}) : name});
  }
  const int k = boundaryNamed(value.name);
  const std::string& name = m.boundaryName[k];
  return fill(translated("Depth of {1} below the ground (m)"),
              {name.empty() ? fill(translated("boundary {1}"), {numberText(k)}) : name});
}

// The lowest and highest value of the map's values, once they can be worked out; none without.
std::optional<std::pair<double, double>> Session::valueRange() const {
  if (!state_.mapValue || !mapSurfacesBuilt()) return std::nullopt;
  const Array2D<double> values = valueGrid(*state_.mapValue);
  std::optional<std::pair<double, double>> range;
  for (int i = values.iFirst(); i <= values.iLast(); ++i) {
    for (int j = values.jFirst(); j <= values.jLast(); ++j) {
      const double v = values(i, j);
      if (std::isnan(v)) continue;
      range = range ? std::pair{std::min(range->first, v), std::max(range->second, v)}
                    : std::pair{v, v};
    }
  }
  return range;
}

std::vector<UnitVolume> Session::unitVolumes(const std::string& clipFile) const {
  requireMapSurfaces();
  std::optional<ClipArea> clip;
  if (!clipFile.empty()) clip = readClipArea(clipFile, state_.display->srs);
  const ModelColumns columns{state_.model, *state_.boundaryGrids, *state_.display, state_.Zbase};
  return kalvenor::unitVolumes(columns, clip ? &*clip : nullptr, context_);
}

void Session::setMapValue(const std::optional<MapValue>& value) {
  if (value) {
    if (value->kind == MapValueKind::Thickness) {
      unitNamed(value->name);
    } else {
      boundaryNamed(value->name);
    }
  }
  state_.mapValue = value;
  notify(Change::DrawOptions);
}

}  // namespace kalvenor
