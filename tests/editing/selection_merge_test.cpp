#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editing/selection.h"

namespace blok {
namespace {

using ::testing::ElementsAreArray;
using Flags = std::vector<std::uint8_t>;
using Lines = std::vector<std::string>;

const Lines kLines = {"L(0,0)-(1,0)", "L(0,1)-(1,1)", "O(5,5,1)", "P(0,0)-(2,2)"};

// The selection of these flags over kLines, counted as a selection counts them.
Selection Selected(const Flags& flags, StretchWindow window = {}) {
  Selection s{flags, 0, window};
  for (size_t i = 0; i < flags.size() && i < kLines.size(); ++i) s.count += flags[i] != 0;
  return s;
}

struct MergeCase {
  const char* name;
  Selection into;
  Flags caught;
  bool toggle;
  Flags merged;
};

TEST(MergeSelection, AddsOrTakesOutWhatTheGestureCaught) {
  const MergeCase cases[] = {
      {"first catch into nothing", {}, {0, 1, 0, 0}, true, {0, 1, 0, 0}},
      {"a click adds what is not selected",
       Selected({1, 0, 0, 0}),
       {0, 0, 1, 0},
       true,
       {1, 0, 1, 0}},
      {"a click on a selected entity takes it out",
       Selected({1, 1, 0, 0}),
       {0, 1, 0, 0},
       true,
       {1, 0, 0, 0}},
      {"the last one taken out leaves none",
       Selected({0, 0, 1, 0}),
       {0, 0, 1, 0},
       true,
       {0, 0, 0, 0}},
      {"a click on empty ground changes nothing",
       Selected({0, 1, 0, 1}),
       {0, 0, 0, 0},
       true,
       {0, 1, 0, 1}},
      {"a window overlapping the selection adds, never takes out",
       Selected({1, 1, 0, 0}),
       {0, 1, 1, 0},
       false,
       {1, 1, 1, 0}},
      {"what came before in the drawing counts as well as what came after",
       Selected({0, 0, 0, 1}),
       {1, 0, 0, 0},
       false,
       {1, 0, 0, 1}},
      {"flags of a longer drawing are cut to these lines",
       {Flags{0, 0, 0, 0, 1, 1}, 2, {}},
       {1, 0, 0, 0},
       false,
       {1, 0, 0, 0}},
      {"a count left from a bigger selection goes",
       {Flags{0, 0, 1, 0}, 4, {}},
       {0, 1, 0, 0},
       false,
       {0, 1, 1, 0}},
  };
  const StretchWindow last{1, 2, 3, 4};
  for (const MergeCase& c : cases) {
    SCOPED_TRACE(c.name);
    Selection into = c.into;
    MergeSelection(into, Selected(c.caught, last), kLines.size(), c.toggle);
    const Selection expected = Selected(c.merged);
    EXPECT_THAT(into.flags, ElementsAreArray(expected.flags));
    EXPECT_EQ(into.count, expected.count);
    // Stretch reads the window of the last gesture.
    EXPECT_EQ(into.window.left, last.left);
    EXPECT_EQ(into.window.top, last.top);
  }
}

}  // namespace
}  // namespace blok
