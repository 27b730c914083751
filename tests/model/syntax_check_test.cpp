#include "model/syntax_check.h"

#include <gtest/gtest.h>

namespace blok {
namespace {

TEST(CheckSyntaxTest, TidiesAndMarksEveryLine) {
  const std::vector<std::string> lines = {
      "   L(0,0)-(1,1)",
      "// opis",
      "   // wcięty",
      "L(0,0)-(x,1)",
      "L(0,0)-(1,1);K(RED)",
      "K(YELLOW)",
      "K(ŻÓŁTY)",
      "X(1,2)",
      "",
      "  O (1, 2, 3)",
  };
  const std::vector<CheckedLine> expected = {
      {"L(0,0)-(1,1)", LineStatus::kEntity},
      {"// opis", LineStatus::kComment},
      {"// wcięty", LineStatus::kComment},
      {"L(0,0)-(x,1)", LineStatus::kInvalid},
      {"L(0,0)-(1,1);K(RED)", LineStatus::kEntity},
      {"K(YELLOW)", LineStatus::kInvalid},
      {"K(ŻÓŁTY)", LineStatus::kEntity},
      {"X(1,2)", LineStatus::kInvalid},
      {"", LineStatus::kInvalid},
      {"O(1, 2, 3)", LineStatus::kEntity},
  };
  const auto checked = CheckSyntax(lines);
  ASSERT_EQ(checked.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(checked[i].text, expected[i].text) << i;
    EXPECT_EQ(checked[i].status, expected[i].status) << i;
  }
  EXPECT_TRUE(CheckSyntax({}).empty());
}

}  // namespace
}  // namespace blok
