#include "session/session.h"

#include <algorithm>

#include "model/default_values.h"
#include "model/input_names.h"
#include "model/message_text.h"
#include "model/parallel_for.h"
#include "model/read_error.h"
#include "model/step_failure.h"

namespace kalvenor {

NoModelYet::operator std::string() const {
  return fill(translated("There is no logical model yet: enter one in {1} first."),
              {inputName("--model")});
}

Session::Session() {
  context_.threads = availableThreads();
  state_.view.Dist = kParallelDist;
  state_.drawOptions.LineColor = kBlack;
  state_.drawOptions.DrawBoundary = true;
}

void Session::addObserver(SessionObserver& observer) { observers_.push_back(&observer); }

void Session::removeObserver(SessionObserver& observer) {
  observers_.erase(std::remove(observers_.begin(), observers_.end(), &observer), observers_.end());
}

void Session::notify(Change change) {
  ++changes_;
  for (SessionObserver* observer : observers_) observer->sessionChanged(change);
}

Session Session::detachedCopy() const {
  Session copy;
  copy.state_ = state_;
  copy.stepHook_ = stepHook_;
  copy.changes_ = changes_;
  return copy;
}

bool Session::takeDrawnCopy(Session& drawn, std::uint64_t copiedAt) {
  if (changes_ != copiedAt) return false;
  state_ = std::move(drawn.state_);
  notify(Change::Picture);
  return true;
}

void Session::step(const std::string& name, const std::function<void()>& work) {
  runStep(name, [&] {
    if (stepHook_) stepHook_(name);
    work();
  });
}

std::optional<std::string> Session::loadDefaults(const std::vector<std::string>& places) {
  try {
    state_.defaults = readDefaultFile(places);
    return std::nullopt;
  } catch (const ReadError& error) {
    state_.defaults = DefaultValues{};
    return std::string(error.what());
  }
}

void Session::replaceWith(Session& other) {
  const DefaultValues defaults = state_.defaults;
  state_ = std::move(other.state_);
  state_.defaults = defaults;
  boundaryRead_ = std::move(other.boundaryRead_);
  for (Change change : {Change::Model, Change::BoundaryFiles, Change::Colours,
                        Change::DisplaySurface, Change::BaseHeight, Change::CoordinateSystem,
                        Change::Grids, Change::View, Change::Contours, Change::DrawOptions,
                        Change::Picture, Change::Boreholes, Change::Fence, Change::SectionSeries}) {
    notify(change);
  }
}

bool Session::stepOpen(Step which) const {
  const ViewerState& s = state_;
  switch (which) {
    case Step::Model:
      return !(s.progress.modelReady() && s.progress.modelComplete());
    case Step::BoundaryFiles:
      return s.boundaryFile.size() < static_cast<std::size_t>(s.model.Nbd + 1) ||
             std::any_of(s.boundaryFile.begin() + 1, s.boundaryFile.end(),
                         [](const std::string& file) { return file.empty(); });
    case Step::Colours:
      return s.unitColorChosen.size() < 2 ||
             std::find(s.unitColorChosen.begin() + 1, s.unitColorChosen.end(), false) !=
                 s.unitColorChosen.end();
    case Step::DisplaySurface:
      return !s.display->loaded();
    case Step::Grid:
      return s.gridOutOfDate;
    case Step::View:
      return !s.progress.viewReady();
  }
  return true;
}

}  // namespace kalvenor
