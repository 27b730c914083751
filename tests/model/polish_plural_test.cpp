#include "model/polish_plural.h"

#include <gtest/gtest.h>

namespace blok {
namespace {

TEST(PolishPluralTest, FormFollowsTheCount) {
  const struct {
    long long count;
    std::string_view expected;
  } cases[] = {{0, "0 linii"},   {1, "1 linia"},   {2, "2 linie"},     {4, "4 linie"},
               {5, "5 linii"},   {11, "11 linii"}, {12, "12 linii"},   {14, "14 linii"},
               {21, "21 linii"}, {22, "22 linie"}, {112, "112 linii"}, {124, "124 linie"}};
  for (const auto& c : cases) {
    EXPECT_EQ(Counted(c.count, "linia", "linie", "linii"), c.expected) << c.count;
  }
}

}  // namespace
}  // namespace blok
