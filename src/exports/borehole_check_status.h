#pragma once

#include "evaluation/borehole_check.h"

namespace kalvenor {

// How a contact's status is written in the check's files: fixed words, the same in every
// language, so that a table or a GIS filter can select by them.
inline const char* contactStatusName(ContactStatus status) {
  switch (status) {
    case ContactStatus::Modelled:
      return "modelled";
    case ContactStatus::NotInModel:
      return "not in the model";
    case ContactStatus::OutsideModel:
      return "outside the model";
  }
  return "";
}

}  // namespace kalvenor
