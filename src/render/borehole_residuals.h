#pragma once

#include <string>
#include <vector>

#include "evaluation/borehole_check.h"
#include "model/boreholes.h"
#include "model/packed_color.h"
#include "render/canvas.h"
#include "render/projection.h"

namespace kalvenor {

// How well a hole's logged contacts fit the model, by the largest absolute residual of its
// contacts: below 2 m is within what logging and the grids resolve, 10 m and more is a misfit a
// section shows at any ordinary scale. A contact the model has no crossing for is worse than any
// residual; a hole without a residual (no contact, or every contact where the model says
// nothing) tells nothing.
enum class ResidualClass { Below2, Below5, Below10, From10, NotInModel, NoResidual };

inline constexpr int kResidualClasses = 6;

ResidualClass residualClass(const AgreementSummary& hole);

// The colour of a class, green through red as the fit worsens, and the text the legend gives it.
PackedColor residualClassColor(ResidualClass c);
std::string residualClassName(ResidualClass c);

// What the residual map is drawn from: the holes and the check of them, hole by hole in the same
// order.
struct ResidualMap {
  const BoreholeSet& boreholes;
  const BoreholeCheck& check;
  PackedColor lineColor;  // of the legend and the ids
  bool labels = false;    // the holes' ids beside their collars
};

// Every checked hole's collar over the picture already there, filled in the colour of its class,
// the worst drawn last so that none hides behind a better fit, and a legend of the classes in
// the bottom-left corner.
void drawResidualMap(Canvas& canvas, const Projection& projection, const ResidualMap& in);

}  // namespace kalvenor
