#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "evaluation/borehole_check.h"
#include "evaluation/grid_builds.h"
#include "evaluation/unit_volumes.h"
#include "model/render_context.h"
#include "render/canvas.h"
#include "render/fit_view.h"
#include "render/map_annotations.h"
#include "render/picture_style.h"
#include "render/plan_overview.h"
#include "render/projection.h"
#include "render/section_annotations.h"
#include "scene/geology_map.h"
#include "scene/scene.h"
#include "session/session_observer.h"
#include "session/viewer_state.h"

namespace kalvenor {

// A command that cannot be carried out as asked; the message is the one the user sees.
class SessionError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// What every step that needs a model says without one. The text is made when it is said, so
// that it is in the language chosen for the messages and names where the program enters a model.
struct NoModelYet {
  operator std::string() const;
};
inline constexpr NoModelYet kNoModelYet;

// Things worth telling the user that do not stop an operation, one sentence each.
using Warnings = std::vector<std::string>;

// The view as typed: a value left out keeps the one applied before.
struct TypedView {
  std::optional<double> Alpha{}, Gamma{}, Sca{}, Ve{}, Zbase{}, Dist{}, Ppz{};
};

// A preset view, as the view boxes show it.
struct ViewValues {
  double Alpha = 0.0;
  double Gamma = 0.0;
  double Sca = 0.0;
  double Ve = 0.0;
  friend bool operator==(const ViewValues&, const ViewValues&) = default;
};

// A drag, zoom or stretch asked for in the drawing window, relative to the view applied.
struct ViewNudge {
  double dragX = 0.0;  // canvas pixels the picture was dragged right
  double dragY = 0.0;  // and down
  double scaleFactor = 1.0;
  // The canvas point a zoom keeps in place; none for the middle of the canvas.
  std::optional<std::array<double, 2>> zoomAt;
  double veFactor = 1.0;
};

// The view a nudge leads to: the values of the view boxes and the pan (ViewSettings::PanX, PanY).
struct NudgedView {
  ViewValues values;
  double PanX = 0.0;
  double PanY = 0.0;
  friend bool operator==(const NudgedView&, const NudgedView&) = default;
};

// The perspective distance and plane to show when perspective is switched on or off.
struct PerspectiveValues {
  double Dist = kParallelDist;
  double Ppz = 0.0;
};

// The contour settings as typed: a value left out keeps the one set before.
struct TypedContours {
  std::optional<double> Cst{}, Cen{}, Cin{};
  bool wanted = false;
};

// The sections of a series as built: the settings they were built with, the sections (the first
// along the survey line), the boundary grids they were classified against, and a warning for
// every line left out.
struct SeriesSections {
  SectionSeries series;
  std::shared_ptr<const SeriesBuild> build = noResult<SeriesBuild>();
  std::shared_ptr<const std::vector<GridSurface>> boundaryGrids =
      noResult<std::vector<GridSurface>>();
  Warnings warnings;
};

// The viewer's workflow without a window: the documents, the builds, the view and the pictures,
// each step an operation that either completes or changes nothing and throws the message the
// user sees (SessionError, or the ReadError or BuildError of the file or build at fault). The
// window and kalvenor-render are two faces of it.
//
// Its operations live by topic:
//   session.cpp           observers, steps, the default view, copies for a worker thread
//   session_model.cpp     step (1): the logical model, read, typed or sized
//   session_inputs.cpp    steps (2) to (4): boundary files, colours, the coordinate system, the
//                         display surface and the base
//   session_builds.cpp    steps (5-1) and (5-2): the map and section grids
//   session_series.cpp    the series of parallel sections along the survey line
//   session_boreholes.cpp the boreholes: their tables, how they are drawn, the model check
//   session_scene.cpp     the block as a scene of triangles for the 3D exports
//   session_values.cpp    the thickness and depth maps and the units' volumes
//   session_view.cpp      step (6): the view, gestures, presets, contours and draw options
//   session_notes.cpp     the fitted views and the annotations around a picture
//   session_pictures.cpp  the map, contour map, grid lines, section and survey line
//   session_redraw.cpp    the picture drawn again, cleared, and what was drawn over it
// Session files are read and written in session_file.cpp and restored in session_restore.cpp.
class Session {
 public:
  Session();

  void addObserver(SessionObserver& observer);
  void removeObserver(SessionObserver& observer);
  const ViewerState& state() const { return state_; }
  // True once a model has been entered or sized, so that its files and colours can be given.
  bool hasModel() const { return !state_.unitColor.empty(); }

  // Called with the name of every long step just before it runs; whatever it throws, the step
  // throws. Tests make a named step fail the way a real one would.
  using StepHook = std::function<void(const std::string& step)>;
  void setStepHook(StepHook hook) { stepHook_ = std::move(hook); }

  // The threads the builds and drawings may use, and the flag that stops a drawing once another
  // thread sets it: every thread OpenMP offers and never stopped, unless a program says otherwise.
  void setRenderContext(const RenderContext& context) { context_ = context; }
  const RenderContext& renderContext() const { return context_; }

  // The default view from the first default.txt of `places` (see readDefaultFile); a file that
  // cannot be used leaves the built-in view and the reason is returned.
  std::optional<std::string> loadDefaults(const std::vector<std::string>& places);

  // Step (1). A new model drops the grids built from the old one. With the same number of
  // boundaries the boundary files are read again and kept (a file that no longer reads is
  // dropped, with a warning), and the colours are kept; otherwise steps (2) and (3) start again.
  Warnings loadModel(const std::string& path);
  Warnings useTwoUnitModel();
  // A model as typed by hand, names and cells; `ready` once its first cell has been set.
  Warnings enterModel(LogicalModel model, bool ready);
  // A blank model of the typed number of boundaries, not ready before its first cell is set.
  Warnings resizeModel(const std::string& typedNbd);
  // Blank names and cells of the same size; files, colours and grids go.
  void resetModel();
  // The cells as edited (units 1..Nbd+1, boundaries 1..Nbd); the model is checked for a unit of
  // every above/below pattern. A change of any cell drops the grids.
  void setModelCells(const Array2D<std::int16_t>& cells);

  // Step (2): the file of boundary k, read at once so that a bad file is reported now.
  Warnings setBoundaryFile(int k, const std::string& path);
  // The files of boundaries 1, 2, ... read side by side, one a thread; set all or, when one
  // fails, none (the lowest boundary's failure is thrown).
  Warnings setBoundaryFiles(const std::vector<std::string>& paths);
  void resetBoundaryFiles();

  // Step (3).
  void setUnitColor(int unit, PackedColor color);
  void setBoundaryColor(int k, PackedColor color);
  void resetUnitColors();
  // Every unit's colour and any boundary line colours from a colour file.
  void applyColourFile(const std::string& path);

  // The projected system for the grids read from now on ("EPSG:6677", a WKT or a PROJ string;
  // "" for none), checked by GDAL. Grids already read keep theirs.
  void setSrs(const std::string& text);

  // Step (4): the display surface; the base height becomes the one proposed for it.
  Warnings loadDisplaySurface(const std::string& path);
  // The same with the grid already read from `path`, with the system set by setSrs.
  Warnings loadDisplaySurface(const std::string& path, const GridSurface& grid);
  void setZbase(double Zbase);

  // Steps (5-1) and (5-2).
  Warnings buildMapGrid(const BuildProgress& progress = {},
                        MapParts parts = MapParts::SurfaceAndWalls);
  Warnings buildSectionGrid(const SectionLine& line, const BuildProgress& progress = {});
  // The survey line of a line file (see readLineFeatures): its first line, or the one named
  // `name`, with its vertices' names, in the display surface's system (or the --srs one).
  // Throws the ReadError naming the file, or the BuildError naming the file and the line when
  // its vertices make no line; changes nothing.
  SectionLine surveyLineFromFile(const std::string& path, const std::string& name = "") const;
  // The display area north up, at most `longest` pixels along its longer side, in the units'
  // colours of the last map build, or in grey by elevation before one, to pick a survey line
  // on. Refused before a display surface.
  PlanOverview planOverview(int longest) const;

  // The fence diagram drawn in the block with the geological map: one panel on each line (at
  // least two vertices each), the section along it. The panels are built now when the map grid
  // has its walls, and else with the next build of them; every build of the walls builds them
  // again from its own inputs. A line that makes no section, now or at a build, is refused naming
  // the panel, and then nothing changes. No lines, no fence.
  Warnings setFence(std::vector<FenceLine> lines, const BuildProgress& progress = {});
  // The lines of a fence read from a line layer (see readLineFeatures), in the display surface's
  // system, each named as the file names it or lettered as typed lines are, and its messages
  // naming the file and the line. Throws ReadError, as readLineFeatures does, for a file that
  // gives no lines.
  std::vector<FenceLine> fenceFromFile(const std::string& path) const;
  // The fence with one more line, the survey line as given to a section build (a line given by a
  // start and an azimuth runs across the display area), named with the first letter no line of
  // the fence has; and the fence without its line `index` (from 0). As setFence.
  Warnings addFenceLine(const SectionLine& line, const BuildProgress& progress = {});
  Warnings removeFenceLine(std::size_t index);
  // The block left out in front of the panels, so they are seen whole; else the terrain and
  // the walls cover them.
  void setFenceCut(bool on);

  // How many parallel sections a series has and how far apart (see SectionSeries); a series that
  // cannot be made is refused and changes nothing.
  void setSectionSeries(const SectionSeries& series);
  // The sections of the series along the survey line of the last section build, classified
  // against the boundary grids of the last build; lines that give no section are left out with
  // a warning. Refused until a section grid is built from the inputs as they are. Changes
  // nothing: the section of the survey line stays the one built.
  SeriesSections buildSectionSeries(const BuildProgress& progress = {});
  // A copy, detached as detachedCopy is, whose last section is section `index` of those the
  // series built (from 0), its ends named after its number in the series: its pictures are
  // drawn as the section's.
  Session withSeriesSection(const SeriesSections& series, std::size_t index) const;

  // Step (6).
  void applyView(const TypedView& typed, double canvasWidth, double canvasHeight);
  ViewValues planView() const;
  ViewValues defaultView() const;
  // Straight at the last section, from the side that puts the line's eastern end on the right.
  ViewValues sectionView() const;
  PerspectiveValues switchPerspective(bool on);
  // The picture last drawn, while its command can still draw it; None before the first picture
  // and after the grids were dropped.
  PictureKind redrawablePicture() const;
  // The view after a nudge. On a map a drag turns (across) and tilts (up and down) by half a
  // degree a pixel; on a section it pans, the picture following the mouse. Both zoom about the
  // point given, which stays where it is on the canvas; only a map is stretched.
  NudgedView nudgedView(const ViewNudge& nudge, PictureKind kind) const;
  // Makes the view the last whole picture was drawn in the view applied again, so that a gesture
  // turns the picture on screen from where it stands, whatever the view boxes were given since
  // (a section build turns them to the section); nothing before any picture.
  void resumePictureView();
  // Moves the picture so that the point of the picture plane (right, up of the view centre, in
  // model units) shows in the middle of the canvas; 0, 0 centres the view again.
  void setPan(double PanX, double PanY);
  // The picture last drawn again with the current view, with what was drawn over it since
  // (contour map, grid lines, survey line) in the same order; nothing while none can be drawn.
  Warnings redrawPicture(Canvas& canvas);

  // The boreholes, once there is a model: the tables read at once, their units matched to the
  // model's and their coordinates put into the display surface's system (or the --srs one);
  // a table that cannot be read changes nothing. Warns of intervals in units the model lacks.
  Warnings setBoreholeFiles(const BoreholeFiles& files);
  void resetBoreholes();
  // A buffer that is not above 0 is refused and changes nothing.
  void setBoreholeDrawing(const BoreholeDrawing& drawing);
  // The model of the last grid build sampled along every hole and compared with the logs.
  BoreholeCheck checkBoreholes() const;

  // The block of the last 3D-map grid build as triangles in model coordinates, every
  // `decimate`-th display node taken, with the boreholes as lines in their logged units;
  // refused until that grid is built with its walls.
  Scene blockScene(int decimate = 1) const;
  // The last section's panel of unit parts: at its map position, or laid flat with x the
  // distance along the line, for a drawing.
  std::vector<ScenePart> sectionPanelParts(bool laidFlat) const;
  // The geological map of the last 3D-map grid build as vectors (its walls are not needed):
  // the units at the ground as polygons cut along the traced contacts, and the contact lines;
  // refused until that grid is built.
  GeologyMap geologyMap() const;
  // The file the geological map was written to, kept for the session file.
  void setGeologyMapFile(const std::string& path) { state_.geologyMapFile = path; }

  // The thickness and depth maps and the units' volumes, from the surfaces the 3D-map grid was
  // built with: refused until it is built for the inputs as they are.
  // The unit the model names `name`, or numbers so; refused, naming every unit, when none is.
  int unitNamed(const std::string& name) const;
  // The same for the boundaries.
  int boundaryNamed(const std::string& name) const;
  // A unit's thickness or a boundary's depth at every display node, NaN where it has none.
  Array2D<double> valueGrid(const MapValue& value) const;
  // What that grid holds, in words, for its file and the map's legend.
  std::string valueTitle(const MapValue& value) const;
  // Every unit's volume and areas between the ground and the base over the display area, or
  // over its part inside the polygons of `clipFile` ("" for none; any OGR vector layer, taken
  // into the display surface's coordinate system).
  std::vector<UnitVolume> unitVolumes(const std::string& clipFile = "") const;
  // The map drawn coloured by a value in place of the units (a name the model lacks is refused),
  // or by the units again (none).
  void setMapValue(const std::optional<MapValue>& value);

  // Contours.
  void setContours(const TypedContours& typed);
  // Levels over the display surface's range in the number of divisions (0 counts as 1); over the
  // range of the values when the map shows values and its grid is built.
  ContourSettings autoContours(double divisions) const;

  // What the pictures are drawn with.
  void setMapOptions(const MapOptions& options);
  void setBoundaryLines(bool on);
  void setLineColor(PackedColor color);
  // The legend, axes and title drawn with the next map or section.
  void setAnnotations(const Annotations& annotations);

  // After applyView: the magnification and shift that make the map block, or the last section,
  // fill the canvas with room for the annotations around it, whatever the canvas's shape.
  void fitMapView(const Canvas& canvas);
  void fitSectionView(const Canvas& canvas);
  // The magnification fitSectionView would choose with `extra` room kept besides; none when the
  // section cannot be fitted.
  std::optional<double> sectionFitScale(const Canvas& canvas, const Margins& extra = {});
  // The shift that puts the last section in the middle of the canvas less the room for the
  // annotations and `extra`, at the magnification applied.
  void centreSectionView(const Canvas& canvas, const Margins& extra = {});
  // What the current view, applied to its canvas, makes of the display surface's block.
  Projection projection() const;
  void setContacts(Contacts contacts);
  void setSurveyTrace(bool on);
  // The shaded relief of the next maps; a light or strength out of range is kept as typed and
  // refused when a map is drawn with it.
  void setShading(const ReliefShading& shading);

  // The pictures. Each checks that the view can make one, draws it whole and only then records
  // what it drew with; one that fails leaves the state as it was.
  Warnings drawGeoMap(Canvas& canvas);
  Warnings drawContourMap(Canvas& canvas);
  Warnings drawGridLines(Canvas& canvas);
  void drawSection(Canvas& canvas);
  void drawSurveyLine(Canvas& canvas);
  // "クリア": the canvas cleared, which a redraw of the picture does again.
  void clearPicture(Canvas& canvas);
  // One of the commands that draw over the picture (or clear it), as its own call does.
  Warnings drawOver(Canvas& canvas, DrawnOver what);

  // Takes over everything `other` holds but the default view, as if its steps had been taken
  // here, and tells the observers of every change.
  void replaceWith(Session& other);

  // A copy of the whole state that tells no observer, to draw a picture on another thread while
  // this session goes on answering; changeCount() says when it was taken. It shares the surface,
  // the grids and the units drawn, which neither changes, and copies only the settings; the
  // grids kept for the next build stay here.
  Session detachedCopy() const;
  // How many changes the observers have been told of.
  std::uint64_t changeCount() const { return changes_; }
  // Takes over the state of a detached copy that has drawn a picture since it was taken, as if
  // the picture had been drawn here; false, and nothing changes, when this session has changed
  // since the copy was taken.
  bool takeDrawnCopy(Session& drawn, std::uint64_t copiedAt);

  // The grids read when the boundary files were picked (by slot), which the next build takes
  // instead of reading the unchanged files again.
  const std::vector<EarlierRead>& keptReads() const { return boundaryRead_; }

  CommandStates commandStates() const { return state_.progress.commands(); }
  bool stepOpen(Step step) const;

 private:
  void notify(Change change);
  void requireBoundary(int k) const;
  Warnings installBoundary(int k, const std::string& path, EarlierRead read);
  std::string commonBoundarySystem() const;
  std::optional<std::string> systemToAdopt(const DisplaySurface& display) const;
  void adoptSystem(DisplaySurface& display, const std::string& srs, Warnings& warnings) const;
  void adoptBoundarySystem(Warnings& warnings);
  void drewOver(DrawnOver what);
  void step(const std::string& name, const std::function<void()>& work);
  Warnings installModel(LogicalModel model, bool ready, const std::string& file);
  BoreholeSet readBoreholeFiles(const BoreholeFiles& files);
  void drawMapBoreholes(Canvas& canvas, const PictureView& in);
  void drawSectionBoreholes(Canvas& canvas, const PictureView& in);
  void rereadBoreholes(Warnings& warnings);
  std::shared_ptr<const std::vector<FencePanel>> buildFencePanels(
      const std::vector<FenceLine>& lines, const std::vector<GridSurface>* grids,
      const BuildProgress& progress, Warnings& warnings);
  bool mapHasWalls() const;
  void dropGrids();
  void forgetUnitsDrawnFrom(PictureKind replaced);
  void checkModel();
  void requireModel() const;
  bool mapSurfacesBuilt() const;
  void requireMapSurfaces() const;
  std::optional<std::pair<double, double>> valueRange() const;
  void requireViewDrawable() const;
  void requireDrawable(const PictureView& in) const;
  void requireSectionDrawable(const PictureView& in) const;
  PictureView currentView() const;
  PictureView overlayView() const;
  Projection projectionOf(const PictureView& in) const;
  void placeFitted(const std::optional<ViewFit>& fit);
  std::optional<ViewFit> sectionFit(const Canvas& canvas, const Margins& extra, bool keepScale);
  PictureStyle pictureStyle(DrawingMode mode) const;
  void recordPicture(PictureKind kind, std::shared_ptr<const Array2D<std::int16_t>> units);
  // Hands the boundary grids read when their files were picked to the build.
  BuildInputs buildInputs();
  Warnings boundaryCoverage(const std::vector<GridSurface>& grids) const;
  std::array<std::int16_t, 2> lastVisibleWalls() const;
  Warnings contourWarnings() const;
  bool contourLinesDrawable() const;
  void drawMapPicture(Canvas& canvas, DrawingMode mode, const Array2D<std::int16_t>& units,
                      std::array<std::int16_t, 2> walls, const PictureView& in,
                      const Array2D<double>& values);
  void drawSectionPicture(Canvas& canvas, DrawingMode mode, const Array2D<std::int16_t>& units,
                          const PictureView& in);
  bool sectionUnitsDrawn() const;
  Array2D<std::int16_t> sectionUnits();
  MapNotes mapNotes(const Array2D<double>& values) const;
  SectionNotes sectionNotes(const Array2D<std::int16_t>& units) const;
  SectionNotes sectionNotes(const std::vector<bool>& present) const;

  ViewerState state_;
  std::vector<EarlierRead> boundaryRead_;
  std::vector<SessionObserver*> observers_;
  StepHook stepHook_;
  RenderContext context_;
  std::uint64_t changes_ = 0;
};

}  // namespace kalvenor
