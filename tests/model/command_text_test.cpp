#include "model/command_text.h"

#include <gtest/gtest.h>

namespace blok {
namespace {

struct TextCase {
  const char* in;
  const char* out;
};

TEST(CommandTextTest, TrimLineStart) {
  const TextCase cases[] = {
      {"   O (1,2,3)", "O(1,2,3)"},
      {"LUK (1,2,3,4,5)", "LUK (1,2,3,4,5)"},  // the blank is not right after the first character
      {"L   (1, 2)", "L(1, 2)"},
      {"", ""},
      {"    ", ""},
      {"  ż  x", "żx"},  // a first character of two bytes stays whole
  };
  for (const auto& c : cases) EXPECT_EQ(TrimLineStart(c.in), c.out) << c.in;
}

TEST(CommandTextTest, StripBlanks) {
  EXPECT_EQ(StripAllBlanks(" L ( 1 , 2 ) "), "L(1,2)");
  EXPECT_EQ(StripBlanksOutsideQuotes("T( 1 , 2 ,' a  b ',1,1,0)"), "T(1,2,' a  b ',1,1,0)");
  // Each quote switches, so after an odd number of them the rest counts as inside.
  EXPECT_EQ(StripBlanksOutsideQuotes("T(0,0,'it's',1 ,1,0) ; K"), "T(0,0,'it's',1 ,1,0) ; K");
}

}  // namespace
}  // namespace blok
