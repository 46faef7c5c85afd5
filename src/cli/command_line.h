#pragma once

#include <array>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace kalvenor {

// A command line that cannot be followed; the message names the option and the problem.
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The files both programs can start from.
struct InputFiles {
  std::string model;
  std::vector<std::string> boundaries;  // lowest boundary first
  std::string surface;
  std::string colors;
  bool any() const { return !model.empty() || !boundaries.empty() || !surface.empty() || !colors.empty(); }
};

struct Point2 {
  double x = 0;
  double y = 0;
};

// What kalvenor-render is asked to do.
struct RenderOptions {
  InputFiles inputs;
  std::optional<double> zbase;
  std::optional<std::array<double, 4>> view;  // Alpha, Gamma, Sca, Ve
  std::optional<std::array<double, 2>> perspective;  // Dist, Ppz
  std::optional<std::array<double, 3>> contours;     // Cst, Cen, Cin
  std::optional<int> autoContours;                   // divisions
  bool side = true;
  bool boundaryLines = true;
  int frame = 4;  // 0: none, 2 or 4 sides
  bool black = false;
  int width = 800;
  int height = 800;
  std::string mapFile;
  std::string sectionFile;
  std::optional<Point2> start;
  std::optional<Point2> end;
  std::optional<double> azimuth;
  bool sectionLine = false;
  std::string unitsGrid;
  std::string unitsLegend;
  std::string sectionUnits;
  bool help = false;

  bool wantsSection() const { return !sectionFile.empty() || !sectionUnits.empty() || sectionLine; }
};

// The options of the window: the four input files and nothing else.
InputFiles parseWindowOptions(const std::vector<std::string>& args);

// Every option of the batch renderer; throws UsageError for an unknown option, a missing or
// malformed value, or a combination that cannot be rendered.
RenderOptions parseRenderOptions(const std::vector<std::string>& args);

// The help text of each program.
std::string windowUsage();
std::string renderUsage();

}  // namespace kalvenor
