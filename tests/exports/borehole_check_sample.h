#pragma once

#include "evaluation/borehole_check.h"

namespace kalvenor {

// A check as the evaluation would leave it, made by hand: hole "BH-1" with a modelled contact
// of boundary 1 and one not in the model of boundary 2, hole "west, 2" (a comma in its id) with
// one outside the model and an interval in a unit the model does not have.
inline BoreholeCheck sampleCheck() {
  BoreholeCheck check;
  check.unitName = {"", "花崗岩", "砂岩", "泥岩"};
  check.boundaryName = {"", "砂岩基底", "泥岩基底"};
  check.step = 2.5;
  IntervalCheck first;
  first.hole = 0;
  first.from = 0;
  first.to = 40;
  first.logged = "mudstone";
  first.unit = 3;
  first.modelled = {{3, 30}, {2, 10}};
  first.agreeing = 30;
  IntervalCheck unknown;
  unknown.hole = 1;
  unknown.from = 0;
  unknown.to = 12.5;
  unknown.logged = "fill";
  unknown.unit = 0;
  unknown.modelled = {{kNoModel, 12.5}};
  unknown.noModel = 12.5;
  check.intervals = {first, unknown};
  ContactCheck modelled{0, 0, 1, 1000.5, 2000, 40, 60, ContactStatus::Modelled, 38, 62.25, -2.25};
  ContactCheck missing{0, 1, 2, 1001, 2000, 80, 20, ContactStatus::NotInModel};
  ContactCheck outside{1, 0, 1, 5000, 100, 12.5, 87.5, ContactStatus::OutsideModel};
  check.contacts = {modelled, missing, outside};
  AgreementSummary bh1;
  bh1.logged = 40;
  bh1.compared = 40;
  bh1.agreeing = 30;
  bh1.contacts = 2;
  bh1.modelled = 1;
  bh1.notInModel = 1;
  bh1.largestResidual = 2.25;
  AgreementSummary west;
  west.logged = 12.5;
  west.noModel = 12.5;
  west.contacts = 1;
  west.outsideModel = 1;
  check.holes = {{"BH-1", 1000, 2000, bh1}, {"west, 2", 5000, 100, west}};
  check.all = bh1;
  check.all.logged = 52.5;
  check.all.noModel = 12.5;
  check.all.contacts = 3;
  check.all.outsideModel = 1;
  check.boundaries.resize(3);
  check.boundaries[1] = {2, 1, 0, 1, 2.25, 2.25};
  check.boundaries[2] = {1, 0, 1, 0};
  return check;
}

}  // namespace kalvenor
