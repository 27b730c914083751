#include "editor/block_browser.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "editor/editor_fixture.h"

namespace blok::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;

TEST(BlockFilterTest, MatchesIgnoringCaseAndPolishLetters) {
  struct Case {
    std::string filter;
    std::string name;
    bool shown;
  };
  const Case cases[] = {
      {"zolw", "Żółw", true},
      {"studz", "Studzienka kanalizacyjna", true},
      {"KANAL", "Studzienka kanalizacyjna", true},
      {"żółw", "ZOLW ozdobny", true},
      {"ŁUK", "łuk krawężnika", true},
      {"krawez", "łuk krawężnika", true},
      {"  hydr ", "Hydrant", true},
      {"", "Hydrant", true},
      {"zolwie", "Żółw", false},
      {"hydrant nad", "Hydrant", false},
      {"ść", "Hydrant", false},
      {"ść", "Przejście", true},
  };
  for (const Case& c : cases) {
    BlockFilter filter;
    filter.SetNames({c.name});
    filter.SetText(c.filter);
    EXPECT_EQ(filter.rows().size(), c.shown ? 1u : 0u) << c.filter << " / " << c.name;
  }
}

TEST(BlockFilterTest, RowsMapBackToEntries) {
  BlockFilter filter;
  filter.SetNames({"Hydrant", "Studnia", "Studzienka", "Zasuwa", "Żółw"});
  EXPECT_THAT(filter.rows(), ElementsAre(0, 1, 2, 3, 4));
  filter.SetText("stud");
  EXPECT_THAT(filter.rows(), ElementsAre(1, 2));
  EXPECT_EQ(filter.RowOf(2), 1u);
  EXPECT_EQ(filter.RowOf(0), std::nullopt);
  // New names keep the filter.
  filter.SetNames({"Hydrant", "Studnia", "Studnia 2", "Studzienka"});
  EXPECT_THAT(filter.rows(), ElementsAre(1, 2, 3));
  filter.SetText("");
  EXPECT_EQ(filter.rows().size(), 4u);
}

TEST(PictureOrderTest, OnScreenFirstThenOutwards) {
  struct Case {
    size_t first, last, count, ahead;
    std::vector<size_t> order;
  };
  const Case cases[] = {
      {2, 4, 10, 2, {2, 3, 4, 5, 1, 6, 0}},
      {0, 2, 10, 2, {0, 1, 2, 3, 4}},
      {7, 9, 10, 3, {7, 8, 9, 6, 5, 4}},
      {5, 20, 8, 1, {5, 6, 7, 4}},  // the last row on screen is past the end
      {0, 0, 0, 5, {}},
      {8, 9, 5, 5, {}},
  };
  for (const Case& c : cases) {
    EXPECT_THAT(PictureOrder(c.first, c.last, c.count, c.ahead), ElementsAreArray(c.order))
        << c.first << ".." << c.last << " of " << c.count;
  }
}

TEST(PictureCacheTest, DropsTheLeastRecentlyUsed) {
  PictureCache<std::string> cache(2);
  EXPECT_THAT(cache.Insert(1, "a"), IsEmpty());
  EXPECT_THAT(cache.Insert(2, "b"), IsEmpty());
  ASSERT_NE(cache.Find(1), nullptr);  // 2 is now the oldest
  EXPECT_THAT(cache.Insert(3, "c"), ElementsAre(2));
  EXPECT_EQ(cache.Find(2), nullptr);
  EXPECT_EQ(*cache.Find(1), "a");
  // Replacing keeps the count and drops nothing.
  EXPECT_THAT(cache.Insert(1, "A"), IsEmpty());
  EXPECT_EQ(*cache.Find(1), "A");
  EXPECT_EQ(cache.size(), 2u);
  EXPECT_THAT(cache.Insert(4, "d"), ElementsAre(3));
}

TEST(LibraryContentsTest, LaterBlockOfANameAndWrittenBlocksWin) {
  LibraryContents contents;
  contents.Put({"BBB", "cm", {"O(0,0,2)"}});  // written while the file was being read
  contents.Assign({{"AAA", "m", {"L(0,0)-(1,1)"}},
                   {"BBB", "m", {"O(0,0,1)"}},
                   {"AAA", "mm", {"L(0,0)-(2,2)"}}});
  ASSERT_TRUE(contents.loaded());
  EXPECT_EQ(contents.Find("AAA")->block.unit, "mm");
  EXPECT_EQ(contents.Find("BBB")->block.lines, std::vector<std::string>{"O(0,0,2)"});
  EXPECT_EQ(contents.Find("BBB")->key, DrawingKey({"O(0,0,2)"}));
  EXPECT_EQ(contents.Find("CCC"), nullptr);
  contents.Reset();
  EXPECT_FALSE(contents.loaded());
  EXPECT_EQ(contents.Find("AAA"), nullptr);
  contents.Assign({});
  EXPECT_EQ(contents.Find("BBB"), nullptr);  // what was written before the reset is gone
}

TEST(LibraryContentsTest, DrawingKeyFollowsTheLines) {
  EXPECT_EQ(DrawingKey({"O(0,0,1)", "L(0,0)-(1,1)"}), DrawingKey({"O(0,0,1)", "L(0,0)-(1,1)"}));
  EXPECT_NE(DrawingKey({"O(0,0,1)", "L(0,0)-(1,1)"}), DrawingKey({"O(0,0,1)L(0,0)-(1,1)"}));
  EXPECT_NE(DrawingKey({"O(0,0,1)"}), DrawingKey({"O(0,0,1)", ""}));
}

TEST(LibraryContentsTest, EntityCountLeavesOutCommandsAndComments) {
  EXPECT_EQ(EntityCount({"// opis", "K(255,0,0)", "GR(0,25)", "L(0,0)-(1,1)", "P(0,0)-(1,1)",
                         "O(0,0,1)", "LUK(0,0,1,0,90)", "T(0,0,'A',1,1,0)", "X(1)", ""}),
            5u);
}

class BlockBrowserEditorTest : public EditorTest {};

// What a save writes is what the browser shows: the same lines loading would find.
TEST_F(BlockBrowserEditorTest, WrittenBlockIsWhatTheFileHolds) {
  const std::string long_line = "T(0,0,'" + std::string(300, 'x') + "',1,1,0)";
  for (const bool cut : {true, false}) {
    const BlockToSave block{"DDD", "cm", {"O(0,0,1)", long_line, "x"}, cut, kFixedTime};
    ASSERT_TRUE(ZastapBlok(library_, block));
    const auto stored = WczytajBlok(library_, "DDD");
    ASSERT_TRUE(stored && *stored);
    EXPECT_EQ(WrittenBlock(block), **stored) << "cut " << cut;
  }
}

TEST_F(BlockBrowserEditorTest, FilteredRowsSelectAndLoadTheirOwnBlock) {
  OpenLibrary();
  editor_.library().SetBlockFilter("c");
  EXPECT_THAT(editor_.library().block_rows(), ElementsAre(2));
  editor_.library().SelectBlockRow(0);
  EXPECT_EQ(editor_.library().block_list().SelectedName(), "CCC");
  EXPECT_EQ(editor_.library().selected_block_row(), 0u);
  editor_.WczytajWybranyBlok();
  EXPECT_EQ(editor_.block().block_name(), "CCC");
  // A filter that hides the selected block leaves nothing to load.
  editor_.library().SetBlockFilter("b");
  EXPECT_EQ(editor_.library().block_list().selected(), std::nullopt);
  editor_.library().SelectBlockRow(1);  // past the rows
  EXPECT_EQ(editor_.library().block_list().selected(), std::nullopt);
  editor_.library().SelectBlockRow(0);
  EXPECT_EQ(editor_.library().block_list().SelectedName(), "BBB");
  // One that still shows it keeps it, at its new row.
  editor_.library().SetBlockFilter("");
  EXPECT_EQ(editor_.library().selected_block_row(), 1u);
}

TEST_F(BlockBrowserEditorTest, SaveUnderAFilterKeepsRowsAndSelectionTrue) {
  OpenLibrary();
  editor_.library().SetBlockFilter("b");
  SelectBlock("BBB");
  editor_.block().SetBlockName("ABB");
  editor_.block().DodajObiekt("O(0,0,3)");
  ASSERT_TRUE(editor_.library().ZapiszBlokZPytaniem());
  // ABB sorts before BBB: the entries moved, the rows follow them.
  EXPECT_THAT(editor_.library().block_list().names(), ElementsAre("AAA", "ABB", "BBB", "CCC"));
  EXPECT_THAT(editor_.library().block_rows(), ElementsAre(1, 2));
  EXPECT_EQ(editor_.library().block_list().SelectedName(), "BBB");
  EXPECT_EQ(editor_.library().selected_block_row(), 1u);
}

TEST_F(BlockBrowserEditorTest, ContentsAreForTheOpenFileAndFollowSaves) {
  OpenLibrary();
  const uint64_t first = editor_.library().library_revision();
  auto blocks = WczytajWszystkieBloki(library_);
  ASSERT_TRUE(blocks);
  // Saved while the blocks were being read: the save wins over the read.
  editor_.block().SetBlockName("BBB");
  editor_.block().DodajObiekt("O(0,0,7)");
  ui_.answers.push_back(Answer::kTak);
  ASSERT_TRUE(editor_.library().ZapiszBlokZPytaniem());
  editor_.library().SetLibraryContents(first, *blocks);
  ASSERT_TRUE(editor_.library().contents().loaded());
  EXPECT_EQ(editor_.library().contents().Find("BBB")->key, DrawingKey({"O(0,0,7)"}));
  EXPECT_EQ(editor_.library().contents().Find("AAA")->key,
            DrawingKey({"L(0,0)-(1,1);K(0,0,0);GR(0,10)"}));

  // The silent save before a load shows too.
  SelectBlock("AAA");
  editor_.block().DodajObiekt("O(0,0,8)");
  ui_.answers.push_back(Answer::kTak);
  editor_.WczytajWybranyBlok();
  EXPECT_EQ(editor_.library().contents().Find("BBB")->block.lines, StoredLines(library_, "BBB"));
  EXPECT_EQ(editor_.library().contents().Find("BBB")->key,
            DrawingKey(*StoredLines(library_, "BBB")));
  EXPECT_EQ(editor_.library().contents().Find("BBB")->block.lines.size(), 2u);

  // A read of the file opened before comes too late for the one open now.
  editor_.OtworzOstatniPlik(library_.string());
  EXPECT_NE(editor_.library().library_revision(), first);
  EXPECT_FALSE(editor_.library().contents().loaded());
  editor_.library().SetLibraryContents(first, *blocks);
  EXPECT_FALSE(editor_.library().contents().loaded());
}

// Another file shows its whole list: a filter kept from the last one could hide every name,
// with nothing saying why. A dialog cancelled changes nothing.
TEST_F(BlockBrowserEditorTest, OpeningOrCreatingAFileClearsTheFilter) {
  const auto other = dir_ / "Bloki" / "other.blk";
  AppendBlock(other, "DDD", {"O(0,0,2)"});
  struct Case {
    const char* how;
    std::function<void()> open;
    std::string filter;
    size_t rows;
  };
  const Case cases[] = {
      {"recent file", [&] { editor_.OtworzOstatniPlik(other.string()); }, "", 1},
      {"open dialog",
       [&] {
         ui_.open_paths.push_back(other);
         editor_.OtworzPlikBlokow();
       },
       "", 1},
      {"existing file by the new-file dialog",
       [&] {
         ui_.save_paths.push_back(other);
         editor_.NowyPlikBlokow();
       },
       "", 1},
      {"new file",
       [&] {
         ui_.save_paths.push_back(dir_ / "Bloki" / "new.blk");
         editor_.NowyPlikBlokow();
       },
       "", 0},
      {"open dialog cancelled",
       [&] {
         ui_.open_paths.push_back(std::nullopt);
         editor_.OtworzPlikBlokow();
       },
       "aa", 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.how);
    OpenLibrary();
    editor_.library().SetBlockFilter("aa");
    ASSERT_THAT(editor_.library().block_rows(), ElementsAre(0));
    int rebuilds = 0;
    editor_.library().SetListener(
        [&](LibraryChange change) { rebuilds += change == LibraryChange::kNames; });
    c.open();
    editor_.library().SetListener(nullptr);
    EXPECT_EQ(editor_.library().block_filter().text(), c.filter);
    EXPECT_EQ(editor_.library().block_rows().size(), c.rows);
    // The window rebuilds its list only when told.
    EXPECT_EQ(rebuilds > 0, c.filter.empty());
  }
}

// A load or a save makes the block's row the selected one, a filter that hides it giving way,
// and asks the window to bring it into view. A row the user picked after the editor's block was
// last shown stays picked, and a save that did not happen moves nothing.
TEST_F(BlockBrowserEditorTest, LoadAndSaveSelectTheBlocksRow) {
  const auto load = [&](const std::string& name) {
    SelectBlock(name);
    editor_.WczytajWybranyBlok();
    ASSERT_EQ(editor_.block().block_name(), name);
  };
  const auto save_as = [&](const std::string& name) {
    editor_.block().SetBlockName(name);
    editor_.block().DodajObiekt("O(0,0,9)");
    editor_.library().ZapiszBlokZPytaniem();
  };
  struct Case {
    const char* what;
    std::function<void()> before;
    std::function<void()> act;
    std::string filter;
    std::string selected;
    bool revealed;
  };
  const Case cases[] = {
      {"load", [] {}, [&] { load("BBB"); }, "", "BBB", true},
      {"load under a filter", [&] { editor_.library().SetBlockFilter("c"); }, [&] { load("CCC"); },
       "c", "CCC", true},
      {"save under a new name", [&] { load("BBB"); }, [&] { save_as("BBX"); }, "", "BBX", true},
      {"save of a new drawing", [] {}, [&] { save_as("DDD"); }, "", "DDD", true},
      {"save hidden by the filter",
       [&] {
         load("AAA");
         editor_.library().SetBlockFilter("a");
       },
       [&] { save_as("ZZZ"); }, "", "ZZZ", true},
      {"save over the block shown",
       [&] {
         editor_.library().SetBlockFilter("c");
         load("CCC");
         ui_.answers.push_back(Answer::kTak);
       },
       [&] { save_as("CCC"); }, "c", "CCC", true},
      {"save after picking another row",
       [&] {
         load("AAA");
         SelectBlock("CCC");
         ui_.answers.push_back(Answer::kTak);
       },
       [&] { save_as("AAA"); }, "", "CCC", false},
      {"save declined",
       [&] {
         load("AAA");
         ui_.answers.push_back(Answer::kNie);
       },
       [&] { save_as("BBB"); }, "", "AAA", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    OpenLibrary();
    c.before();
    int reveals = 0;
    editor_.library().SetListener(
        [&](LibraryChange change) { reveals += change == LibraryChange::kRow; });
    c.act();
    editor_.library().SetListener(nullptr);
    EXPECT_EQ(editor_.library().block_filter().text(), c.filter);
    EXPECT_EQ(editor_.library().block_list().SelectedName(), c.selected);
    EXPECT_TRUE(editor_.library().selected_block_row().has_value());
    EXPECT_EQ(reveals > 0, c.revealed);
    EXPECT_TRUE(ui_.answers.empty());
    if (editor_.block().unsaved()) {
      ui_.answers.push_back(Answer::kNie);
      editor_.NowyBlok();
    }
  }
}

}  // namespace
}  // namespace blok::testing
