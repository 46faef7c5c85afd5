#pragma once

#include <QPainterPath>
#include <QPolygonF>
#include <vector>

#include "canvas/overlap_index.h"
#include "canvas/painter_canvas.h"

namespace kalvenor {

// A canvas for SVG and PDF. Cells and parts of cells filled in one colour without an outline
// become one region per colour, and lines and points are held back with them: a unit is one path
// instead of thousands of quads, no seam shows between its cells in a viewer that antialiases
// every shape on its own, and the file has few elements. Each region is also stroked in its own
// colour a fraction of a pixel wide, which closes the hairline between regions of different
// units. What is held is drawn, regions first and then the lines in their order, as soon as a new
// fill would overlap a held region of another colour or a held line: only shapes that do not
// overlap change places, so the picture is the one painter's order gives.
class VectorCanvas : public DeviceCanvas {
 public:
  VectorCanvas(QPaintDevice& device, QSize size);
  ~VectorCanvas() override;

  void clear() override;
  void line(float x1, float y1, float x2, float y2) override;
  void line(float x1, float y1, float x2, float y2, PackedColor color) override;
  void point(float x, float y) override;
  void polygonCorners(std::span<const CanvasPoint> corners) override;
  void text(float x, float y, const std::string& utf8, int size, TextAlign align) override;
  // Draws what is held, so that the device can go on to a new page.
  void finishPage() { flush(); }

 private:
  struct Region {
    PackedColor color;
    QPainterPath path;
  };
  struct HeldLine {
    Style style;
    bool point;
    QPointF from, to;
  };
  int regionOf(PackedColor color);
  void addPart(QPolygonF part, PackedColor color);
  void hold(const HeldLine& line);
  void flush();

  OverlapIndex held_;
  std::vector<Region> regions_;
  std::vector<HeldLine> lines_;
};

}  // namespace kalvenor
