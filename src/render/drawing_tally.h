#pragma once

#include <span>
#include <string>

#include "model/display_surface.h"
#include "render/canvas.h"
#include "render/view_settings.h"

namespace kalvenor {

// Hands every operation on to another canvas and notes whether any line, point or polygon went
// through: a renderer leaves out whatever it cannot project, so a picture can end up empty
// without any step failing.
class DrawingTally : public Canvas {
 public:
  explicit DrawingTally(Canvas& canvas) : canvas_(canvas) {}

  bool drewAnything() const { return drew_; }

  void clear() override { canvas_.clear(); }
  void setBackgroundColor(PackedColor color) override { canvas_.setBackgroundColor(color); }
  void setPenColor(PackedColor color) override { canvas_.setPenColor(color); }
  void setPenWidth(int width) override { canvas_.setPenWidth(width); }
  void setPenStyle(PenStyle style) override { canvas_.setPenStyle(style); }
  void setFillColor(PackedColor color) override { canvas_.setFillColor(color); }
  void setFillStyle(FillStyle style) override { canvas_.setFillStyle(style); }
  void line(float x1, float y1, float x2, float y2) override {
    drew_ = true;
    canvas_.line(x1, y1, x2, y2);
  }
  void line(float x1, float y1, float x2, float y2, PackedColor color) override {
    drew_ = true;
    canvas_.line(x1, y1, x2, y2, color);
  }
  void point(float x, float y) override {
    drew_ = true;
    canvas_.point(x, y);
  }
  void polygon(const Quad& corners) override {
    drew_ = true;
    canvas_.polygon(corners);
  }
  void polygonCorners(std::span<const CanvasPoint> corners) override {
    drew_ = true;
    canvas_.polygonCorners(corners);
  }
  double width() const override { return canvas_.width(); }
  double height() const override { return canvas_.height(); }
  void text(float x, float y, const std::string& utf8, int size, TextAlign align) override {
    canvas_.text(x, y, utf8, size, align);
  }
  double textWidth(const std::string& utf8, int size) const override {
    return canvas_.textWidth(utf8, size);
  }

 private:
  Canvas& canvas_;
  bool drew_ = false;
};

// Why nothing of `what` ("the block", "the section", translated by the caller) reached the
// canvas, for the user: every point of it projected beyond the canvas's reach (or behind the
// eye), which numbers far out of proportion do; names the display surface's file, extent and
// elevations.
std::string nothingDrawnMessage(const std::string& what, const std::string& displayFile,
                                const DisplaySurface& display, const ViewSettings& view);

}  // namespace kalvenor
