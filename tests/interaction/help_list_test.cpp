// The help list names every command a user can type: one left out is a command nobody finds.
#include <gtest/gtest.h>

#include <algorithm>

#include "interaction/commands/registry.h"

namespace blok {
namespace {

TEST(HelpListTest, EveryCommandHasItsLine) {
  const std::vector<std::string>& lines = HelpLines();
  for (const CommandRow& row : Commands()) {
    const std::string_view keyword = row.keywords[0];
    if (keyword == "?") continue;  // the list itself
    // A line starts with the keyword, in lower case, then blanks or a comma.
    std::string lower;
    for (char c : keyword) lower += static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    const bool listed = std::ranges::any_of(lines, [&](const std::string& line) {
      return line.starts_with(lower) && line.size() > lower.size() &&
             (line[lower.size()] == ' ' || line[lower.size()] == ',');
    });
    EXPECT_TRUE(listed) << keyword;
  }
}

}  // namespace
}  // namespace blok
