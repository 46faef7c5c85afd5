#include "model/input_names.h"
#include "model/message_text.h"
#include "scene/block_scene.h"
#include "scene/borehole_lines.h"
#include "session/session.h"

namespace kalvenor {

Scene Session::blockScene(int decimate) const {
  requireModel();
  const MapGrid& grid = *state_.mapGrid;
  if (state_.gridOutOfDate || grid.verticalGrids[kSouthWall].nH == 0) {
    throw SessionError(
        translated("The 3D export takes the block of the 3D-map grid: build it in step (5-1) "
                   "first."));
  }
  if (decimate < 1) {
    throw SessionError(fill(translated("{1} takes every N-th node, N at least 1; {2} is not one"),
                            {inputName("--export-decimate"), std::to_string(decimate)}));
  }
  Scene scene = buildBlockScene({.model = state_.model,
                                 .display = *state_.display,
                                 .mapGrid = grid,
                                 .boundaryGrids = *state_.boundaryGrids,
                                 .unitColor = state_.unitColor,
                                 .boundaryColor = state_.boundaryColor,
                                 .Zbase = state_.Zbase,
                                 .decimate = decimate,
                                 .threads = context_.threads});
  scene.srs = state_.display->srs;
  for (ScenePart& hole : boreholeLines(*state_.boreholes)) scene.parts.push_back(std::move(hole));
  return scene;
}

}  // namespace kalvenor
