// The editor's save into a library that is not there (any more): it is made, as an append
// makes one, and a save that fails leaves nothing behind.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "document/block_file.h"
#include "support/test_dir.h"

namespace blok {
namespace {

using testing::TestDir;

constexpr SaveTime kTime{2026, 3, 4, 5, 6, 7};
constexpr ReplaceOptions kQuick{.durable = false};

TEST(MissingLibraryTest, TheSaveMakesItOrLeavesNoFile) {
  struct Case {
    const char* label;
    const char* file;  // under a fresh folder
    const char* name;
    bool written;
  } cases[] = {
      {"a missing library is made", "lib.blk", "Studnia", true},
      {"a refused block leaves no empty file", "lib.blk", "____________________v1.0", false},
      {"a missing folder is not made", "brak/lib.blk", "Studnia", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    TestDir dir;
    const std::filesystem::path file = dir / c.file;
    bool asked = false;
    const auto saved = ZapiszBlok(
        file, {c.name, "m", {"O(0,0,1)"}, false, kTime},
        [&] {
          asked = true;
          return true;
        },
        kQuick);
    EXPECT_FALSE(asked);  // a new library holds no block to overwrite
    ASSERT_EQ(saved.has_value(), c.written);
    if (!c.written) {
      EXPECT_NE(saved.error().message.find(file.string()), std::string::npos)
          << saved.error().message;
      EXPECT_FALSE(std::filesystem::exists(file));
      continue;
    }
    EXPECT_TRUE(saved->written);
    EXPECT_FALSE(saved->replaced);
    const auto read = WczytajWszystkieBloki(file);
    ASSERT_TRUE(read) << read.error().message;
    EXPECT_EQ(*read, (std::vector<LoadedBlock>{{c.name, "m", {"O(0,0,1)"}}}));
  }
}

}  // namespace
}  // namespace blok
