#include "cli/section_contacts.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <optional>

namespace kalvenor {
namespace {

// A part of the segment between two columns, from 0 at the first column to 1 at the next.
struct Span {
  double from = 0.0;
  double to = 1.0;
};

// Where a quantity that runs straight from f0 to f1 is not negative.
std::optional<Span> notNegative(double f0, double f1) {
  if (f0 >= 0 && f1 >= 0) return Span{0.0, 1.0};
  if (f0 < 0 && f1 < 0) return std::nullopt;
  const double crossing = f0 / (f0 - f1);
  return f0 >= 0 ? Span{0.0, crossing} : Span{crossing, 1.0};
}

std::optional<Span> overlap(std::optional<Span> a, std::optional<Span> b) {
  if (!a || !b) return std::nullopt;
  const Span both{std::max(a->from, b->from), std::min(a->to, b->to)};
  if (both.from > both.to) return std::nullopt;
  return both;
}

bool finite(double a, double b, double c, double d) {
  return std::isfinite(a) && std::isfinite(b) && std::isfinite(c) && std::isfinite(d);
}

// Follows one line segment by segment and keeps the stretches that lie in range, each as a
// line of its own.
class Tracer {
 public:
  Tracer(const SectionGrid& section, int boundary, std::function<double(int)> z,
         std::vector<ContactLine>& lines)
      : s_(section), z_(std::move(z)), step_(std::hypot(s_.Dxx, s_.Dyy)), lines_(lines) {
    line_.boundary = boundary;
  }

  // `span`: the part of the segment from column h to h + 1 in range, if any.
  void segment(int h, std::optional<Span> span) {
    if (!span) {
      finish();
      return;
    }
    if (span->from > 0 || line_.points.empty()) {
      finish();
      add(h, span->from);
    }
    add(h, span->to);
    if (span->to < 1) finish();
  }

  void finish() {
    if (line_.points.size() >= 2) lines_.push_back(line_);
    line_.points.clear();
  }

 private:
  void add(int h, double t) {
    const double along = h - 1 + t;
    const double distance = along * step_;
    if (!line_.points.empty() && line_.points.back().distance == distance) return;
    line_.points.push_back({s_.Xstart + along * s_.Dxx, s_.Ystart + along * s_.Dyy,
                            z_(h) + t * (z_(h + 1) - z_(h)), distance});
  }

  const SectionGrid& s_;
  std::function<double(int)> z_;
  double step_;
  std::vector<ContactLine>& lines_;
  ContactLine line_;
};

}  // namespace

std::vector<ContactLine> sectionContacts(const SectionGrid& s, const BoundaryProfile& profile) {
  std::vector<ContactLine> lines;
  const std::vector<double>& ground = s.sectionSurfZ;
  Tracer groundLine(
      s, 0, [&](int h) { return ground[h]; }, lines);
  for (int h = 1; h < s.Nxy; ++h) {
    const bool known = std::isfinite(ground[h]) && std::isfinite(ground[h + 1]);
    groundLine.segment(h, known ? std::optional<Span>(Span{}) : std::nullopt);
  }
  groundLine.finish();
  for (int k = 1; k <= profile.Nbd(); ++k) {
    const auto z = [&profile, k](int h) { return profile.bndZ(k, h); };
    Tracer boundaryLine(s, k, z, lines);
    for (int h = 1; h < s.Nxy; ++h) {
      if (!finite(z(h), z(h + 1), ground[h], ground[h + 1])) {
        boundaryLine.segment(h, std::nullopt);
        continue;
      }
      boundaryLine.segment(h, overlap(notNegative(z(h) - s.Zbase, z(h + 1) - s.Zbase),
                                      notNegative(ground[h] - z(h), ground[h + 1] - z(h + 1))));
    }
    boundaryLine.finish();
  }
  return lines;
}

}  // namespace kalvenor
