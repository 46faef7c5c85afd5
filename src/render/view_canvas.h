#pragma once

namespace kalvenor {

// The canvas a view is applied to: its size in pixels, and the whole pixels the picture is moved
// by after projection, 0 but in a view fitted to the canvas.
struct ViewCanvas {
  double width = 0;
  double height = 0;
  double ShiftX = 0;
  double ShiftY = 0;
  friend bool operator==(const ViewCanvas&, const ViewCanvas&) = default;
};

}  // namespace kalvenor
