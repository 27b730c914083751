#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "document/block_file.h"
#include "support/test_dir.h"

namespace blok {
namespace {

// An open block holds every line it read for as long as it is open: a line read from a library
// takes the memory its text needs, no more, whatever letters the code page gave it.
TEST(LoadedLineSizeTest, ALineReadFromALibraryHoldsNoSpareRoom) {
  const std::vector<std::string> lines = {
      "L(-12.3456,45.6789)-(-8.1234,40.9876);K(0,0,0);GR(0,1)",
      "T(1,2,'Studzienka ściekowa żeliwna',1,0.8,0)",
      "T(1,2,'Zasuwa „DN 150” – 20 €',1,0.8,0)",  // three bytes of UTF-8 for a byte of the file
      "LUK(12.5,-3.25,4.75,30,300)",
  };
  testing::TestDir dir;
  ASSERT_TRUE(
      DopiszBlok(dir / "a.blk", BlockToSave{.name = "Zasuwy", .unit = "m", .lines = lines}));
  const auto loaded = WczytajBlok(dir / "a.blk", "Zasuwy");
  ASSERT_TRUE(loaded && *loaded);
  ASSERT_EQ((*loaded)->lines, lines);
  for (const std::string& line : (*loaded)->lines) EXPECT_EQ(line.capacity(), line.size()) << line;
}

}  // namespace
}  // namespace blok
