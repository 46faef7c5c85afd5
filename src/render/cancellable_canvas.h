#pragma once

#include <atomic>
#include <exception>
#include <span>
#include <string>

#include "model/render_context.h"
#include "render/canvas.h"

namespace kalvenor {

// Thrown by a CancellableCanvas once the picture it draws is no longer wanted.
class DrawingCancelled : public std::exception {
 public:
  const char* what() const noexcept override { return "the drawing was cancelled"; }
};

// Hands every operation on to another canvas after looking at a flag that another thread may
// set: once it is set, the next operation throws DrawingCancelled. A renderer thus stops
// between two cells without knowing that it runs on a thread of its own.
class CancellableCanvas : public Canvas {
 public:
  CancellableCanvas(Canvas& canvas, const std::atomic<bool>& cancelled)
      : canvas_(canvas), cancelled_(cancelled) {}

  void clear() override { go().clear(); }
  void setBackgroundColor(PackedColor color) override { go().setBackgroundColor(color); }
  void setPenColor(PackedColor color) override { go().setPenColor(color); }
  void setPenWidth(int width) override { go().setPenWidth(width); }
  void setPenStyle(PenStyle style) override { go().setPenStyle(style); }
  void setFillColor(PackedColor color) override { go().setFillColor(color); }
  void setFillStyle(FillStyle style) override { go().setFillStyle(style); }
  void line(float x1, float y1, float x2, float y2) override { go().line(x1, y1, x2, y2); }
  void line(float x1, float y1, float x2, float y2, PackedColor color) override {
    go().line(x1, y1, x2, y2, color);
  }
  void point(float x, float y) override { go().point(x, y); }
  void polygon(const Quad& corners) override { go().polygon(corners); }
  void polygonCorners(std::span<const CanvasPoint> corners) override {
    go().polygonCorners(corners);
  }
  double width() const override { return canvas_.width(); }
  double height() const override { return canvas_.height(); }
  void text(float x, float y, const std::string& utf8, int size, TextAlign align) override {
    go().text(x, y, utf8, size, align);
  }
  double textWidth(const std::string& utf8, int size) const override {
    return canvas_.textWidth(utf8, size);
  }

 private:
  Canvas& go() {
    if (cancelled_.load(std::memory_order_relaxed)) throw DrawingCancelled();
    return canvas_;
  }

  Canvas& canvas_;
  const std::atomic<bool>& cancelled_;
};

// Runs draw(canvas), on a CancellableCanvas over `canvas` when the context can be cancelled.
template <typename Draw>
void drawUnlessCancelled(Canvas& canvas, const RenderContext& context, const Draw& draw) {
  if (!context.cancelled) return draw(canvas);
  CancellableCanvas checked(canvas, *context.cancelled);
  draw(checked);
}

}  // namespace kalvenor
