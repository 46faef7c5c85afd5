#pragma once

#include <functional>

#include "canvas/image_canvas.h"
#include "session/session.h"

namespace kalvenor {

// A drawing of the session's on the drawing window's picture, painted on all cores
// (ImageCanvas::drawInBands); what the drawing had to say.
inline Warnings drawInBands(ImageCanvas& canvas, const std::function<Warnings(Canvas&)>& draw) {
  Warnings warnings;
  canvas.drawInBands([&](Canvas& bands) { warnings = draw(bands); });
  return warnings;
}

}  // namespace kalvenor
