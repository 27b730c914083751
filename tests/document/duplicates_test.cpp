// Symbols saved twice: the same drawing under two names, and names saved more than once.
#include "document/duplicates.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "document/block_file.h"
#include "document/text_file.h"
#include "support/test_dir.h"

namespace blok {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::Pair;

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

// The report of a library file holding these records, in this order.
DuplicateReport FindDuplicates(const std::vector<LoadedBlock>& records) {
  std::vector<Block> blocks;
  for (const LoadedBlock& record : records) blocks.push_back({record.name, record.lines});
  const testing::TestDir dir;
  testing::WriteBytes(dir / "biblioteka.blk", LibraryBytes(blocks));
  auto report = FindDuplicatesInFile(dir / "biblioteka.blk");
  EXPECT_TRUE(report);
  return report ? *report : DuplicateReport{};
}

// Whether two drawings count as the same symbol.
TEST(DuplicatesTest, TheRuleOfTheSameDrawing) {
  const struct {
    const char* label;
    std::vector<std::string> a, b;
    bool same;
  } cases[] = {
      {"order", {"O(0,0,1)", "L(0,0)-(1,1)"}, {"L(0,0)-(1,1)", "O(0,0,1)"}, true},
      {"4 decimals", {"O(0,0,1.00004)"}, {"O(0,0,1)"}, true},
      {"5th decimal rounds up", {"O(0,0,1.00006)"}, {"O(0,0,1)"}, false},
      {"comma and point", {"O(0,0,1);K(0,0,0);GR(0,25)"}, {"O(0,0,1);K(0,0,0);GR(0.25)"}, true},
      {"colour differs", {"O(0,0,1);K(255,0,0)"}, {"O(0,0,1);K(0,0,255)"}, false},
      {"thickness differs", {"O(0,0,1);K(0,0,0);GR(0,5)"}, {"O(0,0,1);K(0,0,0);GR(0,1)"}, false},
      {"the default is black, 0.1", {"O(0,0,1)"}, {"O(0,0,1);K(0,0,0);GR(0,1)"}, true},
      {"a colour line rules the lines above it",
       {"O(0,0,1)", "K(255,0,0)"},
       {"O(0,0,1);K(255,0,0)"},
       true},
      {"but not those below it", {"K(255,0,0)", "O(0,0,1)"}, {"O(0,0,1);K(255,0,0)"}, false},
      {"comments and blank lines", {"// okrąg", "", "O(0,0,1)"}, {"O(0,0,1)"}, true},
      {"an unreadable line", {"O(0,0,1)", "X(abc"}, {"O(0,0,1)"}, true},
      {"one shape twice is not once", {"O(0,0,1)", "O(0,0,1)"}, {"O(0,0,1)"}, false},
      {"text differs", {"T(0,0,'A',1,1,0)"}, {"T(0,0,'B',1,1,0)"}, false},
      {"rectangle corners", {"P(0,0)-(2,1)"}, {"P(0,0)-(2,1.00001)"}, true},
      {"-0 is 0", {"L(-0,0)-(1,-0.00001)"}, {"L(0,0)-(1,0)"}, true},
      {"a thickness line in force, or the same named",
       {"O(0,0,1);K(0,0,0)", "GR(0,5)"},
       {"O(0,0,1);K(0,0,0);GR(0,5)"},
       true},
      {"a named thickness wins over the one in force",
       {"O(0,0,1);K(0,0,0);GR(0,1)", "GR(0,5)"},
       {"O(0,0,1);K(0,0,0);GR(0,5)"},
       false},
      {"arc angles past 4 decimals", {"LUK(0,0,1,0,90.00004)"}, {"LUK(0,0,1,0,90)"}, true},
      {"Polish letters are letters", {"T(0,0,'Żółw',1,1,0)"}, {"T(0,0,'Zolw',1,1,0)"}, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CanonicalDrawing(c.a) == CanonicalDrawing(c.b), c.same) << c.label;
  }
  EXPECT_THAT(CanonicalDrawing(std::vector<std::string>{"// nic", "K(255,0,0)", "X(1"}), IsEmpty());
}

TEST(DuplicatesTest, SameDrawingsGroupEqualDrawingsInTheOrderGiven) {
  const std::vector<DrawnBlock> blocks = {
      {"Ccc", "O\n"}, {"Aaa", "L\n"}, {"Bbb", "O\n"}, {"Ddd", ""}, {"Eee", ""}, {"Fff", "L\n"},
  };
  EXPECT_THAT(SameDrawings(blocks),
              ElementsAre(ElementsAre("Ccc", "Bbb"), ElementsAre("Aaa", "Fff")));
  EXPECT_THAT(SameDrawings({}), IsEmpty());
}

TEST(DuplicatesTest, ReportsGroupsAndRepeatedNames) {
  const std::vector<LoadedBlock> records = {
      {"Studnia", "m", {"O(0,0,1)", "L(-1,0)-(1,0)"}},
      {"Hydrant", "m", {"O(0,0,2)"}},
      {"Studnia B", "m", {"L(-1,0)-(1,0)", "O(0,0,1.00001)"}},
      {"Hydrant", "m", {"O(0,0,3)"}},  // the later record is the block
      {"Pusty", "m", {"// nic"}},
      {"Pusty 2", "m", {}},
      {"Zasuwa", "m", {"O(0,0,3)"}},
  };
  const DuplicateReport report = FindDuplicates(records);
  EXPECT_THAT(report.same_drawings,
              ElementsAre(ElementsAre("Hydrant", "Zasuwa"), ElementsAre("Studnia", "Studnia B")));
  EXPECT_THAT(report.repeated_names, ElementsAre(Pair("Hydrant", 2)));
  EXPECT_THAT(DuplicateReportLines(report), ElementsAre("Ten sam rysunek: Hydrant | Zasuwa",
                                                        "Ten sam rysunek: Studnia | Studnia B",
                                                        "Nazwa zapisana 2 razy: Hydrant"));
  EXPECT_TRUE(FindDuplicates({records[0], records[1]}).empty());
  EXPECT_THAT(DuplicateReportLines({}), IsEmpty());
}
TEST(DuplicatesInFileTest, TheReportOfALibraryFile) {
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
