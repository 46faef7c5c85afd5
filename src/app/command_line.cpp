#include "app/command_line.h"

#include <numeric>

#include "app/option_combination.h"
#include "app/option_help.h"
#include "app/option_reading.h"
#include "app/option_values.h"
#include "app/summary_line.h"
#include "model/message_text.h"

namespace kalvenor {
namespace {

using Read = std::function<void(RenderOptions&, const std::string&)>;

OptionSpec option(std::string name, std::string form, Read read, std::string help) {
  return {.name = std::move(name),
          .forms = {std::move(form)},
          .help = {std::move(help)},
          .read = std::move(read)};
}

OptionSpec flag(std::string name, Read read, std::string help) {
  return {.name = std::move(name),
          .arity = Arity::Flag,
          .help = {std::move(help)},
          .read = std::move(read)};
}

OptionSpec renderOnly(OptionSpec spec) {
  spec.takers = Takers::RenderOnly;
  return spec;
}

template <typename Text>
Read into(Text field) {
  return [field](RenderOptions& o, const std::string& v) { o.*field = v; };
}

Read inputFile(std::string InputFiles::*file) {
  return [file](RenderOptions& o, const std::string& v) { o.inputs.*file = v; };
}

Read set(bool RenderOptions::*field, bool value = true) {
  return [field, value](RenderOptions& o, const std::string&) { o.*field = value; };
}

// The options of one heading of kalvenor-render --help.
std::vector<OptionSpec> under(const std::string& heading, std::vector<OptionSpec> options) {
  for (OptionSpec& spec : options) spec.section = heading;
  return options;
}

std::vector<OptionSpec> inputOptions() {
  OptionSpec boundary = option(
      "--boundary", "FILE",
      [](RenderOptions& o, const std::string& v) { o.inputs.boundaries.push_back(v); },
      "grid of one boundary surface; repeat for every boundary, lowest first");
  boundary.arity = Arity::Repeated;
  OptionSpec session =
      option("--session", "FILE", into(&RenderOptions::session),
             "a session saved by the window: its inputs, options and last picture,\n"
             "drawn into --map at the size it was saved with unless --size is given,\n"
             "and the geological map it wrote, again (or into --geology-map)");
  session.windowHelp = "open a saved session instead (no other options)";
  return under(
      "Input",
      {option("--model", "FILE", inputFile(&InputFiles::model), "logical model"), boundary,
       option("--surface", "FILE", inputFile(&InputFiles::surface),
              "display surface (normally the topography)\n"
              "Grids are files of the own text format or single-band rasters that\n"
              "GDAL reads (GeoTIFF, ESRI ASCII grid, ...)."),
       option("--colors", "FILE", inputFile(&InputFiles::colors),
              "colours: lines \"unit N #rrggbb\" and \"boundary K #rrggbb\""),
       session,
       option(
           "--srs", "SYSTEM",
           [](RenderOptions& o, const std::string& v) { o.inputs.srs = checkedSrs(v); },
           "projected coordinate system (EPSG:6677, a WKT or a PROJ string) for\n"
           "grids that name none; rasters in degrees are warped into it"),
       option(
           "--zbase", "Z",
           [](RenderOptions& o, const std::string& v) { o.zbase = numbers("--zbase", v, 1)[0]; },
           "base height of the block (default: the largest integer not above\n"
           "the lowest display elevation less 0.5)")});
}

Read boreholeFile(std::string BoreholeFiles::*file) {
  return [file](RenderOptions& o, const std::string& v) { o.inputs.boreholes.*file = v; };
}

std::vector<OptionSpec> boreholeOptions() {
  return under(
      "Boreholes (CSV, GeoPackage layers as FILE.gpkg|layername=NAME, shapefiles, ...)",
      {option("--collars", "FILE", boreholeFile(&BoreholeFiles::collars),
              "collars: hole_id, x, y, z and optionally depth"),
       option("--surveys", "FILE", boreholeFile(&BoreholeFiles::surveys),
              "surveys: hole_id, depth, azimuth, dip (-90 straight down); a hole\n"
              "without one is vertical"),
       option("--intervals", "FILE", boreholeFile(&BoreholeFiles::intervals),
              "logged intervals: hole_id, from, to, unit"),
       option("--boreholes", "FILE", boreholeFile(&BoreholeFiles::oneTable),
              "instead of the three: one table hole_id, x, y, z_from, z_to, unit"),
       option("--unit-codes", "FILE", boreholeFile(&BoreholeFiles::unitCodes),
              "code,unit: the model's unit of each code the logs use"),
       option("--borehole-buffer", "METRES", readBoreholeBuffer,
              "holes within this distance of the survey line are drawn on the\n"
              "section (default: five times the larger grid spacing)"),
       flag(
           "--borehole-labels",
           [](RenderOptions& o, const std::string&) { o.boreholeDrawing.labels = true; },
           "the holes' ids at their collars on the map"),
       flag(
           "--borehole-residuals",
           [](RenderOptions& o, const std::string&) { o.boreholeDrawing.residuals = true; },
           "the collars on the map coloured by the largest residual of the\n"
           "model check"),
       renderOnly(option("--borehole-check", "FILE", into(&RenderOptions::boreholeCheck),
                         "the model checked against the logs: CSV of the contacts with their\n"
                         "residuals, and beside it FILE_intervals, FILE_holes and\n"
                         "FILE_summary; a GeoPackage of the contact points for .gpkg"))});
}

std::vector<OptionSpec> sceneOptions() {
  return under(
      "3D export",
      {renderOnly(option("--export-3d", "FILE", into(&RenderOptions::export3d),
                         "the block as triangles in model coordinates, for ParaView, PyVista,\n"
                         "QGIS 3D or Blender: glTF (.glb), VTK (.vtp, or .vtm with one .vtp\n"
                         "per part) or Wavefront OBJ (.obj with its .mtl)")),
       renderOnly(option("--export-ve", "V", readExportVe,
                         "vertical exaggeration of the .glb as a scale of its root node\n"
                         "(default 1); the coordinates keep true heights")),
       renderOnly(option("--export-decimate", "N", readExportDecimate,
                         "every N-th node of the display grid, the edges kept (default 1)"))});
}

std::vector<OptionSpec> thicknessOptions() {
  return under(
      "Thickness, depth and volumes (from the surfaces of the map's build)",
      {renderOnly(option("--thickness-grid", "FILE", into(&RenderOptions::thicknessGrid),
                         "the vertical thickness of the unit --unit at every display node (0\n"
                         "where it is absent; NODATA -9999 where the surface has no\n"
                         "elevation), a grid of reals in the format of the extension: .asc an\n"
                         "ESRI ASCII grid (with a .prj), .tif a GeoTIFF, .nc, ...")),
       renderOnly(option("--unit", "NAME", into(&RenderOptions::unitName),
                         "the unit of --thickness-grid, by its name in the model or its number")),
       renderOnly(option("--depth-grid", "FILE", into(&RenderOptions::depthGrid),
                         "the depth below the ground of the boundary --boundary-name at every\n"
                         "display node, NODATA -9999 where it is no contact between two units\n"
                         "or not below the ground; formats as --thickness-grid")),
       renderOnly(option("--boundary-name", "NAME", into(&RenderOptions::boundaryName),
                         "the boundary of --depth-grid, by its name in the model or its number")),
       option("--map-of", "thickness:UNIT|depth:BOUNDARY", readMapOf,
              "the map's surface coloured by that thickness or depth on a colour ramp,\n"
              "grey where it has none, with a colour bar as its legend and no side\n"
              "walls; --contours then contours it instead of the elevation"),
       renderOnly(option("--volumes", "FILE", into(&RenderOptions::volumes),
                         "CSV of every unit's volume between the ground and the base, its\n"
                         "area at the surface, its mean thickness (the volume over the area\n"
                         "where it is present) and its largest thickness at a node")),
       renderOnly(option("--clip", "FILE", into(&RenderOptions::clip),
                         "take the volumes inside the polygons of this layer only (any vector\n"
                         "format GDAL reads; FILE|layername=NAME for one of several layers)"))});
}

std::vector<OptionSpec> viewOptions() {
  OptionSpec contours =
      option("--contours", "C0,C1,DC", readContours, "contours from C0 to C1 every DC");
  contours.forms.push_back("auto[:N]");
  contours.help.push_back("contours over the surface's range in N divisions (default 20)");
  OptionSpec frame = option("--frame", "2|4|none", readFrame,
                            "grid frame on the two near sides (default), all four or none");
  frame.windowDefault = "4";
  OptionSpec contacts =
      option("--contacts", "smooth|cells", readContacts,
             "smooth (default): cells crossed by a contact are split along the\n"
             "traced line, walls rise in unit bands to the surface edge, and lines\n"
             "are drawn after the fills; cells: every cell in the unit of its first\n"
             "corner and each cell's lines right after it");
  contacts.windowDefault = "cells";
  OptionSpec shade = option("--shade", "[AZ,ALT]", readShade,
                            "shaded relief: the map's terrain lit by its slope from azimuth AZ\n"
                            "(clockwise from north) and ALT degrees above the horizon, as\n"
                            "gdaldem hillshade lights it with the view's exaggeration (default\n"
                            "315,45); walls and sections stay flat");
  shade.arity = Arity::OptionalValue;
  return under(
      "View of the map",
      {option("--view", "A,G,S,V", readView,
              "azimuth and depression of the view in degrees, magnification and\n"
              "vertical exaggeration (default: default.txt beside the program)"),
       option("--perspective", "D,P", readPerspective,
              "perspective with the eye at distance D and the plane at P"),
       contours, flag("--no-side", set(&RenderOptions::side, false), "no side walls"),
       flag("--no-boundary-lines", set(&RenderOptions::boundaryLines, false),
            "no geological boundary lines"),
       frame, contacts, shade,
       option("--shade-strength", "S", readShadeStrength,
              "how far the shading darkens a colour turned away from the light,\n"
              "0 to 1 (default 0.5)"),
       flag("--black", set(&RenderOptions::black), "black background, white frame lines"),
       renderOnly(option("--size", "WxH", readSize, "picture size in pixels (default 800x800)")),
       renderOnly(flag("--fit", set(&RenderOptions::fit),
                       "choose the magnification so the block or the section fills the\n"
                       "picture, with room for the annotations; also when --view leaves the\n"
                       "magnification out (--view 200,35,,3)")),
       renderOnly(flag("--antialias", set(&RenderOptions::antialias),
                       "smooth lines in .png, .svg and .pdf pictures (fills stay sharp)"))});
}

std::vector<OptionSpec> annotationOptions() {
  return under(
      "Annotations",
      {flag("--legend", set(&RenderOptions::legend),
            "a legend of the units (of those the section cuts); a north arrow on\nthe map"),
       flag("--axes", set(&RenderOptions::axes),
            "a section's distance and elevation axes, its ends A and A' with their\n"
            "coordinates and the vertical exaggeration"),
       option(
           "--title", "TEXT",
           [](RenderOptions& o, const std::string& v) { o.title = checkedTitle(v); },
           "a title over the picture (at most 200 characters)")});
}

// The first --vertices is the survey line; each one given is a line of the fence.
OptionSpec fenceVertices() {
  OptionSpec spec = renderOnly(option(
      "--vertices", "X,Y;X,Y;...",
      [](RenderOptions& o, const std::string& v) {
        o.vertexGroups.push_back(vertices(v));
        if (o.vertexGroups.size() == 1) o.vertices = o.vertexGroups.front();
      },
      "the survey line as the polyline through two or more vertices, in place\n"
      "of the three above: its first and last segments run on to the edge\n"
      "of the display area, and the section is unfolded along it, each bend\n"
      "marked with its vertex number; given two or more times, every line is\n"
      "also a panel of a fence diagram drawn in the block of --map"));
  spec.arity = Arity::Repeated;
  return spec;
}

// The survey line of a section and its marks on the map.
std::vector<OptionSpec> surveyLineOptions() {
  return {
      option(
          "--start", "X,Y",
          [](RenderOptions& o, const std::string& v) { o.start = point("--start", v); },
          "start point of the survey line"),
      option(
          "--end", "X,Y", [](RenderOptions& o, const std::string& v) { o.end = point("--end", v); },
          "end point of the survey line, or"),
      option(
          "--azimuth", "DEG",
          [](RenderOptions& o, const std::string& v) { o.azimuth = numbers("--azimuth", v, 1)[0]; },
          "its direction, clockwise from north"),
      fenceVertices(),
      renderOnly(option("--section-line-file", "FILE", into(&RenderOptions::lineFile),
                        "or the polyline of a line file: a line layer GDAL reads (GeoPackage,\n"
                        "shapefile, GeoJSON, FILE.gpkg|layername=NAME) or a CSV of x,y\n"
                        "vertices in order with an optional name column naming each vertex;\n"
                        "coordinates in another system are reprojected into the display\n"
                        "surface's, and the bends take the vertices' names where the file\n"
                        "gives them (a field vertex_names \"A;B;C\" on a line feature)")),
      renderOnly(option("--section-feature", "NAME", into(&RenderOptions::lineFeature),
                        "the line of that name in the file (its field name, line_name, line,\n"
                        "label, title or id; in a CSV its line column) instead of the first")),
      renderOnly(option("--fence", "FILE", into(&RenderOptions::fenceFile),
                        "a fence diagram in the block of --map: every line of this line layer\n"
                        "(formats as --section-line-file) a panel, named as the file names it")),
      renderOnly(flag("--fence-cut", set(&RenderOptions::fenceCut),
                      "leave the block out in front of the fence's panels, as seen from\n"
                      "the eye, so that they show whole")),
      flag("--section-line", set(&RenderOptions::sectionLine),
           "mark the survey line on the map (a dotted outline of the section)"),
      flag(
          "--section-trace",
          [](RenderOptions& o, const std::string&) {
            o.sectionLine = true;
            o.sectionTrace = true;
          },
          "mark it as a solid trace along the ground, its ends as squares")};
}

// Parallel sections and their atlas.
std::vector<OptionSpec> seriesOptions() {
  return {
      renderOnly(option("--section-series", "N,SPACING", readSectionSeries,
                        "N parallel sections: the survey line, then each next line SPACING\n"
                        "metres to the right of the one before looking along it (to the left\n"
                        "when negative), a polyline as its parallel curve; lines off the\n"
                        "display area are left out. --section writes FILE-1, FILE-2, ... (the\n"
                        "number before the extension), at one magnification")),
      renderOnly(option("--atlas", "FILE.pdf", readAtlas,
                        "the sections of the series (or the survey line's alone) as a PDF of\n"
                        "A4 landscape pages, all at one round scale and the exaggeration of\n"
                        "--view: each with its title, ends B and B', axes, legend, and a map\n"
                        "of where its line lies among the others")),
      renderOnly(option("--atlas-page", "SIZE[,portrait]", readAtlasPage,
                        "the atlas's paper: A3, A4 (default), A5, letter or legal, landscape\n"
                        "unless portrait")),
  };
}

std::vector<OptionSpec> outputOptions() {
  OptionSpec help = flag("--help", set(&RenderOptions::help), "this text");
  help.windowHelp = help.help.front();
  help.alias = "-h";
  OptionSpec version =
      flag("--version", set(&RenderOptions::version), "the program's name and version");
  version.windowHelp = version.help.front();
  std::vector<OptionSpec> pictures{
      renderOnly(option("--map", "FILE", into(&RenderOptions::mapFile), "the 3D geological map")),
      renderOnly(option("--section", "FILE", into(&RenderOptions::sectionFile),
                        "the section, seen straight on (magnification 1.4 and no\n"
                        "exaggeration, or those of --view); a .dxf is the section at true\n"
                        "scale for CAD: distance and height times the exaggeration, in metres")),
      renderOnly(flag("--section-dxf-3d", set(&RenderOptions::sectionDxf3d),
                      "the .dxf of --section at the line's real coordinates, true heights")),
  };
  for (OptionSpec& spec : seriesOptions()) pictures.push_back(std::move(spec));
  for (OptionSpec& spec : surveyLineOptions()) pictures.push_back(std::move(spec));
  std::vector<OptionSpec> exports{
      renderOnly(option("--units-grid", "FILE", into(&RenderOptions::unitsGrid),
                        "unit of every display node (0: no unit, NODATA) as a grid in the\n"
                        "format of the extension: .asc an ESRI ASCII grid (with a .prj when\n"
                        "the coordinate system is known), .tif a GeoTIFF, .vrt (with its data\n"
                        "in FILE.tif), .nc, .gpkg or any other lossless one that GDAL writes\n"
                        "(JPEG and WebP are refused); FILE.aux.xml beside it styles it for GDAL,\n"
                        "and the same name ending in .qml for QGIS")),
      renderOnly(option("--geology-map", "FILE", into(&RenderOptions::geologyMap),
                        "the geological map as vectors: the units at the ground as polygons cut\n"
                        "along the traced contacts (layer units: unit, name, color, area_m2) and\n"
                        "the contact lines (layer contacts: boundary, name, length_m), in the\n"
                        "vector format of the extension (GeoPackage without one, with QGIS\n"
                        "styles inside; .shp, .geojson, ... hold the contacts in FILE_contacts\n"
                        "beside, each with its .qml)")),
      renderOnly(option("--units-legend", "FILE", into(&RenderOptions::unitsLegend),
                        "CSV unit,name,color to style that grid, and beside it, named like\n"
                        "it but ending in .txt, a QGIS colour map for its paletted renderer")),
      renderOnly(option("--section-units", "FILE", into(&RenderOptions::sectionUnits),
                        "CSV h,v,x,y,z,unit,distance of every section node (-1: air);\n"
                        "along a polyline h,v,x,y,z,unit,distance,segment")),
      renderOnly(option("--section-contacts", "FILE", into(&RenderOptions::sectionContacts),
                        "the boundaries and the ground in the section plane as 3D lines with\n"
                        "their names, in the vector format of the extension (.gpkg, .shp,\n"
                        ".geojson in longitudes and latitudes, ...; GeoPackage without one; a\n"
                        "folder holds them as a shapefile); a GeoPackage or SQLite file or a\n"
                        "folder that is there already keeps its other layers")),
      renderOnly(option("--layer", "NAME", readLayer,
                        "the layer of --section-contacts (default: the file's base name); a\n"
                        "layer of that name is replaced only when it holds contacts")),
      help,
      version};
  for (OptionSpec& spec : exports) pictures.push_back(std::move(spec));
  return under("Output (a picture's format follows the extension: .bmp, .png, .svg or .pdf)",
               std::move(pictures));
}

std::function<std::string(const std::string&)> said(const std::string& message) {
  return [message](const std::string&) { return message; };
}

const std::vector<std::string> kSectionWanted = {
    "--section-line", "--section-trace",    "--start", "--end", "--azimuth",
    "--vertices",     "--section-line-file"};

// The whole survey line, given by either option, goes with no other part of one.
Combination wholeLine(const char* option) {
  return {.when = {option},
          .needs = {option, "--start", "--end", "--azimuth"},
          .onlyOne = true,
          .message = said(fill(translated("{1} gives the whole survey line; {2}, {3} and {4} "
                                          "cannot go with it"),
                               {option, "--start", "--end", "--azimuth"}))};
}

// The survey line needs its start and one of its end or its direction, or its vertices alone.
std::vector<Combination> sectionRules(const std::vector<std::string>& wanted) {
  return {{.when = wanted,
           .needs = {"--start", "--vertices", "--section-line-file"},
           .message = said(fill(translated("a section needs {1}"), {"--start X,Y"}))},
          wholeLine("--vertices"),
          wholeLine("--section-line-file"),
          {.when = {"--vertices"},
           .needs = {"--vertices", "--section-line-file"},
           .onlyOne = true,
           .message = said(fill(translated("{1} and {2} each give the whole survey line: give "
                                           "one of them"),
                                {"--vertices", "--section-line-file"}))},
          {.when = {"--section-feature"},
           .needs = {"--section-line-file"},
           .message = said(fill(translated("{1} names a line of {2}, which is not given"),
                                {"--section-feature", "--section-line-file"}))},
          {.when = {"--start", "--end", "--azimuth"},
           .needs = {"--end", "--azimuth"},
           .onlyOne = true,
           .message = said(fill(translated("a section needs either {1} or {2}, not both"),
                                {"--end X,Y", "--azimuth DEG"}))}};
}

// The logs and the drawing need the holes: their collars, or the one table, which does without
// the other three.
std::vector<Combination> boreholeRules(const std::vector<std::string>& renderOnly) {
  std::vector<std::string> wanted = {"--surveys",         "--intervals",
                                     "--unit-codes",      "--borehole-buffer",
                                     "--borehole-labels", "--borehole-residuals"};
  wanted.insert(wanted.end(), renderOnly.begin(), renderOnly.end());
  std::vector<Combination> rules;
  rules.reserve(wanted.size() + 3);  // and one for each of the three tables
  for (const std::string& option : wanted) {
    rules.push_back({.when = {option},
                     .needs = {"--collars", "--boreholes"},
                     .message = said(fill(translated("{1} needs the boreholes: give {2} or {3}"),
                                          {option, "--collars FILE", "--boreholes FILE"}))});
  }
  for (const char* table : {"--collars", "--surveys", "--intervals"}) {
    rules.push_back({.when = {"--boreholes"},
                     .needs = {"--boreholes", table},
                     .onlyOne = true,
                     .message = said(fill(translated("{1} holds the holes in one table; {2} "
                                                     "cannot go with it"),
                                          {"--boreholes", table}))});
  }
  return rules;
}

// Each grid needs the unit or boundary it is of, and names it only for that grid; the clip area
// is the volumes'.
std::vector<Combination> thicknessRules() {
  std::vector<Combination> rules;
  const std::pair<const char*, const char*> pairs[] = {{"--thickness-grid", "--unit"},
                                                       {"--depth-grid", "--boundary-name"}};
  for (const auto& [grid, name] : pairs) {
    rules.push_back({.when = {grid},
                     .needs = {name},
                     .message = said(fill(translated("{1} needs {2}, the one it is of"),
                                          {grid, std::string(name) + " NAME"}))});
    rules.push_back({.when = {name},
                     .needs = {grid},
                     .message = said(fill(translated("{1} names what {2} writes, which is not "
                                                     "given"),
                                          {name, grid}))});
  }
  rules.push_back({.when = {"--clip"},
                   .needs = {"--volumes"},
                   .message = said(fill(translated("{1} names what {2} writes, which is not given"),
                                        {"--clip", "--volumes"}))});
  rules.push_back({.when = {"--map-of"},
                   .needs = {"--map"},
                   .message = said(fill(translated("{1} names what {2} writes, which is not given"),
                                        {"--map-of", "--map"}))});
  return rules;
}

// The strength is the shading's.
Combination shadingRule() {
  return {.when = {"--shade-strength"},
          .needs = {"--shade"},
          .message = said(fill(translated("{1} is the strength of {2}, which is not given"),
                               {"--shade-strength", "--shade"}))};
}

Combination required(const char* option) {
  return {.needs = {option}, .message = said(fill(translated("{1} is required"), {option}))};
}

// The series and the atlas draw sections along the survey line, into their files.
std::vector<Combination> seriesRules() {
  return {
      {.when = {"--atlas", "--section-series"},
       .needs = {"--start", "--vertices"},
       .message = said(fill(
           translated("{1} and {2} draw sections along the survey line: give {3} "
                      "with {4} or {5}, or {6}"),
           {"--atlas", "--section-series", "--start X,Y", "--end", "--azimuth", "--vertices"}))},
      {.when = {"--atlas-page"},
       .needs = {"--atlas"},
       .message = said(fill(translated("{1} is the paper of {2}, which is not given"),
                            {"--atlas-page", "--atlas FILE"}))},
      {.when = {"--section-series"},
       .needs = {"--section", "--atlas"},
       .message = said(fill(translated("{1} draws its sections into {2} or {3}"),
                            {"--section-series", "--section FILE", "--atlas FILE"}))},
  };
}

// What kalvenor-render writes: a run must give one of them.
std::vector<std::string> renderOutputs() {
  return {"--map",
          "--section",
          "--units-grid",
          "--units-legend",
          "--section-units",
          "--section-contacts",
          "--borehole-check",
          "--export-3d",
          "--geology-map",
          "--atlas",
          "--thickness-grid",
          "--depth-grid",
          "--volumes"};
}

// What the options of single outputs need.
std::vector<Combination> outputRules() {
  std::vector<Combination> rules;
  rules.push_back({.when = {"--export-ve", "--export-decimate"},
                   .needs = {"--export-3d"},
                   .message = said(fill(translated("{1} and {2} say how {3} writes the block"),
                                        {"--export-ve", "--export-decimate", "--export-3d"}))});
  rules.push_back({.when = {"--section-dxf-3d"},
                   .needs = {"--section"},
                   .message = said(fill(translated("{1} places the section of {2} in space, which "
                                                   "must be a .dxf drawing"),
                                        {"--section-dxf-3d", "--section FILE.dxf"}))});
  rules.push_back({.when = {"--fence-cut"},
                   .needs = {"--map"},
                   .message = said(fill(translated("{1} cuts the block of {2} away in front of a "
                                                   "fence"),
                                        {"--fence-cut", "--map"}))});
  rules.push_back({.when = {"--section-line", "--section-trace"},
                   .needs = {"--map"},
                   .message = said(fill(translated("{1} and {2} mark the line on {3}"),
                                        {"--section-line", "--section-trace", "--map"}))});
  for (Combination& rule : thicknessRules()) rules.push_back(std::move(rule));
  rules.push_back(shadingRule());
  return rules;
}

// A session brings its own inputs, options and picture: only where to write the picture, its
// size and its line smoothing go with it. The options are compared by name, so a flag given
// twice is still that one flag.
std::vector<Combination> renderRules() {
  const std::vector<std::string> outputs = renderOutputs();
  std::vector<Combination> rules = {
      {.fromSession = true,
       .needs = {"--map"},
       .message =
           said(fill(translated("{1} needs {2} for its picture"), {"--session", "--map FILE"}))},
      {.fromSession = true,
       .allowsOnly = {"--session", "--map", "--size", "--antialias", "--geology-map"},
       .message =
           [](const std::string& option) {
             return fill(translated("{1} takes no other options than {2}, {3}, {4} and {5}; {6} "
                                    "cannot go with it"),
                         {"--session", "--map", "--size", "--antialias", "--geology-map", option});
           }},
      required("--model"),
      required("--surface"),
      {.needs = outputs,
       .message = said(fill(translated("nothing to write: give one of {1}"),
                            {std::accumulate(outputs.begin() + 1, outputs.end(), outputs[0],
                                             [](const std::string& list, const std::string& next) {
                                               return list + ", " + next;
                                             })}))},
      {.when = {"--layer"},
       .needs = {"--section-contacts"},
       .message = said(fill(translated("{1} names the layer of {2}, which is not given"),
                            {"--layer", "--section-contacts"}))}};
  for (Combination& rule : seriesRules()) rules.push_back(std::move(rule));
  std::vector<std::string> wanted = {"--section", "--section-units", "--section-contacts"};
  wanted.insert(wanted.end(), kSectionWanted.begin(), kSectionWanted.end());
  for (Combination& rule : sectionRules(wanted)) rules.push_back(std::move(rule));
  for (Combination& rule : boreholeRules({"--borehole-check"})) rules.push_back(std::move(rule));
  for (Combination& rule : outputRules()) rules.push_back(std::move(rule));
  return rules;
}

std::vector<Combination> windowRules() {
  std::vector<Combination> rules = {
      {.fromSession = true, .allowsOnly = {"--session"}, .message = [](const std::string& option) {
         return fill(translated("{1} takes no other options; {2} cannot go with it"),
                     {"--session", option});
       }}};
  rules.push_back(shadingRule());
  for (Combination& rule : sectionRules(kSectionWanted)) rules.push_back(std::move(rule));
  for (Combination& rule : boreholeRules({})) rules.push_back(std::move(rule));
  return rules;
}

// Several lines make a fence, which only the map shows; a cut needs a fence to cut for.
void checkFence(const RenderOptions& o) {
  const std::size_t lines = o.vertexGroups.size();
  if (!o.fenceFile.empty()) {
    if (lines >= 2) {
      throw UsageError(fill(translated("{1} and {2} given more than once each give the lines of a "
                                       "fence: give one of them"),
                            {"--fence", "--vertices"}));
    }
    if (o.mapFile.empty()) {
      throw UsageError(
          fill(translated("{1} is drawn in the block: give {2}"), {"--fence FILE", "--map FILE"}));
    }
    return;
  }
  if (lines >= 2 && o.mapFile.empty()) {
    throw UsageError(fill(translated("{1} given {2} times makes a fence diagram, which is drawn in "
                                     "the block: give {3}"),
                          {"--vertices", std::to_string(lines), "--map FILE"}));
  }
  if (o.fenceCut && lines < 2) {
    throw UsageError(fill(translated("{1} cuts the block away in front of a fence: give {2} once "
                                     "for each of its lines, two or more times"),
                          {"--fence-cut", "--vertices"}));
  }
}

// The options of both programs; `render` adds the outputs and the picture size of the batch
// renderer, which the window refuses by name.
RenderOptions parse(const std::vector<std::string>& args, bool render) {
  RenderOptions o;
  // The batch renderer leaves the far frame lines out unless asked: they would run over the
  // terrain.
  if (render) o.frame = 2;
  const NamedOptions named = readOptions(commandLineOptions(), render, args, o);
  if (!o.help && !o.version) {
    checkCombinations(render ? renderRules() : windowRules(), named);
    checkFence(o);
  }
  return o;
}

}  // namespace

const std::vector<OptionSpec>& commandLineOptions() {
  static const std::vector<OptionSpec> table = [] {
    std::vector<OptionSpec> all;
    for (auto part : {inputOptions, boreholeOptions, viewOptions, annotationOptions, outputOptions,
                      thicknessOptions, sceneOptions}) {
      for (OptionSpec& spec : part()) all.push_back(std::move(spec));
    }
    return all;
  }();
  return table;
}

SessionOptions parseWindowOptions(const std::vector<std::string>& args) {
  return parse(args, false);
}

RenderOptions parseRenderOptions(const std::vector<std::string>& args) { return parse(args, true); }

std::string windowUsage() {
  const std::vector<SummaryLine> summary = {
      {.words = {"--srs", "--zbase", "--view", "--perspective", "--contours", "--no-side",
                 "--no-boundary-lines", "--frame", "--black", "--contacts", "--shade",
                 "--shade-strength"}},
      {.words = {"--start", "with", "--end", "or", "--azimuth"},
       .description = "build the section along that line too"},
      {.words = {"--section-line"}, .description = "and mark its line on the map"},
      {.words = {"--section-trace"}, .description = "or mark it as a solid trace on the ground"},
      {.words = {"--legend", ",", "--axes", ",", "--title"},
       .description = "annotate the pictures"},
      {.words = {"--map-of"}, .description = "colour the map by a unit's thickness or a depth"},
      {.words = {"--collars", "--surveys", "--intervals", "--boreholes", "--unit-codes",
                 "--borehole-buffer", "--borehole-labels", "--borehole-residuals"}}};
  return windowHelp(
      commandLineOptions(), summary,
      R"(usage: kalvenor [--model FILE] [--boundary FILE]... [--surface FILE] [--colors FILE]
                [options]
       kalvenor --session FILE
Opens the viewer. With input files it runs the steps for them at start-up, as a user would:
the logical model, the boundary grids (lowest first, one --boundary each), the colours, the
display surface; with a model and a surface also the 3D-map grid and the view, and draws the
map. A step that fails shows its message and the rest are left to the user.

These options of kalvenor-render mean the same here (see kalvenor-render --help):
)");
}

std::string renderUsage() {
  return renderHelp(
      commandLineOptions(),
      R"(usage: kalvenor-render --model FILE --boundary FILE... --surface FILE [options]
       kalvenor-render --session FILE --map FILE [--size WxH] [--antialias]
Draws the geological map or a section of a model without opening a window, and writes
the units for a GIS.

)",
      R"(No output may replace an input or another output of the run.
A bad option or file gives a one-line message and exit status 2.
)");
}

}  // namespace kalvenor
