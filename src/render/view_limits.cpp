#include "render/view_limits.h"

#include <cmath>

#include "model/number_text.h"

namespace kalvenor {
namespace {

std::optional<std::string> factorProblem(const std::string& name, double value) {
  if (std::isfinite(value) && value > 0 && value <= kMaxViewFactor) return std::nullopt;
  return "The " + name + " must be a number above 0 and at most " + numberText(kMaxViewFactor) +
         "; " + numberText(value) + " cannot make a picture.";
}

}  // namespace

std::optional<std::string> viewProblem(const ViewSettings& v, double Zbase,
                                       const DisplaySurface& d) {
  if (auto problem = factorProblem("magnification", v.Sca)) return problem;
  if (auto problem = factorProblem("vertical exaggeration", v.Ve)) return problem;
  if (v.Dist != kParallelDist) {
    if (!(std::isfinite(v.Dist) && v.Dist > 0)) {
      return "The perspective distance must be a number above 0; " + numberText(v.Dist) +
             " puts the eye inside or behind the block.";
    }
    if (!(std::isfinite(v.Ppz) && v.Ppz < v.Dist)) {
      return "The perspective plane (" + numberText(v.Ppz) +
             ") must lie between the view centre and the eye (distance " + numberText(v.Dist) +
             "); otherwise the picture is turned inside out.";
    }
  }
  return d.loaded() ? baseProblem(Zbase, d) : std::nullopt;
}

}  // namespace kalvenor
