#include "session/session.h"

namespace kalvenor {

// A command drawn again over the same picture adds nothing to draw again. Each command that draws
// over the picture is the drawing mode from then on; a clear leaves the mode as it was.
void Session::drewOver(DrawnOver what) {
  if (what == DrawnOver::Contours) state_.drawOptions.DrawMode = DrawingMode::ContourMap;
  if (what == DrawnOver::GridLines) state_.drawOptions.DrawMode = DrawingMode::GridLines;
  if (what == DrawnOver::SurveyLine) state_.drawOptions.DrawMode = DrawingMode::SurveyLine;
  if (state_.overlays.empty() || state_.overlays.back() != what) state_.overlays.push_back(what);
}

void Session::clearPicture(Canvas& canvas) {
  canvas.clear();
  drewOver(DrawnOver::Clear);
  notify(Change::Picture);
}

Warnings Session::drawOver(Canvas& canvas, DrawnOver what) {
  switch (what) {
    case DrawnOver::Contours:
      return drawContourMap(canvas);
    case DrawnOver::GridLines:
      return drawGridLines(canvas);
    case DrawnOver::SurveyLine:
      drawSurveyLine(canvas);
      return {};
    case DrawnOver::Clear:
      clearPicture(canvas);
      return {};
  }
  return {};
}

Warnings Session::redrawPicture(Canvas& canvas) {
  const PictureKind kind = redrawablePicture();
  if (kind == PictureKind::None) return {};
  // Drawing the picture forgets what was drawn over it; each overlay drawn again records itself.
  const std::vector<DrawnOver> overlays = state_.overlays;
  Warnings warnings;
  const auto add = [&warnings](const Warnings& more) {
    warnings.insert(warnings.end(), more.begin(), more.end());
  };
  if (kind == PictureKind::Map) {
    add(drawGeoMap(canvas));
  } else {
    drawSection(canvas);
  }
  for (const DrawnOver what : overlays) add(drawOver(canvas, what));
  return warnings;
}

}  // namespace kalvenor
