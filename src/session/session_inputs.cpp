#include <exception>
#include <memory>
#include <optional>

#include "model/boundary_grids.h"
#include "model/colour_file.h"
#include "model/coordinate_system.h"
#include "model/display_surface.h"
#include "model/grid_surface.h"
#include "model/message_text.h"
#include "model/parallel_for.h"
#include "session/session.h"

namespace kalvenor {
namespace {

// What reading the grid had to say: values after its last elevation, and a warp.
void warnOfReading(Warnings& warnings, const std::string& path, const GridSurface& grid) {
  const std::string warning = trailingValuesWarning(path, grid);
  if (!warning.empty()) warnings.push_back(warning);
  if (!grid.note.empty()) warnings.push_back(path + ": " + grid.note);
}

// A grid that names its own system keeps it: the system named for the inputs only goes to grids
// that name none, and nothing is reprojected but a raster in degrees.
void warnOfOwnSystem(Warnings& warnings, const std::string& path, const GridSurface& grid,
                     const ViewerState& s) {
  if (s.srs.empty() || grid.srs.empty() || sameSystem(grid.srs, s.srs)) return;
  warnings.push_back(
      fill(translated("{1}: the grid names its own coordinate system, {2}, and keeps it: the "
                      "system named for the inputs ({3}) is given only to grids that name none, "
                      "and neither is reprojected into the other"),
           {path, systemName(grid.srs), s.srsGiven}));
}

// The display surface's own system: none when it was taken from the boundaries.
std::string ownSystem(const DisplaySurface& display) {
  return display.srsFromBoundaries ? std::string() : display.srs;
}

// Grids in different systems are taken as they are, over the display surface's coordinates.
void warnOfOtherSystem(Warnings& warnings, const std::string& boundaryFile,
                       const std::string& boundarySrs, const std::string& displayFile,
                       const std::string& displaySrs) {
  if (boundarySrs.empty() || displaySrs.empty() || sameSystem(boundarySrs, displaySrs)) return;
  warnings.push_back(
      fill(translated("{1}: the boundary grid is in {2} but the display surface {3} is in {4}; "
                      "the display surface's system is used and neither grid is reprojected"),
           {boundaryFile, systemName(boundarySrs), displayFile, systemName(displaySrs)}));
}

}  // namespace

void Session::setSrs(const std::string& text) {
  try {
    state_.srs = text.empty() ? std::string() : projectedSystemWkt(text);
  } catch (const CoordinateSystemError& error) {
    throw SessionError(error.what());
  }
  state_.srsGiven = text;
  notify(Change::CoordinateSystem);
}

void Session::requireBoundary(int k) const {
  if (!hasModel()) throw SessionError(kNoModelYet);
  if (k < 1 || k > state_.model.Nbd) {
    throw SessionError(fill(translated("The model has no boundary {1}."), {std::to_string(k)}));
  }
}

Warnings Session::setBoundaryFile(int k, const std::string& path) {
  requireBoundary(k);
  Warnings warnings =
      installBoundary(k, path, readBoundaryToKeep(path, {state_.srs}, *state_.display));
  adoptBoundarySystem(warnings);
  return warnings;
}

Warnings Session::setBoundaryFiles(const std::vector<std::string>& paths) {
  for (std::size_t k = 1; k <= paths.size(); ++k) requireBoundary(static_cast<int>(k));
  std::vector<EarlierRead> read(paths.size());
  // Each file's failure is kept, so that the lowest boundary's is the one thrown.
  std::vector<std::exception_ptr> failure(paths.size());
  parallelFor(0, static_cast<int>(paths.size()) - 1,
              [&](int file) {
                try {
                  read[file] = readBoundaryToKeep(paths[file], {state_.srs}, *state_.display);
                } catch (...) {
                  failure[file] = std::current_exception();
                }
              },
              {.threads = context_.threads});
  for (const std::exception_ptr& error : failure) {
    if (error) std::rethrow_exception(error);
  }
  Warnings warnings;
  for (std::size_t k = 1; k <= paths.size(); ++k) {
    const Warnings more =
        installBoundary(static_cast<int>(k), paths[k - 1], std::move(read[k - 1]));
    warnings.insert(warnings.end(), more.begin(), more.end());
  }
  adoptBoundarySystem(warnings);
  return warnings;
}

Warnings Session::installBoundary(int k, const std::string& path, EarlierRead read) {
  const GridSurface& grid = read.grid;
  Warnings warnings;
  warnOfReading(warnings, path, grid);
  warnOfOwnSystem(warnings, path, grid, state_);
  if (state_.display->loaded()) {
    warnOfOtherSystem(warnings, path, grid.srs, state_.displayFile, ownSystem(*state_.display));
  }
  state_.boundaryFile.resize(state_.model.Nbd + 1);
  state_.boundaryFile[k] = path;
  if (grid.note.empty()) {
    state_.boundaryNote.erase(path);
  } else {
    state_.boundaryNote[path] = grid.note;
  }
  boundaryRead_.resize(state_.model.Nbd + 1);
  boundaryRead_[k] = std::move(read);
  notify(Change::BoundaryFiles);
  return warnings;
}

// Forgets the files picked, so that the list and the next grid build agree.
void Session::resetBoundaryFiles() {
  state_.boundaryFile.assign(state_.model.Nbd + 1, std::string());
  boundaryRead_.clear();
  Warnings none;  // with no boundary files the display surface keeps only its own system
  adoptBoundarySystem(none);
  notify(Change::BoundaryFiles);
}

// The system every boundary file names, when all are picked and all name the same one; "" else.
std::string Session::commonBoundarySystem() const {
  const ViewerState& s = state_;
  std::string common;
  for (int k = 1; k <= s.model.Nbd; ++k) {
    const std::string& file = k < static_cast<int>(s.boundaryFile.size()) ? s.boundaryFile[k] : "";
    if (file.empty()) return "";
    const bool kept = k < static_cast<int>(boundaryRead_.size()) && boundaryRead_[k].path == file &&
                      !boundaryRead_[k].lent;
    const std::string system = kept ? boundaryRead_[k].grid.srs : gridSystem(file, {s.srs});
    if (system.empty() || (!common.empty() && !sameSystem(system, common))) return "";
    if (common.empty()) common = system;
  }
  return common;
}

// A display surface that names no system of its own is taken to be in the one every boundary
// grid names, so that the exports made over it carry that system; when the boundaries stop
// agreeing it has none again. The system it is to be taken in ("" for none), or nothing when it
// stays as it is.
std::optional<std::string> Session::systemToAdopt(const DisplaySurface& d) const {
  if (!d.loaded() || !ownSystem(d).empty()) return std::nullopt;
  const std::string common = commonBoundarySystem();
  if (common.empty()) return d.srsFromBoundaries ? std::optional<std::string>("") : std::nullopt;
  if (d.srsFromBoundaries && sameSystem(d.srs, common)) return std::nullopt;
  return common;
}

void Session::adoptSystem(DisplaySurface& d, const std::string& srs, Warnings& warnings) const {
  d.srs = srs;
  d.srsFromBoundaries = !srs.empty();
  if (srs.empty()) return;
  warnings.push_back(fill(translated("{1}: the display surface names no coordinate system; it is "
                                     "taken to be in {2}, which every boundary grid names"),
                          {state_.displayFile, systemName(srs)}));
}

// The surface loaded is shared: one whose system changes is a changed copy put in its place.
void Session::adoptBoundarySystem(Warnings& warnings) {
  const std::optional<std::string> srs = systemToAdopt(*state_.display);
  if (!srs) return;
  auto display = std::make_shared<DisplaySurface>(*state_.display);
  adoptSystem(*display, *srs, warnings);
  state_.display = std::move(display);
}

void Session::setUnitColor(int unit, PackedColor color) {
  if (unit < 1 || unit >= static_cast<int>(state_.unitColor.size())) {
    throw SessionError(kNoModelYet);
  }
  state_.unitColor[unit] = color;
  state_.unitColorChosen[unit] = true;
  notify(Change::Colours);
}

void Session::setBoundaryColor(int k, PackedColor color) {
  if (k < 1 || k >= static_cast<int>(state_.boundaryColor.size())) return;
  state_.boundaryColor[k] = color;
  notify(Change::Colours);
}

void Session::resetUnitColors() {
  const int units = state_.model.unitCount();
  state_.unitColor.assign(units + 1, kBlack);
  state_.unitColorChosen.assign(units + 1, false);
  notify(Change::Colours);
}

// The whole file is checked before any colour changes.
void Session::applyColourFile(const std::string& path) {
  if (!hasModel()) throw SessionError(kNoModelYet);
  const ColourFile colours = readColourFile(path);
  const LogicalModel& m = state_.model;
  for (int unit = 1; unit <= m.unitCount(); ++unit) {
    if (!colours.unit.count(unit)) {
      throw SessionError(fill(translated("{1}: no colour for unit {2} of the model"),
                              {path, std::to_string(unit)}));
    }
  }
  for (int unit = 1; unit <= m.unitCount(); ++unit) {
    state_.unitColor[unit] = colours.unit.at(unit);
    state_.unitColorChosen[unit] = true;
  }
  for (const auto& [k, colour] : colours.boundary) {
    if (k <= m.Nbd) state_.boundaryColor[k] = colour;
  }
  notify(Change::Colours);
}

// The surface is read completely before it replaces the one loaded before.
Warnings Session::loadDisplaySurface(const std::string& path) {
  return loadDisplaySurface(path, readGridSurface(path, {state_.srs}));
}

Warnings Session::loadDisplaySurface(const std::string& path, const GridSurface& grid) {
  Warnings warnings;
  warnOfReading(warnings, path, grid);
  for (const std::string& file : state_.boundaryFile) {
    if (!file.empty()) {
      warnOfOtherSystem(warnings, file, gridSystem(file, {state_.srs}), path, grid.srs);
    }
  }
  warnOfOwnSystem(warnings, path, grid, state_);
  auto display =
      std::make_shared<DisplaySurface>(makeDisplaySurface(grid, state_.jitter, context_));
  state_.displayFile = path;
  if (const auto srs = systemToAdopt(*display)) adoptSystem(*display, *srs, warnings);
  state_.display = std::move(display);
  state_.Zbase = defaultZbase(state_.display->Zmin);
  state_.gridOutOfDate = true;
  const std::vector<GridSurface>& grids = *state_.boundaryGrids;
  if (grids.size() > 1 && gridMismatch(grids[1], *state_.display)) {
    warnings.push_back("境界面の格子と表示面の格子の大きさが合っていません");
  }
  rereadBoreholes(warnings);
  notify(Change::DisplaySurface);
  notify(Change::BaseHeight);
  return warnings;
}

void Session::setZbase(double Zbase) {
  state_.Zbase = Zbase;
  notify(Change::BaseHeight);
}

}  // namespace kalvenor
