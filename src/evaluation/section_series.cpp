#include "evaluation/section_series.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "model/message_text.h"

namespace kalvenor {
namespace {

using Vector2 = std::array<double, 2>;

// The unit normal to the right of the direction (dx, dy): north gives east.
Vector2 rightNormal(double dx, double dy) {
  const double length = std::hypot(dx, dy);
  if (length == 0) return {0, 0};
  return {dy / length, -dx / length};
}

Vector2 segmentNormal(const SurveyVertex& a, const SurveyVertex& b) {
  return rightNormal(b.x - a.x, b.y - a.y);
}

// How far, in offsets, a bend between segments of normals n1 and n2 moves along their bisector:
// 1 / cos of half the turn keeps both segments at the offset.
Vector2 bendShift(const Vector2& n1, const Vector2& n2) {
  const double cosine = n1[0] * n2[0] + n1[1] * n2[1];
  const Vector2 sum{n1[0] + n2[0], n1[1] + n2[1]};
  const double length = std::hypot(sum[0], sum[1]);
  // A line that turns straight back has no bisector: the bend moves as its first segment's end.
  if (length < 1e-12) return n1;
  const double reach = std::min(std::sqrt(2 / (1 + cosine)), kMaxMiter);
  return {sum[0] / length * reach, sum[1] / length * reach};
}

std::vector<SurveyVertex> offsetVertices(const std::vector<SurveyVertex>& v, double offset) {
  const std::size_t n = v.size();
  std::vector<SurveyVertex> moved(n);
  for (std::size_t k = 0; k < n; ++k) {
    Vector2 shift;
    if (k == 0) {
      shift = segmentNormal(v[0], v[1]);
    } else if (k + 1 == n) {
      shift = segmentNormal(v[k - 1], v[k]);
    } else {
      shift = bendShift(segmentNormal(v[k - 1], v[k]), segmentNormal(v[k], v[k + 1]));
    }
    moved[k] = {v[k].x + shift[0] * offset, v[k].y + shift[1] * offset};
  }
  return moved;
}

}  // namespace

std::optional<std::string> seriesProblem(const SectionSeries& series) {
  if (series.count < 1 || series.count > kMaxSeriesSections) {
    return fill(translated("a series holds 1 to {1} sections; {2} is not a count of them"),
                {std::to_string(kMaxSeriesSections), std::to_string(series.count)});
  }
  if (!std::isfinite(series.spacing)) {
    return translated("the spacing of a series must be a number of metres");
  }
  if (series.count > 1 && series.spacing == 0) {
    return translated("the spacing of a series cannot be 0: its sections would all be one");
  }
  return std::nullopt;
}

SectionLine offsetLine(const SectionLine& line, double offset) {
  SectionLine moved = line;
  if (line.vertices.size() >= 2) {
    moved.vertices = offsetVertices(line.vertices, offset);
    return moved;
  }
  const Vector2 n =
      line.endPointMode
          ? rightNormal(line.Xend - line.Xstart, line.Yend - line.Ystart)
          : rightNormal(std::sin(line.faiDegrees * kDegree), std::cos(line.faiDegrees * kDegree));
  moved.Xstart += n[0] * offset;
  moved.Ystart += n[1] * offset;
  if (line.endPointMode) {
    moved.Xend += n[0] * offset;
    moved.Yend += n[1] * offset;
  }
  return moved;
}

std::vector<SectionLine> seriesLines(const SectionLine& line, const SectionSeries& series) {
  std::vector<SectionLine> lines;
  lines.reserve(static_cast<std::size_t>(std::max(series.count, 0)));
  for (int k = 0; k < series.count; ++k) {
    lines.push_back(k == 0 ? line : offsetLine(line, k * series.spacing));
  }
  return lines;
}

std::string seriesSectionName(int number) {
  const int index = number - 1;
  const std::string letter(1, static_cast<char>('A' + index % 26));
  const int round = index / 26;
  return round == 0 ? letter : letter + std::to_string(round + 1);
}

SeriesBuild buildSectionSeries(const BuildInputs& inputs, const std::vector<GridSurface>& grids,
                               const std::vector<SectionLine>& lines,
                               const BuildProgress& progress) {
  SeriesBuild series;
  const auto count = static_cast<double>(lines.size());
  for (std::size_t k = 0; k < lines.size(); ++k) {
    const int number = static_cast<int>(k) + 1;
    const BuildProgress part = [&](double done) {
      if (progress) progress((static_cast<double>(k) + done) / count);
    };
    try {
      SectionBuild build = placeSection(inputs, lines[k]);
      classifySection(inputs, grids, build, part);
      series.members.push_back({number, lines[k], std::move(build)});
    } catch (const BuildError& error) {
      if (k == 0) throw;
      series.leftOut.push_back({number, error.what()});
    }
  }
  return series;
}

}  // namespace kalvenor
