#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "document/journal.h"

namespace blok {
namespace {

using Lines = std::vector<std::string>;

// Deletes of many entities at once must leave the drawing and the journal exactly as the same
// deletes one by one, and undo and redo as they would.
TEST(JournalBatchTest, ManyDeletesMatchOneByOne) {
  const std::vector<std::vector<int>> cases = {
      {9, 5, 2}, {9, 8, 7, 6, 5, 4, 3, 2, 1, 0}, {1, 0}, {9, 0}, {3, 5, 1}, {4}, {12, 3}, {5, 5}};
  for (const std::vector<int>& indices : cases) {
    Drawing one, many;
    Journal by_one(one), at_once(many);
    for (int i = 0; i < 10; ++i) {
      // Adds make room in front of line 0, as an edited drawing has.
      by_one.DodajObiekt("L(" + std::to_string(i) + ",0)-(1,1)");
      at_once.DodajObiekt("L(" + std::to_string(i) + ",0)-(1,1)");
    }
    by_one.BeginStep();
    size_t deleted = 0;
    while (deleted < indices.size() && by_one.UsunObiekt(indices[deleted])) ++deleted;
    by_one.EndStep();
    at_once.BeginStep();
    EXPECT_EQ(at_once.UsunObiekty(indices), deleted);
    at_once.EndStep();
    const auto same = [&](const char* when) {
      EXPECT_EQ(Lines(many.lines().begin(), many.lines().end()),
                Lines(one.lines().begin(), one.lines().end()))
          << when << " " << indices.size();
      ASSERT_EQ(many.size(), one.size());
      for (size_t i = 0; i < one.size(); ++i) {
        EXPECT_EQ(many.records()[i].box.left, one.records()[i].box.left) << when;
        EXPECT_EQ(many.boxes()[i].left, one.boxes()[i].left) << when;
      }
      EXPECT_EQ(at_once.lines(), by_one.lines()) << when;
      EXPECT_EQ(at_once.position(), by_one.position()) << when;
    };
    same("deleted");
    EXPECT_EQ(at_once.UndoStep(), by_one.UndoStep());
    same("undone");
    EXPECT_EQ(at_once.RedoStep(), by_one.RedoStep());
    same("redone");
    EXPECT_EQ(at_once.UndoStep(), by_one.UndoStep());
    same("undone again");
  }
}

}  // namespace
}  // namespace blok
