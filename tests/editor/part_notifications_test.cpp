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
  };
  const Case cases[] = {
      {"another file", [] {}, [&] { editor_.OtworzOstatniPlik(library_.string()); }, true, true,
       false},
      {"a filter", [] {}, [&] { editor_.library().SetBlockFilter("aa"); }, false, true, false},
      {"a block loaded", [&] { SelectBlock("BBB"); }, [&] { editor_.WczytajWybranyBlok(); }, false,
       false, true},
      {"a new block saved",
       [&] {
         editor_.block().SetBlockName("DDD");
         editor_.block().DodajObiekt("O(0,0,1)");
       },
       [&] { editor_.library().ZapiszBlokZPytaniem(); }, false, true, true},
      {"an old block saved again",
       [&] {
         SelectBlock("BBB");
         editor_.WczytajWybranyBlok();
         editor_.block().DodajObiekt("O(0,0,1)");
         ui_.answers.push_back(Answer::kTak);
       },
       [&] { editor_.library().ZapiszBlokZPytaniem(); }, false, false, true},
      {"a block deleted",
       [&] {
         SelectBlock("CCC");
         ui_.answers.push_back(Answer::kTak);
       },
       [&] { editor_.library().UsunBlok(); }, true, true, false},
      {"a save into a library gone since it was opened",
       [&] {
         editor_.block().SetBlockName("EEE");
         editor_.block().DodajObiekt("O(0,0,1)");
         std::filesystem::remove(library_);
       },
       [&] { editor_.library().ZapiszBlokBezPytania(); }, true, true, false},
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
    if (editor_.block().unsaved()) ui_.answers.push_back(Answer::kNie);  // the next file's question
  }
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
