// blk export at the shell: what it says of the blocks it wrote and the lines it skipped, and
// how it fails. What the drawing holds is the export's own test (tests/document).
#include <gtest/gtest.h>

#include "document/block_file.h"
#include "document/text_file.h"
#include "support/blk_runner.h"
#include "support/record_bytes.h"
#include "support/test_dir.h"

namespace blok {
namespace {

using testing::BlkRun;
using testing::BlkWithInput;
using testing::ReadBytes;
constexpr auto Record = testing::RecordBytes;
using testing::TestDir;
using testing::WriteBytes;

class BlkExportTest : public ::testing::Test {
 protected:
  BlkRun Export(const std::string& args) {
    return BlkWithInput("export " + library_.string() + " -o " + dxf_.string() + " " + args);
  }

  TestDir dir_;
  std::filesystem::path library_ = dir_ / "lib.blk";
  std::filesystem::path dxf_ = dir_ / "out.dxf";
};

TEST_F(BlkExportTest, VerboseNamesEachBlockAndEachLineSkipped) {
  WriteBytes(library_, Record("Wszystko", "m",
                              {"L(0,0)-(10,0)", "// komentarz", "O(5,5,2)", "L(1,2)-(", ""}) +
                           Record("A/B", "mm", {"O(0,0,1)"}));
  const BlkRun run = Export("--verbose Wszystko A/B");
  ASSERT_EQ(run.status, 0) << run.err;
  for (const char* line : {"blok Wszystko → Wszystko\n", "blok A/B → A_B\n",
                           "pominięta linia 2 bloku Wszystko (komentarz): // komentarz\n",
                           "pominięta linia 4 bloku Wszystko (niepoprawna): L(1,2)-(\n",
                           "2 bloki, 3 obiekty, pominięte linie: niepoprawne 1, komentarze 1\n"}) {
    EXPECT_NE(run.out.find(line), std::string::npos) << line << run.out;
  }
  EXPECT_EQ(run.err, "");
}

TEST_F(BlkExportTest, QuietUnlessLinesWereSkipped) {
  WriteBytes(library_, Record("b", "m", {"L(0,0)-(1,0)"}));
  BlkRun run = Export("");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, "");
  WriteBytes(library_, Record("b", "m", {"L(0,0)-(1,0)", "// komentarz"}));
  run = Export("");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, "blk: pominięte linie: niepoprawne 0, komentarze 1 (--verbose je wymienia)\n");
}

TEST_F(BlkExportTest, FailuresSayWhyAndLeaveTheOutputAsItWas) {
  const std::string library = Record("A", "m", {"O(0,0,1)"}) + Record("Zły", "cal", {"O(0,0,1)"});
  const struct {
    const char* what;
    std::string args;
    std::string message;
  } cases[] = {
      {"no such block", "export LIB -o OUT A Brak", "w pliku LIB nie ma bloku Brak"},
      {"unknown unit", "export LIB -o OUT Zły", "nie można odczytać bloku Zły: nieznana jednostka"},
      {"every block, one unreadable", "export LIB -o OUT", "nie można odczytać bloku Zły"},
      {"no library", "export DIR/brak.blk -o OUT", "DIR/brak.blk"},
      {"output is the library", "export LIB -o LIB A", "jest biblioteką bloków"},
      {"output folder missing", "export LIB -o DIR/brak/out.dxf A", "DIR/brak/out.dxf"},
      {"no output", "export LIB A", "--output is required"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    WriteBytes(library_, library);
    WriteBytes(dxf_, "before");
    const auto expand = [&](std::string text) {
      for (const auto& [from, to] : {std::pair<std::string, std::string>{"LIB", library_.string()},
                                     {"OUT", dxf_.string()},
                                     {"DIR", dir_.path().string()}}) {
        for (size_t at; (at = text.find(from)) != std::string::npos;) text.replace(at, 3, to);
      }
      return text;
    };
    const BlkRun run = BlkWithInput(expand(c.args));
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find(expand(c.message)), std::string::npos) << run.err;
    EXPECT_EQ(ReadBytes(dxf_), "before");
    EXPECT_EQ(ReadBytes(library_), library);
  }
}

}  // namespace
}  // namespace blok
