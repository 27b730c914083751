#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <vector>

#include "editor/editor_fixture.h"

namespace blok::testing {
namespace {

using ::testing::ElementsAre;

// The window's panels redraw only what the parts say changed: a change left unsaid leaves a
// panel showing the old state, one said for nothing costs a rebuild of a long list.
TEST_F(EditorTest, TheLibrarySaysWhatTheBlockPanelMustShowAgain) {
  struct Case {
    const char* what;
    std::function<void()> before;
    std::function<void()> act;
    bool file;   // the blocks are read again
    bool names;  // the rows are shown anew
    bool row;    // the block's row is brought into view
    bool twins;  // the blocks that draw the same are marked anew
  };
  const Case cases[] = {
      {"another file", [] {}, [&] { editor_.OtworzOstatniPlik(library_.string()); }, true, true,
       false, false},
      {"a filter", [] {}, [&] { editor_.library().SetBlockFilter("aa"); }, false, true, false,
       false},
      {"a block loaded", [&] { SelectBlock("BBB"); }, [&] { editor_.WczytajWybranyBlok(); }, false,
       false, true, false},
      {"a new block saved",
       [&] {
         editor_.block().SetBlockName("DDD");
         editor_.block().DodajObiekt("O(0,0,1)");
       },
       [&] { editor_.library().ZapiszBlokZPytaniem(); }, false, true, true, true},
      {"an old block saved again",
       [&] {
         SelectBlock("BBB");
         editor_.WczytajWybranyBlok();
         editor_.block().DodajObiekt("O(0,0,1)");
         ui_.answers.push_back(Answer::kTak);
       },
       [&] { editor_.library().ZapiszBlokZPytaniem(); }, false, false, true, true},
      {"a block deleted",
       [&] {
         SelectBlock("CCC");
         ui_.answers.push_back(Answer::kTak);
       },
       [&] { editor_.library().UsunBlok(); }, true, true, false, false},
      {"a save into a library gone since it was opened",
       [&] {
         editor_.block().SetBlockName("EEE");
         editor_.block().DodajObiekt("O(0,0,1)");
         std::filesystem::remove(library_);
       },
       [&] { editor_.library().ZapiszBlokBezPytania(); }, true, true, false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    OpenLibrary();
    c.before();
    std::vector<LibraryChange> told;
    editor_.library().SetListener([&](LibraryChange change) { told.push_back(change); });
    c.act();
    editor_.library().SetListener(nullptr);
    const auto said = [&](LibraryChange change) {
      return std::ranges::find(told, change) != told.end();
    };
    EXPECT_EQ(said(LibraryChange::kFile), c.file);
    EXPECT_EQ(said(LibraryChange::kNames), c.names);
    EXPECT_EQ(said(LibraryChange::kRow), c.row);
    EXPECT_EQ(said(LibraryChange::kTwins), c.twins);
    if (editor_.block().unsaved()) ui_.answers.push_back(Answer::kNie);  // the next file's question
  }
}

// The window's controls follow the block only as it says what changed: the name box, the unit,
// the tools, the unsaved mark, and the rows with Cofnij and Naprzód.
TEST_F(EditorTest, TheBlockSaysWhatTheControlsMustShowAgain) {
  using enum BlockChange;
  struct Case {
    const char* what;
    std::function<void()> before;
    std::function<void()> act;
    std::vector<BlockChange> said;  // each at least once; the others never
  };
  const auto line = [&] {
    editor_.WykonajPolecenie("l");
    editor_.WykonajPolecenie("0,0");
    editor_.WykonajPolecenie("1,1");
  };
  const Case cases[] = {
      {"the first file opened",
       [] {},
       [&] { editor_.OtworzOstatniPlik(library_.string()); },
       {kName, kUnit, kTools, kLines, kMark}},
      {"a name typed", [] {}, [&] { editor_.block().SetBlockName("XYZ"); }, {kName}},
      {"the same name again", [] {}, [&] { editor_.block().SetBlockName("XYZ"); }, {}},
      {"a unit chosen", [] {}, [&] { editor_.block().SetUnit("cm"); }, {kUnit}},
      {"a line drawn", [] {}, line, {kLines, kMark}},
      {"undone", [] {}, [&] { editor_.block().BCofnijClick(); }, {kLines, kMark}},
      {"nothing left to undo", [] {}, [&] { editor_.block().BCofnijClick(); }, {}},
      {"redone", [] {}, [&] { editor_.block().BPrzodClick(); }, {kLines, kMark}},
      {"the lines checked", [] {}, [&] { editor_.block().SprawdzSkladnie(); }, {kLines, kMark}},
      {"a row edited",
       [] {},
       [&] { editor_.block().EditSourceLine(0, "O(1,1,1)"); },
       {kLines, kMark}},
      {"saved", [] {}, [&] { editor_.library().ZapiszBlokZPytaniem(); }, {kMark}},
      {"a block loaded",
       [&] { SelectBlock("BBB"); },
       [&] { editor_.WczytajWybranyBlok(); },
       {kName, kUnit, kLines, kMark}},
      {"a new block", [] {}, [&] { editor_.NowyBlok(); }, {kName, kUnit, kLines, kMark}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    c.before();
    std::vector<BlockChange> told;
    editor_.block().OnChanged([&](BlockChange change) { told.push_back(change); });
    c.act();
    editor_.block().OnChanged(nullptr);
    for (const BlockChange change : {kName, kUnit, kTools, kMark, kLines}) {
      const bool expected = std::ranges::find(c.said, change) != c.said.end();
      EXPECT_EQ(std::ranges::find(told, change) != told.end(), expected)
          << static_cast<int>(change);
    }
  }
}

// A command's many changes are told once: the rows are laid out once, not once a line.
TEST_F(EditorTest, OneStepOfManyChangesIsToldOnce) {
  OpenLibrary();
  EditChanges changes;
  for (const char* line : {"O(0,0,1)", "O(1,1,1)", "O(2,2,1)"}) {
    changes.push_back({EditChange::Kind::kAdd, 0, line});
  }
  std::vector<BlockChange> told;
  editor_.block().OnChanged([&](BlockChange change) { told.push_back(change); });
  ASSERT_TRUE(editor_.block().ApplyChanges(std::move(changes)));
  editor_.block().OnChanged(nullptr);
  EXPECT_THAT(told, ElementsAre(BlockChange::kLines, BlockChange::kMark));
  EXPECT_EQ(editor_.block().drawing().size(), 3u);
}

TEST_F(EditorTest, TheMessagePaneIsToldOfEachMessageAndOfBeingEmptied) {
  std::vector<MessageChange> told;
  editor_.messages().SetListener([&](MessageChange change) { told.push_back(change); });
  editor_.OtworzOstatniPlik(library_.string());
  EXPECT_THAT(told, ElementsAre(MessageChange::kCleared, MessageChange::kAdded));
  EXPECT_EQ(editor_.messages().lines().front(), "Wczytano plik z blokami " + library_.string());
  told.clear();
  editor_.CommandKey(Key::kEscape);
  EXPECT_THAT(told, ElementsAre(MessageChange::kAdded));
  EXPECT_EQ(editor_.messages().lines().front(), "Anulowano.");
}

}  // namespace
}  // namespace blok::testing
