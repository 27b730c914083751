#include "model/unit.h"

#include <gtest/gtest.h>

#include "model/thickness.h"

namespace blok {
namespace {

TEST(UnitTest, TheThreeUnitsAndTextsThatAreNone) {
  const struct {
    const char* name;
    bool unit;
    double metres;
  } cases[] = {
      {"m", true, 1},    {"cm", true, 0.01}, {"mm", true, 0.001}, {"M", false, 1},
      {"cal", false, 1}, {"", false, 1},     {"m ", false, 1},    {"km", false, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(IsUnit(c.name), c.unit);
    // The literal decimals exactly: a drawing scaled from one unit into another is scaled by
    // the very ratio it always was.
    EXPECT_EQ(MetresIn(c.name), c.metres);
  }
  EXPECT_EQ(MetresIn("mm") / MetresIn("cm"), 0.001 / 0.01);
}

TEST(UnitTest, ListedInTheOrderOfTheUnitBoxAndTheMessages) {
  std::vector<std::string_view> names;
  for (const Unit& u : kUnits) names.push_back(u.name);
  EXPECT_EQ(names, (std::vector<std::string_view>{"m", "cm", "mm"}));
  EXPECT_EQ(AllowedUnits(), "m, cm i mm");
}

TEST(ThicknessTest, ThinnestFirstAndEachTextReadsAsItsValue) {
  double previous = 0;
  for (const ThicknessChoice& t : kThicknessChoices) {
    SCOPED_TRACE(t.text);
    EXPECT_GT(t.millimetres, previous);
    previous = t.millimetres;
    for (const std::string_view text : {t.text, t.entity_form}) {
      std::string number(text);
      for (char& c : number) c = c == ',' ? '.' : c;
      EXPECT_EQ(std::stod(number), t.millimetres) << text;
    }
  }
  EXPECT_EQ(kThicknessChoices.front().millimetres, 0.10);
}

}  // namespace
}  // namespace blok
