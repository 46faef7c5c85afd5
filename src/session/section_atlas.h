#pragma once

#include <optional>
#include <string>
#include <vector>

#include "evaluation/plan_units.h"
#include "render/canvas.h"
#include "render/location_map.h"
#include "session/session.h"

namespace kalvenor {

// The paper of an atlas's pages, and how many canvas pixels an inch of it is drawn with.
struct AtlasPaper {
  double widthMm = 297.0;  // A4 landscape
  double heightMm = 210.0;
  double dotsPerInch = 144.0;
};

// The paper named "A3", "A4", "A5", "letter" or "legal" (in any case), landscape unless
// `portrait`; nothing for another name.
std::optional<AtlasPaper> namedPaper(const std::string& name, bool portrait);

// The largest magnification at which each section fits the canvas with room for its
// annotations and `extra`, in the view each has applied; nothing when none can be fitted. The
// sections of a series drawn at it compare.
std::optional<double> commonFitScale(std::vector<Session>& sections, const Canvas& canvas,
                                     const Margins& extra = {});

// A page a section of a series, all at one scale and one vertical exaggeration so that they
// compare: the section with its title, its ends named, its axes and legend; below it, where it
// lies (a small map of the units at the ground with every line of the series, its own
// highlighted) and its scale on paper. The scale is the round one (1, 2, 2.5 or 5 times a power
// of ten) nearest above the one that fits the largest section to its page; each section is
// centred on its page.
class SectionAtlas {
 public:
  // The pages of the series, drawn with the session's colours, title, base and draw options at
  // the exaggeration Ve.
  SectionAtlas(const Session& session, SeriesSections series, const AtlasPaper& paper, double Ve);

  int pageCount() const;
  // Draws page `page` (from 0) on a canvas the size of the paper at its resolution; the first
  // page drawn settles the scale of all.
  void drawPage(Canvas& canvas, int page);
  // The scale as 1 : this on paper; nothing before the first page is drawn.
  std::optional<double> scaleDenominator() const { return denominator_; }

 private:
  Session pageSession(int page) const;
  Margins mapBand(const Canvas& canvas) const;
  void settleScale(const Canvas& canvas);
  void drawCaption(Canvas& canvas, int page) const;

  Session session_;
  SeriesSections series_;
  AtlasPaper paper_;
  double Ve_;
  PlanUnits plan_;
  std::vector<std::vector<MapPoint>> tracks_;
  std::optional<double> Sca_;
  std::optional<double> denominator_;
};

}  // namespace kalvenor
