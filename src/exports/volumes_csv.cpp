#include "exports/volumes_csv.h"

#include "exports/csv_field.h"
#include "model/number_text.h"

namespace kalvenor {

std::string unitVolumesCsv(const LogicalModel& model, const std::vector<UnitVolume>& volumes) {
  std::string text =
      "unit,name,volume_m3,outcrop_area_m2,present_area_m2,mean_thickness_m,"
      "largest_thickness_m\n";
  for (const UnitVolume& v : volumes) {
    const std::string name =
        v.unit < static_cast<int>(model.unitName.size()) ? model.unitName[v.unit] : "";
    text += numberText(v.unit) + "," + csvField(name) + "," + numberText(v.volume) + "," +
            numberText(v.outcropArea) + "," + numberText(v.presentArea) + "," +
            numberText(v.meanThickness()) + "," + numberText(v.largestThickness) + "\n";
  }
  return text;
}

}  // namespace kalvenor
