#include "session/section_atlas.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include "model/message_text.h"
#include "model/number_text.h"
#include "render/annotation_layout.h"

namespace kalvenor {
namespace {

constexpr double kMetresPerInch = 0.0254;
// The location map's cells along the longer side of the display area: finer than a small map
// shows, few enough to draw on every page.
constexpr int kPlanCells = 160;
// The share of the page's height kept below the section for the location map and the caption.
constexpr double kBandShare = 0.3;

// The round scale at or above `denominator`: 1, 2, 2.5 or 5 times a power of ten.
double roundScale(double denominator) {
  const double power = std::pow(10.0, std::floor(std::log10(denominator)));
  for (const double mantissa : {1.0, 2.0, 2.5, 5.0}) {
    if (mantissa * power >= denominator * (1 - 1e-9)) return mantissa * power;
  }
  return 10 * power;
}

// A whole number with its thousands set apart by spaces, as scales are printed: "50 000".
std::string groupedNumber(double value) {
  std::string digits = numberText(std::round(value));
  for (auto at = static_cast<std::ptrdiff_t>(digits.size()) - 3; at > 0; at -= 3) {
    digits.insert(static_cast<std::size_t>(at), " ");
  }
  return digits;
}

std::string pageTitle(const std::string& title, const std::string& name) {
  if (title.empty()) return fill(translated("Section {1}–{1}'"), {name});
  return fill(translated("{1}: section {2}–{2}'"), {title, name});
}

// Where the page's section lies from the survey line's.
std::string placeOf(const SeriesSections& series, int number) {
  const std::string name = seriesSectionName(number);
  if (number == 1) return fill(translated("{1}–{1}': along the survey line"), {name});
  const double offset = (number - 1) * series.series.spacing;
  return fill(offset > 0 ? translated("{1}–{1}': {2} m to the right of {3}–{3}'")
                         : translated("{1}–{1}': {2} m to the left of {3}–{3}'"),
              {name, numberText(std::abs(offset)), seriesSectionName(1)});
}

void applySectionView(Session& page, double Sca, double Ve, const Canvas& canvas) {
  page.applyView({.Alpha = page.sectionView().Alpha,
                  .Gamma = 0.0,
                  .Sca = Sca,
                  .Ve = Ve,
                  .Dist = kParallelDist,
                  .Ppz = 0.0},
                 canvas.width(), canvas.height());
}

}  // namespace

std::optional<AtlasPaper> namedPaper(const std::string& name, bool portrait) {
  struct Named {
    const char* name;
    double longer, shorter;  // millimetres
  };
  static constexpr Named kPapers[] = {{"a3", 420, 297},
                                      {"a4", 297, 210},
                                      {"a5", 210, 148},
                                      {"letter", 279.4, 215.9},
                                      {"legal", 355.6, 215.9}};
  std::string lower = name;
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  for (const Named& paper : kPapers) {
    if (lower != paper.name) continue;
    AtlasPaper chosen;
    chosen.widthMm = portrait ? paper.shorter : paper.longer;
    chosen.heightMm = portrait ? paper.longer : paper.shorter;
    return chosen;
  }
  return std::nullopt;
}

std::optional<double> commonFitScale(std::vector<Session>& sections, const Canvas& canvas,
                                     const Margins& extra) {
  std::optional<double> smallest;
  for (Session& section : sections) {
    const std::optional<double> Sca = section.sectionFitScale(canvas, extra);
    if (Sca && (!smallest || *Sca < *smallest)) smallest = Sca;
  }
  return smallest;
}

SectionAtlas::SectionAtlas(const Session& session, SeriesSections series, const AtlasPaper& paper,
                           double Ve)
    : session_(session.detachedCopy()), series_(std::move(series)), paper_(paper), Ve_(Ve) {
  session_.setRenderContext(session.renderContext());
  const ViewerState& s = session_.state();
  plan_ = classifyPlan(s.model, *series_.boundaryGrids, *s.display, kPlanCells);
  for (const SeriesMember& member : series_.build->members) {
    tracks_.push_back(sectionTrack(member.build.section));
  }
}

int SectionAtlas::pageCount() const { return static_cast<int>(series_.build->members.size()); }

// The section's session with the annotations of its page.
Session SectionAtlas::pageSession(int page) const {
  Session section = session_.withSeriesSection(series_, static_cast<std::size_t>(page));
  Annotations notes = section.state().annotations;
  notes.legend = true;
  notes.axes = true;
  notes.title = pageTitle(session_.state().annotations.title, notes.sectionName);
  section.setAnnotations(notes);
  return section;
}

Margins SectionAtlas::mapBand(const Canvas& canvas) const {
  return {0, 0, 0, std::round(kBandShare * canvas.height())};
}

// The largest magnification every section fits its page with, made a round scale on paper.
void SectionAtlas::settleScale(const Canvas& canvas) {
  std::vector<Session> sections;
  for (int page = 0; page < pageCount(); ++page) {
    sections.push_back(pageSession(page));
    applySectionView(sections.back(), 1, Ve_, canvas);
  }
  const std::optional<double> Sca = commonFitScale(sections, canvas, mapBand(canvas));
  const double pixelsPerMetre = Sca ? sections.front().projection().scaleAt(*Sca) : 0;
  if (!(pixelsPerMetre > 0)) {
    throw SessionError(translated("The sections of the series do not fit on a page."));
  }
  const double fitted = paper_.dotsPerInch / (kMetresPerInch * pixelsPerMetre);
  denominator_ = roundScale(fitted);
  Sca_ = *Sca * fitted / *denominator_;
}

void SectionAtlas::drawPage(Canvas& canvas, int page) {
  if (!Sca_) settleScale(canvas);
  Session section = pageSession(page);
  applySectionView(section, *Sca_, Ve_, canvas);
  section.centreSectionView(canvas, mapBand(canvas));
  section.drawSection(canvas);
  const int size = annotationTextSize(canvas);
  const double band = mapBand(canvas).bottom;
  const double aspect = (plan_.east - plan_.west) / std::max(plan_.north - plan_.south, 1e-9);
  const double high = band - 3 * size;
  const double wide = std::min(0.45 * canvas.width(), high * aspect);
  const CanvasBox box{canvas.width() - 2 * size - wide, canvas.height() - 1.5 * size - high, wide,
                      high};
  const ViewerState& s = section.state();
  drawLocationMap(canvas, box,
                  {.plan = plan_,
                   .unitColor = s.unitColor,
                   .tracks = tracks_,
                   .highlighted = static_cast<std::size_t>(page),
                   .name = s.annotations.sectionName,
                   .lineColor = s.drawOptions.LineColor},
                  size);
  drawCaption(canvas, page);
}

// Bottom left: where the section lies, its scale on paper and the page number.
void SectionAtlas::drawCaption(Canvas& canvas, int page) const {
  const int size = annotationTextSize(canvas);
  const int number = series_.build->members.at(static_cast<std::size_t>(page)).number;
  std::string scale = fill(translated("Horizontal scale 1 : {1}"), {groupedNumber(*denominator_)});
  if (Ve_ != 1) scale += ", V.E. x" + numberText(Ve_);
  const std::string lines[] = {
      placeOf(series_, number), scale,
      fill(translated("Page {1} of {2}"), {std::to_string(page + 1), std::to_string(pageCount())})};
  canvas.setPenColor(session_.state().drawOptions.LineColor);
  double baseline = canvas.height() - mapBand(canvas).bottom + 2.5 * size;
  for (const std::string& line : lines) {
    drawLabel(canvas, 1.5 * size, baseline, line, size, TextAlign::Left);
    baseline += 1.6 * size;
  }
}

}  // namespace kalvenor
