// Feeds arbitrary arguments, the bytes split at every NUL as a program's arguments are, to the
// command lines of both programs. A UsageError is the expected answer to a bad command line;
// anything else that escapes, and any broken promise checked below, stops the run.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "fuzz_checks.h"

namespace {

using kalvenor::fuzz::require;

std::vector<std::string> argumentsOf(const std::uint8_t* data, std::size_t size) {
  std::vector<std::string> args(1);
  for (std::size_t n = 0; n < size; ++n) {
    if (data[n] == 0) {
      args.emplace_back();
    } else {
      args.back() += static_cast<char>(data[n]);
    }
  }
  if (args.back().empty()) args.pop_back();
  return args;
}

bool finite(const std::optional<double>& value) { return !value || std::isfinite(*value); }

void checkCommon(const kalvenor::SessionOptions& o) {
  require(finite(o.zbase) && finite(o.azimuth), "finite base and azimuth");
  require(o.frame == 0 || o.frame == 2 || o.frame == 4, "a frame of 0, 2 or 4 sides");
  require(!o.autoContours || (*o.autoContours >= 1 && *o.autoContours <= 32767),
          "automatic contours in 1..32767 divisions");
  require(!o.contours || (*o.contours)[2] != 0, "a contour interval that is not 0");
  require(o.title.find_first_of("\r\n") == std::string::npos, "a title of one line");
  if (!o.session.empty()) {
    require(!o.inputs.any(), "a session comes without input files");
  }
}

void checkRender(const kalvenor::RenderOptions& o) {
  checkCommon(o);
  if (o.help || o.version) return;
  require(o.width >= 16 && o.width <= 16384 && o.height >= 16 && o.height <= 16384,
          "a picture from 16 to 16384 pixels a side");
  if (!o.session.empty()) {
    require(!o.mapFile.empty(), "a session is drawn into --map");
    return;
  }
  require(!o.inputs.model.empty() && !o.inputs.surface.empty(), "a model and a surface");
  if (o.wantsSection()) {
    require(o.start.has_value() && o.end.has_value() != o.azimuth.has_value(),
            "a section has its start and either an end or an azimuth");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::vector<std::string> args = argumentsOf(data, size);
  try {
    checkRender(kalvenor::parseRenderOptions(args));
  } catch (const kalvenor::UsageError& error) {
    require(error.what()[0] != '\0', "the error says what is wrong");
  }
  try {
    checkCommon(kalvenor::parseWindowOptions(args));
  } catch (const kalvenor::UsageError& error) {
    require(error.what()[0] != '\0', "the error says what is wrong");
  }
  return 0;
}
