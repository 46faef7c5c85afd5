#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "evaluation/map_grid.h"
#include "evaluation/section_grid.h"
#include "model/array2d.h"
#include "model/display_surface.h"
#include "model/logical_model.h"
#include "model/render_context.h"
#include "render/canvas.h"
#include "render/contour_settings.h"
#include "render/draw_options.h"
#include "render/projection.h"
#include "session/session.h"
#include "session/viewer_state.h"

namespace kalvenor {

// The most cells a preview draws of the display grid or the section: a 512 x 512 grid is
// previewed on every fourth node.
constexpr int kPreviewCells = 128 * 128;

// A coarse version of what the last map or section was drawn from, for pictures drawn on another
// thread while the view is being turned or zoomed. The grid keeps nodes spread evenly over it,
// its first and last among them, so the block or the section keeps its outline; the walls and
// the section keep as many levels, the top and the base among them. A grid within the budget is
// the session's own, shared. Boundary lines, contacts and annotations are left out. It holds all
// it draws from, its own or shared read-only, so the session may change meanwhile.
struct PreviewScene {
  PictureKind kind = PictureKind::None;
  // The chosen nodes, with the extent and view centre of the whole grid; for a section, the
  // session's display surface.
  std::shared_ptr<const DisplaySurface> display = noResult<DisplaySurface>();
  std::shared_ptr<const MapGrid> grid = noResult<MapGrid>();  // the walls (slots 1..4) on them
  std::shared_ptr<const VerticalGrid> sectionGrid = noResult<VerticalGrid>();  // or the section's
  Array2D<std::int16_t> units;  // of the display nodes or the section's nodes
  std::shared_ptr<const SectionGrid> section = noResult<SectionGrid>();
  LogicalModel model;
  std::vector<PackedColor> unitColor;
  std::vector<PackedColor> boundaryColor;
  ContourSettings contours;
  bool contourLines = false;
  DrawOptions options;
  MapOptions mapOptions;
  double Zbase = 0.0;
  // The fence's panels, shared, and whether the block is cut away in front of them.
  std::shared_ptr<const std::vector<FencePanel>> fence = noResult<std::vector<FencePanel>>();
  bool fenceCut = false;
};

// The scene of the picture of `kind` in `state`, with at most about `maxCells` cells.
PreviewScene makePreviewScene(const ViewerState& state, PictureKind kind,
                              int maxCells = kPreviewCells);

// Draws the scene with the projection of the whole grid, on the context's threads. Throws
// DrawingCancelled at the first drawing operation after the context was cancelled.
void drawPreview(Canvas& canvas, const PreviewScene& scene, const Projection& projection,
                 const RenderContext& context);

}  // namespace kalvenor
