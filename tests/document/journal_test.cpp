#include "document/journal.h"

#include <gtest/gtest.h>

namespace blok {
namespace {

using Lines = std::vector<std::string>;

class JournalTest : public ::testing::Test {
 protected:
  Lines DrawingLines() const { return {drawing_.lines().begin(), drawing_.lines().end()}; }

  Drawing drawing_;
  Journal journal_{drawing_};
};

TEST_F(JournalTest, AddAddUndoUndoRedoRedo) {
  journal_.DodajObiekt("A");
  journal_.DodajObiekt("B");
  EXPECT_EQ(DrawingLines(), (Lines{"B", "A"}));
  EXPECT_EQ(journal_.lines(), (Lines{"dodaj", "B", "", "", "---", "dodaj", "A", "", "", "---"}));
  EXPECT_TRUE(journal_.CanUndo());
  EXPECT_FALSE(journal_.CanRedo());
  EXPECT_TRUE(journal_.Undo());
  EXPECT_EQ(journal_.position(), 5);
  EXPECT_TRUE(journal_.Undo());
  EXPECT_TRUE(drawing_.empty());
  EXPECT_FALSE(journal_.CanUndo());
  EXPECT_FALSE(journal_.Undo());
  EXPECT_TRUE(journal_.Redo());
  EXPECT_TRUE(journal_.Redo());
  EXPECT_EQ(DrawingLines(), (Lines{"B", "A"}));
  EXPECT_FALSE(journal_.Redo());
}

TEST_F(JournalTest, DeleteAndReplaceComeBack) {
  drawing_.Load({"L0", "L1", "L2", "L3"});
  ASSERT_TRUE(journal_.UsunObiekt(2));
  EXPECT_EQ(DrawingLines(), (Lines{"L0", "L1", "L3"}));
  EXPECT_EQ(journal_.lines(), (Lines{"usun", "2", "L2", "", "---"}));
  ASSERT_TRUE(journal_.ZmienObiekt(1, "X"));
  const Lines text = journal_.lines();
  EXPECT_EQ(Lines(text.begin(), text.begin() + 5), (Lines{"zmien", "1", "X", "L1", "---"}));
  journal_.Undo();
  EXPECT_EQ(DrawingLines(), (Lines{"L0", "L1", "L3"}));
  journal_.Undo();
  EXPECT_EQ(DrawingLines(), (Lines{"L0", "L1", "L2", "L3"}));
  journal_.Redo();
  journal_.Redo();
  EXPECT_EQ(DrawingLines(), (Lines{"L0", "X", "L3"}));
}

TEST_F(JournalTest, ANewChangeDiscardsUndoneRecords) {
  journal_.DodajObiekt("A");
  journal_.DodajObiekt("B");
  journal_.Undo();
  journal_.Undo();
  journal_.DodajObiekt("C");
  EXPECT_EQ(journal_.lines().size(), 5u);
  EXPECT_EQ(journal_.position(), 0);
  EXPECT_FALSE(journal_.CanRedo());
  EXPECT_FALSE(journal_.Redo());
  EXPECT_EQ(DrawingLines(), Lines{"C"});
}

TEST_F(JournalTest, ThreeRewritesUndoLastFirst) {
  drawing_.Load({"a", "b", "c"});
  for (int i = 0; i < 3; ++i) journal_.ZmienObiekt(i, "new" + std::to_string(i));
  journal_.Undo();
  EXPECT_EQ(DrawingLines(), (Lines{"new0", "new1", "c"}));
  journal_.Undo();
  journal_.Undo();
  EXPECT_EQ(DrawingLines(), (Lines{"a", "b", "c"}));
}

TEST_F(JournalTest, IndexOutsideTheDrawingIsRefused) {
  drawing_.Load({"a"});
  EXPECT_FALSE(journal_.UsunObiekt(1));
  EXPECT_FALSE(journal_.UsunObiekt(-1));
  EXPECT_FALSE(journal_.ZmienObiekt(5, "x"));
  EXPECT_TRUE(journal_.lines().empty());
  EXPECT_EQ(DrawingLines(), Lines{"a"});
}

TEST_F(JournalTest, ClearEmptiesEverything) {
  journal_.DodajObiekt("A");
  journal_.Undo();
  journal_.Clear();
  EXPECT_EQ(journal_.position(), 0);
  EXPECT_FALSE(journal_.CanUndo());
  EXPECT_FALSE(journal_.CanRedo());
}

TEST(DrawingTest, BlankUpToFiveCharacters) {
  Drawing d;
  EXPECT_TRUE(d.IsBlank());
  d.Load({"GR(1)"});
  EXPECT_TRUE(d.IsBlank());
  d.Load({"O(0,0,1)"});
  EXPECT_FALSE(d.IsBlank());
  d.Load({"ab", "c"});  // 2 + 2 + 1
  EXPECT_TRUE(d.IsBlank());
  d.Load({"ąą", "ąą"});  // characters, not bytes: 2 + 2 + 2
  EXPECT_FALSE(d.IsBlank());
  d.Load({"ąą", "ą"});
  EXPECT_TRUE(d.IsBlank());
}

}  // namespace
}  // namespace blok
