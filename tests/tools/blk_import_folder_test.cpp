// blk import of several DXF files and of folders of them into one library.
#include <gtest/gtest.h>

#include <algorithm>

#include "document/block_file.h"
#include "support/blk_runner.h"
#include "support/dxf_drawing.h"
#include "support/test_dir.h"

namespace blok {
namespace {

namespace fs = std::filesystem;
using testing::BlkRun;
using testing::BlkWithInput;
using testing::ModelSpaceDxf;
using testing::ReadBytes;
using testing::TestDir;
using testing::WriteBytes;

const std::string kLine = ModelSpaceDxf(testing::kDxfLine);
const std::string kCircle = ModelSpaceDxf(testing::kDxfCircle);
const std::string kWithPoint = ModelSpaceDxf(
    "0\nLINE\n8\n0\n10\n0\n20\n0\n30\n0\n11\n1\n21\n1\n31\n0\n0\nIMAGE\n8\n0\n10\n1\n20\n1\n");

class BlkImportFolderTest : public ::testing::Test {
 protected:
  void Write(const std::vector<std::pair<const char*, std::string>>& files) {
    for (const auto& [file, bytes] : files) {
      fs::create_directories((dir_ / "symbole" / file).parent_path());
      WriteBytes(dir_ / "symbole" / file, bytes);
    }
  }
  BlkRun Import(const std::string& args) {
    return BlkWithInput("import " + args + " " + library_.string());
  }
  std::string Folder() const { return (dir_ / "symbole").string(); }
  std::vector<std::string> Names() {
    const auto names = CzytajListeBlokow(library_);
    return names ? *names : std::vector<std::string>{};
  }

  TestDir dir_;
  fs::path library_ = dir_ / "lib.blk";
};

TEST_F(BlkImportFolderTest, FoldersAreSearchedDownAndEachFileIsABlock) {
  Write({{"woda/zasuwa.DXF", kCircle},
         {"elektro/dev/dev12.Dxf", kLine},
         {"elektro/slup.dxf", kWithPoint},
         {"elektro/opis.txt", "nie rysunek"}});
  WriteBytes(dir_ / "hydrant.dxf", kCircle);
  const BlkRun run = Import((dir_ / "hydrant.dxf").string() + " " + Folder());
  ASSERT_EQ(run.status, 0) << run.err;
  // The files given first, then the folder's in the order of their paths.
  EXPECT_EQ(Names(), (std::vector<std::string>{"hydrant", "dev12", "slup", "zasuwa"}));
  EXPECT_EQ(run.err,
            "blk: zapisano 4 bloki z 4 plików DXF\n"
            "blk: pominięte obiekty DXF: IMAGE 1\n");
  EXPECT_EQ(WczytajBlok(library_, "zasuwa").value()->lines.front().substr(0, 2), "O(");
}

TEST_F(BlkImportFolderTest, ClashingNamesTakeTheirFolderAndTheSummarySaysSo) {
  Write({{"elektro/slup.dxf", kLine}, {"woda/slup.dxf", kCircle}, {"woda/inny.dxf", kLine}});
  const BlkRun run = Import(Folder());
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(Names(), (std::vector<std::string>{"elektro_slup", "inny", "woda_slup"}));
  EXPECT_NE(run.err.find("zmienione nazwy (2):\n  elektro/slup.dxf → elektro_slup\n"
                         "  woda/slup.dxf → woda_slup\n"),
            std::string::npos)
      << run.err;
}

TEST_F(BlkImportFolderTest, AFileThatCannotBeReadIsSkippedOrCallsEverythingOff) {
  struct Case {
    const char* what;
    const char* flag;
    int status;
    std::vector<std::string> names;
    const char* said;
  };
  const Case cases[] = {
      {"skipped", "", 1, {"dobry"}, "pominięto 1 plik:\n  plik "},
      {"all or nothing",
       "--all-or-nothing",
       2,
       {},
       "blk: --all-or-nothing: nie wczytano 1 pliku; nic nie zapisano\n"},
  };
  Write({{"dobry.dxf", kLine}, {"zly.dxf", "to nie jest DXF\n"}});
  for (const Case& c : cases) {
    fs::remove(library_);
    const BlkRun run = Import(std::string(c.flag) + " " + Folder());
    EXPECT_EQ(run.status, c.status) << c.what << ": " << run.err;
    EXPECT_EQ(Names(), c.names) << c.what;
    EXPECT_NE(run.err.find(c.said), std::string::npos) << c.what << ": " << run.err;
    EXPECT_NE(run.err.find("zly.dxf"), std::string::npos) << c.what << ": " << run.err;
  }
}

TEST_F(BlkImportFolderTest, OptionsForOneFileAreRefusedWithSeveral) {
  struct Case {
    const char* args;
    const char* message;
  };
  const Case cases[] = {
      {"--as Nowy", "--as nadaje nazwę blokowi z jednego pliku DXF"},
      {"--blocks", "--blocks i --only działają dla jednego pliku DXF"},
      {"--only A", "--blocks i --only działają dla jednego pliku DXF"},
  };
  Write({{"a.dxf", kLine}, {"b.dxf", kCircle}});
  const std::string files =
      (dir_ / "symbole/a.dxf").string() + " " + (dir_ / "symbole/b.dxf").string();
  for (const Case& c : cases) {
    for (const std::string& inputs : {files, Folder()}) {
      // After the library: --only takes every word that follows it.
      const BlkRun run = BlkWithInput("import " + inputs + " " + library_.string() + " " + c.args);
      EXPECT_EQ(run.status, 2) << c.args;
      EXPECT_NE(run.err.find(c.message), std::string::npos) << c.args << ": " << run.err;
      EXPECT_FALSE(fs::exists(library_)) << c.args;
    }
  }
}

TEST_F(BlkImportFolderTest, NamesTheLibraryHoldsNeedReplaceAndAllGoInOneWrite) {
  Write({{"a.dxf", kLine}, {"b.dxf", kCircle}});
  ASSERT_EQ(Import(Folder()).status, 0);
  const std::string before = ReadBytes(library_);
  const BlkRun again = Import(Folder());
  EXPECT_EQ(again.status, 2);
  EXPECT_NE(
      again.err.find("są już bloki: symbole_a, symbole_b (--replace je zastąpi); nic nie zapisano"),
      std::string::npos)
      << again.err;
  EXPECT_EQ(ReadBytes(library_), before);
  const BlkRun replaced = Import("--replace " + Folder());
  ASSERT_EQ(replaced.status, 0) << replaced.err;
  EXPECT_EQ(Names(), (std::vector<std::string>{"symbole_a", "symbole_b"}));
}

TEST_F(BlkImportFolderTest, AFolderWithoutDrawingsWritesNothing) {
  Write({{"opis.txt", "nic"}});
  const BlkRun run = Import(Folder());
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.err.find("nie znaleziono plików DXF"), std::string::npos) << run.err;
  EXPECT_FALSE(fs::exists(library_));
}

// The editor loads no block of a name shorter than three characters: such a file's block takes
// its folder in front, one file or many, and a short --as is refused.
TEST_F(BlkImportFolderTest, AStemTooShortToLoadTakesItsFolderInFront) {
  Write({{"elektro/R1.dxf", kLine}, {"elektro/zasuwa.dxf", kCircle}});
  const std::string r1 = Folder() + "/elektro/R1.dxf";
  const struct {
    std::string args;
    int status;
    std::vector<std::string> names;
    std::string says;
  } cases[] = {
      {r1, 0, {"elektro_R1"}, "blk: blok nazwany elektro_R1: nazwa pliku ma mniej niż 3 znaki\n"},
      {Folder(), 0, {"elektro_R1", "zasuwa"}, "elektro/R1.dxf → elektro_R1"},
      {r1 + " --as AB", 2, {}, "blk: nazwa bloku „AB” ma mniej niż 3 znaki"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args);
    fs::remove(library_);
    const BlkRun run = Import(c.args);
    EXPECT_EQ(run.status, c.status) << run.err;
    EXPECT_EQ(Names(), c.names);
    EXPECT_NE(run.err.find(c.says), std::string::npos) << run.err;
  }
}

}  // namespace
}  // namespace blok
