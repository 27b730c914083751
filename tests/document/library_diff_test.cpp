// Two versions of a library compared block by block, and a library as text for git.
#include "document/library_diff.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "document/text_file.h"
#include "support/record_bytes.h"
#include "support/test_dir.h"

namespace blok {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;

using Library = std::vector<LoadedBlock>;

const LoadedBlock kStudnia{"Studnia", "m", {"O(0,0,1)", "L(-1,0)-(1,0)", "L(0,-1)-(0,1)"}};
const LoadedBlock kWlaz{"Właz", "cm", {"P(0,0)-(60,60)"}};

LoadedBlock With(LoadedBlock block, auto change) {
  change(block);
  return block;
}

TEST(LibraryDiffTest, ReportOfEachKindOfChange) {
  const struct {
    const char* label;
    Library a, b;
    std::vector<std::string> report;
  } cases[] = {
      {"same", {kStudnia, kWlaz}, {kWlaz, kStudnia}, {}},
      {"empty libraries", {}, {}, {}},
      {"one added", {kStudnia}, {kStudnia, kWlaz}, {"dodany: Właz"}},
      {"one removed", {kStudnia, kWlaz}, {kWlaz}, {"usunięty: Studnia"}},
      {"all removed", {kWlaz, kStudnia}, {}, {"usunięty: Studnia", "usunięty: Właz"}},
      {"renamed",
       {kStudnia},
       {With(kStudnia, [](auto& b) { b.name = "Studzienka"; })},
       {"przemianowany: Studnia → Studzienka"}},
      {"renamed, its lines in another order and numbers written otherwise",
       {kStudnia},
       {{"Studzienka", "m", {"L(0,-1)-(0,1)", "O(0,0,1.00001)", "L(-1,0)-(1,0)"}}},
       {"przemianowany: Studnia → Studzienka"}},
      {"another name and another unit is no rename",
       {kStudnia},
       {With(kStudnia, [](auto& b) { b.name = "Studzienka", b.unit = "mm"; })},
       {"usunięty: Studnia", "dodany: Studzienka"}},
      {"blocks that draw nothing are no rename of each other",
       {{"Pusty", "m", {"// nic"}}},
       {{"Pusty 2", "m", {"// nic"}}},
       {"usunięty: Pusty", "dodany: Pusty 2"}},
      {"changed line",
       {kStudnia},
       {With(kStudnia, [](auto& b) { b.lines[1] = "L(-2,0)-(2,0)"; })},
       {"zmieniony: Studnia", "--- A/Studnia", "+++ B/Studnia", "@@ -1,3 +1,3 @@", " O(0,0,1)",
        "-L(-1,0)-(1,0)", "+L(-2,0)-(2,0)", " L(0,-1)-(0,1)"}},
      {"changed unit",
       {kWlaz},
       {With(kWlaz, [](auto& b) { b.unit = "mm"; })},
       {"zmieniony: Właz", "--- A/Właz", "+++ B/Właz", "@@ -1,2 +1,2 @@", "-Jednostka: cm",
        "+Jednostka: mm", " P(0,0)-(60,60)"}},
      {"changed, added and removed in the list's order",
       {kWlaz, {"Zasuwa", "m", {"O(0,0,2)"}}},
       {{"Ćwiek", "m", {"O(0,0,3)"}}, With(kWlaz, [](auto& b) { b.lines.push_back("O(0,0,5)"); })},
       {"dodany: Ćwiek", "zmieniony: Właz", "--- A/Właz", "+++ B/Właz", "@@ -1,1 +1,2 @@",
        " P(0,0)-(60,60)", "+O(0,0,5)", "usunięty: Zasuwa"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    EXPECT_THAT(DiffReportLines(DiffLibraries(c.a, c.b), "A", "B"), ElementsAreArray(c.report));
  }
}

TEST(LibraryDiffTest, NamesRestrictTheComparison) {
  const Library a = {kStudnia, kWlaz, {"Zasuwa", "m", {"O(0,0,2)"}}};
  const Library b = {With(kStudnia, [](auto& s) { s.name = "Studzienka"; }), {"Hydrant", "m", {}}};
  const struct {
    std::vector<std::string> names;
    std::vector<std::string> report;
  } cases[] = {
      {{"Właz"}, {"usunięty: Właz"}},
      {{"Studzienka"}, {"przemianowany: Studnia → Studzienka"}},
      {{"Studnia", "Hydrant"}, {"dodany: Hydrant", "przemianowany: Studnia → Studzienka"}},
      {{"Nie ma"}, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.names.front());
    EXPECT_THAT(DiffReportLines(DiffLibraries(a, b, c.names), "A", "B"),
                ElementsAreArray(c.report));
  }
}

// A name saved twice is the block its last record holds, where that record lies.
TEST(LibraryDiffTest, ANameSavedTwiceIsItsLastRecord) {
  const LoadedBlock old_wlaz = With(kWlaz, [](auto& b) { b.lines = {"O(0,0,9)"}; });
  const Library records = {old_wlaz, kStudnia, kWlaz};
  const Library blocks = BlocksByName(records);
  EXPECT_THAT(blocks, ElementsAre(kStudnia, kWlaz));
  EXPECT_THAT(DiffLibraries(blocks, Library{kWlaz, kStudnia}), IsEmpty());

  const testing::TestDir dir;
  testing::WriteBytes(dir / "dwa.blk", testing::LibraryBytes(records));
  EXPECT_THAT(ReadBlocksByName(dir / "dwa.blk").value(), ElementsAre(kStudnia, kWlaz));
  const struct {
    const char* bytes;
    bool library;
  } files[] = {{"", true}, {"\r\n  \r\n", true}, {"PNG\x1A\r\n", false}};
  for (const auto& f : files) {
    testing::WriteBytes(dir / "inny.blk", f.bytes);
    EXPECT_EQ(ReadBlocksByName(dir / "inny.blk").has_value(), f.library) << f.bytes;
  }
  EXPECT_FALSE(ReadBlocksByName(dir / "nie_ma.blk"));
}

TEST(LibraryDiffTest, DrawingLinesTaggedForThePicture) {
  const auto lines = CompareDrawings(std::vector<std::string>{"a", "b", "c"},
                                     std::vector<std::string>{"a", "c", "d"});
  std::vector<std::pair<LineFate, std::string>> tagged;
  for (const auto& line : lines) tagged.emplace_back(line.fate, line.text);
  EXPECT_THAT(tagged,
              ElementsAre(std::pair(LineFate::kKept, "a"), std::pair(LineFate::kRemoved, "b"),
                          std::pair(LineFate::kKept, "c"), std::pair(LineFate::kAdded, "d")));
  // The longer one first: the edit still goes from before to after.
  const auto shorter =
      CompareDrawings(std::vector<std::string>{"a", "b", "c"}, std::vector<std::string>{"c"});
  ASSERT_EQ(shorter.size(), 3u);
  EXPECT_EQ(shorter[0].fate, LineFate::kRemoved);
  EXPECT_EQ(shorter[2].fate, LineFate::kKept);
}

TEST(LibraryDiffTest, LibraryAsTextInTheListsOrder) {
  EXPECT_THAT(LibraryText(Library{kWlaz, {"Ćwiek", "m", {}}, kStudnia}),
              ElementsAre("=== Ćwiek (m)", "", "=== Studnia (m)", "O(0,0,1)", "L(-1,0)-(1,0)",
                          "L(0,-1)-(0,1)", "", "=== Właz (cm)", "P(0,0)-(60,60)"));
  EXPECT_THAT(LibraryText(Library{}), IsEmpty());
}

}  // namespace
}  // namespace blok
