#include "render/drawing_tally.h"

#include <algorithm>

#include "model/message_text.h"
#include "model/number_text.h"

namespace kalvenor {

std::string nothingDrawnMessage(const std::string& what, const std::string& displayFile,
                                const DisplaySurface& d, const ViewSettings& view) {
  const char* pattern =
      view.Dist == kParallelDist
          ? translated(
                "{1}: nothing of {2} could be drawn: all of it lies beyond the reach of the "
                "canvas. The display surface spans x {3} to {4} and y {5} to {6} with "
                "elevations from {7} to {8}; elevations or a spacing far out of proportion "
                "(a corrupt raster, for example) do this. Check the display surface, or "
                "lower the magnification or the exaggeration.")
          : translated(
                "{1}: nothing of {2} could be drawn: all of it lies beyond the reach of the "
                "canvas or behind the eye. The display surface spans x {3} to {4} and y "
                "{5} to {6} with elevations from {7} to {8}; elevations or a spacing far "
                "out of proportion (a corrupt raster, for example) do this. Check the "
                "display surface, or lower the magnification or the exaggeration.");
  return fill(pattern,
              {displayFile, what, numberText(std::min(d.Xmin, d.Xmax)),
               numberText(std::max(d.Xmin, d.Xmax)), numberText(std::min(d.Ymin, d.Ymax)),
               numberText(std::max(d.Ymin, d.Ymax)), numberText(d.Zmin), numberText(d.Zmax)});
}

}  // namespace kalvenor
