// blk dups and the window read a library in one pass: their report is the plain rule's.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "document/block_file.h"
#include "document/text_file.h"
#include "editing/duplicates.h"
#include "support/test_dir.h"

namespace blok {
namespace {

using ::testing::ElementsAre;

struct Block {
  std::string name;
  std::vector<std::string> lines;
};

std::string LibraryBytes(const std::vector<Block>& blocks) {
  std::string bytes;
  for (const Block& block : blocks) {
    const BlockToSave record{.name = block.name, .unit = "m", .lines = block.lines};
    for (const std::string& line : BlockRecordLines(record)) AppendTextLine(bytes, line);
  }
  return bytes;
}

// The plain rule: every block read whole and grouped by its DrawingKey.
DuplicateReport PlainReport(const std::filesystem::path& file) {
  const auto records = WczytajWszystkieBloki(file);
  EXPECT_TRUE(records);
  return records ? FindDuplicates(*records) : DuplicateReport{};
}

TEST(DuplicatesInFileTest, TheOnePassReportIsThePlainOne) {
  const std::vector<std::string> circle = {"O(0,0,1);K(0,0,0);GR(0,1)"};
  const struct {
    const char* label;
    std::vector<Block> blocks;
    std::vector<std::string> report;  // DuplicateReportLines
  } cases[] = {
      {"no twins", {{"Aaa", {"O(0,0,1)"}}, {"Bbb", {"O(0,0,2)"}}}, {}},
      {"order of the shapes",
       {{"Aaa", {"O(0,0,1)", "L(0,0)-(1,1);K(0,0,0);GR(0,1)"}},
        {"Bbb", {"L(0,0)-(1,1)", "O(0,0,1);K(0,0,0);GR(0,1)"}}},
       {"Ten sam rysunek: Aaa | Bbb"}},
      {"rounding at the fourth decimal",
       {{"Aaa", {"O(0,0,1.00004)"}},
        {"Bbb", {"O(0,0,1)"}},
        {"Ccc", {"O(0,0,1.00005)"}},
        {"Ddd", {"O(0,0,1.0001)"}}},
       {"Ten sam rysunek: Aaa | Bbb", "Ten sam rysunek: Ccc | Ddd"}},
      {"a colour line changes what stands above it",
       {{"Aaa", {"O(0,0,1)", "K(255,0,0)"}},
        {"Bbb", {"O(0,0,1);K(255,0,0)"}},
        {"Ccc", {"K(255,0,0)", "O(0,0,1)"}},
        {"Ddd", {"O(0,0,1);K(0,0,0)"}}},
       {"Ten sam rysunek: Aaa | Bbb", "Ten sam rysunek: Ccc | Ddd"}},
      {"a thickness line too, but only where the line names none",
       {{"Aaa", {"O(0,0,1);K(0,0,0)", "GR(0,5)"}},
        {"Bbb", {"O(0,0,1);K(0,0,0);GR(0.5)"}},
        {"Ccc", {"O(0,0,1);K(0,0,0);GR(0,1)", "GR(0,5)"}},
        {"Ddd", circle}},
       {"Ten sam rysunek: Aaa | Bbb", "Ten sam rysunek: Ccc | Ddd"}},
      {"comments, blank and unreadable lines",
       {{"Aaa", {"// okrąg", "", "O(0,0,1)", "X(abc", "O(0,0"}}, {"Bbb", circle}},
       {"Ten sam rysunek: Aaa | Bbb"}},
      {"nothing drawn is no twin", {{"Aaa", {"// nic"}}, {"Bbb", {}}, {"Ccc", {"O(0,0"}}}, {}},
      {"a shape twice is not once",
       {{"Aaa", {"O(0,0,1)", "O(0,0,1)"}}, {"Bbb", circle}, {"Ccc", {"O(0,0,1)", "O(0,0,1)"}}},
       {"Ten sam rysunek: Aaa | Ccc"}},
      {"repeated names: the last record is the block",
       {{"Aaa", circle},
        {"Bbb", circle},
        {"Bbb", {"O(0,0,2)"}},
        {"Ccc", {"O(0,0,2)"}},
        {"Aaa", {"O(0,0,3)"}}},
       {"Ten sam rysunek: Bbb | Ccc", "Nazwa zapisana 2 razy: Aaa", "Nazwa zapisana 2 razy: Bbb"}},
      {"the list's order, Polish letters included",
       {{"Żuraw", circle},
        {"zasuwa", circle},
        {"Ąb", {"O(0,0,2)"}},
        {"Abc", {"O(0,0,2)"}},
        {"Łuk", circle}},
       {"Ten sam rysunek: Abc | Ąb", "Ten sam rysunek: Łuk | zasuwa | Żuraw"}},
      {"texts and arcs through the full reading",
       {{"Aaa", {"T(0,0,'Ąę',1,1,0)", "LUK(0,0,1,0,90)"}},
        {"Bbb", {"LUK(0,0,1,0,90.00001)", "T(0,0,'Ąę',1,1,0);K(0,0,0);GR(0,1)"}},
        {"Ccc", {"T(0,0,'Ąe',1,1,0)", "LUK(0,0,1,0,90)"}}},
       {"Ten sam rysunek: Aaa | Bbb"}},
      {"the commands of one drawing rule only its own lines",
       {{"Aaa", {"T(0,0,'x',1,1,0)", "LUK(0,0,1,0,90)", "K(255,0,0)", "GR(0,5)"}},
        {"Bbb", {"T(0,0,'x',1,1,0)", "LUK(0,0,1,0,90)"}},
        {"Ccc", {"LUK(0,0,1,0,90);K(255,0,0);GR(0.5)", "T(0,0,'x',1,1,0);K(255,0,0);GR(0,5)"}},
        {"Ddd", {"T(0,0,'x',1,1,0);K(0,0,0);GR(0,1)", "LUK(0,0,1,0,90.00004)"}}},
       {"Ten sam rysunek: Aaa | Ccc", "Ten sam rysunek: Bbb | Ddd"}},
  };
  const testing::TestDir dir;
  const std::filesystem::path file = dir / "biblioteka.blk";
  for (const auto& c : cases) {
    testing::WriteBytes(file, LibraryBytes(c.blocks));
    const auto report = FindDuplicatesInFile(file);
    ASSERT_TRUE(report) << c.label;
    EXPECT_EQ(DuplicateReportLines(*report), c.report) << c.label;
    // A library too large to keep its lines is read twice, to the same report.
    const auto twice = FindDuplicatesInFile(file, 0);
    ASSERT_TRUE(twice) << c.label;
    EXPECT_EQ(DuplicateReportLines(*twice), c.report) << c.label;
    const DuplicateReport plain = PlainReport(file);
    EXPECT_EQ(report->same_drawings, plain.same_drawings) << c.label;
    EXPECT_EQ(report->repeated_names, plain.repeated_names) << c.label;
  }
}

TEST(DuplicatesInFileTest, AFileThatCannotBeReadIsAMessage) {
  const testing::TestDir dir;
  const auto report = FindDuplicatesInFile(dir / "nie-ma.blk");
  ASSERT_FALSE(report);
  EXPECT_THAT(report.error().message, ::testing::HasSubstr("nie-ma.blk"));
}

}  // namespace
}  // namespace blok
