// blk diff, textconv and merge through the real binaries, as git and a person at a shell run
// them: exit codes, what is printed, the pictures of --pictures and the merged file.
#include <gtest/gtest.h>

#include <QImage>
#include <filesystem>
#include <string>
#include <vector>

#include "document/block_file.h"
#include "document/library_diff.h"
#include "document/text_file.h"
#include "support/blk_runner.h"
#include "support/record_bytes.h"
#include "support/test_dir.h"

namespace blok {
namespace {

using testing::BlkRun;
using testing::BlkWithInput;
using testing::ReadBytes;
using testing::WriteBytes;

class BlkDiffTest : public ::testing::Test {
 protected:
  std::string Library(const std::string& name, const std::vector<LoadedBlock>& blocks) {
    WriteBytes(dir_ / name, testing::LibraryBytes(blocks));
    return (dir_ / name).string();
  }
  std::string Path(const std::string& name) const { return (dir_ / name).string(); }

  testing::TestDir dir_;
  const LoadedBlock studnia_{"Studnia", "m", {"O(0,0,1)", "L(-1,0)-(1,0)"}};
  const LoadedBlock studnia2_{"Studnia", "m", {"O(0,0,1)", "L(-2,0)-(2,0)"}};
  const LoadedBlock studnia3_{"Studnia", "m", {"O(0,0,3)"}};
  const LoadedBlock wlaz_{"Właz", "cm", {"P(0,0)-(60,60)"}};
};

TEST_F(BlkDiffTest, ExitStatusAndReport) {
  const std::string a = Library("a.blk", {studnia_, wlaz_});
  const std::string b = Library("b.blk", {studnia2_, {"Właz DN600", "cm", wlaz_.lines}});
  WriteBytes(dir_ / "tekst.blk", "to nie jest biblioteka\r\n");
  const struct {
    std::string args;
    int status;
    std::string out;
  } cases[] = {
      {a + " " + a, 0, ""},
      {a + " " + b, 1,
       "zmieniony: Studnia\n--- " + a + "/Studnia\n+++ " + b +
           "/Studnia\n@@ -1,2 +1,2 @@\n O(0,0,1)\n-L(-1,0)-(1,0)\n+L(-2,0)-(2,0)\n"
           "przemianowany: Właz → Właz DN600\n"},
      {a + " " + b + " 'Właz DN600'", 1, "przemianowany: Właz → Właz DN600\n"},
      {a + " " + b + " Nic", 2, ""},
      {a + " " + Path("nie_ma.blk"), 2, ""},
      {a + " " + Path("tekst.blk"), 2, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args);
    const BlkRun run = BlkWithInput("diff " + c.args);
    EXPECT_EQ(run.status, c.status) << run.err;
    EXPECT_EQ(run.out, c.out);
    EXPECT_EQ(run.err.empty(), c.status != 2);
  }
}

// Both versions in one picture: removed red, added green, kept black, on white.
TEST_F(BlkDiffTest, PicturesOfChangedBlocks) {
  const LoadedBlock before{"Rura/ł", "m", {"O(0,0,1)", "L(-1,0)-(1,0)"}};
  const LoadedBlock after{"Rura/ł", "m", {"O(0,0,1)", "L(-1,1)-(1,1);K(0,0,255)"}};
  const std::string a = Library("a.blk", {before, wlaz_});
  const std::string b = Library("b.blk", {after});
  const BlkRun run = BlkWithInput("diff " + a + " " + b + " --pictures " + Path("obrazy"));
  EXPECT_EQ(run.status, 1) << run.err;
  // Only changed blocks are drawn, each named safely after its block.
  std::vector<std::string> files;
  for (const auto& entry : std::filesystem::directory_iterator(dir_ / "obrazy")) {
    files.push_back(entry.path().filename().string());
  }
  EXPECT_EQ(files, std::vector<std::string>{"Rura_ł.png"});
  const QImage image(QString::fromStdString(Path("obrazy/Rura_ł.png")));
  ASSERT_FALSE(image.isNull());
  int red = 0, green = 0, black = 0, white = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const QRgb p = image.pixel(x, y);
      red += p == qRgb(255, 0, 0);
      green += qRed(p) == 0 && qGreen(p) > 100 && qBlue(p) == 0;
      black += p == qRgb(0, 0, 0);
      white += p == qRgb(255, 255, 255);
    }
  }
  EXPECT_GT(red, 0);
  EXPECT_GT(green, 0);  // the block's own blue gives way to the change's colour
  EXPECT_GT(black, 0);
  EXPECT_GT(white, image.width() * image.height() / 2);
}

TEST_F(BlkDiffTest, TextconvForGitDiff) {
  const std::string file = Library("a.blk", {wlaz_, studnia_});
  const BlkRun run = BlkWithInput("textconv " + file);
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "=== Studnia (m)\nO(0,0,1)\nL(-1,0)-(1,0)\n\n=== Właz (cm)\nP(0,0)-(60,60)\n");
  WriteBytes(dir_ / "tekst.blk", "to nie jest biblioteka\r\n");
  const BlkRun damaged = BlkWithInput("textconv " + Path("tekst.blk"));
  EXPECT_EQ(damaged.status, 2);
  EXPECT_EQ(damaged.out, "");
  EXPECT_NE(damaged.err.find("tekst.blk"), std::string::npos);
}

TEST_F(BlkDiffTest, MergeAsGitsDriver) {
  const std::string base = Library("base.blk", {studnia_, wlaz_});
  const std::string theirs = Library("theirs.blk", {studnia3_, wlaz_});
  const struct {
    const char* label;
    LoadedBlock ours_studnia;
    int status;
    std::vector<std::string> names;
  } cases[] = {
      {"clean", studnia_, 0, {"Studnia", "Właz"}},
      {"conflict", studnia2_, 1, {"Studnia", "Właz", "Studnia (konflikt)"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    const std::string ours = Library("ours.blk", {c.ours_studnia, wlaz_});
    const BlkRun run = BlkWithInput("merge " + base + " " + ours + " " + theirs);
    EXPECT_EQ(run.status, c.status) << run.err;
    EXPECT_EQ(run.out, "");
    const auto merged = ReadBlocksByName(ours);
    ASSERT_TRUE(merged);
    std::vector<std::string> names;
    for (const LoadedBlock& block : *merged) names.push_back(block.name);
    EXPECT_EQ(names, c.names);
    EXPECT_EQ(run.err.find("konflikt: Studnia") != std::string::npos, c.status == 1) << run.err;
  }
  // -o: ours stays as it was.
  const std::string ours = Library("ours.blk", {studnia_, wlaz_});
  const std::string ours_bytes = ReadBytes(ours);
  EXPECT_EQ(
      BlkWithInput("merge " + base + " " + ours + " " + theirs + " -o " + Path("out.blk")).status,
      0);
  EXPECT_EQ(ReadBytes(ours), ours_bytes);
  EXPECT_EQ(ReadBlocksByName(Path("out.blk")).value().front(), studnia3_);
  // Trouble: exit 2 and ours untouched.
  WriteBytes(dir_ / "tekst.blk", "<<<<<<< ours\r\n");
  const BlkRun trouble = BlkWithInput("merge " + base + " " + ours + " " + Path("tekst.blk"));
  EXPECT_EQ(trouble.status, 2);
  EXPECT_EQ(ReadBytes(ours), ours_bytes);
}

}  // namespace
}  // namespace blok
