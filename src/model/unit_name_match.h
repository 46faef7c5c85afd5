#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>

#include "model/logical_model.h"

namespace kalvenor {

// The name as names are compared when they are not written alike: full-width ASCII letters,
// digits and signs and the ideographic space become their half-width forms, half-width
// katakana their full-width forms with a following voiced or semi-voiced mark joined to the
// letter, ASCII letters lower case, and the blanks around the name go. Bytes that are no UTF-8
// stay as they are.
std::string foldedName(std::string_view name);

// Finds the model's unit a log names: the unit of exactly that name, else the first whose
// folded name is the same, else the unit the code table gives the name as a code (the code
// compared the same two ways, its unit found like a logged name); 0 when the model has none.
class UnitNameMatch {
 public:
  // `codes`: code -> unit name, as the code table gives them.
  UnitNameMatch(const LogicalModel& model, const std::map<std::string, std::string>& codes);

  std::int16_t unitOf(const std::string& logged) const;

 private:
  std::int16_t byName(const std::string& name) const;

  std::map<std::string, std::int16_t> exact_;
  std::map<std::string, std::int16_t> folded_;
  std::map<std::string, std::string> codes_;
  std::map<std::string, std::string> foldedCodes_;
};

}  // namespace kalvenor
