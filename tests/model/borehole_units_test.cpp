// Logged unit names matched to the model's: exactly, without case and width, through codes.
#include <gtest/gtest.h>

#include "model/unit_name_match.h"

namespace kalvenor {
namespace {

TEST(UnitNames, FoldCaseAndWidth) {
  const struct {
    const char* name;
    const char* folded;
  } cases[] = {
      {"Sandstone", "sandstone"},
      {"  Mudstone\t", "mudstone"},
      {"ＳＡＮＤ１", "sand1"},          // full-width letters and digits
      {"段丘　堆積物", "段丘 堆積物"},  // the ideographic space
      {"ｼﾙﾄ", "シルト"},                // half-width katakana
      {"ｶﾞﾌﾞﾊﾟ", "ガブパ"},             // with voiced and semi-voiced marks
      {"ｳﾞ", "ヴ"},
      {"ｱﾞ", "ア゛"},  // a mark that joins no letter stays a mark
      {"砂岩", "砂岩"},
      {"a\xff"
       "b",
       "a\xff"
       "b"},  // no UTF-8
  };
  for (const auto& c : cases) EXPECT_EQ(foldedName(c.name), c.folded) << c.name;
}

LogicalModel model() {
  LogicalModel made = allocateModel(3);
  made.unitName = {"", "Basement", "砂岩", "シルト", "Sand"};
  return made;
}

TEST(UnitNames, MatchExactlyThenFoldedThenByCode) {
  const UnitNameMatch match(model(), {{"SS", "ｻｶﾞﾝ"}, {"b", "Basement"}, {"x", "Granite"}});
  const struct {
    const char* logged;
    int unit;
  } cases[] = {
      {"Basement", 1},         {"砂岩", 2}, {"sand", 4}, {"SAND", 4}, {"ｼﾙﾄ", 3},
      {"ＢＡＳＥＭＥＮＴ", 1}, {"SS", 0},   {"B", 1},    {"b", 1},    {"x", 0},
      {"Limestone", 0},
  };
  for (const auto& c : cases) EXPECT_EQ(match.unitOf(c.logged), c.unit) << c.logged;
}

TEST(UnitNames, CodeNamesAModelUnitByItsFoldedName) {
  const UnitNameMatch match(model(), {{"ss", "sand"}, {"st", "ｼﾙﾄ"}});
  EXPECT_EQ(match.unitOf("SS"), 4);
  EXPECT_EQ(match.unitOf("st"), 3);
}

TEST(UnitNames, ExactNameWinsOverAFoldedOne) {
  LogicalModel twins = allocateModel(1);
  twins.unitName = {"", "sand", "Sand"};
  const UnitNameMatch match(twins, {});
  EXPECT_EQ(match.unitOf("Sand"), 2);
  EXPECT_EQ(match.unitOf("sand"), 1);
  EXPECT_EQ(match.unitOf("SAND"), 1);
}

}  // namespace
}  // namespace kalvenor
