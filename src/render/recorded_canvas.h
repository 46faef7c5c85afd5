#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "render/canvas.h"

namespace kalvenor {

// Holds what is drawn on it, to be drawn again on another canvas later: so that parts of a
// picture can be drawn on several threads and painted in their order on one, and lines held back
// until the fills around them are done (DeferredLines). A pen or fill
// setting is held only where it changes what the canvas would have, so the canvas it is drawn
// on again has the settings it would have had at every operation.
//
// Marks divide what is held into stretches that may be drawn again apart from each other, with
// another recording's stretch in between: after a mark every setting is held again.
class RecordedCanvas : public Canvas {
 public:
  // Where a stretch starts or ends.
  struct Mark {
    std::size_t op = 0, corner = 0, text = 0;
  };

  // `measure` answers for the size of the picture and the width of texts.
  explicit RecordedCanvas(const Canvas& measure) : measure_(measure) {}

  void clear() override { hold(Call::Clear); }
  void setBackgroundColor(PackedColor color) override { set(Setting::Background, color); }
  void setPenColor(PackedColor color) override { set(Setting::PenColor, color); }
  void setPenWidth(int width) override { set(Setting::PenWidth, width); }
  void setPenStyle(PenStyle style) override { set(Setting::PenStyle, static_cast<int>(style)); }
  void setFillColor(PackedColor color) override { set(Setting::FillColor, color); }
  void setFillStyle(FillStyle style) override { set(Setting::FillStyle, static_cast<int>(style)); }
  void line(float x1, float y1, float x2, float y2) override;
  void line(float x1, float y1, float x2, float y2, PackedColor color) override;
  void point(float x, float y) override;
  void polygon(const Quad& corners) override;
  void polygonCorners(std::span<const CanvasPoint> corners) override;
  void text(float x, float y, const std::string& utf8, int size, TextAlign align) override;
  double textWidth(const std::string& utf8, int size) const override {
    return measure_.textWidth(utf8, size);
  }
  double width() const override { return measure_.width(); }
  double height() const override { return measure_.height(); }

  // The end of what is held so far; every setting after it is held again.
  Mark mark();
  // Holds nothing any more, as if just made.
  void forget();
  // Draws what was held between two marks on `canvas`, in the order it came.
  void drawOn(Canvas& canvas, const Mark& from, const Mark& to) const;
  void drawOn(Canvas& canvas) const { drawOn(canvas, {}, end()); }
  Mark end() const { return {ops_.size(), corners_.size(), texts_.size()}; }

 private:
  enum class Setting : std::uint8_t {
    Background,
    PenColor,
    PenWidth,
    PenStyle,
    FillColor,
    FillStyle
  };
  static constexpr int kSettings = 6;
  enum class Call : std::uint8_t {
    Setting,  // `value` for setting `setting`
    Clear,
    Line,
    LineIn,  // in colour `value`
    Point,
    Quad,     // four corners
    Polygon,  // `value` corners
    Text,     // text number `value`
  };
  struct Op {
    Call call;
    Setting setting;
    std::int32_t value;
    float x1, y1, x2, y2;
  };
  struct Text {
    std::string utf8;
    int size;
    TextAlign align;
  };

  void hold(Call call, std::int32_t value = 0, float x1 = 0, float y1 = 0, float x2 = 0,
            float y2 = 0) {
    ops_.push_back({call, Setting::Background, value, x1, y1, x2, y2});
  }
  // Inline: a map sets the fill of every cell again, most often to what it was.
  void set(Setting setting, std::int32_t value) {
    const auto s = static_cast<std::size_t>(setting);
    if (known_[s] && setting_[s] == value) return;
    known_[s] = true;
    setting_[s] = value;
    ops_.push_back({Call::Setting, setting, value, 0, 0, 0, 0});
  }
  static void apply(Canvas& canvas, Setting setting, std::int32_t value);

  const Canvas& measure_;
  std::vector<Op> ops_;
  std::vector<CanvasPoint> corners_;
  std::vector<Text> texts_;
  // The settings as the ops held so far leave them; unknown at the start and after a mark.
  std::int32_t setting_[kSettings] = {};
  bool known_[kSettings] = {};
};

}  // namespace kalvenor
