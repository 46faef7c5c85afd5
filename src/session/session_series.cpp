#include <cmath>

#include "model/message_text.h"
#include "model/number_text.h"
#include "session/session.h"

namespace kalvenor {
namespace {

// Where a line of the series lies from the survey line, as its warnings say it.
std::string sideOfSurveyLine(const SectionSeries& series, int number) {
  const double offset = (number - 1) * series.spacing;
  return fill(offset >= 0 ? translated("{1} m to the right of the survey line")
                          : translated("{1} m to the left of the survey line"),
              {numberText(std::abs(offset))});
}

}  // namespace

void Session::setSectionSeries(const SectionSeries& series) {
  if (const auto problem = seriesProblem(series)) throw SessionError(*problem);
  state_.series = series;
  notify(Change::SectionSeries);
}

SeriesSections Session::buildSectionSeries(const BuildProgress& progress) {
  requireModel();
  if (state_.sectionGrid->empty() || state_.gridOutOfDate || state_.sectionOutOfDate) {
    throw SessionError(
        translated("A series of sections follows the survey line of the section "
                   "grid: build the section grid in step (5-2) first."));
  }
  const SectionSeries series = state_.series;
  const std::vector<SectionLine> lines = seriesLines(state_.sectionLine, series);
  SeriesBuild build;
  step(fill(translated("build a series of {1} sections"), {std::to_string(series.count)}), [&] {
    build = kalvenor::buildSectionSeries(buildInputs(), *state_.boundaryGrids, lines, progress);
  });
  Warnings warnings;
  for (const SeriesLeftOut& out : build.leftOut) {
    warnings.push_back(
        fill(translated("Section {1} of the series, {2}, is left out: {3}"),
             {seriesSectionName(out.number), sideOfSurveyLine(series, out.number), out.reason}));
  }
  return {series, shared(std::move(build)), state_.boundaryGrids, std::move(warnings)};
}

Session Session::withSeriesSection(const SeriesSections& series, std::size_t index) const {
  Session copy = detachedCopy();
  copy.context_ = context_;
  const SeriesMember& member = series.build->members.at(index);
  ViewerState& s = copy.state_;
  s.sectionGrid = {series.build, &member.build.grid};
  s.section = {series.build, &member.build.section};
  s.sectionProfile = {series.build, &member.build.sectionProfile};
  s.sectionLine = member.line;
  s.boundaryGrids = series.boundaryGrids;
  s.annotations.sectionName = seriesSectionName(member.number);
  // The units drawn last are the survey line's section's, not this one's.
  s.drawUnit = noResult<Array2D<std::int16_t>>();
  s.picture = PictureKind::None;
  return copy;
}

}  // namespace kalvenor
