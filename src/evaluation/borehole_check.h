#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <stdexcept>
#include <string>
#include <vector>

#include "evaluation/no_value.h"
#include "model/boreholes.h"
#include "model/grid_surface.h"
#include "model/logical_model.h"
#include "model/render_context.h"

namespace kalvenor {

// The modelled "unit" where the model says nothing: outside the area every boundary grid and
// the display surface cover, in a cell with a node without a value, or above the display
// surface. Such lengths neither agree nor disagree with the log.
constexpr std::int16_t kNoModel = -1;

// A modelled unit and how much of an interval's length it takes.
struct UnitLength {
  std::int16_t unit = 0;  // 1..Nbd+1, 0 no unit fits, kNoModel
  double length = 0.0;
};

// One logged interval against the model.
struct IntervalCheck {
  int hole = 0;      // index into the holes checked
  int interval = 0;  // index into that hole's intervals
  double from = 0.0;
  double to = 0.0;
  std::string logged;
  std::int16_t unit = 0;             // the logged unit, 0 when the model has none of its name
  std::vector<UnitLength> modelled;  // each unit once, in the order met going down
  double agreeing = 0.0;             // length where the model has the logged unit
  double noModel = 0.0;              // length where the model says nothing
  // The length that can agree: with a model there, and a logged unit the model has.
  double compared() const { return unit > 0 ? (to - from) - noModel : 0.0; }
  // The share (0..1) of the compared length that agrees; NaN when nothing can be compared.
  double agreement() const { return compared() > 0 ? agreeing / compared() : kNoValue; }
};

enum class ContactStatus {
  Modelled,      // the nearest modelled crossing of the boundary gives the residual
  NotInModel,    // the model has no crossing of the boundary anywhere along the hole
  OutsideModel,  // the logged contact lies where the model says nothing
};

// A logged contact between two intervals whose units boundary `boundary` separates: one lies
// above it and the other below it in the logical model. Depths along the hole, elevations and
// residual in metres; the modelled values are NaN unless the status is Modelled.
struct ContactCheck {
  int hole = 0;
  int upper = 0;  // index of the interval above the contact; the one below follows it
  int boundary = 0;
  double x = 0.0;  // where the log puts the contact
  double y = 0.0;
  double depth = 0.0;
  double z = 0.0;
  ContactStatus status = ContactStatus::NotInModel;
  double modelledDepth = kNoValue;
  double modelledZ = kNoValue;
  double residual = kNoValue;  // logged minus modelled elevation: negative when logged deeper
};

// Lengths and contacts summed over one hole, or over all of them.
struct AgreementSummary {
  double logged = 0.0;    // every interval's length
  double compared = 0.0;  // of it, what can agree (see IntervalCheck::compared)
  double agreeing = 0.0;
  double noModel = 0.0;      // where the model says nothing
  double unknownUnit = 0.0;  // logged in a unit the model does not have, with a model there
  int contacts = 0;
  int modelled = 0;
  int notInModel = 0;
  int outsideModel = 0;
  double largestResidual = kNoValue;  // the largest absolute residual, NaN without any
  // Agreement in % of the compared length; NaN when nothing can be compared.
  double agreementPercent() const { return compared > 0 ? 100.0 * agreeing / compared : kNoValue; }
};

struct HoleSummary {
  std::string id;
  double x = 0.0;  // collar
  double y = 0.0;
  AgreementSummary summary;
};

// The residuals of one boundary's contacts over all holes.
struct BoundaryResiduals {
  int contacts = 0;
  int modelled = 0;
  int notInModel = 0;
  int outsideModel = 0;
  double meanAbsolute = kNoValue;  // of the modelled contacts, NaN without any
  double largestAbsolute = kNoValue;
};

struct BoreholeCheck {
  std::vector<std::string> unitName;      // 1..Nbd+1, as the model names them
  std::vector<std::string> boundaryName;  // 1..Nbd
  double step = 0.0;  // the largest horizontal distance between two samples along a hole
  std::vector<IntervalCheck> intervals;  // hole by hole, each going down
  std::vector<ContactCheck> contacts;    // hole by hole, each going down, boundaries in order
  std::vector<HoleSummary> holes;        // in the order of the set
  AgreementSummary all;
  std::vector<BoundaryResiduals> boundaries;  // 1..Nbd
};

// What the check compares: the holes against the model and the boundary grids of the last grid
// build, as the session keeps them (slots 1..Nbd the boundaries, slot Nbd + 1 the display
// surface; without that slot nothing counts as above the surface).
struct BoreholeCheckInputs {
  const LogicalModel& model;
  const std::vector<GridSurface>& grids;
  const BoreholeSet& boreholes;
  RenderContext context = {};
};

// Thrown by checkBoreholes once its context is cancelled.
class BoreholeCheckCancelled : public std::runtime_error {
 public:
  BoreholeCheckCancelled() : std::runtime_error("the borehole check was cancelled") {}
};

// Samples the model along every hole with classifyPoint, every hole on its own thread, and
// compares it with the logs. The result is the same whatever the number of threads. Throws
// std::invalid_argument when the grids lack a boundary of the model.
BoreholeCheck checkBoreholes(const BoreholeCheckInputs& in);

// The contacts' indices, worst first: those not in the model, then by absolute residual from
// the largest, then those outside the model; ties keep the order of the check.
std::vector<std::size_t> worstFirst(const BoreholeCheck& check);

}  // namespace kalvenor
