#include "cli/batch_render.h"

#include <QBuffer>
#include <QSvgGenerator>
#include <cmath>
#include <filesystem>

#include "cli/grid_export.h"
#include "evaluation/grid_builds.h"
#include "imagewin/bitmap_file.h"
#include "imagewin/image_canvas.h"
#include "imagewin/output_files.h"
#include "model/colour_file.h"
#include "model/default_values.h"
#include "model/number_text.h"
#include "model/read_error.h"
#include "model/step_failure.h"
#include "render/draw_units.h"
#include "render/map_renderer.h"
#include "render/section_renderer.h"
#include "render/side_maps.h"
#include "render/view_limits.h"

namespace kalvenor {
namespace {

// Colours for units when no colour file is given: soft, distinct, lowest unit first.
const PackedColor kPalette[] = {packRgb(143, 179, 217), packRgb(232, 196, 104),
                                packRgb(140, 154, 107), packRgb(201, 138, 94),
                                packRgb(227, 163, 181), packRgb(166, 206, 160),
                                packRgb(190, 170, 220), packRgb(240, 220, 170)};

struct Failure {
  std::string message;
};

enum class PictureFormat { Bmp, Png, Svg };

PictureFormat formatOf(const std::string& path) {
  std::string extension = std::filesystem::path(path).extension().string();
  for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (extension == ".bmp") return PictureFormat::Bmp;
  if (extension == ".png") return PictureFormat::Png;
  if (extension == ".svg") return PictureFormat::Svg;
  throw Failure{path + ": the picture format follows the extension, which must be .bmp, .png or .svg"};
}

// Everything read and built for one run.
struct Model {
  LogicalModel model;
  std::vector<std::string> boundaryFile;
  std::vector<PackedColor> unitColor;
  std::vector<PackedColor> boundaryColor;
  DisplaySurface display;
  double Zbase = 0;
};

// One line on the error stream that does not stop the run.
class Warnings {
 public:
  explicit Warnings(std::ostream& out) : out_(out) {}
  void operator()(const std::string& text) const {
    out_ << "kalvenor-render: warning: " << text << "\n";
  }

 private:
  std::ostream& out_;
};

// Values after the last elevation and a boundary grid that does not reach the display grid's
// edges (it is extrapolated there) are legal but often a mistake; the window warns of both as
// the files are chosen, the batch as the boundaries are read.
void warnOfBoundaryProblems(const std::vector<GridSurface>& grids,
                            const std::vector<std::string>& files, const DisplaySurface& display,
                            const Warnings& warn) {
  for (std::size_t k = 1; k < files.size() && k < grids.size(); ++k) {
    if (const std::string trailing = trailingValuesWarning(files[k], grids[k]); !trailing.empty()) {
      warn(trailing);
    }
    if (gridMismatch(grids[k], display)) {
      warn(files[k] + ": the boundary grid does not match the display grid's edges, so the "
           "boundary is extrapolated beyond its own grid");
    }
  }
}

Model readInputs(const RenderOptions& o, const Warnings& warn) {
  Model m;
  m.model = readLogicalModel(o.inputs.model);
  buildUnitOfPattern(m.model);
  const int Nbd = m.model.Nbd;
  if (static_cast<int>(o.inputs.boundaries.size()) != Nbd) {
    throw Failure{o.inputs.model + ": the model has " + std::to_string(Nbd) + " boundaries but " +
                  std::to_string(o.inputs.boundaries.size()) + " --boundary files were given"};
  }
  m.boundaryFile.push_back("");
  m.boundaryFile.insert(m.boundaryFile.end(), o.inputs.boundaries.begin(), o.inputs.boundaries.end());
  m.unitColor.assign(Nbd + 2, kBlack);
  m.boundaryColor.assign(Nbd + 1, kBlack);
  if (o.inputs.colors.empty()) {
    for (int unit = 1; unit <= Nbd + 1; ++unit) m.unitColor[unit] = kPalette[(unit - 1) % 8];
  } else {
    const ColourFile colours = readColourFile(o.inputs.colors);
    for (int unit = 1; unit <= Nbd + 1; ++unit) {
      const auto found = colours.unit.find(unit);
      if (found == colours.unit.end()) {
        throw Failure{o.inputs.colors + ": no colour for unit " + std::to_string(unit)};
      }
      m.unitColor[unit] = found->second;
    }
    for (const auto& [k, colour] : colours.boundary) {
      if (k <= Nbd) m.boundaryColor[k] = colour;
    }
  }
  const GridSurface surface = readGridSurface(o.inputs.surface);
  if (const std::string trailing = trailingValuesWarning(o.inputs.surface, surface); !trailing.empty()) {
    warn(trailing);
  }
  LoadJitter jitter;
  m.display = makeDisplaySurface(surface, jitter);
  m.Zbase = o.zbase.value_or(defaultZbase(m.display.Zmin));
  return m;
}

// The default view; a default.txt that cannot be used is reported and the built-in view taken.
DefaultValues defaultView(const std::string& programFolder, const Warnings& warn) {
  try {
    return readDefaultValues((std::filesystem::path(programFolder) / "default.txt").string());
  } catch (const ReadError& error) {
    const DefaultValues builtIn;
    warn(std::string(error.what()) + "; the built-in view " + numberText(builtIn.defaultAlpha) +
         ", " + numberText(builtIn.defaultGamma) + ", " + numberText(builtIn.defaultSca) + ", " +
         numberText(builtIn.defaultVe) + " is used");
    return builtIn;
  }
}

// Draws onto a canvas of the requested size in the format of the file; the bytes join the
// run's outputs.
template <typename Draw>
void writePicture(OutputSet& outputs, const std::string& path, int width, int height,
                  PackedColor background, const Draw& draw) {
  const PictureFormat format = formatOf(path);
  const QSize size(width, height);
  if (format == PictureFormat::Svg) {
    QByteArray bytes;
    {
      QBuffer buffer(&bytes);
      buffer.open(QIODevice::WriteOnly);
      QSvgGenerator svg;
      svg.setOutputDevice(&buffer);
      svg.setSize(size);
      svg.setViewBox(QRect(QPoint(0, 0), size));
      svg.setTitle(QStringLiteral("Kalvenor2003"));
      DeviceCanvas canvas(svg, size);
      canvas.setBackgroundColor(background);
      canvas.clear();
      draw(static_cast<Canvas&>(canvas));
    }
    outputs.add(path, bytes);
  } else {
    ImageCanvas canvas(size);
    canvas.setBackgroundColor(background);
    canvas.clear();
    draw(static_cast<Canvas&>(canvas));
    outputs.add(path,
                encodePicture(canvas.image(), format == PictureFormat::Png ? "png" : "bmp", path));
  }
}

void writeText(OutputSet& outputs, const std::string& path, const std::string& text) {
  outputs.add(path, QByteArray::fromStdString(text));
}

SectionLine sectionLineOf(const RenderOptions& o) {
  SectionLine line;
  line.Xstart = o.start->x;
  line.Ystart = o.start->y;
  line.endPointMode = o.end.has_value();
  if (o.end) {
    line.Xend = o.end->x;
    line.Yend = o.end->y;
  }
  line.faiDegrees = o.azimuth.value_or(0);
  return line;
}

ContourSettings contoursOf(const RenderOptions& o, const DisplaySurface& d) {
  if (o.contours) return {(*o.contours)[0], (*o.contours)[1], (*o.contours)[2]};
  const double divisions = *o.autoContours;
  const double first = Int(d.Zmin);
  const double last = Int(d.Zmax + 0.99999);
  double interval = Int((last - first) / divisions + 0.99999);
  if (interval == 0) interval = (last - first) / divisions;
  return {first, last, interval};
}

std::string gridSize(const DisplaySurface& d) {
  return "a " + numberText(d.Nx) + " x " + numberText(d.Ny) + " grid";
}

class BatchRender {
 public:
  BatchRender(const RenderOptions& o, const std::string& programFolder, const Warnings& warn)
      : o_(o),
        warn_(warn),
        m_(runStep("read the input files", [&] { return readInputs(o, warn); })),
        defaults_(defaultView(programFolder, warn)) {}

  void run();

 private:
  ViewSettings mapView() const;
  ViewSettings sectionView(double Fai) const;
  void drawMap(Canvas& canvas);
  void drawSectionPicture(Canvas& canvas);
  DrawOptions options(std::int16_t mode) const {
    return {o_.black ? kWhite : kBlack, static_cast<std::int16_t>(o_.boundaryLines ? 1 : 0), mode};
  }
  PackedColor background() const { return o_.black ? kBlack : kWhite; }

  void checkView(const ViewSettings& view) const {
    if (const auto problem = viewProblem(view, m_.Zbase, m_.display)) throw Failure{*problem};
  }
  ContourSettings contours() const;

  const RenderOptions& o_;
  Warnings warn_;
  Model m_;
  DefaultValues defaults_;
  std::optional<MapBuild> map_;
  std::optional<SectionBuild> section_;
};

void BatchRender::run() {
  const BuildInputs inputs{m_.model, m_.boundaryFile, m_.display, m_.Zbase};
  const std::string size = gridSize(m_.display);
  if (!o_.sectionFile.empty()) checkView(sectionView(0));
  if (!o_.mapFile.empty()) {
    checkView(mapView());
    map_ = runStep("build the 3D-map grid and its side walls for " + size,
                   [&] { return buildMapGrid(inputs); });
  } else if (!o_.unitsGrid.empty()) {
    map_ = runStep("classify the nodes of " + size,
                   [&] { return buildMapGrid(inputs, {}, MapParts::SurfaceOnly); });
  }
  if (o_.wantsSection()) {
    section_ = runStep("build the section of " + size,
                       [&] { return buildSectionGrid(inputs, sectionLineOf(o_)); });
  }
  if (map_ || section_) {
    warnOfBoundaryProblems(map_ ? map_->boundaryGrids : section_->boundaryGrids, m_.boundaryFile,
                           m_.display, warn_);
  }
  // Every output is made before any is written, and none replaces its file unless all can.
  OutputSet outputs;
  if (!o_.mapFile.empty()) {
    runStep("draw the map of " + size + " into " + o_.mapFile, [&] {
      writePicture(outputs, o_.mapFile, o_.width, o_.height, background(),
                   [this](Canvas& c) { drawMap(c); });
    });
  }
  if (!o_.sectionFile.empty()) {
    runStep("draw the section into " + o_.sectionFile, [&] {
      writePicture(outputs, o_.sectionFile, o_.width, o_.height, background(),
                   [this](Canvas& c) { drawSectionPicture(c); });
    });
  }
  if (!o_.unitsGrid.empty()) {
    writeText(outputs, o_.unitsGrid, esriUnitsGrid(m_.display, map_->grid.mapUnit));
  }
  if (!o_.unitsLegend.empty()) {
    writeText(outputs, o_.unitsLegend, unitsLegendCsv(m_.model, m_.unitColor));
  }
  if (!o_.sectionUnits.empty()) {
    writeText(outputs, o_.sectionUnits,
              sectionUnitsCsv(section_->grid.verticalGrids[kSectionSlot]));
  }
  outputs.write();
}

ViewSettings BatchRender::mapView() const {
  ViewSettings v;
  const std::array<double, 4> typed = o_.view.value_or(std::array<double, 4>{
      defaults_.defaultAlpha, defaults_.defaultGamma, defaults_.defaultSca, defaults_.defaultVe});
  v.Alpha = typed[0];
  v.Gamma = typed[1];
  v.Sca = typed[2];
  v.Ve = typed[3];
  if (o_.perspective) {
    v.Dist = (*o_.perspective)[0];
    v.Ppz = (*o_.perspective)[1];
  }
  return v;
}

// The contours asked for; too many levels would blacken the picture, so the map is then drawn
// without them, as the window does.
ContourSettings BatchRender::contours() const {
  if (!o_.contours && !o_.autoContours) return {};
  const ContourSettings c = contoursOf(o_, m_.display);
  if (!contoursDrawable(c)) {
    warn_("the contour interval " + numberText(c.Cin) + " gives more than " +
          numberText(kMaxContourLevels) + " levels from " + numberText(c.Cst) + " to " +
          numberText(c.Cen) + "; the map is drawn without contours");
  }
  return c;
}

void BatchRender::drawMap(Canvas& canvas) {
  const DisplaySurface& d = m_.display;
  ViewSettings view = mapView();
  applyView(view, d, canvas.width(), canvas.height());
  const Array2D<std::int32_t> drawUnit = unitsToDraw(map_->grid.mapUnit, d.Nx, d.Ny);
  const ContourSettings contours = this->contours();
  const SidePicture walls{d, map_->grid, map_->wallProfiles, visibleWalls(view, d.Nx, d.Ny),
                          m_.model, map_->boundaryGrids, m_.unitColor, m_.boundaryColor,
                          options(kGeologicalMap)};
  const MapPicture picture{d,
                           blockBase(m_.Zbase),
                           m_.model,
                           map_->boundaryGrids,
                           m_.unitColor,
                           m_.boundaryColor,
                           drawUnit,
                           contours,
                           options(kGeologicalMap),
                           contoursDrawable(contours),
                           o_.side,
                           o_.frame != 0,
                           o_.frame == 4,
                           [&](const Projection& projection) {
                             drawSideMaps(canvas, projection, walls);
                           }};
  const Projection projection(view, d.Xc, d.Yc, d.Zc, m_.Zbase);
  drawGeoMap(canvas, projection, picture);
  if (o_.sectionLine) {
    drawSurveyLine(canvas, projection, section_->section, m_.Zbase, d.Zmax,
                   options(kSurveyLine).LineColor);
  }
}

// Seen straight on, from the side that puts the line's eastern end on the right; a --view
// gives its magnification and exaggeration.
ViewSettings BatchRender::sectionView(double Fai) const {
  ViewSettings view;
  view.Alpha = std::sin(Fai) <= 0 ? Fai / kDegree - 90 : Fai / kDegree + 90;
  view.Gamma = 0;
  view.Sca = o_.view ? (*o_.view)[2] : 1.4;
  view.Ve = o_.view ? (*o_.view)[3] : 1;
  return view;
}

void BatchRender::drawSectionPicture(Canvas& canvas) {
  const DisplaySurface& d = m_.display;
  ViewSettings view = sectionView(section_->section.Fai);
  applyView(view, d, canvas.width(), canvas.height());
  const VerticalGrid& slot = section_->grid.verticalGrids[kSectionSlot];
  const Array2D<std::int32_t> drawUnit = unitsToDraw(slot.unit, slot.nH, slot.nV);
  const SectionPicture picture{slot,         drawUnit,          section_->section,
                               section_->sectionProfile, m_.Zbase, d.Zmax,
                               d.zEps,       m_.model,          section_->boundaryGrids,
                               m_.unitColor, m_.boundaryColor,  options(kSectionPicture)};
  drawSection(canvas, Projection(view, d.Xc, d.Yc, d.Zc, m_.Zbase), picture);
}

}  // namespace

int runBatchRender(const RenderOptions& options, const std::string& programFolder,
                   std::ostream& errors) {
  try {
    if (!options.mapFile.empty()) formatOf(options.mapFile);
    if (!options.sectionFile.empty()) formatOf(options.sectionFile);
    BatchRender(options, programFolder, Warnings(errors)).run();
    return 0;
  } catch (const Failure& failure) {
    errors << "kalvenor-render: " << failure.message << "\n";
  } catch (const std::exception& error) {
    errors << "kalvenor-render: " << error.what() << "\n";
  }
  return 2;
}

}  // namespace kalvenor
