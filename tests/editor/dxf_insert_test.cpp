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
    editor_.SetUnit(c.unit);
    ui_.open_paths = {dxf_};
    editor_.WstawZDxf();
    ASSERT_EQ(editor_.drawing().lines().size(), 3u) << ::testing::PrintToString(ui_.message_boxes);
    EXPECT_EQ(editor_.drawing().lines()[0], c.circle);
    EXPECT_EQ(editor_.drawing().lines()[1], c.line);
    editor_.BCofnijClick();
    EXPECT_EQ(editor_.drawing().lines().size(), 1u);
  }
}

TEST_F(DxfInsertTest, NothingInsertedFromABadFileOrACancelledDialog) {
  StartDrawing("Wstawiany", {"P(5,5)-(6,6)"});
  ui_.open_paths = {std::nullopt};
  editor_.WstawZDxf();
  WriteBytes(dxf_, "to nie jest DXF\n");
  ui_.open_paths = {dxf_};
  editor_.WstawZDxf();
  EXPECT_EQ(editor_.drawing().lines().size(), 1u);
  ASSERT_EQ(ui_.message_boxes.size(), 1u);
  EXPECT_THAT(ui_.message_boxes[0], HasSubstr(dxf_.string()));
}

}  // namespace
}  // namespace blok::testing
