#include "session/command_line.h"

#include <cmath>
#include <functional>
#include <map>
#include <set>
#include <sstream>

#include "model/coordinate_system.h"
#include "model/message_text.h"
#include "model/number_text.h"
#include "model/read_error.h"

namespace kalvenor {
namespace {

// Walks the arguments; an option's value is the next argument.
class Arguments {
 public:
  explicit Arguments(const std::vector<std::string>& args) : args_(args) {}
  bool done() const { return at_ >= args_.size(); }
  const std::string& next() { return args_[at_++]; }
  std::string valueOf(const std::string& option) {
    if (done()) throw UsageError(fill(translated("{1} needs a value"), {option}));
    return next();
  }

 private:
  const std::vector<std::string>& args_;
  std::size_t at_ = 0;
};

std::vector<double> numbers(const std::string& option, const std::string& text, std::size_t count) {
  const auto refuse = [&] {
    throw UsageError(fill(translated("{1} takes {2} numbers separated by commas; {3} is not that"),
                          {option, std::to_string(count), quotedFound(text)}));
  };
  std::vector<double> values;
  std::stringstream parts(text);
  std::string part;
  while (std::getline(parts, part, ',')) {
    const auto value = wholeNumber(part);
    if (!value || !std::isfinite(*value)) refuse();
    values.push_back(*value);
  }
  if (values.size() != count) refuse();
  return values;
}

Point2 point(const std::string& option, const std::string& text) {
  const auto v = numbers(option, text, 2);
  return {v[0], v[1]};
}

// An option that takes one value must not be given twice: the second would silently win.
void takeOnce(std::set<std::string>& given, const std::string& option) {
  if (!given.insert(option).second) {
    throw UsageError(fill(translated("{1} is given twice; it takes one value"), {option}));
  }
}

// Reads one input-file option; false when the option is not one of them.
bool readInput(InputFiles& inputs, const std::string& option, Arguments& args,
               std::set<std::string>& given) {
  if (option == "--boundary") {
    inputs.boundaries.push_back(args.valueOf(option));
    return true;
  }
  std::string* const file = option == "--model"     ? &inputs.model
                            : option == "--surface" ? &inputs.surface
                            : option == "--colors"  ? &inputs.colors
                                                    : nullptr;
  if (!file) return false;
  takeOnce(given, option);
  *file = args.valueOf(option);
  return true;
}

void readContours(RenderOptions& o, const std::string& text) {
  if (text == "auto") {
    o.autoContours = 20;
  } else if (text.rfind("auto:", 0) == 0) {
    const auto n = wholeNumber(text.substr(5));
    if (!n || *n < 1 || *n > 32767 || *n != Int(*n)) {
      throw UsageError(
          fill(translated("{1} takes a whole number of divisions from 1; {2} is not that"),
               {"--contours auto:N", quotedFound(text)}));
    }
    o.autoContours = static_cast<int>(*n);
  } else {
    const auto v = numbers("--contours", text, 3);
    if (v[2] == 0) {
      throw UsageError(fill(translated("{1}: the interval must not be 0"), {"--contours"}));
    }
    o.contours = {v[0], v[1], v[2]};
  }
}

void readSize(RenderOptions& o, const std::string& text) {
  const std::size_t x = text.find('x');
  const auto w = x == std::string::npos ? std::nullopt : wholeNumber(text.substr(0, x));
  const auto h = x == std::string::npos ? std::nullopt : wholeNumber(text.substr(x + 1));
  if (!w || !h || *w < kMinPictureSide || *h < kMinPictureSide || *w > kMaxPictureSide ||
      *h > kMaxPictureSide || *w != Int(*w) || *h != Int(*h)) {
    throw UsageError(fill(translated("{1} takes WIDTHxHEIGHT in pixels from {2} to {3}, for "
                                     "example 800x800; {4} is not that"),
                          {"--size", std::to_string(kMinPictureSide),
                           std::to_string(kMaxPictureSide), quotedFound(text)}));
  }
  o.width = static_cast<int>(*w);
  o.height = static_cast<int>(*h);
  o.sizeGiven = true;
}

std::string checkedTitle(const std::string& text) {
  std::size_t characters = 0;
  for (const char c : text) {
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++characters;
    if (static_cast<unsigned char>(c) < 0x20) {
      throw UsageError(fill(translated("{1} must be one line of text"), {"--title"}));
    }
  }
  if (characters > kMaxTitleCharacters) {
    throw UsageError(
        fill(translated("{1} takes at most {2} characters; this one has {3}"),
             {"--title", std::to_string(kMaxTitleCharacters), std::to_string(characters)}));
  }
  return text;
}

// "--view A,G,,V" leaves the magnification to --fit.
void readView(RenderOptions& o, const std::string& text) {
  const std::size_t second = text.find(',', text.find(',') + 1);
  if (second != std::string::npos && text.compare(second, 2, ",,") == 0) {
    std::vector<double> n;
    try {
      n = numbers("--view", text.substr(0, second) + ",1" + text.substr(second + 1), 4);
    } catch (const UsageError&) {
      numbers("--view", text, 4);  // says what is wrong with the text as given
    }
    o.view = {n[0], n[1], n[2], n[3]};
    o.fit = true;
    return;
  }
  const auto n = numbers("--view", text, 4);
  o.view = {n[0], n[1], n[2], n[3]};
}

// A coordinate system GDAL does not know, or one in degrees, is refused before any file is read.
std::string checkedSrs(const std::string& text) {
  try {
    projectedSystemWkt(text);
  } catch (const CoordinateSystemError& error) {
    throw UsageError(std::string("--srs: ") + error.what());
  }
  return text;
}

// The survey line needs its start and one of its end or its direction.
void checkSection(const SessionOptions& o, bool wanted) {
  const bool given = o.start || o.end || o.azimuth;
  if ((wanted || given) && !o.start) {
    throw UsageError(fill(translated("a section needs {1}"), {"--start X,Y"}));
  }
  if ((wanted || given) && o.end.has_value() == o.azimuth.has_value()) {
    throw UsageError(fill(translated("a section needs either {1} or {2}, not both"),
                          {"--end X,Y", "--azimuth DEG"}));
  }
}

// A session brings its own inputs, options and picture: only where to write the picture, its
// size and its line smoothing go with it. The options are compared by name, so a flag given
// twice is still that one flag.
void checkSessionCombination(const RenderOptions& o, const std::vector<std::string>& named,
                             bool render) {
  if (render && o.mapFile.empty()) {
    throw UsageError(
        fill(translated("{1} needs {2} for its picture"), {"--session", "--map FILE"}));
  }
  const std::set<std::string> allowed =
      render ? std::set<std::string>{"--session", "--map", "--size", "--antialias"}
             : std::set<std::string>{"--session"};
  for (const std::string& option : named) {
    if (allowed.contains(option)) continue;
    throw UsageError(
        render ? fill(translated("{1} takes no other options than {2}, {3} and {4}; {5} cannot go "
                                 "with it"),
                      {"--session", "--map", "--size", "--antialias", option})
               : fill(translated("{1} takes no other options; {2} cannot go with it"),
                      {"--session", option}));
  }
}

void checkRenderCombination(const RenderOptions& o) {
  const auto required = [](const char* option) {
    return UsageError(fill(translated("{1} is required"), {option}));
  };
  if (o.inputs.model.empty()) throw required("--model");
  if (o.inputs.surface.empty()) throw required("--surface");
  if (o.mapFile.empty() && o.sectionFile.empty() && o.unitsGrid.empty() && o.unitsLegend.empty() &&
      o.sectionUnits.empty() && o.sectionContacts.empty()) {
    throw UsageError(fill(translated("nothing to write: give {1}, {2}, {3}, {4}, {5} or {6}"),
                          {"--map", "--section", "--units-grid", "--units-legend",
                           "--section-units", "--section-contacts"}));
  }
  if (!o.layer.empty() && o.sectionContacts.empty()) {
    throw UsageError(fill(translated("{1} names the layer of {2}, which is not given"),
                          {"--layer", "--section-contacts"}));
  }
  checkSection(o, o.wantsSection());
  if (o.sectionLine && o.mapFile.empty()) {
    throw UsageError(fill(translated("{1} and {2} mark the line on {3}"),
                          {"--section-line", "--section-trace", "--map"}));
  }
}

std::string notOfTheWindow(const std::string& option) {
  return fill(translated("{1} is an option of kalvenor-render, not of the window"), {option});
}

// The options of both programs; `render` adds the outputs and the picture size of the batch
// renderer, which the window refuses by name. `named` receives every option given, in order.
RenderOptions parse(const std::vector<std::string>& args, bool render,
                    std::vector<std::string>& named) {
  RenderOptions o;
  // The batch renderer leaves the far frame lines out unless asked: they would run over the
  // terrain.
  if (render) o.frame = 2;
  Arguments walk(args);
  const std::map<std::string, std::function<void(const std::string&)>> valued = {
      {"--zbase", [&](const std::string& v) { o.zbase = numbers("--zbase", v, 1)[0]; }},
      {"--view", [&](const std::string& v) { readView(o, v); }},
      {"--perspective",
       [&](const std::string& v) {
         const auto n = numbers("--perspective", v, 2);
         o.perspective = {n[0], n[1]};
       }},
      {"--contours", [&](const std::string& v) { readContours(o, v); }},
      {"--frame",
       [&](const std::string& v) {
         if (v != "2" && v != "4" && v != "none") {
           throw UsageError(fill(translated("{1} takes 2, 4 or none"), {"--frame"}));
         }
         o.frame = v == "none" ? 0 : std::stoi(v);
       }},
      {"--contacts",
       [&](const std::string& v) {
         if (v != "smooth" && v != "cells") {
           throw UsageError(fill(translated("{1} takes smooth or cells; {2} is not that"),
                                 {"--contacts", quotedFound(v)}));
         }
         o.contacts = v == "smooth" ? Contacts::Smooth : Contacts::Cells;
       }},
      {"--start", [&](const std::string& v) { o.start = point("--start", v); }},
      {"--end", [&](const std::string& v) { o.end = point("--end", v); }},
      {"--azimuth", [&](const std::string& v) { o.azimuth = numbers("--azimuth", v, 1)[0]; }},
      {"--srs", [&](const std::string& v) { o.inputs.srs = checkedSrs(v); }},
      {"--title", [&](const std::string& v) { o.title = checkedTitle(v); }},
      {"--session", [&](const std::string& v) { o.session = v; }},
  };
  const std::map<std::string, std::function<void(const std::string&)>> outputs = {
      {"--size", [&](const std::string& v) { readSize(o, v); }},
      {"--map", [&](const std::string& v) { o.mapFile = v; }},
      {"--section", [&](const std::string& v) { o.sectionFile = v; }},
      {"--units-grid", [&](const std::string& v) { o.unitsGrid = v; }},
      {"--units-legend", [&](const std::string& v) { o.unitsLegend = v; }},
      {"--section-units", [&](const std::string& v) { o.sectionUnits = v; }},
      {"--section-contacts", [&](const std::string& v) { o.sectionContacts = v; }},
      {"--layer",
       [&](const std::string& v) {
         if (v.empty()) {
           throw UsageError(fill(translated("{1} needs the name of a layer"), {"--layer"}));
         }
         o.layer = v;
       }},
  };
  const std::map<std::string, std::function<void()>> flags = {
      {"--no-side", [&] { o.side = false; }},
      {"--no-boundary-lines", [&] { o.boundaryLines = false; }},
      {"--black", [&] { o.black = true; }},
      {"--section-line", [&] { o.sectionLine = true; }},
      {"--legend", [&] { o.legend = true; }},
      {"--axes", [&] { o.axes = true; }},
      {"--section-trace",
       [&] {
         o.sectionLine = true;
         o.sectionTrace = true;
       }},
      {"--antialias", [&] { o.antialias = true; }},
      {"--help", [&] { o.help = true; }},
      {"-h", [&] { o.help = true; }},
      {"--version", [&] { o.version = true; }},
  };
  std::set<std::string> given;
  while (!walk.done()) {
    const std::string option = walk.next();
    named.push_back(option);
    if (readInput(o.inputs, option, walk, given)) continue;
    if ((option == "--fit" || option == "--antialias") && !render) {
      throw UsageError(notOfTheWindow(option));
    } else if (option == "--fit") {
      o.fit = true;
    } else if (const auto flag = flags.find(option); flag != flags.end()) {
      flag->second();
    } else if (const auto read = valued.find(option); read != valued.end()) {
      takeOnce(given, option);
      read->second(walk.valueOf(option));
    } else if (const auto out = outputs.find(option); out != outputs.end()) {
      if (!render) throw UsageError(notOfTheWindow(option));
      takeOnce(given, option);
      out->second(walk.valueOf(option));
    } else {
      throw UsageError(fill(translated("unknown option {1} (see {2})"), {option, "--help"}));
    }
  }
  return o;
}

}  // namespace

SessionOptions parseWindowOptions(const std::vector<std::string>& args) {
  std::vector<std::string> named;
  const RenderOptions o = parse(args, false, named);
  if (o.help || o.version) return o;
  if (!o.session.empty()) {
    checkSessionCombination(o, named, false);
  } else {
    checkSection(o, o.sectionLine);
  }
  return o;
}

RenderOptions parseRenderOptions(const std::vector<std::string>& args) {
  std::vector<std::string> named;
  RenderOptions o = parse(args, true, named);
  if (o.help || o.version) return o;
  if (!o.session.empty()) {
    checkSessionCombination(o, named, true);
  } else {
    checkRenderCombination(o);
  }
  return o;
}

std::string windowUsage() {
  return R"(usage: kalvenor [--model FILE] [--boundary FILE]... [--surface FILE] [--colors FILE]
                [options]
       kalvenor --session FILE
Opens the viewer. With input files it runs the steps for them at start-up, as a user would:
the logical model, the boundary grids (lowest first, one --boundary each), the colours, the
display surface; with a model and a surface also the 3D-map grid and the view, and draws the
map. A step that fails shows its message and the rest are left to the user.

These options of kalvenor-render mean the same here (see kalvenor-render --help):
  --srs SYSTEM, --zbase Z, --view A,G,S,V, --perspective D,P, --contours C0,C1,DC | auto[:N],
  --no-side, --no-boundary-lines, --frame 2|4|none (default 4), --black,
  --contacts smooth|cells (default cells),
  --start X,Y with --end X,Y or --azimuth DEG   build the section along that line too
  --section-line                               and mark its line on the map
  --section-trace                              or mark it as a solid trace on the ground
  --legend, --axes, --title TEXT               annotate the pictures
  --session FILE        open a saved session instead (no other options)
  --help                this text
  --version             the program's name and version
)";
}

std::string renderUsage() {
  return R"(usage: kalvenor-render --model FILE --boundary FILE... --surface FILE [options]
       kalvenor-render --session FILE --map FILE [--size WxH] [--antialias]
Draws the geological map or a section of a model without opening a window, and writes
the units for a GIS.

Input
  --model FILE          logical model
  --boundary FILE       grid of one boundary surface; repeat for every boundary, lowest first
  --surface FILE        display surface (normally the topography)
                        Grids are files of the own text format or single-band rasters that
                        GDAL reads (GeoTIFF, ESRI ASCII grid, ...).
  --colors FILE         colours: lines "unit N #rrggbb" and "boundary K #rrggbb"
  --session FILE        a session saved by the window: its inputs, options and last picture,
                        drawn into --map at the size it was saved with unless --size is given
  --srs SYSTEM          projected coordinate system (EPSG:6677, a WKT or a PROJ string) for
                        grids that name none; rasters in degrees are warped into it
  --zbase Z             base height of the block (default: the largest integer not above
                        the lowest display elevation less 0.5)
View of the map
  --view A,G,S,V        azimuth and depression of the view in degrees, magnification and
                        vertical exaggeration (default: default.txt beside the program)
  --perspective D,P     perspective with the eye at distance D and the plane at P
  --contours C0,C1,DC   contours from C0 to C1 every DC
  --contours auto[:N]   contours over the surface's range in N divisions (default 20)
  --no-side             no side walls
  --no-boundary-lines   no geological boundary lines
  --frame 2|4|none      grid frame on the two near sides (default), all four or none
  --contacts smooth|cells
                        smooth (default): cells crossed by a contact are split along the
                        traced line, walls rise in unit bands to the surface edge, and lines
                        are drawn after the fills; cells: every cell in the unit of its first
                        corner and each cell's lines right after it
  --black               black background, white frame lines
  --size WxH            picture size in pixels (default 800x800)
  --fit                 choose the magnification so the block or the section fills the
                        picture, with room for the annotations; also when --view leaves the
                        magnification out (--view 200,35,,3)
  --antialias           smooth lines in .png, .svg and .pdf pictures (fills stay sharp)
Annotations
  --legend              a legend of the units (of those the section cuts); a north arrow on
                        the map
  --axes                a section's distance and elevation axes, its ends A and A' with their
                        coordinates and the vertical exaggeration
  --title TEXT          a title over the picture (at most 200 characters)
Output (a picture's format follows the extension: .bmp, .png, .svg or .pdf)
  --map FILE            the 3D geological map
  --section FILE        the section, seen straight on (magnification 1.4 and no
                        exaggeration, or those of --view)
  --start X,Y           start point of the survey line
  --end X,Y             end point of the survey line, or
  --azimuth DEG         its direction, clockwise from north
  --section-line        mark the survey line on the map (a dotted outline of the section)
  --section-trace       mark it as a solid trace along the ground, its ends as squares
  --units-grid FILE     unit of every display node (0: no unit, NODATA) as a grid in the
                        format of the extension: .asc an ESRI ASCII grid (with a .prj when
                        the coordinate system is known), .tif a GeoTIFF, .vrt (with its data
                        in FILE.tif), .nc, .gpkg or any other lossless one that GDAL writes
                        (JPEG and WebP are refused); FILE.aux.xml beside it styles it for GDAL,
                        and the same name ending in .qml for QGIS
  --units-legend FILE   CSV unit,name,color to style that grid, and beside it, named like
                        it but ending in .txt, a QGIS colour map for its paletted renderer
  --section-units FILE  CSV h,v,x,y,z,unit,distance of every section node (-1: air)
  --section-contacts FILE
                        the boundaries and the ground in the section plane as 3D lines with
                        their names, in the vector format of the extension (.gpkg, .shp,
                        .geojson in longitudes and latitudes, ...; GeoPackage without one; a
                        folder holds them as a shapefile); a GeoPackage or SQLite file or a
                        folder that is there already keeps its other layers
  --layer NAME          the layer of --section-contacts (default: the file's base name); a
                        layer of that name is replaced only when it holds contacts
  --help                this text
  --version             the program's name and version
No output may replace an input or another output of the run.
A bad option or file gives a one-line message and exit status 2.
)";
}

}  // namespace kalvenor
