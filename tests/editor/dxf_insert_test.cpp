// A DXF drawing inserted into the block being edited: at (0,0), in the block's unit, one step.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "document/dxf_export.h"
#include "editor/editor_fixture.h"
#include "view/font_capital.h"

namespace blok::testing {
namespace {

using ::testing::Contains;
using ::testing::Each;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;
using ::testing::StartsWith;

// A line from (0,0) to (2,0) and a circle of radius 0.5 at (1,1), in metres, as a minimal
// DXF drawing has them.
constexpr std::string_view kDrawing =
    "0\nSECTION\n2\nHEADER\n9\n$INSUNITS\n70\n6\n0\nENDSEC\n"
    "0\nSECTION\n2\nENTITIES\n"
    "0\nLINE\n8\n0\n10\n0\n20\n0\n30\n0\n11\n2\n21\n0\n31\n0\n"
    "0\nCIRCLE\n8\n0\n10\n1\n20\n1\n30\n0\n40\n0.5\n"
    "0\nENDSEC\n0\nEOF\n";

// The same drawing with a block definition of its own.
constexpr std::string_view kBlocks =
    "0\nSECTION\n2\nBLOCKS\n"
    "0\nBLOCK\n8\n0\n2\nZasuwa\n70\n0\n10\n0\n20\n0\n30\n0\n3\nZasuwa\n"
    "0\nCIRCLE\n8\n0\n10\n0\n20\n0\n30\n0\n40\n1\n"
    "0\nENDBLK\n8\n0\n"
    "0\nENDSEC\n";

class DxfInsertTest : public EditorTest {
 protected:
  void SetUp() override {
    EditorTest::SetUp();
    OpenLibrary();
    WriteBytes(dxf_, kDrawing);
  }
  std::vector<std::string> Lines() {
    const auto lines = editor_.block().drawing().lines();
    return {lines.begin(), lines.end()};
  }
  std::filesystem::path dxf_ = dir_ / "rysunek.dxf";
};

TEST_F(DxfInsertTest, InsertedInTheBlocksUnitAsOneStep) {
  const struct {
    const char* unit;
    const char* line;
    const char* circle;
  } cases[] = {
      {"m", "L(0,0)-(2,0);K(0,0,0);GR(0.1)", "O(1,1,0.5);K(0,0,0);GR(0.1)"},
      {"cm", "L(0,0)-(200,0);K(0,0,0);GR(0.1)", "O(100,100,50);K(0,0,0);GR(0.1)"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.unit);
    if (&c != &cases[0]) ui_.answers = {Answer::kNie};  // the last block is not kept
    StartDrawing("Wstawiany", {"P(5,5)-(6,6)"});
    editor_.block().SetUnit(c.unit);
    ui_.open_paths = {dxf_};
    editor_.library().WstawZDxf();
    ASSERT_EQ(editor_.block().drawing().lines().size(), 3u)
        << ::testing::PrintToString(ui_.message_boxes);
    EXPECT_EQ(editor_.block().drawing().lines()[0], c.circle);
    EXPECT_EQ(editor_.block().drawing().lines()[1], c.line);
    editor_.block().BCofnijClick();
    EXPECT_EQ(editor_.block().drawing().lines().size(), 1u);
  }
}

TEST_F(DxfInsertTest, NothingInsertedFromABadFileOrACancelledDialog) {
  StartDrawing("Wstawiany", {"P(5,5)-(6,6)"});
  ui_.open_paths = {std::nullopt};
  editor_.library().WstawZDxf();
  WriteBytes(dxf_, "to nie jest DXF\n");
  ui_.open_paths = {dxf_};
  editor_.library().WstawZDxf();
  EXPECT_EQ(editor_.block().drawing().lines().size(), 1u);
  ASSERT_EQ(ui_.message_boxes.size(), 1u);
  EXPECT_THAT(ui_.message_boxes[0], HasSubstr(dxf_.string()));
}

// A DXF written by the export (blocks as definitions, the model space a grid of them with their
// names) offers its blocks, and the one ticked goes in at its base point; one without
// definitions goes in as it is, no question asked.
TEST_F(DxfInsertTest, TheTickedDefinitionInsertedAtItsBasePoint) {
  const std::filesystem::path symbols = dir_ / "symbole.blk";
  AppendBlock(symbols, "Zasuwa", {"O(0.2,0.3,0.5);K(0,0,0);GR(0.1)"});
  AppendBlock(symbols, "Hydrant", {"L(-1,0)-(1,0);K(0,0,0);GR(0.1)"});
  const std::filesystem::path exported = dir_ / "symbole.dxf";
  ASSERT_TRUE(ExportDxf({.library = symbols, .names = {}, .output = exported},
                        ExportFontOf(*editor_.view().romans_font())));
  using Choice = std::function<bool(std::vector<Ui::OfferedBlock>&, bool&)>;
  const auto tick = [](std::vector<size_t> rows) -> Choice {
    return [rows](std::vector<Ui::OfferedBlock>& offer, bool&) {
      for (size_t row : rows) offer.at(row).take = true;
      return true;
    };
  };
  const std::string kept = "P(5,5)-(6,6)";
  const struct {
    const char* what;
    std::filesystem::path dxf;
    std::optional<Choice> choice;  // nothing: no dialog is due
    std::vector<std::string> lines;
  } cases[] = {
      {"a definition", exported, tick({2}), {"O(0.2,0.3,0.5);K(0,0,0);GR(0.1)", kept}},
      {"another definition", exported, tick({1}), {"L(-1,0)-(1,0);K(0,0,0);GR(0.1)", kept}},
      {"cancelled",
       exported,
       [](std::vector<Ui::OfferedBlock>& offer, bool&) {
         offer.at(1).take = true;
         return false;
       },
       {kept}},
      {"no definitions",
       dxf_,
       std::nullopt,
       {"O(1,1,0.5);K(0,0,0);GR(0.1)", "L(0,0)-(2,0);K(0,0,0);GR(0.1)", kept}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    if (&c != &cases[0]) ui_.answers = {Answer::kNie};  // the last block is not kept
    StartDrawing("Wstawiany", {kept});
    editor_.block().SetUnit("m");
    const size_t offers = ui_.block_offers.size();
    ui_.open_paths = {c.dxf};
    if (c.choice) ui_.block_choices = {*c.choice};
    editor_.library().WstawZDxf();
    EXPECT_TRUE(ui_.block_choices.empty());
    ASSERT_EQ(ui_.block_offers.size(), offers + (c.choice ? 1 : 0));
    if (c.choice) {
      std::vector<std::string> names;
      for (const Ui::OfferedBlock& offered : ui_.block_offers.back()) {
        names.push_back(offered.name);
        EXPECT_FALSE(offered.take) << offered.name;
      }
      EXPECT_THAT(names, ElementsAre("symbole", "Hydrant", "Zasuwa"));
    }
    EXPECT_EQ(Lines(), c.lines) << ::testing::PrintToString(ui_.message_boxes);
    EXPECT_TRUE(ui_.message_boxes.empty()) << ::testing::PrintToString(ui_.message_boxes);
    if (c.lines.size() > 1) {
      editor_.block().BCofnijClick();
      EXPECT_EQ(Lines(), std::vector<std::string>{kept});
    }
  }
}

// The model space ticked: the overview as the command always inserted it, names and all.
TEST_F(DxfInsertTest, TheModelSpaceTickedInsertsTheOverview) {
  const std::filesystem::path symbols = dir_ / "symbole.blk";
  AppendBlock(symbols, "Zasuwa", {"O(0,0,0.5);K(0,0,0);GR(0.1)"});
  const std::filesystem::path exported = dir_ / "symbole.dxf";
  ASSERT_TRUE(ExportDxf({.library = symbols, .names = {}, .output = exported},
                        ExportFontOf(*editor_.view().romans_font())));
  StartDrawing("Wstawiany", {"P(5,5)-(6,6)"});
  editor_.block().SetUnit("m");
  ui_.open_paths = {exported};
  ui_.block_choices = {[](std::vector<Ui::OfferedBlock>& offer, bool&) {
    offer.at(0).take = true;
    return true;
  }};
  editor_.library().WstawZDxf();
  const std::vector<std::string> lines = Lines();
  ASSERT_EQ(lines.size(), 3u) << ::testing::PrintToString(ui_.message_boxes);
  EXPECT_THAT(lines, Contains(HasSubstr("'Zasuwa'")));
  // Centred in its cell of the grid, not at its base point.
  EXPECT_THAT(lines, Contains(StartsWith("O(")));
  EXPECT_THAT(lines, Each(Not(StartsWith("O(0,0,"))));
}

// A drawing without definitions offers its model space alone.
TEST_F(DxfInsertTest, ImportOfADrawingWithoutDefinitionsOffersItsModelSpace) {
  ui_.open_paths = {dxf_};
  ui_.block_choices = {[](std::vector<Ui::OfferedBlock>&, bool&) { return false; }};
  editor_.library().ImportujDxf();
  EXPECT_TRUE(ui_.message_boxes.empty()) << ::testing::PrintToString(ui_.message_boxes);
  ASSERT_EQ(ui_.block_offers.size(), 1u);
  ASSERT_EQ(ui_.block_offers[0].size(), 1u);
  EXPECT_EQ(ui_.block_offers[0][0].name, "rysunek");
}

// The import offers the model space and the block definitions; names the library holds come
// unticked, and are replaced only when asked.
TEST_F(DxfInsertTest, ImportSavesTheTickedBlocks) {
  std::string with_blocks(kDrawing);
  with_blocks.insert(with_blocks.find("0\nSECTION\n2\nENTITIES"), kBlocks);
  WriteBytes(dxf_, with_blocks);
  const auto take_all = [](std::vector<Ui::OfferedBlock>& blocks, bool&) {
    for (auto& block : blocks) block.take = true;
    return true;
  };
  ui_.open_paths = {dxf_};
  ui_.block_choices = {take_all};
  editor_.library().ImportujDxf();
  ASSERT_EQ(ui_.block_offers.size(), 1u) << ::testing::PrintToString(ui_.message_boxes);
  ASSERT_EQ(ui_.block_offers[0].size(), 2u);
  EXPECT_EQ(ui_.block_offers[0][0].name, "rysunek");
  EXPECT_EQ(ui_.block_offers[0][1].name, "Zasuwa");
  EXPECT_TRUE(ui_.block_offers[0][1].take);
  EXPECT_TRUE(editor_.library().block_list().Contains("rysunek"));
  EXPECT_EQ(StoredLines(library_, "Zasuwa"), std::vector<std::string>{"O(0,0,1);K(0,0,0);GR(0.1)"});

  // Again: both are there now. Ticked without "replace", nothing is written.
  const std::string before = ReadBytes(library_);
  ui_.open_paths = {dxf_};
  ui_.block_choices = {take_all};
  editor_.library().ImportujDxf();
  EXPECT_FALSE(ui_.block_offers[1][0].take);
  EXPECT_TRUE(ui_.block_offers[1][1].exists);
  EXPECT_EQ(ReadBytes(library_), before);
  // With it, they are replaced: one record of each name.
  ui_.open_paths = {dxf_};
  ui_.block_choices = {[&](std::vector<Ui::OfferedBlock>& blocks, bool& replace) {
    replace = true;
    return take_all(blocks, replace);
  }};
  editor_.library().ImportujDxf();
  const auto names = BlockNames(library_);
  EXPECT_EQ(std::count(names.begin(), names.end(), "Zasuwa"), 1);
  // Cancelled: nothing.
  ui_.open_paths = {dxf_};
  ui_.block_choices = {[](std::vector<Ui::OfferedBlock>&, bool&) { return false; }};
  const std::string after = ReadBytes(library_);
  editor_.library().ImportujDxf();
  EXPECT_EQ(ReadBytes(library_), after);
}

}  // namespace
}  // namespace blok::testing
