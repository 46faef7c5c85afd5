// Feeds arbitrary bytes, as a session file, to the reader both programs open sessions with: the
// JSON, the document and its checks before anything is restored. The input files a document
// may name (model.txt, boundary1.txt, boundary2.txt, surface.txt) exist beside it, so the checks
// of the names run too. A SessionError naming the file is the expected answer to bad input;
// anything else that escapes, and any broken promise checked below, stops the run.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "fuzz_checks.h"
#include "session/session_file.h"

namespace {

using kalvenor::fuzz::require;

void makeInputFiles() {
  for (const char* name : {"model.txt", "boundary1.txt", "boundary2.txt", "surface.txt"}) {
    std::ofstream(kalvenor::fuzz::inputFolder() / name) << "1\n";
  }
}

void checkDocument(const kalvenor::SessionDocument& d) {
  for (const std::string& file : d.boundaryFiles) {
    require(file.empty() || std::filesystem::is_regular_file(file), "boundary files exist");
  }
  require(d.modelFile.empty() || std::filesystem::is_regular_file(d.modelFile),
          "the model file exists");
  require(d.surfaceFile.empty() || std::filesystem::is_regular_file(d.surfaceFile),
          "the display surface exists");
  require(d.modelFile.empty() || !d.handModel, "a model file or a model by hand, not both");
  if (d.handModel) {
    const kalvenor::LogicalModel& m = *d.handModel;
    require(m.Nbd >= 0 && m.Nbd <= kalvenor::kMaxBoundaries, "Nbd within 0..15");
    require(m.unitName.size() == static_cast<std::size_t>(m.unitCount()) + 1, "a name per unit");
    require(m.modelCell.iLast() == m.unitCount() && m.modelCell.jLast() == m.Nbd,
            "a cell for every unit and boundary");
  }
  require(d.grid.empty() || d.grid == "map" || d.grid == "section", "a known grid");
  require(d.drawOptions.DrawMode >= kalvenor::DrawingMode::None &&
              d.drawOptions.DrawMode <= kalvenor::DrawingMode::SurveyLine,
          "a known picture");
  require(d.drawOptions.LineColor >= 0 && d.drawOptions.LineColor <= 0xFFFFFF,
          "a line colour of 24 bits");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const bool made = (makeInputFiles(), true);
  (void)made;
  const std::string path = kalvenor::fuzz::inputFile(data, size, "session.json");
  try {
    checkDocument(kalvenor::readSessionFile(path));
  } catch (const kalvenor::SessionError& error) {
    const std::string message = error.what();
    require(message.rfind(path + ": ", 0) == 0, "error names the session file first");
    kalvenor::fuzz::requireWholeMessage(message.substr(path.size() + 2));
  }
  return 0;
}
