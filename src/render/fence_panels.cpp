#include "render/fence_panels.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "evaluation/angles.h"
#include "render/cancellable_canvas.h"
#include "render/column_cell_painter.h"
#include "render/column_nodes.h"
#include "render/fence_detail.h"
#include "render/trace_units.h"

namespace kalvenor {
namespace {

bool groundKnown(const SectionGrid& s, int h) {
  return h >= static_cast<int>(s.groundKnown.size()) || s.groundKnown[h];
}

// The cells of one panel, painted as a section's are but standing on the panel's own line.
class PanelDrawing {
 public:
  PanelDrawing(Canvas& canvas, const Projection& projection, const FencePanel& panel,
               const ColumnCellLook& look, const ClassifyAt& classify)
      : projection_(projection),
        panel_(panel),
        nodes_(panel.grid.nV, [this](int h, int v) { return projectNode(h, v); }),
        cells_(
            canvas, nodes_, panel.grid.nV, look, panel.profile, classify,
            [this](int h, std::vector<std::int32_t>& units) {
              for (int v = 1; v <= panel_.grid.nV; ++v) units[v] = panel_.grid.unit(h, v);
            },
            [this](int h, std::vector<double>& heights) {
              panel_.section.surfaceGapColumn(h, heights);
            }) {}

  void drawStrip(int h) {
    cells_.drawColumns(h, h + 1);
    cells_.finishFills();
    cells_.drawHeldLines();
  }

 private:
  MaybePoint projectNode(int h, int v) const {
    if (!groundKnown(panel_.section, h)) return std::nullopt;
    const VerticalGrid& g = panel_.grid;
    return projection_.project(g.x(h), g.y(h), g.z(v));
  }

  const Projection& projection_;
  const FencePanel& panel_;
  ColumnNodes nodes_;
  ColumnCellPainter cells_;
};

// The look of a section, under the map's draw options.
ColumnCellLook panelLook(const Projection& projection, const FencePicture& picture) {
  const PictureStyle& style = picture.style;
  return {.options = style.options,
          .unitColor = style.unitColor,
          .boundaryColor = style.boundaryColor,
          .smooth = style.options.contacts == Contacts::Smooth,
          .traced = style.options.DrawBoundary,
          .boundaries = gridsMatchModel(style.model, style.boundaryGrids) ? style.model.Nbd : 0,
          .groundLine = true,
          .runs = projection.parallel() && style.options.DrawMode != DrawingMode::GridLines,
          .zEps = picture.zEps};
}

}  // namespace

std::vector<FenceStrip> stripsFarToNear(const Projection& projection,
                                        const std::vector<const FencePanel*>& panels) {
  struct Placed {
    FenceStrip strip;
    double nearness;  // larger nearer the eye
  };
  const double towardX = std::sin(projection.view().Alpha * kDegree);
  const double towardY = std::cos(projection.view().Alpha * kDegree);
  const auto nearness = [&](double x, double y) {
    if (projection.parallel()) return towardX * x + towardY * y;
    return -std::hypot(x - projection.Xeye(), y - projection.Yeye());
  };
  std::vector<Placed> placed;
  for (int p = 0; p < static_cast<int>(panels.size()); ++p) {
    const FencePanel& panel = *panels[p];
    const VerticalGrid& g = panel.grid;
    for (int h = 1; h < g.nH; ++h) {
      if (!groundKnown(panel.section, h) || !groundKnown(panel.section, h + 1)) continue;
      placed.push_back({{p, h}, nearness((g.x(h) + g.x(h + 1)) / 2, (g.y(h) + g.y(h + 1)) / 2)});
    }
  }
  std::stable_sort(placed.begin(), placed.end(),
                   [](const Placed& a, const Placed& b) { return a.nearness < b.nearness; });
  std::vector<FenceStrip> strips;
  strips.reserve(placed.size());
  for (const Placed& p : placed) strips.push_back(p.strip);
  return strips;
}

std::vector<FenceStrip> stripsFarToNear(const Projection& projection,
                                        const std::vector<FencePanel>& panels) {
  std::vector<const FencePanel*> each;
  each.reserve(panels.size());
  for (const FencePanel& panel : panels) each.push_back(&panel);
  return stripsFarToNear(projection, each);
}

void drawFence(Canvas& canvas, const Projection& projection, const FencePicture& picture,
               const RenderContext& context) {
  if (picture.panels.empty()) return;
  const PictureStyle& style = picture.style;
  const ColumnCellLook look = panelLook(projection, picture);
  const ClassifyAt classify = traceUnits(style.model, style.boundaryGrids);
  const int Nbd = look.boundaries;
  std::vector<FencePanel> coarse;
  coarse.reserve(picture.panels.size());
  std::vector<const FencePanel*> shown;
  shown.reserve(picture.panels.size());
  for (const FencePanel& panel : picture.panels) {
    auto inDetail = panelInDetail(panel, panelStride(panel, projection), style.boundaryGrids, Nbd);
    if (!inDetail) {
      shown.push_back(&panel);
      continue;
    }
    coarse.push_back(std::move(*inDetail));
    shown.push_back(&coarse.back());
  }
  const std::vector<FenceStrip> strips = stripsFarToNear(projection, shown);
  drawUnlessCancelled(canvas, context, [&](Canvas& on) {
    std::vector<std::unique_ptr<PanelDrawing>> panels;
    panels.reserve(shown.size());
    for (const FencePanel* panel : shown) {
      panels.push_back(std::make_unique<PanelDrawing>(on, projection, *panel, look, classify));
    }
    for (const FenceStrip& strip : strips) panels[strip.panel]->drawStrip(strip.h);
  });
}

}  // namespace kalvenor
