#include "model/grid_surface.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <limits>
#include <optional>
#include <string_view>
#include <vector>

#include "model/grid_range.h"
#include "model/input_file.h"
#include "model/item_reader.h"
#include "model/message_text.h"
#include "model/number_text.h"
#include "model/raster_grid.h"
#include "model/read_error.h"

namespace kalvenor {
namespace {

// A spacing, checked at once so a failure names its line: not 0, the last node must still be a
// number, and the nodes must lie within reach of the arithmetic and be told apart.
double readSpacing(ItemReader& reader, const std::string& name, double origin, std::int32_t nodes) {
  const double spacing = reader.readNumber(name);
  if (spacing == 0.0) reader.fail(fill(translated("{1} must not be 0"), {name}));
  if (!std::isfinite(origin + (nodes - 1) * spacing)) {
    reader.fail(translated("the grid reaches beyond the range of numbers"));
  }
  const std::string axis = name == "Dx" ? "x" : "y";
  if (const auto problem = axisProblem(axis, name, origin, spacing, nodes)) reader.fail(*problem);
  return spacing;
}

enum class FileStart { OwnGrid, OtherText, Raster };

// The first block of the file, without a byte-order mark; "" when it cannot be read, and for a
// folder, a device or a pipe, which are never opened.
std::string fileHead(const std::string& path) {
  if (notAFile(path)) return "";
  std::ifstream file(path, std::ios::binary);
  std::string head(4096, '\0');
  file.read(head.data(), static_cast<std::streamsize>(head.size()));
  head.resize(static_cast<std::size_t>(file.gcount()));
  if (head.starts_with("\xEF\xBB\xBF")) head.erase(0, 3);
  return head;
}

// The own format starts with Nx, a number; an empty file and one that cannot be opened count as
// the own format too, so that the own reader says what is wrong with them (a folder, a device or
// a pipe among them). A NUL byte in the first
// block marks a binary file, and a name that is no file here but one GDAL opens (a file in an
// archive, a subdataset) is a raster too.
FileStart fileStart(const std::string& path, const std::string& head) {
  if (head.empty() && isGdalName(path)) return FileStart::Raster;
  if (head.find('\0') != std::string::npos) return FileStart::Raster;
  const std::size_t start = head.find_first_not_of(" \t\r\n");
  if (start == std::string::npos) return FileStart::OwnGrid;
  const std::size_t end = head.find_first_of(", \t\r\n", start);
  return wholeNumber(std::string_view(head).substr(start, end - start)) ? FileStart::OwnGrid
                                                                        : FileStart::OtherText;
}

// The numbers on one line, split at blanks, commas and semicolons; nothing when an item is not
// a number.
std::optional<std::vector<double>> lineNumbers(std::string_view line) {
  std::vector<double> numbers;
  std::size_t at = 0;
  while ((at = line.find_first_not_of(" \t,;\r", at)) != std::string_view::npos) {
    const std::size_t end = std::min(line.find_first_of(" \t,;\r", at), line.size());
    const std::optional<double> number = wholeNumber(line.substr(at, end - at));
    if (!number) return std::nullopt;
    numbers.push_back(*number);
    at = end;
  }
  return numbers;
}

// Lines of three numbers whose first two points lie on one row or one column of a grid: an XYZ
// file without the header line that would tell GDAL so.
bool looksLikeXyzWithoutHeader(const std::string& head) {
  std::vector<std::vector<double>> points;
  std::size_t start = 0;
  for (std::size_t end; points.size() < 3 && (end = head.find('\n', start)) != std::string::npos;
       start = end + 1) {
    const std::optional<std::vector<double>> numbers =
        lineNumbers(std::string_view(head).substr(start, end - start));
    if (!numbers || numbers->size() != 3) return false;
    points.push_back(*numbers);
  }
  if (points.size() < 3) return false;
  const bool sameRow = points[0][1] == points[1][1] && points[0][0] != points[1][0];
  const bool sameColumn = points[0][0] == points[1][0] && points[0][1] != points[1][1];
  return sameRow || sameColumn;
}

GridSurface readOwnGrid(const std::string& path) {
  ItemReader reader = ItemReader::fromFile(path);
  return readGridSurface(reader);
}

// A text file that is not the own format may be a raster in a text format (ESRI ASCII, XYZ).
// When GDAL cannot read it either, the own reader's complaint comes first, as it names the line
// and item, and GDAL's follows.
GridSurface readTextGrid(const std::string& path, const GridReading& reading) {
  std::string rasterProblem = translated("GDAL knows no raster format it is written in");
  if (isGdalRaster(path)) {
    try {
      return readRasterGrid(path, reading);
    } catch (const ReadError& error) {
      rasterProblem = error.problem();
    }
  }
  try {
    return readOwnGrid(path);
  } catch (const ReadError& error) {
    throw ReadError(
        path, error.line(), error.item(),
        fill(translated("{1} (nor is it a raster: {2})"), {error.problem(), rasterProblem}));
  }
}

// The own reader's complaint about a file that is an XYZ file to the eye says how to make it one
// to GDAL as well.
GridSurface readOwnGridWithHint(const std::string& path, const std::string& head) {
  try {
    return readOwnGrid(path);
  } catch (const ReadError& error) {
    if (!looksLikeXyzWithoutHeader(head)) throw;
    throw ReadError(
        path, error.line(), error.item(),
        fill(translated("{1} (it looks like an XYZ file without a header line, which is taken for "
                        "the own format, whose first items are Nx and Ny: add the line \"x y z\" "
                        "at its top so that it is read as XYZ)"),
             {error.problem()}));
  }
}

}  // namespace

bool hasGdalPrefix(const std::string& path) {
  if (path.starts_with("/vsi")) return true;
  const std::size_t colon = path.find(':');
  if (colon == std::string::npos || colon < 2) return false;
  return std::all_of(path.begin(), path.begin() + static_cast<std::ptrdiff_t>(colon), [](char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
  });
}

bool isGdalName(const std::string& path) {
  std::error_code unknown;
  return hasGdalPrefix(path) && !std::filesystem::exists(path, unknown) && !unknown &&
         isGdalRaster(path);
}

GridSurface readGridSurface(const std::string& path, const GridReading& reading) {
  GridSurface grid;
  const std::string head = fileHead(path);
  switch (fileStart(path, head)) {
    case FileStart::OwnGrid:
      grid = readOwnGridWithHint(path, head);
      break;
    case FileStart::OtherText:
      grid = readTextGrid(path, reading);
      break;
    case FileStart::Raster:
      grid = readRasterGrid(path, reading);
      break;
  }
  if (grid.srs.empty()) grid.srs = reading.srs;
  return grid;
}

std::string gridSystem(const std::string& path, const GridReading& reading) {
  return fileStart(path, fileHead(path)) == FileStart::OwnGrid ? reading.srs
                                                               : rasterSystem(path, reading);
}

GridSurface readGridSurface(ItemReader& reader) {
  GridSurface grid;
  constexpr std::int64_t kMaxCount = std::numeric_limits<std::int32_t>::max();
  grid.Nx = static_cast<std::int32_t>(reader.readWhole("Nx", 2, kMaxCount));
  grid.Ny = static_cast<std::int32_t>(reader.readWhole("Ny", 2, kMaxCount));
  const std::int64_t nodes = std::int64_t{grid.Nx} * grid.Ny;
  if (nodes > kMaxGridNodes) {
    reader.fail(fill(
        translated("a grid of {1} x {2} nodes is larger than the {3} nodes the viewer handles"),
        {std::to_string(grid.Nx), std::to_string(grid.Ny), std::to_string(kMaxGridNodes)}));
  }
  grid.Xmin = reader.readNumber("Xmin");
  grid.Ymin = reader.readNumber("Ymin");
  grid.Dx = readSpacing(reader, "Dx", grid.Xmin, grid.Nx);
  grid.Dy = readSpacing(reader, "Dy", grid.Ymin, grid.Ny);

  // Every elevation takes a character and a separator: a file far too short for its header is
  // rejected before the grid is allocated.
  if (static_cast<std::int64_t>(reader.remaining()) < 2 * nodes - 1) {
    reader.fail(fill(translated("the file is too short for the {1} elevations of a {2} x {3} grid"),
                     {std::to_string(nodes), std::to_string(grid.Nx), std::to_string(grid.Ny)}));
  }
  grid.z = Array2D<double>(1, grid.Nx, 1, grid.Ny);
  // Translated once: a grid holds millions of elevations.
  const std::string elevation = translated("an elevation");
  std::int64_t read = 0;
  for (int i = 1; i <= grid.Nx; ++i) {
    for (int j = 1; j <= grid.Ny; ++j, ++read) {
      if (reader.atEnd()) {
        reader.fail(fill(translated("the file ends after {1} of {2} elevations"),
                         {std::to_string(read), std::to_string(nodes)}));
      }
      const double z = reader.readNumber(elevation);
      if (const auto problem = elevationProblem(z)) reader.fail(*problem);
      grid.z(i, j) = z;
    }
  }
  grid.trailingValues = reader.countValuesLeft();
  return grid;
}

std::string trailingValuesWarning(const std::string& path, const GridSurface& grid) {
  if (grid.trailingValues == 0) return "";
  const char* pattern = translatedCount(
      "{1}: {2} value after the last of the {3} elevations was ignored; decimal commas or blanks "
      "inside numbers make one number read as two",
      "{1}: {2} values after the last of the {3} elevations were ignored; decimal commas or "
      "blanks inside numbers make one number read as two",
      static_cast<unsigned long>(grid.trailingValues));
  return fill(pattern, {path, std::to_string(grid.trailingValues),
                        std::to_string(std::int64_t{grid.Nx} * grid.Ny)});
}

}  // namespace kalvenor
