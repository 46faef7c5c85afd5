#include "session/session.h"

namespace kalvenor {

// A command drawn again over the same picture adds nothing to draw again.
void Session::drewOver(std::int16_t mode) {
  state_.drawOptions.DrawMode = mode;
  if (state_.overlays.empty() || state_.overlays.back() != mode) state_.overlays.push_back(mode);
}

Warnings Session::redrawPicture(Canvas& canvas) {
  const PictureKind kind = redrawablePicture();
  if (kind == PictureKind::None) return {};
  // Drawing the picture forgets what was drawn over it; each overlay drawn again records itself.
  const std::vector<std::int16_t> overlays = state_.overlays;
  Warnings warnings;
  const auto add = [&warnings](const Warnings& more) {
    warnings.insert(warnings.end(), more.begin(), more.end());
  };
  if (kind == PictureKind::Map) {
    add(drawGeoMap(canvas));
  } else {
    drawSection(canvas);
  }
  for (const std::int16_t mode : overlays) {
    if (mode == kContourMap) add(drawContourMap(canvas));
    if (mode == kGridLines) add(drawGridLines(canvas));
    if (mode == kSurveyLine) drawSurveyLine(canvas);
  }
  return warnings;
}

}  // namespace kalvenor
