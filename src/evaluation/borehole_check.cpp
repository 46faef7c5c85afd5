#include "evaluation/borehole_check.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "evaluation/borehole_sampling.h"
#include "model/borehole_path.h"
#include "model/parallel_for.h"

namespace kalvenor {
namespace {

// Two intervals meet at a contact when the one below starts within this of the end of the one
// above; a larger gap leaves the contact's depth unknown.
constexpr double kTouching = 1e-3;

struct HoleResult {
  std::vector<IntervalCheck> intervals;
  std::vector<ContactCheck> contacts;
  AgreementSummary summary;
};

// The depths the hole is sampled over: from the collar (or the shallowest interval) to the
// deepest of its length, its path and its intervals.
std::pair<double, double> sampledDepths(const Borehole& hole) {
  double from = 0.0;
  double to = hole.depth;
  if (!hole.path.empty()) to = std::max(to, hole.path.back().depth);
  for (const LoggedInterval& i : hole.intervals) {
    from = std::min(from, i.from);
    to = std::max(to, i.to);
  }
  return {from, to};
}

void addLength(std::vector<UnitLength>& lengths, std::int16_t unit, double length) {
  for (UnitLength& l : lengths) {
    if (l.unit == unit) {
      l.length += length;
      return;
    }
  }
  lengths.push_back({unit, length});
}

IntervalCheck checkInterval(const LoggedInterval& logged, const std::vector<ModelledRun>& runs) {
  IntervalCheck check;
  check.from = logged.from;
  check.to = logged.to;
  check.logged = logged.logged;
  check.unit = logged.unit;
  auto run = std::upper_bound(runs.begin(), runs.end(), logged.from,
                              [](double d, const ModelledRun& r) { return d < r.to; });
  for (; run != runs.end() && run->from < logged.to; ++run) {
    const double length = std::min(run->to, logged.to) - std::max(run->from, logged.from);
    if (!(length > 0)) continue;
    addLength(check.modelled, run->unit, length);
    if (run->unit == kNoModel) check.noModel += length;
    if (logged.unit > 0 && run->unit == logged.unit) check.agreeing += length;
  }
  return check;
}

// The boundaries whose side differs between the two units: +1 in one, -1 in the other.
std::vector<int> separatingBoundaries(const LogicalModel& model, int a, int b) {
  std::vector<int> boundaries;
  if (a < 1 || b < 1 || a > model.unitCount() || b > model.unitCount() || a == b) {
    return boundaries;
  }
  for (int k = 1; k <= model.Nbd; ++k) {
    if (model.modelCell(a, k) * model.modelCell(b, k) == -1) boundaries.push_back(k);
  }
  return boundaries;
}

const ModelledCrossing* nearestCrossing(const std::vector<ModelledCrossing>& crossings, int k,
                                        double depth) {
  const ModelledCrossing* nearest = nullptr;
  for (const ModelledCrossing& c : crossings) {
    if (c.boundary != k) continue;
    if (!nearest || std::abs(c.depth - depth) < std::abs(nearest->depth - depth)) nearest = &c;
  }
  return nearest;
}

struct HoleContext {
  const LogicalModel& model;
  const HoleSampler& sampler;
  const Borehole& hole;
  const HoleProfile& profile;
};

ContactCheck checkContact(const HoleContext& h, int upper, int k) {
  ContactCheck c;
  c.upper = upper;
  c.boundary = k;
  c.depth = h.hole.intervals[upper].to;
  const HoleStation p = positionAt(h.hole, c.depth);
  c.x = p.x;
  c.y = p.y;
  c.z = p.z;
  if (!h.sampler.inModel(p)) {
    c.status = ContactStatus::OutsideModel;
  } else if (const ModelledCrossing* m = nearestCrossing(h.profile.crossings, k, c.depth)) {
    c.status = ContactStatus::Modelled;
    c.modelledDepth = m->depth;
    c.modelledZ = m->z;
    c.residual = c.z - m->z;
  } else {
    c.status = ContactStatus::NotInModel;
  }
  return c;
}

void addContacts(const HoleContext& h, std::vector<ContactCheck>& contacts) {
  const std::vector<LoggedInterval>& logged = h.hole.intervals;
  for (std::size_t n = 0; n + 1 < logged.size(); ++n) {
    if (std::abs(logged[n + 1].from - logged[n].to) > kTouching) continue;
    for (const int k : separatingBoundaries(h.model, logged[n].unit, logged[n + 1].unit)) {
      contacts.push_back(checkContact(h, static_cast<int>(n), k));
    }
  }
}

double largerAbsolute(double largest, double residual) {
  if (std::isnan(residual)) return largest;
  return std::isnan(largest) ? std::abs(residual) : std::max(largest, std::abs(residual));
}

void addInterval(AgreementSummary& s, const IntervalCheck& i) {
  s.logged += i.to - i.from;
  s.compared += i.compared();
  s.agreeing += i.agreeing;
  s.noModel += i.noModel;
  if (i.unit <= 0) s.unknownUnit += (i.to - i.from) - i.noModel;
}

void addContact(AgreementSummary& s, const ContactCheck& c) {
  ++s.contacts;
  if (c.status == ContactStatus::Modelled) ++s.modelled;
  if (c.status == ContactStatus::NotInModel) ++s.notInModel;
  if (c.status == ContactStatus::OutsideModel) ++s.outsideModel;
  s.largestResidual = largerAbsolute(s.largestResidual, c.residual);
}

void addSummary(AgreementSummary& total, const AgreementSummary& s) {
  total.logged += s.logged;
  total.compared += s.compared;
  total.agreeing += s.agreeing;
  total.noModel += s.noModel;
  total.unknownUnit += s.unknownUnit;
  total.contacts += s.contacts;
  total.modelled += s.modelled;
  total.notInModel += s.notInModel;
  total.outsideModel += s.outsideModel;
  total.largestResidual = largerAbsolute(total.largestResidual, s.largestResidual);
}

HoleResult checkHole(const LogicalModel& model, const HoleSampler& sampler, const Borehole& hole) {
  const auto [from, to] = sampledDepths(hole);
  const HoleProfile profile = sampler.sample(hole, from, to);
  HoleResult result;
  for (std::size_t n = 0; n < hole.intervals.size(); ++n) {
    result.intervals.push_back(checkInterval(hole.intervals[n], profile.runs));
    result.intervals.back().interval = static_cast<int>(n);
    addInterval(result.summary, result.intervals.back());
  }
  addContacts({model, sampler, hole, profile}, result.contacts);
  for (const ContactCheck& c : result.contacts) addContact(result.summary, c);
  return result;
}

std::vector<BoundaryResiduals> boundaryResiduals(const std::vector<ContactCheck>& contacts,
                                                 int Nbd) {
  std::vector<BoundaryResiduals> boundaries(Nbd + 1);
  std::vector<double> sum(Nbd + 1, 0.0);
  for (const ContactCheck& c : contacts) {
    BoundaryResiduals& b = boundaries[c.boundary];
    ++b.contacts;
    if (c.status == ContactStatus::NotInModel) ++b.notInModel;
    if (c.status == ContactStatus::OutsideModel) ++b.outsideModel;
    if (c.status != ContactStatus::Modelled) continue;
    ++b.modelled;
    sum[c.boundary] += std::abs(c.residual);
    b.largestAbsolute = largerAbsolute(b.largestAbsolute, c.residual);
  }
  for (int k = 1; k <= Nbd; ++k) {
    if (boundaries[k].modelled > 0) boundaries[k].meanAbsolute = sum[k] / boundaries[k].modelled;
  }
  return boundaries;
}

// The holes' results one after the other, in the order of the set.
void gather(const BoreholeSet& set, std::vector<HoleResult>& results, BoreholeCheck& check) {
  for (std::size_t h = 0; h < results.size(); ++h) {
    HoleResult& r = results[h];
    const Borehole& hole = set.holes[h];
    for (IntervalCheck& i : r.intervals) i.hole = static_cast<int>(h);
    for (ContactCheck& c : r.contacts) c.hole = static_cast<int>(h);
    check.intervals.insert(check.intervals.end(), std::make_move_iterator(r.intervals.begin()),
                           std::make_move_iterator(r.intervals.end()));
    check.contacts.insert(check.contacts.end(), r.contacts.begin(), r.contacts.end());
    check.holes.push_back({hole.id, hole.x, hole.y, r.summary});
    addSummary(check.all, r.summary);
    r = {};
  }
}

}  // namespace

BoreholeCheck checkBoreholes(const BoreholeCheckInputs& in) {
  if (static_cast<int>(in.grids.size()) < in.model.Nbd + 1) {
    throw std::invalid_argument("the borehole check needs a grid for every boundary");
  }
  const HoleSampler sampler(in.model, in.grids);
  const std::vector<Borehole>& holes = in.boreholes.holes;
  std::vector<HoleResult> results(holes.size());
  parallelFor(0, static_cast<int>(holes.size()) - 1,
              [&](int h) {
                if (in.context.isCancelled()) throw BoreholeCheckCancelled();
                results[h] = checkHole(in.model, sampler, holes[h]);
              },
              {in.context.threads, 16, true});
  BoreholeCheck check;
  check.unitName = in.model.unitName;
  check.boundaryName = in.model.boundaryName;
  check.step = sampler.step();
  gather(in.boreholes, results, check);
  check.boundaries = boundaryResiduals(check.contacts, in.model.Nbd);
  return check;
}

std::vector<std::size_t> worstFirst(const BoreholeCheck& check) {
  const auto rank = [&](std::size_t n) {
    const ContactCheck& c = check.contacts[n];
    switch (c.status) {
      case ContactStatus::NotInModel:
        return std::numeric_limits<double>::infinity();
      case ContactStatus::OutsideModel:
        return -1.0;
      case ContactStatus::Modelled:
        break;
    }
    return std::abs(c.residual);
  };
  std::vector<std::size_t> order(check.contacts.size());
  for (std::size_t n = 0; n < order.size(); ++n) order[n] = n;
  std::stable_sort(order.begin(), order.end(),
                   [&](std::size_t a, std::size_t b) { return rank(a) > rank(b); });
  return order;
}

}  // namespace kalvenor
