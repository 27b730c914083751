#include "document/library_rules.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "document/block_file.h"

namespace blok {
namespace {

TEST(BlockListTest, PolishAlphabeticalOrderIgnoringCase) {
  // Case does not matter; each Polish letter follows its base letter, ł after l.
  const std::vector<std::string> expected = {
      "10 m", "Abc",    "ąbc", "Ąbd",     "Bariera", "cegła", "Ćma",    "Ewa",  "lupa",  "Łuk",
      "Mur",  "Ósemka", "Pas", "Studnia", "Śluza",   "Zasuw", "źródło", "Żaba", "Żuraw",
  };
  std::vector<std::string> shuffled = expected;
  std::ranges::reverse(shuffled);
  std::ranges::sort(shuffled, BlockNameLess);
  EXPECT_EQ(shuffled, expected);
  // Names equal but for case keep a fixed order; a prefix comes first.
  EXPECT_TRUE(BlockNameLess("ABC", "abc") != BlockNameLess("abc", "ABC"));
  EXPECT_TRUE(BlockNameLess("Mur", "Murek"));
  EXPECT_FALSE(BlockNameLess("Murek", "Mur"));
}

// What the list offers, written "name unit ×records"; the unit tells the records of a name apart.
std::vector<std::string> Listed(const std::vector<LoadedBlock>& records) {
  std::vector<std::string> shown;
  for (const ListedBlock& l : BlocksAsListed(records)) {
    shown.push_back(l.block->name + " " + l.block->unit + " ×" + std::to_string(l.records));
  }
  return shown;
}

TEST(BlocksAsListedTest, OneEntryPerNameWithItsLastRecordInTheListsOrder) {
  const struct {
    const char* label;
    std::vector<LoadedBlock> records;
    std::vector<std::string> expected;
  } cases[] = {
      {"an empty file", {}, {}},
      {"Polish order, not the file's",
       {{"Żaba", "m", {}}, {"Łuk", "m", {}}, {"abc", "m", {}}, {"Lupa", "m", {}}},
       {"abc m ×1", "Lupa m ×1", "Łuk m ×1", "Żaba m ×1"}},
      {"a repeated name is its last record",
       {{"Mur", "m", {}}, {"Pas", "m", {}}, {"Mur", "cm", {}}, {"Mur", "mm", {}}},
       {"Mur mm ×3", "Pas m ×1"}},
      {"names equal but for case are two blocks",
       {{"abc", "m", {}}, {"ABC", "cm", {}}, {"abc", "mm", {}}},
       {"ABC cm ×1", "abc mm ×2"}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Listed(c.records), c.expected) << c.label;
  }
}

}  // namespace
}  // namespace blok
