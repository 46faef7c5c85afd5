// Feeds arbitrary bytes to the model file reader, then builds the pattern table of every model
// it accepts. A ReadError is the expected answer to bad input; anything else that escapes, and
// any broken promise checked below, stops the run.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_checks.h"
#include "model/item_reader.h"
#include "model/logical_model.h"

namespace {

using kalvenor::fuzz::require;

const std::string kPath = "fuzz-model.txt";

bool holdsLineEnd(const std::string& name) {
  return name.find_first_of("\r\n") != std::string::npos;
}

void checkModel(kalvenor::LogicalModel& model) {
  require(model.Nbd >= 0 && model.Nbd <= kalvenor::kMaxBoundaries, "Nbd within 0..15");
  const int units = model.unitCount();
  require(model.unitName.size() == static_cast<std::size_t>(units) + 1, "one name per unit");
  require(model.boundaryName.size() == static_cast<std::size_t>(model.Nbd) + 1,
          "one name per boundary");
  require(model.modelCell.iLast() == units && model.modelCell.jLast() == model.Nbd,
          "a cell for every unit and boundary");
  for (int i = 1; i <= units; ++i) {
    require(!holdsLineEnd(model.unitName[i]), "unit name on one line");
  }
  for (int k = 1; k <= model.Nbd; ++k) {
    require(!holdsLineEnd(model.boundaryName[k]), "boundary name on one line");
  }

  const bool complete = kalvenor::buildUnitOfPattern(model);
  const int patterns = 1 << model.Nbd;
  require(model.unitOfPattern.size() >= static_cast<std::size_t>(patterns),
          "a table entry for every pattern");
  bool allFound = true;
  for (int p = 0; p < patterns; ++p) {
    const int unit = model.unitOfPattern[p];
    require(unit >= 0 && unit <= units, "table names an existing unit or none");
    if (unit == 0) allFound = false;
  }
  require(complete == allFound, "completeness flag matches the table");

  // A unit whose every cell is 0 accepts any pattern, so the table cannot have a gap.
  for (int i = 1; i <= units; ++i) {
    bool undecided = true;
    for (int k = 1; k <= model.Nbd; ++k) undecided = undecided && model.modelCell(i, k) == 0;
    if (undecided) {
      require(complete, "an all-zero unit fills every pattern");
      break;
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  kalvenor::fuzz::readAndCheck(
      data, size, kPath,
      [](kalvenor::ItemReader& reader) { return kalvenor::readLogicalModel(reader); },
      [](kalvenor::LogicalModel& model) { checkModel(model); });
  return 0;
}
