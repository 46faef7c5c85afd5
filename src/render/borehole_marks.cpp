#include "render/borehole_marks.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "render/annotation_layout.h"

namespace kalvenor {

void drawCollarMark(Canvas& canvas, CanvasPoint at, int radius, PackedColor fill) {
  // The corners of a regular octagon, its flat sides facing the axes.
  const int r = radius, s = static_cast<int>(std::lround(radius * 0.4142));
  const std::array<CanvasPoint, 8> corners{{{at.x + s, at.y - r},
                                            {at.x + r, at.y - s},
                                            {at.x + r, at.y + s},
                                            {at.x + s, at.y + r},
                                            {at.x - s, at.y + r},
                                            {at.x - r, at.y + s},
                                            {at.x - r, at.y - s},
                                            {at.x - s, at.y - r}}};
  setSolidPen(canvas, kBlack, 1);
  canvas.setFillStyle(FillStyle::Solid);
  canvas.setFillColor(fill);
  canvas.polygonCorners(corners);
}

void drawCollarId(Canvas& canvas, LabelSpace& space, CanvasPoint at, int radius,
                  const std::string& id, int size) {
  space.write(canvas, at.x + radius + 2, at.y - radius, id, size, TextAlign::Left);
}

bool LabelSpace::write(Canvas& canvas, double x, double baseline, const std::string& text, int size,
                       TextAlign align) {
  const double width = canvas.textWidth(text, size);
  const double left = align == TextAlign::Left     ? x
                      : align == TextAlign::Center ? x - width / 2
                                                   : x - width;
  // The box drawLabel keeps on the picture: a fifth of the height below the baseline.
  const std::array<double, 4> box{left, baseline - 0.8 * size, left + width,
                                  baseline + 0.25 * size};
  const auto overlaps = [&](const std::array<double, 4>& other) {
    return box[0] < other[2] && other[0] < box[2] && box[1] < other[3] && other[1] < box[3];
  };
  if (std::any_of(taken_.begin(), taken_.end(), overlaps)) return false;
  if (!drawLabel(canvas, x, baseline, text, size, align)) return false;
  taken_.push_back(box);
  return true;
}

void DashedLine::draw(CanvasPoint a, CanvasPoint b, PackedColor color) {
  const double dx = b.x - a.x, dy = b.y - a.y, length = std::hypot(dx, dy);
  constexpr double kPeriod = kDash + kGap;
  double done = 0.0;
  while (done < length) {
    const double step = std::min(length - done, phase_ < kDash ? kDash - phase_ : kPeriod - phase_);
    if (phase_ < kDash) {
      const double t0 = done / length, t1 = (done + step) / length;
      canvas_.line(static_cast<float>(a.x + t0 * dx), static_cast<float>(a.y + t0 * dy),
                   static_cast<float>(a.x + t1 * dx), static_cast<float>(a.y + t1 * dy), color);
    }
    done += step;
    phase_ += step;
    if (phase_ >= kPeriod) phase_ -= kPeriod;
  }
}

}  // namespace kalvenor
