#pragma once

#include <QImage>
#include <QRect>
#include <future>
#include <string>
#include <vector>

#include "canvas/painter_canvas.h"

namespace kalvenor {

// A canvas that paints a picture onto an image on all cores: the operations are held in the
// order they come, and every so many of them are handed, as a round, to a thread that paints
// them while the next round is being drawn. With more than two threads the painting is split in
// horizontal bands of the image, each painting every operation of the round on a painter of its
// own over its rows, in order, leaving out those that lie wholly outside it. So the picture is
// the one a single painter on the whole image gives, pixel for pixel (see paintInBand for the
// lines, which need care).
class BandPainting : public Canvas {
 public:
  // `style` is the pen and fill the drawing starts with; `threads` how many may draw and paint;
  // a round is handed over once it holds `opsPerRound` operations.
  BandPainting(QImage& target, const PainterCanvas::Style& style, PackedColor background,
               bool antialiasedLines, int threads, std::size_t opsPerRound = 1 << 16);
  // Waits for the round being painted; what is still held is never painted.
  ~BandPainting() override;

  void clear() override;
  void setBackgroundColor(PackedColor color) override { background_ = color; }
  void setPenColor(PackedColor color) override { style_.penColor = color; }
  void setPenWidth(int width) override { style_.penWidth = width; }
  void setPenStyle(PenStyle style) override { style_.penStyle = style; }
  void setFillColor(PackedColor color) override { style_.fillColor = color; }
  void setFillStyle(FillStyle style) override { style_.fillStyle = style; }
  void line(float x1, float y1, float x2, float y2) override;
  void line(float x1, float y1, float x2, float y2, PackedColor color) override;
  void point(float x, float y) override;
  void polygon(const Quad& corners) override { polygonCorners(corners); }
  void polygonCorners(std::span<const CanvasPoint> corners) override;
  void text(float x, float y, const std::string& utf8, int size, TextAlign align) override;
  double textWidth(const std::string& utf8, int size) const override;
  double width() const override { return target_.width(); }
  double height() const override { return target_.height(); }

  // Paints what is still held and waits until everything is painted.
  void finish();
  const PainterCanvas::Style& style() const { return style_; }
  bool paintedAnything() const { return painted_; }

 private:
  // An operation is a few words: the pen and fill it is painted with come before it, as a Style
  // operation, only where they change.
  enum class Kind : std::uint8_t { Style, Clear, Line, Point, Polygon, Text };
  struct Op {
    Kind kind;
    TextAlign align;             // a text's
    std::int32_t size;           // a text's
    float x1, y1, x2, y2;        // a line's ends, a point, a text's anchor
    std::uint32_t first, count;  // a polygon's corners; a text's or a style's index
  };
  struct Styled {
    PainterCanvas::Style style;
    PackedColor background;
    friend bool operator==(const Styled&, const Styled&) = default;
  };

  // Operations held, with what they refer to. With bands, also the pixels each operation can
  // paint, pen included (empty: anywhere).
  struct Round {
    std::vector<Op> ops;
    std::vector<QRect> reach;
    std::vector<CanvasPoint> corners;
    std::vector<std::string> texts;
    std::vector<Styled> styles;
    void clear() {
      ops.clear();
      reach.clear();
      corners.clear();
      texts.clear();
      styles.clear();
    }
  };
  class OnRows;

  void hold(const Op& op, QRect reach = QRect());
  void holdStyle();
  QRect reachOf(float left, float top, float right, float bottom) const;
  void handOver();
  void waitForPainting();
  void paintRound(const Round& round) const;
  bool paintedWhole(const Op& op) const;
  void paintInBands(const Round& round, std::size_t from, std::size_t to, int style) const;
  void paintInBand(const Round& round, const QRect& band, OnRows& canvas, std::size_t from,
                   std::size_t to, int style) const;
  void paintThrough(const Round& round, const QRect& band, std::size_t index, int style) const;
  static void setStyle(const Round& round, PainterCanvas& canvas, int style);
  static void paint(const Round& round, PainterCanvas& canvas, const Op& op);

  QImage& target_;
  PainterCanvas::Style style_;
  PackedColor background_;
  bool antialiasedLines_;
  bool pipelined_;  // rounds painted on a thread of their own while the next is drawn
  int bands_;
  std::size_t opsPerRound_;
  bool painted_ = false;
  Round held_;
  Round handedOver_;  // the round being painted; its room is taken over by the next one held
  std::future<void> painting_;
};

}  // namespace kalvenor
