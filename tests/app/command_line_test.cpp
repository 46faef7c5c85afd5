#include "app/command_line.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace kalvenor {
namespace {

using ::testing::AllOf;
using ::testing::HasSubstr;

std::vector<std::string> withInputs(std::vector<std::string> rest) {
  std::vector<std::string> args = {"--model",    "m.txt", "--boundary", "a.txt",
                                   "--boundary", "b.txt", "--surface",  "s.txt"};
  args.insert(args.end(), rest.begin(), rest.end());
  return args;
}

std::string usageError(const std::vector<std::string>& args) {
  try {
    parseRenderOptions(args);
  } catch (const UsageError& error) {
    return error.what();
  }
  ADD_FAILURE() << "accepted";
  return {};
}

TEST(RenderOptions, ReadsEveryOption) {
  const RenderOptions o = parseRenderOptions(withInputs({"--colors",
                                                         "c.txt",
                                                         "--zbase",
                                                         "-50.5",
                                                         "--view",
                                                         "200,35,1.5,3",
                                                         "--perspective",
                                                         "9000,100",
                                                         "--contours",
                                                         "0,500,25",
                                                         "--no-side",
                                                         "--no-boundary-lines",
                                                         "--frame",
                                                         "2",
                                                         "--black",
                                                         "--size",
                                                         "640x480",
                                                         "--map",
                                                         "m.png",
                                                         "--section",
                                                         "s.svg",
                                                         "--start",
                                                         "1,2",
                                                         "--end",
                                                         "3,4",
                                                         "--section-line",
                                                         "--units-grid",
                                                         "u.asc",
                                                         "--units-legend",
                                                         "l.csv",
                                                         "--section-units",
                                                         "x.csv"}));
  EXPECT_EQ(o.inputs.boundaries, (std::vector<std::string>{"a.txt", "b.txt"}));
  EXPECT_EQ(o.inputs.colors, "c.txt");
  EXPECT_EQ(o.zbase, -50.5);
  EXPECT_EQ(o.view, (std::array<double, 4>{200, 35, 1.5, 3}));
  EXPECT_EQ(o.perspective, (std::array<double, 2>{9000, 100}));
  EXPECT_EQ(o.contours, (std::array<double, 3>{0, 500, 25}));
  EXPECT_FALSE(o.side);
  EXPECT_FALSE(o.boundaryLines);
  EXPECT_EQ(o.frame, 2);
  EXPECT_TRUE(o.black);
  EXPECT_EQ(o.width, 640);
  EXPECT_EQ(o.height, 480);
  EXPECT_EQ(o.end->y, 4);
  EXPECT_TRUE(o.sectionLine);
  EXPECT_EQ(o.sectionUnits, "x.csv");
}

TEST(RenderOptions, AutomaticContoursTakeTwentyDivisionsUnlessTold) {
  EXPECT_EQ(parseRenderOptions(withInputs({"--map", "m.png", "--contours", "auto"})).autoContours,
            20);
  EXPECT_EQ(parseRenderOptions(withInputs({"--map", "m.png", "--contours", "auto:8"})).autoContours,
            8);
  EXPECT_THAT(usageError(withInputs({"--map", "m.png", "--contours", "auto:0"})),
              HasSubstr("auto:N"));
}

TEST(RenderOptions, MistakesNameTheOption) {
  EXPECT_THAT(usageError({"--map"}), HasSubstr("--map needs a value"));
  EXPECT_THAT(usageError(withInputs({"--map", "m.png", "--bogus"})), HasSubstr("--bogus"));
  EXPECT_THAT(usageError(withInputs({"--map", "m.png", "--view", "1,2,x,4"})), HasSubstr("--view"));
  EXPECT_THAT(usageError(withInputs({"--map", "m.png", "--frame", "3"})), HasSubstr("--frame"));
  EXPECT_THAT(usageError(withInputs({"--map", "m.png", "--size", "10x10"})), HasSubstr("--size"));
  EXPECT_THAT(usageError(withInputs({"--map", "m.png", "--contours", "0,10,0"})),
              HasSubstr("interval"));
  EXPECT_THAT(usageError(withInputs({})), HasSubstr("nothing to write"));
  EXPECT_THAT(usageError({"--map", "m.png", "--surface", "s.txt"}), HasSubstr("--model"));
  EXPECT_THAT(usageError(withInputs({"--section", "s.png", "--start", "0,0"})),
              HasSubstr("either --end"));
  EXPECT_THAT(usageError(withInputs(
                  {"--section", "s.png", "--start", "0,0", "--end", "1,1", "--azimuth", "10"})),
              HasSubstr("not both"));
  EXPECT_THAT(usageError(withInputs(
                  {"--units-grid", "u.asc", "--section-line", "--start", "0,0", "--azimuth", "0"})),
              HasSubstr("--map"));
}

TEST(RenderOptions, SectionContactsAreAnOutputOfTheirOwnThatNeedsASection) {
  const RenderOptions o = parseRenderOptions(
      withInputs({"--section-contacts", "c.gpkg", "--start", "0,0", "--azimuth", "90"}));
  EXPECT_EQ(o.sectionContacts, "c.gpkg");
  EXPECT_TRUE(o.wantsSection());
  EXPECT_THAT(usageError(withInputs({"--section-contacts", "c.gpkg"})), HasSubstr("--start"));
}

TEST(RenderOptions, ALayerNamesTheLayerOfTheSectionContacts) {
  const RenderOptions o = parseRenderOptions(withInputs(
      {"--section-contacts", "c.gpkg", "--layer", "faults", "--start", "0,0", "--azimuth", "90"}));
  EXPECT_EQ(o.layer, "faults");
  EXPECT_EQ(parseRenderOptions(
                withInputs({"--section-contacts", "c.gpkg", "--start", "0,0", "--azimuth", "90"}))
                .layer,
            "");
  EXPECT_THAT(usageError(withInputs({"--map", "m.png", "--layer", "faults"})),
              HasSubstr("--layer names the layer of --section-contacts, which is not given"));
  EXPECT_THAT(usageError(withInputs({"--section-contacts", "c.gpkg", "--layer", "", "--start",
                                     "0,0", "--azimuth", "90"})),
              HasSubstr("--layer needs the name of a layer"));
  EXPECT_THROW(parseWindowOptions({"--layer", "faults"}), UsageError);
}

TEST(RenderOptions, AnOptionOfOneValueGivenTwiceIsAMistake) {
  EXPECT_THAT(usageError(withInputs({"--map", "a.png", "--map", "b.png"})),
              HasSubstr("--map is given twice"));
  EXPECT_THAT(usageError(withInputs({"--map", "a.png", "--surface", "other.txt"})),
              HasSubstr("--surface is given twice"));
  EXPECT_THAT(usageError(withInputs({"--map", "a.png", "--view", "1,2,3,4", "--view", "1,2,3,4"})),
              HasSubstr("--view"));
  const RenderOptions o = parseRenderOptions(
      withInputs({"--map", "a.png", "--boundary", "c.txt", "--no-side", "--no-side"}));
  EXPECT_EQ(o.inputs.boundaries.size(), 3u);  // every boundary has its own --boundary
  EXPECT_THROW(parseWindowOptions({"--model", "a.txt", "--model", "b.txt"}), UsageError);
}

// A session brings its own inputs and options; only where and how large its picture is drawn,
// and where its geological map goes, go with it.
TEST(SessionOption, OpensASessionAloneOrWithItsPictureFile) {
  EXPECT_EQ(parseWindowOptions({"--session", "w.json"}).session, "w.json");
  EXPECT_THROW(parseWindowOptions({"--session", "w.json", "--model", "m.txt"}), UsageError);
  const RenderOptions o =
      parseRenderOptions({"--session", "w.json", "--map", "m.png", "--size", "64x32"});
  EXPECT_EQ(o.session, "w.json");
  EXPECT_EQ(o.mapFile, "m.png");
  EXPECT_TRUE(o.sizeGiven);
  EXPECT_FALSE(parseRenderOptions({"--session", "w.json", "--map", "m.png"}).sizeGiven);
  EXPECT_EQ(parseRenderOptions({"--session", "w.json", "--map", "m.png", "--geology-map", "g.gpkg"})
                .geologyMap,
            "g.gpkg");
  EXPECT_THAT(usageError({"--session", "w.json"}), HasSubstr("--session needs --map"));
  EXPECT_THAT(usageError({"--session", "w.json", "--map", "m.png", "--zbase", "0"}),
              HasSubstr("no other options than --map, --size, --antialias and --geology-map"));
  EXPECT_THAT(usageError({"--session"}), HasSubstr("--session needs a value"));
}

// What goes with a session is decided by the options given, not by how many words they take:
// a flag given twice is still that flag, and the option that cannot go with it is named.
TEST(SessionOption, IsCheckedByTheOptionsGivenNotByTheirWords) {
  const std::vector<std::string> session = {"--session", "w.json", "--map", "m.png"};
  const auto with = [&](std::vector<std::string> more) {
    std::vector<std::string> args = session;
    args.insert(args.end(), more.begin(), more.end());
    return args;
  };
  for (const auto& accepted : std::vector<std::vector<std::string>>{
           {"--antialias", "--antialias"},
           {"--antialias", "--size", "64x32", "--antialias"},
       }) {
    EXPECT_TRUE(parseRenderOptions(with(accepted)).antialias);
  }
  const std::pair<std::vector<std::string>, std::string> refused[] = {
      {{"--legend"}, "--legend cannot go with it"},
      {{"--antialias", "--axes"}, "--axes cannot go with it"},
      {{"--size", "64x32", "--zbase", "0"}, "--zbase cannot go with it"},
  };
  for (const auto& [more, problem] : refused) {
    EXPECT_THAT(
        usageError(with(more)),
        AllOf(HasSubstr("no other options than --map, --size, --antialias and --geology-map"),
              HasSubstr(problem)));
  }
  try {
    parseWindowOptions({"--session", "w.json", "--legend", "--legend"});
    ADD_FAILURE() << "the window took --legend with a session";
  } catch (const UsageError& error) {
    EXPECT_THAT(error.what(), HasSubstr("--session takes no other options; --legend cannot"));
  }
}

TEST(RenderOptions, HelpNeedsNothingElse) { EXPECT_TRUE(parseRenderOptions({"--help"}).help); }

// Neither program asks for its input files when all it is to do is say its version.
TEST(VersionOption, NeedsNothingElseInEitherProgram) {
  EXPECT_TRUE(parseRenderOptions({"--version"}).version);
  EXPECT_TRUE(parseWindowOptions({"--version"}).version);
  EXPECT_FALSE(parseRenderOptions(withInputs({"--map", "m.png"})).version);
  EXPECT_THAT(usageError({"--version", "--frobnicate"}), HasSubstr("unknown option --frobnicate"));
}

TEST(SrsOption, NamesOnceAProjectedSystemThatGdalKnows) {
  EXPECT_EQ(parseRenderOptions(withInputs({"--map", "m.png", "--srs", "EPSG:6677"})).inputs.srs,
            "EPSG:6677");
  const std::string utm = "+proj=utm +zone=54 +datum=WGS84 +units=m";
  EXPECT_EQ(parseWindowOptions({"--srs", utm}).inputs.srs, utm);
  EXPECT_TRUE(parseWindowOptions({"--srs", "EPSG:6677"}).inputs.any());  // kept for later files

  EXPECT_THAT(usageError(withInputs({"--map", "m.png", "--srs", "EPSG:99999"})),
              AllOf(HasSubstr("--srs"), HasSubstr("\"EPSG:99999\" is not a coordinate system")));
  EXPECT_THAT(usageError(withInputs({"--map", "m.png", "--srs", "somewhere"})),
              HasSubstr("is not a coordinate system"));
  EXPECT_THAT(usageError(withInputs({"--map", "m.png", "--srs", "EPSG:4326"})),
              AllOf(HasSubstr("--srs"), HasSubstr("WGS 84"), HasSubstr("not a projected system")));
  EXPECT_THAT(
      usageError(withInputs({"--map", "m.png", "--srs", "EPSG:6677", "--srs", "EPSG:6677"})),
      HasSubstr("--srs is given twice"));
  EXPECT_THAT(usageError(withInputs({"--map", "m.png", "--srs"})),
              HasSubstr("--srs needs a value"));
}

TEST(WindowOptions, TheInputFilesAndEveryOptionThatMeansSomethingInAWindow) {
  const InputFiles files = parseWindowOptions({"--model", "m.txt", "--colors", "c.txt"}).inputs;
  EXPECT_EQ(files.model, "m.txt");
  EXPECT_TRUE(files.any());
  EXPECT_FALSE(parseWindowOptions({}).inputs.any());

  const SessionOptions o = parseWindowOptions({"--model",
                                               "m.txt",
                                               "--surface",
                                               "s.txt",
                                               "--zbase",
                                               "0",
                                               "--view",
                                               "200,35,1.3,3",
                                               "--perspective",
                                               "9000,0",
                                               "--contours",
                                               "auto:10",
                                               "--no-side",
                                               "--no-boundary-lines",
                                               "--frame",
                                               "2",
                                               "--black",
                                               "--start",
                                               "1,2",
                                               "--azimuth",
                                               "61",
                                               "--section-line"});
  EXPECT_EQ(o.zbase, 0.0);
  EXPECT_EQ((*o.view)[3], 3.0);
  EXPECT_EQ((*o.perspective)[0], 9000.0);
  EXPECT_EQ(o.autoContours, 10);
  EXPECT_FALSE(o.side);
  EXPECT_FALSE(o.boundaryLines);
  EXPECT_EQ(o.frame, 2);
  EXPECT_TRUE(o.black);
  EXPECT_EQ(o.start->y, 2.0);
  EXPECT_EQ(o.azimuth, 61.0);
  EXPECT_TRUE(o.sectionLine);

  // What only a batch run can do is refused by name.
  for (const char* output : {"--map", "--section", "--size", "--units-grid"}) {
    try {
      parseWindowOptions({output, "x"});
      ADD_FAILURE() << output << " accepted";
    } catch (const UsageError& error) {
      EXPECT_THAT(error.what(), HasSubstr("kalvenor-render")) << output;
    }
  }
  EXPECT_THROW(parseWindowOptions({"--start", "1,2"}), UsageError);  // no end nor direction
  EXPECT_THROW(parseWindowOptions({"--section-line"}), UsageError);

  // The trace marks the line as --section-line does, only drawn otherwise.
  const SessionOptions trace =
      parseWindowOptions({"--start", "1,2", "--end", "3,4", "--section-trace"});
  EXPECT_TRUE(trace.sectionLine);
  EXPECT_TRUE(trace.sectionTrace);
  EXPECT_FALSE(o.sectionTrace);
  EXPECT_THROW(parseWindowOptions({"--section-trace"}), UsageError);
}

// --shade alone lights the terrain from the north-west, 45 degrees high; a word after it that is
// no option is its light, and --shade-strength says how dark it shades, in either program.
TEST(ShadeOptions, TheLightAndItsStrengthOrTheirDefaults) {
  const std::pair<std::vector<std::string>, ReliefShading> cases[] = {
      {{}, {false, 315, 45, 0.5}},
      {{"--shade"}, {true, 315, 45, 0.5}},
      {{"--shade", "--legend"}, {true, 315, 45, 0.5}},
      {{"--shade", "200,30"}, {true, 200, 30, 0.5}},
      {{"--shade-strength", "0.8", "--shade", "-45,90"}, {true, -45, 90, 0.8}},
  };
  for (const auto& [words, shading] : cases) {
    std::vector<std::string> args = {"--map", "m.png"};
    args.insert(args.end(), words.begin(), words.end());
    EXPECT_EQ(parseRenderOptions(withInputs(args)).shading, shading)
        << testing::PrintToString(words);
    EXPECT_EQ(parseWindowOptions(words).shading, shading) << testing::PrintToString(words);
  }
}

TEST(ShadeOptions, ALightOrStrengthOutOfRangeIsNamed) {
  const std::pair<std::vector<std::string>, std::string> cases[] = {
      {{"--shade", "315"}, "--shade takes 2 numbers separated by commas; \"315\" is not that"},
      {{"--shade", "315,95"},
       "--shade takes the light's azimuth and its altitude from 0 to 90 degrees; \"315,95\" is "
       "not that"},
      {{"--shade", "--shade-strength", "1.5"},
       "--shade-strength takes a number from 0 to 1; \"1.5\" is not that"},
      {{"--shade-strength", "0.3"},
       "--shade-strength is the strength of --shade, which is not given"},
      {{"--shade", "--shade"}, "--shade is given twice; it takes one value"},
  };
  for (const auto& [words, message] : cases) {
    std::vector<std::string> args = {"--map", "m.png"};
    args.insert(args.end(), words.begin(), words.end());
    EXPECT_EQ(usageError(withInputs(args)), message);
  }
}

// The batch renderer draws smooth contacts and the two near frame sides unless told; the window
// keeps cell-by-cell fills and four sides; a contact mode it does not know is refused by name.
TEST(RenderOptions, ContactsAndFrameDefaults) {
  const RenderOptions batch = parseRenderOptions(withInputs({"--map", "m.png"}));
  EXPECT_FALSE(batch.contacts.has_value());
  EXPECT_EQ(batch.frame, 2);
  EXPECT_FALSE(batch.antialias);
  const RenderOptions cells =
      parseRenderOptions(withInputs({"--map", "m.png", "--contacts", "cells", "--antialias"}));
  EXPECT_EQ(cells.contacts, Contacts::Cells);
  EXPECT_TRUE(cells.antialias);
  EXPECT_EQ(parseWindowOptions({"--contacts", "smooth"}).contacts, Contacts::Smooth);
  EXPECT_EQ(parseWindowOptions({}).frame, 4);

  EXPECT_THAT(usageError(withInputs({"--map", "m.png", "--contacts", "soft"})),
              AllOf(HasSubstr("--contacts"), HasSubstr("smooth or cells"), HasSubstr("soft")));
  EXPECT_THAT(usageError(withInputs({"--map", "m.png", "--contacts"})), HasSubstr("needs a value"));
  EXPECT_THROW(parseWindowOptions({"--antialias"}), UsageError);
}

}  // namespace
}  // namespace kalvenor

namespace kalvenor {
namespace {

TEST(AnnotationOptions, LegendAxesTitleAndFit) {
  const RenderOptions o = parseRenderOptions(
      withInputs({"--map", "m.png", "--legend", "--axes", "--title", "褶曲盆地 A-A'"}));
  EXPECT_TRUE(o.legend);
  EXPECT_TRUE(o.axes);
  EXPECT_EQ(o.title, "褶曲盆地 A-A'");
  EXPECT_FALSE(o.fit);
  EXPECT_TRUE(parseRenderOptions(withInputs({"--map", "m.png", "--fit"})).fit);
  // A view without a magnification asks for one that fits; the other three stay.
  const RenderOptions v = parseRenderOptions(withInputs({"--map", "m.png", "--view", "0,10,,4"}));
  EXPECT_TRUE(v.fit);
  EXPECT_EQ((*v.view)[1], 10);
  EXPECT_EQ((*v.view)[3], 4);
  EXPECT_FALSE(parseRenderOptions(withInputs({"--map", "m.png", "--view", "0,10,2,4"})).fit);
  EXPECT_TRUE(parseWindowOptions({"--legend", "--title", "t"}).legend);
}

TEST(AnnotationOptions, BadTitlesAndAWindowFitAreRefused) {
  const std::string japanese200 = [] {
    std::string s;
    for (int i = 0; i < 200; ++i) s += "岩";
    return s;
  }();
  EXPECT_EQ(parseRenderOptions(withInputs({"--map", "m.png", "--title", japanese200})).title,
            japanese200);
  EXPECT_EQ(usageError(withInputs({"--map", "m.png", "--title", japanese200 + "x"})),
            "--title takes at most 200 characters; this one has 201");
  EXPECT_EQ(usageError(withInputs({"--map", "m.png", "--title", "two\nlines"})),
            "--title must be one line of text");
  EXPECT_EQ(usageError(withInputs({"--map", "m.png", "--view", "0,10,,"})),
            "--view takes 4 numbers separated by commas; \"0,10,,\" is not that");
  EXPECT_THROW(parseWindowOptions({"--fit"}), UsageError);
}

}  // namespace
}  // namespace kalvenor

namespace kalvenor {
namespace {

std::string windowError(const std::vector<std::string>& args) {
  try {
    parseWindowOptions(args);
  } catch (const UsageError& error) {
    return error.what();
  }
  ADD_FAILURE() << "accepted";
  return {};
}

// The words are read from the left and the first that cannot be followed is the one named.
TEST(CommandLine, NamesTheFirstProblemFromTheLeft) {
  const std::pair<std::vector<std::string>, std::string> cases[] = {
      {{"--bogus", "--zbase", "x"}, "unknown option --bogus (see --help)"},
      {{"--zbase", "x", "--bogus"},
       "--zbase takes 1 numbers separated by commas; \"x\" is not that"},
      {{"--map", "a", "--map"}, "--map is given twice; it takes one value"},
      {{"--legend", "--zbase"}, "--zbase needs a value"},
      {{"--zbase=5"}, "unknown option --zbase=5 (see --help)"},
      {{"-hx"}, "unknown option -hx (see --help)"},
      {{"--"}, "unknown option -- (see --help)"},
      {{"model.txt"}, "unknown option model.txt (see --help)"},
  };
  for (const auto& [args, message] : cases) EXPECT_EQ(usageError(args), message);
  EXPECT_EQ(windowError({"--map", "--bogus"}),
            "--map is an option of kalvenor-render, not of the window");
}

// Whatever follows an option that takes a value is that value, even when it looks like an option.
TEST(CommandLine, TakesTheNextWordAsTheValue) {
  const std::pair<std::string, std::string> titles[] = {
      {"--legend", "--legend"}, {"-h", "-h"}, {"[a,b]", "[a,b]"}, {"--zbase=5", "--zbase=5"}};
  for (const auto& [word, title] : titles) {
    const RenderOptions o = parseRenderOptions(withInputs({"--map", "m.png", "--title", word}));
    EXPECT_EQ(o.title, title);
    EXPECT_FALSE(o.legend || o.help);
  }
  EXPECT_EQ(parseRenderOptions(withInputs({"--map", "m.png", "--zbase", "-5"})).zbase, -5);
}

// An option given an empty value is no more given than one left out.
TEST(CommandLine, AnEmptyValueCountsAsNotGiven) {
  EXPECT_EQ(usageError({"--model", "", "--surface", "s.txt", "--map", "m.png"}),
            "--model is required");
  EXPECT_EQ(usageError(withInputs({"--map", ""})),
            "nothing to write: give one of --map, --section, --units-grid, --units-legend, "
            "--section-units, --section-contacts, --borehole-check, --export-3d, "
            "--geology-map, --atlas, --thickness-grid, --depth-grid, --volumes");
  EXPECT_EQ(usageError({"--session", "w.json", "--map", ""}),
            "--session needs --map FILE for its picture");
  EXPECT_EQ(parseWindowOptions({"--session", ""}).session, "");
}

TEST(CommandLine, TheWindowRefusesEveryOptionOfTheBatchRendererByName) {
  for (const OptionSpec& spec : commandLineOptions()) {
    if (spec.takers != Takers::RenderOnly) continue;
    EXPECT_EQ(windowError({spec.name, "x"}),
              spec.name + " is an option of kalvenor-render, not of the window");
  }
}

// The window's help sums up the options it shares with kalvenor-render in its own words: none
// may be left out of it.
TEST(CommandLine, EachHelpNamesEveryOptionOfItsProgram) {
  for (const OptionSpec& spec : commandLineOptions()) {
    EXPECT_THAT(renderUsage(), HasSubstr("  " + spec.name)) << spec.name;
    if (spec.takers == Takers::BothPrograms) {
      EXPECT_THAT(windowUsage(), HasSubstr(spec.name + (spec.forms.empty() ? "" : " ")))
          << spec.name;
    }
  }
}

}  // namespace
}  // namespace kalvenor

namespace kalvenor {
namespace {

TEST(RenderOptions, BoreholeOptionsNeedTheHolesAndOneFormOfTables) {
  const RenderOptions o = parseRenderOptions(withInputs(
      {"--collars", "c.csv", "--surveys", "s.csv", "--intervals", "i.csv", "--unit-codes", "u.csv",
       "--borehole-buffer", "250", "--borehole-labels", "--borehole-check", "check.csv"}));
  EXPECT_EQ(o.inputs.boreholes, (BoreholeFiles{"c.csv", "s.csv", "i.csv", "", "u.csv"}));
  EXPECT_EQ(o.boreholeDrawing, (BoreholeDrawing{.buffer = 250, .labels = true}));
  EXPECT_EQ(o.boreholeCheck, "check.csv");
  const struct {
    std::vector<std::string> args;
    const char* message;
  } refused[] = {
      {{"--surveys", "s.csv", "--map", "m.png"},
       "--surveys needs the boreholes: give --collars FILE or --boreholes FILE"},
      {{"--borehole-check", "c.csv"},
       "--borehole-check needs the boreholes: give --collars FILE or --boreholes FILE"},
      {{"--boreholes", "b.csv", "--intervals", "i.csv", "--borehole-check", "c.csv"},
       "--boreholes holds the holes in one table; --intervals cannot go with it"},
      {{"--collars", "c.csv", "--borehole-buffer", "0", "--map", "m.png"},
       "--borehole-buffer takes a distance in metres above 0; \"0\" is not that"},
  };
  for (const auto& c : refused) EXPECT_EQ(usageError(withInputs(c.args)), c.message);
}

TEST(RenderOptions, TheThreeDExportTakesItsScaleAndDecimationOnlyWithAFile) {
  const RenderOptions o = parseRenderOptions(
      withInputs({"--export-3d", "m.glb", "--export-ve", "2.5", "--export-decimate", "4"}));
  EXPECT_EQ(o.export3d, "m.glb");
  EXPECT_EQ(o.exportVe, 2.5);
  EXPECT_EQ(o.exportDecimate, 4);
  const struct {
    std::vector<std::string> args;
    const char* message;
  } refused[] = {
      {{"--map", "m.png", "--export-ve", "2"},
       "--export-ve and --export-decimate say how --export-3d writes the block"},
      {{"--export-3d", "m.glb", "--export-ve", "0"},
       "--export-ve takes a vertical exaggeration above 0; \"0\" is not that"},
      {{"--export-3d", "m.glb", "--export-decimate", "1.5"},
       "--export-decimate takes a whole number from 1 to 1000; \"1.5\" is not that"},
      {{"--export-3d", "m.glb", "--export-decimate", "0"},
       "--export-decimate takes a whole number from 1 to 1000; \"0\" is not that"},
  };
  for (const auto& c : refused) EXPECT_EQ(usageError(withInputs(c.args)), c.message);
}

}  // namespace
}  // namespace kalvenor
