#include "model/borehole_reader.h"
#include "model/input_names.h"
#include "model/message_text.h"
#include "model/number_text.h"
#include "model/read_error.h"
#include "render/borehole_block.h"
#include "render/borehole_residuals.h"
#include "render/borehole_section.h"
#include "session/session.h"

namespace kalvenor {
namespace {

// The intervals logged in units the model does not have, drawn in grey, in one sentence.
Warnings unmatchedWarnings(const BoreholeSet& set) {
  if (set.unmatchedIntervals == 0) return {};
  std::string names;
  for (const std::string& name : set.unmatchedNames) {
    names = names.empty() ? name : fill(translated("{1}, {2}"), {names, name});
  }
  return {fill(translatedCount("{1} interval is logged in a unit the model does not have ({2}); "
                               "it is drawn in grey and left out of the check.",
                               "{1} intervals are logged in units the model does not have ({2}); "
                               "they are drawn in grey and left out of the check.",
                               static_cast<unsigned long>(set.unmatchedIntervals)),
               {std::to_string(set.unmatchedIntervals), names})};
}

}  // namespace

BoreholeSet Session::readBoreholeFiles(const BoreholeFiles& files) {
  BoreholeSet set;
  step(translated("read the boreholes"), [&] {
    set = readBoreholes(files, state_.model, {state_.display->srs, state_.srsGiven});
  });
  return set;
}

Warnings Session::setBoreholeFiles(const BoreholeFiles& files) {
  if (!files.any()) {
    resetBoreholes();
    return {};
  }
  requireModel();
  auto holes = shared(readBoreholeFiles(files));
  Warnings warnings = unmatchedWarnings(*holes);
  state_.boreholeFiles = files;
  state_.boreholes = std::move(holes);
  notify(Change::Boreholes);
  return warnings;
}

void Session::resetBoreholes() {
  state_.boreholeFiles = {};
  state_.boreholes = noResult<BoreholeSet>();
  notify(Change::Boreholes);
}

// The units are matched by the model's names and the coordinates put into the display
// surface's system, so a new model or surface reads the tables again; tables that no longer
// read are dropped with the reason.
void Session::rereadBoreholes(Warnings& warnings) {
  if (!state_.boreholeFiles.any() || !state_.progress.modelReady()) return;
  try {
    auto holes = shared(readBoreholeFiles(state_.boreholeFiles));
    const Warnings unmatched = unmatchedWarnings(*holes);
    warnings.insert(warnings.end(), unmatched.begin(), unmatched.end());
    state_.boreholes = std::move(holes);
  } catch (const ReadError& error) {
    warnings.push_back(fill(translated("{1}; the boreholes were dropped: give their tables "
                                       "again."),
                            {error.what()}));
    state_.boreholeFiles = {};
    state_.boreholes = noResult<BoreholeSet>();
  }
  notify(Change::Boreholes);
}

void Session::setBoreholeDrawing(const BoreholeDrawing& drawing) {
  if (drawing.buffer && !(*drawing.buffer > 0)) {
    throw SessionError(fill(translated("{1} takes a distance in metres above 0; {2} is not that"),
                            {inputName("--borehole-buffer"), numberText(*drawing.buffer)}));
  }
  state_.boreholeDrawing = drawing;
  notify(Change::Boreholes);
}

// Over the finished map: the holes seen through the block, and with residuals asked for, their
// collars coloured by the check of the grids just drawn.
void Session::drawMapBoreholes(Canvas& canvas, const PictureView& in) {
  const BoreholeSet& holes = *state_.boreholes;
  if (holes.holes.empty()) return;
  const BoreholeDrawing& how = state_.boreholeDrawing;
  const Projection projection = projectionOf(in);
  const PackedColor line = state_.drawOptions.LineColor;
  step(translated("draw the boreholes"), [&] {
    drawBlockBoreholes(
        canvas, projection,
        {holes, *state_.display, in.Zbase, state_.unitColor, line, how.labels && !how.residuals});
    if (how.residuals) {
      drawResidualMap(canvas, projection, {holes, checkBoreholes(), line, how.labels});
    }
  });
}

// Over the finished section: the holes within the buffer as strip logs.
void Session::drawSectionBoreholes(Canvas& canvas, const PictureView& in) {
  const BoreholeSet& holes = *state_.boreholes;
  if (holes.holes.empty()) return;
  const double buffer =
      state_.boreholeDrawing.buffer.value_or(defaultBoreholeBuffer(*state_.display));
  step(translated("draw the boreholes"), [&] {
    kalvenor::drawSectionBoreholes(
        canvas, projectionOf(in),
        {holes, *state_.section, buffer, in.Zbase, state_.unitColor, state_.drawOptions.LineColor});
  });
}

BoreholeCheck Session::checkBoreholes() const {
  if (state_.boreholes->holes.empty()) {
    throw SessionError(fill(translated("There are no boreholes yet: give their tables in {1} "
                                       "first."),
                            {inputName("--collars")}));
  }
  const std::vector<GridSurface>& grids = *state_.boundaryGrids;
  if (state_.gridOutOfDate || grids.size() <= static_cast<std::size_t>(state_.model.Nbd)) {
    throw SessionError(
        translated("The model check samples the boundaries of the last grid "
                   "build: build the 3D-map or the section grid first."));
  }
  return kalvenor::checkBoreholes({state_.model, grids, *state_.boreholes, context_});
}

}  // namespace kalvenor
