#include "render/section_annotations.h"

#include <algorithm>
#include <cmath>

#include "model/axis_ticks.h"
#include "model/number_text.h"
#include "render/section_bends.h"

namespace kalvenor {
namespace {

double lengthOf(const SectionGrid& s) { return s.length(); }

std::string endLabel(const std::string& name, double x, double y) {
  return name + " (" + numberText(std::round(x)) + ", " + numberText(std::round(y)) + ")";
}

std::string exaggerationNote(double Ve) { return "V.E. x" + numberText(Ve); }

// The widest elevation label, to keep room for it left of the section.
double elevationLabelWidth(const Canvas& canvas, const SectionNotes& n, int size) {
  double widest = 0;
  for (const double z : roundTicks(n.Zbase, n.Zmax, 10)) {
    widest = std::max(widest, canvas.textWidth(numberText(z) + " m", size));
  }
  return widest;
}

class SectionNotesDrawing {
 public:
  SectionNotesDrawing(Canvas& canvas, const Projection& projection, const SectionNotes& notes)
      : canvas_(canvas), projection_(projection), n_(notes), size_(annotationTextSize(canvas)) {}

  void draw();

 private:
  MaybePoint along(double distance, double z) const;
  void distanceAxis(const CanvasPoint& start, const CanvasPoint& end);
  void elevationAxis(bool startOnLeft);
  void endLabels(const CanvasPoint& startTop, const CanvasPoint& endTop);

  Canvas& canvas_;
  const Projection& projection_;
  const SectionNotes& n_;
  int size_;
};

MaybePoint SectionNotesDrawing::along(double distance, double z) const {
  const SectionGrid& s = n_.section;
  return projection_.project(s.pictureX(distance), s.pictureY(distance), z);
}

// Ticks down from the base, labels under them left to right; a label that would run into the
// one before it is left out. The last label carries the unit, the exaggeration sits below.
void SectionNotesDrawing::distanceAxis(const CanvasPoint& start, const CanvasPoint& end) {
  const double screenLength = std::hypot(end.x - start.x, end.y - start.y);
  const int most =
      std::max(1, static_cast<int>(screenLength / canvas_.textWidth("00000 m", size_)));
  const std::vector<double> ticks = roundTicks(0, lengthOf(n_.section), most);
  double lastRight = -1e30;
  const bool leftToRight = start.x <= end.x;
  for (std::size_t i = 0; i < ticks.size(); ++i) {
    const double d = leftToRight ? ticks[i] : ticks[ticks.size() - 1 - i];
    const MaybePoint p = along(d, n_.Zbase);
    if (!p) continue;
    const auto x = static_cast<float>(p->x), y = static_cast<float>(p->y);
    canvas_.line(x, y, x, y + 0.5f * static_cast<float>(size_), n_.lineColor);
    const bool last = d == ticks.back();
    const std::string label = numberText(d) + (last ? " m" : "");
    const double width = canvas_.textWidth(label, size_);
    if (p->x - width / 2 < lastRight + 0.5 * size_) continue;
    if (drawLabel(canvas_, p->x, p->y + 1.7 * size_, label, size_, TextAlign::Center)) {
      lastRight = p->x + width / 2;
    }
  }
  if (n_.Ve != 1) {
    const CanvasPoint& right = leftToRight ? end : start;
    drawLabel(canvas_, right.x, right.y + 3.2 * size_, exaggerationNote(n_.Ve), size_,
              TextAlign::Right);
  }
}

// Ticks left of the left end from the base up to the top of the surface; the highest label
// carries the unit.
void SectionNotesDrawing::elevationAxis(bool startOnLeft) {
  const double distance = startOnLeft ? 0 : lengthOf(n_.section);
  const MaybePoint base = along(distance, n_.Zbase), top = along(distance, n_.Zmax);
  if (!base || !top) return;
  const int most = std::max(1, static_cast<int>(std::abs(base->y - top->y) / (1.8 * size_)));
  const std::vector<double> ticks = roundTicks(n_.Zbase, n_.Zmax, most);
  double lastTop = 1e30;
  for (const double z : ticks) {
    const MaybePoint p = along(distance, z);
    if (!p) continue;
    const auto x = static_cast<float>(p->x), y = static_cast<float>(p->y);
    canvas_.line(x - 0.5f * static_cast<float>(size_), y, x, y, n_.lineColor);
    const std::string label = numberText(z) + (z == ticks.back() ? " m" : "");
    const double baseline = p->y + 0.35 * size_;
    if (baseline > lastTop - 0.2 * size_) continue;
    if (drawLabel(canvas_, p->x - 0.8 * size_, baseline, label, size_, TextAlign::Right)) {
      lastTop = baseline - size_;
    }
  }
}

// The name over the start ("A") and primed over the end ("A'"), with their coordinates when both
// fit side by side.
void SectionNotesDrawing::endLabels(const CanvasPoint& startTop, const CanvasPoint& endTop) {
  const SectionGrid& s = n_.section;
  const std::string& name = n_.options.sectionName;
  std::string a = endLabel(name, s.Xstart, s.Ystart), b = endLabel(name + "'", s.Xend, s.Yend);
  const double room = std::abs(endTop.x - startTop.x);
  if ((canvas_.textWidth(a, size_) + canvas_.textWidth(b, size_)) / 2 + size_ > room) {
    a = name;
    b = name + "'";
  }
  const double baseline = std::min(startTop.y, endTop.y) - 1.0 * size_;
  for (const auto& [point, label] : {std::pair{startTop, a}, std::pair{endTop, b}}) {
    // Kept on the picture: a label over an end near the edge moves inward.
    const double half = canvas_.textWidth(label, size_) / 2;
    const double x = std::clamp<double>(point.x, half, std::max(half, canvas_.width() - half));
    drawLabel(canvas_, x, baseline, label, size_, TextAlign::Center);
  }
}

void SectionNotesDrawing::draw() {
  canvas_.setPenColor(n_.lineColor);
  drawTitle(canvas_, n_.options.title, size_);
  const SectionGrid& s = n_.section;
  const MaybePoint start = along(0, n_.Zbase), end = along(lengthOf(s), n_.Zbase);
  const MaybePoint startTop = along(0, n_.Zmax), endTop = along(lengthOf(s), n_.Zmax);
  if (n_.options.axes && start && end && startTop && endTop) {
    setSolidPen(canvas_, n_.lineColor, 1);
    distanceAxis(*start, *end);
    elevationAxis(start->x <= end->x);
    endLabels(*startTop, *endTop);
  }
  if (n_.options.legend && start && end && startTop && endTop) {
    const double right = std::max({start->x, end->x, startTop->x, endTop->x});
    const double top = std::min(startTop->y, endTop->y);
    const double width = legendWidth(canvas_, n_.legend, size_);
    const double left = std::min(right + size_, canvas_.width() - width - 0.5 * size_);
    drawLegend(canvas_, n_.legend, left, top, size_, n_.lineColor);
  }
}

}  // namespace

Margins sectionMargins(const Canvas& canvas, const SectionNotes& n) {
  const int size = annotationTextSize(canvas);
  Margins m{0.5 * size, 0.5 * size + titleHeight(n.options.title, size), 0.5 * size, 0.5 * size};
  if (n.options.axes) {
    const SectionGrid& s = n.section;
    const std::string& name = n.options.sectionName;
    const double ends = std::max(canvas.textWidth(endLabel(name, s.Xstart, s.Ystart), size),
                                 canvas.textWidth(endLabel(name + "'", s.Xend, s.Yend), size)) /
                        2;
    m.left = std::max(elevationLabelWidth(canvas, n, size) + 1.3 * size, ends) + 0.5 * size;
    m.right = ends + 0.5 * size;
    m.top += 2.2 * size;
    m.bottom += (n.Ve != 1 ? 3.5 : 2.1) * size;
  } else {
    m.top += bendLabelRoom(canvas, n.section);
  }
  if (n.options.legend) {
    m.right = std::max(m.right, legendWidth(canvas, n.legend, size) + 1.5 * size);
  }
  return limitedMargins(m, canvas);
}

void drawSectionNotes(Canvas& canvas, const Projection& projection, const SectionNotes& notes) {
  SectionNotesDrawing(canvas, projection, notes).draw();
}

}  // namespace kalvenor
