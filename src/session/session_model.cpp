#include "model/boundary_grids.h"
#include "model/message_text.h"
#include "model/number_text.h"
#include "model/read_error.h"
#include "session/session.h"

namespace kalvenor {

// The grids were classified with the old model, so they go whatever the new one holds. With the
// same number of boundaries (and so of units) the boundary files that still read and the colours
// carry over; otherwise steps (2) and (3) start again.
Warnings Session::installModel(LogicalModel model, bool ready, const std::string& file) {
  const int Nbd = model.Nbd;
  const bool sameCount = state_.unitColor.size() == static_cast<std::size_t>(Nbd) + 2;
  Warnings warnings;
  std::vector<std::string> files(Nbd + 1);
  if (sameCount) {
    files = state_.boundaryFile;
    for (std::size_t k = 1; k < files.size(); ++k) {
      if (files[k].empty()) continue;
      try {
        step(fill(translated("read the file of boundary {1} again"), {std::to_string(k)}),
             [&] { readBoundaryGrid(files[k], {state_.srs}, *state_.display); });
      } catch (const ReadError& error) {
        warnings.push_back(fill(translated("{1}; the file was dropped: pick the boundary files "
                                           "again in step (2)."),
                                {error.what()}));
        files[k].clear();
      }
    }
  }
  state_.model = std::move(model);
  state_.modelFile = file;
  state_.boundaryFile = std::move(files);
  if (!sameCount) {
    boundaryRead_.clear();
    state_.boundaryColor.assign(Nbd + 1, kBlack);
    state_.unitColor.assign(Nbd + 2, kBlack);
    state_.unitColorChosen.assign(Nbd + 2, false);
  }
  if (ready) {
    checkModel();
  } else {
    state_.progress.modelCleared();
  }
  dropGrids();
  adoptBoundarySystem(warnings);
  rereadBoreholes(warnings);
  notify(Change::Model);
  notify(Change::BoundaryFiles);
  notify(Change::Colours);
  return warnings;
}

// Built for a model that is gone: the map and section commands wait for a new build.
void Session::dropGrids() {
  state_.mapGrid = noResult<MapGrid>();
  state_.wallProfiles = noResult<std::array<BoundaryProfile, 5>>();
  state_.sectionGrid = noResult<VerticalGrid>();
  state_.section = noResult<SectionGrid>();
  state_.sectionProfile = noResult<BoundaryProfile>();
  state_.fence = noResult<std::vector<FencePanel>>();
  state_.drawUnit = noResult<Array2D<std::int16_t>>();
  state_.drawValue = noResult<Array2D<double>>();
  state_.visibleWall = {0, 0};
  state_.picture = PictureKind::None;
  state_.progress.gridsDropped();
  state_.gridOutOfDate = true;
  notify(Change::Grids);
}

// A complete model re-opens step (5): the grids are out of date.
void Session::checkModel() {
  const bool complete = buildUnitOfPattern(state_.model);
  state_.progress.modelEntered(complete);
  if (complete) state_.gridOutOfDate = true;
}

Warnings Session::loadModel(const std::string& path) {
  return installModel(readLogicalModel(path), true, path);
}

Warnings Session::useTwoUnitModel() { return installModel(twoUnitTemplate(), true, {}); }

Warnings Session::enterModel(LogicalModel model, bool ready) {
  if (model.Nbd < 0 || model.Nbd > kMaxBoundaries) {
    throw SessionError(fill(translated("The number of boundaries must be a whole number from 0 "
                                       "to {1}"),
                            {std::to_string(kMaxBoundaries)}));
  }
  return installModel(std::move(model), ready, {});
}

Warnings Session::resizeModel(const std::string& typedNbd) {
  const double typed = roundHalfEven(leadingNumber(typedNbd));
  if (typed < 0 || typed > kMaxBoundaries) {
    throw SessionError(
        fill(translated("The number of boundaries must be a whole number from 0 to {1} (a "
                        "point's above/below pattern holds at most {1} boundaries); {2} is not. "
                        "The model is left as it was."),
             {std::to_string(kMaxBoundaries), quotedFound(typedNbd)}));
  }
  return installModel(allocateModel(static_cast<int>(typed)), false, {});
}

// Blank names and cells of the same size; the pattern table stays allocated, so a later cell
// edit never reaches beyond it.
void Session::resetModel() {
  const int Nbd = state_.model.Nbd;
  LogicalModel blank = allocateModel(Nbd);
  blank.unitOfPattern = std::move(state_.model.unitOfPattern);
  state_.model = std::move(blank);
  state_.progress.modelCleared();
  state_.boundaryFile.assign(Nbd + 1, std::string());
  boundaryRead_.clear();
  state_.boundaryColor.assign(Nbd + 1, kBlack);
  state_.unitColor.assign(Nbd + 2, kBlack);
  state_.unitColorChosen.assign(Nbd + 2, false);
  dropGrids();
  Warnings none;  // with no boundary files the display surface keeps only its own system
  adoptBoundarySystem(none);
  notify(Change::Model);
  notify(Change::BoundaryFiles);
  notify(Change::Colours);
}

void Session::setModelCells(const Array2D<std::int16_t>& cells) {
  LogicalModel& m = state_.model;
  const Array2D<std::int16_t> before = m.modelCell;
  for (int i = 1; i <= m.unitCount(); ++i) {
    for (int k = 1; k <= m.Nbd; ++k)
      m.modelCell(i, k) = cells.contains(i, k) ? cells(i, k) : std::int16_t{0};
  }
  checkModel();
  if (m.modelCell != before) dropGrids();
  notify(Change::Model);
}

void Session::requireModel() const {
  if (!state_.progress.modelReady()) {
    throw SessionError(kNoModelYet);
  }
}

}  // namespace kalvenor
