#include "render/drawing_tally.h"

#include <algorithm>

#include "model/number_text.h"

namespace kalvenor {

std::string nothingDrawnMessage(const std::string& what, const std::string& displayFile,
                                const DisplaySurface& d, const ViewSettings& view) {
  const std::string where = view.Dist == kParallelDist
                                ? "beyond the reach of the canvas"
                                : "beyond the reach of the canvas or behind the eye";
  const auto range = [](double a, double b) {
    return numberText(std::min(a, b)) + " to " + numberText(std::max(a, b));
  };
  return displayFile + ": nothing of " + what + " could be drawn: all of it lies " + where +
         ". The display surface spans x " + range(d.Xmin, d.Xmax) + " and y " +
         range(d.Ymin, d.Ymax) + " with elevations from " + numberText(d.Zmin) + " to " +
         numberText(d.Zmax) +
         "; elevations or a spacing far out of proportion (a corrupt raster, for example) do "
         "this. Check the display surface, or lower the magnification or the exaggeration.";
}

}  // namespace kalvenor
