// blk import, and blk export followed by blk import giving the blocks back.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <variant>

#include "document/block_file.h"
#include "document/library_rules.h"
#include "document/text_file.h"
#include "model/entity_reader.h"
#include "model/numbers.h"
#include "support/blk_runner.h"
#include "support/test_dir.h"

namespace blok {
namespace {

using testing::BlkRun;
using testing::BlkWithInput;
using testing::ReadBytes;
using testing::TestDir;
using testing::WriteBytes;

std::string Record(std::string_view name, std::string_view unit,
                   std::initializer_list<std::string_view> lines) {
  BlockToSave block{std::string(name), std::string(unit), {lines.begin(), lines.end()}};
  block.lines.emplace_back();
  std::string bytes;
  for (const std::string& line : BlockRecordLines(block)) AppendTextLine(bytes, line);
  return bytes;
}

std::string N(double v) { return FormatPattern(v, "0.0000"); }
std::string Angle(double degrees) {
  const double a = std::fmod(std::fmod(degrees, 360.0) + 360.0, 360.0);
  return N(a > 359.99995 ? 0 : a);
}

// The entities of a drawing as it is drawn: each with the colour and thickness the drawing
// pass gives it (colour and thickness commands act on the lines above them), numbers to four
// decimals, arc angles within a turn.
std::vector<std::string> Drawn(const std::vector<std::string>& lines) {
  ReadingDefaults defaults;
  std::vector<std::string> out;
  for (size_t i = lines.size(); i-- > 0;) {
    const EntityRecord record = ReadEntity(lines[i], defaults);
    if (!IsValid(record)) continue;
    const auto tail = [](Colour c, float t) {
      return " K" + std::to_string(c) + " GR" + FormatPattern(t, "0.00");
    };
    std::string seen;
    if (const auto* c = std::get_if<ColourRecord>(&record)) {
      defaults.colour = c->colour;
      continue;
    } else if (const auto* t = std::get_if<ThicknessRecord>(&record)) {
      defaults.thickness = t->thickness;
      continue;
    } else if (const auto* s = std::get_if<SegmentRecord>(&record)) {
      seen = std::string(1, s->kind) + " " + N(s->x1) + " " + N(s->y1) + " " + N(s->x2) + " " +
             N(s->y2) + tail(s->colour, s->thickness);
    } else if (const auto* o = std::get_if<CircleRecord>(&record)) {
      seen = "O " + N(o->x) + " " + N(o->y) + " " + N(o->radius) + tail(o->colour, o->thickness);
    } else if (const auto* a = std::get_if<ArcRecord>(&record)) {
      seen = "LUK " + N(a->x) + " " + N(a->y) + " " + N(a->radius) + " " +
             Angle(a->start_angle / 0.01745329252) + " " + Angle(a->end_angle / 0.01745329252) +
             tail(a->colour, a->thickness);
    } else if (const auto* t = std::get_if<TextRecord>(&record)) {
      seen = "T " + N(t->x) + " " + N(t->y) + " '" + t->text + "' " + N(t->height) + " " +
             N(t->width) + " " + N(t->angle) + tail(t->colour, t->thickness);
    }
    out.push_back(seen);
  }
  std::reverse(out.begin(), out.end());
  return out;
}

class BlkImportTest : public ::testing::Test {
 protected:
  // Every block of the library exported, imported into a new one, and compared.
  void ExpectRoundTrip(const std::filesystem::path& library) {
    const BlkRun exported = BlkWithInput("export '" + library.string() + "' -o " + dxf_.string());
    ASSERT_EQ(exported.status, 0) << exported.err;
    const BlkRun imported =
        BlkWithInput("import " + dxf_.string() + " " + library_.string() + " --blocks");
    ASSERT_EQ(imported.status, 0) << imported.err;
    const auto before = WczytajWszystkieBloki(library);
    const auto after = WczytajWszystkieBloki(library_);
    ASSERT_TRUE(before && after);
    const auto listed = BlocksAsListed(*before);
    ASSERT_EQ(after->size(), listed.size());
    for (const ListedBlock& l : listed) {
      SCOPED_TRACE(l.block->name);
      const auto back = std::ranges::find(*after, l.block->name, &LoadedBlock::name);
      ASSERT_NE(back, after->end());
      EXPECT_EQ(back->unit, l.block->unit);
      EXPECT_EQ(Drawn(back->lines), Drawn(l.block->lines));
    }
  }

  BlkRun Import(const std::string& args) {
    return BlkWithInput("import " + dxf_.string() + " " + library_.string() + " " + args);
  }

  TestDir dir_;
  std::filesystem::path library_ = dir_ / "lib.blk";
  std::filesystem::path dxf_ = dir_ / "rysunek.dxf";
};

TEST_F(BlkImportTest, TheSampleLibraryComesBackFromItsExport) {
  ExpectRoundTrip(std::filesystem::path(BLOK_SOURCE_DIR) / "data/Bloki/przyklad.blk");
}

TEST_F(BlkImportTest, EveryKindColourAndThicknessComesBack) {
  std::string bytes =
      Record("Wszystko", "m",
             {"L(0,0)-(10,0)", "K(128,0,128)", "GR(0,7)", "// comments do not travel",
              "P(1,2)-(3,5);K(0,255,0);GR(0,35)", "P(3,5)-(1,2.25)", "O(5,5,2);K(255,0,0);GR(0.18)",
              "LUK(0,0,3,350,10)", "LUK(1.5,-2,0.125,0,270.5);K(1,2,3);GR(1.00)",
              "T(1,1,'Zażółć 50%% gęślą',2,1,30);K(0,0,255);GR(0,25)",
              "T(-3,4,'Lustro',0.5,-0.4,0)", "T(-3,4,'Do góry nogami',-0.5,0.4,270)",
              "T(0,0,'100%',0.25,0.3,-45.5)", "L(0.12345,-7.5)-(1e3,2)"});
  // Each thickness of the list, and colours with every byte.
  const char* thicknesses[] = {"0,10", "0,12", "0,15", "0,18", "0,20", "0,25", "0,30",
                               "0,35", "0,50", "0.60", "0,70", "0,80", "1.00"};
  std::vector<std::string> lines;
  for (int i = 0; i < 13; ++i) {
    lines.push_back("O(" + std::to_string(i) + ",0,0.5);K(" + std::to_string(i * 20) + "," +
                    std::to_string(255 - i * 19) + "," + std::to_string(i * 7) + ");GR(" +
                    thicknesses[i] + ")");
  }
  BlockToSave sizes{"Grubości", "m", lines};
  sizes.lines.emplace_back();
  for (const std::string& line : BlockRecordLines(sizes)) AppendTextLine(bytes, line);
  const auto source = dir_ / "source.blk";
  WriteBytes(source, bytes);
  ExpectRoundTrip(source);
}

TEST_F(BlkImportTest, TheModelSpaceIsOneBlockNamedAfterTheFile) {
  WriteBytes(library_, Record("A", "m", {"O(0,0,1)"}));
  const auto source = dir_ / "source.blk";
  WriteBytes(source, Record("Kółko", "mm", {"O(0,0,1)"}));
  ASSERT_EQ(BlkWithInput("export " + source.string() + " -o " + dxf_.string()).status, 0);

  BlkRun run = Import("");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(*CzytajListeBlokow(library_), (std::vector<std::string>{"A", "rysunek"}));
  // The overview: the block inserted with its name under it.
  const auto block = WczytajBlok(library_, "rysunek");
  ASSERT_TRUE(block && *block);
  EXPECT_EQ((*block)->unit, "mm");
  ASSERT_EQ((*block)->lines.size(), 2u);
  EXPECT_TRUE((*block)->lines[0].starts_with("T(")) << (*block)->lines[0];
  EXPECT_TRUE((*block)->lines[1].starts_with("O(")) << (*block)->lines[1];

  run = Import("--as 'Nowy blok' --unit m");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(WczytajBlok(library_, "Nowy blok")->value().unit, "m");
}

TEST_F(BlkImportTest, ANameAlreadyThereIsRefusedUnlessReplaced) {
  const auto source = dir_ / "source.blk";
  WriteBytes(source, Record("A", "m", {"O(0,0,1)"}) + Record("B", "m", {"O(0,0,2)"}));
  ASSERT_EQ(BlkWithInput("export " + source.string() + " -o " + dxf_.string()).status, 0);
  const std::string library = Record("B", "m", {"L(0,0)-(1,1)"});
  WriteBytes(library_, library);

  BlkRun run = Import("--blocks");
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.err.find("są już bloki: B (--replace je zastąpi)"), std::string::npos) << run.err;
  EXPECT_EQ(ReadBytes(library_), library);

  run = Import("--only b --replace");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(*CzytajListeBlokow(library_), std::vector<std::string>{"B"});
  EXPECT_EQ(WczytajBlok(library_, "B")->value().lines,
            std::vector<std::string>{"O(0,0,2);K(0,0,0);GR(0.1)"});
}

TEST_F(BlkImportTest, BadFilesAreRefusedAndNothingIsWritten) {
  const struct {
    const char* what;
    std::string dxf;
    std::string args;
    std::string message;
  } cases[] = {
      {"not DXF", "L(0,0)-(1,1)\n", "", "nie jest rysunkiem DXF"},
      {"binary", std::string("AutoCAD Binary DXF\r\n\x1a\0", 22), "", "binarny DXF"},
      {"cut short", "0\nSECTION\n2\nENTITIES\n0\nLINE\n10\n", "", "niepełny"},
      {"name outside the code page",
       "0\nSECTION\n2\nENTITIES\n0\nCIRCLE\n40\n1\n0\nENDSEC\n0\nEOF\n", "--as '☃'", "U+2603"},
      {"unknown unit", "0\nEOF\n", "--unit cal", "nieznana jednostka"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    WriteBytes(dxf_, c.dxf);
    const BlkRun run = Import(c.args);
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
    EXPECT_FALSE(std::filesystem::exists(library_));
  }
}

TEST_F(BlkImportTest, SkippedEntitiesAndAssumedUnitsAreReported) {
  WriteBytes(dxf_,
             "0\nSECTION\n2\nENTITIES\n0\nPOINT\n10\n0\n20\n0\n0\nCIRCLE\n40\n1\n0\nHATCH\n"
             "0\nPOINT\n0\nENDSEC\n0\nEOF\n");
  BlkRun run = Import("");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.err.find("przyjęto m"), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("pominięte obiekty DXF: HATCH 1 (--verbose je wymienia)"),
            std::string::npos)
      << run.err;
  run = Import("--replace --verbose");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("pominięty blok rysunek: HATCH (bez obrysu)\n"), std::string::npos)
      << run.out;
  EXPECT_NE(run.out.find("blok rysunek (m): 3 obiekty\n"), std::string::npos) << run.out;
}

}  // namespace
}  // namespace blok
