// Symbols saved twice: the same drawing under two names, and names saved more than once.
#include "editing/duplicates.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace blok {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::Pair;

// Whether two drawings count as the same symbol.
TEST(DuplicatesTest, TheRuleOfTheSameDrawing) {
  const struct {
    const char* label;
    std::vector<std::string> a, b;
    bool same;
  } cases[] = {
      {"order", {"O(0,0,1)", "L(0,0)-(1,1)"}, {"L(0,0)-(1,1)", "O(0,0,1)"}, true},
      {"4 decimals", {"O(0,0,1.00004)"}, {"O(0,0,1)"}, true},
      {"5th decimal rounds up", {"O(0,0,1.00006)"}, {"O(0,0,1)"}, false},
      {"comma and point", {"O(0,0,1);K(0,0,0);GR(0,25)"}, {"O(0,0,1);K(0,0,0);GR(0.25)"}, true},
      {"colour differs", {"O(0,0,1);K(255,0,0)"}, {"O(0,0,1);K(0,0,255)"}, false},
      {"thickness differs", {"O(0,0,1);K(0,0,0);GR(0,5)"}, {"O(0,0,1);K(0,0,0);GR(0,1)"}, false},
      {"the default is black, 0.1", {"O(0,0,1)"}, {"O(0,0,1);K(0,0,0);GR(0,1)"}, true},
      {"a colour line rules the lines above it",
       {"O(0,0,1)", "K(255,0,0)"},
       {"O(0,0,1);K(255,0,0)"},
       true},
      {"but not those below it", {"K(255,0,0)", "O(0,0,1)"}, {"O(0,0,1);K(255,0,0)"}, false},
      {"comments and blank lines", {"// okrąg", "", "O(0,0,1)"}, {"O(0,0,1)"}, true},
      {"an unreadable line", {"O(0,0,1)", "X(abc"}, {"O(0,0,1)"}, true},
      {"one shape twice is not once", {"O(0,0,1)", "O(0,0,1)"}, {"O(0,0,1)"}, false},
      {"text differs", {"T(0,0,'A',1,1,0)"}, {"T(0,0,'B',1,1,0)"}, false},
      {"rectangle corners", {"P(0,0)-(2,1)"}, {"P(0,0)-(2,1.00001)"}, true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DrawingKey(c.a) == DrawingKey(c.b), c.same) << c.label;
  }
}

TEST(DuplicatesTest, ReportsGroupsAndRepeatedNames) {
  const std::vector<LoadedBlock> records = {
      {"Studnia", "m", {"O(0,0,1)", "L(-1,0)-(1,0)"}},
      {"Hydrant", "m", {"O(0,0,2)"}},
      {"Studnia B", "m", {"L(-1,0)-(1,0)", "O(0,0,1.00001)"}},
      {"Hydrant", "m", {"O(0,0,3)"}},  // the later record is the block
      {"Pusty", "m", {"// nic"}},
      {"Pusty 2", "m", {}},
      {"Zasuwa", "m", {"O(0,0,3)"}},
  };
  const DuplicateReport report = FindDuplicates(records);
  EXPECT_THAT(report.same_drawings,
              ElementsAre(ElementsAre("Hydrant", "Zasuwa"), ElementsAre("Studnia", "Studnia B")));
  EXPECT_THAT(report.repeated_names, ElementsAre(Pair("Hydrant", 2)));
  EXPECT_THAT(DuplicateReportLines(report), ElementsAre("Ten sam rysunek: Hydrant | Zasuwa",
                                                        "Ten sam rysunek: Studnia | Studnia B",
                                                        "Nazwa zapisana 2 razy: Hydrant"));
  EXPECT_TRUE(FindDuplicates({records[0], records[1]}).empty());
  EXPECT_THAT(DuplicateReportLines({}), IsEmpty());
}

}  // namespace
}  // namespace blok
