// Renaming and copying blocks: the library changes as asked, or not at all.
#include <gtest/gtest.h>

#include <string>

#include "document/block_file.h"
#include "support/test_dir.h"

namespace blok {
namespace {

using testing::ReadBytes;
using testing::TestDir;
using testing::WriteBytes;

std::string Record(std::string_view name, std::string_view line) {
  return "\r\n____________________v1.0\r\nNazwa:\r\n" + std::string(name) +
         "\r\n2026-03-04\r\n05:06:07\r\nGrupa:\r\nnull\r\nJednostka:\r\ncm\r\n"
         "____________________\r\n\r\n______________________________OpisBloku\r\n" +
         std::string(line) + "\r\n______________________________KONIEC\r\n";
}

class LibraryEditTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // A comment line between records, and a name saved twice.
    original_ = Record("Studnia", "O(0,0,1)") + "// uwaga\r\n" + Record("Zasuwa", "O(0,0,2)") +
                Record("Studnia", "O(0,0,3)");
    WriteBytes(file_, original_);
  }
  TestDir dir_;
  std::filesystem::path file_ = dir_ / "lib.blk";
  std::string original_;
};

TEST_F(LibraryEditTest, RenameChangesTheNameLinesAlone) {
  const auto renamed = RenameBlock(file_, "Studnia", "Studnia ó1000 żelbet");
  ASSERT_TRUE(renamed) << renamed.error().message;
  EXPECT_EQ(*renamed, 2u);
  std::string expected = original_;
  for (size_t at = 0; (at = expected.find("\r\nStudnia\r\n", at)) != std::string::npos;) {
    expected.replace(at, 11,
                     "\r\nStudnia \xF3"
                     "1000 \xBF"
                     "elbet\r\n");
  }
  EXPECT_EQ(ReadBytes(file_), expected);
  ASSERT_TRUE(*WczytajBlok(file_, "Studnia ó1000 żelbet"));
  EXPECT_EQ((*WczytajBlok(file_, "Studnia ó1000 żelbet"))->lines,
            std::vector<std::string>{"O(0,0,3)"});
}

// A rename that cannot be made leaves every byte; one of a name that is not there changes none.
TEST_F(LibraryEditTest, RefusedRenamesLeaveTheFile) {
  const struct {
    std::string old_name, new_name, reason;
  } cases[] = {
      {"Studnia", "Zasuwa", "blok Zasuwa już istnieje"},
      {"Studnia", "St", "co najmniej 3 znaki"},
      {"Studnia", "Studnia ☃", "U+2603"},
      {"Studnia", std::string(256, 'x'), "256 znaków"},
      {"Studnia", "Studnia", "taka sama"},
      {"Studnia", "____________________v1.0", "znacznikiem"},
  };
  for (const auto& c : cases) {
    const auto renamed = RenameBlock(file_, c.old_name, c.new_name);
    ASSERT_FALSE(renamed) << c.new_name;
    EXPECT_NE(renamed.error().message.find(c.reason), std::string::npos) << renamed.error().message;
    EXPECT_EQ(ReadBytes(file_), original_) << c.new_name;
  }
  EXPECT_EQ(RenameBlock(file_, "Brak", "Nowy blok").value_or(99), 0u);
  EXPECT_EQ(ReadBytes(file_), original_);
}

TEST_F(LibraryEditTest, CopyAppendsTheLastRecordAndAsksBeforeReplacing) {
  const std::filesystem::path other = dir_ / "inna.blk";
  auto copied = KopiujBlok(file_, "Studnia", other, "", nullptr);
  ASSERT_TRUE(copied) << copied.error().message;
  EXPECT_TRUE(copied->written);
  const auto loaded = WczytajBlok(other, "Studnia");
  ASSERT_TRUE(loaded && *loaded);
  EXPECT_EQ((*loaded)->unit, "cm");
  EXPECT_EQ((*loaded)->lines, std::vector<std::string>{"O(0,0,3)"});

  const std::string before = ReadBytes(other);
  int asked = 0;
  copied = KopiujBlok(file_, "Studnia", other, "", [&] { return ++asked, false; });
  ASSERT_TRUE(copied);
  EXPECT_FALSE(copied->written);
  EXPECT_EQ(asked, 1);
  EXPECT_EQ(ReadBytes(other), before);

  // Duplicated in its own library under a new name.
  copied = KopiujBlok(file_, "Zasuwa", file_, "Zasuwa 2", [] { return false; });
  ASSERT_TRUE(copied && copied->written);
  EXPECT_EQ((*WczytajBlok(file_, "Zasuwa 2"))->lines, std::vector<std::string>{"O(0,0,2)"});

  EXPECT_FALSE(KopiujBlok(file_, "Brak", other, "", nullptr));
  EXPECT_EQ(ReadBytes(other), before);
}

}  // namespace
}  // namespace blok
