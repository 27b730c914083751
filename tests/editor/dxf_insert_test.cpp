// A DXF drawing inserted into the block being edited: at (0,0), in the block's unit, one step.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "editor/editor_fixture.h"

namespace blok::testing {
namespace {

using ::testing::HasSubstr;

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
