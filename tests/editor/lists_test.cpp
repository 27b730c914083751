#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "editor/block_list.h"
#include "editor/recent_files.h"

namespace blok {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

std::vector<std::string> Paths(const RecentFiles& recent) {
  std::vector<std::string> paths;
  for (const auto& entry : recent.entries()) paths.push_back(entry.path);
  return paths;
}

TEST(RecentFilesTest, AddingMovesAndDrops) {
  const struct {
    const char* label;
    std::vector<std::string> added;
    std::vector<std::string> expected;
  } cases[] = {
      {"new paths go first", {"/a", "/b", "/c"}, {"/c", "/b", "/a"}},
      {"the oldest of four drops", {"/a", "/b", "/c", "/d", "/e"}, {"/e", "/d", "/c", "/b"}},
      {"entry 1 again changes nothing", {"/a", "/b", "/b"}, {"/b", "/a"}},
      {"entry 3 moves up", {"/a", "/b", "/c", "/d", "/b"}, {"/b", "/d", "/c", "/a"}},
      {"entry 4 moves up", {"/a", "/b", "/c", "/d", "/a"}, {"/a", "/d", "/c", "/b"}},
      {"paths compare exactly", {"/a", "/A", "/a/"}, {"/a/", "/A", "/a"}},
  };
  for (const auto& c : cases) {
    RecentFiles recent;
    for (const std::string& path : c.added) recent.DodajDoOstatnich(path);
    EXPECT_THAT(Paths(recent), ElementsAreArray(c.expected)) << c.label;
  }
}

TEST(RecentFilesTest, CaptionsNameTheFileAndItsPlace) {
  RecentFiles recent;
  recent.DodajDoOstatnich("C:\\Bloki\\znaki.blk");
  recent.DodajDoOstatnich("/home/jan/Bloki/studnie ściekowe.blk");
  recent.DodajDoOstatnich("bez_katalogu.blk");
  EXPECT_EQ(recent.Caption(0), "1. bez_katalogu.blk");
  EXPECT_EQ(recent.Caption(1), "2. studnie ściekowe.blk");
  EXPECT_EQ(recent.Caption(2), "3. znaki.blk");
  recent.DodajDoOstatnich("C:\\Bloki\\znaki.blk");
  EXPECT_EQ(recent.Caption(0), "1. znaki.blk");
}

TEST(RecentFilesTest, ExitListIsOldestFirstWithoutBlankSlots) {
  RecentFiles recent;
  for (const char* path : {"/d/a.blk", "", "/d/b.blk", "abc"}) recent.DodajDoOstatnich(path);
  EXPECT_THAT(recent.PathsOldestFirst(), ElementsAre("/d/a.blk", "/d/b.blk"));
}

TEST(BlockListTest, AddingKeepsTheOrderAndTheSelection) {
  BlockList list;
  list.Assign({"CCC", "AAA", "AAA", "BBB"});
  EXPECT_THAT(list.names(), ElementsAre("AAA", "AAA", "BBB", "CCC"));
  EXPECT_EQ(list.SelectedName(), "");
  list.Select(2);
  list.Add("ABC");
  EXPECT_THAT(list.names(), ElementsAre("AAA", "AAA", "ABC", "BBB", "CCC"));
  EXPECT_EQ(list.SelectedName(), "BBB");
  list.Add("DDD");
  EXPECT_EQ(list.SelectedName(), "BBB");
  list.Select(9);
  EXPECT_FALSE(list.selected().has_value());
  list.Select(0);
  list.Assign({"X"});
  EXPECT_FALSE(list.selected().has_value());
}

}  // namespace
}  // namespace blok
