#include <gtest/gtest.h>

#include "document/block_file.h"
#include "support/test_dir.h"

namespace blok {
namespace {

using testing::ReadBytes;
using testing::TestDir;
using testing::WriteBytes;

constexpr ReplaceOptions kQuick{.durable = false};

BlockToSave Block(std::string name, std::string line) {
  return {std::move(name), "m", {std::move(line), ""}, false, {2026, 3, 4, 5, 6, 7}};
}

std::vector<std::string> LinesOf(const std::filesystem::path& file, std::string_view name) {
  const auto block = WczytajBlok(file, name);
  EXPECT_TRUE(block.has_value() && block->has_value()) << name;
  return block && *block ? (*block)->lines : std::vector<std::string>{};
}

TEST(SaveBlocks, AllOfThemInOneReplacementMadeWhenMissing) {
  TestDir dir;
  const auto file = dir / "lib.blk";
  const auto saved =
      SaveBlocks(file, {Block("A", "O(0,0,1)"), Block("Bę", "L(0,0)-(1,1)")}, false, kQuick);
  ASSERT_TRUE(saved.has_value()) << saved.error().message;
  EXPECT_TRUE(saved->written);
  EXPECT_EQ(*CzytajListeBlokow(file), (std::vector<std::string>{"A", "Bę"}));
  EXPECT_EQ(LinesOf(file, "Bę"), std::vector<std::string>{"L(0,0)-(1,1)"});
}

TEST(SaveBlocks, ANameAlreadyThereCallsEverythingOffUnlessReplacing) {
  TestDir dir;
  const auto file = dir / "lib.blk";
  ASSERT_TRUE(SaveBlocks(file, {Block("A", "O(0,0,1)"), Block("C", "O(0,0,3)")}, false, kQuick));
  const std::string before = ReadBytes(file);

  auto saved =
      SaveBlocks(file, {Block("B", "O(0,0,2)"), Block("C", "O(0,0,4)"), Block("A", "O(0,0,5)")},
                 false, kQuick);
  ASSERT_TRUE(saved.has_value());
  EXPECT_FALSE(saved->written);
  EXPECT_EQ(saved->existing, (std::vector<std::string>{"A", "C"}));
  EXPECT_EQ(ReadBytes(file), before);

  saved = SaveBlocks(file, {Block("B", "O(0,0,2)"), Block("C", "O(0,0,4)")}, true, kQuick);
  ASSERT_TRUE(saved.has_value());
  EXPECT_TRUE(saved->written);
  EXPECT_EQ(saved->existing, std::vector<std::string>{"C"});
  EXPECT_EQ(*CzytajListeBlokow(file), (std::vector<std::string>{"A", "B", "C"}));
  EXPECT_EQ(LinesOf(file, "C"), std::vector<std::string>{"O(0,0,4)"});
  EXPECT_EQ(LinesOf(file, "A"), std::vector<std::string>{"O(0,0,1)"});
}

TEST(SaveBlocks, OneBadRecordWritesNone) {
  TestDir dir;
  const auto file = dir / "lib.blk";
  WriteBytes(file, "");
  const auto saved =
      SaveBlocks(file, {Block("A", "O(0,0,1)"), Block("Snow ☃", "O(0,0,1)")}, true, kQuick);
  ASSERT_FALSE(saved.has_value());
  EXPECT_EQ(ReadBytes(file), "");
}

}  // namespace
}  // namespace blok
