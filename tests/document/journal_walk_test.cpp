#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "document/journal.h"

namespace blok {
namespace {

using Lines = std::vector<std::string>;

Lines LinesOf(const Drawing& drawing) { return {drawing.lines().begin(), drawing.lines().end()}; }

// The drawing as its history says it must be, and each record beside its line as reading the
// line gives it.
void ExpectState(const Drawing& drawing, const Lines& expected, const std::string& when) {
  ASSERT_EQ(LinesOf(drawing), expected) << when;
  for (size_t i = 0; i < drawing.size(); ++i) {
    const ParsedEntity read = ParseEntity(drawing[i]);
    EXPECT_EQ(drawing.records()[i].kind, read.kind) << when << ", line " << i;
    EXPECT_EQ(drawing.records()[i].box.left, read.box.left) << when << ", line " << i;
    EXPECT_EQ(drawing.records()[i].box.top, read.box.top) << when << ", line " << i;
  }
}

// Random adds, deletes (one or a descending run), replacements, undos and redos, single and by
// step, against the history of whole drawings they must walk: after every action the drawing
// is the state the history points at, and undoing everything, then redoing everything, passes
// through every state.
TEST(JournalWalkTest, FollowsTheHistoryOfWholeDrawings) {
  for (const unsigned seed : {1u, 2u, 3u, 4u, 5u, 6u, 7u, 8u}) {
    std::mt19937 random(seed);
    const auto below = [&](size_t n) {
      return std::uniform_int_distribution<size_t>(0, n - 1)(random);
    };
    Drawing drawing;
    drawing.Load({"L(0,0)-(1,1)", "O(0,0,1)", "K(255,0,0)", "P(0,0)-(2,2)"});
    Journal journal(drawing);
    // states[k] is the drawing after the k-th step; at is where the journal stands.
    std::vector<Lines> states = {LinesOf(drawing)};
    size_t at = 0;
    const auto changed = [&] {
      states.resize(at + 1);
      states.push_back(LinesOf(drawing));
      ++at;
    };
    for (int action = 0; action < 300; ++action) {
      const std::string when =
          "seed " + std::to_string(seed) + ", action " + std::to_string(action);
      const std::string line = "O(" + std::to_string(action) + ",1," + std::to_string(seed) + ")";
      const size_t size = drawing.size();
      Lines expected = states[at];
      switch (below(7)) {
        case 0:
          journal.DodajObiekt(line);
          expected.insert(expected.begin(), line);
          changed();
          break;
        case 1:
          if (size == 0) continue;
          {
            const size_t i = below(size);
            ASSERT_TRUE(journal.UsunObiekt(static_cast<int>(i))) << when;
            expected.erase(expected.begin() + static_cast<std::ptrdiff_t>(i));
          }
          changed();
          break;
        case 2:
          if (size == 0) continue;
          {
            const size_t i = below(size);
            ASSERT_TRUE(journal.ZmienObiekt(static_cast<int>(i), line)) << when;
            expected[i] = line;
          }
          changed();
          break;
        case 3: {
          // A descending run of deletes and a replacement as one step.
          std::vector<int> run;
          for (size_t i = size; i-- > 0;) {
            if (below(3) == 0) run.push_back(static_cast<int>(i));
          }
          if (run.empty()) continue;
          journal.BeginStep();
          EXPECT_EQ(journal.UsunObiekty(run), run.size()) << when;
          for (const int i : run) expected.erase(expected.begin() + i);
          if (!expected.empty()) {
            ASSERT_TRUE(journal.ZmienObiekt(0, line)) << when;
            expected[0] = line;
          }
          journal.EndStep();
          changed();
          break;
        }
        case 4:
          if (at == 0) {
            EXPECT_FALSE(journal.UndoStep()) << when;
            continue;
          }
          ASSERT_TRUE(journal.UndoStep()) << when;
          expected = states[--at];
          break;
        case 5:
          if (at + 1 == states.size()) {
            EXPECT_FALSE(journal.RedoStep()) << when;
            continue;
          }
          ASSERT_TRUE(journal.RedoStep()) << when;
          expected = states[++at];
          break;
        default:
          EXPECT_EQ(journal.CanUndo(), at > 0) << when;
          EXPECT_EQ(journal.CanRedo(), at + 1 < states.size()) << when;
          continue;
      }
      ExpectState(drawing, expected, when);
      if (::testing::Test::HasFatalFailure()) return;
    }
    const size_t last = at;
    while (at > 0) {
      ASSERT_TRUE(journal.UndoStep());
      ExpectState(drawing, states[--at], "undoing all, seed " + std::to_string(seed));
    }
    EXPECT_FALSE(journal.CanUndo());
    while (at < last) {
      ASSERT_TRUE(journal.RedoStep());
      ExpectState(drawing, states[++at], "redoing all, seed " + std::to_string(seed));
    }
  }
}

}  // namespace
}  // namespace blok
