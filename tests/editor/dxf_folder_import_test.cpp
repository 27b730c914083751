// Several DXF files, or a folder of them, imported into the open library at once.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "editor/editor_fixture.h"
#include "support/dxf_drawing.h"

namespace blok::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

class DxfFolderImportTest : public EditorTest {
 protected:
  void SetUp() override {
    EditorTest::SetUp();
    OpenLibrary();
    for (const auto& [file, bytes] : std::vector<std::pair<const char*, std::string>>{
             {"woda/zasuwa.dxf", ModelSpaceDxf(kDxfCircle)},
             {"woda/AAA.DXF", ModelSpaceDxf(kDxfLine)},
             {"elektro/slup.Dxf", ModelSpaceDxf(kDxfLine)}}) {
      std::filesystem::create_directories((folder_ / file).parent_path());
      WriteBytes(folder_ / file, bytes);
    }
  }
  void ImportFolder() {
    ui_.folders = {folder_};
    editor_.library().ImportujFolderDxf();
  }
  std::filesystem::path folder_ = dir_ / "symbole";
};

TEST_F(DxfFolderImportTest, AFolderBecomesBlocksWithAProgressAndASummary) {
  WriteBytes(folder_ / "woda/zly.dxf", "to nie jest DXF");
  // AAA is a name the library holds: replaced after the question.
  ui_.answers = {Answer::kTak};
  ImportFolder();
  EXPECT_THAT(ui_.progress_steps, ElementsAre("Importowanie plików DXF…: 0/4 elektro/slup.Dxf",
                                              "Importowanie plików DXF…: 1/4 woda/AAA.DXF",
                                              "Importowanie plików DXF…: 2/4 woda/zasuwa.dxf",
                                              "Importowanie plików DXF…: 3/4 woda/zly.dxf"));
  ASSERT_EQ(ui_.asked.size(), 1u);
  EXPECT_EQ(ui_.asked[0].text, "W bibliotece są już bloki: AAA. Zastąpić je?");
  EXPECT_THAT(BlockNames(library_), ElementsAre("BBB", "CCC", "slup", "AAA", "zasuwa"));
  EXPECT_TRUE(editor_.library().block_list().Contains("zasuwa"));
  ASSERT_EQ(ui_.message_boxes.size(), 1u);
  EXPECT_THAT(ui_.message_boxes[0], HasSubstr("zapisano 3 bloki z 4 plików DXF\n"
                                              "pominięto 1 plik:\n  plik "));
  EXPECT_EQ(editor_.messages().lines().front(), "Zaimportowano bloków: 3");
  EXPECT_EQ(ui_.dialogs.back().kind, ScriptedUi::DialogKind::kFolder);
  EXPECT_EQ(ui_.dialogs.back().dialog.title, "Importuj folder DXF");
}

TEST_F(DxfFolderImportTest, NamesTheLibraryHoldsAreReplacedSkippedOrCallOffTheImport) {
  const struct {
    Answer answer;
    std::vector<std::string> names;
    const char* aaa;  // the first line of AAA
  } cases[] = {
      {Answer::kKasuj, {"AAA", "BBB", "CCC"}, "L(0,0)-(1,1);K(0,0,0);GR(0,10)"},
      {Answer::kNie, {"AAA", "BBB", "CCC", "slup", "zasuwa"}, "L(0,0)-(1,1);K(0,0,0);GR(0,10)"},
      {Answer::kTak, {"BBB", "CCC", "slup", "AAA", "zasuwa"}, "L(0,0)-(2,0);K(0,0,0);GR(0.1)"},
  };
  const std::string before = ReadBytes(library_);
  for (const auto& c : cases) {
    WriteBytes(library_, before);
    ui_.answers = {c.answer};
    ImportFolder();
    EXPECT_EQ(BlockNames(library_), c.names);
    EXPECT_EQ(WczytajBlok(library_, "AAA").value()->lines.front(), c.aaa);
    if (c.answer == Answer::kKasuj) {
      EXPECT_EQ(ReadBytes(library_), before);
    }
  }
}

TEST_F(DxfFolderImportTest, AStoppedImportLeavesTheLibraryAsItWas) {
  const std::string before = ReadBytes(library_);
  ui_.stop_progress_at = 1;
  ImportFolder();
  EXPECT_EQ(ReadBytes(library_), before);
  EXPECT_EQ(ui_.progress_steps.size(), 2u);
  EXPECT_TRUE(ui_.asked.empty());
  EXPECT_EQ(editor_.messages().lines().front(), "Przerwano: nic nie zapisano.");
}

TEST_F(DxfFolderImportTest, SeveralFilesChosenGoInWithoutTheOffer) {
  ui_.open_path_lists = {{folder_ / "woda/zasuwa.dxf", folder_ / "elektro/slup.Dxf"}};
  editor_.library().ImportujDxf();
  EXPECT_TRUE(ui_.block_offers.empty());
  EXPECT_THAT(BlockNames(library_), ElementsAre("AAA", "BBB", "CCC", "zasuwa", "slup"));
  ASSERT_EQ(ui_.message_boxes.size(), 1u);
  EXPECT_THAT(ui_.message_boxes[0], HasSubstr("zapisano 2 bloki z 2 plików DXF"));
}

}  // namespace
}  // namespace blok::testing
