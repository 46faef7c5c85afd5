#include "evaluation/polyline_section.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <string>

#include "evaluation/grid_builds.h"
#include "evaluation/section_line_sampling.h"
#include "model/message_text.h"
#include "model/number_text.h"

namespace kalvenor {
namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();

// The azimuth from a towards b, clockwise from north, in (-pi, pi]: for a line heading north the
// value a straight section takes, so a segment is sampled as that section is.
double azimuthTowards(const SurveyVertex& a, const SurveyVertex& b) {
  const double dx = b.x - a.x, dy = b.y - a.y;
  if (dy > 0) return std::atan(dx / dy);
  if (dy < 0) return std::atan(dx / dy) + (dx >= 0 ? std::numbers::pi : -std::numbers::pi);
  return dx >= 0 ? 1.570796326794895 : -1.570796326794895;
}

// A stretch of one segment that the section runs along.
struct Stretch {
  SurveyVertex from, to;
  double Fai = 0.0;
  int segment = 0;  // the segment from vertex `segment` to the next
};

// The part of segment i (from vertex i, 0-based) over the display rectangle, as distances from
// its first vertex; the first segment runs on backwards and the last forwards without end.
std::optional<LineSpan> overDisplay(const DisplaySurface& d, const std::vector<SurveyVertex>& v,
                                    std::size_t i) {
  const double Fai = azimuthTowards(v[i], v[i + 1]);
  const auto span = displaySpan(d, v[i].x, v[i].y, Fai);
  if (!span) return std::nullopt;
  const double length = std::hypot(v[i + 1].x - v[i].x, v[i + 1].y - v[i].y);
  const LineSpan kept{std::max(i == 0 ? -kInfinity : 0.0, span->tmin),
                      std::min(i + 2 == v.size() ? kInfinity : length, span->tmax)};
  if (kept.tmin > kept.tmax) return std::nullopt;
  return kept;
}

// The point t along segment i; its vertices themselves at either end.
SurveyVertex pointOn(const std::vector<SurveyVertex>& v, std::size_t i, double t) {
  const double length = std::hypot(v[i + 1].x - v[i].x, v[i + 1].y - v[i].y);
  if (t == 0) return v[i];
  if (t == length) return v[i + 1];
  const double Fai = azimuthTowards(v[i], v[i + 1]);
  return {std::sin(Fai) * t + v[i].x, std::cos(Fai) * t + v[i].y};
}

// The stretches from where the line first enters the display rectangle to where it last leaves
// it; in between it keeps every segment whole, also one that runs outside.
std::vector<Stretch> stretchesOver(const DisplaySurface& d, const std::vector<SurveyVertex>& v,
                                   const std::string& origin) {
  std::vector<std::optional<LineSpan>> over;
  for (std::size_t i = 0; i + 1 < v.size(); ++i) over.push_back(overDisplay(d, v, i));
  std::size_t first = 0, last = over.size();
  while (first < over.size() && !over[first]) ++first;
  while (last > first && !over[last - 1]) --last;
  std::vector<Stretch> stretches;
  for (std::size_t i = first; i < last; ++i) {
    const double length = std::hypot(v[i + 1].x - v[i].x, v[i + 1].y - v[i].y);
    const double from = i == first ? over[i]->tmin : 0.0;
    const double to = i + 1 == last ? over[i]->tmax : length;
    // A line entering right at a vertex has nothing of the segment before it.
    if (to <= from && last - first > 1) continue;
    stretches.push_back({pointOn(v, i, from), pointOn(v, i, to), azimuthTowards(v[i], v[i + 1]),
                         static_cast<int>(i) + 1});
  }
  if (stretches.empty()) {
    throw BuildError(fill(
        translated("{1}: the survey line lies entirely outside the display area "
                   "(x {2} to {3}, y {4} to {5}); give vertices over it."),
        {origin, numberText(d.Xmin), numberText(d.Xmax), numberText(d.Ymin), numberText(d.Ymax)}));
  }
  return stretches;
}

// insert rather than push_back: GCC 12 at -O3 warns falsely of an empty array on the latter.
void addColumn(SectionGrid& sec, const SurveyVertex& at, double distance, int segment) {
  sec.columnX.insert(sec.columnX.end(), at.x);
  sec.columnY.insert(sec.columnY.end(), at.y);
  sec.columnDistance.insert(sec.columnDistance.end(), distance);
  sec.columnSegment.insert(sec.columnSegment.end(), segment);
}

// Samples one stretch from `distance` along the line; its first column is the last one's when
// there is one. Gives the vertical step it asks for, 0 for none.
double sampleStretch(const DisplaySurface& d, const Stretch& s, double distance, SectionGrid& sec) {
  const double L = std::sqrt((s.to.x - s.from.x) * (s.to.x - s.from.x) +
                             (s.to.y - s.from.y) * (s.to.y - s.from.y));
  const ColumnSteps c = columnSteps(d, L, s.Fai);
  if (static_cast<double>(sec.columnX.size()) + c.columns > static_cast<double>(kMaxGridNodes)) {
    throw BuildError(translated("The section would have too many columns."));
  }
  // A stretch shorter than the spacing still gets its end.
  const bool short_ = c.columns < 2;
  const int columns = short_ ? 2 : static_cast<int>(c.columns);
  const double step = short_ ? L : c.step;
  const double dx = short_ ? s.to.x - s.from.x : c.Dxx;
  const double dy = short_ ? s.to.y - s.from.y : c.Dyy;
  if (sec.columnX.size() == 1) {
    addColumn(sec, s.from, distance, s.segment);
  } else {
    sec.bends.push_back({distance, s.segment, s.from.x, s.from.y});
  }
  for (int j = 2; j <= columns; ++j) {
    addColumn(sec, {s.from.x + (j - 1) * dx, s.from.y + (j - 1) * dy}, distance + (j - 1) * step,
              s.segment);
  }
  sec.polylineLength = distance + L;
  return short_ ? 0.0 : c.Dzz;
}

}  // namespace

void checkVertices(const std::vector<SurveyVertex>& v, const std::string& origin) {
  bool distinct = false;
  for (const SurveyVertex& vertex : v) distinct = distinct || vertex != v.front();
  if (!distinct) {
    throw BuildError(fill(translated("{1} gives fewer than two distinct vertices ({2} given); a "
                                     "survey line needs at least two."),
                          {origin, std::to_string(v.size())}));
  }
  for (std::size_t i = 0; i + 1 < v.size(); ++i) {
    if (v[i] != v[i + 1]) continue;
    throw BuildError(
        fill(translated("{1}: segment {2} has no length: vertices {2} and {3} are both "
                        "at x {4}, y {5}; leave one of them out."),
             {origin, std::to_string(i + 1), std::to_string(i + 2), numberText(v[i].x),
              numberText(v[i].y)}));
  }
}

void checkOverDisplay(const DisplaySurface& d, const std::vector<SurveyVertex>& v,
                      const std::string& origin) {
  stretchesOver(d, v, origin);
}

double placePolylineColumns(const DisplaySurface& d, const std::vector<SurveyVertex>& v,
                            const std::string& origin, SectionGrid& sec) {
  const std::vector<Stretch> stretches = stretchesOver(d, v, origin);
  // 1-based like the section's other columns.
  sec.columnX.assign(1, 0.0);
  sec.columnY.assign(1, 0.0);
  sec.columnDistance.assign(1, 0.0);
  sec.columnSegment.assign(1, 0);
  double Dzz = 0.0;
  for (const Stretch& s : stretches) {
    const double asked =
        sampleStretch(d, s, sec.columnX.size() == 1 ? 0.0 : sec.polylineLength, sec);
    if (asked > 0 && (Dzz == 0 || asked < Dzz)) Dzz = asked;
  }
  sec.Nxy = static_cast<std::int32_t>(sec.columnX.size() - 1);
  sec.Xstart = sec.columnX[1];
  sec.Ystart = sec.columnY[1];
  sec.Xend = stretches.back().to.x;
  sec.Yend = stretches.back().to.y;
  const SurveyVertex start{sec.Xstart, sec.Ystart}, end{sec.Xend, sec.Yend};
  sec.Fai = start == end ? stretches.front().Fai : azimuthTowards(start, end);
  sec.Dxx = sec.columnX[2] - sec.columnX[1];
  sec.Dyy = sec.columnY[2] - sec.columnY[1];
  if (Dzz == 0) {
    throw BuildError(fill(translated("The section's column step ({1}) is too small: both of its "
                                     "components are below 0.1."),
                          {numberText(sec.polylineLength / std::max(1, sec.Nxy - 1))}));
  }
  return Dzz;
}

namespace {

double turn(const SurveyVertex& a, const SurveyVertex& b, const SurveyVertex& c) {
  return (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
}

bool onSegment(const SurveyVertex& a, const SurveyVertex& b, const SurveyVertex& p) {
  return std::min(a.x, b.x) <= p.x && p.x <= std::max(a.x, b.x) && std::min(a.y, b.y) <= p.y &&
         p.y <= std::max(a.y, b.y);
}

// True when segment ab and segment cd have a point in common.
bool meet(const SurveyVertex& a, const SurveyVertex& b, const SurveyVertex& c,
          const SurveyVertex& d) {
  const double t1 = turn(a, b, c), t2 = turn(a, b, d), t3 = turn(c, d, a), t4 = turn(c, d, b);
  if (((t1 > 0 && t2 < 0) || (t1 < 0 && t2 > 0)) && ((t3 > 0 && t4 < 0) || (t3 < 0 && t4 > 0))) {
    return true;
  }
  return (t1 == 0 && onSegment(a, b, c)) || (t2 == 0 && onSegment(a, b, d)) ||
         (t3 == 0 && onSegment(c, d, a)) || (t4 == 0 && onSegment(c, d, b));
}

}  // namespace

std::vector<std::array<int, 2>> selfCrossings(const std::vector<SurveyVertex>& v) {
  std::vector<std::array<int, 2>> pairs;
  for (std::size_t i = 0; i + 1 < v.size(); ++i) {
    for (std::size_t j = i + 1; j + 1 < v.size(); ++j) {
      // Neighbours share a vertex; they overlap only where the second turns straight back.
      const bool crossing = j == i + 1 ? turn(v[i], v[i + 1], v[j + 1]) == 0 &&
                                             (v[i + 1].x - v[i].x) * (v[j + 1].x - v[j].x) +
                                                     (v[i + 1].y - v[i].y) * (v[j + 1].y - v[j].y) <
                                                 0
                                       : meet(v[i], v[i + 1], v[j], v[j + 1]);
      if (crossing) pairs.push_back({static_cast<int>(i) + 1, static_cast<int>(j) + 1});
    }
  }
  return pairs;
}

}  // namespace kalvenor
