// blk catalogue through its real binary: the PDF's pages, what is drawn where, and that a
// failure leaves the output as it was. pdfinfo and pdftoppm (poppler-utils) read the PDF back
// when they are installed; the page count is also checked without them.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "document/block_file.h"
#include "document/text_file.h"
#include "support/blk_runner.h"
#include "support/child_process.h"
#include "support/command_output.h"
#include "support/test_dir.h"

namespace blok {
namespace {

using testing::BlkRun;
using testing::BlkWithInput;
using testing::CommandOutput;
using testing::ReadBytes;
using testing::TestDir;
using testing::WriteBytes;

struct Block {
  std::string name;
  std::string drawing;  // entity lines, one a line
};

void WriteLibrary(const std::filesystem::path& file, const std::vector<Block>& blocks) {
  std::string bytes;
  for (const Block& block : blocks) {
    BlockToSave record{block.name, "m", {}};
    for (size_t at = 0; at < block.drawing.size();) {
      const size_t end = block.drawing.find('\n', at);
      record.lines.push_back(block.drawing.substr(at, end - at));
      at = end == std::string::npos ? block.drawing.size() : end + 1;
    }
    for (const std::string& line : BlockRecordLines(record)) AppendTextLine(bytes, line);
  }
  WriteBytes(file, bytes);
}

std::vector<Block> Numbered(int count) {
  std::vector<Block> blocks;
  for (int i = 0; i < count; ++i) {
    blocks.push_back({"Blok " + std::to_string(i), "O(0,0," + std::to_string(i + 1) + ")"});
  }
  return blocks;
}

// Page objects of the file: "/Type /Page", not "/Type /Pages".
int PageObjects(const std::string& pdf) {
  int pages = 0;
  const std::string_view key = "/Type /Page";
  for (size_t at = pdf.find(key); at != std::string::npos; at = pdf.find(key, at + 1)) {
    if (at + key.size() < pdf.size() && pdf[at + key.size()] != 's') ++pages;
  }
  return pages;
}

bool Installed(const char* program) {
  return std::system(("command -v " + std::string(program) + " >/dev/null 2>&1").c_str()) == 0;
}

class BlkCatalogueTest : public ::testing::Test {
 protected:
  TestDir dir_;
  std::string library_ = (dir_ / "lib.blk").string();
  std::string pdf_ = (dir_ / "katalog.pdf").string();
};

TEST_F(BlkCatalogueTest, PagesHoldColumnsTimesRowsTiles) {
  const struct {
    int blocks;
    std::string options;
    int pages;
  } cases[] = {
      {0, "", 1},  // a page that says the file holds none
      {1, "", 1},
      {24, "", 1},  // 4 x 6
      {25, "", 2},
      {7, "--columns 1 --rows 1", 7},
      {12, "--columns 3 --rows 2", 2},
      {13, "--columns=3 --rows=2", 3},
      {200, "--columns 12 --rows 16", 2},
  };
  const bool pdfinfo = Installed("pdfinfo");
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.blocks) + " " + c.options);
    WriteLibrary(library_, Numbered(c.blocks));
    const BlkRun run = BlkWithInput("catalogue " + library_ + " -o " + pdf_ + " " + c.options);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");  // no progress line off a terminal
    const std::string pdf = ReadBytes(pdf_);
    EXPECT_TRUE(pdf.starts_with("%PDF-"));
    EXPECT_EQ(PageObjects(pdf), c.pages);
    if (pdfinfo) {
      EXPECT_NE(
          CommandOutput("pdfinfo " + pdf_).find("Pages:           " + std::to_string(c.pages)),
          std::string::npos);
    }
  }
  // A name saved three times is one tile: the record that opening the name loads.
  WriteLibrary(library_, {{"A", "O(0,0,1)"}, {"B", "O(0,0,1)"}, {"A", "O(0,0,2)"}, {"A", ""}});
  ASSERT_EQ(BlkWithInput("catalogue " + library_ + " -o " + pdf_ + " --rows 1 --columns 1").status,
            0);
  EXPECT_EQ(PageObjects(ReadBytes(pdf_)), 2);
}

// A page of 50-dpi grey pixels.
struct Raster {
  int width = 0, height = 0;
  std::string pixels;

  // Whether some pixel of the box (fractions of the page) is darker than the tiles' frames.
  bool InkIn(double left, double top, double right, double bottom) const {
    for (int y = static_cast<int>(top * height); y < bottom * height; ++y) {
      for (int x = static_cast<int>(left * width); x < right * width; ++x) {
        if (static_cast<unsigned char>(pixels[y * width + x]) < 160) return true;
      }
    }
    return false;
  }
};

std::optional<Raster> FirstPage(const std::string& pdf, const std::filesystem::path& dir) {
  const std::string prefix = (dir / "page").string();
  if (std::system(("pdftoppm -r 50 -gray -f 1 -l 1 -singlefile " + pdf + " " + prefix).c_str()) !=
      0) {
    return std::nullopt;
  }
  const std::string pgm = ReadBytes(prefix + ".pgm");
  Raster raster;
  int depth = 0, read = 0;
  if (std::sscanf(pgm.c_str(), "P5 %d %d %d%n", &raster.width, &raster.height, &depth, &read) !=
      3) {
    return std::nullopt;
  }
  raster.pixels = pgm.substr(read + 1);
  if (raster.pixels.size() != static_cast<size_t>(raster.width) * raster.height)
    return std::nullopt;
  return raster;
}

// Tiles follow the editor's list, whose Polish order puts Ł after L and ignores case: in file
// order, or by bytes, the empty block would lie elsewhere. A name saved twice shows the record
// that opening it loads: the last.
TEST_F(BlkCatalogueTest, EveryTileWithEntitiesShowsThemAndAnEmptyOneNothing) {
  if (!Installed("pdftoppm")) GTEST_SKIP() << "pdftoppm (poppler-utils) is not installed";
  WriteLibrary(library_, {
                             {"Ławka", "L(-1,-1)-(1,1)\nL(-1,1)-(1,-1)"},
                             {"Zasuwa", "L(-1,-1)-(1,1)\nL(-1,1)-(1,-1)"},
                             {"Ławka", "// nic\nK(255,0,0)"},
                             {"lampa", "O(0,0,5);K(255,0,0);GR(0,25)\nL(-5,0)-(5,0)"},
                             {"Maszt", "T(0,0,'Żółw',1,0.8,0);K(0,0,255)\nP(0,-0.2)-(3,1.2)"},
                         });
  ASSERT_EQ(BlkWithInput("catalogue " + library_ + " -o " + pdf_ + " --columns 2 --rows 2").status,
            0);
  const auto page = FirstPage(pdf_, dir_.path());
  ASSERT_TRUE(page);
  // The tiles share the page between its margins, header and footer; each box below is the
  // middle of a tile's drawing, clear of its frame and labels.
  const struct {
    const char* name;
    double left, top;
    bool ink;
  } tiles[] = {
      {"lampa", 0.2, 0.2, true},
      {"Ławka", 0.6, 0.2, false},
      {"Maszt", 0.2, 0.6, true},
      {"Zasuwa", 0.6, 0.6, true},
  };
  for (const auto& tile : tiles) {
    EXPECT_EQ(page->InkIn(tile.left, tile.top, tile.left + 0.2, tile.top + 0.15), tile.ink)
        << tile.name;
  }
}

TEST_F(BlkCatalogueTest, RefusalsSayWhyAndLeaveTheOutputAsItWas) {
  WriteLibrary(library_, Numbered(3));
  const std::string same = (dir_ / "lib.pdf").string();
  WriteLibrary(same, Numbered(1));
  const std::string before = "a catalogue made earlier";
  WriteBytes(pdf_, before);
  const struct {
    std::string args;
    std::string message;
  } cases[] = {
      {library_ + " -o " + pdf_ + " --columns 0", "--columns: liczba kolumn musi być liczbą"},
      {library_ + " -o " + pdf_ + " --columns=-2", "od 1 do 12, a nie „-2”"},
      {library_ + " -o " + pdf_ + " --columns 13", "od 1 do 12, a nie „13”"},
      {library_ + " -o " + pdf_ + " --rows 17", "--rows: liczba wierszy musi być liczbą"},
      {library_ + " -o " + pdf_ + " --rows 2x", "a nie „2x”"},
      {library_ + " -o " + pdf_ + " --rows ''", "a nie „”"},
      {(dir_ / "brak.blk").string() + " -o " + pdf_, "brak.blk"},
      {dir_.path().string() + " -o " + pdf_, "to nie jest zwykły plik"},
      {library_ + " -o " + (dir_ / "katalog.png").string(), "powinna kończyć się na .pdf"},
      {same + " -o " + same, "nie można zapisać katalogu w pliku bloków"},
      {same + " -o " + (dir_ / "." / "lib.pdf").string(), "nie można zapisać katalogu"},
      {library_ + " -o " + (dir_ / "brak" / "k.pdf").string(), "brak/k.pdf"},
  };
  const auto files = [&] {
    return std::distance(std::filesystem::directory_iterator(dir_.path()), {});
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args);
    const BlkRun run = BlkWithInput("catalogue " + c.args);
    EXPECT_EQ(run.status, 2);
    EXPECT_TRUE(run.err.starts_with("blk: ")) << run.err;
    EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    EXPECT_EQ(ReadBytes(pdf_), before);
    EXPECT_EQ(files(), 3);  // no temporary file left behind, no image made
  }
  ASSERT_EQ(BlkWithInput("catalogue " + library_ + " -o " + pdf_).status, 0);
  EXPECT_TRUE(ReadBytes(pdf_).starts_with("%PDF-"));
  EXPECT_EQ(files(), 3);
}

// The PDF goes to a temporary file first: a write that fails halfway leaves the old catalogue.
TEST_F(BlkCatalogueTest, AFullDiskLeavesTheOutputAsItWas) {
  WriteLibrary(library_, Numbered(40));
  const std::string before = "a catalogue made earlier";
  WriteBytes(pdf_, before);
  EXPECT_TRUE(testing::OnAFullDisk([&] {
    const BlkRun run = BlkWithInput("catalogue " + library_ + " -o " + pdf_);
    return run.status == 2 && run.err.starts_with("blk: Nie można zapisać pliku " + pdf_) &&
           ReadBytes(pdf_) == before &&
           std::distance(std::filesystem::directory_iterator(dir_.path()), {}) == 2;
  }));
}

// Without the code page's converter the names would be read wrongly: nothing is made.
TEST_F(BlkCatalogueTest, WithoutTheCodePageNoCatalogue) {
  WriteLibrary(library_, {{"Żuraw", "O(0,0,1)"}});
  const BlkRun run = BlkWithInput(
      "catalogue " + library_ + " -o " + pdf_, "",
      "LD_PRELOAD=" + std::string(BLOK_NO_CODE_PAGE) + " ASAN_OPTIONS=verify_asan_link_order=0");
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.err.find("blk: Brak konwersji znaków CP1250"), std::string::npos) << run.err;
  EXPECT_FALSE(std::filesystem::exists(pdf_));
}

// Where standard error is a terminal the pages are counted on it, on one line that is wiped at
// the end.
TEST_F(BlkCatalogueTest, ProgressShowsOnATerminalOnly) {
  if (!Installed("script")) GTEST_SKIP() << "script (util-linux) is not installed";
  WriteLibrary(library_, Numbered(30));
  const std::string command = std::string(BLOK_BIN_DIR) + "/blk catalogue " + library_ + " -o " +
                              pdf_ + " --columns 1 --rows 2";
  const std::string shown = CommandOutput("script -qec '" + command + "' /dev/null");
  EXPECT_NE(shown.find("\rblk: strona 1 z 15"), std::string::npos) << shown;
  EXPECT_NE(shown.find("\rblk: strona 15 z 15\r\033[K"), std::string::npos) << shown;
  EXPECT_EQ(PageObjects(ReadBytes(pdf_)), 15);
}

}  // namespace
}  // namespace blok
