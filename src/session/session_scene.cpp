#include "model/input_names.h"
#include "model/message_text.h"
#include "scene/block_scene.h"
#include "scene/borehole_lines.h"
#include "scene/geology_map_build.h"
#include "scene/section_panel.h"
#include "session/session.h"

namespace kalvenor {
namespace {

// What the scene's parts are built from: the session's model, surfaces and colours.
BlockSceneInputs sceneInputs(const ViewerState& s, const MapGrid& grid, int decimate, int threads) {
  return {.model = s.model,
          .display = *s.display,
          .mapGrid = grid,
          .boundaryGrids = *s.boundaryGrids,
          .unitColor = s.unitColor,
          .boundaryColor = s.boundaryColor,
          .Zbase = s.Zbase,
          .decimate = decimate,
          .threads = threads};
}

}  // namespace

Scene Session::blockScene(int decimate) const {
  requireModel();
  const MapGrid& grid = *state_.mapGrid;
  if (state_.gridOutOfDate || state_.mapOutOfDate || grid.verticalGrids[kSouthWall].nH == 0) {
    throw SessionError(
        translated("The 3D export takes the block of the 3D-map grid: build it in step (5-1) "
                   "first."));
  }
  if (decimate < 1) {
    throw SessionError(fill(translated("{1} takes every N-th node, N at least 1; {2} is not one"),
                            {inputName("--export-decimate"), std::to_string(decimate)}));
  }
  const BlockSceneInputs in = sceneInputs(state_, grid, decimate, context_.threads);
  Scene scene = buildBlockScene(in);
  scene.srs = state_.display->srs;
  // A section of the inputs the block was built from stands in it, whichever grid came last.
  if (state_.progress.sectionGrid() != GridState::None && !state_.sectionOutOfDate) {
    for (ScenePart& panel :
         sectionPanel(in, {*state_.sectionGrid, *state_.section, *state_.sectionProfile})) {
      scene.parts.push_back(std::move(panel));
    }
  }
  for (ScenePart& hole : boreholeLines(*state_.boreholes)) scene.parts.push_back(std::move(hole));
  return scene;
}

GeologyMap Session::geologyMap() const {
  requireModel();
  if (state_.gridOutOfDate || state_.mapOutOfDate || state_.mapGrid->mapUnit.empty()) {
    throw SessionError(
        translated("The geological map takes the units of the 3D-map grid: build it in step "
                   "(5-1) first."));
  }
  return buildGeologyMap(sceneInputs(state_, *state_.mapGrid, 1, context_.threads));
}

std::vector<ScenePart> Session::sectionPanelParts(bool laidFlat) const {
  requireModel();
  if (state_.sectionGrid->empty()) {
    throw SessionError(translated("There is no section grid yet: build it in step (5-2) first."));
  }
  static const MapGrid noMap{};
  return sectionPanel(sceneInputs(state_, noMap, 1, context_.threads),
                      {*state_.sectionGrid, *state_.section, *state_.sectionProfile, laidFlat});
}

}  // namespace kalvenor
