#include "render/borehole_section.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>

#include "render/annotation_layout.h"
#include "render/borehole_marks.h"
#include "render/borehole_polyline.h"
#include "render/borehole_trace.h"
#include "render/cell_paint.h"

namespace kalvenor {
namespace {

constexpr double kStripHalfWidth = 5.0;  // pixels from the trace to either side of the column
constexpr double kTickBeyond = 4.0;      // pixels a contact's tick reaches past the column
constexpr double kLabelGap = 4.0;        // pixels between the column's top and the id's baseline

// The survey line: its start, its direction and its length.
struct SurveyLine {
  double x0, y0, ux, uy, length;

  explicit SurveyLine(const SectionGrid& s)
      : x0(s.Xstart), y0(s.Ystart), length(std::hypot(s.Xend - s.Xstart, s.Yend - s.Ystart)) {
    ux = length > 0 ? (s.Xend - s.Xstart) / length : std::sin(s.Fai);
    uy = length > 0 ? (s.Yend - s.Ystart) / length : std::cos(s.Fai);
  }
  double along(const HoleStation& p) const { return ux * (p.x - x0) + uy * (p.y - y0); }
};

// The sides of the band around the survey line: between its ends, within the buffer either side
// and above the base.
std::array<KeepSide, 5> bandSides(const SurveyLine& l, double buffer, double Zbase) {
  const double alongAtOrigin = -(l.ux * l.x0 + l.uy * l.y0);
  const double acrossAtOrigin = -(l.uy * l.x0 - l.ux * l.y0);
  return {{{l.ux, l.uy, 0, alongAtOrigin},
           {-l.ux, -l.uy, 0, l.length - alongAtOrigin},
           {l.uy, -l.ux, 0, buffer + acrossAtOrigin},
           {-l.uy, l.ux, 0, buffer - acrossAtOrigin},
           {0, 0, 1, -Zbase}}};
}

// A point of the strip on the canvas, with its depth along the hole.
struct StripPoint {
  double x, y, depth;
};

using StripRun = std::vector<StripPoint>;

// The section's parts of the hole on the canvas, broken where a point cannot be projected.
std::vector<StripRun> stripRuns(const Borehole& hole, const SectionBoreholes& in,
                                const Projection& projection) {
  const SurveyLine line(in.section);
  std::vector<StripRun> runs;
  for (const auto& part : holeOnSection(hole, in)) {
    runs.emplace_back();
    for (const SectionStation& p : part) {
      const SectionGrid& s = in.section;
      const MaybePoint at =
          s.unfolded()
              ? projection.project(s.pictureX(p.along), s.pictureY(p.along), p.z)
              : projection.project(line.x0 + p.along * line.ux, line.y0 + p.along * line.uy, p.z);
      if (!at) {
        if (!runs.back().empty()) runs.emplace_back();
        continue;
      }
      runs.back().push_back({double(at->x), double(at->y), p.depth});
    }
  }
  std::erase_if(runs, [](const StripRun& run) { return run.size() < 2; });
  return runs;
}

CanvasPoint pixel(double x, double y) {
  return {static_cast<std::int32_t>(std::lround(x)), static_cast<std::int32_t>(std::lround(y))};
}

// A segment of the strip on the canvas: its ends, its unit normal and the interval it lies in.
struct StripSegment {
  StripPoint a, b;
  double nx, ny;
  int interval;
};

std::vector<StripSegment> segmentsOf(const StripRun& run, const Borehole& hole) {
  std::vector<StripSegment> segments;
  for (std::size_t n = 1; n < run.size(); ++n) {
    const StripPoint &a = run[n - 1], &b = run[n];
    const double length = std::hypot(b.x - a.x, b.y - a.y);
    if (length == 0) continue;
    segments.push_back({a, b, -(b.y - a.y) / length, (b.x - a.x) / length,
                        intervalAt(hole, 0.5 * (a.depth + b.depth))});
  }
  return segments;
}

void fillSegments(Canvas& canvas, const std::vector<StripSegment>& segments, const Borehole& hole,
                  const std::vector<PackedColor>& unitColor) {
  const double w = kStripHalfWidth;
  for (const StripSegment& s : segments) {
    if (s.interval < 0) continue;
    const Quad quad{
        pixel(s.a.x + w * s.nx, s.a.y + w * s.ny), pixel(s.b.x + w * s.nx, s.b.y + w * s.ny),
        pixel(s.b.x - w * s.nx, s.b.y - w * s.ny), pixel(s.a.x - w * s.nx, s.a.y - w * s.ny)};
    fillCell(canvas, quad, loggedUnitColor(unitColor, hole.intervals[s.interval].unit));
  }
}

// A line across the strip at p, `half` pixels to either side along the normal.
void across(Canvas& canvas, const StripPoint& p, const StripSegment& s, double half) {
  canvas.line(static_cast<float>(p.x + half * s.nx), static_cast<float>(p.y + half * s.ny),
              static_cast<float>(p.x - half * s.nx), static_cast<float>(p.y - half * s.ny));
}

// Where the column changes from the segment before to `s`: its end, its start, or a contact
// where the log names another unit.
void markChange(Canvas& canvas, const StripSegment* before, const StripSegment& s,
                const Borehole& hole) {
  const int was = before ? before->interval : -1;
  if (was == s.interval) return;
  if (was >= 0 && s.interval >= 0) {
    if (hole.intervals[was].logged != hole.intervals[s.interval].logged)
      across(canvas, s.a, s, kStripHalfWidth + kTickBeyond);
    return;
  }
  across(canvas, s.a, s.interval >= 0 ? s : *before, kStripHalfWidth);
}

// Both sides of the column along a straight stretch of it, however many segments it spans.
void drawSides(Canvas& canvas, const StripSegment& from, const StripPoint& to) {
  for (const double side : {kStripHalfWidth, -kStripHalfWidth}) {
    canvas.line(static_cast<float>(from.a.x + side * from.nx),
                static_cast<float>(from.a.y + side * from.ny),
                static_cast<float>(to.x + side * from.nx),
                static_cast<float>(to.y + side * from.ny));
  }
}

bool straightOn(const StripSegment& a, const StripSegment& b) {
  return std::abs(a.nx - b.nx) < 1e-9 && std::abs(a.ny - b.ny) < 1e-9;
}

void outlineSegments(Canvas& canvas, const std::vector<StripSegment>& segments,
                     const Borehole& hole) {
  const StripSegment* before = nullptr;
  const StripSegment* straight = nullptr;  // where the sides drawn next start
  for (const StripSegment& s : segments) {
    markChange(canvas, before, s, hole);
    if (straight && (s.interval < 0 || !straightOn(*straight, s))) {
      drawSides(canvas, *straight, before->b);
      straight = nullptr;
    }
    if (s.interval >= 0 && !straight) straight = &s;
    before = &s;
  }
  if (straight) drawSides(canvas, *straight, before->b);
  if (before && before->interval >= 0) across(canvas, before->b, *before, kStripHalfWidth);
}

// The strip of one hole; the canvas point where its shallowest logged stretch starts, nothing
// when none is drawn.
std::optional<StripPoint> drawStrip(Canvas& canvas, const Projection& projection,
                                    const SectionBoreholes& in, const Borehole& hole) {
  const std::vector<StripRun> runs = stripRuns(hole, in, projection);
  if (runs.empty()) return std::nullopt;
  std::vector<std::vector<StripSegment>> segments;
  segments.reserve(runs.size());
  for (const StripRun& run : runs) segments.push_back(segmentsOf(run, hole));
  for (const auto& run : segments) fillSegments(canvas, run, hole, in.unitColor);
  setSolidPen(canvas, kBlack, 1);
  for (const auto& run : segments) outlineSegments(canvas, run, hole);
  for (const auto& run : segments) {
    for (const StripSegment& s : run) {
      if (s.interval >= 0) return s.a;
    }
  }
  return std::nullopt;
}

}  // namespace

double defaultBoreholeBuffer(const GridHeader& display) {
  return 5.0 * std::max(std::abs(display.Dx), std::abs(display.Dy));
}

std::vector<std::vector<SectionStation>> holeOnSection(const Borehole& hole,
                                                       const SectionBoreholes& in) {
  if (in.section.unfolded()) return holeOnPolyline(hole, in);
  const SurveyLine line(in.section);
  if (!(line.length > 0)) return {};  // no section built
  const auto sides = bandSides(line, in.buffer, in.Zbase);
  const std::vector<HoleStation> points = tracePoints(hole);
  std::vector<std::vector<SectionStation>> parts;
  for (const auto& part : clipPath(points, sides)) {
    parts.emplace_back();
    for (const HoleStation& p : part) parts.back().push_back({line.along(p), p.z, p.depth});
  }
  return parts;
}

void drawSectionBoreholes(Canvas& canvas, const Projection& projection,
                          const SectionBoreholes& in) {
  if (!(in.buffer >= 0)) return;
  struct Label {
    StripPoint at;
    const std::string* id;
  };
  std::vector<Label> labels;
  for (const Borehole& hole : in.boreholes.holes) {
    if (const auto top = drawStrip(canvas, projection, in, hole))
      labels.push_back({*top, &hole.id});
  }
  // The ids after every strip, so that no column covers one; one that would overlap another is
  // left out.
  setSolidPen(canvas, in.lineColor, 1);
  const int size = annotationTextSize(canvas);
  LabelSpace space;
  for (const Label& label : labels) {
    space.write(canvas, label.at.x, label.at.y - kLabelGap, *label.id, size, TextAlign::Center);
  }
}

}  // namespace kalvenor
