#include <algorithm>
#include <cmath>

#include "evaluation/angles.h"
#include "evaluation/polyline_section.h"
#include "model/line_features.h"
#include "model/message_text.h"
#include "model/step_failure.h"
#include "session/session.h"

namespace kalvenor {
namespace {

// The vertices of a survey line: its own, its two ends, or its start and a point along its
// azimuth as far again as the display area is long (the build runs the line on to the edges).
std::vector<SurveyVertex> verticesOf(const SectionLine& line, const DisplaySurface& d) {
  if (!line.vertices.empty()) return line.vertices;
  const SurveyVertex start{line.Xstart, line.Ystart};
  if (line.endPointMode) return {start, {line.Xend, line.Yend}};
  const double length = d.loaded() ? std::hypot(d.Xmax - d.Xmin, d.Ymax - d.Ymin) : 1.0;
  const double Fai = line.faiDegrees * kDegree;
  return {start, {start.x + length * std::sin(Fai), start.y + length * std::cos(Fai)}};
}

std::string firstFreeName(const std::vector<FenceLine>& lines) {
  for (std::size_t n = 0;; ++n) {
    std::string name = fenceLineName(n);
    if (std::none_of(lines.begin(), lines.end(),
                     [&](const FenceLine& line) { return line.name == name; })) {
      return name;
    }
  }
}

}  // namespace

bool Session::mapHasWalls() const { return state_.mapGrid->verticalGrids[kSouthWall].nH > 0; }

// Built whole before anything changes; each panel's crossings are a warning of their own.
std::shared_ptr<const std::vector<FencePanel>> Session::buildFencePanels(
    const std::vector<FenceLine>& lines, const std::vector<GridSurface>* grids,
    const BuildProgress& progress, Warnings& warnings) {
  std::vector<FencePanel> panels;
  step(fill(translated("build the {1} panels of the fence"), {std::to_string(lines.size())}),
       [&] { panels = buildFence(buildInputs(), lines, grids, progress); });
  for (std::size_t n = 0; n < lines.size(); ++n) {
    for (const auto& [first, second] : selfCrossings(lines[n].vertices)) {
      warnings.push_back(fill(
          translated("fence panel {1} ({2}): the line crosses itself, "
                     "segments {3} and {4} meet; the panel shows the ground "
                     "there twice"),
          {std::to_string(n + 1), lines[n].name, std::to_string(first), std::to_string(second)}));
    }
  }
  return shared(std::move(panels));
}

std::vector<FenceLine> Session::fenceFromFile(const std::string& path) const {
  std::vector<NamedLine> read;
  runStep(translated("read the fence's lines"), [&] {
    read = readLineFeatures(path, {state_.display->srs, state_.srsGiven});
  });
  std::vector<FenceLine> lines;
  for (const NamedLine& named : read) {
    FenceLine line{named.name.empty() ? fenceLineName(lines.size()) : named.name, {}, named.origin};
    for (const PlanePoint& p : named.vertices) line.vertices.push_back({p.x, p.y});
    lines.push_back(std::move(line));
  }
  return lines;
}

Warnings Session::setFence(std::vector<FenceLine> lines, const BuildProgress& progress) {
  Warnings warnings;
  auto panels = noResult<std::vector<FencePanel>>();
  if (!lines.empty()) {
    requireModel();
    for (std::size_t n = 0; n < lines.size(); ++n) {
      try {
        checkVertices(lines[n].vertices, lineOrigin(surveyLineOf(lines[n])));
      } catch (const BuildError& error) {
        throw BuildError(fill(translated("fence panel {1} ({2}): {3}"),
                              {std::to_string(n + 1), lines[n].name, error.what()}));
      }
    }
    if (mapHasWalls()) panels = buildFencePanels(lines, nullptr, progress, warnings);
  }
  state_.fenceLines = std::move(lines);
  state_.fence = std::move(panels);
  notify(Change::Fence);
  return warnings;
}

Warnings Session::addFenceLine(const SectionLine& line, const BuildProgress& progress) {
  std::vector<FenceLine> lines = state_.fenceLines;
  lines.push_back({firstFreeName(lines), verticesOf(line, *state_.display)});
  return setFence(std::move(lines), progress);
}

// The other panels stay as they were built.
Warnings Session::removeFenceLine(std::size_t index) {
  if (index >= state_.fenceLines.size()) return {};
  const auto at = static_cast<std::ptrdiff_t>(index);
  std::vector<FenceLine> lines = state_.fenceLines;
  lines.erase(lines.begin() + at);
  if (state_.fence->size() != state_.fenceLines.size()) return setFence(std::move(lines));
  std::vector<FencePanel> panels = *state_.fence;
  panels.erase(panels.begin() + at);
  auto kept = shared(std::move(panels));
  state_.fenceLines = std::move(lines);
  state_.fence = std::move(kept);
  notify(Change::Fence);
  return {};
}

void Session::setFenceCut(bool on) {
  state_.fenceCut = on;
  notify(Change::Fence);
}

}  // namespace kalvenor
