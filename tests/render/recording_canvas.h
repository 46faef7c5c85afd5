#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "render/canvas.h"

namespace kalvenor {

// Records every drawing operation with the pen and fill state it was drawn with.
class RecordingCanvas : public Canvas {
 public:
  struct Op {
    enum Kind { Clear, Line, Point, Polygon, Text } kind;
    std::vector<double> coords;  // x1, y1, x2, y2 / x, y / the corners / left, baseline
    std::string text = {};
    int size = 0;
    PackedColor pen;
    int penWidth;
    PenStyle penStyle;
    PackedColor fill;
    FillStyle fillStyle;
    friend bool operator==(const Op&, const Op&) = default;
  };

  RecordingCanvas(double width = 800, double height = 600) : width_(width), height_(height) {}

  void clear() override { record(Op::Clear, {}); }
  void setBackgroundColor(PackedColor color) override { background = color; }
  void setPenColor(PackedColor color) override { pen_ = color; }
  void setPenWidth(int width) override { penWidth_ = width; }
  void setPenStyle(PenStyle style) override { penStyle_ = style; }
  void setFillColor(PackedColor color) override { fill_ = color; }
  void setFillStyle(FillStyle style) override { fillStyle_ = style; }
  void line(float x1, float y1, float x2, float y2) override { record(Op::Line, {x1, y1, x2, y2}); }
  void line(float x1, float y1, float x2, float y2, PackedColor color) override {
    const PackedColor pen = pen_;
    pen_ = color;
    record(Op::Line, {x1, y1, x2, y2});
    pen_ = pen;
  }
  void point(float x, float y) override { record(Op::Point, {x, y}); }
  void polygon(const Quad& q) override {
    record(Op::Polygon, {double(q[0].x), double(q[0].y), double(q[1].x), double(q[1].y),
                         double(q[2].x), double(q[2].y), double(q[3].x), double(q[3].y)});
  }
  // Every character is half as wide as it is high, so that layouts can be checked by hand.
  void text(float x, float y, const std::string& utf8, int size, TextAlign align) override {
    const double w = textWidth(utf8, size);
    const double left = align == TextAlign::Left     ? x
                        : align == TextAlign::Center ? x - w / 2
                                                     : x - w;
    record(Op::Text, {left, y});
    ops.back().text = utf8;
    ops.back().size = size;
  }
  double textWidth(const std::string& utf8, int size) const override {
    return 0.5 * size * static_cast<double>(utf8.size());
  }
  void polygonCorners(std::span<const CanvasPoint> corners) override {
    std::vector<double> coords;
    for (const CanvasPoint& c : corners) coords.insert(coords.end(), {double(c.x), double(c.y)});
    record(Op::Polygon, std::move(coords));
  }
  double width() const override { return width_; }
  double height() const override { return height_; }

  std::vector<Op> ops;
  PackedColor background = kWhite;

  std::vector<Op> of(Op::Kind kind) const {
    std::vector<Op> found;
    for (const Op& op : ops) {
      if (op.kind == kind) found.push_back(op);
    }
    return found;
  }
  std::vector<Op> linesIn(PackedColor color) const {
    std::vector<Op> found;
    for (const Op& op : of(Op::Line)) {
      if (op.pen == color) found.push_back(op);
    }
    return found;
  }

 private:
  void record(Op::Kind kind, std::vector<double> coords) {
    ops.push_back({kind, std::move(coords), {}, 0, pen_, penWidth_, penStyle_, fill_, fillStyle_});
  }

  double width_;
  double height_;
  PackedColor pen_ = kBlack;
  int penWidth_ = 1;
  PenStyle penStyle_ = PenStyle::Solid;
  PackedColor fill_ = kBlack;
  FillStyle fillStyle_ = FillStyle::Transparent;
};

// How a test failure shows an operation: kind, coordinates and pen width.
inline void PrintTo(const RecordingCanvas::Op& op, std::ostream* out) {
  *out << "{kind " << op.kind << ", pen width " << op.penWidth << ",";
  for (double c : op.coords) *out << " " << c;
  *out << "}";
}

}  // namespace kalvenor
