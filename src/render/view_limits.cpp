#include "render/view_limits.h"

#include <cmath>

#include "model/message_text.h"
#include "model/number_text.h"

namespace kalvenor {
namespace {

bool usableFactor(double value) {
  return std::isfinite(value) && value > 0 && value <= kMaxViewFactor;
}

// `pattern` says which factor, with the limit as {1} and the value as {2}.
std::string factorProblem(const char* pattern, double value) {
  return fill(pattern, {numberText(kMaxViewFactor), numberText(value)});
}

}  // namespace

std::optional<std::string> viewProblem(const ViewSettings& v, double Zbase,
                                       const DisplaySurface& d) {
  if (!usableFactor(v.Sca)) {
    return factorProblem(translated("The magnification must be a number above 0 and at most {1}; "
                                    "{2} cannot make a picture."),
                         v.Sca);
  }
  if (!usableFactor(v.Ve)) {
    return factorProblem(translated("The vertical exaggeration must be a number above 0 and at "
                                    "most {1}; {2} cannot make a picture."),
                         v.Ve);
  }
  if (v.Dist != kParallelDist) {
    if (!(std::isfinite(v.Dist) && v.Dist > 0)) {
      return fill(translated("The perspective distance must be a number above 0; {1} puts the eye "
                             "inside or behind the block."),
                  {numberText(v.Dist)});
    }
    if (!(std::isfinite(v.Ppz) && v.Ppz < v.Dist)) {
      return fill(translated("The perspective plane ({1}) must lie between the view centre and the "
                             "eye (distance {2}); otherwise the picture is turned inside out."),
                  {numberText(v.Ppz), numberText(v.Dist)});
    }
  }
  return d.loaded() ? baseProblem(Zbase, d) : std::nullopt;
}

}  // namespace kalvenor
