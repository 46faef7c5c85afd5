#pragma once

#include <string>

#include "render/canvas.h"
#include "render/recorded_canvas.h"

namespace kalvenor {

// Holds back the lines and points drawn on it until flush draws them onto the target canvas, so
// that fills drawn on the target meanwhile cannot cover them. Polygons go to the target at once.
class DeferredLines : public Canvas {
 public:
  explicit DeferredLines(Canvas& target) : target_(target), held_(target) {}

  void clear() override { target_.clear(); }
  void setBackgroundColor(PackedColor color) override { target_.setBackgroundColor(color); }
  void setPenColor(PackedColor color) override {
    penColor_ = color;
    held_.setPenColor(color);
  }
  void setPenWidth(int width) override { held_.setPenWidth(width); }
  void setPenStyle(PenStyle style) override { held_.setPenStyle(style); }
  void setFillColor(PackedColor color) override { target_.setFillColor(color); }
  void setFillStyle(FillStyle style) override { target_.setFillStyle(style); }
  void line(float x1, float y1, float x2, float y2) override { held_.line(x1, y1, x2, y2); }
  void line(float x1, float y1, float x2, float y2, PackedColor color) override {
    held_.line(x1, y1, x2, y2, color);
  }
  void point(float x, float y) override { held_.point(x, y); }
  void polygon(const Quad& corners) override { target_.polygon(corners); }
  void polygonCorners(std::span<const CanvasPoint> corners) override {
    target_.polygonCorners(corners);
  }
  // Text is a label over the picture, not a line within it: it goes to the target at once.
  void text(float x, float y, const std::string& utf8, int size, TextAlign align) override {
    target_.setPenColor(penColor_);
    target_.text(x, y, utf8, size, align);
  }
  double textWidth(const std::string& utf8, int size) const override {
    return target_.textWidth(utf8, size);
  }
  double width() const override { return target_.width(); }
  double height() const override { return target_.height(); }

  // Draws what is held, in the order it came and each with the pen it was drawn with, and
  // forgets it.
  void flush() {
    held_.drawOn(target_);
    held_.forget();
  }

 private:
  Canvas& target_;
  RecordedCanvas held_;
  PackedColor penColor_ = kBlack;
};

}  // namespace kalvenor
