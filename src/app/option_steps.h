#pragma once

#include <functional>
#include <string>

#include "app/command_line.h"
#include "session/session.h"

namespace kalvenor {

// Receives each warning of a step that goes on.
using WarningSink = std::function<void(const std::string&)>;

// The steps the input files of a command line ask for, in the order a user takes them: the
// model, the boundary files, the colours, the display surface and the boreholes, each only when
// given, all read with the coordinate system of --srs when given. Throws at the first step that
// fails.
void loadInputs(Session& session, const InputFiles& inputs, const WarningSink& warn);

// The base height, what the map is drawn with and the contours, as the options give them.
void applyOptions(Session& session, const SessionOptions& options);

// The survey line of the options' --start and --end or --azimuth, of their --vertices, or of
// their --section-line-file (and --section-feature), read in the session's display system.
SectionLine sectionLineOf(const Session& session, const SessionOptions& options);

// The lines of the fence diagram of the options: those of --fence, read in the session's display
// system, or every --vertices, lettered A, B, ..., when it is given more than once; else none.
std::vector<FenceLine> fenceLinesOf(const Session& session, const SessionOptions& options);

// With a map of values, automatic contours span the values rather than the surface's elevations:
// once the map grid is built, they are set again from the values.
void applyValueContours(Session& session, const SessionOptions& options);

// The map's view: --view and --perspective, or the default view.
TypedView mapViewOf(const Session& session, const SessionOptions& options);

// The section seen straight on, with the magnification and exaggeration of --view if given.
TypedView sectionViewOf(const Session& session, const SessionOptions& options);

}  // namespace kalvenor
