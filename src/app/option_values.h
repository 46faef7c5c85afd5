#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "app/command_line.h"

namespace kalvenor {

// The values the options take, read from their text; each throws UsageError naming the option
// and what is wrong with the text.

// `count` finite numbers separated by commas.
std::vector<double> numbers(const std::string& option, const std::string& text, std::size_t count);
Point2 point(const std::string& option, const std::string& text);

// The vertices of --vertices, "x1,y1;x2,y2;...".
std::vector<Point2> vertices(const std::string& text);

// --contours C0,C1,DC or auto[:N].
void readContours(RenderOptions& o, const std::string& text);
// --perspective D,P.
void readPerspective(RenderOptions& o, const std::string& text);
// --frame 2|4|none.
void readFrame(RenderOptions& o, const std::string& text);
// --contacts smooth|cells.
void readContacts(RenderOptions& o, const std::string& text);
// --shade [AZ,ALT]: the shading on, with the default light when no value is given.
void readShade(RenderOptions& o, const std::string& text);
// --shade-strength S, from 0 to 1.
void readShadeStrength(RenderOptions& o, const std::string& text);
// --layer NAME, not empty.
void readLayer(RenderOptions& o, const std::string& text);
// --borehole-buffer METRES, above 0.
void readBoreholeBuffer(RenderOptions& o, const std::string& text);
// --export-ve V, above 0.
void readExportVe(RenderOptions& o, const std::string& text);
// --export-decimate N, a whole number from 1 to 1000.
void readExportDecimate(RenderOptions& o, const std::string& text);
// --section-series N,SPACING: a series that can be made (see seriesProblem).
void readSectionSeries(RenderOptions& o, const std::string& text);
// --atlas FILE, a .pdf.
void readAtlas(RenderOptions& o, const std::string& text);
// --atlas-page A3|A4|A5|letter|legal[,portrait].
void readAtlasPage(RenderOptions& o, const std::string& text);
// --map-of thickness:NAME or depth:NAME.
void readMapOf(RenderOptions& o, const std::string& text);
// --size WxH.
void readSize(RenderOptions& o, const std::string& text);
// --view A,G,S,V; "A,G,,V" leaves the magnification to --fit.
void readView(RenderOptions& o, const std::string& text);

// One line of at most kMaxTitleCharacters characters.
std::string checkedTitle(const std::string& text);
// A projected coordinate system that GDAL knows.
std::string checkedSrs(const std::string& text);

}  // namespace kalvenor
