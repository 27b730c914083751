// Two lines of work on one library joined block by block, as git's merge driver joins them.
#include "document/library_merge.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "document/library_diff.h"
#include "document/library_rules.h"
#include "document/text_file.h"
#include "support/record_bytes.h"
#include "support/test_dir.h"

namespace blok {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

using Library = std::vector<LoadedBlock>;

LoadedBlock Block(std::string name, std::string line, std::string unit = "m") {
  return {std::move(name), std::move(unit), {std::move(line)}};
}

const LoadedBlock kA = Block("Studnia", "O(0,0,1)");
const LoadedBlock kA1 = Block("Studnia", "O(0,0,2)");
const LoadedBlock kA2 = Block("Studnia", "O(0,0,3)");
const LoadedBlock kB = Block("Właz", "P(0,0)-(1,1)");
const LoadedBlock kB1 = Block("Właz", "P(0,0)-(2,2)");
const LoadedBlock kC = Block("Zasuwa", "L(0,0)-(1,0)");

// A block of the result as "NAME: LINE (unit)".
std::vector<std::string> Shown(const Library& blocks) {
  std::vector<std::string> shown;
  for (const LoadedBlock& block : blocks) {
    shown.push_back(block.name + ": " + block.lines.front() + " (" + block.unit + ")");
  }
  return shown;
}

TEST(LibraryMergeTest, BlockByBlock) {
  const struct {
    const char* label;
    Library base, ours, theirs;
    std::vector<std::string> result;
    std::vector<std::string> conflicts;
  } cases[] = {
      {"nothing changed",
       {kA, kB},
       {kA, kB},
       {kA, kB},
       {"Studnia: O(0,0,1) (m)", "Właz: P(0,0)-(1,1) (m)"},
       {}},
      {"ours changed one, theirs another",
       {kA, kB},
       {kA1, kB},
       {kA, kB1},
       {"Studnia: O(0,0,2) (m)", "Właz: P(0,0)-(2,2) (m)"},
       {}},
      {"theirs changed one, ours another",
       {kA, kB},
       {kA, kB1},
       {kA1, kB},
       {"Studnia: O(0,0,2) (m)", "Właz: P(0,0)-(2,2) (m)"},
       {}},
      {"the same change on both", {kA}, {kA1}, {kA1}, {"Studnia: O(0,0,2) (m)"}, {}},
      {"a unit changed on one side",
       {kA},
       {kA},
       {Block("Studnia", "O(0,0,1)", "cm")},
       {"Studnia: O(0,0,1) (cm)"},
       {}},
      {"removed by theirs, unchanged by ours",
       {kA, kB},
       {kA, kB},
       {kB},
       {"Właz: P(0,0)-(1,1) (m)"},
       {}},
      {"removed by ours, unchanged by theirs",
       {kA, kB},
       {kB},
       {kA, kB},
       {"Właz: P(0,0)-(1,1) (m)"},
       {}},
      {"removed by both", {kA, kB}, {kB}, {kB}, {"Właz: P(0,0)-(1,1) (m)"}, {}},
      {"added by both, the same drawing written otherwise",
       {},
       {kA},
       {Block("Studnia", "O(0,0,1.00001)")},
       {"Studnia: O(0,0,1) (m)"},
       {}},
      {"added by theirs goes after ours' blocks",
       {kB},
       {kB, kC},
       {kA, kB},
       {"Właz: P(0,0)-(1,1) (m)", "Zasuwa: L(0,0)-(1,0) (m)", "Studnia: O(0,0,1) (m)"},
       {}},
      {"changed on both, differently",
       {kA, kB},
       {kA1, kB},
       {kA2, kB},
       {"Studnia: O(0,0,2) (m)", "Właz: P(0,0)-(1,1) (m)", "Studnia (konflikt): O(0,0,3) (m)"},
       {"konflikt: Studnia: zmieniony po obu stronach; ich wersja zapisana jako „Studnia "
        "(konflikt)”"}},
      {"added by both, different",
       {},
       {kA1},
       {kA2},
       {"Studnia: O(0,0,2) (m)", "Studnia (konflikt): O(0,0,3) (m)"},
       {"konflikt: Studnia: zmieniony po obu stronach; ich wersja zapisana jako „Studnia "
        "(konflikt)”"}},
      {"removed by ours, changed by theirs",
       {kA, kB},
       {kB},
       {kA1, kB},
       {"Właz: P(0,0)-(1,1) (m)", "Studnia (konflikt): O(0,0,2) (m)"},
       {"konflikt: Studnia: usunięty u nas, zmieniony u nich; ich wersja zapisana jako „Studnia "
        "(konflikt)”"}},
      {"changed by ours, removed by theirs",
       {kA, kB},
       {kA1, kB},
       {kB},
       {"Studnia: O(0,0,2) (m)", "Właz: P(0,0)-(1,1) (m)"},
       {"konflikt: Studnia: zmieniony u nas, usunięty u nich; zostaje nasza wersja"}},
      {"the conflict's name taken",
       {kA},
       {kA1, Block("Studnia (konflikt)", "O(0,0,7)")},
       {kA2, Block("Studnia (konflikt 2)", "O(0,0,8)")},
       {"Studnia: O(0,0,2) (m)", "Studnia (konflikt): O(0,0,7) (m)",
        "Studnia (konflikt 2): O(0,0,8) (m)", "Studnia (konflikt 3): O(0,0,3) (m)"},
       {"konflikt: Studnia: zmieniony po obu stronach; ich wersja zapisana jako „Studnia "
        "(konflikt 3)”"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    const MergedLibrary merged = MergeLibraries(c.base, c.ours, c.theirs);
    EXPECT_THAT(Shown(merged.blocks), ElementsAreArray(c.result));
    EXPECT_THAT(ConflictLines(merged.conflicts), ElementsAreArray(c.conflicts));
  }
}

TEST(LibraryMergeTest, ConflictNameFitsASave) {
  const auto none = [](std::string_view) { return false; };
  EXPECT_EQ(ConflictName("Właz", none), "Właz (konflikt)");
  // 255 characters at most: the name gives up whole characters to the mark.
  const std::string longest = std::string(250, 'a') + "łłłłł";
  const std::string name = ConflictName(longest, none);
  EXPECT_EQ(name, std::string(244, 'a') + " (konflikt)");
  EXPECT_FALSE(BlockNameProblem(name));
  EXPECT_EQ(ConflictName("ł" + std::string(254, 'a'),
                         [](std::string_view n) { return n.ends_with(" (konflikt)"); }),
            "ł" + std::string(241, 'a') + " (konflikt 2)");
}

class LibraryMergeFileTest : public ::testing::Test {
 protected:
  void Write(const std::string& name, const Library& blocks) {
    testing::WriteBytes(dir_ / name, testing::LibraryBytes(blocks));
  }
  testing::TestDir dir_;
  const ReplaceOptions quick_{.durable = false};
};

TEST_F(LibraryMergeFileTest, TheResultReadsBackAsMerged) {
  const LoadedBlock kept_lines{"Zasuwa", "mm", {"", "O(0,0,1)", "x", ""}};
  Write("base.blk", {kA, kB});
  Write("ours.blk", {kA1, kB, kept_lines});
  Write("theirs.blk", {kA2});
  const auto merged = MergeLibraryFiles(dir_ / "base.blk", dir_ / "ours.blk", dir_ / "theirs.blk",
                                        dir_ / "ours.blk", quick_);
  ASSERT_TRUE(merged) << merged.error().message;
  EXPECT_EQ(merged->conflicts.size(), 1u);
  EXPECT_THAT(ReadBlocksByName(dir_ / "ours.blk").value(),
              ElementsAre(kA1, kept_lines, Block("Studnia (konflikt)", "O(0,0,3)")));
}

TEST_F(LibraryMergeFileTest, TroubleLeavesOursAsItWas) {
  Write("base.blk", {kA});
  Write("ours.blk", {kA1});
  const std::string ours = testing::ReadBytes(dir_ / "ours.blk");
  EXPECT_FALSE(MergeLibraryFiles(dir_ / "base.blk", dir_ / "ours.blk", dir_ / "nie_ma.blk",
                                 dir_ / "ours.blk", quick_));
  // A name that no save takes is refused before the library is touched.
  Write("theirs.blk", {Block(std::string(300, 'x'), "O(0,0,1)")});
  EXPECT_FALSE(MergeLibraryFiles(dir_ / "base.blk", dir_ / "ours.blk", dir_ / "theirs.blk",
                                 dir_ / "ours.blk", quick_));
  EXPECT_EQ(testing::ReadBytes(dir_ / "ours.blk"), ours);
  EXPECT_THAT(ReadBlocksByName(dir_ / "ours.blk").value(), ElementsAre(kA1));
}

}  // namespace
}  // namespace blok
