// The DXF export of a drawing the editor holds, and the progress of both entry points: the
// drawing goes out as the same block saved in a library would, and a stop leaves the output.
#include <gtest/gtest.h>

#include <vector>

#include "document/block_file.h"
#include "document/dxf_export.h"
#include "document/text_file.h"
#include "support/built_font.h"
#include "support/test_dir.h"
#include "view/font_capital.h"

namespace blok {
namespace {

using testing::BuiltRomans;
using testing::ReadBytes;
using testing::TestDir;
using testing::WriteBytes;

void WriteLibrary(const std::filesystem::path& file, const std::vector<BlockToSave>& blocks) {
  std::string bytes;
  for (const BlockToSave& block : blocks) {
    for (const std::string& line : BlockRecordLines(block)) AppendTextLine(bytes, line);
  }
  WriteBytes(file, bytes);
}

class DxfExportDrawingTest : public ::testing::Test {
 protected:
  TestDir dir_;
  std::filesystem::path library_ = dir_ / "lib.blk";
  std::filesystem::path from_library_ = dir_ / "z_biblioteki.dxf";
  std::filesystem::path from_drawing_ = dir_ / "z_rysunku.dxf";
};

TEST_F(DxfExportDrawingTest, ADrawingGoesOutAsItsSavedBlock) {
  const struct {
    std::string name, unit;
    std::vector<std::string> lines;
    std::string dxf_name;
  } cases[] = {
      {"Studzienka", "m", {"O(0,0,0.6);K(0,0,0);GR(0,25)", "L(-1,0)-(1,0)"}, "Studzienka"},
      {"Znak: A-7", "cm", {"T(0,0,'Ustąp',10,8,0);K(255,0,0)", "P(0,0)-(20,10)"}, "Znak_ A-7"},
      // Comments and a line that is no entity are skipped and reported as the library's are.
      {"Łuk", "mm", {"// opis", "LUK(0,0,5,0,90)", "zepsuta"}, "Łuk"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    WriteLibrary(library_, {{c.name, c.unit, c.lines}});
    const auto saved =
        ExportDxf(DxfExportRequest{library_, {}, from_library_, {}}, ExportFontOf(BuiltRomans()));
    ASSERT_TRUE(saved.has_value()) << saved.error().message;
    const std::vector<ParsedEntity> records = ParseLines(c.lines);
    const auto drawn =
        ExportDxf(DxfDrawingRequest{c.name, c.unit, c.lines, records, from_drawing_, {}},
                  ExportFontOf(BuiltRomans()));
    ASSERT_TRUE(drawn.has_value()) << drawn.error().message;
    // The header (the unit among it) and everything from the block table on: dxflib leaves
    // one handle of the dimension style between them unset.
    const auto blocks = [](const std::filesystem::path& file) {
      const std::string bytes = ReadBytes(file);
      return bytes.substr(0, bytes.find("TABLES")) +
             bytes.substr(std::min(bytes.size(), bytes.find("BLOCK_RECORD")));
    };
    EXPECT_FALSE(blocks(from_library_).empty());
    EXPECT_TRUE(blocks(from_drawing_) == blocks(from_library_));
    ASSERT_EQ(drawn->names.size(), 1u);
    EXPECT_EQ(drawn->names[0].dxf, c.dxf_name);
    EXPECT_EQ(drawn->entities, saved->entities);
    EXPECT_EQ(drawn->skipped.size(), saved->skipped.size());
  }
}

TEST_F(DxfExportDrawingTest, ADrawingWithoutANameOrAUnitOfOurs) {
  const std::vector<std::string> lines = {"L(0,0)-(1,1)"};
  const std::vector<ParsedEntity> records = ParseLines(lines);
  const auto unnamed = ExportDxf(DxfDrawingRequest{"", "m", lines, records, from_drawing_, {}},
                                 ExportFontOf(BuiltRomans()));
  ASSERT_TRUE(unnamed.has_value()) << unnamed.error().message;
  EXPECT_EQ(unnamed->names[0].dxf, "BLOK");

  WriteBytes(from_drawing_, "made earlier");
  const auto foreign = ExportDxf(DxfDrawingRequest{"X", "km", lines, records, from_drawing_, {}},
                                 ExportFontOf(BuiltRomans()));
  ASSERT_FALSE(foreign.has_value());
  EXPECT_NE(foreign.error().message.find("nieznana jednostka „km”"), std::string::npos)
      << foreign.error().message;
  EXPECT_EQ(ReadBytes(from_drawing_), "made earlier");
}

TEST_F(DxfExportDrawingTest, ProgressCountsBlocksAndAStopWritesNothing) {
  std::vector<BlockToSave> blocks;
  for (int i = 0; i < 5; ++i) {
    blocks.push_back({"B" + std::to_string(i), "m", {"O(0,0," + std::to_string(i + 1) + ")"}});
  }
  WriteLibrary(library_, blocks);
  const struct {
    std::vector<std::string> names;
    int stop_at;  // the call that answers false; 0: none
    std::vector<std::pair<int, int>> calls;
  } cases[] = {
      {{}, 0, {{1, 5}, {2, 5}, {3, 5}, {4, 5}, {5, 5}}},
      {{"B3", "B1"}, 0, {{1, 2}, {2, 2}}},
      {{}, 1, {{1, 5}}},
      {{}, 5, {{1, 5}, {2, 5}, {3, 5}, {4, 5}, {5, 5}}},  // even after the last block
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.stop_at);
    WriteBytes(from_library_, "made earlier");
    std::vector<std::pair<int, int>> calls;
    DxfExportRequest request{library_, c.names, from_library_, [&](int done, int total) {
                               calls.emplace_back(done, total);
                               return static_cast<int>(calls.size()) != c.stop_at;
                             }};
    const auto report = ExportDxf(request, ExportFontOf(BuiltRomans()));
    EXPECT_EQ(calls, c.calls);
    if (c.stop_at == 0) {
      ASSERT_TRUE(report.has_value()) << report.error().message;
      EXPECT_NE(ReadBytes(from_library_), "made earlier");
    } else {
      ASSERT_FALSE(report.has_value());
      EXPECT_EQ(report.error().message, kExportCancelled);
      EXPECT_EQ(ReadBytes(from_library_), "made earlier");
    }
  }
  for (const auto& entry : std::filesystem::directory_iterator(dir_.path())) {
    EXPECT_TRUE(entry.path() == library_ || entry.path() == from_library_) << entry.path();
  }
}

}  // namespace
}  // namespace blok
