#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>

#include "editor/editor_fixture.h"

namespace blok::testing {
namespace {

using ::testing::Each;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;
using ::testing::Optional;

// Every way a save is started: asked for, or as the "Tak" to the unsaved-work question before
// the block or the file changes or the window closes.
struct SavePath {
  const char* label;
  std::function<void(Editor&, ScriptedUi&, const std::filesystem::path& library)> run;
};

const SavePath kSavePaths[] = {
    {"InteractiveSave", [](Editor& e, ScriptedUi&, auto&) { e.library().ZapiszBlokZPytaniem(); }},
    {"SilentSave", [](Editor& e, ScriptedUi&, auto&) { e.library().ZapiszBlokBezPytania(); }},
    {"Close",
     [](Editor& e, ScriptedUi& ui, auto&) {
       ui.answers.push_back(Answer::kTak);
       e.CloseQuery();
     }},
    {"NewBlock",
     [](Editor& e, ScriptedUi& ui, auto&) {
       ui.answers.push_back(Answer::kTak);
       e.NowyBlok();
     }},
    {"LoadBlock",
     [](Editor& e, ScriptedUi& ui, auto&) {
       e.library().SelectBlock(0);
       ui.answers.push_back(Answer::kTak);
       e.WczytajWybranyBlok();
     }},
    {"NewFile",
     [](Editor& e, ScriptedUi& ui, auto&) {
       ui.answers.push_back(Answer::kTak);
       ui.save_paths.push_back(std::nullopt);
       e.NowyPlikBlokow();
     }},
    {"NewFileOverwriteTicked",
     [](Editor& e, ScriptedUi& ui, auto&) {
       e.preferences().SetOverwriteWithoutAsking(true);
       ui.save_paths.push_back(std::nullopt);
       e.NowyPlikBlokow();
     }},
    {"OpenFile",
     [](Editor& e, ScriptedUi& ui, auto&) {
       ui.answers.push_back(Answer::kTak);
       ui.open_paths.push_back(std::nullopt);
       e.OtworzPlikBlokow();
     }},
    {"RecentFile",
     [](Editor& e, ScriptedUi& ui, const std::filesystem::path& library) {
       ui.answers.push_back(Answer::kTak);
       e.OtworzOstatniPlik(library.string());
     }},
};

// A library that went away after it was opened: deleted, moved, or its stick replugged.
class VanishedLibraryTest : public EditorTest, public ::testing::WithParamInterface<SavePath> {
 protected:
  void SetUp() override {
    EditorTest::SetUp();
    StartDrawing("Studnia", {"O(5,5,1)"});
  }
};

TEST_P(VanishedLibraryTest, TheSaveMakesTheLibraryAgain) {
  std::filesystem::remove(library_);
  GetParam().run(editor_, ui_, library_);
  EXPECT_THAT(ui_.message_boxes, Each(Not(HasSubstr("Nie można"))));
  EXPECT_THAT(BlockNames(library_), ElementsAre("Studnia"));
  EXPECT_THAT(StoredLines(library_, "Studnia"), Optional(ElementsAre("O(5,5,1)")));
  EXPECT_FALSE(editor_.block().unsaved());
  // The list offers what the library holds now, not the blocks that went with it.
  EXPECT_THAT(editor_.library().block_list().names(), ElementsAre("Studnia"));
}

// When even the folder is gone the save cannot be made; whatever asked for it must not go on
// and drop the block.
TEST_P(VanishedLibraryTest, ASaveThatCannotBeMadeKeepsTheBlock) {
  std::filesystem::remove_all(library_.parent_path());
  GetParam().run(editor_, ui_, library_);
  ASSERT_EQ(ui_.message_boxes.size(), 1u);
  EXPECT_THAT(ui_.message_boxes[0], HasSubstr(library_.string()));
  EXPECT_THAT(ui_.dialogs, IsEmpty());
  ui_.open_paths.clear();  // the dialogs scripted for a save that went through
  ui_.save_paths.clear();
  EXPECT_EQ(editor_.library().open_file(), library_);
  EXPECT_EQ(editor_.block().block_name(), "Studnia");
  EXPECT_THAT(editor_.block().drawing().lines(), ElementsAre("O(5,5,1)"));
  EXPECT_TRUE(editor_.block().unsaved());
  EXPECT_FALSE(std::filesystem::exists(library_.parent_path()));
}

INSTANTIATE_TEST_SUITE_P(SavePaths, VanishedLibraryTest, ::testing::ValuesIn(kSavePaths),
                         [](const auto& info) { return std::string(info.param.label); });

}  // namespace
}  // namespace blok::testing
