#include "exports/section_contacts.h"

#include <algorithm>
#include <cmath>

#include "evaluation/classification.h"

namespace kalvenor {
namespace {

// A part of the segment from column h (t = 0) to column h + 1 (t = 1).
struct Span {
  double from = 0.0;
  double to = 1.0;
};

// Exact at both ends, so that a line passing a column meets the column's own value.
double lerp(double a, double b, double t) { return (1 - t) * a + t * b; }

// Where f, running straight from f0 to f1, changes sign strictly between the two columns.
void addCrossing(double f0, double f1, std::vector<double>& cuts) {
  if ((f0 < 0 && f1 > 0) || (f0 > 0 && f1 < 0)) cuts.push_back(f0 / (f0 - f1));
}

// Gathers the kept parts of segments into lines: a part that starts where the last one ended
// continues its line; any other starts a new one.
class LineCollector {
 public:
  LineCollector(const SectionGrid& s, int boundary, std::vector<ContactLine>& lines)
      : s_(s), step_(std::hypot(s.Dxx, s.Dyy)), lines_(lines) {
    line_.boundary = boundary;
  }

  // Keeps `span` of segment h, along which the line runs from z0 at column h to z1 at h + 1.
  void keep(int h, Span span, double z0, double z1) {
    const double from = h - 1 + span.from;
    if (line_.points.empty() || last_ != from) {
      finish();
      add(from, lerp(z0, z1, span.from));
    }
    add(h - 1 + span.to, lerp(z0, z1, span.to));
  }

  void finish() {
    if (line_.points.size() >= 2) lines_.push_back(line_);
    line_.points.clear();
  }

 private:
  // `along`: the position in column steps from the first column.
  void add(double along, double z) {
    if (s_.unfolded()) {
      // Between the two columns around it, so a line follows the polyline round its bends.
      const int h = std::clamp(static_cast<int>(along) + 1, 1, s_.Nxy - 1);
      const double t = along - (h - 1);
      line_.points.push_back({lerp(s_.x(h), s_.x(h + 1), t), lerp(s_.y(h), s_.y(h + 1), t), z,
                              lerp(s_.distance(h), s_.distance(h + 1), t)});
    } else {
      line_.points.push_back(
          {s_.Xstart + along * s_.Dxx, s_.Ystart + along * s_.Dyy, z, along * step_});
    }
    last_ = along;
  }

  const SectionGrid& s_;
  double step_;
  std::vector<ContactLine>& lines_;
  ContactLine line_;
  double last_ = 0.0;
};

// Whether boundary k, at fraction t of segment h, lies between the base and the ground with
// different units on its two sides. `levels` is room for every boundary's elevation there.
bool contactAt(const SectionContactInputs& in, int k, int h, double t,
               std::vector<double>& levels) {
  const BoundaryProfile& p = in.profile;
  for (int j = 1; j <= p.Nbd(); ++j) levels[j] = lerp(p.bndZ(j, h), p.bndZ(j, h + 1), t);
  const double z = levels[k];
  const double ground = lerp(in.section.sectionSurfZ[h], in.section.sectionSurfZ[h + 1], t);
  if (z < in.section.Zbase || z > ground) return false;
  const Classification sides = classifyAmong(in.model, levels, z);
  return sides.unitStrict != sides.unitInclusive;
}

// The parts of segment h where boundary k is a contact, those that touch joined. Whether it is
// one can change only where it crosses the base, the ground or another boundary, so the segment
// is cut there and each piece is tested in its middle.
std::vector<Span> contactSpans(const SectionContactInputs& in, int k, int h) {
  const SectionGrid& s = in.section;
  const BoundaryProfile& p = in.profile;
  std::vector<double> cuts = {0.0, 1.0};
  addCrossing(p.bndZ(k, h) - s.Zbase, p.bndZ(k, h + 1) - s.Zbase, cuts);
  addCrossing(s.sectionSurfZ[h] - p.bndZ(k, h), s.sectionSurfZ[h + 1] - p.bndZ(k, h + 1), cuts);
  for (int j = 1; j <= p.Nbd(); ++j) {
    addCrossing(p.bndZ(k, h) - p.bndZ(j, h), p.bndZ(k, h + 1) - p.bndZ(j, h + 1), cuts);
  }
  std::sort(cuts.begin(), cuts.end());
  std::vector<double> levels(p.Nbd() + 1, 0.0);
  std::vector<Span> spans;
  for (std::size_t n = 0; n + 1 < cuts.size(); ++n) {
    const double from = cuts[n];
    const double to = cuts[n + 1];
    if (from == to || !contactAt(in, k, h, (from + to) / 2, levels)) continue;
    if (!spans.empty() && spans.back().to == from) {
      spans.back().to = to;
    } else {
      spans.push_back({from, to});
    }
  }
  return spans;
}

}  // namespace

std::vector<ContactLine> sectionContacts(const SectionContactInputs& in) {
  const SectionGrid& s = in.section;
  std::vector<ContactLine> lines;
  LineCollector ground(s, 0, lines);
  for (int h = 1; h < s.Nxy; ++h) {
    if (s.groundKnown[h] && s.groundKnown[h + 1]) {
      ground.keep(h, Span{}, s.sectionSurfZ[h], s.sectionSurfZ[h + 1]);
    }
  }
  ground.finish();
  for (int k = 1; k <= in.profile.Nbd(); ++k) {
    LineCollector boundary(s, k, lines);
    for (int h = 1; h < s.Nxy; ++h) {
      if (!s.groundKnown[h] || !s.groundKnown[h + 1]) continue;
      for (const Span& span : contactSpans(in, k, h)) {
        boundary.keep(h, span, in.profile.bndZ(k, h), in.profile.bndZ(k, h + 1));
      }
    }
    boundary.finish();
  }
  return lines;
}

}  // namespace kalvenor
