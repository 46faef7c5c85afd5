#pragma once

#include <vector>

#include "render/canvas.h"

namespace kalvenor {

// Holds back the lines and points drawn on it until flush draws them onto the target canvas, so
// that fills drawn on the target meanwhile cannot cover them. Polygons go to the target at once.
class DeferredLines : public Canvas {
 public:
  explicit DeferredLines(Canvas& target) : target_(target) {}

  void clear() override { target_.clear(); }
  void setBackgroundColor(PackedColor color) override { target_.setBackgroundColor(color); }
  void setPenColor(PackedColor color) override { pen_.color = color; }
  void setPenWidth(int width) override { pen_.width = width; }
  void setPenStyle(PenStyle style) override { pen_.style = style; }
  void setFillColor(PackedColor color) override { target_.setFillColor(color); }
  void setFillStyle(FillStyle style) override { target_.setFillStyle(style); }
  void line(float x1, float y1, float x2, float y2) override {
    held_.push_back({pen_, false, x1, y1, x2, y2});
  }
  void line(float x1, float y1, float x2, float y2, PackedColor color) override {
    Pen pen = pen_;
    pen.color = color;
    held_.push_back({pen, false, x1, y1, x2, y2});
  }
  void point(float x, float y) override { held_.push_back({pen_, true, x, y, x, y}); }
  void polygon(const Quad& corners) override { target_.polygon(corners); }
  void polygonCorners(std::span<const CanvasPoint> corners) override {
    target_.polygonCorners(corners);
  }
  // Text is a label over the picture, not a line within it: it goes to the target at once.
  void text(float x, float y, const std::string& utf8, int size, TextAlign align) override {
    target_.setPenColor(pen_.color);
    target_.text(x, y, utf8, size, align);
  }
  double textWidth(const std::string& utf8, int size) const override {
    return target_.textWidth(utf8, size);
  }
  double width() const override { return target_.width(); }
  double height() const override { return target_.height(); }

  // Draws what is held, in the order it came, and forgets it.
  void flush() {
    for (const Held& h : held_) {
      target_.setPenColor(h.pen.color);
      target_.setPenWidth(h.pen.width);
      target_.setPenStyle(h.pen.style);
      if (h.point) {
        target_.point(h.x1, h.y1);
      } else {
        target_.line(h.x1, h.y1, h.x2, h.y2);
      }
    }
    held_.clear();
  }

 private:
  struct Pen {
    PackedColor color = kBlack;
    int width = 1;
    PenStyle style = PenStyle::Solid;
  };
  struct Held {
    Pen pen;
    bool point;
    float x1, y1, x2, y2;
  };

  Canvas& target_;
  Pen pen_;
  std::vector<Held> held_;
};

}  // namespace kalvenor
