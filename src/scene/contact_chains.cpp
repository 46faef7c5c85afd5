#include "scene/contact_chains.h"

#include <algorithm>
#include <set>
#include <unordered_map>
#include <utility>

namespace kalvenor {
namespace {

class LineChainer {
 public:
  explicit LineChainer(const std::vector<KeyedSegment>& pieces);
  std::vector<std::vector<PlanPoint>> lines();

 private:
  // The line from `from` along piece p, on until an end or a meeting of more than two pieces.
  std::vector<PlanPoint> walk(std::uint64_t from, std::size_t p);
  std::size_t degree(std::uint64_t key) const { return at_.at(key).size(); }

  std::vector<KeyedSegment> pieces_;
  std::unordered_map<std::uint64_t, std::vector<std::size_t>> at_;
  std::vector<bool> used_;
};

LineChainer::LineChainer(const std::vector<KeyedSegment>& pieces) {
  std::set<std::pair<std::uint64_t, std::uint64_t>> seen;
  for (const KeyedSegment& piece : pieces) {
    if (!seen.insert(std::minmax(piece.a, piece.b)).second) continue;
    at_[piece.a].push_back(pieces_.size());
    at_[piece.b].push_back(pieces_.size());
    pieces_.push_back(piece);
  }
  used_.assign(pieces_.size(), false);
}

std::vector<PlanPoint> LineChainer::walk(std::uint64_t from, std::size_t p) {
  const KeyedSegment& first = pieces_[p];
  std::vector<PlanPoint> line{first.a == from ? first.pa : first.pb};
  std::uint64_t key = from;
  while (true) {
    used_[p] = true;
    const KeyedSegment& piece = pieces_[p];
    const bool forward = piece.a == key;
    key = forward ? piece.b : piece.a;
    line.push_back(forward ? piece.pb : piece.pa);
    if (degree(key) != 2) break;
    const std::vector<std::size_t>& there = at_.at(key);
    p = there[0] == p ? there[1] : there[0];
    if (used_[p]) break;
  }
  return line;
}

std::vector<std::vector<PlanPoint>> LineChainer::lines() {
  std::vector<std::vector<PlanPoint>> lines;
  // Open lines first, from their ends and meeting points; what is left runs in loops.
  for (const bool loops : {false, true}) {
    for (std::size_t p = 0; p < pieces_.size(); ++p) {
      if (used_[p]) continue;
      for (const std::uint64_t end : {pieces_[p].a, pieces_[p].b}) {
        if (!used_[p] && (loops || degree(end) != 2)) lines.push_back(walk(end, p));
      }
    }
  }
  return lines;
}

}  // namespace

std::vector<std::vector<PlanPoint>> chainedLines(const std::vector<KeyedSegment>& pieces) {
  return LineChainer(pieces).lines();
}

}  // namespace kalvenor
