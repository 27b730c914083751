// Where the program finds its fonts and sample library: beside it as in the build tree, or in an
// installation's share folder.
#include "document/data_dir.h"

#include <gtest/gtest.h>

#include "support/test_dir.h"

namespace blok {
namespace {

using testing::TestDir;
using testing::WriteBytes;

TEST(ProgramPathsTest, DataBesideTheProgramElseInItsShareFolder) {
  TestDir dir;
  std::filesystem::create_directories(dir / "build" / "bin" / "Dane");
  WriteBytes(dir / "build" / "bin" / "Dane" / "Romans100.Lzs", "x");
  std::filesystem::create_directories(dir / "usr" / "bin");
  EXPECT_EQ(FindDataDir(dir / "build" / "bin"), dir / "build" / "bin");
  EXPECT_EQ(FindDataDir(dir / "usr" / "bin"), dir / "usr" / "share" / "blokedit");
}

}  // namespace
}  // namespace blok
