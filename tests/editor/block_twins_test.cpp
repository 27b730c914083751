// Twins in the block list: rows whose block draws the same as another block of the library.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "editor/block_browser.h"
#include "editor/editor_fixture.h"

namespace blok::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

TEST(LibraryTwinsTest, TwinsAreTheBlocksThatDrawTheSame) {
  using Twins = std::map<std::string, std::vector<std::string>>;
  const struct {
    const char* label;
    std::vector<LoadedBlock> blocks;  // in file order
    Twins twins;                      // of the blocks that have any
  } cases[] = {
      {"none", {{"Aaa", "m", {"O(0,0,1)"}}, {"Bbb", "m", {"O(0,0,2)"}}}, {}},
      {"order, rounding and the colour in force",
       {{"Aaa", "m", {"O(0,0,1.00001)", "L(0,0)-(1,1)", "K(0,0,0)"}},
        {"Bbb", "m", {"L(0,0)-(1,1);K(0,0,0);GR(0,1)", "O(0,0,1);K(0,0,0)"}},
        {"Ccc", "m", {"O(0,0,1)", "L(0,0)-(1,1)", "K(255,0,0)"}}},
       {{"Aaa", {"Bbb"}}, {"Bbb", {"Aaa"}}}},
      {"three alike, each naming the others in the list's order",
       {{"Żuraw", "m", {"O(0,0,1)"}},
        {"zasuwa", "m", {"O(0,0,1)"}},
        {"Łuk", "m", {"// ten sam", "O(0,0,1)"}}},
       {{"Łuk", {"zasuwa", "Żuraw"}}, {"zasuwa", {"Łuk", "Żuraw"}}, {"Żuraw", {"Łuk", "zasuwa"}}}},
      {"a name saved twice is its last record",
       {{"Aaa", "m", {"O(0,0,1)"}}, {"Bbb", "m", {"O(0,0,1)"}}, {"Aaa", "m", {"O(0,0,2)"}}},
       {}},
      {"nothing drawn is no twin",
       {{"Aaa", "m", {"// nic"}}, {"Bbb", "m", {}}, {"Ccc", "m", {"X(1"}}},
       {}},
      {"texts with Polish letters",
       {{"Aaa", "m", {"T(0,0,'Zażółć',1,1,0)"}},
        {"Bbb", "m", {"T(0,0,'Zażółć',1,1,0);K(0,0,0);GR(0,1)"}},
        {"Ccc", "m", {"T(0,0,'Zazolc',1,1,0)"}}},
       {{"Aaa", {"Bbb"}}, {"Bbb", {"Aaa"}}}},
  };
  for (const auto& c : cases) {
    LibraryContents library;
    library.Assign(c.blocks);
    for (const LoadedBlock& block : c.blocks) {
      const auto expected = c.twins.find(block.name);
      EXPECT_EQ(library.TwinsOf(block.name),
                expected == c.twins.end() ? std::vector<std::string>{} : expected->second)
          << c.label << ": " << block.name;
    }
  }
}

TEST(LibraryTwinsTest, TheNoteNamesAFewTwinsAndCountsTheRest) {
  const auto names = [](size_t n) {
    std::vector<std::string> out;
    for (size_t i = 0; i < n; ++i) out.push_back("B" + std::to_string(i + 1));
    return out;
  };
  const struct {
    size_t twins;
    std::string note;
  } cases[] = {
      {0, ""},
      {1, "Ten sam rysunek co: B1"},
      {3, "Ten sam rysunek co: B1, B2, B3"},
      {4, "Ten sam rysunek co: B1, B2, B3 i 1 inny"},
      {5, "Ten sam rysunek co: B1, B2, B3 i 2 inne"},
      {8, "Ten sam rysunek co: B1, B2, B3 i 5 innych"},
      {15, "Ten sam rysunek co: B1, B2, B3 i 12 innych"},
      {25, "Ten sam rysunek co: B1, B2, B3 i 22 inne"},
  };
  for (const auto& c : cases) EXPECT_EQ(TwinNote(names(c.twins)), c.note) << c.twins;
}

class BlockTwinsEditorTest : public EditorTest {
 protected:
  // The note of every row of the list as shown, by name.
  std::map<std::string, std::string> RowNotes() {
    std::map<std::string, std::string> notes;
    for (const size_t entry : editor_.library().block_rows()) {
      const std::string& name = editor_.library().block_list().names()[entry];
      notes[name] = TwinNote(editor_.library().contents().TwinsOf(name));
    }
    return notes;
  }
};

TEST_F(BlockTwinsEditorTest, RowsAreMarkedOnceTheLibraryIsReadAndFollowSaves) {
  AppendBlock(library_, "DDD", {"P(0,0)-(2,2)", "O(0,0,1.00001)"});
  OpenLibrary();
  EXPECT_THAT(editor_.library().contents().TwinsOf("BBB"), IsEmpty());  // not read yet
  const auto blocks = WczytajWszystkieBloki(library_);
  ASSERT_TRUE(blocks);
  editor_.library().SetLibraryContents(editor_.library().library_revision(), *blocks);
  EXPECT_THAT(RowNotes(),
              ElementsAre(std::pair("AAA", ""), std::pair("BBB", "Ten sam rysunek co: DDD"),
                          std::pair("CCC", ""), std::pair("DDD", "Ten sam rysunek co: BBB")));
  // A block saved with AAA's drawing is its twin at once; the filter shows fewer rows.
  editor_.block().SetBlockName("AAB");
  editor_.block().DodajObiekt("L(0,0)-(1,1);K(0,0,0);GR(0,1)");
  ASSERT_TRUE(editor_.library().ZapiszBlokZPytaniem());
  editor_.library().SetBlockFilter("aa");
  EXPECT_THAT(RowNotes(), ElementsAre(std::pair("AAA", "Ten sam rysunek co: AAB"),
                                      std::pair("AAB", "Ten sam rysunek co: AAA")));
  // Saved with another drawing, it is nobody's twin any more.
  editor_.block().DodajObiekt("O(0,0,5)");
  ui_.answers.push_back(Answer::kTak);  // overwrite AAB
  ASSERT_TRUE(editor_.library().ZapiszBlokZPytaniem());
  EXPECT_THAT(RowNotes(), ElementsAre(std::pair("AAA", ""), std::pair("AAB", "")));
}

}  // namespace
}  // namespace blok::testing
