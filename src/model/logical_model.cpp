#include "model/logical_model.h"

#include <stdexcept>

#include "model/item_reader.h"
#include "model/message_text.h"

namespace kalvenor {

LogicalModel allocateModel(int Nbd) {
  if (Nbd < 0 || Nbd > kMaxBoundaries) {
    throw std::invalid_argument(
        fill(translated("the number of boundaries must lie between 0 and {1}"),
             {std::to_string(kMaxBoundaries)}));
  }
  LogicalModel model;
  model.Nbd = static_cast<std::int16_t>(Nbd);
  model.modelCell = Array2D<std::int16_t>(0, Nbd + 1, 0, Nbd, 0);
  model.unitName.assign(Nbd + 2, std::string());
  model.boundaryName.assign(Nbd + 1, std::string());
  model.unitOfPattern.assign((std::size_t{1} << (Nbd + 1)) + 1, 0);
  return model;
}

LogicalModel twoUnitTemplate() {
  LogicalModel model = allocateModel(1);
  model.modelCell(1, 1) = -1;
  model.modelCell(2, 1) = 1;
  model.unitName[1] = "a";
  model.unitName[2] = "b";
  model.boundaryName[1] = "s";
  return model;
}

LogicalModel readLogicalModel(const std::string& path) {
  ItemReader reader = ItemReader::fromFile(path);
  return readLogicalModel(reader);
}

LogicalModel readLogicalModel(ItemReader& reader) {
  const auto Nbd = reader.readWhole(translated("the number of boundaries"), 0, kMaxBoundaries);
  LogicalModel model = allocateModel(static_cast<int>(Nbd));
  for (int k = 1; k <= model.Nbd; ++k) {
    model.boundaryName[k] =
        reader.readString(fill(translated("the name of boundary {1}"), {std::to_string(k)}));
  }
  for (int i = 1; i <= model.unitCount(); ++i) {
    model.unitName[i] =
        reader.readString(fill(translated("the name of unit {1}"), {std::to_string(i)}));
    for (int k = 1; k <= model.Nbd; ++k) {
      const std::string cell = fill(translated("cell value of unit {1} at boundary {2}"),
                                    {std::to_string(i), std::to_string(k)});
      model.modelCell(i, k) = static_cast<std::int16_t>(reader.readWhole(cell, -32768, 32767));
    }
  }
  return model;
}

namespace {

bool rowFits(const LogicalModel& model, int unit, int pattern) {
  for (int k = model.Nbd; k >= 1; --k, pattern /= 2) {
    const bool above = pattern % 2 == 1;
    const std::int16_t cell = model.modelCell(unit, k);
    if (!(cell == 0 || (cell == -1 && !above) || (cell == 1 && above))) return false;
  }
  return true;
}

}  // namespace

bool buildUnitOfPattern(LogicalModel& model) {
  model.unitOfPattern.assign((std::size_t{1} << (model.Nbd + 1)) + 1, 0);
  bool complete = true;
  const int patterns = 1 << model.Nbd;
  for (int p = 0; p < patterns; ++p) {
    for (int unit = 1; unit <= model.unitCount(); ++unit) {
      if (rowFits(model, unit, p)) {
        model.unitOfPattern[p] = static_cast<std::int16_t>(unit);
        break;
      }
    }
    if (model.unitOfPattern[p] == 0) complete = false;
  }
  return complete;
}

}  // namespace kalvenor
