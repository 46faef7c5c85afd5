#pragma once

#include <cstdint>
#include <vector>

#include "model/borehole_path.h"
#include "model/boreholes.h"
#include "model/grid_surface.h"
#include "model/logical_model.h"

namespace kalvenor {

// A stretch of the hole, depths along it, all in one modelled unit (kNoModel included).
struct ModelledRun {
  double from = 0.0;
  double to = 0.0;
  std::int16_t unit = 0;
};

// Where the hole passes through a boundary at a place where the boundary is a contact: the
// units on its two sides differ.
struct ModelledCrossing {
  int boundary = 0;
  double depth = 0.0;
  double z = 0.0;
};

struct HoleProfile {
  std::vector<ModelledRun> runs;            // going down, touching, neighbours of different units
  std::vector<ModelledCrossing> crossings;  // going down
};

// Samples the model along holes. The hole is cut at its path's stations and every straight
// segment into pieces no longer horizontally than step(), a quarter of the finest spacing of the
// grids, so a bilinear boundary (a quadratic along a piece within a cell) is crossed at most
// once in a piece unless the hole grazes it; a vertical segment, along which every boundary is
// constant, is one piece. Where a boundary's side or the model's presence differs between a
// piece's ends it is found by bisection to a ten-millionth of a metre, the side decided as
// classifyPoint decides it, and every stretch between is classified with classifyPoint.
class HoleSampler {
 public:
  // `grids` as BoreholeCheckInputs holds them; it must have slots 1..Nbd.
  HoleSampler(const LogicalModel& model, const std::vector<GridSurface>& grids);

  double step() const { return step_; }
  // False where the model says nothing (see kNoModel).
  bool inModel(const HoleStation& p) const;
  // The model along the hole from depth `from` to `to`.
  HoleProfile sample(const Borehole& hole, double from, double to) const;

 private:
  struct Ends;
  bool above(int k, const HoleStation& p) const;
  std::uint32_t sides(const HoleStation& p) const;
  bool isContact(int k, const HoleStation& p) const;
  void samplePiece(const Borehole& hole, const Ends& ends, HoleProfile& profile) const;
  void addRun(HoleProfile& profile, double from, double to, const HoleStation& middle) const;

  const LogicalModel& model_;
  const std::vector<GridSurface>& grids_;
  const GridSurface* display_ = nullptr;
  double step_ = 0.0;
};

}  // namespace kalvenor
