#pragma once

#include <QPainter>

#include "canvas/whole_pixel_paint.h"
#include "render/canvas.h"

namespace kalvenor {

// The width of a text as every painter canvas draws it.
double painterTextWidth(const std::string& utf8, int size);

// The Canvas operations drawn with a QPainter: pen and fill state, lines, points and
// even-odd quadrilaterals. Where the painter comes from is up to the derived class.
class PainterCanvas : public Canvas {
 public:
  void setPenColor(PackedColor color) override { penColor_ = color; }
  void setPenWidth(int width) override { penWidth_ = width; }
  void setPenStyle(PenStyle style) override { penStyle_ = style; }
  void setFillColor(PackedColor color) override { fillColor_ = color; }
  void setFillStyle(FillStyle style) override { fillStyle_ = style; }
  void setBackgroundColor(PackedColor color) override { background_ = color; }
  void line(float x1, float y1, float x2, float y2) override;
  void line(float x1, float y1, float x2, float y2, PackedColor color) override;
  void point(float x, float y) override;
  void polygon(const Quad& corners) override;
  void text(float x, float y, const std::string& utf8, int size, TextAlign align) override;
  double textWidth(const std::string& utf8, int size) const override;
  void polygonCorners(std::span<const CanvasPoint> corners) override;

  PackedColor backgroundColor() const { return background_; }
  // Lines and points drawn antialiased; fills stay sharp, so neighbouring cells show no seams.
  void setAntialiasedLines(bool on) { antialiasedLines_ = on; }
  bool antialiasedLines() const { return antialiasedLines_; }

  // The pen and fill a drawing leaves behind, so that a drawing that fails can be undone.
  struct Style {
    PackedColor penColor;
    int penWidth;
    PenStyle penStyle;
    PackedColor fillColor;
    FillStyle fillStyle;
    friend bool operator==(const Style&, const Style&) = default;
  };
  Style style() const { return {penColor_, penWidth_, penStyle_, fillColor_, fillStyle_}; }
  void setStyle(const Style& style) {
    penColor_ = style.penColor;
    penWidth_ = style.penWidth;
    penStyle_ = style.penStyle;
    fillColor_ = style.fillColor;
    fillStyle_ = style.fillStyle;
  }

 protected:
  // The painter to draw the next operation with, antialiasing off.
  virtual QPainter& painter() = 0;
  // Called when the painter was ended or replaced, so the next operation sets its pen and brush.
  void forgetApplied();
  // Called after every drawing operation.
  virtual void drawn() {}

 private:
  // The painter's pixels, when fills and points can be written straight into them.
  const std::optional<PixelTarget>& pixelTarget(QPainter& painter);
  void applyPen(QPainter& painter);
  void applyBrush(QPainter& painter);
  void smoothLines(QPainter& painter, bool on) const;

  // A pen or brush as last set on a painter.
  struct Applied {
    PackedColor color;
    int width;
    bool on;
    bool dotted;
    friend bool operator==(const Applied&, const Applied&) = default;
  };

  PackedColor background_ = kWhite;
  PackedColor penColor_ = kBlack;
  int penWidth_ = 1;
  PenStyle penStyle_ = PenStyle::Solid;
  PackedColor fillColor_ = kBlack;
  FillStyle fillStyle_ = FillStyle::Transparent;
  bool antialiasedLines_ = false;
  const QPainter* penOn_ = nullptr;
  const QPainter* brushOn_ = nullptr;
  Applied pen_{}, brush_{};
  const QPainter* targetOf_ = nullptr;
  std::optional<PixelTarget> target_;
};

// A canvas on any paint device, an SVG generator for instance, for one picture: the painter
// is open from construction to destruction.
class DeviceCanvas : public PainterCanvas {
 public:
  DeviceCanvas(QPaintDevice& device, QSize size);

  void clear() override;
  double width() const override { return size_.width(); }
  double height() const override { return size_.height(); }

 protected:
  QPainter& painter() override { return painter_; }

 private:
  QPainter painter_;
  QSize size_;
};

}  // namespace kalvenor
