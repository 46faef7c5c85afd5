#pragma once

#include <array>
#include <string>
#include <vector>

#include "model/packed_color.h"
#include "render/canvas.h"

namespace kalvenor {

// A collar's mark: a small octagon `radius` pixels across from its centre, filled in `fill` and
// outlined in black, so that it reads on every unit colour and apart from the survey line's
// square ends.
void drawCollarMark(Canvas& canvas, CanvasPoint at, int radius, PackedColor fill);

// The ids of many holes close together would be written over each other: each is written only
// where it overlaps none written before, so those that are written can be read.
class LabelSpace {
 public:
  // The label as drawLabel writes it, unless it would overlap one written before; true when
  // written.
  bool write(Canvas& canvas, double x, double baseline, const std::string& text, int size,
             TextAlign align);

 private:
  std::vector<std::array<double, 4>> taken_;  // left, top, right, bottom
};

// The hole's id just right of and above its collar mark, in the pen colour; left out when it
// would not lie wholly on the picture or would overlap an id already written.
void drawCollarId(Canvas& canvas, LabelSpace& space, CanvasPoint at, int radius,
                  const std::string& id, int size);

// Draws a line as dashes of a fixed length on the canvas, whatever the canvas's pen styles: the
// pattern carries on from one line to the next until restarted, so that a path of many short
// lines is dashed evenly.
class DashedLine {
 public:
  explicit DashedLine(Canvas& canvas) : canvas_(canvas) {}
  static constexpr double kDash = 6.0;  // pixels drawn
  static constexpr double kGap = 4.0;   // pixels left out

  void restart() { phase_ = 0.0; }
  void draw(CanvasPoint a, CanvasPoint b, PackedColor color);

 private:
  Canvas& canvas_;
  double phase_ = 0.0;  // how far into a dash and its gap the next line starts
};

}  // namespace kalvenor
